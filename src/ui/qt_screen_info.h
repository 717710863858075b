// The primary screen's size and available area, from Qt.
#pragma once

#include "core/platform_services.h"

namespace kelpra {

class QtScreenInfo : public ScreenInfo {
 public:
  // Empty when there is no screen at all.
  QSize PrimaryScreenSize() override;
  QRect PrimaryScreenAvailableArea() override;
};

}  // namespace kelpra
