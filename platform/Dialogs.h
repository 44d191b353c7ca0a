// The window's dialogs: the open-file dialog, the folder browser and the message boxes.
//
// The window reaches every modal dialog through this one interface, so that a test can
// answer them without showing anything. TQtDialogs is the real one, over QFileDialog and
// QMessageBox; its boxes carry the application title as their caption. Paths and texts
// are the program's byte strings (the locale's encoding, UTF-8 here).
// Interface thread only.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace marlovent::platform {

inline constexpr const char* ErrorDialogCaption = "Error";

class TDialogs {
 public:
  virtual ~TDialogs() = default;

  // Lets the user pick one existing file. Filter is "Caption|*.EXT1;*.EXT2", matched in
  // any letter case. Nothing when the user cancels.
  virtual std::optional<std::string> OpenFile(QWidget* Owner, const std::string& Filter) = 0;
  // Lets the user pick a folder, or type the path of one that does not exist yet, starting
  // in Root ("" for the user's home). The path comes without a trailing "/" (except "/"
  // itself); nothing when cancelled.
  virtual std::optional<std::string> BrowseForFolder(QWidget* Owner, const std::string& Title,
                                                     const std::string& Root) = 0;

  // A plain box: no icon, one OK button.
  virtual void ShowMessage(QWidget* Owner, const std::string& Text) = 0;
  // An error box: error icon, one OK button.
  virtual void ShowError(QWidget* Owner, const std::string& Text) = 0;
  // The message dialog of the error kind: error icon, one OK button and the caption of
  // that kind, ErrorDialogCaption, instead of the application title.
  virtual void ShowErrorDialog(QWidget* Owner, const std::string& Text) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool AskYesNo(QWidget* Owner, const std::string& Text) = 0;
};

class TQtDialogs final : public TDialogs {
 public:
  // Title: the application title, the caption of every box.
  explicit TQtDialogs(std::string Title) : FTitle(std::move(Title)) {}

  std::optional<std::string> OpenFile(QWidget* Owner, const std::string& Filter) override;
  std::optional<std::string> BrowseForFolder(QWidget* Owner, const std::string& Title,
                                             const std::string& Root) override;
  void ShowMessage(QWidget* Owner, const std::string& Text) override;
  void ShowError(QWidget* Owner, const std::string& Text) override;
  void ShowErrorDialog(QWidget* Owner, const std::string& Text) override;
  bool AskYesNo(QWidget* Owner, const std::string& Text) override;

  void SetTitle(std::string Title) { FTitle = std::move(Title); }

 private:
  std::string FTitle;
};

// "RM Files|*.RM;*.RMVB" as a Qt name filter: "RM Files (*.RM *.RMVB)".
std::string QtNameFilter(const std::string& Filter);

}  // namespace marlovent::platform
