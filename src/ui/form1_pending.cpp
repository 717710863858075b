// Handlers not written yet. Whoever implements one moves it into its topic file.
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/form1.h"
#include "ui/image_control.h"

namespace kelpra {

void TForm1::Action03EffectsExecute() {}
void TForm1::Action10DarkBGExecute() {}
void TForm1::Action11VersionExecute() {}
void TForm1::Action13ExitExecute() {}
void TForm1::Action16PopupMenuExecute() {}
void TForm1::Action17CloseMenuExecute() {}
void TForm1::PM_MClick() {}
void TForm1::MM_SMClick() {}
void TForm1::PMPopup() {}
void TForm1::FormKeyUp(int) {}
void TForm1::Image1MouseDown(Qt::MouseButton, int, int) {}
void TForm1::Image1MouseUp(Qt::MouseButton, int, int) {}
void TForm1::FormGesture(int, double) {}
void TForm1::FormClick() {}
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
bool TForm1::IsTabletMode() {
  return false;
}
void TForm1::ApplyMenuRule() {}
void TForm1::SetWindowColor(TColor) {}

}  // namespace kelpra
