#include "ui/dialog_controls.h"

#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QPushButton>

namespace kelpra {

void SetUpDialogWindow(QDialog& dialog, const char* name, const QString& caption, int width,
                       int height) {
  dialog.setObjectName(QString::fromLatin1(name));
  dialog.setWindowTitle(caption);
  QFont tahoma(QStringLiteral("Tahoma"));
  tahoma.setPixelSize(11);
  dialog.setFont(tahoma);
  dialog.setFixedSize(width, height);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(left, top);
  label->adjustSize();
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, int left, int top) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(left, top, 75, 25);
  button->setAutoDefault(false);
  return button;
}

}  // namespace kelpra
