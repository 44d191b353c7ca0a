// Support for the window's tests: the one application object (offscreen), dialogs that
// answer from a script, and a freshly started main window.
#pragma once

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "ui/Main.h"

namespace marlovent::testing {

// Answers the window's dialogs from queues and records what was asked; a queued
// exception is thrown instead of answering.
class TScriptedDialogs final : public platform::TDialogs {
 public:
  struct TAnswer {
    std::optional<std::string> Path;
    bool Throw = false;
  };
  std::deque<TAnswer> Files, Folders;
  std::deque<bool> YesNo;
  std::vector<std::string> Messages, Errors, ErrorDialogs, Questions, FolderTitles;

  std::optional<std::string> OpenFile(QWidget*, const std::string&) override { return Next(Files); }
  std::optional<std::string> BrowseForFolder(QWidget*, const std::string& Title,
                                             const std::string&) override {
    FolderTitles.push_back(Title);
    return Next(Folders);
  }
  void ShowMessage(QWidget*, const std::string& Text) override { Messages.push_back(Text); }
  void ShowError(QWidget*, const std::string& Text) override { Errors.push_back(Text); }
  void ShowErrorDialog(QWidget*, const std::string& Text) override { ErrorDialogs.push_back(Text); }
  bool AskYesNo(QWidget*, const std::string& Text) override {
    Questions.push_back(Text);
    if (YesNo.empty()) return false;
    const bool Answer = YesNo.front();
    YesNo.pop_front();
    return Answer;
  }

  bool NothingShown() const {
    return Messages.empty() && Errors.empty() && ErrorDialogs.empty() && Questions.empty();
  }

 private:
  static std::optional<std::string> Next(std::deque<TAnswer>& Queue) {
    if (Queue.empty()) return std::nullopt;
    const TAnswer Answer = Queue.front();
    Queue.pop_front();
    if (Answer.Throw) throw std::runtime_error("the dialog failed");
    return Answer.Path;
  }
};

// The application object of the test program, made by its main.
platform::TApplication& App();

// Puts fresh scripted dialogs into the application and returns them.
TScriptedDialogs& FreshDialogs();

// A main window as the program starts it: laid out, then FormCreate.
std::unique_ptr<TFrmMain> StartWindow();

// Runs the event loop until Done answers true or Limit passes; returns Done().
bool RunLoopUntil(const std::function<bool()>& Done,
                  std::chrono::milliseconds Limit = std::chrono::seconds(10));

}  // namespace marlovent::testing
