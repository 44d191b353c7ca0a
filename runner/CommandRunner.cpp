#include "runner/CommandRunner.h"

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
  if (RunsOnOwnWorker())
    throw ECommandRunner("Execute cannot be called from a handler of the same runner");
  Stop();
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

bool TCommandRunner::RunsOnOwnWorker() const {
  const TRunnerThread* Worker = TRunnerThread::Current();
  return Worker != nullptr && &Worker->Runner() == this;
}

void TCommandRunner::Stop() {
  if (RunsOnOwnWorker()) {
    // A run cannot wait for itself: it is asked to stop and ends once the handler returns.
    TRunnerThread::Current()->Terminate();
    return;
  }
  FWorker.reset();
}

}  // namespace marlovent
