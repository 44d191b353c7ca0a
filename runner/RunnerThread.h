// TRunnerThread: the worker thread that carries out one run of a TCommandRunner.
//
// It starts the command line as a child process (standard output and standard error into
// one pipe, standard input from a pipe that never delivers), cuts the output into lines,
// appends each complete line to the runner's Lines and hands every complete and every
// unfinished line to OnNewLine, and at the end switches the tick timer off and calls
// OnTerminated. The worker blocks until output, the child's end, a stop request or the
// next tick (only when a time-out is set); it never spins.
//
// Created by TCommandRunner::Execute with a snapshot of the runner's settings; the thread
// starts at once. Terminate may be called from any thread; the destructor (the runner's
// Stop) requests the stop and waits for the body to return, serving the interface
// thread's request queue while it waits.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ChildProcess.h"
#include "platform/FileDescriptor.h"
#include "runner/CommandRunner.h"

namespace marlovent {

class TRunnerThread {
 public:
  struct TSettings {
    std::string CommandLine;
    std::int32_t MaxTimeAfterBeginning = 0;
    std::int32_t MaxTimeAfterLastOutput = 0;
    TNewLineEvent OnNewLine;
    TNotifyEvent OnTerminated;
    std::int32_t Priority = 32;  // kept for the record; children run at normal priority
  };

  TRunnerThread(TCommandRunner& Runner, TStringList& Lines, TProcessTimer& Timer,
                TRunOutcome& Outcome, TSettings Settings);
  ~TRunnerThread();
  TRunnerThread(const TRunnerThread&) = delete;
  TRunnerThread& operator=(const TRunnerThread&) = delete;

  void Terminate();
  // Sequentially consistent, like the timer's enabled state: a stop requested while
  // IsRunning still answered true is seen by the worker after it switched the timer off.
  bool Terminated() const { return FTerminated.load(); }
  // True once the body has returned from OnTerminated.
  bool Finished() const { return FFinished.load(std::memory_order_acquire); }
  void WaitFor();
  // The worker whose body runs on the calling thread; null on any other thread.
  static TRunnerThread* Current();
  std::thread::id Id() const { return FThread.get_id(); }
  const TCommandRunner& Runner() const { return FRunner; }

 private:
  void Execute();
  void Run(platform::Pipe& Output, std::optional<platform::ChildProcess>& Child);
  void Release(platform::ChildProcess& Child, platform::UniqueFd& Output);
  void Poll(platform::ChildProcess& Child, const platform::UniqueFd& Output);
  void ReadWaiting(int Fd);
  void Split(const char* Data, std::size_t Count);
  void LineEnd();
  void Deliver(const std::string& Text, TOutputType Type);
  void FinalFlush();
  void HandlerFailed(const char* Message);
  bool Stopping() const { return Terminated() || FFailed; }
  bool TimedOut() const;
  void WaitForEvent(const platform::ChildProcess& Child, int Fd);

  TCommandRunner& FRunner;
  TStringList& FLines;
  TProcessTimer& FTimer;
  TRunOutcome& FOutcome;
  const TSettings FSettings;

  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  platform::WakeEvent FWake;

  // The body's own state.
  std::vector<char> FBuffer;
  std::string FCurrent;  // the line being assembled; between reads the carried-over text
  bool FFailed = false;  // a handler threw, or the run itself failed: the run ends as if stopped
  bool FPipeOpen = true;

  std::thread FThread;  // last: the body starts once everything above is stored
};

}  // namespace marlovent
