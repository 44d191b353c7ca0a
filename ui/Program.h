// The program's run from start to end: initialise the application, set its title, create
// the main window, run FormCreate under the default exception handler, run the message
// loop. The entry calls it; a benchmark calls it with a hook that watches the window.
// Interface thread only.
#pragma once

#include <functional>

namespace marlovent {

class TFrmMain;

// BeforeRun, when given, sees the created window just before the message loop starts.
int RunProgram(int& Argc, char** Argv, const std::function<void(TFrmMain&)>& BeforeRun = {});

}  // namespace marlovent
