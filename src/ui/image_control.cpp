#include "ui/image_control.h"

#include <QImage>
#include <QPainter>

namespace kelpra {

QSize DrawnSize(int w, int h, int cw, int ch) {
  if ((w <= cw && h <= ch) || w == 0 || h == 0)
    return QSize(w, h);
  const double a = double(w) / double(h);
  int dw, dh;
  if (w > h) {
    dw = cw;
    dh = int(cw / a);
    if (dh > ch) {
      dh = ch;
      dw = int(ch * a);
    }
  } else {
    dh = ch;
    dw = int(ch * a);
    if (dw > cw) {
      dw = cw;
      dh = int(cw / a);
    }
  }
  return QSize(dw, dh);
}

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  // Mouse events go on to the window, which handles presses on the picture and beside it alike.
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ImageControl::SetPicture(const TBitmap& picture) {
  picture_.Assign(picture);
  update();
}

void ImageControl::SetPicture(TBitmap&& picture) {
  picture_ = std::move(picture);
  update();
}

void ImageControl::ClearPicture() {
  picture_ = TBitmap();
  update();
}

void ImageControl::SetBounds(const QRect& bounds) {
  bounds_ = bounds;
  update();
}

void ImageControl::MoveTo(QPoint topLeft) {
  bounds_.moveTopLeft(topLeft);
  update();
}

QRect ImageControl::DrawnRect() const {
  const int cw = bounds_.width();
  const int ch = bounds_.height();
  const QSize drawn = DrawnSize(picture_.Width(), picture_.Height(), cw, ch);
  return QRect((cw - drawn.width()) / 2, (ch - drawn.height()) / 2, drawn.width(), drawn.height());
}

// Wraps the bitmap's rows without copying them.
static QImage WrapBitmap(const TBitmap& bmp) {
  if (bmp.PixelFormat() == pf24bit) {
    return QImage(bmp.ScanLine(0), bmp.Width(), bmp.Height(), qsizetype(bmp.Stride()),
                  QImage::Format_BGR888);
  }
  QImage image(bmp.ScanLine(0), bmp.Width(), bmp.Height(), qsizetype(bmp.Stride()),
               QImage::Format_Indexed8);
  QList<QRgb> table(256);
  for (int i = 0; i < 256; ++i) {
    const TRGBQuad& entry = bmp.Palette()[i];
    table[i] = qRgb(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
  }
  image.setColorTable(table);
  return image;
}

void ImageControl::paintEvent(QPaintEvent*) {
  if (picture_.Empty())
    return;
  QPainter painter(this);
  // Drawn in device pixels, one bitmap pixel to one screen pixel.
  const qreal ratio = devicePixelRatioF();
  painter.scale(1 / ratio, 1 / ratio);
  painter.drawImage(DrawnRect().translated(bounds_.topLeft()), WrapBitmap(picture_));
}

}  // namespace kelpra
