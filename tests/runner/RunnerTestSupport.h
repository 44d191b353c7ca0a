// Helpers for the runner's tests: command lines for the test child program, and a
// recorder that keeps every event of a run for the test thread to look at.
#pragma once

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>

#include "platform/CommandLine.h"
#include "runner/CommandRunner.h"

namespace marlovent::testing {

// The test child with the given steps (see TestChild.cpp).
inline std::string Child(const std::vector<std::string>& Steps) {
  std::vector<std::string> Arguments{MARLOVENT_TESTCHILD};
  Arguments.insert(Arguments.end(), Steps.begin(), Steps.end());
  return platform::JoinCommandLine(Arguments);
}

struct TDelivery {
  std::string Text;
  TOutputType Type;
  bool operator==(const TDelivery&) const = default;
};

inline TDelivery Entire(std::string Text) {
  return {std::move(Text), TOutputType::otEntireLine};
}
inline TDelivery Beginning(std::string Text) {
  return {std::move(Text), TOutputType::otBeginningOfLine};
}

inline std::ostream& operator<<(std::ostream& Out, const TDelivery& D) {
  return Out << (D.Type == TOutputType::otEntireLine ? "Entire(" : "Beginning(") << '"' << D.Text
             << "\")";
}

// Records deliveries and ends; the handlers run on the worker, the checks on the test thread.
class TRecorder {
 public:
  explicit TRecorder(TCommandRunner& Runner) {
    Runner.OnNewLine = [this](TCommandRunner& Sender, const std::string& Line, TOutputType Type) {
      const bool Running = Sender.IsRunning();
      const int InLines = Sender.Lines.Count();
      const std::string Last = InLines > 0 ? Sender.Lines[InLines - 1] : std::string();
      const std::lock_guard Lock(FMutex);
      FDeliveries.push_back({Line, Type});
      // A complete line is in Lines before it is reported.
      if (Type == TOutputType::otEntireLine && (InLines == 0 || Last != Line)) ++FOrderFaults;
      // Every delivery comes before the run reports that it is no longer running.
      if (!Running) ++FOrderFaults;
    };
    Runner.OnTerminated = [this](TCommandRunner& Sender) {
      const bool StillRunning = Sender.IsRunning();
      const std::lock_guard Lock(FMutex);
      ++FTerminated;
      if (StillRunning) ++FOrderFaults;
      FChanged.notify_all();
    };
  }

  // Waits for OnTerminated; false when it did not come in time.
  bool WaitTerminated(std::chrono::milliseconds Limit = std::chrono::seconds(20)) {
    std::unique_lock Lock(FMutex);
    return FChanged.wait_for(Lock, Limit, [this] { return FTerminated > 0; });
  }

  std::vector<TDelivery> Deliveries() const {
    const std::lock_guard Lock(FMutex);
    return FDeliveries;
  }
  int Terminated() const {
    const std::lock_guard Lock(FMutex);
    return FTerminated;
  }
  int OrderFaults() const {
    const std::lock_guard Lock(FMutex);
    return FOrderFaults;
  }

 private:
  mutable std::mutex FMutex;
  std::condition_variable FChanged;
  std::vector<TDelivery> FDeliveries;
  int FTerminated = 0;
  int FOrderFaults = 0;
};

// Waits until Condition holds; false when it did not within Limit.
template <typename F>
bool Eventually(F Condition, std::chrono::milliseconds Limit = std::chrono::seconds(10)) {
  const auto Deadline = std::chrono::steady_clock::now() + Limit;
  while (!Condition()) {
    if (std::chrono::steady_clock::now() > Deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// Whether a process is gone: no longer there, or a zombie that someone else must reap.
inline bool ProcessGone(int Pid) {
  std::ifstream Stat("/proc/" + std::to_string(Pid) + "/stat");
  std::string Line;
  if (!std::getline(Stat, Line)) return true;
  const auto Close = Line.rfind(')');
  return Close != std::string::npos && Close + 2 < Line.size() && Line[Close + 2] == 'Z';
}

// The number after "Prefix " in the first such line of Lines; -1 when there is none.
inline int NumberAfter(const TStringList& Lines, const std::string& Prefix) {
  for (const auto& Line : Lines.Snapshot())
    if (Line.rfind(Prefix + " ", 0) == 0) return std::stoi(Line.substr(Prefix.size() + 1));
  return -1;
}

}  // namespace marlovent::testing
