// The standard dialogs and message boxes, behind an interface tests can answer.
#pragma once

#include <QString>
#include <optional>

namespace kelpra {

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // The picture open dialog: starts in folder with fileName proposed; nothing when cancelled.
  virtual std::optional<QString> OpenPicture(const QString& folder, const QString& fileName,
                                             const QString& filter,
                                             const QString& defaultExtension) = 0;
  // The picture save dialog.
  virtual std::optional<QString> SavePicture(const QString& folder, const QString& fileName,
                                             const QString& filter,
                                             const QString& defaultExtension) = 0;
  // The folder chooser with its title, the start folder preselected when it exists.
  virtual std::optional<QString> ChooseFolder(const QString& title, const QString& startFolder) = 0;

  // Information box with a single OK button.
  virtual void Information(const QString& text) = 0;
  // The same, centred on the screen rather than on the window.
  virtual void InformationOnScreen(const QString& text) = 0;
  // Question box with Yes and No; true for Yes.
  virtual bool ConfirmYesNo(const QString& text) = 0;
  // Confirmation-kind box with a single OK button.
  virtual void ConfirmOk(const QString& text) = 0;
  // Error box with a single Abort button.
  virtual void ErrorAbort(const QString& text) = 0;
  // The standard error box for an error that escaped a handler.
  virtual void ShowError(const QString& message) = 0;
};

}  // namespace kelpra
