// Marlovent's run, as the program's entry does it, with one addition for the start-up figure:
// when the main window has painted for the first time, it prints the monotonic clock in
// nanoseconds and ends.
#include <time.h>

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <cstdio>

#include "ui/Main.h"
#include "ui/Program.h"

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
  TFirstPaint Watch;
  return marlovent::RunProgram(Argc, Argv,
                               [&](marlovent::TFrmMain& Form) { Form.installEventFilter(&Watch); });
}
