// Building blocks shared by the two dialogs: the window itself, labels and buttons placed at
// fixed positions.
#pragma once

#include <QString>

class QDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace kelpra {

// Names the dialog, gives it its caption, Tahoma at 11 pixels and a fixed client size.
void SetUpDialogWindow(QDialog& dialog, const char* name, const QString& caption, int width,
                       int height);
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top);
// A 75 x 25 button that Enter presses while it has the focus.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, int left, int top);
// Makes Enter press `button` whenever no button of the dialog has the focus (a focused button
// takes Enter itself). Qt's own default button may still be the one that had the focus last.
void PressOnEnter(QDialog& dialog, QPushButton& button);

}  // namespace kelpra
