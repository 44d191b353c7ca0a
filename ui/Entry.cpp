// Marlovent's entry: initialise the application, set its title, create the main window,
// run the message loop.
#include <QApplication>
#include <QIcon>

#include "platform/Application.h"
#include "ui/Main.h"

int main(int Argc, char** Argv) {
  marlovent::platform::TApplication Application(Argc, Argv);
  Application.SetTitle(marlovent::ApplicationTitle);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/marlovent.png")));
  marlovent::TFrmMain FrmMain(Application);
  Application.SetMainForm(FrmMain);
  Application.Guard([&] { FrmMain.FormCreate(); });
  return Application.Run();
}
