// The hourglass pointer for the length of a scope, restored also when an error passes through.
#pragma once

#include <QGuiApplication>

namespace kelpra {

class Hourglass {
 public:
  Hourglass() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~Hourglass() { QGuiApplication::restoreOverrideCursor(); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;
};

}  // namespace kelpra
