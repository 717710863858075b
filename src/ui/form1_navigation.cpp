// Page turning, swipes, rotation, the option toggles and the automatic page turn.
#include <QAction>
#include <QTimer>
#include <algorithm>

#include "core/file_search.h"
#include "core/read_ahead.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/form3.h"

namespace kelpra {

namespace {

constexpr int VK_LEFT = 37;
constexpr int VK_RIGHT = 39;

struct Turn {
  const char* from;
  const char* left;
  const char* right;
};

constexpr Turn kTurns[] = {
    {"UP", "LEFT", "RIGHT"},
    {"LEFT", "DOWN", "UP"},
    {"DOWN", "RIGHT", "LEFT"},
    {"RIGHT", "UP", "DOWN"},
};

// The orientation after a quarter turn; an unknown value stays as it is.
QString Turned(const QString& direction, bool toLeft) {
  for (const Turn& turn : kTurns) {
    if (direction == QLatin1String(turn.from))
      return QString::fromLatin1(toLeft ? turn.left : turn.right);
  }
  return direction;
}

// The timer's interval; a hand-edited interval outside 1..3600 s is brought into range, so that
// the timer never fires continuously.
int TimerInterval(int autoInt) {
  return std::clamp(autoInt, 1, 3600) * 1000;
}

}  // namespace

TurnOptions TForm1::CurrentTurnOptions() const {
  TurnOptions options;
  options.landscapeHalf = PM_H->isChecked();
  options.cyclic = PM_Y->isChecked();
  options.turnSingle = PM_1->isChecked();
  options.singlePicture = PM_S->isChecked();
  return options;
}

void TForm1::Action14NextExecute() {
  EndMenu();
  RearmTimer();
  TurnTo(NextPosition(FileList.Count(), {ndxR, Half}, TwoPics, CurrentIsLandscape(),
                      CurrentTurnOptions()));
}

void TForm1::Action15PreviousExecute() {
  EndMenu();
  RearmTimer();
  TurnTo(
      PreviousPosition(FileList.Count(), {ndxR, Half}, CurrentIsLandscape(), CurrentTurnOptions()));
}

bool TForm1::CurrentIsLandscape() {
  // Only "Landscape 1/2" asks, so only then is the page's size looked at.
  return PM_H->isChecked() && !FileList.Empty() && readAhead_->IsLandscape(FileList[ndxR]);
}

void TForm1::TurnTo(const std::optional<PagePosition>& to) {
  // No position: the end of the list with "Cyclic" off, where auto-turn stops.
  if (!to) {
    if (Action30AutoTurn->isChecked())
      StopAutoTurn();
    return;
  }
  ndxR = to->ndxR;
  Half = to->half;
  ReadFiles();
}

void TForm1::Action21LeftExecute() {
  if (!PM_T->isChecked())
    return;
  if (PM_W->isChecked())
    Action14NextExecute();
  else
    Action15PreviousExecute();
}

void TForm1::Action22RightExecute() {
  if (!PM_T->isChecked())
    return;
  if (PM_W->isChecked())
    Action15PreviousExecute();
  else
    Action14NextExecute();
}

void TForm1::Action18RotateLExecute() {
  form2_->Direction = Turned(form2_->Direction, true);
  ReadFiles();
}

void TForm1::Action19RotateRExecute() {
  form2_->Direction = Turned(form2_->Direction, false);
  ReadFiles();
}

void TForm1::Action20UprightExecute() {
  form2_->Direction = QStringLiteral("UP");
  ReadFiles();
}

void TForm1::Action26UpLeftExecute() {
  if (PM_T->isChecked())
    Action18RotateLExecute();
}

void TForm1::Action27UpRightExecute() {
  if (PM_T->isChecked())
    Action19RotateRExecute();
}

void TForm1::Action28UpDownExecute() {
  if (PM_T->isChecked())
    Action20UprightExecute();
}

void TForm1::Action04ShowSingleExecute() {
  const bool on = ToggleOption(PM_S);
  PM_Z->setEnabled(on);
  MM_FZ->setEnabled(on);
  ReadFiles();
  RearmTimer();
}

void TForm1::Action05TurnSingleExecute() {
  ToggleOption(PM_1);
  RearmTimer();
}

void TForm1::Action06SwapLRExecute() {
  ToggleOption(PM_W);
  AssignArrowKeys();
  ReadFiles();
  RearmTimer();
}

void TForm1::Action07SubdirectoriesExecute() {
  ToggleOption(PM_R);
  if (!FileName.isEmpty())
    ndxR = ListFiles(FileName);
  RearmTimer();
}

void TForm1::Action08StretchExecute() {
  ToggleOption(PM_T);
  ReadFiles();
  RearmTimer();
}

void TForm1::Action09SplitterExecute() {
  ToggleOption(PM_L);
  ReadFiles();
  RearmTimer();
}

void TForm1::Action23HalfExecute() {
  ToggleOption(PM_H);
  Half = 1;
  ReadFiles();
  RearmTimer();
}

void TForm1::PM_YClick() {
  ToggleOption(PM_Y);
}

void TForm1::AssignArrowKeys() {
  const bool swapped = PM_W->isChecked();
  NextPicKey = swapped ? VK_LEFT : VK_RIGHT;
  PrevPicKey = swapped ? VK_RIGHT : VK_LEFT;
}

void TForm1::Action30AutoTurnExecute() {
  if (Action30AutoTurn->isChecked()) {
    StopAutoTurn();
    return;
  }
  State = QStringLiteral("  Auto(") + QString::number(AutoInt) + QStringLiteral("s)");
  // An unreadable page does not keep auto-turn from starting: the next tick moves on from it.
  struct StartTimer {
    TForm1& form;
    ~StartTimer() {
      form.Timer1->setInterval(TimerInterval(form.AutoInt));
      form.Timer1->start();
      form.Action30AutoTurn->setChecked(true);
    }
  } startTimer{*this};
  Action14NextExecute();
}

void TForm1::StopAutoTurn() {
  // The suffix sits just before the page counter's padding, where the last rendering put it.
  QString caption = windowTitle();
  if (!State.isEmpty()) {
    const qsizetype at = caption.lastIndexOf(State);
    if (at >= 0)
      caption.remove(at, State.size());
    setWindowTitle(caption);
  }
  State.clear();
  Timer1->stop();
  Action30AutoTurn->setChecked(false);
}

void TForm1::Timer1Timer() {
  if (!FileList.Empty())
    Action14NextExecute();
}

void TForm1::Pageturninterval1Click() {
  form3_->exec();
}

}  // namespace kelpra
