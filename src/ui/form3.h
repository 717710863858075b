// The "Interval" dialog: the seconds between automatic page turns.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;

namespace kelpra {

class TForm1;

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  // A dialog of the main window: the window system keeps it above it (transient for it).
  explicit TForm3(TForm1& form1);

  QLabel* Label1 = nullptr;
  QSpinBox* SpinEdit1 = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* ButtonCancel = nullptr;
  QPushButton* ButtonApply = nullptr;

  void FormShow();
  void ButtonApplyClick();
  void ButtonCancelClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  TForm1& form1_;
  bool IsAuto = false;
};

}  // namespace kelpra
