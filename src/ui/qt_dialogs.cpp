#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <filesystem>
#include <system_error>

#include "core/file_names.h"
#include "core/file_search.h"
#include "ui/window_placement.h"

namespace kelpra {

namespace {

std::optional<QString> RunFileDialog(QWidget* owner, QFileDialog::AcceptMode mode,
                                     const QString& folder, const QString& fileName,
                                     const QString& filter, const QString& defaultExtension) {
  QFileDialog dialog(owner, QString(), DisplayName(folder));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setNameFilters(QtNameFilters(filter));
  QString suffix = defaultExtension;
  if (suffix.startsWith(u'.'))
    suffix.remove(0, 1);
  dialog.setDefaultSuffix(suffix);
  if (!fileName.isEmpty())
    dialog.selectFile(DisplayName(fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  // Qt shows each byte of a name that is not UTF-8 as a replacement character: the answer is
  // turned back into the real names. Not the name to save under, though: Qt asked before
  // replacing only a file it saw, and the name as shown is none.
  const QString chosen = dialog.selectedFiles().first();
  if (mode == QFileDialog::AcceptSave)
    return ResolveQtDecodedPath(ExtractFilePath(chosen)) + ExtractFileName(chosen);
  return ResolveQtDecodedPath(chosen);
}

// A message box of the owner's, shown over the owner or centred on the screen.
class OwnedMessageBox : public QMessageBox {
 public:
  OwnedMessageBox(QWidget* owner, Icon icon, const QString& title, const QString& text,
                  StandardButtons buttons, bool onScreen)
      : QMessageBox(icon, title, text, buttons, owner), onScreen_(onScreen) {}

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);  // the box takes its final size here
    if (onScreen_)
      CentreOnScreen(*this);
  }

 private:
  bool onScreen_;
};

// Returns the button pressed.
int ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                   const QString& text, QMessageBox::StandardButtons buttons,
                   bool onScreen = false) {
  OwnedMessageBox box(owner, icon, title, text, buttons, onScreen);
  return box.exec();
}

}  // namespace

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    // Qt reads the patterns from the parentheses at the end of the description.
    const qsizetype open = description.lastIndexOf(u'(');
    if (open > 0 && description.endsWith(u')'))
      description = description.left(open).trimmed();
    QString patterns = parts[i + 1].trimmed();
    patterns.replace(u';', u' ');
    filters << description + QStringLiteral(" (") + patterns + u')';
  }
  return filters;
}

std::optional<QString> QtDialogs::OpenPicture(const QString& folder, const QString& fileName,
                                              const QString& filter,
                                              const QString& defaultExtension) {
  return RunFileDialog(Owner(), QFileDialog::AcceptOpen, folder, fileName, filter,
                       defaultExtension);
}

std::optional<QString> QtDialogs::SavePicture(const QString& folder, const QString& fileName,
                                              const QString& filter,
                                              const QString& defaultExtension) {
  return RunFileDialog(Owner(), QFileDialog::AcceptSave, folder, fileName, filter,
                       defaultExtension);
}

std::unique_ptr<QFileDialog> MakeFolderChooser(QWidget* owner, const QString& title,
                                               const QString& startFolder) {
  auto dialog = std::make_unique<QFileDialog>(owner, title);
  // Qt's own dialog, as only its parts can be hidden; read-only, so that it makes, renames and
  // deletes no folder either.
  dialog->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly |
                     QFileDialog::ReadOnly);
  dialog->setFileMode(QFileDialog::Directory);
  for (const char* part :
       {"fileNameEdit", "fileNameLabel", "newFolderButton", "fileTypeCombo", "fileTypeLabel"}) {
    if (auto* widget = dialog->findChild<QWidget*>(QString::fromLatin1(part)))
      widget->hide();
  }
  const QString folder = ExcludeTrailingDelimiter(startFolder);
  std::error_code error;
  if (!folder.isEmpty() && std::filesystem::is_directory(NativePath(folder), error)) {
    dialog->setDirectory(DisplayName(ExtractFilePath(folder)));
    dialog->selectFile(DisplayName(ExtractFileName(folder)));
  }
  return dialog;
}

std::optional<QString> QtDialogs::ChooseFolder(const QString& title, const QString& startFolder) {
  const std::unique_ptr<QFileDialog> dialog = MakeFolderChooser(Owner(), title, startFolder);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
    return std::nullopt;
  return ResolveQtDecodedPath(dialog->selectedFiles().first());
}

QWidget* QtDialogs::Owner() const {
  if (QWidget* modal = QApplication::activeModalWidget())
    return modal;
  return owner_ ? owner_.data() : QApplication::activeWindow();
}

void QtDialogs::Information(const QString& text) {
  ShowMessageBox(Owner(), QMessageBox::Information, QStringLiteral("Information"), text,
                 QMessageBox::Ok);
}

void QtDialogs::InformationOnScreen(const QString& text) {
  ShowMessageBox(Owner(), QMessageBox::Information, QStringLiteral("Information"), text,
                 QMessageBox::Ok, true);
}

bool QtDialogs::ConfirmYesNo(const QString& text) {
  return ShowMessageBox(Owner(), QMessageBox::Question, QStringLiteral("Confirm"), text,
                        QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtDialogs::ConfirmOk(const QString& text) {
  ShowMessageBox(Owner(), QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::Ok);
}

void QtDialogs::ErrorAbort(const QString& text) {
  ShowMessageBox(Owner(), QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Abort);
}

void QtDialogs::ShowError(const QString& message) {
  ShowMessageBox(Owner(), QMessageBox::Critical, QStringLiteral("Error"), message, QMessageBox::Ok);
}

}  // namespace kelpra
