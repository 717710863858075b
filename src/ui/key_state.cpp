#include "ui/key_state.h"

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

#ifdef KELPRA_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace kelpra {

bool KeyIsDown(quint32 nativeScanCode) {
#ifdef KELPRA_HAVE_XCB
  if (nativeScanCode == 0 || nativeScanCode > 255 ||
      QGuiApplication::platformName() != QLatin1String("xcb"))
    return false;
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection)
    return false;
  const std::unique_ptr<xcb_query_keymap_reply_t, decltype(&std::free)> reply(
      xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr), &std::free);
  return reply && (reply->keys[nativeScanCode / 8] >> (nativeScanCode % 8) & 1) != 0;
#else
  Q_UNUSED(nativeScanCode);
  return false;
#endif
}

}  // namespace kelpra
