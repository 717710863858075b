// The program's icon for its windows.
#pragma once

#include <QIcon>

namespace kelpra {

// The icon theme's icon named `id` once the program is installed, so that a theme may restyle it;
// else the copy compiled in (a run from the build folder, which no theme knows).
QIcon ApplicationIcon(const QString& id);

}  // namespace kelpra
