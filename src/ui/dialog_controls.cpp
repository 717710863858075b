#include "ui/dialog_controls.h"

#include <QDialog>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace kelpra {

namespace {

// Sees the Enter presses that reach the dialog, which the focused control has left.
class EnterPresses : public QObject {
 public:
  EnterPresses(QDialog& dialog, QPushButton& button) : QObject(&dialog), button_(button) {
    dialog.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress)
      return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (!enter || modifiers != Qt::NoModifier)
      return QObject::eventFilter(watched, event);
    button_.click();
    return true;
  }

 private:
  QPushButton& button_;
};

}  // namespace

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
  // Enter presses the button that has the focus (PressOnEnter covers the rest of the dialog).
  button->setAutoDefault(true);
  return button;
}

void PressOnEnter(QDialog& dialog, QPushButton& button) {
  new EnterPresses(dialog, button);
}

}  // namespace kelpra
