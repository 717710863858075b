// Whether a key is down right now, as the window system has it.
#pragma once

#include <QtGlobal>

namespace kelpra {

// True when the X server reports the key with this native scan code (its X key code) as held.
// False wherever that cannot be asked (other window systems, no scan code): there Qt's own
// repeat flag is reliable.
bool KeyIsDown(quint32 nativeScanCode);

}  // namespace kelpra
