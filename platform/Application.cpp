#include "platform/Application.h"

#include <unistd.h>
#include <QApplication>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cerrno>
#include <mutex>
#include <stdexcept>

#include "platform/Dialogs.h"
#include "platform/FileDescriptor.h"
#include "platform/MainThreadQueue.h"
#include "platform/Text.h"

namespace marlovent::platform {
namespace {

TApplication* TheApplication = nullptr;

// The QApplication. An exception that a handler lets out would unwind through Qt, which
// does not allow it: the last line of defence catches it here.
class TQtApplication final : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* Receiver, QEvent* Event) override {
    try {
      return QApplication::notify(Receiver, Event);
    } catch (const std::exception& Error) {
      if (TheApplication) TheApplication->HandleException(Error);
    } catch (...) {
      if (TheApplication) TheApplication->HandleException(std::runtime_error("Unknown error"));
    }
    return true;
  }
};

}  // namespace

// Posts "serve the request queue" to the event loop. Workers call it; the interface
// thread detaches it before the loop's object goes, under the same lock.
struct TApplication::QueueHook {
  std::mutex Mutex;
  QObject* Target = nullptr;  // guarded by Mutex

  void Post() {
    const std::lock_guard Lock(Mutex);
    if (!Target) return;
    QMetaObject::invokeMethod(
        Target, [] { MainThreadQueue::Instance().ServePending(); }, Qt::QueuedConnection);
  }
  void Detach() {
    const std::lock_guard Lock(Mutex);
    Target = nullptr;
  }
};

TApplication::TApplication(int& Argc, char** Argv) {
  if (TheApplication) throw std::logic_error("TApplication: an application object exists already");
  FDialogs = std::make_unique<TQtDialogs>(FTitle);
  FQt = std::make_unique<TQtApplication>(Argc, Argv);
  // One look on every desktop; the skin is drawn over it.
  QApplication::setStyle(QStringLiteral("Fusion"));
  FHook = std::make_shared<QueueHook>();
  FHook->Target = FQt.get();
  MainThreadQueue::Instance().SetWakeHook([Hook = FHook] { Hook->Post(); });
  TheApplication = this;
  // Requests queued before the loop was attached are served by its first pass.
  FHook->Post();
}

TApplication::~TApplication() {
  MainThreadQueue::Instance().SetWakeHook({});
  FHook->Detach();
  TheApplication = nullptr;
}

TApplication* TApplication::Current() {
  return TheApplication;
}

TApplication& TApplication::Instance() {
  if (!TheApplication) throw std::logic_error("TApplication: no application object");
  return *TheApplication;
}

void TApplication::SetTitle(const std::string& Title) {
  FTitle = Title;
  if (auto* Own = dynamic_cast<TQtDialogs*>(FDialogs.get())) Own->SetTitle(Title);
  if (FMainForm) FMainForm->setWindowIconText(ToQt(Title));
}

void TApplication::SetDialogs(std::unique_ptr<TDialogs> Dialogs) {
  if (!Dialogs) throw std::invalid_argument("TApplication::SetDialogs: no dialogs");
  FDialogs = std::move(Dialogs);
}

void TApplication::SetMainForm(QWidget& Form) {
  if (FMainForm) return;
  FMainForm = &Form;
  Form.setWindowIconText(ToQt(FTitle));
  Form.setAttribute(Qt::WA_QuitOnClose);
}

int TApplication::Run() {
  if (FMainForm) FMainForm->show();
  return QApplication::exec();
}

void TApplication::ProcessMessages() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  MainThreadQueue::Instance().ServePending();
}

bool TApplication::WaitUntil(const std::function<bool()>& Done,
                             std::optional<TClock::time_point> Deadline) {
  // The alarm only wakes the loop at the deadline. It is precise (a long coarse timer may
  // fire a second early) and set again on every pass, so the loop never sleeps past it.
  QTimer Alarm;
  Alarm.setSingleShot(true);
  Alarm.setTimerType(Qt::PreciseTimer);
  while (!Done()) {
    if (Deadline) {
      const auto Left = std::chrono::ceil<std::chrono::milliseconds>(*Deadline - TClock::now());
      if (Left.count() <= 0) return false;
      Alarm.start(Left);
    }
    // A Wake posts an event, so a change that Done saw too late still ends this sleep.
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    MainThreadQueue::Instance().ServePending();
  }
  return true;
}

void TApplication::HandleException(const std::exception& Error) noexcept {
  try {
    FDialogs->ShowError(FMainForm, Error.what());
  } catch (...) {
    // Showing the error failed as well (out of memory): there is no one left to tell.
  }
}

void TApplication::Guard(const std::function<void()>& Handler) noexcept {
  try {
    Handler();
  } catch (const std::exception& Error) {
    HandleException(Error);
  } catch (...) {
    HandleException(std::runtime_error("Unknown error"));
  }
}

std::string TApplication::ExeName() {
  std::string Path(256, '\0');
  while (true) {
    const ssize_t Length = ::readlink("/proc/self/exe", Path.data(), Path.size());
    if (Length < 0) throw SystemError("readlink /proc/self/exe", errno);
    if (std::size_t(Length) < Path.size()) {
      Path.resize(std::size_t(Length));
      return Path;
    }
    Path.resize(Path.size() * 2);
  }
}

}  // namespace marlovent::platform
