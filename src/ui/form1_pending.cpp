// Handlers not written yet. Whoever implements one moves it into its topic file.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/form1.h"
#include "ui/image_control.h"

namespace kelpra {

void TForm1::ReadFiles() {}
void TForm1::Action01FOpenExecute() {}
void TForm1::Action02FClearExecute() {}
void TForm1::Action03EffectsExecute() {}
void TForm1::Action04ShowSingleExecute() {}
void TForm1::Action05TurnSingleExecute() {}
void TForm1::Action06SwapLRExecute() {}
void TForm1::Action07SubdirectoriesExecute() {}
void TForm1::Action08StretchExecute() {}
void TForm1::Action09SplitterExecute() {}
void TForm1::Action10DarkBGExecute() {}
void TForm1::Action11VersionExecute() {}
void TForm1::Action13ExitExecute() {}
void TForm1::Action14NextExecute() {}
void TForm1::Action15PreviousExecute() {}
void TForm1::Action16PopupMenuExecute() {}
void TForm1::Action17CloseMenuExecute() {}
void TForm1::Action18RotateLExecute() {}
void TForm1::Action19RotateRExecute() {}
void TForm1::Action20UprightExecute() {}
void TForm1::Action21LeftExecute() {}
void TForm1::Action22RightExecute() {}
void TForm1::Action23HalfExecute() {}
void TForm1::Action24DeleteExecute() {}
void TForm1::Action25SelectFolderExecute() {}
void TForm1::Action26UpLeftExecute() {}
void TForm1::Action27UpRightExecute() {}
void TForm1::Action28UpDownExecute() {}
void TForm1::Action29SaveExecute() {}
void TForm1::Action30AutoTurnExecute() {}
void TForm1::Action31WallPaperExecute() {}
void TForm1::MM_FRClick() {}
void TForm1::MM_FPClick() {}
void TForm1::PM_ReClick() {}
void TForm1::PM_RpClick() {}
void TForm1::PM_YClick() {}
void TForm1::PM_MClick() {}
void TForm1::MM_SMClick() {}
void TForm1::PMPopup() {}
void TForm1::Pageturninterval1Click() {}
void TForm1::Timer1Timer() {}
void TForm1::FormKeyUp(int) {}
void TForm1::Image1MouseDown(Qt::MouseButton, int, int) {}
void TForm1::Image1MouseUp(Qt::MouseButton, int, int) {}
void TForm1::FormGesture(int, double) {}
void TForm1::FormClick() {}
void TForm1::WMDropFiles(const QStringList&) {}
void TForm1::WMSettingChange() {}
const TBitmap& TForm1::DisplayedPicture() const {
  return Image1->Picture();
}
void TForm1::keyReleaseEvent(QKeyEvent* event) {
  QMainWindow::keyReleaseEvent(event);
}
void TForm1::mousePressEvent(QMouseEvent* event) {
  QMainWindow::mousePressEvent(event);
}
void TForm1::mouseReleaseEvent(QMouseEvent* event) {
  QMainWindow::mouseReleaseEvent(event);
}
bool TForm1::event(QEvent* event) {
  return QMainWindow::event(event);
}
void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  QMainWindow::dragEnterEvent(event);
}
void TForm1::dropEvent(QDropEvent* event) {
  QMainWindow::dropEvent(event);
}
DisplayOptions TForm1::CurrentDisplayOptions() const {
  return {};
}
EffectSettings TForm1::CurrentEffects() const {
  return {};
}
void TForm1::DrawIdleCanvas() {}
void TForm1::CenterImage() {}
QString TForm1::GetPath(int) {
  return {};
}
void TForm1::OpenPictureFile(const QString&) {}
void TForm1::StopAutoTurn() {}
void TForm1::AssignArrowKeys() {}
bool TForm1::IsTabletMode() {
  return false;
}
void TForm1::ApplyMenuRule() {}
void TForm1::SetWindowColor(TColor) {}
void TForm1::ReadIni() {}
void TForm1::WriteIni() {}
bool TForm1::ChangeWallpaperStyle(int, int, int) {
  return false;
}
TColor TForm1::GetAverageColor() {
  return 0;
}
bool TForm1::ChangeBackground(TColor) {
  return false;
}

}  // namespace kelpra
