// The "Picture" dialog: its controls are the store of the effect settings; it also keeps the
// page orientation so that Cancel can undo a change.
#pragma once

#include <QDialog>
#include <QString>

#include "core/effect_settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace kelpra {

class TForm1;

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  // A dialog of the main window: the window system keeps it above it (transient for it).
  explicit TForm2(TForm1& form1);

  // The orientation: "UP", "LEFT", "RIGHT" or "DOWN".
  QString Direction = QStringLiteral("UP");

  // The live settings, read from the controls as they stand.
  EffectSettings Effects() const;

  QLabel* LabelContrast = nullptr;
  QLabel* LabelContrastValue = nullptr;
  QSlider* TrackBarContrast = nullptr;
  QLabel* LabelBrightness = nullptr;
  QLabel* LabelBrightnessValue = nullptr;
  QSlider* TrackBarBrightness = nullptr;
  QLabel* LabelSharpness = nullptr;
  QLabel* LabelSharpnessValue = nullptr;
  QSlider* TrackBarSharpness = nullptr;
  QCheckBox* CheckBoxMonochrome = nullptr;
  QLabel* Label1 = nullptr;
  QComboBox* ComboBoxResize = nullptr;
  QPushButton* ButtonReset = nullptr;
  QPushButton* ButtonPreview = nullptr;
  QPushButton* ButtonCancel = nullptr;
  QPushButton* ButtonApply = nullptr;

  void FormShow();
  void TrackBarContrastChange();
  void TrackBarBrightnessChange();
  void TrackBarSharpnessChange();
  void LabelContrastDblClick();
  void LabelBrightnessDblClick();
  void LabelSharpnessDblClick();
  void Label1DblClick();
  void ButtonPreviewClick();
  void ButtonResetClick();
  void ButtonApplyClick();
  void ButtonCancelClick();
  void FormClose();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TForm1& form1_;
  int WkBrightness = 0;
  int WkContrast = 0;
  int WkSharpness = 0;
  bool WkMonochrome = false;
  int WkResize = 0;
  QString WkDirection;
};

}  // namespace kelpra
