#include "imaging/resample_filters.h"

#include <array>
#include <cmath>

namespace kelpra {

namespace {

// Every kernel is evaluated left to right as written, so that each weight is the same double.
double Bicubic(double t) {
  if (t < 1)
    return (t - 1) * (t * t - t - 1);
  return -(t - 1) * (t - 2) * (t - 2);
}

double Hermite(double t) {
  return (2 * t - 3) * t * t + 1;
}

double Mitchell(double t) {
  if (t < 1)
    return 7 * t * t * t / 6 - 2 * t * t + 0.8888888888888888;
  return 2 * t * t - 10 * t / 3 - 7 * t * t * t / 18 + 1.7777777777777777;
}

double Bell(double t) {
  if (t < 0.5)
    return 0.75 - t * t;
  if (t < 1.5)
    return (t - 1.5) * 0.5 * (t - 1.5);
  return 0;
}

double Lanczos(double t) {
  constexpr double pi = 3.141592653589793;
  constexpr double halfPi = 1.5707963267948966;
  constexpr double halfPiSquared = 4.934802200544679;
  if (t == 0)
    return 1;
  return std::sin(t * pi) * std::sin(t * halfPi) / (t * halfPiSquared * t);
}

double Lagrange(double t) {
  if (t < 1)
    return (t - 2) * 0.5 * (t + 1) * (t - 1);
  return -(t - 3) * (t - 2) * (t - 1) / 6;
}

constexpr std::array<ResizeFilter, kResizeModeCount> kFilters{{
    {rmNearest, "Nearest", ResizeRule::Copy, nullptr, 1},
    {rmBilinear, "Bilinear", ResizeRule::Bilinear, nullptr, 2},
    {rmBicubic, "Bicubic", ResizeRule::Taps, Bicubic, 4},
    {rmBSpline, "BSpline", ResizeRule::Taps, nullptr, 4},
    {rmHermite, "Hermite", ResizeRule::Taps, Hermite, 2},
    {rmMitchell, "Mitchell", ResizeRule::Taps, Mitchell, 4},
    {rmBell, "Bell", ResizeRule::Taps, Bell, 4},
    {rmLanczos, "Lanczos", ResizeRule::Taps, Lanczos, 4},
    {rmLagrange, "Lagrange", ResizeRule::Taps, Lagrange, 4},
}};

constexpr bool InModeOrder() {
  for (int i = 0; i < kResizeModeCount; ++i) {
    if (kFilters[i].mode != i)
      return false;
  }
  return true;
}
static_assert(InModeOrder());

double Cube(double v) {
  return v * v * v / 6;
}

}  // namespace

std::span<const ResizeFilter> ResizeFilters() {
  return kFilters;
}

const ResizeFilter& FilterOf(TResizeMode mode) {
  return kFilters.at(mode);
}

std::string_view ResizeModeName(TResizeMode mode) {
  return FilterOf(mode).name;
}

std::optional<TResizeMode> ResizeModeFromName(std::string_view name) {
  for (const ResizeFilter& filter : kFilters) {
    if (filter.name == name)
      return filter.mode;
  }
  return std::nullopt;
}

void BSplineColumnWeights(double dxx, double weights[4]) {
  double dxn[5];
  for (int k = 1; k <= 4; ++k)
    dxn[k] = Cube(k - dxx);
  weights[0] = dxn[1];
  weights[1] = dxn[2] - 4 * dxn[1];
  weights[2] = dxn[3] - 4 * dxn[2] + 6 * dxn[1];
  weights[3] = dxn[4] - 4 * dxn[3] + 6 * dxn[2] - 4 * dxn[1];
}

void BSplineRowWeights(double dyy, double weights[4]) {
  double dyn[4];
  for (int k = 0; k <= 3; ++k)
    dyn[k] = Cube(dyy + k);
  weights[0] = dyn[3] - 4 * dyn[2] + 6 * dyn[1] - 4 * dyn[0];
  weights[1] = dyn[2] - 4 * dyn[1] + 6 * dyn[0];
  weights[2] = dyn[1] - 4 * dyn[0];
  weights[3] = dyn[0];
}

}  // namespace kelpra
