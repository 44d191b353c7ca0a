// What reaches the child and what is left of it: descriptors, input, the process group,
// arguments without a shell.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <random>

#include "runner/CommandRunner.h"
#include "tests/runner/RunnerTestSupport.h"

namespace marlovent {
namespace {

using testing::Child;
using testing::Eventually;

std::vector<std::string> RunToEnd(const std::string& CommandLine) {
  TCommandRunner Runner;
  Runner.CommandLine = CommandLine;
  Runner.Execute();
  EXPECT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  Runner.Stop();
  return Runner.Lines.Snapshot();
}

TEST(ChildProcess, GetsExactlyTheThreeStandardDescriptors) {
  // A descriptor of ours without close-on-exec must not reach the child either.
  const int Leaky = ::open("/dev/null", O_RDONLY);
  ASSERT_GE(Leaky, 3);
  EXPECT_EQ(RunToEnd(Child({"fds"})), std::vector<std::string>{"fds 0 1 2"});
  ::close(Leaky);
}

TEST(ChildProcess, ArgumentsArriveAsWrittenWithoutAShell) {
  EXPECT_EQ(RunToEnd(Child({"w", "$HOME `id` 2>&1 |grep x; \"q\" \\\\back\\n"})),
            std::vector<std::string>{"$HOME `id` 2>&1 |grep x; \"q\" \\back"});
  // A program named without a folder is looked for on PATH.
  TCommandRunner Runner;
  Runner.CommandLine = "false";
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  EXPECT_EQ(Runner.ExitCode(), 1);
}

TEST(ChildProcess, StandardInputNeverDeliversAndStandardErrorIsCaptured) {
  TCommandRunner Runner;
  Runner.CommandLine = Child({"stdin"});
  Runner.Execute();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(Runner.IsRunning());  // still waiting for input
  Runner.Stop();
  EXPECT_EQ(Runner.Lines.Count(), 0);
  // The child's complaint about an unknown step goes to standard error.
  EXPECT_EQ(RunToEnd(Child({"nosuchstep"})), std::vector<std::string>{"unknown step nosuchstep"});
}

TEST(ChildProcess, StopLeavesNoGrandchildBehind) {
  TCommandRunner Runner;
  Runner.CommandLine = Child({"grandchild", "pid", "s", "30000"});
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return Runner.Lines.Count() == 2; }));
  const int Grandchild = testing::NumberAfter(Runner.Lines, "grandchild");
  const int Pid = testing::NumberAfter(Runner.Lines, "pid");
  ASSERT_GT(Grandchild, 0);
  EXPECT_FALSE(testing::ProcessGone(Grandchild));
  Runner.Stop();
  EXPECT_TRUE(testing::ProcessGone(Pid));
  EXPECT_TRUE(Eventually([&] { return testing::ProcessGone(Grandchild); }));
}

TEST(ChildProcess, AStopThatMeetsTheChildsEndStillTakesItsGroup) {
  TCommandRunner Runner;
  Runner.OnNewLine = [](TCommandRunner&, const std::string& Line, TOutputType Type) {
    // The child has ended: this is the last delivery of the run, and the stop comes
    // while it holds the worker.
    if (Line == "tail" && Type == TOutputType::otEntireLine)
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
  };
  Runner.CommandLine = Child({"grandchild", "w", "tail"});
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return Runner.Lines.Count() == 2; }));
  const int Grandchild = testing::NumberAfter(Runner.Lines, "grandchild");
  Runner.Stop();
  EXPECT_TRUE(Eventually([&] { return testing::ProcessGone(Grandchild); }));
}

TEST(ChildProcess, StopsAtRandomMomentsAroundTheChildsEndNeverLeaveAGrandchild) {
  std::mt19937 Random(42);
  int StoppedWhileRunning = 0;
  int Survivors = 0;
  for (int I = 0; I < 300; ++I) {
    TCommandRunner Runner;
    Runner.CommandLine = Child({"grandchild", "w", "tail"});
    Runner.Execute();
    // The window is a fraction of a millisecond wide: wait for the first line without sleeping.
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Runner.Lines.Count() < 1 && std::chrono::steady_clock::now() < Deadline)
      std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::microseconds(Random() % 400));
    const bool Running = Runner.IsRunning();
    Runner.Stop();
    const int Grandchild = testing::NumberAfter(Runner.Lines, "grandchild");
    // A run that had ended before the stop may leave it; one that was running may not.
    if (Running) {
      ++StoppedWhileRunning;
      if (!Eventually([&] { return testing::ProcessGone(Grandchild); },
                      std::chrono::milliseconds(500)))
        ++Survivors;
    }
    ::kill(Grandchild, SIGKILL);
  }
  EXPECT_GT(StoppedWhileRunning, 0);
  EXPECT_EQ(Survivors, 0);
}

TEST(ChildProcess, ExitCodesSurviveAnInheritedIgnoredSigchld) {
  ::signal(SIGCHLD, SIG_IGN);  // the system would reap children by itself
  TCommandRunner Runner;
  Runner.CommandLine = Child({"x", "3"});
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  Runner.Stop();
  ::signal(SIGCHLD, SIG_DFL);
  EXPECT_EQ(Runner.ExitCode(), 3);
}

TEST(ChildProcess, AGrandchildHoldingTheOutputOpenDoesNotHoldTheRun) {
  TCommandRunner Runner;
  Runner.CommandLine = Child({"grandchild", "w", "parent done\\n"});
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  Runner.Stop();
  EXPECT_EQ(Runner.ExitCode(), 0);
  EXPECT_EQ(Runner.Lines.Count(), 2);
  ::kill(testing::NumberAfter(Runner.Lines, "grandchild"), SIGKILL);
}

}  // namespace
}  // namespace marlovent
