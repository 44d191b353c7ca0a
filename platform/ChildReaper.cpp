#include "platform/ChildReaper.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace marlovent::platform {

namespace {

struct Orphan {
  pid_t Pid;
  UniqueFd ExitFd;  // may be invalid: then the reaper looks every so often
  UniqueFd Output;  // drained and closed at its end of data
};

constexpr int FallbackPollMs = 200;

bool Reap(pid_t Pid) {
  int Status = 0;
  pid_t Result;
  do {
    Result = ::waitpid(Pid, &Status, WNOHANG);
  } while (Result < 0 && errno == EINTR);
  return Result != 0;  // ended now, or already reaped elsewhere
}

void Drain(UniqueFd& Output) {
  std::array<char, 65536> Sink{};
  const auto Count = ::read(Output.Get(), Sink.data(), Sink.size());
  if (Count == 0 || (Count < 0 && errno != EINTR && errno != EAGAIN)) Output.Reset();
}

}  // namespace

struct ChildReaper::Impl {
  mutable std::mutex Mutex;
  std::vector<Orphan> Orphans;  // guarded by Mutex
  WakeEvent Wake;
  std::atomic<bool> Quit{false};
  std::thread Thread;  // started by the first Adopt

  void Run();
  // Builds the poll set under the lock; returns the timeout for it.
  int Collect(std::vector<pollfd>& Fds);
  void Serve(const std::vector<pollfd>& Fds);
};

ChildReaper::ChildReaper() : FImpl(std::make_unique<Impl>()) {}

ChildReaper::~ChildReaper() {
  FImpl->Quit = true;
  FImpl->Wake.Signal();
  if (FImpl->Thread.joinable()) FImpl->Thread.join();
}

ChildReaper& ChildReaper::Instance() {
  static ChildReaper Reaper;
  return Reaper;
}

void ChildReaper::Adopt(pid_t Pid, UniqueFd ExitFd, UniqueFd Output) {
  const std::lock_guard Lock(FImpl->Mutex);
  FImpl->Orphans.push_back(Orphan{Pid, std::move(ExitFd), std::move(Output)});
  if (!FImpl->Thread.joinable()) FImpl->Thread = std::thread([this] { FImpl->Run(); });
  FImpl->Wake.Signal();
}

std::size_t ChildReaper::Pending() const {
  const std::lock_guard Lock(FImpl->Mutex);
  return FImpl->Orphans.size();
}

int ChildReaper::Impl::Collect(std::vector<pollfd>& Fds) {
  Fds.clear();
  Fds.push_back(pollfd{Wake.Fd(), POLLIN, 0});
  int Timeout = -1;
  const std::lock_guard Lock(Mutex);
  for (const auto& Orphan : Orphans) {
    Fds.push_back(pollfd{Orphan.ExitFd.Get(), POLLIN, 0});
    Fds.push_back(pollfd{Orphan.Output.Get(), POLLIN, 0});
    if (!Orphan.ExitFd.Valid()) Timeout = FallbackPollMs;
  }
  return Timeout;
}

void ChildReaper::Impl::Serve(const std::vector<pollfd>& Fds) {
  const std::lock_guard Lock(Mutex);
  // Orphans only grow while the lock is free, so the first entries match the poll set.
  for (std::size_t I = 0; I < Orphans.size() && 2 * I + 2 < Fds.size(); ++I) {
    if (Fds[2 * I + 2].revents != 0 && Orphans[I].Output.Valid()) Drain(Orphans[I].Output);
  }
  std::erase_if(Orphans, [](const Orphan& O) { return Reap(O.Pid); });
}

void ChildReaper::Impl::Run() {
  std::vector<pollfd> Fds;
  while (!Quit) {
    const int Timeout = Collect(Fds);
    if (::poll(Fds.data(), Fds.size(), Timeout) < 0 && errno != EINTR) {
      // Out of memory for the poll set, say: try again a little later, never give up.
      std::this_thread::sleep_for(std::chrono::milliseconds(FallbackPollMs));
    }
    Wake.Clear();
    Serve(Fds);
  }
}

}  // namespace marlovent::platform
