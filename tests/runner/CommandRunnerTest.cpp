#include "runner/CommandRunner.h"

#include <gtest/gtest.h>

#include <atomic>

#include "platform/MainThreadQueue.h"
#include "runner/ProcessTimer.h"
#include "tests/runner/RunnerTestSupport.h"

namespace marlovent {
namespace {

using testing::Beginning;
using testing::Child;
using testing::Entire;
using testing::Eventually;
using testing::TRecorder;

TEST(CommandRunner, EmptyCommandLineIsRefusedAndLeavesEverythingAsItWas) {
  TCommandRunner Runner;
  try {
    Runner.Execute();
    FAIL() << "no exception";
  } catch (const ECommandRunner& Error) {
    EXPECT_STREQ(Error.what(), "No Commandline to execute");
  }
  EXPECT_EQ(Runner.ProcessTimer(), nullptr);  // no timer was created
  EXPECT_FALSE(Runner.IsRunning());

  Runner.CommandLine = Child({"w", "kept\\n"});
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  Runner.Stop();
  Runner.CommandLine.clear();
  EXPECT_THROW(Runner.Execute(), ECommandRunner);
  EXPECT_EQ(Runner.Lines.Snapshot(), std::vector<std::string>{"kept"});
  EXPECT_EQ(Runner.ExitCode(), 0);
}

TEST(CommandRunner, IsRunningFromExecuteUntilAllOutputIsDelivered) {
  TCommandRunner Runner;
  TRecorder Recorder(Runner);
  Runner.CommandLine = Child({"s", "300", "burst", "65536"});
  Runner.Execute();
  EXPECT_TRUE(Runner.IsRunning());  // before the child has written anything
  EXPECT_EQ(Runner.Lines.Count(), 0);
  EXPECT_EQ(Runner.ExitCode(), std::nullopt);
  ASSERT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  // Not running any more: the output is complete without Stop having been called.
  EXPECT_EQ(Runner.Lines.Count(), 1024);
  ASSERT_TRUE(Recorder.WaitTerminated());
  Runner.Stop();
  EXPECT_EQ(Recorder.OrderFaults(), 0);
  EXPECT_EQ(Runner.Lines.Count(), 1024);  // Stop keeps the lines
}

TEST(CommandRunner, SecondRunClearsLinesAndRestartsTheCounters) {
  TCommandRunner Runner;
  Runner.CommandLine = Child({"w", "one\\ntwo\\n", "s", "1100"});
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  Runner.Stop();
  const TProcessTimer* Timer = Runner.ProcessTimer();
  ASSERT_NE(Timer, nullptr);
  EXPECT_GE(Timer->TimeAfterBeginning.load(), 1);

  Runner.CommandLine = Child({"w", "three\\n"});
  Runner.Execute();
  EXPECT_EQ(Runner.ProcessTimer(), Timer);  // the same timer, counting from 0 again
  EXPECT_EQ(Timer->TimeAfterBeginning.load(), 0);
  ASSERT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  Runner.Stop();
  EXPECT_EQ(Runner.Lines.Snapshot(), std::vector<std::string>{"three"});
}

TEST(CommandRunner, StopWithoutARunAndStopTwiceDoNothing) {
  TCommandRunner Runner;
  Runner.Stop();
  Runner.CommandLine = Child({"w", "x\\n"});
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  Runner.Stop();
  Runner.Stop();
  EXPECT_EQ(Runner.Lines.Snapshot(), std::vector<std::string>{"x"});
  EXPECT_FALSE(Runner.IsRunning());
}

TEST(CommandRunner, PropertiesChangedDuringARunReachOnlyTheNextRun) {
  TCommandRunner Runner;
  TRecorder Recorder(Runner);
  Runner.CommandLine = Child({"s", "200", "w", "first\\n", "s", "1500", "w", "late\\n"});
  Runner.Execute();
  std::atomic<int> Other{0};
  Runner.OnNewLine = [&](TCommandRunner&, const std::string&, TOutputType) { ++Other; };
  Runner.OnTerminated = nullptr;
  Runner.CommandLine = Child({"w", "second\\n"});
  Runner.MaxTimeAfterBeginning = 1;  // would end this run before "late"
  ASSERT_TRUE(Recorder.WaitTerminated());
  Runner.Stop();
  EXPECT_EQ(Recorder.Deliveries(), (std::vector{Entire("first"), Entire("late")}));
  EXPECT_EQ(Other, 0);

  Runner.MaxTimeAfterBeginning = 0;
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  Runner.Stop();
  EXPECT_EQ(Other, 1);
  EXPECT_EQ(Recorder.Terminated(), 1);
}

TEST(CommandRunner, StopDuringOutputKillsTheChildAndEndsWithOneEntireLine) {
  TCommandRunner Runner;
  TRecorder Recorder(Runner);
  Runner.CommandLine = Child({"w", "partial", "s", "30000"});
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return !Recorder.Deliveries().empty(); }));
  const auto Started = std::chrono::steady_clock::now();
  Runner.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - Started, std::chrono::seconds(5));
  EXPECT_EQ(Recorder.Terminated(), 1);  // Stop returned after OnTerminated
  const auto Deliveries = Recorder.Deliveries();
  ASSERT_GE(Deliveries.size(), 2u);
  EXPECT_EQ(Deliveries.front(), Beginning("partial"));
  EXPECT_EQ(Deliveries.back(), Entire("partial"));
  EXPECT_EQ(Runner.Lines.Snapshot(), std::vector<std::string>{"partial"});
  EXPECT_EQ(Runner.ExitCode(), 128 + SIGKILL);
  EXPECT_FALSE(Runner.IsRunning());
}

TEST(CommandRunner, StopDuringAFloodOfOutputReturns) {
  TCommandRunner Runner;
  TRecorder Recorder(Runner);
  Runner.CommandLine = Child({"lines", "100000000", "40"});
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return Runner.Lines.Count() > 1000; }));
  Runner.Stop();
  EXPECT_EQ(Recorder.Terminated(), 1);
  EXPECT_EQ(Recorder.OrderFaults(), 0);
  EXPECT_EQ(Runner.ExitCode(), 128 + SIGKILL);
  const auto Deliveries = Recorder.Deliveries();
  ASSERT_FALSE(Deliveries.empty());
  EXPECT_EQ(Deliveries.back().Type, TOutputType::otEntireLine);
}

TEST(CommandRunner, AProgramThatDoesNotExistEndsItsRunWithTheError) {
  TCommandRunner Runner;
  TRecorder Recorder(Runner);
  Runner.CommandLine = "/nonexistent/ffmpeg -i a.rmvb";
  Runner.Execute();
  ASSERT_TRUE(Recorder.WaitTerminated());
  EXPECT_FALSE(Runner.IsRunning());
  Runner.Stop();
  EXPECT_EQ(Runner.RunError(), "/nonexistent/ffmpeg -i a.rmvb doesn't exist.");
  EXPECT_EQ(Runner.ExitCode(), std::nullopt);
  EXPECT_TRUE(Recorder.Deliveries().empty());
  EXPECT_EQ(Runner.Lines.Count(), 0);
  EXPECT_EQ(Recorder.Terminated(), 1);

  Runner.CommandLine = "   ";  // nothing to start either
  Runner.Execute();
  Runner.Stop();
  EXPECT_EQ(Runner.RunError(), "    doesn't exist.");
}

TEST(CommandRunner, AThrowingLineHandlerEndsTheRunAndIsReported) {
  TCommandRunner Runner;
  std::atomic<int> Calls{0};
  std::atomic<int> Ends{0};
  Runner.OnNewLine = [&](TCommandRunner&, const std::string&, TOutputType) {
    ++Calls;
    throw std::runtime_error("handler broke");
  };
  Runner.OnTerminated = [&](TCommandRunner&) { ++Ends; };
  Runner.CommandLine = Child({"w", "a\\nb\\n", "s", "30000"});
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  Runner.Stop();
  EXPECT_EQ(Runner.RunError(), "handler broke");
  EXPECT_EQ(Calls, 1);  // a broken handler gets nothing more
  EXPECT_EQ(Ends, 1);
  EXPECT_EQ(Runner.ExitCode(), 128 + SIGKILL);  // the child did not outlive the run
}

TEST(CommandRunner, AThrowingEndHandlerIsReportedAndStopReturns) {
  TCommandRunner Runner;
  Runner.OnTerminated = [](TCommandRunner&) { throw std::logic_error("end broke"); };
  Runner.CommandLine = Child({"w", "x\\n", "x", "2"});
  Runner.Execute();
  Runner.Stop();
  EXPECT_EQ(Runner.RunError(), "end broke");
  EXPECT_FALSE(Runner.IsRunning());
}

struct ExitCase {
  std::vector<std::string> Steps;
  int Code;
};

void PrintTo(const ExitCase& Case, std::ostream* Out) {
  *Out << ::testing::PrintToString(Case.Steps) << " -> " << Case.Code;
}

class ExitCodeTest : public ::testing::TestWithParam<ExitCase> {};

TEST_P(ExitCodeTest, IsRecordedAtTheEndOfTheRun) {
  TCommandRunner Runner;
  Runner.CommandLine = Child(GetParam().Steps);
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  EXPECT_EQ(Runner.ExitCode(), GetParam().Code);
  Runner.Stop();
  EXPECT_EQ(Runner.RunError(), "");
}

INSTANTIATE_TEST_SUITE_P(Table, ExitCodeTest,
                         ::testing::Values(ExitCase{{}, 0}, ExitCase{{"x", "3"}, 3},
                                           ExitCase{{"x", "255"}, 255},
                                           ExitCase{{"k", "15"}, 128 + 15},
                                           ExitCase{{"k", "9"}, 128 + 9},
                                           ExitCase{{"ignterm", "k", "15", "x", "4"}, 4}));

TEST(CommandRunner, StopServesHandlersThatWaitForTheInterfaceThread) {
  TCommandRunner Runner;
  int Position = 0;  // belongs to the interface thread, like a progress bar
  Runner.OnNewLine = [&](TCommandRunner&, const std::string& Line, TOutputType Type) {
    if (Type != TOutputType::otEntireLine) return;
    platform::MainThreadQueue::Instance().Synchronize(
        [&] { Position = static_cast<int>(Line.size()); });
  };
  Runner.OnTerminated = [&](TCommandRunner&) {
    platform::MainThreadQueue::Instance().Synchronize([&] { Position = -1; });
  };
  Runner.CommandLine = Child({"lines", "2000", "10", "s", "30000"});
  Runner.Execute();
  // The first line's handler now waits for this thread, which serves it only in Stop.
  ASSERT_TRUE(Eventually([&] { return Runner.Lines.Count() >= 1; }));
  Runner.Stop();  // must not deadlock with a handler inside Synchronize
  EXPECT_EQ(Position, -1);
}

TEST(CommandRunner, AHandlerThatAsksTheInterfaceThreadToStopItsRunDoesNotDeadlock) {
  TCommandRunner Runner;
  std::atomic<bool> Refused{false};
  Runner.OnNewLine = [&](TCommandRunner& Sender, const std::string& Line, TOutputType) {
    if (Line != "stop") return;
    platform::MainThreadQueue::Instance().Synchronize([&] {
      try {
        Sender.Execute();  // cannot wait here for the run that waits for us
      } catch (const ECommandRunner&) {
        Refused = true;
      }
      Sender.Stop();
    });
  };
  Runner.CommandLine = Child({"w", "stop\\n", "s", "30000"});
  Runner.Execute();
  // An event loop serving requests until the run has ended.
  platform::MainThreadQueue::Instance().WaitUntil([&] { return !Runner.IsRunning(); });
  Runner.Stop();
  EXPECT_TRUE(Refused);
  EXPECT_EQ(Runner.ExitCode(), 128 + SIGKILL);
}

TEST(CommandRunner, AStopServedDuringAnotherStopWaitsForTheSameRun) {
  TCommandRunner A;
  TCommandRunner B;
  std::atomic<int> AEnds{0};
  A.OnTerminated = [&](TCommandRunner&) {
    std::this_thread::sleep_for(std::chrono::milliseconds(400));  // keeps A's Stop waiting
    ++AEnds;
  };
  A.CommandLine = Child({"s", "30000"});
  int EndsSeenByNestedStop = -1;
  bool ExecuteRefused = false;
  B.OnNewLine = [&](TCommandRunner&, const std::string&, TOutputType) {
    platform::MainThreadQueue::Instance().Synchronize([&] {
      try {
        A.Execute();
      } catch (const ECommandRunner&) {
        ExecuteRefused = true;
      }
      A.Stop();
      EndsSeenByNestedStop = AEnds;
    });
  };
  B.CommandLine = Child({"s", "150", "w", "now\\n"});
  A.Execute();
  B.Execute();
  A.Stop();  // B's request comes while this waits
  EXPECT_TRUE(ExecuteRefused);
  EXPECT_EQ(EndsSeenByNestedStop, 1);  // the nested Stop returned after OnTerminated
  EXPECT_FALSE(A.IsRunning());
  EXPECT_EQ(A.ExitCode(), 128 + SIGKILL);
  B.Stop();
  // A is idle again and runs normally.
  A.OnTerminated = nullptr;
  A.CommandLine = Child({"w", "again\\n"});
  A.Execute();
  ASSERT_TRUE(Eventually([&] { return !A.IsRunning(); }));
  A.Stop();
  EXPECT_EQ(A.ExitCode(), 0);
  EXPECT_EQ(A.Lines.Snapshot(), std::vector<std::string>{"again"});
}

TEST(CommandRunner, ExecuteDuringARunStopsItFirst) {
  TCommandRunner Runner;
  std::atomic<int> Ends{0};
  Runner.OnTerminated = [&](TCommandRunner&) { ++Ends; };
  Runner.CommandLine = Child({"w", "old\\n", "s", "30000"});
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return Runner.Lines.Count() == 1; }));
  Runner.CommandLine = Child({"w", "new\\n"});
  Runner.Execute();
  EXPECT_EQ(Ends, 1);
  ASSERT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  Runner.Stop();
  EXPECT_EQ(Ends, 2);
  EXPECT_EQ(Runner.Lines.Snapshot(), std::vector<std::string>{"new"});
}

TEST(CommandRunner, DestroyingARunningRunnerStopsTheRun) {
  std::atomic<int> Ends{0};
  int Pid = -1;
  {
    TCommandRunner Runner;
    Runner.OnTerminated = [&](TCommandRunner&) { ++Ends; };
    Runner.CommandLine = Child({"pid", "s", "30000"});
    Runner.Execute();
    ASSERT_TRUE(Eventually([&] { return Runner.Lines.Count() == 1; }));
    Pid = testing::NumberAfter(Runner.Lines, "pid");
  }
  EXPECT_EQ(Ends, 1);
  EXPECT_TRUE(Eventually([&] { return testing::ProcessGone(Pid); }));
}

TEST(CommandRunner, AHandlerMayAskItsOwnRunToStopButNotToRunAgain) {
  TCommandRunner Runner;
  std::atomic<bool> Refused{false};
  Runner.OnNewLine = [&](TCommandRunner& Sender, const std::string& Line, TOutputType) {
    if (Line != "enough") return;
    try {
      Sender.Execute();
    } catch (const ECommandRunner&) {
      Refused = true;
    }
    Sender.Stop();
  };
  Runner.CommandLine = Child({"w", "enough\\n", "s", "30000"});
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  Runner.Stop();
  EXPECT_TRUE(Refused);
  EXPECT_EQ(Runner.ExitCode(), 128 + SIGKILL);
  EXPECT_EQ(Runner.Lines.Snapshot(), std::vector<std::string>{"enough"});
}

}  // namespace
}  // namespace marlovent
