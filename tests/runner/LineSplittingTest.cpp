// How the runner cuts a child's output into lines: each chunk below is one write of the
// child, a pause apart, so that each reaches the runner in a read of its own.
#include <gtest/gtest.h>

#include "runner/CommandRunner.h"
#include "tests/runner/RunnerTestSupport.h"

namespace marlovent {
namespace {

using testing::Beginning;
using testing::Entire;
using testing::TDelivery;

struct SplitCase {
  const char* Name;
  std::vector<std::string> Chunks;  // escaped for the test child
  std::vector<TDelivery> Deliveries;
  std::vector<std::string> Lines;
};

void PrintTo(const SplitCase& Case, std::ostream* Out) {
  *Out << Case.Name;
}

class LineSplittingTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(LineSplittingTest, DeliversAndKeepsLinesAsTheyEnd) {
  std::vector<std::string> Steps;
  for (const auto& Chunk : GetParam().Chunks) {
    if (!Steps.empty()) Steps.insert(Steps.end(), {"s", "250"});
    Steps.insert(Steps.end(), {"w", Chunk});
  }
  TCommandRunner Runner;
  testing::TRecorder Recorder(Runner);
  Runner.CommandLine = testing::Child(Steps);
  Runner.Execute();
  ASSERT_TRUE(Recorder.WaitTerminated());
  Runner.Stop();
  EXPECT_EQ(Recorder.Deliveries(), GetParam().Deliveries);
  EXPECT_EQ(Runner.Lines.Snapshot(), GetParam().Lines);
  EXPECT_EQ(Recorder.Terminated(), 1);
  EXPECT_EQ(Recorder.OrderFaults(), 0);
  EXPECT_EQ(Runner.ExitCode(), 0);
  EXPECT_EQ(Runner.RunError(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, LineSplittingTest,
    ::testing::Values(
        SplitCase{"CrLfAndLf", {"a\\r\\nb\\n"}, {Entire("a"), Entire("b")}, {"a", "b"}},
        SplitCase{
            "LineAcrossReads", {"abc", "def\\n"}, {Beginning("abc"), Entire("abcdef")}, {"abcdef"}},
        SplitCase{
            "UnfinishedLineGrowsFromItsStart",
            {"ab", "cd", "e\\nf"},
            {Beginning("ab"), Beginning("abcd"), Entire("abcde"), Beginning("f"), Entire("f")},
            {"abcde", "f"}},
        SplitCase{
            "ProgressWithCrOnly", {"10%\\r20%\\r"}, {Entire("10%"), Entire("20%")}, {"10%", "20%"}},
        SplitCase{"CrCrLf",
                  {"a\\r\\r\\nb"},
                  {Entire("a"), Entire(""), Beginning("b"), Entire("b")},
                  {"a", "", "b"}},
        SplitCase{"CrEndsOneReadLfBeginsTheNext",
                  {"x\\r", "\\ny\\n"},
                  {Entire("x"), Entire(""), Entire("y")},
                  {"x", "", "y"}},
        SplitCase{"TwoEmptyLines", {"\\n\\n"}, {Entire(""), Entire("")}, {"", ""}},
        SplitCase{"NulDropped", {"a\\0b\\n"}, {Entire("ab")}, {"ab"}},
        SplitCase{"OnlyNul", {"\\0\\0"}, {}, {}},
        SplitCase{"TextWithoutLineEnd", {"done"}, {Beginning("done"), Entire("done")}, {"done"}},
        SplitCase{"NoOutput", {}, {}, {}},
        SplitCase{"HighBytesUnchanged",
                  {"\\xe8\\xbd\\xac\\xff\\x80\\n"},
                  {Entire("\xe8\xbd\xac\xff\x80")},
                  {"\xe8\xbd\xac\xff\x80"}},
        SplitCase{"LongLineWithSpecialsPastSixteenBytes",
                  {"0123456789abcdefghij\\rklmnopqrstuvwxyz0123\\0456\\n"},
                  {Entire("0123456789abcdefghij"), Entire("klmnopqrstuvwxyz0123456")},
                  {"0123456789abcdefghij", "klmnopqrstuvwxyz0123456"}}),
    [](const ::testing::TestParamInfo<SplitCase>& Info) { return std::string(Info.param.Name); });

TEST(LineSplitting, OutputWrittenJustBeforeTheEndIsDeliveredWhileAHandlerIsSlow) {
  TCommandRunner Runner;
  testing::TRecorder Recorder(Runner);
  const auto Record = Runner.OnNewLine;
  Runner.OnNewLine = [&](TCommandRunner& Sender, const std::string& Line, TOutputType Type) {
    Record(Sender, Line, Type);
    // The child writes its last line and ends while this handler holds the worker.
    if (Line == "a") std::this_thread::sleep_for(std::chrono::milliseconds(150));
  };
  Runner.CommandLine = testing::Child({"w", "a\\n", "s", "20", "w", "b\\n"});
  Runner.Execute();
  ASSERT_TRUE(Recorder.WaitTerminated());
  Runner.Stop();
  EXPECT_EQ(Recorder.Deliveries(), (std::vector{Entire("a"), Entire("b")}));
  EXPECT_EQ(Recorder.OrderFaults(), 0);
}

struct StopCase {
  const char* Name;
  std::string Output;  // one write, escaped for the test child
  TDelivery StopAt;    // the handler asks for the stop when it gets this
  std::vector<TDelivery> Deliveries;
  std::vector<std::string> Lines;
};

void PrintTo(const StopCase& Case, std::ostream* Out) {
  *Out << Case.Name;
}

class StopRequestTest : public ::testing::TestWithParam<StopCase> {};

TEST_P(StopRequestTest, DropsTheRestOfTheReadAndEndsTheUnfinishedLine) {
  const auto& Case = GetParam();
  TCommandRunner Runner;
  testing::TRecorder Recorder(Runner);
  const auto Record = Runner.OnNewLine;
  Runner.OnNewLine = [&](TCommandRunner& Sender, const std::string& Line, TOutputType Type) {
    Record(Sender, Line, Type);
    if (TDelivery{Line, Type} == Case.StopAt) Sender.Stop();
  };
  Runner.CommandLine = testing::Child({"w", Case.Output, "s", "30000"});
  Runner.Execute();
  ASSERT_TRUE(Recorder.WaitTerminated());
  Runner.Stop();
  EXPECT_EQ(Recorder.Deliveries(), Case.Deliveries);
  EXPECT_EQ(Runner.Lines.Snapshot(), Case.Lines);
  EXPECT_EQ(Runner.ExitCode(), 128 + SIGKILL);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StopRequestTest,
    ::testing::Values(
        StopCase{"AfterACompleteLine", "a\\nb\\nc", Entire("a"), {Entire("a")}, {"a"}},
        StopCase{"OnAnUnfinishedLine",
                 "keep",
                 Beginning("keep"),
                 {Beginning("keep"), Entire("keep")},
                 {"keep"}}),
    [](const ::testing::TestParamInfo<StopCase>& Info) { return std::string(Info.param.Name); });

TEST(LineSplitting, AMebibyteBurstArrivesWhole) {
  TCommandRunner Runner;
  std::atomic<long> Bytes{0};
  std::atomic<int> Complete{0};
  Runner.OnNewLine = [&](TCommandRunner&, const std::string& Line, TOutputType Type) {
    if (Type == TOutputType::otEntireLine) {
      ++Complete;
      Bytes += static_cast<long>(Line.size()) + 1;
    }
  };
  Runner.CommandLine = testing::Child({"burst", "1048576"});
  Runner.Execute();
  ASSERT_TRUE(testing::Eventually([&] { return !Runner.IsRunning(); }));
  Runner.Stop();
  EXPECT_EQ(Runner.ExitCode(), 0);
  const auto Lines = Runner.Lines.Snapshot();
  ASSERT_EQ(Lines.size(), 16384u);
  EXPECT_EQ(Complete, 16384);
  EXPECT_EQ(Bytes, 1048576);
  for (std::size_t I = 0; I < Lines.size(); I += 1001) {
    ASSERT_EQ(Lines[I].size(), 63u);
    EXPECT_EQ(Lines[I][0], 'a' + static_cast<int>((I * 64) % 26));
  }
}

}  // namespace
}  // namespace marlovent
