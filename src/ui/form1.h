// The main viewer window. One class, because the program treats it as one window; its methods
// live in files by topic: form1.cpp (lifecycle), form1_actions.cpp (commands and menus as
// tables), form1_render.cpp, form1_navigation.cpp, form1_file_list.cpp, form1_input.cpp,
// form1_chrome.cpp, form1_settings.cpp, form1_file_ops.cpp.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "core/effect_settings.h"
#include "core/page_composer.h"
#include "core/page_turn.h"
#include "core/path_list.h"
#include "core/platform_services.h"
#include "imaging/bitmap.h"
#include "ui/key_releases.h"

class QAction;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTimer;

namespace kelpra {

class Dialogs;
class ImageControl;
class OuterBoundsPlacement;
class ReadAhead;
class TForm2;
class TForm3;
struct TForm1Inspector;

constexpr TColor BackGroundL = 0x00F0FBFF;
constexpr TColor BackGroundD = 0x00808080;
extern const char* const Title;     // "Kelpra"
extern const char* const Version1;  // "Version 0.3.3b ..."
// " (64bit) " or " (32bit) ", from the pointer size.
const char* BuildTag();
// The picture dialogs' filter, bars separating descriptions and patterns.
extern const char* const PictureFilter;

class TForm1 : public QMainWindow {
  Q_OBJECT
  friend struct TForm1Inspector;  // tests read the private state

 public:
  // arguments: the command-line arguments after the program name.
  TForm1(PlatformServices services, Dialogs& dialogs, QStringList arguments,
         QWidget* parent = nullptr);
  ~TForm1() override;

  // The dialogs are created after the main window (program start order) and wired in here.
  void AttachDialogs(TForm2& form2, TForm3& form3);

  // Renders the current page or pages and rewrites the caption; nothing while closing.
  void ReadFiles();

  // Public state.
  PathList FileList;
  int ndxL = 0;
  int ndxR = 0;
  int AutoInt = 0;
  QString State;
  QTimer* Timer1 = nullptr;

  // Commands (named actions shared by the menus). Action30AutoTurn's check mark is the
  // auto-turn state.
  QAction* Action01FOpen = nullptr;
  QAction* Action02FClear = nullptr;
  QAction* Action03Effects = nullptr;
  QAction* Action04ShowSingle = nullptr;
  QAction* Action05TurnSingle = nullptr;
  QAction* Action06SwapLR = nullptr;
  QAction* Action07Subdirectories = nullptr;
  QAction* Action08Stretch = nullptr;
  QAction* Action09Splitter = nullptr;
  QAction* Action10DarkBG = nullptr;
  QAction* Action11Version = nullptr;
  QAction* Action13Exit = nullptr;
  QAction* Action14Next = nullptr;
  QAction* Action15Previous = nullptr;
  QAction* Action16PopupMenu = nullptr;
  QAction* Action17CloseMenu = nullptr;
  QAction* Action18RotateL = nullptr;
  QAction* Action19RotateR = nullptr;
  QAction* Action20Upright = nullptr;
  QAction* Action21Left = nullptr;
  QAction* Action22Right = nullptr;
  QAction* Action23Half = nullptr;
  QAction* Action24Delete = nullptr;
  QAction* Action25SelectFolder = nullptr;
  QAction* Action26UpLeft = nullptr;
  QAction* Action27UpRight = nullptr;
  QAction* Action28UpDown = nullptr;
  QAction* Action29Save = nullptr;
  QAction* Action30AutoTurn = nullptr;
  QAction* Action31WallPaper = nullptr;

  // Menus. Each menu item is its own QAction; an option's value is its popup item's check mark.
  QMenuBar* MM = nullptr;
  QMenu* MM_F = nullptr;
  QMenu* MM_N = nullptr;
  QMenu* MM_S = nullptr;
  QMenu* MM_H = nullptr;
  QAction *MM_FO = nullptr, *MM_FC = nullptr, *MM_FF = nullptr, *MM_FR = nullptr, *MM_FP = nullptr,
          *MM_FN = nullptr, *MM_FZ = nullptr, *MM_FX = nullptr;
  QAction *MM_NN = nullptr, *MM_NP = nullptr, *MM_NL = nullptr, *MM_NR = nullptr, *MM_NU = nullptr;
  QAction *MM_SP = nullptr, *MM_SS = nullptr, *MM_S1 = nullptr, *MM_SW = nullptr, *MM_SH = nullptr,
          *MM_SR = nullptr, *MM_ST = nullptr, *MM_SL = nullptr, *MM_SD = nullptr,
          *Pageturninterval1 = nullptr, *MM_SM = nullptr;
  QAction* MM_HV = nullptr;

  QMenu* PM = nullptr;
  QAction *PM_O = nullptr, *PM_C = nullptr, *PM_F = nullptr, *PM_Re = nullptr, *PM_Rp = nullptr,
          *PM_P = nullptr, *Action30AutoTurn1 = nullptr, *PM_Y = nullptr, *PM_S = nullptr,
          *PM_1 = nullptr, *PM_W = nullptr, *PM_H = nullptr, *PM_R = nullptr, *PM_T = nullptr,
          *PM_L = nullptr, *PM_D = nullptr, *WallPaper1 = nullptr, *SaveV1 = nullptr,
          *PM_Z = nullptr, *PM_M = nullptr, *PM_V = nullptr, *PM_X = nullptr;

  QStatusBar* StatusBar1 = nullptr;
  ImageControl* Image1 = nullptr;

  // Command handlers (each runs as choosing its menu item does).
  void Action01FOpenExecute();
  void Action02FClearExecute();
  void Action03EffectsExecute();
  void Action04ShowSingleExecute();
  void Action05TurnSingleExecute();
  void Action06SwapLRExecute();
  void Action07SubdirectoriesExecute();
  void Action08StretchExecute();
  void Action09SplitterExecute();
  void Action10DarkBGExecute();
  void Action11VersionExecute();
  void Action13ExitExecute();
  void Action14NextExecute();
  void Action15PreviousExecute();
  void Action16PopupMenuExecute();
  void Action17CloseMenuExecute();
  void Action18RotateLExecute();
  void Action19RotateRExecute();
  void Action20UprightExecute();
  void Action21LeftExecute();
  void Action22RightExecute();
  void Action23HalfExecute();
  void Action24DeleteExecute();
  void Action25SelectFolderExecute();
  void Action26UpLeftExecute();
  void Action27UpRightExecute();
  void Action28UpDownExecute();
  void Action29SaveExecute();
  void Action30AutoTurnExecute();
  void Action31WallPaperExecute();
  void MM_FRClick();
  void MM_FPClick();
  void PM_ReClick();
  void PM_RpClick();
  void PM_YClick();
  void PM_MClick();
  void MM_SMClick();
  void PMPopup();
  void Pageturninterval1Click();
  void Timer1Timer();

  // Input handlers (Qt events are routed to them).
  void FormKeyUp(int Key);
  void Image1MouseDown(Qt::MouseButton Button, int X, int Y);
  void Image1MouseUp(Qt::MouseButton Button, int X, int Y);
  void FormGesture(int gestureId, double angle);
  void FormClick();
  // Opens the files dropped on the window (the first one only).
  void WMDropFiles(const QStringList& fileNames);
  // The system's settings-change notification.
  void WMSettingChange();

  // Re-arms the auto-turn timer: it runs exactly when the Auto Turn check mark is on.
  void RearmTimer();
  // Closes any open menu, main or popup (EndMenu).
  void EndMenu();
  // Runs a handler from the event loop: an error is shown in the standard error box.
  void Guarded(const std::function<void()>& handler);

  // The bitmap the last rendering handed to the image control.
  const TBitmap& DisplayedPicture() const;
  TColor WindowColor() const { return windowColor_; }
  // The client area: the window without its menu bar and status bar, in device pixels (the
  // screen's own pixels, which the picture is fitted to and drawn at).
  QSize ClientSize() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Lifecycle (form1.cpp).
  void FormCreate();
  void FormShow();
  void FormResize();
  void FormClose();
  void FormDestroy();
  void ScreenChanged();

  // Commands and menus built from tables (form1_actions.cpp).
  void CreateActions();
  void CreateMenus();
  // An option's popup item's check mark, mirrored onto its main-menu item.
  void SetOption(QAction* popupItem, bool on);
  // Inverts an option's popup item, copies it to its main-menu item; returns the new value.
  bool ToggleOption(QAction* popupItem);

  // Rendering (form1_render.cpp).
  DisplayOptions CurrentDisplayOptions() const;
  EffectSettings CurrentEffects() const;
  void DrawIdleCanvas();
  void CenterImage();
  // After a showing: what Next and Previous would ask for next is composed ahead.
  void ComposeAheadFrom(const PageRequest& shown);
  // The client area in device pixels, relative to the window.
  QRect DeviceClientRect() const;
  // A position in the window's logical coordinates as the device pixel under it.
  QPoint ToDevicePoint(QPointF position) const;

  // File list (form1_file_list.cpp).
  QString GetPath(int nFolder);
  void OpenPictureFile(const QString& fileName);
  // SearchFiles into FileList with the "Subdirectories" option, under the hourglass; returns the
  // index of fileName in the new list (0 when absent).
  int ListFiles(const QString& fileName);
  int ListFiles(const QString& fileDir, const QString& fileName);

  // Navigation (form1_navigation.cpp).
  TurnOptions CurrentTurnOptions() const;
  // Whether the current page is a landscape scan stepped half by half ("Landscape 1/2" on).
  bool CurrentIsLandscape();
  // Shows the page a Next or Previous chose; with none, stops auto-turn.
  void TurnTo(const std::optional<PagePosition>& to);
  void StopAutoTurn();
  void AssignArrowKeys();

  // Input (form1_input.cpp).
  // Opens the popup menu with its top-left corner at the window's centre moved by (dx, dy).
  void PopupMenuFromCentre(int dx, int dy);
  void PointerPressed(Qt::MouseButton button, QPointF position);
  void PointerReleased(Qt::MouseButton button, QPointF position);
  void RunStrokeGesture();
  void RotateGesture(double clockwiseDegrees);
  // Runs FormKeyUp for each release that turned out final (no repeating press followed).
  void ActOnFinalKeyReleases();
  // After a menu has closed or a press on the page: the menu bar leaves its keyboard mode, so
  // that letters are the window's keys again and open no menus.
  void ReturnKeysToWindow();

  // Chrome (form1_chrome.cpp).
  bool IsTabletMode();
  void ApplyMenuRule();
  // Attaches or detaches the main menu together with the status bar; renders for the new size.
  void SetMenuVisible(bool visible);
  void SetWindowColor(TColor color);

  // Settings (form1_settings.cpp).
  void ReadIni();
  void WriteIni();
  // Restores the window's state and outer bounds; off-screen coordinates take the defaults, and
  // the size is brought within the screen's available area.
  void PlaceWindow(const QString& state, const QRect& stored);

  // File operations (form1_file_ops.cpp).
  bool ChangeWallpaperStyle(int WallPaperStyle, int nX, int nY);
  TColor GetAverageColor();
  bool ChangeBackground(TColor BGColor);

  PlatformServices services_;
  Dialogs& dialogs_;
  QStringList arguments_;
  TForm2* form2_ = nullptr;
  TForm3* form3_ = nullptr;
  TColor windowColor_ = BackGroundL;
  // The outer bounds the settings file stores, applied once the frame is known.
  OuterBoundsPlacement* placement_ = nullptr;
  // The client size in device pixels the last rendering was made for.
  QSize renderedClientSize_;
  // Decoded pages kept while their files are unchanged, and the turns composed ahead.
  std::unique_ptr<ReadAhead> readAhead_;

  // The open dialog's remembered file name and folder (kept by every rendering).
  QString openDialogFileName_;
  QString openDialogFolder_;

  // Private state.
  QString FileName;
  bool IsFirst = false;
  bool TwoPics = false;
  int NextPicKey = 0;
  int PrevPicKey = 0;
  QPoint DragFrom;
  double TimeStart = 0;
  double TimeStop = 0;
  int Half = 0;
  QString INIPath;
  QString INIFile;
  bool TabletMode = false;
  bool IsClosing = false;
  QString RootDir;

  // The path the left button (or one finger) has drawn since it went down, for stroke gestures.
  std::vector<QPointF> stroke_;
  bool strokeActive_ = false;
  // A press inside the client area is waiting for its release (the bars take their own).
  bool pointerDown_ = false;
  // A touch that has had a second finger is a twist or pinch, not a tap or stroke.
  bool touchIsMultiFinger_ = false;
  // Degrees turned since the native rotate gesture began.
  double nativeRotation_ = 0;
  // The keys whose press the window received, and the releases waiting to act.
  KeyReleases keyReleases_;
};

}  // namespace kelpra
