// The window's frame: the menu rule under tablet mode, the popup's pause of auto-turn, the window
// colour, and the plain commands Version, Exit and Picture effects.
#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QStatusBar>
#include <QTimer>

#include "ui/dialogs.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/image_control.h"

namespace kelpra {

void TForm1::PM_MClick() {
  SetOption(PM_M, !PM_M->isChecked());
  ApplyMenuRule();
  RearmTimer();
}

void TForm1::MM_SMClick() {
  PM_M->setChecked(false);
  SetMenuVisible(false);
}

void TForm1::PMPopup() {
  // Auto-turn pauses while the menu is open; its check mark stays.
  Timer1->stop();
}

void TForm1::ApplyMenuRule() {
  SetMenuVisible(PM_M->isChecked() && !TabletMode);
}

void TForm1::SetMenuVisible(bool visible) {
  const QSize before = ClientSize();
  MM->setVisible(visible);
  StatusBar1->setVisible(visible);
  // The client area changes at once, as attaching a menu does, and the page is fitted to it.
  layout()->activate();
  if (ClientSize() != before)
    Guarded([this] { FormResize(); });
}

bool TForm1::IsTabletMode() {
  return services_.tabletMode.IsTabletMode();
}

void TForm1::WMSettingChange() {
  // The system needs a moment to finish switching before the flag can be trusted.
  services_.clock.Sleep(500);
  TabletMode = IsTabletMode();
  if (TabletMode) {
    PM_M->setEnabled(false);
    SetMenuVisible(false);
  } else {
    PM_M->setEnabled(true);
    ApplyMenuRule();
  }
}

void TForm1::SetWindowColor(TColor color) {
  windowColor_ = color;
  QPalette palette = centralWidget()->palette();
  palette.setColor(QPalette::Window,
                   QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
  centralWidget()->setPalette(palette);
}

void TForm1::Action10DarkBGExecute() {
  const bool dark = ToggleOption(PM_D);
  SetWindowColor(dark ? BackGroundD : BackGroundL);
  TBitmap& canvas = Image1->Canvas();
  canvas.BrushColor = windowColor_;
  canvas.FillRect({0, 0, canvas.Width(), canvas.Height()});
  ReadFiles();
  RearmTimer();
}

void TForm1::Action11VersionExecute() {
  dialogs_.InformationOnScreen(QStringLiteral("[Kelpra]") + QString::fromLatin1(BuildTag()) +
                               QStringLiteral("\r\n") + QString::fromUtf8(Version1));
  RearmTimer();
}

void TForm1::Action13ExitExecute() {
  close();
}

void TForm1::Action03EffectsExecute() {
  // However the dialog closes, the page is shown with the settings it left.
  if (form2_)
    form2_->exec();
  ReadFiles();
}

}  // namespace kelpra
