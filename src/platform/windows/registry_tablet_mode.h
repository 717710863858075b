// Tablet mode on Windows: the shell's registry flag, re-read on every WM_SETTINGCHANGE.
#pragma once

#include <QAbstractNativeEventFilter>

#include "core/platform_services.h"

namespace kelpra {

class RegistryTabletMode : public TabletModeService, public QAbstractNativeEventFilter {
 public:
  RegistryTabletMode();
  ~RegistryTabletMode() override;

  // HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\ImmersiveShell, value TabletMode = 1. The key
  // is created when missing; any failure means desktop mode.
  bool IsTabletMode() override;
  void SetSettingChangeHandler(std::function<void()> handler) override;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  std::function<void()> handler_;
};

}  // namespace kelpra
