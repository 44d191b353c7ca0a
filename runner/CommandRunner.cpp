#include "runner/CommandRunner.h"

#include "platform/MainThreadQueue.h"
#include "runner/ProcessTimer.h"
#include "runner/RunnerThread.h"

namespace marlovent {

void TRunOutcome::Clear() {
  const std::lock_guard Lock(FMutex);
  FExitCode.reset();
  FError.clear();
}

void TRunOutcome::SetExitCode(std::optional<int> Code) {
  const std::lock_guard Lock(FMutex);
  FExitCode = Code;
}

void TRunOutcome::SetError(const std::string& Message) {
  const std::lock_guard Lock(FMutex);
  if (FError.empty()) FError = Message.empty() ? "unnamed error" : Message;
}

std::optional<int> TRunOutcome::ExitCode() const {
  const std::lock_guard Lock(FMutex);
  return FExitCode;
}

std::string TRunOutcome::Error() const {
  const std::lock_guard Lock(FMutex);
  return FError;
}

TCommandRunner::TCommandRunner() = default;

TCommandRunner::~TCommandRunner() {
  Stop();
}

void TCommandRunner::Execute() {
  if (CommandLine.empty()) throw ECommandRunner("No Commandline to execute");
  // From a handler of the run, or from a request such a handler waits for, the run
  // cannot end before Execute would start the next one.
  const bool OnOwnWorker = OwnWorker() != nullptr;
  if (!OnOwnWorker) Stop();
  if (OnOwnWorker || FWorker)
    throw ECommandRunner("Execute: the runner's previous run cannot end yet");
  if (!FTimer) FTimer = std::make_unique<TProcessTimer>();
  Lines.Clear();
  FOutcome.Clear();
  FTimer->StartCounting();
  try {
    FWorker = std::make_unique<TRunnerThread>(
        *this, Lines, *FTimer, FOutcome,
        TRunnerThread::TSettings{CommandLine, MaxTimeAfterBeginning, MaxTimeAfterLastOutput,
                                 OnNewLine, OnTerminated, Priority});
  } catch (...) {
    FTimer->StopCounting();
    throw;
  }
}

bool TCommandRunner::IsRunning() const {
  return FTimer && FTimer->Enabled();
}

TRunnerThread* TCommandRunner::OwnWorker() const {
  // Found without reading FWorker, which belongs to the interface thread.
  TRunnerThread* Worker = TRunnerThread::Current();
  return Worker != nullptr && &Worker->Runner() == this ? Worker : nullptr;
}

void TCommandRunner::Stop() {
  // Waiting now would wait for ourselves, when this is a handler of the run or a request
  // that such a handler waits for: the run is asked to stop and ends once the handler
  // returns, and a later Stop frees its worker.
  if (TRunnerThread* Own = OwnWorker()) {
    Own->Terminate();
    return;
  }
  if (!FWorker) return;
  FWorker->Terminate();
  if (platform::MainThreadQueue::Instance().IsServing(FWorker->Id())) return;
  // A request served during the wait may call Stop again: it waits for the same worker,
  // and only the outermost Stop frees it.
  ++FStopDepth;
  FWorker->WaitFor();
  if (--FStopDepth == 0) FWorker.reset();
}

}  // namespace marlovent
