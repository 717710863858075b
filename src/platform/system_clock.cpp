#include "platform/system_clock.h"

#include <QThread>
#include <chrono>

namespace kelpra {

std::uint32_t QtSystemClock::GetTickCount() {
  // The steady clock counts from boot on Linux and Windows; the count wraps as the system's does.
  const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void QtSystemClock::Sleep(int milliseconds) {
  if (milliseconds > 0)
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

}  // namespace kelpra
