// The settings file: read once at the first showing, written once at the close.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "core/file_names.h"
#include "core/file_search.h"
#include "core/ini_file.h"
#include "ui/dialogs.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/image_control.h"
#include "ui/window_placement.h"

namespace kelpra {

namespace {

const QString kConfig = QStringLiteral("CONFIG");
const QString kMenu = QStringLiteral("MENU");
const QString kEffect = QStringLiteral("EFFECT");
const QString kSetting = QStringLiteral("SETTING");

// The "MENU" keys in the order they are written, with their popup items and defaults.
struct MenuKey {
  const char* key;
  QAction* TForm1::*item;
  bool def;
};
constexpr MenuKey kMenuKeys[] = {
    {"Single picture", &TForm1::PM_S, false}, {"Turn single page", &TForm1::PM_1, false},
    {"Swap LR", &TForm1::PM_W, false},        {"Landscape 1/2", &TForm1::PM_H, false},
    {"Subdirectories", &TForm1::PM_R, false}, {"Stretch", &TForm1::PM_T, true},
    {"Splitter", &TForm1::PM_L, true},        {"Dark Background", &TForm1::PM_D, false},
    {"Menu", &TForm1::PM_M, false},           {"Cyclic", &TForm1::PM_Y, true},
};

// Round to nearest, ties to even (the default rounding mode).
int Round(double value) {
  return int(std::nearbyint(value));
}

}  // namespace

void TForm1::ReadIni() {
  const IniFile ini(INIPath + INIFile);
  // A settings file that cannot be taken as one (a FIFO, a device, a huge file) is named to
  // the user once everything else is in place; the defaults apply meanwhile.
  const QString readProblem =
      ini.ReadProblem().isEmpty()
          ? QString()
          : QStringLiteral("Cannot read %1: %2\r\nThe default settings are used.")
                .arg(DisplayName(INIPath + INIFile), ini.ReadProblem());

  const QString storedState = ini.ReadString(kConfig, "WindowState", "wsNormal");
  const int left = ini.ReadInteger(kConfig, "Left", -1);
  const int top = ini.ReadInteger(kConfig, "Top", -1);
  const int width = ini.ReadInteger(kConfig, "Width", 0);
  const int height = ini.ReadInteger(kConfig, "Height", 0);
  const QString lastFile = ini.ReadFileName(kConfig, "Last file", "");

  for (const MenuKey& row : kMenuKeys)
    SetOption(this->*row.item, ini.ReadBool(kMenu, row.key, row.def));
  AssignArrowKeys();

  form2_->Direction = ini.ReadString(kEffect, "Direction", "UP");
  form2_->TrackBarBrightness->setValue(ini.ReadInteger(kEffect, "Brightness", 0));
  form2_->TrackBarContrast->setValue(ini.ReadInteger(kEffect, "Contrast", 0));
  form2_->TrackBarSharpness->setValue(ini.ReadInteger(kEffect, "Sharpness", 0));
  const int resize = ini.ReadInteger(kEffect, "Resize", 1);
  form2_->ComboBoxResize->setCurrentIndex(
      resize >= 0 && resize < form2_->ComboBoxResize->count() ? resize : -1);
  form2_->CheckBoxMonochrome->setChecked(ini.ReadBool(kEffect, "Monochrome", false));

  AutoInt = ini.ReadInteger(kSetting, "Interval", 10);

  PlaceWindow(storedState, QRect(left, top, width, height));

  SetWindowColor(PM_D->isChecked() ? BackGroundD : BackGroundL);
  PM_Z->setEnabled(PM_S->isChecked());
  MM_FZ->setEnabled(PM_S->isChecked());
  Image1->Canvas().BrushColor = windowColor_;
  Image1->Canvas().FillRect({0, 0, Image1->Canvas().Width(), Image1->Canvas().Height()});

  // A folder that cannot be listed any more must not keep the rest of the settings from
  // applying: its error is shown once everything else is in place.
  QString listError;
  if (arguments_.isEmpty() && IsExistingFile(lastFile)) {
    openDialogFileName_ = lastFile;
    RootDir = ExcludeTrailingDelimiter(ExtractFilePath(lastFile));
    try {
      ndxR = ListFiles(lastFile);
    } catch (const FileListError& error) {
      listError = QString::fromUtf8(error.what());
    }
  }

  ApplyMenuRule();
  form2_->LabelBrightnessValue->setText(QString::number(form2_->TrackBarBrightness->value()));
  form2_->LabelContrastValue->setText(QString::number(form2_->TrackBarContrast->value()));
  form2_->LabelSharpnessValue->setText(QString::number(form2_->TrackBarSharpness->value()));

  for (const QString& error : {readProblem, listError}) {
    if (!error.isEmpty())
      dialogs_.ShowError(error);
  }
}

void TForm1::PlaceWindow(const QString& state, const QRect& stored) {
  const QSize screen = services_.screen.PrimaryScreenSize();
  const QRect defaults(Round(0.3 * screen.width()), Round(0.3 * screen.height()),
                       Round(0.4 * screen.width()), Round(0.4 * screen.height()));
  QRect bounds = defaults;
  if (state != QLatin1String("wsMaximized") && state != QLatin1String("wsMinimized")) {
    // Off-screen coordinates (a window last placed on another monitor) reset one by one.
    if (stored.left() >= 0 && stored.left() < screen.width())
      bounds.moveLeft(stored.left());
    if (stored.top() >= 0 && stored.top() < screen.height())
      bounds.moveTop(stored.top());
    if (stored.width() > 0)
      bounds.setWidth(stored.width());
    if (stored.height() > 0)
      bounds.setHeight(stored.height());
  }
  // No larger than the screen can show: a damaged file (Width=60000) would otherwise cost
  // gigabytes at every start and be written back.
  const QRect available = services_.screen.PrimaryScreenAvailableArea();
  if (!available.isEmpty()) {
    bounds.setWidth(std::min(bounds.width(), available.width()));
    bounds.setHeight(std::min(bounds.height(), available.height()));
  }
  setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
  placement_->Apply(bounds);
  if (state == QLatin1String("wsMaximized"))
    setWindowState(windowState() | Qt::WindowMaximized);
}

void TForm1::WriteIni() {
  if (!QDir(INIPath).exists() && !QDir().mkdir(INIPath)) {
    dialogs_.ErrorAbort(QStringLiteral("<") + INIPath + QStringLiteral("> ") +
                        QStringLiteral("creation error.") + QStringLiteral("\r\n") +
                        QStringLiteral("Configurations may not be saved."));
    return;
  }
  IniFile ini(INIPath + INIFile);

  const QString state = isMaximized()   ? QStringLiteral("wsMaximized")
                        : isMinimized() ? QStringLiteral("wsMinimized")
                                        : QStringLiteral("wsNormal");
  const QRect bounds = placement_->OuterBounds();
  ini.EraseSection(kConfig);
  ini.WriteString(kConfig, "WindowState", state);
  ini.WriteInteger(kConfig, "Left", bounds.left());
  ini.WriteInteger(kConfig, "Top", bounds.top());
  ini.WriteInteger(kConfig, "Width", bounds.width());
  ini.WriteInteger(kConfig, "Height", bounds.height());
  const bool hasPage = ndxR >= 0 && ndxR < FileList.Count();
  ini.WriteFileName(kConfig, "Last file", hasPage ? FileList[ndxR] : QString());

  ini.EraseSection(kMenu);
  for (const MenuKey& row : kMenuKeys)
    ini.WriteBool(kMenu, row.key, (this->*row.item)->isChecked());

  ini.EraseSection(kEffect);
  ini.WriteString(kEffect, "Direction", form2_->Direction);
  ini.WriteInteger(kEffect, "Brightness", form2_->TrackBarBrightness->value());
  ini.WriteInteger(kEffect, "Contrast", form2_->TrackBarContrast->value());
  ini.WriteInteger(kEffect, "Sharpness", form2_->TrackBarSharpness->value());
  ini.WriteInteger(kEffect, "Resize", form2_->ComboBoxResize->currentIndex());
  ini.WriteBool(kEffect, "Monochrome", form2_->CheckBoxMonochrome->isChecked());

  ini.EraseSection(kSetting);
  ini.WriteInteger(kSetting, "Interval", AutoInt);

  // The file is replaced in one step, so a failed write leaves the previous settings whole;
  // the user is told and the close goes on.
  try {
    ini.Save();
  } catch (const IniFileError& error) {
    dialogs_.ShowError(QString::fromUtf8(error.what()) +
                       QStringLiteral("\r\nThe previous settings are kept."));
  }
}

}  // namespace kelpra
