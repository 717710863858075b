// The commands and the two menus, written once as tables that read like the menus themselves.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <utility>

#include "ui/form1.h"
#include "ui/menu_grabs.h"

namespace kelpra {

namespace {

using Handler = void (TForm1::*)();

struct CommandRow {
  QAction* TForm1::*member;
  const char* name;
  const char* caption;
  Handler handler;
};

// A menu row: a separator when member is null; the caption comes from the command unless given.
struct MenuRow {
  QAction* TForm1::*member;
  const char* name;
  const char* caption;
  const char* hint;
  Handler handler;
  bool checkable;
};

const CommandRow kCommands[] = {
    {&TForm1::Action01FOpen, "Action01FOpen", "Open (&O)", &TForm1::Action01FOpenExecute},
    {&TForm1::Action02FClear, "Action02FClear", "Clear (&C)", &TForm1::Action02FClearExecute},
    {&TForm1::Action03Effects, "Action03Effects", "Picture effects (&P)",
     &TForm1::Action03EffectsExecute},
    {&TForm1::Action04ShowSingle, "Action04ShowSingle", "Single picture (&S)",
     &TForm1::Action04ShowSingleExecute},
    {&TForm1::Action05TurnSingle, "Action05TurnSingle", "Turn single page (&1)",
     &TForm1::Action05TurnSingleExecute},
    {&TForm1::Action06SwapLR, "Action06SwapLR", "Swap LR (&W)", &TForm1::Action06SwapLRExecute},
    {&TForm1::Action07Subdirectories, "Action07Subdirectories", "Subdirectories (&R)",
     &TForm1::Action07SubdirectoriesExecute},
    {&TForm1::Action08Stretch, "Action08Stretch", "Stretch (&T)", &TForm1::Action08StretchExecute},
    {&TForm1::Action09Splitter, "Action09Splitter", "Splitter (&L)",
     &TForm1::Action09SplitterExecute},
    {&TForm1::Action10DarkBG, "Action10DarkBG", "Dark Background (&D)",
     &TForm1::Action10DarkBGExecute},
    {&TForm1::Action11Version, "Action11Version", "Version (&V)", &TForm1::Action11VersionExecute},
    {&TForm1::Action13Exit, "Action13Exit", "Exit (&X)", &TForm1::Action13ExitExecute},
    {&TForm1::Action14Next, "Action14Next", "Next Picture (&N)", &TForm1::Action14NextExecute},
    {&TForm1::Action15Previous, "Action15Previous", "Previous Picture (&P)",
     &TForm1::Action15PreviousExecute},
    {&TForm1::Action16PopupMenu, "Action16PopupMenu", "Popup Menu",
     &TForm1::Action16PopupMenuExecute},
    {&TForm1::Action17CloseMenu, "Action17CloseMenu", "Close Menu",
     &TForm1::Action17CloseMenuExecute},
    {&TForm1::Action18RotateL, "Action18RotateL", "Rotate Left (&L)",
     &TForm1::Action18RotateLExecute},
    {&TForm1::Action19RotateR, "Action19RotateR", "Rotate Right (&R)",
     &TForm1::Action19RotateRExecute},
    {&TForm1::Action20Upright, "Action20Upright", "Upright (&U)", &TForm1::Action20UprightExecute},
    {&TForm1::Action21Left, "Action21Left", "Action21Left", &TForm1::Action21LeftExecute},
    {&TForm1::Action22Right, "Action22Right", "Action22Right", &TForm1::Action22RightExecute},
    {&TForm1::Action23Half, "Action23Half", "Landscape 1/2 (&H)", &TForm1::Action23HalfExecute},
    {&TForm1::Action24Delete, "Action24Delete", "Delete (&Z)", &TForm1::Action24DeleteExecute},
    {&TForm1::Action25SelectFolder, "Action25SelectFolder", "Action25SelectFolder",
     &TForm1::Action25SelectFolderExecute},
    {&TForm1::Action26UpLeft, "Action26UpLeft", "Action26UpLeft", &TForm1::Action26UpLeftExecute},
    {&TForm1::Action27UpRight, "Action27UpRight", "Action27UpRight",
     &TForm1::Action27UpRightExecute},
    {&TForm1::Action28UpDown, "Action28UpDown", "Action28UpDown", &TForm1::Action28UpDownExecute},
    {&TForm1::Action29Save, "Action29Save", "Save (&N)", &TForm1::Action29SaveExecute},
    {&TForm1::Action30AutoTurn, "Action30AutoTurn", "Auto Turn", &TForm1::Action30AutoTurnExecute},
    {&TForm1::Action31WallPaper, "Action31WallPaper", "WallPaper (&K)",
     &TForm1::Action31WallPaperExecute},
};

constexpr MenuRow kSeparator = {nullptr, nullptr, "-", "", nullptr, false};

const MenuRow kFileMenu[] = {
    {&TForm1::MM_FO, "MM_FO", "Open (&O)", "Open image file.", &TForm1::Action01FOpenExecute,
     false},
    {&TForm1::MM_FC, "MM_FC", "Clear (&C)", "Clear canvas.", &TForm1::Action02FClearExecute, false},
    {&TForm1::MM_FF, "MM_FF", "Folder (&F)", "Open folder.", &TForm1::Action25SelectFolderExecute,
     false},
    {&TForm1::MM_FR, "MM_FR", "Reload (&R)", "", &TForm1::MM_FRClick, false},
    {&TForm1::MM_FP, "MM_FP", "Parent Dir (&P)", "", &TForm1::MM_FPClick, false},
    kSeparator,  // N4
    {&TForm1::MM_FN, "MM_FN", "Save (&N)", "", &TForm1::Action29SaveExecute, false},
    {&TForm1::MM_FZ, "MM_FZ", "Delete (&Z)", "Delete current image.",
     &TForm1::Action24DeleteExecute, false},
    kSeparator,  // N6
    {&TForm1::MM_FX, "MM_FX", "Exit (&X)", "Exit Kelpra.", &TForm1::Action13ExitExecute, false},
};

const MenuRow kNavigateMenu[] = {
    {&TForm1::MM_NN, "MM_NN", "Next Picture (&N)", "Show next picture.",
     &TForm1::Action14NextExecute, false},
    {&TForm1::MM_NP, "MM_NP", "Previous Picture (&P)", "Show previous picture.",
     &TForm1::Action15PreviousExecute, false},
    kSeparator,  // N8
    {&TForm1::MM_NL, "MM_NL", "Rotate Left (&L)", "Rotate image 90deg. left.",
     &TForm1::Action18RotateLExecute, false},
    {&TForm1::MM_NR, "MM_NR", "Rotate Right (&R)", "Rotate image 90deg. right.",
     &TForm1::Action19RotateRExecute, false},
    {&TForm1::MM_NU, "MM_NU", "Upright (&U)", "Upright image.", &TForm1::Action20UprightExecute,
     false},
};

const MenuRow kSettingsMenu[] = {
    {&TForm1::MM_SP, "MM_SP", "Picture effects (&P)", "Open [Picture Effects] dialog.",
     &TForm1::Action03EffectsExecute, false},
    kSeparator,  // N7
    {&TForm1::MM_SS, "MM_SS", "Single picture (&S)", "Show each image.",
     &TForm1::Action04ShowSingleExecute, true},
    {&TForm1::MM_S1, "MM_S1", "Turn single page (&1)", "Turn single page whether images convined.",
     &TForm1::Action05TurnSingleExecute, true},
    {&TForm1::MM_SW, "MM_SW", "Swap LR (&W)", "Swap left and right sweep.",
     &TForm1::Action06SwapLRExecute, true},
    {&TForm1::MM_SH, "MM_SH", "Landscape 1/2 (&H)",
     "Divide landscape image as single left and right page.", &TForm1::Action23HalfExecute, true},
    {&TForm1::MM_SR, "MM_SR", "Subdirectories (&R)", "Show images in subdirectories.",
     &TForm1::Action07SubdirectoriesExecute, true},
    {&TForm1::MM_ST, "MM_ST", "Stretch (&T)", "Resize image to fit to canvas.",
     &TForm1::Action08StretchExecute, true},
    {&TForm1::MM_SL, "MM_SL", "Splitter (&L)", "Show splitter when images convined.",
     &TForm1::Action09SplitterExecute, true},
    {&TForm1::MM_SD, "MM_SD", "Dark Background (&D)", "Dark background color.",
     &TForm1::Action10DarkBGExecute, true},
    {&TForm1::Pageturninterval1, "Pageturninterval1", "Page turn interval (&N)", "",
     &TForm1::Pageturninterval1Click, false},
    kSeparator,  // N9
    {&TForm1::MM_SM, "MM_SM", "Hide Menu (&M)", "Hide main menu and status bar.",
     &TForm1::MM_SMClick, false},
};

const MenuRow kHelpMenu[] = {
    {&TForm1::MM_HV, "MM_HV", "Version (&V)", "Show version information.",
     &TForm1::Action11VersionExecute, false},
};

const MenuRow kPopupMenu[] = {
    {&TForm1::PM_O, "PM_O", "Open (&O)", "", &TForm1::Action01FOpenExecute, false},
    {&TForm1::PM_C, "PM_C", "Clear (&C)", "", &TForm1::Action02FClearExecute, false},
    {&TForm1::PM_F, "PM_F", "Folder (&F)", "", &TForm1::Action25SelectFolderExecute, false},
    kSeparator,  // N10
    {&TForm1::PM_Re, "PM_Re", "Reload files (&R)", "", &TForm1::PM_ReClick, false},
    {&TForm1::PM_Rp, "PM_Rp", "Reload parent dir (&P)", "", &TForm1::PM_RpClick, false},
    kSeparator,  // N1
    {&TForm1::PM_P, "PM_P", "Picture effects (&P)", "", &TForm1::Action03EffectsExecute, false},
    kSeparator,  // N3
    {&TForm1::Action30AutoTurn1, "Action30AutoTurn1", "Auto Turn (&A)", "",
     &TForm1::Action30AutoTurnExecute, true},
    {&TForm1::PM_Y, "PM_Y", "Cyclic (&Y)", "", &TForm1::PM_YClick, true},
    {&TForm1::PM_S, "PM_S", "Single picture (&S)", "", &TForm1::Action04ShowSingleExecute, true},
    {&TForm1::PM_1, "PM_1", "Turn single page (&1)", "", &TForm1::Action05TurnSingleExecute, true},
    {&TForm1::PM_W, "PM_W", "Swap LR (&W)", "", &TForm1::Action06SwapLRExecute, true},
    {&TForm1::PM_H, "PM_H", "Landscape 1/2 (&H)", "", &TForm1::Action23HalfExecute, true},
    {&TForm1::PM_R, "PM_R", "Subdirectories (&R)", "", &TForm1::Action07SubdirectoriesExecute,
     true},
    {&TForm1::PM_T, "PM_T", "Stretch (&T)", "", &TForm1::Action08StretchExecute, true},
    {&TForm1::PM_L, "PM_L", "Splitter (&L)", "", &TForm1::Action09SplitterExecute, true},
    {&TForm1::PM_D, "PM_D", "Dark Background (&D)", "", &TForm1::Action10DarkBGExecute, true},
    kSeparator,  // N5
    {&TForm1::WallPaper1, "WallPaper1", "WallPaper (&K)", "", &TForm1::Action31WallPaperExecute,
     false},
    {&TForm1::SaveV1, "SaveV1", "Save (&N)", "", &TForm1::Action29SaveExecute, false},
    {&TForm1::PM_Z, "PM_Z", "Delete (&Z)", "", &TForm1::Action24DeleteExecute, false},
    kSeparator,  // N2
    {&TForm1::PM_M, "PM_M", "Menu (&M)", "", &TForm1::PM_MClick, true},
    {&TForm1::PM_V, "PM_V", "Version (&V)", "", &TForm1::Action11VersionExecute, false},
    {&TForm1::PM_X, "PM_X", "Exit (&X)", "", &TForm1::Action13ExitExecute, false},
};

}  // namespace

void TForm1::CreateActions() {
  for (const CommandRow& row : kCommands) {
    auto* action = new QAction(QString::fromUtf8(row.caption), this);
    action->setObjectName(QString::fromLatin1(row.name));
    const Handler handler = row.handler;
    connect(action, &QAction::triggered, this,
            [this, handler] { Guarded([=, this] { (this->*handler)(); }); });
    this->*row.member = action;
  }
  // The auto-turn state is the command's own check mark.
  Action30AutoTurn->setCheckable(true);
}

template <std::size_t N>
static void FillMenu(TForm1& form, QMenu* menu, const MenuRow (&rows)[N]) {
  for (const MenuRow& row : rows) {
    if (!row.member) {
      menu->addSeparator();
      continue;
    }
    QAction* item = menu->addAction(QString::fromUtf8(row.caption));
    item->setObjectName(QString::fromLatin1(row.name));
    item->setStatusTip(QString::fromUtf8(row.hint));
    item->setCheckable(row.checkable);
    const Handler handler = row.handler;
    QObject::connect(item, &QAction::triggered, &form, [&form, item, handler] {
      // Qt flips a checkable item before reporting the click; the handlers flip it themselves.
      if (item->isCheckable())
        item->setChecked(!item->isChecked());
      form.Guarded([&form, handler] { (form.*handler)(); });
    });
    form.*row.member = item;
  }
}

void TForm1::CreateMenus() {
  MM = new QMenuBar(this);
  MM->setObjectName(QStringLiteral("MM"));
  MM_F = MM->addMenu(QStringLiteral("File (&F)"));
  MM_N = MM->addMenu(QStringLiteral("Navigate (&N)"));
  MM_S = MM->addMenu(QStringLiteral("Settings (&S)"));
  MM_H = MM->addMenu(QStringLiteral("Help (&H)"));
  FillMenu(*this, MM_F, kFileMenu);
  FillMenu(*this, MM_N, kNavigateMenu);
  FillMenu(*this, MM_S, kSettingsMenu);
  FillMenu(*this, MM_H, kHelpMenu);
  setMenuBar(MM);

  PM = new QMenu(this);
  PM->setObjectName(QStringLiteral("PM"));
  FillMenu(*this, PM, kPopupMenu);
  connect(PM, &QMenu::aboutToShow, this, [this] { Guarded([this] { PMPopup(); }); });
  auto* grabs = new MenuGrabs(this);
  for (QMenu* menu : {MM_F, MM_N, MM_S, MM_H, PM}) {
    grabs->Watch(*menu);
    // A press taken by a menu (an access key) leaves a release that is no command.
    connect(menu, &QMenu::aboutToShow, this, [this] { keyReleases_.ForgetPresses(); });
    // Deferred: the bar settles its own state once the menu is gone.
    connect(menu, &QMenu::aboutToHide, this,
            [this] { QTimer::singleShot(0, this, &TForm1::ReturnKeysToWindow); });
  }
  connect(Action30AutoTurn, &QAction::toggled, Action30AutoTurn1, &QAction::setChecked);

  PM_Y->setChecked(true);  // the only check mark on before the settings are read
  PM_Z->setEnabled(false);
  MM_FZ->setEnabled(false);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setFixedHeight(19);
  setStatusBar(StatusBar1);
  MM->hide();
  StatusBar1->hide();
}

// Options whose popup item has a twin in the main menu.
static constexpr std::pair<QAction * TForm1::*, QAction * TForm1::*> kMirroredOptions[] = {
    {&TForm1::PM_S, &TForm1::MM_SS}, {&TForm1::PM_1, &TForm1::MM_S1},
    {&TForm1::PM_W, &TForm1::MM_SW}, {&TForm1::PM_H, &TForm1::MM_SH},
    {&TForm1::PM_R, &TForm1::MM_SR}, {&TForm1::PM_T, &TForm1::MM_ST},
    {&TForm1::PM_L, &TForm1::MM_SL}, {&TForm1::PM_D, &TForm1::MM_SD},
};

void TForm1::SetOption(QAction* popupItem, bool on) {
  popupItem->setChecked(on);
  for (const auto& [popup, mainMenu] : kMirroredOptions) {
    if (this->*popup == popupItem)
      (this->*mainMenu)->setChecked(on);
  }
}

bool TForm1::ToggleOption(QAction* popupItem) {
  SetOption(popupItem, !popupItem->isChecked());
  return popupItem->isChecked();
}

}  // namespace kelpra
