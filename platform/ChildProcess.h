// A child process started from an argument list, without a shell.
//
// Spawn starts the program in a new session (its own process group, no controlling
// terminal) with exactly the three standard descriptors it is given. The ChildProcess owns
// the child until it has been reaped: a child that is still unreaped when its ChildProcess
// goes is handed to the ChildReaper, which leaves it running and reaps it when it ends, so
// no zombie is ever left behind. One thread uses a ChildProcess at a time.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/FileDescriptor.h"

namespace marlovent::platform {

class ChildProcess {
 public:
  // Arguments[0] names the program; without a '/' it is looked for on PATH.
  // Throws SystemError when the program cannot be started.
  static ChildProcess Spawn(const std::vector<std::string>& Arguments, int Stdin, int Stdout,
                            int Stderr);

  ChildProcess(ChildProcess&& Other) noexcept;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  pid_t Pid() const { return FPid; }
  // Readable once the child has ended (a pidfd); -1 where the system has none, and then
  // the caller looks with HasEnded every so often.
  int ExitFd() const { return FExitFd.Get(); }
  // Exit codes are the exit status, or 128 + the signal number when a signal killed the
  // child. EndedCode does not reap: until Reap the child's pid and its process group's
  // id stay reserved, so KillGroup still reaches what it left behind.
  // The exit code once the child has ended; empty while it runs.
  std::optional<int> EndedCode() const;
  bool HasEnded() const { return EndedCode().has_value(); }
  // Waits for the child's end, reaps it and returns its exit code.
  int Reap();
  std::optional<int> ExitCode() const { return FExitCode; }
  // SIGKILL to the child's whole process group; nothing once the child has been reaped.
  void KillGroup() const;
  // Leaves a running child to the ChildReaper, which also drains Output until it closes.
  void Abandon(UniqueFd Output);

 private:
  ChildProcess(pid_t Pid, UniqueFd ExitFd) : FPid(Pid), FExitFd(std::move(ExitFd)) {}

  pid_t FPid = -1;
  UniqueFd FExitFd;
  std::optional<int> FExitCode;
};

// The exit code of a wait status: the exit status, or 128 + the signal's number.
int ExitCodeFromWaitStatus(int Status);

}  // namespace marlovent::platform
