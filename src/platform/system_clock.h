// The system's millisecond tick count and sleeping, for the window's timing of taps.
#pragma once

#include "core/platform_services.h"

namespace kelpra {

class QtSystemClock : public SystemClock {
 public:
  // Milliseconds since the system started (the monotonic clock), wrapping at 2^32.
  std::uint32_t GetTickCount() override;
  // Blocks the calling thread.
  void Sleep(int milliseconds) override;
};

}  // namespace kelpra
