#include "platform/ChildProcess.h"

#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/ChildReaper.h"

extern char** environ;  // NOLINT: the process environment, inherited by every child

namespace marlovent::platform {

namespace {

UniqueFd OpenPidFd(pid_t Pid) {
#ifdef SYS_pidfd_open
  return UniqueFd(static_cast<int>(::syscall(SYS_pidfd_open, Pid, 0)));
#else
  (void)Pid;
  return UniqueFd();
#endif
}

// RAII for the spawn's two attribute objects.
class SpawnSettings {
 public:
  SpawnSettings(int Stdin, int Stdout, int Stderr) {
    posix_spawn_file_actions_init(&FActions);
    posix_spawnattr_init(&FAttributes);
    posix_spawn_file_actions_adddup2(&FActions, Stdin, 0);
    posix_spawn_file_actions_adddup2(&FActions, Stdout, 1);
    posix_spawn_file_actions_adddup2(&FActions, Stderr, 2);
    // Whatever else this process has open, even without close-on-exec, stays here.
    posix_spawn_file_actions_addclosefrom_np(&FActions, 3);
    sigset_t Empty;
    sigset_t All;
    sigemptyset(&Empty);
    sigfillset(&All);
    posix_spawnattr_setsigmask(&FAttributes, &Empty);
    posix_spawnattr_setsigdefault(&FAttributes, &All);
    posix_spawnattr_setflags(&FAttributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;
  ~SpawnSettings() {
    posix_spawnattr_destroy(&FAttributes);
    posix_spawn_file_actions_destroy(&FActions);
  }
  const posix_spawn_file_actions_t* Actions() const { return &FActions; }
  const posix_spawnattr_t* Attributes() const { return &FAttributes; }

 private:
  posix_spawn_file_actions_t FActions{};
  posix_spawnattr_t FAttributes{};
};

// With SIGCHLD ignored (a setting a program can inherit) the system reaps children by
// itself and their exit codes are lost; the default disposition keeps them for waitpid.
void KeepChildrenForUs() {
  struct sigaction Current {};
  if (::sigaction(SIGCHLD, nullptr, &Current) != 0) return;
  if (Current.sa_handler != SIG_IGN && (Current.sa_flags & SA_NOCLDWAIT) == 0) return;
  // A handler of the program's own stays; only the automatic reaping goes.
  if (Current.sa_handler == SIG_IGN) Current.sa_handler = SIG_DFL;
  Current.sa_flags &= ~SA_NOCLDWAIT;
  ::sigaction(SIGCHLD, &Current, nullptr);
}

}  // namespace

int ExitCodeFromWaitStatus(int Status) {
  if (WIFSIGNALED(Status)) return 128 + WTERMSIG(Status);
  return WEXITSTATUS(Status);
}

ChildProcess ChildProcess::Spawn(const std::vector<std::string>& Arguments, int Stdin, int Stdout,
                                 int Stderr) {
  if (Arguments.empty()) throw SystemError("posix_spawn: no program", ENOENT);
  std::vector<char*> Argv;
  Argv.reserve(Arguments.size() + 1);
  for (const auto& Argument : Arguments) Argv.push_back(const_cast<char*>(Argument.c_str()));
  Argv.push_back(nullptr);

  KeepChildrenForUs();
  const SpawnSettings Settings(Stdin, Stdout, Stderr);
  pid_t Pid = -1;
  const int Error = ::posix_spawnp(&Pid, Argv[0], Settings.Actions(), Settings.Attributes(),
                                   Argv.data(), environ);
  if (Error != 0) throw SystemError("posix_spawn " + Arguments[0], Error);
  return ChildProcess(Pid, OpenPidFd(Pid));
}

ChildProcess::ChildProcess(ChildProcess&& Other) noexcept
    : FPid(Other.FPid), FExitFd(std::move(Other.FExitFd)), FExitCode(Other.FExitCode) {
  Other.FPid = -1;
}

ChildProcess::~ChildProcess() {
  if (FPid > 0 && !FExitCode) Abandon(UniqueFd());
}

namespace {

// waitid without reaping or blocking; the exit code when the child has ended.
std::optional<int> PeekEnd(pid_t Pid) {
  siginfo_t Info{};
  int Result;
  do {
    Result = ::waitid(P_PID, static_cast<id_t>(Pid), &Info, WEXITED | WNOWAIT | WNOHANG);
  } while (Result < 0 && errno == EINTR);
  if (Result < 0) return 128 + SIGKILL;  // ECHILD: reaped elsewhere, its code is lost
  if (Info.si_pid != Pid) return std::nullopt;
  return Info.si_code == CLD_EXITED ? Info.si_status : 128 + Info.si_status;
}

}  // namespace

std::optional<int> ChildProcess::EndedCode() const {
  if (FExitCode || FPid <= 0) return FExitCode;
  return PeekEnd(FPid);
}

int ChildProcess::Reap() {
  if (FExitCode) return *FExitCode;
  int Status = 0;
  pid_t Result;
  do {
    Result = ::waitpid(FPid, &Status, 0);
  } while (Result < 0 && errno == EINTR);
  // ECHILD: someone else reaped it; it has ended and its code is lost.
  FExitCode = Result == FPid ? ExitCodeFromWaitStatus(Status) : 128 + SIGKILL;
  FExitFd.Reset();
  return *FExitCode;
}

void ChildProcess::KillGroup() const {
  // An unreaped child keeps its pid, and with it the group's id, from being reused.
  if (FPid > 0 && !FExitCode) ::kill(-FPid, SIGKILL);
}

void ChildProcess::Abandon(UniqueFd Output) {
  if (FPid <= 0 || FExitCode) return;
  ChildReaper::Instance().Adopt(FPid, std::move(FExitFd), std::move(Output));
  FPid = -1;
}

}  // namespace marlovent::platform
