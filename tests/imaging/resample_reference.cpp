#include "imaging/resample_reference.h"

#include <cmath>
#include <memory>

#include "imaging/pixel_access.h"

namespace kelpra::test {

namespace {

double Kernel(TResizeMode mode, double t) {
  switch (mode) {
    case rmBicubic:
      if (t < 1)
        return (t - 1) * (t * t - t - 1);
      return -(t - 1) * (t - 2) * (t - 2);
    case rmMitchell:
      if (t < 1)
        return 7 * t * t * t / 6 - 2 * t * t + 0.8888888888888888;
      return 2 * t * t - 10 * t / 3 - 7 * t * t * t / 18 + 1.7777777777777777;
    case rmLagrange:
      if (t < 1)
        return (t - 2) * 0.5 * (t + 1) * (t - 1);
      return -(t - 3) * (t - 2) * (t - 1) / 6;
    case rmBell:
      if (t < 0.5)
        return 0.75 - t * t;
      if (t < 1.5)
        return (t - 1.5) * 0.5 * (t - 1.5);
      return 0;
    case rmLanczos:
      if (t == 0)
        return 1;
      return std::sin(t * 3.141592653589793) * std::sin(t * 1.5707963267948966) /
             (t * 4.934802200544679 * t);
    case rmHermite:
      return (2 * t - 3) * t * t + 1;
    default:
      return 0;
  }
}

struct Sample {
  double xx, yy;
  int x, y;
};

void Nearest(const TBmpData24& src, TRGBTriple& out, const Sample& s) {
  int x0 = int(std::nearbyint(s.xx));
  if (x0 > src.Width() - 1)
    x0 = src.Width() - 1;
  int y0 = int(std::nearbyint(s.yy));
  if (y0 > src.Height() - 1)
    y0 = src.Height() - 1;
  out = *src.Data(x0, y0);
}

void Bilinear(const TBmpData24& src, TRGBTriple& out, const Sample& s) {
  const int w = src.Width();
  const int h = src.Height();
  int x0 = int(std::trunc(s.xx));
  if (x0 < 0)
    x0 = 0;
  const int x1 = x0 + 1 > w - 1 ? x0 : x0 + 1;
  int y0 = int(std::trunc(s.yy));
  if (y0 < 0)
    y0 = 0;
  const int y1 = y0 + 1 > h - 1 ? y0 : y0 + 1;
  const double coefx01 = s.xx - x0;
  const double coefx00 = 1 - coefx01;
  const double coefy01 = s.yy - y0;
  const double coefy00 = 1 - coefy01;
  const TRGBTriple& p00 = *src.Data(x0, y0);
  const TRGBTriple& p10 = *src.Data(x1, y0);
  const TRGBTriple& p01 = *src.Data(x0, y1);
  const TRGBTriple& p11 = *src.Data(x1, y1);
  auto channel = [&](std::uint8_t TRGBTriple::*c) {
    const double c1 = p00.*c * coefx00 + p10.*c * coefx01;
    const double c2 = p01.*c * coefx00 + p11.*c * coefx01;
    return AdjustByte(c1 * coefy00 + c2 * coefy01);
  };
  out.rgbtRed = channel(&TRGBTriple::rgbtRed);
  out.rgbtGreen = channel(&TRGBTriple::rgbtGreen);
  out.rgbtBlue = channel(&TRGBTriple::rgbtBlue);
}

void BSpline(const TBmpData24& src, TRGBTriple& out, const Sample& s) {
  const int w = src.Width();
  const int h = src.Height();
  const double dxx = s.xx - s.x;
  const double dyy = s.yy - s.y;
  double dxn[5], dyn[4];
  for (int k = 1; k <= 4; ++k)
    dxn[k] = (k - dxx) * (k - dxx) * (k - dxx) / 6;
  for (int k = 0; k <= 3; ++k)
    dyn[k] = (dyy + k) * (dyy + k) * (dyy + k) / 6;
  double RXa[4], RYa[4];
  double* RX = RXa + 1;  // indexed -1 .. 2
  double* RY = RYa + 1;
  RX[-1] = dxn[1];
  RX[0] = dxn[2] - 4 * dxn[1];
  RX[1] = dxn[3] - 4 * dxn[2] + 6 * dxn[1];
  RX[2] = dxn[4] - 4 * dxn[3] + 6 * dxn[2] - 4 * dxn[1];
  RY[-1] = dyn[3] - 4 * dyn[2] + 6 * dyn[1] - 4 * dyn[0];
  RY[0] = dyn[2] - 4 * dyn[1] + 6 * dyn[0];
  RY[1] = dyn[1] - 4 * dyn[0];
  RY[2] = dyn[0];
  double r = 0, g = 0, b = 0;
  for (int fy = s.y - 1; fy <= s.y + 2; ++fy) {
    for (int fx = s.x - 1; fx <= s.x + 2; ++fx) {
      const int cx = fx < 0 || fx > w - 1 ? s.x : fx;
      const int cy = fy < 0 || fy > h - 1 ? s.y : fy;
      const TRGBTriple& p = *src.Data(cx, cy);
      r = r + p.rgbtRed * RX[fx - s.x] * RY[fy - s.y];
      g = g + p.rgbtGreen * RX[fx - s.x] * RY[fy - s.y];
      b = b + p.rgbtBlue * RX[fx - s.x] * RY[fy - s.y];
    }
  }
  out = {AdjustByte(b), AdjustByte(g), AdjustByte(r)};
}

// Four-by-four kernels, and Hermite's two-by-two (whose near-side taps are never outside).
void Taps(const TBmpData24& src, TRGBTriple& out, const Sample& s, TResizeMode mode) {
  const int w = src.Width();
  const int h = src.Height();
  const int from = mode == rmHermite ? 0 : -1;
  const int to = mode == rmHermite ? 1 : 2;
  double r = 0, g = 0, b = 0;
  for (int fy = s.y + from; fy <= s.y + to; ++fy) {
    for (int fx = s.x + from; fx <= s.x + to; ++fx) {
      const double wx = Kernel(mode, std::fabs(s.xx - fx));
      const double wy = Kernel(mode, std::fabs(s.yy - fy));
      const int cx = fx < 0 || fx > w - 1 ? s.x : fx;
      const int cy = fy < 0 || fy > h - 1 ? s.y : fy;
      const TRGBTriple& p = *src.Data(cx, cy);
      r = r + p.rgbtRed * wx * wy;
      g = g + p.rgbtGreen * wx * wy;
      b = b + p.rgbtBlue * wx * wy;
    }
  }
  out = {AdjustByte(b), AdjustByte(g), AdjustByte(r)};
}

}  // namespace

bool ReferenceBmpResize(TBitmap& bmp, int rwidth, int rheight, TResizeMode mode) {
  if (bmp.PixelFormat() != pf24bit || bmp.Empty() || rwidth < 1 || rheight < 1)
    return false;
  const int w = bmp.Width();
  const int h = bmp.Height();
  const double wfactor = double(w) / rwidth;
  const double hfactor = double(h) / rheight;
  std::unique_ptr<TBitmap> copy = BmpClone(bmp);
  copy->SetWidth(rwidth);
  copy->SetHeight(rheight);
  {
    const TBmpData24 src(bmp);
    const TBmpData24 dst(*copy);
    for (int iy = 0; iy < rheight; ++iy) {
      for (int ix = 0; ix < rwidth; ++ix) {
        Sample s;
        s.xx = wfactor * ix;
        s.yy = hfactor * iy;
        s.x = int(std::trunc(s.xx));
        s.y = int(std::trunc(s.yy));
        TRGBTriple& out = *dst.Data(ix, iy);
        switch (mode) {
          case rmNearest:
            Nearest(src, out, s);
            break;
          case rmBilinear:
            Bilinear(src, out, s);
            break;
          case rmBSpline:
            BSpline(src, out, s);
            break;
          default:
            Taps(src, out, s, mode);
            break;
        }
      }
    }
  }
  const TColor brush = bmp.BrushColor;
  bmp.Assign(*copy);
  bmp.BrushColor = brush;
  return true;
}

}  // namespace kelpra::test
