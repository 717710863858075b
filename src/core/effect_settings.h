// What the pipeline reads from the effects dialog at every rendering.
#pragma once

#include <QString>

namespace kelpra {

struct EffectSettings {
  QString direction = QStringLiteral("UP");  // "UP", "LEFT", "DOWN" or "RIGHT"; else no turn
  int contrast = 0;                          // -100..100
  int brightness = 0;                        // -100..100
  int sharpness = 0;                         // -30..70: positive sharpens, negative softens
  bool monochrome = false;
  QString resizeFilter = QStringLiteral("Bilinear");  // the filter list's text

  bool operator==(const EffectSettings&) const = default;
};

}  // namespace kelpra
