// The encoder's and the player's command lines, split as the runner splits them, and the
// output file's name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/DurationProbe.h"
#include "convert/EncoderCommand.h"
#include "platform/CommandLine.h"

namespace marlovent {
namespace {

using Args = std::vector<std::string>;

const TEncoderSettings StartSettings{"120K", "14.985", "176x144", "8000", "12.2K", 0};

TEST(EncoderCommandLine, StartSettingsGiveTheDocumentedCommand) {
  const std::string Line = EncoderCommandLine("/opt/m/ffmpeg", "/v/clip.rmvb", StartSettings, true,
                                              OutputPath("/out/", "/v/clip.rmvb"));
  EXPECT_EQ(Line,
            "\"/opt/m/ffmpeg\" -i \"/v/clip.rmvb\" -vcodec mpeg4 -f 3gp  -b 120K -r 14.985 -s "
            "176x144 -ar 8000 -ab 12.2K -ac 1 -y \"/out/clip.3GP\"");
  EXPECT_EQ(platform::SplitCommandLine(Line), (Args{"/opt/m/ffmpeg",
                                                    "-i",
                                                    "/v/clip.rmvb",
                                                    "-vcodec",
                                                    "mpeg4",
                                                    "-f",
                                                    "3gp",
                                                    "-b",
                                                    "120K",
                                                    "-r",
                                                    "14.985",
                                                    "-s",
                                                    "176x144",
                                                    "-ar",
                                                    "8000",
                                                    "-ab",
                                                    "12.2K",
                                                    "-ac",
                                                    "1",
                                                    "-y",
                                                    "/out/clip.3GP"}));
}

TEST(EncoderCommandLine, OtherSettingsAndNoOverwrite) {
  const TEncoderSettings Settings{"300K", "25", "320x240", "22050", "64K", 1};
  EXPECT_EQ(platform::SplitCommandLine(
                EncoderCommandLine("/a/ffmpeg", "/v/x.rm", Settings, false, "/o/x.3GP")),
            (Args{"/a/ffmpeg", "-i",   "/v/x.rm", "-vcodec", "mpeg4", "-f",      "3gp",
                  "-b",        "300K", "-r",      "25",      "-s",    "320x240", "-ar",
                  "22050",     "-ab",  "64K",     "-ac",     "2",     "/o/x.3GP"}));
}

// Whatever a path holds, it arrives as exactly one argument, and never as an option.
TEST(EncoderCommandLine, EveryPathArrivesAsExactlyOneArgument) {
  const std::vector<std::string> Paths = {
      "/home/u/My Videos/a clip.rmvb", "/视频/新 建/片段.rm",
      "/v/say \"hi\" -y.rm",           R"(/v/back\slash\.rm)",
      R"(/v/ends in backslash\)",      R"(/v/quote after backslashes\\"x.rm)",
      "/v/\" -f null -i \"evil.rm",
  };
  for (const std::string& Path : Paths) {
    SCOPED_TRACE(Path);
    const std::string Tool = "/opt/my tools/ffmpeg";
    const Args Split = platform::SplitCommandLine(
        EncoderCommandLine(Tool, Path, StartSettings, true, "/out dir/" + Path));
    ASSERT_EQ(Split.size(), 21u);
    EXPECT_EQ(Split[0], Tool);
    EXPECT_EQ(Split[2], Path);
    EXPECT_EQ(Split[20], "/out dir/" + Path);

    const Args Probe = platform::SplitCommandLine(ProbeCommandLine(Tool, Path));
    ASSERT_EQ(Probe.size(), 11u);
    EXPECT_EQ(Probe[0], Tool);
    EXPECT_EQ(Probe[7], Path);
  }
}

TEST(ProbeCommandLine, ShellWordsReachThePlayerAsArguments) {
  EXPECT_EQ(platform::SplitCommandLine(ProbeCommandLine("/opt/m/mplayer", "/v/clip.rmvb")),
            (Args{"/opt/m/mplayer", "-msglevel", "identify=6", "-vo", "none", "-ao", "none",
                  "/v/clip.rmvb", "2>&1", "|grep", "ID_LENGTH"}));
}

TEST(OutputName, ExtensionBecomesCapital3GP) {
  struct {
    const char* Folder;
    const char* Source;
    const char* Output;
  } const Cases[] = {
      {"/out/", "/v/clip.rmvb", "/out/clip.3GP"},
      {"/out/", "/v/a.b.rmvb", "/out/a.b.3GP"},
      {"/out/", "/v/noextension", "/out/noextension.3GP"},
      {"/out/", "/v/CLIP.RM", "/out/CLIP.3GP"},
      {"/out/", "/v.dir/clip", "/out/clip.3GP"},  // a point in a folder is not an extension
      {"/out", "/v/clip.rm", "/outclip.3GP"},     // nothing goes between folder and name
      {"", "/v/clip.rm", "clip.3GP"},
      {"/out/", "clip.rm", "/out/clip.3GP"},
      {"/输出/", "/视频/片段.RMVB", "/输出/片段.3GP"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Source);
    EXPECT_EQ(OutputPath(Case.Folder, Case.Source), Case.Output);
  }
}

}  // namespace
}  // namespace marlovent
