#include "ui/form3.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>

#include "ui/dialog_controls.h"
#include "ui/form1.h"
#include "ui/window_placement.h"

namespace kelpra {

namespace {

constexpr int kMinInterval = 1;
constexpr int kMaxInterval = 3600;

// The field's text as an interval: not a whole number counts as 1, then brought into range.
int IntervalFromText(const QString& text) {
  bool ok = false;
  const qlonglong value = text.trimmed().toLongLong(&ok);
  if (!ok)
    return kMinInterval;
  return int(std::clamp<qlonglong>(value, kMinInterval, kMaxInterval));
}

// Takes any number as typed, as the user may be on the way to a valid one; Enter and leaving the
// field bring it into range, and a text that is no number counts as 1.
class IntervalSpinBox : public QSpinBox {
 public:
  using QSpinBox::QSpinBox;

 protected:
  QValidator::State validate(QString& input, int& pos) const override {
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state == QValidator::Acceptable)
      return state;
    const QChar decimal = locale().decimalPoint().front();
    for (const QChar c : input) {
      if (!c.isDigit() && c != u'+' && c != u'-' && c != decimal)
        return QValidator::Invalid;
    }
    return QValidator::Intermediate;
  }
  void fixup(QString& input) const override { input = QString::number(IntervalFromText(input)); }
};

}  // namespace

TForm3::TForm3(TForm1& form1) : QDialog(&form1), form1_(form1) {
  SetUpDialogWindow(*this, "Form3", QStringLiteral("Interval"), 214, 126);

  Label1 = MakeLabel(this, "Label1", QStringLiteral("Auto page turn interval"), 32, 16);
  SpinEdit1 = new IntervalSpinBox(this);
  SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
  SpinEdit1->setGeometry(63, 43, 81, 22);
  SpinEdit1->setRange(kMinInterval, kMaxInterval);
  SpinEdit1->setSingleStep(1);
  SpinEdit1->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  Label2 = MakeLabel(this, "Label2", QStringLiteral("Sec."), 150, 46);
  ButtonCancel = MakeButton(this, "ButtonCancel", QStringLiteral("Cancel"), 16, 82);
  ButtonApply = MakeButton(this, "ButtonApply", QStringLiteral("Apply"), 120, 82);
  ButtonApply->setDefault(true);
  PressOnEnter(*this, *ButtonApply);
  setTabOrder(ButtonCancel, ButtonApply);
  setTabOrder(ButtonApply, SpinEdit1);

  connect(ButtonApply, &QPushButton::clicked, this, [this] { ButtonApplyClick(); });
  connect(ButtonCancel, &QPushButton::clicked, this, [this] { ButtonCancelClick(); });
}

void TForm3::FormShow() {
  SpinEdit1->setValue(std::clamp(form1_.AutoInt, kMinInterval, kMaxInterval));
  IsAuto = form1_.Timer1->isActive();
  form1_.Timer1->stop();
}

void TForm3::ButtonApplyClick() {
  form1_.AutoInt = IntervalFromText(SpinEdit1->cleanText());
  SpinEdit1->setValue(form1_.AutoInt);
  if (IsAuto)
    form1_.State = QStringLiteral("  Auto(") + QString::number(form1_.AutoInt) + "s)";
  form1_.Timer1->setInterval(form1_.AutoInt * 1000);
  accept();
}

void TForm3::ButtonCancelClick() {
  reject();
}

void TForm3::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    CentreOnScreen(*this);
    FormShow();
  }
}

void TForm3::done(int result) {
  // Every way out resumes a paused auto-turn, the wait starting anew.
  form1_.Timer1->stop();
  if (IsAuto)
    form1_.Timer1->start();
  QDialog::done(result);
  // The keys go back to the viewer, also where no window manager hands them back.
  form1_.activateWindow();
}

}  // namespace kelpra
