// Filling, refreshing and emptying the file list: open, drop, folder, reload, parent, clear.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "core/file_names.h"
#include "core/file_search.h"
#include "ui/dialogs.h"
#include "ui/form1.h"
#include "ui/hourglass.h"

namespace kelpra {

namespace {

const char* const kNoImageFiles = "No image files found.";

// The local files among dropped items, folders without their trailing delimiter so that a dropped
// folder is listed with the folder that holds it.
QStringList DroppedFiles(const QMimeData* data) {
  QStringList files;
  if (!data || !data->hasUrls())
    return files;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile())
      continue;
    QString path = LocalFileName(url);
    if (path.size() > 1 && path.endsWith(u'/'))
      path.chop(1);
    files << path;
  }
  return files;
}

// Accepts the drag or drop as a copy, never as a move: a source that honours a move deletes
// the user's file. Only a source that allows a copy of local files is accepted.
bool AcceptAsCopy(QDropEvent& event) {
  if (!(event.possibleActions() & Qt::CopyAction) || DroppedFiles(event.mimeData()).isEmpty())
    return false;
  event.setDropAction(Qt::CopyAction);
  event.accept();
  return true;
}

}  // namespace

QString TForm1::GetPath(int nFolder) {
  return services_.folders.GetPath(nFolder);
}

int TForm1::ListFiles(const QString& fileName) {
  Hourglass hourglass;  // a large tree takes a while
  return SearchFiles(fileName, FileList, PM_R->isChecked());
}

int TForm1::ListFiles(const QString& fileDir, const QString& fileName) {
  Hourglass hourglass;
  return SearchFiles(fileDir, fileName, FileList, PM_R->isChecked());
}

void TForm1::OpenPictureFile(const QString& fileName) {
  FileName = fileName;
  openDialogFileName_ = FileName;
  RootDir = ExcludeTrailingDelimiter(ExtractFilePath(FileName));
  ndxR = ListFiles(FileName);
  Half = 1;
  ReadFiles();
}

void TForm1::Action01FOpenExecute() {
  EndMenu();
  RearmTimer();
  const std::optional<QString> chosen =
      dialogs_.OpenPicture(openDialogFolder_, openDialogFileName_, QString::fromUtf8(PictureFilter),
                           QStringLiteral(".jpg"));
  if (chosen)
    OpenPictureFile(*chosen);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  AcceptAsCopy(*event);
}

void TForm1::dragMoveEvent(QDragMoveEvent* event) {
  // Each move may propose another action (a modifier pressed on the way).
  AcceptAsCopy(*event);
}

void TForm1::dropEvent(QDropEvent* event) {
  if (!AcceptAsCopy(*event))
    return;
  const QStringList files = DroppedFiles(event->mimeData());
  Guarded([this, &files] { WMDropFiles(files); });
}

void TForm1::WMDropFiles(const QStringList& fileNames) {
  Hourglass hourglass;
  if (fileNames.isEmpty())
    return;
  OpenPictureFile(fileNames.first());  // further items are ignored
}

void TForm1::Action25SelectFolderExecute() {
  const QString start = FileList.Empty() ? QString() : ExtractFilePath(FileList[ndxR]);
  const std::optional<QString> chosen =
      dialogs_.ChooseFolder(QStringLiteral("フォルダの指定"), start);
  if (!chosen)
    return;
  RootDir = ExcludeTrailingDelimiter(*chosen);
  EndMenu();
  RearmTimer();
  SetOption(PM_R, true);
  QString folder = *chosen;
  if (!folder.endsWith(u'/'))
    folder += u'/';
  // "*" names no listed file, so the first picture becomes current.
  ndxR = ListFiles(folder + u'*');
  if (FileList.Empty()) {
    Action02FClearExecute();
    return;
  }
  FileName = FileList[0];
  openDialogFolder_ = ExcludeTrailingDelimiter(ExtractFilePath(FileName));
  openDialogFileName_ = FileName;
  Half = 1;
  ReadFiles();
}

void TForm1::MM_FRClick() {
  if (FileList.Empty())
    return;
  const QString current = FileList[ndxR];
  ndxR = ListFiles(RootDir, current);
  if (FileList.Empty())
    dialogs_.Information(QString::fromUtf8(kNoImageFiles));
}

void TForm1::MM_FPClick() {
  if (FileList.Empty())
    return;
  const PathList oldList = FileList;
  const int oldIndex = ndxR;
  const QString current = FileList[ndxR];
  const QString parent = ExtractFilePath(RootDir);
  try {
    ndxR = ListFiles(parent, current);
  } catch (...) {
    // A parent that cannot be listed must not cost the list the user is reading.
    FileList = oldList;
    ndxR = oldIndex;
    throw;
  }
  if (FileList.Empty()) {
    FileList = oldList;
    ndxR = oldIndex;
    dialogs_.Information(QString::fromUtf8(kNoImageFiles));
  }
}

void TForm1::PM_ReClick() {
  MM_FRClick();
}

void TForm1::PM_RpClick() {
  MM_FPClick();
}

void TForm1::Action02FClearExecute() {
  State.clear();
  Action30AutoTurn->setChecked(false);
  Timer1->stop();
  FileList.Clear();
  FileName.clear();
  FormShow();
}

}  // namespace kelpra
