#include "ui/form2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include "imaging/resample.h"
#include "ui/dialog_controls.h"
#include "ui/form1.h"
#include "ui/hourglass.h"
#include "ui/window_placement.h"

namespace kelpra {

namespace {

constexpr int kBilinear = rmBilinear;

QLabel* MakeValueLabel(QWidget* parent, const char* name, int left, int top, int width) {
  auto* label = new QLabel(QStringLiteral("0"), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(Qt::AlignRight | Qt::AlignTop);
  label->setGeometry(left, top, width, label->sizeHint().height());
  return label;
}

QSlider* MakeTrackBar(QWidget* parent, const char* name, int top, int min, int max, int page,
                      int tick) {
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setObjectName(QString::fromLatin1(name));
  slider->setGeometry(8, top, 198, 30);
  slider->setRange(min, max);
  slider->setPageStep(page);
  slider->setSingleStep(1);
  slider->setTickInterval(tick);
  slider->setTickPosition(QSlider::TicksBelow);
  return slider;
}

}  // namespace

TForm2::TForm2(TForm1& form1) : QDialog(&form1), form1_(form1) {
  SetUpDialogWindow(*this, "Form2", QStringLiteral("Picture"), 214, 352);

  LabelContrast = MakeLabel(this, "LabelContrast", QStringLiteral("Contrast"), 16, 16);
  LabelContrastValue = MakeValueLabel(this, "LabelContrastValue", 102, 16, 93);
  TrackBarContrast = MakeTrackBar(this, "TrackBarContrast", 35, -100, 100, 20, 5);
  LabelBrightness = MakeLabel(this, "LabelBrightness", QStringLiteral("Brightness"), 16, 71);
  LabelBrightnessValue = MakeValueLabel(this, "LabelBrightnessValue", 94, 71, 101);
  TrackBarBrightness = MakeTrackBar(this, "TrackBarBrightness", 90, -100, 100, 20, 5);
  LabelSharpness = MakeLabel(this, "LabelSharpness", QStringLiteral("Sharpness"), 16, 126);
  LabelSharpnessValue = MakeValueLabel(this, "LabelSharpnessValue", 89, 126, 106);
  TrackBarSharpness = MakeTrackBar(this, "TrackBarSharpness", 145, -30, 70, 10, 2);
  CheckBoxMonochrome = new QCheckBox(QStringLiteral("Monochrome"), this);
  CheckBoxMonochrome->setObjectName(QStringLiteral("CheckBoxMonochrome"));
  CheckBoxMonochrome->setGeometry(17, 181, 97, 17);
  Label1 = MakeLabel(this, "Label1", QStringLiteral("Resize"), 17, 216);
  ComboBoxResize = new QComboBox(this);
  ComboBoxResize->setObjectName(QStringLiteral("ComboBoxResize"));
  ComboBoxResize->setGeometry(65, 213, 131, 21);
  ComboBoxResize->setEditable(false);
  for (int mode = 0; mode < kResizeModeCount; ++mode) {
    const std::string_view name = ResizeModeName(TResizeMode(mode));
    ComboBoxResize->addItem(QString::fromLatin1(name.data(), qsizetype(name.size())));
  }
  ComboBoxResize->setCurrentIndex(kBilinear);
  ButtonReset = MakeButton(this, "ButtonReset", QStringLiteral("Reset"), 17, 268);
  ButtonPreview = MakeButton(this, "ButtonPreview", QStringLiteral("Preview"), 121, 268);
  ButtonCancel = MakeButton(this, "ButtonCancel", QStringLiteral("Cancel"), 17, 310);
  ButtonApply = MakeButton(this, "ButtonApply", QStringLiteral("Apply"), 121, 310);
  ButtonApply->setDefault(true);
  PressOnEnter(*this, *ButtonApply);

  QWidget* tabOrder[] = {TrackBarContrast,   TrackBarBrightness, TrackBarSharpness,
                         CheckBoxMonochrome, ComboBoxResize,     ButtonReset,
                         ButtonPreview,      ButtonCancel,       ButtonApply};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i)
    setTabOrder(tabOrder[i - 1], tabOrder[i]);
  for (QLabel* label : {LabelContrast, LabelBrightness, LabelSharpness, Label1})
    label->installEventFilter(this);
  installEventFilter(this);  // Escape means Cancel, while the close box keeps the changes

  connect(TrackBarContrast, &QSlider::valueChanged, this, [this] { TrackBarContrastChange(); });
  connect(TrackBarBrightness, &QSlider::valueChanged, this, [this] { TrackBarBrightnessChange(); });
  connect(TrackBarSharpness, &QSlider::valueChanged, this, [this] { TrackBarSharpnessChange(); });
  const auto guarded = [this](void (TForm2::*handler)()) {
    return [this, handler] { form1_.Guarded([this, handler] { (this->*handler)(); }); };
  };
  connect(ButtonPreview, &QPushButton::clicked, this, guarded(&TForm2::ButtonPreviewClick));
  connect(ButtonReset, &QPushButton::clicked, this, guarded(&TForm2::ButtonResetClick));
  connect(ButtonApply, &QPushButton::clicked, this, guarded(&TForm2::ButtonApplyClick));
  connect(ButtonCancel, &QPushButton::clicked, this, guarded(&TForm2::ButtonCancelClick));
}

EffectSettings TForm2::Effects() const {
  EffectSettings effects;
  effects.direction = Direction;
  effects.contrast = TrackBarContrast->value();
  effects.brightness = TrackBarBrightness->value();
  effects.sharpness = TrackBarSharpness->value();
  effects.monochrome = CheckBoxMonochrome->isChecked();
  effects.resizeFilter =
      ComboBoxResize->currentIndex() < 0 ? QString() : ComboBoxResize->currentText();
  return effects;
}

void TForm2::FormShow() {
  WkBrightness = TrackBarBrightness->value();
  WkContrast = TrackBarContrast->value();
  WkSharpness = TrackBarSharpness->value();
  WkMonochrome = CheckBoxMonochrome->isChecked();
  WkResize = ComboBoxResize->currentIndex();
  WkDirection = Direction;
}

void TForm2::TrackBarContrastChange() {
  LabelContrastValue->setText(QString::number(TrackBarContrast->value()));
}

void TForm2::TrackBarBrightnessChange() {
  LabelBrightnessValue->setText(QString::number(TrackBarBrightness->value()));
}

void TForm2::TrackBarSharpnessChange() {
  LabelSharpnessValue->setText(QString::number(TrackBarSharpness->value()));
}

void TForm2::LabelContrastDblClick() {
  TrackBarContrast->setValue(0);
}

void TForm2::LabelBrightnessDblClick() {
  TrackBarBrightness->setValue(0);
}

void TForm2::LabelSharpnessDblClick() {
  TrackBarSharpness->setValue(0);
}

void TForm2::Label1DblClick() {
  ComboBoxResize->setCurrentIndex(kBilinear);
}

void TForm2::ButtonPreviewClick() {
  Hourglass hourglass;
  form1_.ReadFiles();
}

void TForm2::ButtonResetClick() {
  Hourglass hourglass;
  TrackBarContrast->setValue(0);
  TrackBarBrightness->setValue(0);
  TrackBarSharpness->setValue(0);
  TrackBarContrastChange();
  TrackBarBrightnessChange();
  TrackBarSharpnessChange();
  CheckBoxMonochrome->setChecked(false);
  ComboBoxResize->setCurrentIndex(kBilinear);
  form1_.ReadFiles();
}

void TForm2::ButtonApplyClick() {
  accept();
}

void TForm2::ButtonCancelClick() {
  TrackBarBrightness->setValue(WkBrightness);
  TrackBarContrast->setValue(WkContrast);
  TrackBarSharpness->setValue(WkSharpness);
  CheckBoxMonochrome->setChecked(WkMonochrome);
  ComboBoxResize->setCurrentIndex(WkResize);
  TrackBarContrastChange();
  TrackBarBrightnessChange();
  TrackBarSharpnessChange();
  Direction = WkDirection;
  reject();
}

void TForm2::FormClose() {
  form1_.RearmTimer();
}

void TForm2::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    CentreOnScreen(*this);
    FormShow();
  }
}

void TForm2::done(int result) {
  form1_.Guarded([this] { FormClose(); });
  QDialog::done(result);
  // The keys go back to the viewer, also where no window manager hands them back.
  form1_.activateWindow();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (watched == LabelContrast)
      LabelContrastDblClick();
    else if (watched == LabelBrightness)
      LabelBrightnessDblClick();
    else if (watched == LabelSharpness)
      LabelSharpnessDblClick();
    else if (watched == Label1)
      Label1DblClick();
    else
      return QDialog::eventFilter(watched, event);
    return true;
  }
  if (watched == this && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
      static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
    form1_.Guarded([this] { ButtonCancelClick(); });
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kelpra
