// Reading what the outside programs print: the encoder's progress and the player's length.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "convert/DurationProbe.h"
#include "convert/Numbers.h"
#include "convert/Progress.h"
#include "convert/RunVerdict.h"

namespace marlovent {
namespace {

constexpr std::optional<std::int32_t> None = std::nullopt;

TEST(ProgressMarker, FirstPairOfALineRoundedHalfToEven) {
  struct {
    const char* Line;
    bool Pair;
    std::optional<std::int32_t> Seconds;
  } const Cases[] = {
      {"ffmpeg_release_time=12.5=ffmpeg_release_time", true, 12},
      {"ffmpeg_release_time=13.5=ffmpeg_release_time", true, 14},
      {"ffmpeg_release_time=13.49=ffmpeg_release_time", true, 13},
      {"ffmpeg_release_time=0=ffmpeg_release_time", true, 0},
      {"ffmpeg_release_time=-3.6=ffmpeg_release_time", true, -4},
      {"frame=  42 ffmpeg_release_time=7.25=ffmpeg_release_time q=3.0", true, 7},
      {"ffmpeg_release_time=5=ffmpeg_release_time ffmpeg_release_time=9=ffmpeg_release_time", true,
       5},
      {"ffmpeg_release_time=abc=ffmpeg_release_time", true, None},  // not a number: ignored
      {"ffmpeg_release_time==ffmpeg_release_time", true, None},
      {"ffmpeg_release_time=1,5=ffmpeg_release_time", true, None},  // "." is the point
      {"ffmpeg_release_time=inf=ffmpeg_release_time", true, None},
      {"ffmpeg_release_time=9e99=ffmpeg_release_time", true, 2147483647},
      {"ffmpeg_release_time=12.5", false, None},
      {"=ffmpeg_release_time 12 ffmpeg_release_time=", false, None},  // closing before opening
      {"FFMPEG_RELEASE_TIME=3=FFMPEG_RELEASE_TIME", false, None},
      {"", false, None},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Line);
    const TMarkerScan Scan = ScanMarker(Case.Line);
    EXPECT_EQ(Scan.PairFound, Case.Pair);
    EXPECT_EQ(Scan.Seconds, Case.Seconds);
  }
}

TEST(ProgressStockStatus, TimeFieldInWholeSeconds) {
  struct {
    const char* Line;
    std::optional<std::int32_t> Seconds;
  } const Cases[] = {
      {"frame=   62 fps=0.0 q=2.0 size=     103kB time=00:00:04.07 bitrate= 207.2kbits/s", 4},
      {"size=     256KiB time=00:01:02.50 bitrate= 33.5kbits/s speed=5x", 62},
      {"size=     256KiB time=00:01:03.50 bitrate= 33.5kbits/s speed=5x", 64},
      {"time=01:00:00.00", 3600},
      {"size=N/A time=N/A bitrate=N/A speed=N/A", None},
      {"size=       0kB time=-00:00:00.05 bitrate=N/A", None},
      {"size=       0kB time=-577014:32:22.77 bitrate=N/A", None},
      {"frame= 10 time=00:01:2", None},  // the unfinished beginning of a status line
      {"out_time=00:00:09.00", None},
      {"ffmpeg_release_time=00:00:09.00", None},
      {"no status here", None},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Line);
    EXPECT_EQ(StockTime(Case.Line), Case.Seconds);
  }
}

TEST(ProgressReader, MarkersTakeOverFromTheStockStatusForTheRestOfTheRun) {
  TProgressReader Reader;
  EXPECT_EQ(Reader.Read("size= 1kB time=00:00:03.00 bitrate=1"), 3);
  EXPECT_EQ(Reader.Read("ffmpeg_release_time=5=ffmpeg_release_time"), 5);
  EXPECT_EQ(Reader.Read("size= 1kB time=00:00:09.00 bitrate=1"), None);
  EXPECT_EQ(Reader.Read("ffmpeg_release_time=bad=ffmpeg_release_time"), None);
  EXPECT_EQ(Reader.Read("ffmpeg_release_time=6=ffmpeg_release_time"), 6);
  Reader.Reset();  // the next run starts afresh
  EXPECT_EQ(Reader.Read("size= 1kB time=00:00:09.00 bitrate=1"), 9);
}

TEST(DurationAnswer, WholeSecondsFromTheFirstAnswer) {
  struct {
    const char* Output;
    std::int32_t Seconds;
  } const Cases[] = {
      {"ID_VIDEO_ID=0\r\nID_LENGTH=5412.35\r\nID_SEEKABLE=1\r\n", 5412},
      {"ID_LENGTH=99.99\r\n", 99},  // cut, not rounded
      {"ID_LENGTH=0.5\r\n", 0},
      {"ID_LENGTH=.\r\n", 0},
      {"ID_LENGTH=\r\n", 0},
      {"ID_LENGTH=abc\r\n", 0},
      {"Id_Length=12\r\n", 12},
      {"ID_LENGTH=1 2 3\r\n", 123},
      {"ID_LENGTH=123.45 seconds\r\n", 123},
      {"ID_LENGTH=12345678901234567890123\r\n", 2147483647},  // only 20 characters count
      {"ID_LENGTH=                  12345\r\n", 12},
      {"ID_FILENAME=/v/id_length=7.rm\r\nID_LENGTH=30.00\r\n", 7},  // the first counts
      {"ID_LENGTH=3\r\nID_LENGTH=40\r\n", 3},
      {"ID_LENGTH=42.0", 42},  // the last output, without a line end
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Output);
    const std::string Output = Case.Output;
    const auto Found = FindLengthAnswer(Output);
    ASSERT_TRUE(Found.has_value());
    EXPECT_EQ(LengthAt(Output, *Found), Case.Seconds);
  }
  EXPECT_FALSE(FindLengthAnswer("ID_VIDEO_ID=0\r\nID_LENGTH 12\r\n").has_value());
  EXPECT_FALSE(FindLengthAnswer("").has_value());
}

TEST(DurationAnswer, TwoPointsAreNoNumber) {
  const std::string Output = "ID_LENGTH=1.2.3\r\n";
  try {
    LengthAt(Output, *FindLengthAnswer(Output));
    FAIL() << "no exception";
  } catch (const EConvertError& Error) {
    EXPECT_STREQ(Error.what(), "'1.2.3' is not a valid floating point value");
  }
}

TEST(RunVerdict, FailedRunsSayWhy) {
  using Lines = std::vector<std::string>;
  struct {
    std::optional<int> ExitCode;
    const char* RunError;
    Lines Output;
    std::optional<std::string> Failure;
  } const Cases[] = {
      {0, "", {"frame= 1 time=00:00:01.00"}, std::nullopt},
      {1,
       "",
       {"Input #0", "/v/x.rm: No such file or directory", ""},
       "/v/x.rm: No such file or directory"},
      {std::nullopt, "\"/a/ffmpeg\" -i x doesn't exist.", {}, "\"/a/ffmpeg\" -i x doesn't exist."},
      {0, "handler failed", {}, "handler failed"},
      {137, "", {"frame= 1 size= 1kB time=00:00:01.00 bitrate=1"}, "编码器被信号 9 终止"},
      {3, "", {}, "编码器退出代码 3"},
      {1,
       "",
       {"Only 8000Hz sample rate supported", "Error initializing output stream 0:1 --",
        "Conversion failed!"},
       "Error initializing output stream 0:1 --"},
  };
  for (const auto& Case : Cases) {
    EXPECT_EQ(RunFailure(Case.ExitCode, Case.RunError, Case.Output), Case.Failure);
  }
}

}  // namespace
}  // namespace marlovent
