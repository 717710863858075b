// Image1: shows a bitmap centred, shrinking a larger one proportionally, never enlarging.
//
// The control's bounds are in device pixels, relative to the client area, so that a picture is
// shown one bitmap pixel to one screen pixel at any scale factor (fractional ones included, where
// logical coordinates cannot name every pixel). The widget itself covers the client area and
// clips the control, which may be larger than it and lie at negative coordinates.
#pragma once

#include <QRect>
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

  // Left, top, width and height in device pixels within the client area.
  QRect Bounds() const { return bounds_; }
  void SetBounds(const QRect& bounds);
  void MoveTo(QPoint topLeft);

  // Where the picture is drawn inside the control, by the centring and shrinking rule, in device
  // pixels relative to the control's top-left corner.
  QRect DrawnRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TBitmap picture_;
  QRect bounds_;
};

// The drawing rule: the size a w x h picture is drawn at in a cw x ch control.
QSize DrawnSize(int w, int h, int cw, int ch);

}  // namespace kelpra
