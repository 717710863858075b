// Kelpra: creates the main window and the two dialogs, wires the system services, runs the loop.
#include <QApplication>
#include <cstdio>
#include <string_view>
#include <vector>

#include "app/application_icon.h"
#include "app/command_line.h"

#include "core/file_names.h"
#include "platform/system_clock.h"
#ifdef _WIN32
#include "platform/windows/desktop_wallpaper.h"
#include "platform/windows/registry_tablet_mode.h"
#include "platform/windows/special_folders.h"
#else
#include "platform/linux/gnome_wallpaper.h"
#include "platform/linux/kde_tablet_mode.h"
#include "platform/linux/special_folders.h"
#endif
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/qt_dialogs.h"
#include "ui/qt_screen_info.h"

int main(int argc, char** argv) {
  // Before the window system is reached, so that --help works without a display.
  const std::vector<std::string_view> commandLine(argv + (argc > 0 ? 1 : 0), argv + argc);
  const kelpra::CommandLineRequest request = kelpra::ReadCommandLine(commandLine);
  if (request != kelpra::CommandLineRequest::OpenViewer)
    return kelpra::PrintRequested(request, stdout);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kelpra"));
  // Lets a Wayland compositor match the window to the desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(KELPRA_APP_ID));
  QApplication::setWindowIcon(kelpra::ApplicationIcon(QStringLiteral(KELPRA_APP_ID)));

#ifdef _WIN32
  kelpra::WindowsSpecialFolders folders;
  kelpra::RegistryTabletMode tabletMode;
  kelpra::WindowsWallpaper wallpaper;
#else
  kelpra::LinuxSpecialFolders folders;
  kelpra::KdeTabletMode tabletMode;
  kelpra::GnomeWallpaper wallpaper;
#endif
  kelpra::QtSystemClock clock;
  kelpra::QtScreenInfo screen;
  kelpra::QtDialogs dialogs;
  const kelpra::PlatformServices services{folders, tabletMode, wallpaper, clock, screen};

#ifdef _WIN32
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();  // the program's own name
#else
  // The arguments as the file system spells them (QApplication has taken out its own options):
  // Qt's decoding would lose the bytes of a name that is not UTF-8.
  QStringList arguments;
  for (int i = 1; i < argc; ++i)
    arguments << kelpra::FileNameFromBytes(argv[i]);
#endif
  kelpra::TForm1 form1(services, dialogs, arguments);
  dialogs.SetOwner(&form1);
  kelpra::TForm2 form2(form1);
  kelpra::TForm3 form3(form1);
  form2.hide();
  form3.hide();
  form1.AttachDialogs(form2, form3);
  form1.show();
  return QApplication::exec();
}
