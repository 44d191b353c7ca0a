// Start-up figure: the time from starting the program's process to its main window's
// first paint, as the median of several starts on each display given. The probe is the
// program's own entry with a clock at the first paint (StartupProbe.cpp).
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

long long NowNs() {
  timespec Now{};
  clock_gettime(CLOCK_MONOTONIC, &Now);
  return static_cast<long long>(Now.tv_sec) * 1000000000LL + Now.tv_nsec;
}

// Starts the probe on the platform and returns milliseconds to its first paint.
double OneStart(const std::string& Platform) {
  int Pipe[2];
  if (pipe(Pipe) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_adddup2(&Actions, Pipe[1], 1);
  posix_spawn_file_actions_addclose(&Actions, Pipe[0]);
  posix_spawn_file_actions_addopen(&Actions, 2, "/dev/null", 0, 0);
  std::vector<std::string> Env;
  for (char** At = environ; *At; ++At)
    if (std::string(*At).rfind("QT_QPA_PLATFORM=", 0) != 0) Env.emplace_back(*At);
  Env.push_back("QT_QPA_PLATFORM=" + Platform);
  std::vector<char*> EnvPointers;
  for (std::string& Entry : Env) EnvPointers.push_back(Entry.data());
  EnvPointers.push_back(nullptr);
  std::string Program = MARLOVENT_STARTUP_PROBE;
  char* Args[] = {Program.data(), nullptr};

  const long long Start = NowNs();
  pid_t Child = 0;
  const int Failed =
      posix_spawn(&Child, Program.c_str(), &Actions, nullptr, Args, EnvPointers.data());
  posix_spawn_file_actions_destroy(&Actions);
  close(Pipe[1]);
  if (Failed) throw std::runtime_error("cannot start the probe");
  std::string Output;
  char Buffer[64];
  ssize_t Got = 0;
  while ((Got = read(Pipe[0], Buffer, sizeof Buffer)) > 0) Output.append(Buffer, size_t(Got));
  close(Pipe[0]);
  int Status = 0;
  waitpid(Child, &Status, 0);
  if (Output.empty()) throw std::runtime_error("the probe's window never painted on " + Platform);
  return double(std::stoll(Output) - Start) / 1e6;
}

}  // namespace

int main(int Argc, char** Argv) {
  const int Starts = 9;
  std::vector<std::string> Platforms = {"offscreen"};
  if (std::getenv("DISPLAY")) Platforms.push_back("xcb");
  for (int At = 1; At < Argc; ++At) Platforms = {Argv[At]};
  OneStart(Platforms.front());  // warms the file cache
  for (const std::string& Platform : Platforms) {
    std::vector<double> Times;
    for (int Run = 0; Run < Starts; ++Run) Times.push_back(OneStart(Platform));
    std::sort(Times.begin(), Times.end());
    std::printf(
        "start-up to first paint (%s): median %.0f ms, min %.0f, max %.0f over %d starts"
        " (target < 500 ms)\n",
        Platform.c_str(), Times[Times.size() / 2], Times.front(), Times.back(), Starts);
  }
  return 0;
}
