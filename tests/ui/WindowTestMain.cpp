// The window tests' main: one offscreen application object for every test.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <cstdlib>

#include "WindowTestSupport.h"

namespace marlovent::testing {
namespace {
platform::TApplication* TheApp = nullptr;
}

platform::TApplication& App() {
  return *TheApp;
}

TScriptedDialogs& FreshDialogs() {
  auto Dialogs = std::make_unique<TScriptedDialogs>();
  TScriptedDialogs& Result = *Dialogs;
  TheApp->SetDialogs(std::move(Dialogs));
  return Result;
}

std::unique_ptr<TFrmMain> StartWindow() {
  auto Form = std::make_unique<TFrmMain>(*TheApp);
  Form->FormCreate();
  return Form;
}

bool RunLoopUntil(const std::function<bool()>& Done, std::chrono::milliseconds Limit) {
  if (Done()) return true;
  QEventLoop Loop;
  QElapsedTimer Clock;
  Clock.start();
  QTimer Check;
  QObject::connect(&Check, &QTimer::timeout, &Loop, [&] {
    if (Done() || Clock.elapsed() >= Limit.count()) Loop.quit();
  });
  Check.start(5);
  Loop.exec();
  return Done();
}

}  // namespace marlovent::testing

int main(int Argc, char** Argv) {
  ::testing::InitGoogleTest(&Argc, Argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  marlovent::platform::TApplication Application(Argc, Argv);
  Application.SetTitle(marlovent::ApplicationTitle);
  marlovent::testing::TheApp = &Application;
  const int Result = RUN_ALL_TESTS();
  marlovent::testing::TheApp = nullptr;
  return Result;
}
