// The main window's construction and lifecycle: create, first and later showing, resize, close.
#include "ui/form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>
#include <new>

#include "core/file_names.h"
#include "core/file_search.h"
#include "core/read_ahead.h"
#include "ui/dialogs.h"
#include "ui/image_control.h"
#include "ui/window_pixels.h"
#include "ui/window_placement.h"

namespace kelpra {

const char* const Title = "Kelpra";
const char* const Version1 = "Version 0.3.3b (Qt 6 for Linux)";
const char* const PictureFilter =
    "All Supported Images (*.gif;*.jpg;*.jpeg;*.png;*.bmp)|*.gif;*.jpg;*.jpeg;*.png;*.bmp|"
    "GIFIimages (*.gif)|*.gif|JPEG Images (*.jpg)|*.jpg|JPEG Images (*.jpeg)|*.jpeg|"
    "Portable Network Graphics (*.png)|*.png|Bitmap Images (*.bmp)|*.bmp";

const char* BuildTag() {
  return sizeof(void*) == 8 ? " (64bit) " : " (32bit) ";
}

TForm1::TForm1(PlatformServices services, Dialogs& dialogs, QStringList arguments, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      dialogs_(dialogs),
      arguments_(std::move(arguments)),
      readAhead_(std::make_unique<ReadAhead>(ReadAhead::WorkAheadFromEnvironment())) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString::fromLatin1(Title));
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  client->setAutoFillBackground(true);
  setCentralWidget(client);
  Image1 = new ImageControl(client);
  Image1->setObjectName(QStringLiteral("Image1"));
  // The control's widget covers the client area; its own bounds place the picture.
  auto* clientLayout = new QGridLayout(client);
  clientLayout->setContentsMargins(0, 0, 0, 0);
  clientLayout->addWidget(Image1);
  Image1->SetBounds(QRect(40, 32, 281, 177));
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
  CreateActions();
  CreateMenus();
  setAcceptDrops(true);
  // Touch is handled as strokes and taps; two fingers twisting rotate the page.
  setAttribute(Qt::WA_AcceptTouchEvents);
  grabGesture(Qt::PinchGesture);
  resize(512, 404);
  placement_ = new OuterBoundsPlacement(*this);
  // A change of the window's device pixels that leaves its logical size is a resize too.
  new WindowPixelsWatcher(*this, [this] {
    if (ClientSize() != renderedClientSize_)
      Guarded([this] { FormResize(); });
  });
  FormCreate();
  services_.tabletMode.SetSettingChangeHandler([this] { Guarded([this] { WMSettingChange(); }); });
}

TForm1::~TForm1() {
  services_.tabletMode.SetSettingChangeHandler({});
  FormDestroy();
}

void TForm1::AttachDialogs(TForm2& form2, TForm3& form3) {
  form2_ = &form2;
  form3_ = &form3;
}

QRect TForm1::DeviceClientRect() const {
  // Qt's rounding of the logical size may give the window a pixel more or less than it really
  // has: only pixels both have can show the picture.
  const QRect client = ToDevicePixels(centralWidget()->geometry(), devicePixelRatioF());
  return client.intersected(QRect(QPoint(0, 0), WindowPixels(*this)));
}

QSize TForm1::ClientSize() const {
  return DeviceClientRect().size();
}

void TForm1::FormCreate() {
  IsClosing = false;
  SetWindowColor(BackGroundL);
  Image1->Canvas().BrushColor = windowColor_;
  Image1->Canvas().FillRect({0, 0, Image1->Canvas().Width(), Image1->Canvas().Height()});
  FileList.Clear();
  IsFirst = true;
  NextPicKey = 37;
  PrevPicKey = 39;
  INIFile = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".ini";
  QString appData = GetPath(26);
  if (!appData.endsWith(QLatin1Char('/')))
    appData += QLatin1Char('/');
  INIPath = appData + QStringLiteral("ZENDRO/");
  TabletMode = IsTabletMode();
  Timer1->stop();
  RootDir = QDir::currentPath();
}

void TForm1::FormShow() {
  if (IsFirst) {
    ReadIni();
    if (!arguments_.isEmpty()) {
      // Stored as the last file, the page must be found again from any folder.
      FileName = StartFileName(arguments_.first(), CurrentFolder());
      openDialogFileName_ = FileName;
      RootDir = ExcludeTrailingDelimiter(ExtractFilePath(FileName));
      ndxR = ListFiles(FileName);
    }
    if (TabletMode) {
      PM_M->setEnabled(false);
      MM->hide();
      StatusBar1->hide();
    } else {
      PM_M->setEnabled(true);
      ApplyMenuRule();
    }
    IsFirst = false;
  }
  if (FileList.Empty()) {
    setWindowTitle(QStringLiteral("[Kelpra]  ") + QString::fromUtf8(Version1) + State);
  }
  Half = 1;
  ReadFiles();
}

void TForm1::FormResize() {
  ReadFiles();
}

void TForm1::FormClose() {
  // No work ahead outlives the window.
  readAhead_->Stop();
  WriteIni();
  IsClosing = true;
}

void TForm1::FormDestroy() {
  Image1->ClearPicture();
  FileName.clear();
  FileList.Clear();
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // On another screen the device pixel ratio, and so the client area in device pixels, may
  // change while the logical size stays: that is a resize too.
  if (const QWindow* window = windowHandle())
    connect(window, &QWindow::screenChanged, this, &TForm1::ScreenChanged, Qt::UniqueConnection);
  if (!event->spontaneous())
    Guarded([this] { FormShow(); });
}

void TForm1::ScreenChanged() {
  Guarded([this] { FormResize(); });
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Guarded([this] { FormResize(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
  Guarded([this] { FormClose(); });
  event->accept();
}

void TForm1::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::bad_alloc&) {
    dialogs_.ShowError(QStringLiteral("Not enough memory to complete the operation."));
  } catch (const std::exception& error) {
    dialogs_.ShowError(QString::fromUtf8(error.what()));
  }
}

void TForm1::RearmTimer() {
  if (!Action30AutoTurn->isChecked()) {
    Timer1->stop();
  } else if (!Timer1->isActive()) {
    Timer1->start();  // a running countdown is left alone
  }
}

void TForm1::EndMenu() {
  while (QWidget* popup = QApplication::activePopupWidget()) {
    popup->close();
  }
  PM->hide();
}

}  // namespace kelpra
