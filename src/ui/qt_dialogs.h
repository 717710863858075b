// The standard dialogs and message boxes, with Qt's file dialogs and message boxes.
#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "ui/dialogs.h"

class QFileDialog;

namespace kelpra {

class QtDialogs : public Dialogs {
 public:
  // The window the boxes and dialogs belong to (transient for it), unless a modal dialog of it
  // is open: then they belong to that.
  void SetOwner(QWidget* window) { owner_ = window; }

  std::optional<QString> OpenPicture(const QString& folder, const QString& fileName,
                                     const QString& filter,
                                     const QString& defaultExtension) override;
  std::optional<QString> SavePicture(const QString& folder, const QString& fileName,
                                     const QString& filter,
                                     const QString& defaultExtension) override;
  std::optional<QString> ChooseFolder(const QString& title, const QString& startFolder) override;
  void Information(const QString& text) override;
  void InformationOnScreen(const QString& text) override;
  bool ConfirmYesNo(const QString& text) override;
  void ConfirmOk(const QString& text) override;
  void ErrorAbort(const QString& text) override;
  void ShowError(const QString& message) override;

 private:
  QWidget* Owner() const;

  QPointer<QWidget> owner_;
};

// The folder chooser: folders only, with no field for a name, no list of file types and no button
// for a new folder, open on the starting folder's parent with the starting folder selected (none:
// Qt's own start).
std::unique_ptr<QFileDialog> MakeFolderChooser(QWidget* owner, const QString& title,
                                               const QString& startFolder);

// A filter of bar-separated description and pattern pairs ("Text (*.a;*.b)|*.a;*.b|...") as
// Qt's name filters: "Text (*.a *.b)", one per pair.
QStringList QtNameFilters(const QString& filter);

}  // namespace kelpra
