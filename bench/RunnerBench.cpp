// Figures of the console command runner: throughput and memory on a flood of short lines,
// the worker's cost while a child is silent, and the delay from a child's write to
// OnNewLine. Prints each figure with its target.
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "platform/ChildProcess.h"
#include "platform/CommandLine.h"
#include "runner/CommandRunner.h"

namespace {

using marlovent::TCommandRunner;
using marlovent::TOutputType;
using Clock = std::chrono::steady_clock;

constexpr const char* Generator = MARLOVENT_BENCHCHILD;

double SecondsSince(Clock::time_point Start) {
  return std::chrono::duration<double>(Clock::now() - Start).count();
}

// A /proc/self/status field in KiB.
long StatusKiB(const std::string& Field) {
  std::ifstream Status("/proc/self/status");
  std::string Line;
  while (std::getline(Status, Line))
    if (Line.rfind(Field + ":", 0) == 0) return std::stol(Line.substr(Field.size() + 1));
  return -1;
}

void ResetPeakMemory() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

// Runs R's command line and returns once the run has ended (OnTerminated, which it sets).
void RunToEnd(TCommandRunner& R, const std::function<void()>& AtEnd = {}) {
  std::promise<void> Ended;
  R.OnTerminated = [&](TCommandRunner&) {
    if (AtEnd) AtEnd();
    Ended.set_value();
  };
  R.Execute();
  Ended.get_future().wait();
  R.Stop();
}

double TimeShell(const std::string& Script) {
  const auto Start = Clock::now();
  auto Child = marlovent::platform::ChildProcess::Spawn({"sh", "-c", Script}, 0, 1, 2);
  Child.Reap();
  return SecondsSince(Start);
}

void Throughput() {
  constexpr long Lines = 5'000'000;
  constexpr long Length = 40;
  const std::string Generate = marlovent::platform::JoinCommandLine(
      {Generator, "lines", std::to_string(Lines), std::to_string(Length)});
  double Shell = 1e9;
  double Runner = 1e9;
  long PeakKiB = 0;
  std::atomic<long> Counted{0};
  for (int Round = 0; Round < 3; ++Round) {
    Shell = std::min(Shell, TimeShell(Generate + " | wc -l >/dev/null"));
    TCommandRunner R;
    R.OnNewLine = [&](TCommandRunner&, const std::string&, TOutputType Type) {
      if (Type == TOutputType::otEntireLine) Counted.fetch_add(1, std::memory_order_relaxed);
    };
    Counted = 0;
    const long Before = StatusKiB("VmRSS");
    ResetPeakMemory();
    R.CommandLine = Generate;
    const auto Start = Clock::now();
    RunToEnd(R);
    Runner = std::min(Runner, SecondsSince(Start));
    PeakKiB = std::max(PeakKiB, StatusKiB("VmHWM") - Before);
    if (Counted != Lines || R.Lines.Count() != Lines) std::printf("  lines missing!\n");
  }
  const double OutputMiB = Lines * Length / 1048576.0;
  std::printf("1. throughput: 200 MB of 40-byte lines\n");
  std::printf("   runner %.3f s, generator | wc -l %.3f s: ratio %.2fx (target <= 2.5x)\n", Runner,
              Shell, Runner / Shell);
  std::printf("   peak memory of the run %.0f MiB for %.0f MiB of output: %.2fx (target <= 1.5x)\n",
              PeakKiB / 1024.0, OutputMiB, PeakKiB / 1024.0 / OutputMiB);
}

void IdleCost() {
  TCommandRunner R;
  rusage Usage{};
  R.CommandLine = marlovent::platform::JoinCommandLine({Generator, "s", "10000"});
  RunToEnd(R, [&] { ::getrusage(RUSAGE_THREAD, &Usage); });
  const double CpuMs = (Usage.ru_utime.tv_sec + Usage.ru_stime.tv_sec) * 1e3 +
                       (Usage.ru_utime.tv_usec + Usage.ru_stime.tv_usec) / 1e3;
  std::printf("2. idle: a child silent for 10 s, no time-out\n");
  std::printf("   worker CPU %.2f ms (target < 10 ms), wake-ups %ld (target < 10)\n", CpuMs,
              Usage.ru_nvcsw + Usage.ru_nivcsw);
}

void Latency() {
  TCommandRunner R;
  std::vector<double> Delays;  // the worker's until the run has ended
  Delays.reserve(600);
  R.OnNewLine = [&](TCommandRunner&, const std::string& Line, TOutputType Type) {
    if (Type != TOutputType::otEntireLine) return;
    timespec Now{};
    clock_gettime(CLOCK_MONOTONIC, &Now);
    const long long Stamp = std::stoll(Line);
    Delays.push_back((Now.tv_sec * 1000000000LL + Now.tv_nsec - Stamp) / 1e3);
  };
  R.CommandLine = marlovent::platform::JoinCommandLine({Generator, "stamps", "500", "10"});
  RunToEnd(R);
  std::sort(Delays.begin(), Delays.end());
  const auto At = [&](double Q) {
    return Delays[static_cast<std::size_t>(Q * (Delays.size() - 1))];
  };
  std::printf("3. latency: a stamped line every 10 ms for 5 s (%zu lines)\n", Delays.size());
  std::printf(
      "   write to OnNewLine p50 %.0f us, p99 %.0f us, max %.0f us (target p99 < 1000 us)\n",
      At(0.5), At(0.99), Delays.back());
}

}  // namespace

int main() {
  Throughput();
  IdleCost();
  Latency();
  return 0;
}
