// TCommandRunner: runs one console command line at a time as a hidden child process and
// reports its output line by line.
//
// The owner sets CommandLine and the events, calls Execute, waits while IsRunning answers
// true (or reads Lines), and calls Stop. Each run has a worker thread of its own
// (TRunnerThread), created by Execute and ended by Stop; OnNewLine and OnTerminated are
// called on that worker, with the runner as Sender. The runner owns Lines, its tick timer
// and the worker.
//
// Threads: Execute, IsRunning, Stop and the destructor are called on one thread, the
// interface thread; Stop serves the interface thread's request queue while it waits, so
// a handler may ask the interface thread for work (MainThreadQueue::Synchronize) at any
// time. Lines, ExitCode and RunError may be read from any thread. A handler may call
// Sender.Stop(): that only asks the run to stop, since a run cannot wait for itself; the
// same holds for a Stop inside a request that such a handler waits for. Execute refuses
// (ECommandRunner) while the previous run cannot end. Neither a handler nor a request it
// waits for may destroy the runner: Stop returns early there, and IsRunning tells the end.
// An exception from OnTerminated is recorded after IsRunning has turned false; RunError
// is final once Stop has returned.
// The worker wakes the interface thread's waiters (MainThreadQueue::Wake) each time lines
// have been added to Lines and once the run has ended, so a waiter never has to poll.
// Properties written during a run reach only the next run.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

#include "runner/StringList.h"

namespace marlovent {

enum class TOutputType : std::uint8_t { otEntireLine = 0, otBeginningOfLine = 1 };

class TCommandRunner;
class TProcessTimer;
class TRunnerThread;

// NewLine is valid for the call; a handler that keeps it copies it.
using TNewLineEvent =
    std::function<void(TCommandRunner& Sender, const std::string& NewLine, TOutputType OutputType)>;
using TNotifyEvent = std::function<void(TCommandRunner& Sender)>;

class ECommandRunner : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TCreateProcessError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// How the last run ended; written by the worker, read by anyone.
class TRunOutcome {
 public:
  void Clear();
  void SetExitCode(std::optional<int> Code);
  void SetError(const std::string& Message);  // the first error of a run is kept
  std::optional<int> ExitCode() const;
  std::string Error() const;

 private:
  mutable std::mutex FMutex;
  std::optional<int> FExitCode;
  std::string FError;
};

class TCommandRunner {
 public:
  TCommandRunner();
  ~TCommandRunner();  // a run still under way is stopped first
  TCommandRunner(const TCommandRunner&) = delete;
  TCommandRunner& operator=(const TCommandRunner&) = delete;

  std::string CommandLine;
  bool InputToOutput = false;  // stored only
  TNewLineEvent OnNewLine;
  TNotifyEvent OnTerminated;
  std::int32_t MaxTimeAfterBeginning = 0;   // seconds; below 1: no limit
  std::int32_t MaxTimeAfterLastOutput = 0;  // seconds; below 1: no limit
  TStringList Lines;

  // Starts a run and returns at once; a run still under way is stopped first.
  // Throws ECommandRunner "No Commandline to execute" when CommandLine is empty.
  void Execute();
  // True from Execute until the worker has delivered all output of the run.
  bool IsRunning() const;
  // Ends the run (killing the child's process group when it still runs) and returns once
  // OnTerminated has returned. Nothing when there is no run.
  void Stop();

  // Set at the end of each run, cleared by Execute. The exit status, or 128 + the signal
  // number when a signal killed the child; empty while running, when the child never
  // started, and when a time-out left it running.
  std::optional<int> ExitCode() const { return FOutcome.ExitCode(); }
  // "<command line> doesn't exist." when the child could not start, the message of an
  // exception a handler raised, or another failure of the run; empty otherwise.
  std::string RunError() const { return FOutcome.Error(); }

  // The tick timer, created by the first Execute; null before it.
  const TProcessTimer* ProcessTimer() const { return FTimer.get(); }

 private:
  static constexpr std::int32_t Priority = 32;  // normal priority; nothing changes it

  TRunnerThread* OwnWorker() const;  // the run's worker, when called on it
  int FStopDepth = 0;                // Stops waiting for the worker, nested through served requests

  std::unique_ptr<TProcessTimer> FTimer;
  TRunOutcome FOutcome;
  std::unique_ptr<TRunnerThread> FWorker;  // last: stopped before the rest goes
};

}  // namespace marlovent
