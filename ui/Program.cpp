#include "ui/Program.h"

#include <QApplication>
#include <QIcon>

#include "platform/Application.h"
#include "ui/Main.h"

namespace marlovent {

int RunProgram(int& Argc, char** Argv, const std::function<void(TFrmMain&)>& BeforeRun) {
  platform::TApplication Application(Argc, Argv);
  Application.SetTitle(ApplicationTitle);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/marlovent.png")));
  TFrmMain FrmMain(Application);
  Application.SetMainForm(FrmMain);
  Application.Guard([&] { FrmMain.FormCreate(); });
  if (BeforeRun) BeforeRun(FrmMain);
  return Application.Run();
}

}  // namespace marlovent
