#include "runner/RunnerThread.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/ChildProcess.h"
#include "platform/CommandLine.h"
#include "platform/MainThreadQueue.h"
#include "runner/ProcessTimer.h"

namespace marlovent {

namespace {

constexpr std::size_t InitialBufferSize = 1024;
// A large pipe lets a fast child write a lot before the worker has to wake.
constexpr int OutputPipeSize = 1 << 20;
// Without a pidfd the child's end is looked for this often.
constexpr int FallbackPollMs = 10;

thread_local TRunnerThread* CurrentWorker = nullptr;

bool IsSpecial(char C) {
  return C == '\0' || C == '\n' || C == '\r';
}

// The first NUL, LF or CR in [P, End), or End.
const char* FindSpecial(const char* P, const char* End) {
#if defined(__SSE2__)
  const __m128i Nul = _mm_setzero_si128();
  const __m128i Lf = _mm_set1_epi8('\n');
  const __m128i Cr = _mm_set1_epi8('\r');
  for (; End - P >= 16; P += 16) {
    const __m128i Chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
    const __m128i Hits =
        _mm_or_si128(_mm_cmpeq_epi8(Chunk, Nul),
                     _mm_or_si128(_mm_cmpeq_epi8(Chunk, Lf), _mm_cmpeq_epi8(Chunk, Cr)));
    const int Mask = _mm_movemask_epi8(Hits);
    if (Mask != 0) return P + __builtin_ctz(static_cast<unsigned>(Mask));
  }
#endif
  while (P < End && !IsSpecial(*P)) ++P;
  return P;
}

}  // namespace

TRunnerThread::TRunnerThread(TCommandRunner& Runner, TStringList& Lines, TProcessTimer& Timer,
                             TRunOutcome& Outcome, TSettings Settings)
    : FRunner(Runner),
      FLines(Lines),
      FTimer(Timer),
      FOutcome(Outcome),
      FSettings(std::move(Settings)),
      FThread([this] { Execute(); }) {}

TRunnerThread::~TRunnerThread() {
  Terminate();
  WaitFor();
}

void TRunnerThread::Terminate() {
  FTerminated.store(true);
  FWake.Signal();
}

TRunnerThread* TRunnerThread::Current() {
  return CurrentWorker;
}

void TRunnerThread::WaitFor() {
  if (CurrentWorker == this) return;
  platform::MainThreadQueue::Instance().WaitUntil([this] { return Finished(); });
  if (FThread.joinable()) FThread.join();  // a nested wait may have joined it already
}

void TRunnerThread::Execute() {
  CurrentWorker = this;
  std::optional<platform::ChildProcess> Child;
  platform::Pipe Output;
  try {
    Output = platform::MakePipe();
    Run(Output, Child);
  } catch (const std::exception& Error) {
    FOutcome.SetError(Error.what());
  } catch (...) {
    FOutcome.SetError("unknown error in the run of " + FSettings.CommandLine);
  }
  FTimer.StopCounting();
  if (Child) Release(*Child, Output.Read);
  if (FSettings.OnTerminated) {
    try {
      FSettings.OnTerminated(FRunner);
    } catch (const std::exception& Error) {
      FOutcome.SetError(Error.what());
    } catch (...) {
      FOutcome.SetError("unknown exception from OnTerminated");
    }
  }
  FFinished.store(true, std::memory_order_release);
  platform::MainThreadQueue::Instance().Wake();
}

void TRunnerThread::Run(platform::Pipe& Output, std::optional<platform::ChildProcess>& Child) {
  // Its write end is kept and never written: a child that reads its input waits.
  platform::Pipe Input = platform::MakePipe();
  ::fcntl(Output.Write.Get(), F_SETPIPE_SZ, OutputPipeSize);  // a smaller pipe also works
  ::fcntl(Output.Read.Get(), F_SETFL, O_NONBLOCK);

  const std::vector<std::string> Arguments = platform::SplitCommandLine(FSettings.CommandLine);
  try {
    Child.emplace(platform::ChildProcess::Spawn(Arguments, Input.Read.Get(), Output.Write.Get(),
                                                Output.Write.Get()));
  } catch (const platform::SystemError&) {
    throw TCreateProcessError(FSettings.CommandLine + " doesn't exist.");
  }
  // The child holds its own copies; the pipe ends once every writer has gone.
  Output.Write.Reset();
  Input.Read.Reset();

  FBuffer.assign(InitialBufferSize, '\0');
  FCurrent.clear();
  try {
    Poll(*Child, Output.Read);
    FinalFlush();
  } catch (...) {
    FFailed = true;  // its child does not outlive a failed run
    throw;
  }
  // Known before IsRunning turns false; the child itself is reaped only afterwards.
  FOutcome.SetExitCode(Child->EndedCode());
}

void TRunnerThread::Release(platform::ChildProcess& Child, platform::UniqueFd& Output) {
  // The child is still unreaped, so its group's id is still reserved: a stop that came
  // while the run was running, even as the child ended, takes what it left behind.
  if (Stopping()) Child.KillGroup();
  if (Stopping() || Child.HasEnded()) {
    const int Code = Child.Reap();
    if (!FOutcome.ExitCode()) FOutcome.SetExitCode(Code);
  } else {
    // A time-out leaves the child running: the reaper drains its output and reaps it.
    Child.Abandon(std::move(Output));
  }
}

void TRunnerThread::Poll(platform::ChildProcess& Child, const platform::UniqueFd& Output) {
  while (true) {
    FTimer.AdvanceTo(TProcessTimer::Clock::now());
    // Sampled before the read: the cycle that sees the end has taken in all output.
    const bool Ended = Child.HasEnded();
    ReadWaiting(Output.Get());
    if (Stopping()) Child.KillGroup();
    if (Ended || TimedOut()) return;
    WaitForEvent(Child, Output.Get());
  }
}

void TRunnerThread::ReadWaiting(int Fd) {
  const std::size_t Waiting = platform::BytesWaiting(Fd);
  if (Waiting == 0) return;
  if (Waiting > FBuffer.size()) FBuffer.resize(Waiting);
  ssize_t Count;
  do {
    Count = ::read(Fd, FBuffer.data(), FBuffer.size());
  } while (Count < 0 && errno == EINTR);
  if (Count <= 0) return;
  const int LinesBefore = FLines.Count();
  Split(FBuffer.data(), static_cast<std::size_t>(Count));
  if (!FCurrent.empty()) Deliver(FCurrent, TOutputType::otBeginningOfLine);
  // Whoever waits for an answer in Lines looks again.
  if (FLines.Count() != LinesBefore) platform::MainThreadQueue::Instance().Wake();
}

void TRunnerThread::Split(const char* Data, std::size_t Count) {
  const char* P = Data;
  const char* const End = Data + Count;
  // A stop request drops the rest of the read; the flag is looked at before every
  // stretch of plain bytes and after every line end.
  while (P < End && !Stopping()) {
    const char* Special = FindSpecial(P, End);
    FCurrent.append(P, Special);
    if (Special == End) break;
    P = Special + 1;
    if (*Special == '\0') continue;
    // The look-ahead after CR sees only this read.
    if (*Special == '\r' && P < End && *P == '\n') ++P;
    LineEnd();
  }
}

void TRunnerThread::LineEnd() {
  FTimer.ResetTimeAfterLastOutput();
  FLines.Append(FCurrent);
  Deliver(FCurrent, TOutputType::otEntireLine);
  FCurrent.clear();
}

void TRunnerThread::Deliver(const std::string& Text, TOutputType Type) {
  if (!FSettings.OnNewLine || FFailed) return;
  try {
    FSettings.OnNewLine(FRunner, Text, Type);
  } catch (const std::exception& Error) {
    HandlerFailed(Error.what());
  } catch (...) {
    HandlerFailed("unknown exception from OnNewLine");
  }
}

void TRunnerThread::HandlerFailed(const char* Message) {
  // A broken handler gets nothing more; the run ends as if stopped.
  FFailed = true;
  FOutcome.SetError(Message);
}

void TRunnerThread::FinalFlush() {
  if (FCurrent.empty()) return;
  FLines.Append(FCurrent);
  Deliver(FCurrent, TOutputType::otEntireLine);
  FCurrent.clear();
}

bool TRunnerThread::TimedOut() const {
  const auto Exceeds = [](std::int32_t Limit, const std::atomic<std::int32_t>& Counter) {
    return Limit >= 1 && Counter.load(std::memory_order_relaxed) > Limit;
  };
  return Exceeds(FSettings.MaxTimeAfterBeginning, FTimer.TimeAfterBeginning) ||
         Exceeds(FSettings.MaxTimeAfterLastOutput, FTimer.TimeAfterLastOutput);
}

void TRunnerThread::WaitForEvent(const platform::ChildProcess& Child, int Fd) {
  pollfd Fds[3] = {
      {FPipeOpen ? Fd : -1, POLLIN, 0}, {Child.ExitFd(), POLLIN, 0}, {FWake.Fd(), POLLIN, 0}};
  int Timeout = -1;
  if (FSettings.MaxTimeAfterBeginning >= 1 || FSettings.MaxTimeAfterLastOutput >= 1) {
    const auto Left = FTimer.NextTickAt() - TProcessTimer::Clock::now();
    // Rounded up: waking a little late is harmless, waking early would spin.
    Timeout = static_cast<int>(
        std::max<std::int64_t>(0, std::chrono::ceil<std::chrono::milliseconds>(Left).count()));
  }
  if (Child.ExitFd() < 0 && (Timeout < 0 || Timeout > FallbackPollMs)) Timeout = FallbackPollMs;
  if (::poll(Fds, 3, Timeout) < 0) {
    if (errno == EINTR) return;  // the next cycle looks again
    throw platform::SystemError("poll", errno);
  }
  if ((Fds[0].revents & (POLLHUP | POLLERR)) != 0 && platform::BytesWaiting(Fd) == 0)
    FPipeOpen = false;  // every writer has gone: polling the pipe again would spin
  if (Fds[2].revents != 0) FWake.Clear();
}

}  // namespace marlovent
