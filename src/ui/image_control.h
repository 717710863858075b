// Image1: shows a bitmap centred, shrinking a larger one proportionally, never enlarging.
#pragma once

#include <QWidget>

#include "imaging/bitmap.h"

namespace kelpra {

class ImageControl : public QWidget {
  Q_OBJECT

 public:
  explicit ImageControl(QWidget* parent = nullptr);

  const TBitmap& Picture() const { return picture_; }
  // Takes a copy of the picture and repaints.
  void SetPicture(const TBitmap& picture);
  void SetPicture(TBitmap&& picture);
  void ClearPicture();
  TBitmap& Canvas() { return picture_; }

  // Where the picture is drawn inside the control, by the centring and shrinking rule.
  QRect DrawnRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TBitmap picture_;
};

// The drawing rule: the size a w x h picture is drawn at in a cw x ch control.
QSize DrawnSize(int w, int h, int cw, int ch);

}  // namespace kelpra
