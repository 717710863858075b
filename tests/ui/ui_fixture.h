// The shared fixture of the window tests: scripted dialogs, fake system services, an inspector
// of the main window's private state, and a viewer with its three windows on generated pictures.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/read_ahead.h"
#include "support/test_pictures.h"
#include "ui/dialogs.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/form3.h"

// Readable strings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace kelpra {

// Reads the main window's private state.
struct TForm1Inspector {
  static const QString& FileName(const TForm1& f) { return f.FileName; }
  static bool IsFirst(const TForm1& f) { return f.IsFirst; }
  static bool TwoPics(const TForm1& f) { return f.TwoPics; }
  static int NextPicKey(const TForm1& f) { return f.NextPicKey; }
  static int PrevPicKey(const TForm1& f) { return f.PrevPicKey; }
  static QPoint DragFrom(const TForm1& f) { return f.DragFrom; }
  static double TimeStart(const TForm1& f) { return f.TimeStart; }
  static double TimeStop(const TForm1& f) { return f.TimeStop; }
  static int Half(const TForm1& f) { return f.Half; }
  static void SetHalf(TForm1& f, int half) { f.Half = half; }
  static const QString& INIPath(const TForm1& f) { return f.INIPath; }
  static const QString& INIFile(const TForm1& f) { return f.INIFile; }
  static bool TabletMode(const TForm1& f) { return f.TabletMode; }
  static bool IsClosing(const TForm1& f) { return f.IsClosing; }
  static const QString& RootDir(const TForm1& f) { return f.RootDir; }
  static void SetRootDir(TForm1& f, const QString& dir) { f.RootDir = dir; }
  static const QString& OpenDialogFileName(const TForm1& f) { return f.openDialogFileName_; }
  static const QString& OpenDialogFolder(const TForm1& f) { return f.openDialogFolder_; }
  static TColor WindowColor(const TForm1& f) { return f.windowColor_; }
  static bool KeyReleasesWaiting(const TForm1& f) { return f.keyReleases_.HasWaiting(); }
  // Sets an option's check mark as the settings file would (popup and main-menu item).
  static void SetOption(TForm1& f, QAction* popupItem, bool on) { f.SetOption(popupItem, on); }
  static ReadAhead& ReadAheadOf(TForm1& f) { return *f.readAhead_; }
};

}  // namespace kelpra

namespace kelpra::test {

// Answers each dialog from a queue (an empty queue answers "cancelled", No, or nothing) and
// records every dialog opened and every message shown.
class FakeDialogs : public Dialogs {
 public:
  struct Opened {
    std::string kind;  // "OpenPicture", "SavePicture", "ChooseFolder"
    QString folder;    // start folder
    QString fileName;  // proposed file name, or the folder chooser's title
    QString filter;
    QString defaultExtension;
  };
  struct Message {
    // "Information", "InformationOnScreen", "ConfirmYesNo", "ConfirmOk", "ErrorAbort",
    // "ShowError"
    std::string kind;
    QString text;
  };

  std::deque<std::optional<QString>> openAnswers;
  std::deque<std::optional<QString>> saveAnswers;
  std::deque<std::optional<QString>> folderAnswers;
  std::deque<bool> yesNoAnswers;

  std::vector<Opened> opened;
  std::vector<Message> messages;

  std::optional<QString> OpenPicture(const QString& folder, const QString& fileName,
                                     const QString& filter,
                                     const QString& defaultExtension) override;
  std::optional<QString> SavePicture(const QString& folder, const QString& fileName,
                                     const QString& filter,
                                     const QString& defaultExtension) override;
  std::optional<QString> ChooseFolder(const QString& title, const QString& startFolder) override;
  void Information(const QString& text) override;
  void InformationOnScreen(const QString& text) override;
  bool ConfirmYesNo(const QString& text) override;
  void ConfirmOk(const QString& text) override;
  void ErrorAbort(const QString& text) override;
  void ShowError(const QString& message) override;

  // The messages of one kind, in order.
  std::vector<QString> MessagesOf(const std::string& kind) const;
};

// Every system service, faked: a settings folder in a temporary directory, a tablet-mode flag,
// a wallpaper recorder, a clock the test sets, a screen size.
class FakePlatform : public SpecialFolders,
                     public TabletModeService,
                     public WallpaperService,
                     public SystemClock,
                     public ScreenInfo {
 public:
  explicit FakePlatform(std::filesystem::path appData);

  PlatformServices services();

  // SpecialFolders
  QString GetPath(int nFolder) override;
  std::vector<int> requestedFolders;

  // TabletModeService
  bool IsTabletMode() override { return tabletMode; }
  void SetSettingChangeHandler(std::function<void()> handler) override;
  // Runs the settings-change handler, as the system's broadcast would.
  void FireSettingChange();
  bool tabletMode = false;

  // WallpaperService
  struct StyleCall {
    int style, nX, nY;
  };
  bool ChangeWallpaperStyle(int wallPaperStyle, int nX, int nY) override;
  bool ChangeBackground(TColor color) override;
  void SetWallpaper(const QString& bmpPath) override;
  std::vector<StyleCall> styleCalls;
  std::vector<TColor> backgrounds;
  std::vector<QString> wallpapers;
  bool styleResult = true;
  bool backgroundResult = true;

  // SystemClock: the test sets the tick count; Sleep only records.
  std::uint32_t GetTickCount() override { return tickCount; }
  void Sleep(int milliseconds) override { sleeps.push_back(milliseconds); }
  std::uint32_t tickCount = 0;
  std::vector<int> sleeps;

  // ScreenInfo
  QSize PrimaryScreenSize() override { return screenSize; }
  QRect PrimaryScreenAvailableArea() override { return availableArea; }
  QSize screenSize{1920, 1080};
  QRect availableArea{0, 0, 1920, 1040};  // a panel along the bottom

 private:
  std::filesystem::path appData_;
  std::function<void()> settingChange_;
};

// A viewer: settings and pictures in a temporary folder, the three windows wired as the program
// wires them, fake dialogs and services.
class ViewerFixture {
 public:
  ViewerFixture();
  ~ViewerFixture();

  TempDir temp;
  FakeDialogs dialogs;
  FakePlatform platform;

  // Creates the three windows with the given command-line arguments (not shown yet).
  void Create(QStringList arguments = {});
  // Creates (if needed) and shows the main window so that its client area has the given size
  // (in device pixels, as ClientSize).
  void Show(QSize clientSize = QSize(800, 600), QStringList arguments = {});
  // Resizes the window so that its client area has the given size (renders again).
  void SetClientSize(QSize clientSize);

  TForm1& form1() { return *form1_; }
  TForm2& form2() { return *form2_; }
  TForm3& form3() { return *form3_; }
  bool created() const { return form1_ != nullptr; }
  QString Caption() const;

  // Runs a command as the event loop would: an error goes to the error box (dialogs.messages).
  void Run(void (TForm1::*command)());
  // Opens a file through the open dialog, as the user would.
  void Open(const QString& fileName);
  // Sets an option's check mark directly (popup and main-menu item), without its command.
  void SetOption(QAction* TForm1::*popupItem, bool on);

  // The folder of pictures under the temporary folder ("pics" unless named).
  std::filesystem::path PictureFolder(const std::string& name = "pics");
  // Writes a picture of the given size; the format follows the extension. Returns its path.
  QString WritePage(const std::string& fileName, int width, int height,
                    const std::string& folder = "pics");
  // Writes count pictures named p01.png, p02.png, ... of one size; returns their paths in order.
  QStringList WritePages(int count, int width, int height, const std::string& folder = "pics");

 private:
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TForm2> form2_;
  std::unique_ptr<TForm3> form3_;
  std::uint32_t nextSeed_ = 1;  // distinct pictures, so a test can tell them apart
};

// Returns once the key releases the window has received have acted (a release waits a moment
// for the press of a repeat).
void LetKeyReleasesAct(const TForm1& form);

// A path as the window holds it (FileNameFromBytes).
QString ToQString(const std::filesystem::path& path);

// A caption followed by the page counter: max(50 - length, 0) + 2 spaces, then page/count.
QString WithCounter(const QString& caption, int page, int count);

}  // namespace kelpra::test
