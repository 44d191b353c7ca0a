// The application object: the program's one QApplication, its title, the message loop,
// ProcessMessages, the executable's path and the default exception handler.
//
// TApplication owns the QApplication and the dialogs the program shows (TDialogs; a test
// may put its own in place). While it lives, the interface thread's request queue
// (MainThreadQueue) is served by the Qt event loop: a request from a worker posts an
// event to the loop, so nothing polls. The main window is not owned here: whoever
// creates it frees it, before the application object goes.
// Interface thread only, but for the request queue's wake-up.
#pragma once

#include <QPointer>
#include <QWidget>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QApplication;

namespace marlovent::platform {

class TDialogs;

class TApplication {
 public:
  // Initialises the application: creates the QApplication with the process's arguments
  // and attaches the request queue to its event loop. Only one may exist at a time.
  TApplication(int& Argc, char** Argv);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // The one that exists; throws std::logic_error when there is none.
  static TApplication& Instance();
  // The one that exists, or null.
  static TApplication* Current();

  // The text the desktop shows for the program: the main window's icon text (what task
  // bars show) and the caption of the program's message boxes.
  void SetTitle(const std::string& Title);
  const std::string& Title() const { return FTitle; }

  TDialogs& Dialogs() { return *FDialogs; }
  void SetDialogs(std::unique_ptr<TDialogs> Dialogs);

  // The first form made becomes the main window: it gets the title as its icon text, and
  // closing it ends Run. Once that form is gone, the next one takes its place.
  void SetMainForm(QWidget& Form);
  QWidget* MainForm() const { return FMainForm; }

  // Shows the main window and serves events until it has closed. Returns the exit code.
  int Run();
  // Serves every waiting event and request, without blocking.
  void ProcessMessages();
  // Serves events and requests until Done answers true or Deadline has passed, sleeping
  // while there is nothing to do. Done is tested again after every event, every request
  // and every MainThreadQueue::Wake. Returns Done's last answer.
  using TClock = std::chrono::steady_clock;
  bool WaitUntil(const std::function<bool()>& Done,
                 std::optional<TClock::time_point> Deadline = std::nullopt);

  // The default exception handler: shows the exception's message in an error box.
  void HandleException(const std::exception& Error) noexcept;
  // Runs a handler of the window under the default exception handler; nothing escapes.
  void Guard(const std::function<void()>& Handler) noexcept;

  // Full path of the running executable.
  static std::string ExeName();

 private:
  struct QueueHook;

  std::string FTitle;
  std::unique_ptr<TDialogs> FDialogs;
  std::unique_ptr<QApplication> FQt;
  std::shared_ptr<QueueHook> FHook;
  QPointer<QWidget> FMainForm;  // not owned; empty once the form is gone
};

}  // namespace marlovent::platform
