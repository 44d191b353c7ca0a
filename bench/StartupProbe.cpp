// Marlovent's entry, as the program runs it, with one addition for the start-up figure:
// when the main window has painted for the first time, it prints the monotonic clock in
// nanoseconds and ends.
#include <time.h>

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QObject>
#include <cstdio>

#include "platform/Application.h"
#include "ui/Main.h"

namespace {

class TFirstPaint final : public QObject {
 public:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Event->type() == QEvent::Paint && !FSeen) {
      FSeen = true;
      timespec Now{};
      clock_gettime(CLOCK_MONOTONIC, &Now);
      std::printf("%lld\n", static_cast<long long>(Now.tv_sec) * 1000000000LL + Now.tv_nsec);
      std::fflush(stdout);
      QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
    return QObject::eventFilter(Watched, Event);
  }

 private:
  bool FSeen = false;
};

}  // namespace

int main(int Argc, char** Argv) {
  marlovent::platform::TApplication Application(Argc, Argv);
  Application.SetTitle(marlovent::ApplicationTitle);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/marlovent.png")));
  marlovent::TFrmMain FrmMain(Application);
  TFirstPaint Watch;
  FrmMain.installEventFilter(&Watch);
  Application.SetMainForm(FrmMain);
  Application.Guard([&] { FrmMain.FormCreate(); });
  return Application.Run();
}
