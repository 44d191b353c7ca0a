// The run's time-outs: a limit of N seconds ends the run in the first cycle that sees the
// counter above N, and leaves the child running.
#include <gtest/gtest.h>

#include "platform/ChildReaper.h"
#include "runner/CommandRunner.h"
#include "tests/runner/RunnerTestSupport.h"

namespace marlovent {
namespace {

using testing::Child;
using testing::Eventually;
using Seconds = std::chrono::duration<double>;

struct TimeOutCase {
  const char* Name;
  std::int32_t AfterBeginning;
  std::int32_t AfterLastOutput;
  std::vector<std::string> Steps;
  bool TimesOut;
  double MinSeconds;  // the run lasts at least this long
  double MaxSeconds;  // and ends before this
};

void PrintTo(const TimeOutCase& Case, std::ostream* Out) {
  *Out << Case.Name;
}

class TimeOutTest : public ::testing::TestWithParam<TimeOutCase> {};

std::vector<std::string> Repeat(int Times, const std::vector<std::string>& Steps) {
  std::vector<std::string> All{"pid"};
  for (int I = 0; I < Times; ++I) All.insert(All.end(), Steps.begin(), Steps.end());
  return All;
}

TEST_P(TimeOutTest, EndsTheRunOnlyAboveTheLimit) {
  const auto& Case = GetParam();
  TCommandRunner Runner;
  testing::TRecorder Recorder(Runner);
  Runner.CommandLine = Child(Case.Steps);
  Runner.MaxTimeAfterBeginning = Case.AfterBeginning;
  Runner.MaxTimeAfterLastOutput = Case.AfterLastOutput;
  const auto Started = std::chrono::steady_clock::now();
  Runner.Execute();
  ASSERT_TRUE(Recorder.WaitTerminated(std::chrono::seconds(30)));
  const double Took = Seconds(std::chrono::steady_clock::now() - Started).count();
  Runner.Stop();
  EXPECT_GE(Took, Case.MinSeconds);
  EXPECT_LT(Took, Case.MaxSeconds);
  const int Pid = testing::NumberAfter(Runner.Lines, "pid");
  ASSERT_GT(Pid, 0);
  if (Case.TimesOut) {
    EXPECT_EQ(Runner.ExitCode(), std::nullopt);
    EXPECT_FALSE(testing::ProcessGone(Pid)) << "a time-out leaves the child running";
    // Once it ends on its own, it is reaped: no zombie stays.
    ::kill(Pid, SIGTERM);
    EXPECT_TRUE(Eventually([&] { return testing::ProcessGone(Pid); }));
    EXPECT_TRUE(Eventually([] { return platform::ChildReaper::Instance().Pending() == 0; }));
  } else {
    EXPECT_EQ(Runner.ExitCode(), 0);
  }
  EXPECT_EQ(Recorder.Terminated(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimeOutTest,
    ::testing::Values(
        TimeOutCase{"AfterBeginning", 1, 0, {"pid", "s", "20000"}, true, 1.95, 3.5},
        TimeOutCase{"AfterLastOutputWhenSilent", 0, 1, {"pid", "s", "20000"}, true, 1.95, 3.5},
        TimeOutCase{"TextWithoutLineEndCountsAsSilence", 0, 1, Repeat(20, {"w", "x", "s", "300"}),
                    true, 1.95, 3.5},
        TimeOutCase{"CompleteLinesKeepTheRunAlive", 0, 1, Repeat(10, {"w", "x\\n", "s", "300"}),
                    false, 2.9, 6},
        TimeOutCase{"NoLimitWithZero", 0, 0, {"pid", "s", "2500"}, false, 2.45, 6},
        TimeOutCase{"NoLimitBelowOne", -1, -5, {"pid", "s", "2500"}, false, 2.45, 6},
        TimeOutCase{"OutputDoesNotExtendTheLimitFromTheStart", 2, 0,
                    Repeat(20, {"w", "x\\n", "s", "300"}), true, 2.95, 4.5}),
    [](const ::testing::TestParamInfo<TimeOutCase>& Info) { return std::string(Info.param.Name); });

TEST(TimeOut, ATimedOutChildThatKeepsWritingIsDrainedAndReaped) {
  TCommandRunner Runner;
  Runner.CommandLine = Child({"pid", "s", "1500", "lines", "100000", "64", "x", "0"});
  Runner.MaxTimeAfterBeginning = 1;
  Runner.Execute();
  ASSERT_TRUE(Eventually([&] { return !Runner.IsRunning(); }));
  Runner.Stop();
  const int Pid = testing::NumberAfter(Runner.Lines, "pid");
  ASSERT_GT(Pid, 0);
  // 6.4 MB is far more than a pipe holds: the child finishes only if someone drains it.
  EXPECT_TRUE(Eventually([&] { return testing::ProcessGone(Pid); }, std::chrono::seconds(20)));
}

}  // namespace
}  // namespace marlovent
