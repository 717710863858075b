#include "platform/windows/registry_tablet_mode.h"

#include <windows.h>
#include <QCoreApplication>

namespace kelpra {

RegistryTabletMode::RegistryTabletMode() {
  QCoreApplication::instance()->installNativeEventFilter(this);
}

RegistryTabletMode::~RegistryTabletMode() {
  if (QCoreApplication* app = QCoreApplication::instance())
    app->removeNativeEventFilter(this);
}

bool RegistryTabletMode::IsTabletMode() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER,
                      L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ImmersiveShell", 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  DWORD type = 0, value = 0, size = sizeof(value);
  const LONG status =
      RegQueryValueExW(key, L"TabletMode", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS && type == REG_DWORD && value == 1;
}

void RegistryTabletMode::SetSettingChangeHandler(std::function<void()> handler) {
  handler_ = std::move(handler);
}

bool RegistryTabletMode::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  // The broadcast reaches every top-level window; the shown main window's copy is the one that
  // counts. The handler runs after the toolkit has handled the message itself.
  if (eventType == "windows_generic_MSG" && handler_) {
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SETTINGCHANGE && msg->hwnd == GetAncestor(msg->hwnd, GA_ROOT) &&
        GetWindow(msg->hwnd, GW_OWNER) == nullptr && IsWindowVisible(msg->hwnd))
      QMetaObject::invokeMethod(QCoreApplication::instance(), handler_, Qt::QueuedConnection);
  }
  return false;
}

}  // namespace kelpra
