// From a fresh window to finished 3GP files with the real encoder and player: two
// generated RealMedia sources are added through the add button, converted into an output
// folder that does not exist yet, and the results are checked with ffprobe.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "WindowTestSupport.h"
#include "platform/Label.h"
#include "platform/ProgressBar.h"
#include "platform/Text.h"
#include "tests/helpers/TempDir.h"

namespace marlovent::testing {
namespace {

namespace fs = std::filesystem;

std::string Shell(const std::string& Command) {
  std::string Output;
  std::unique_ptr<FILE, int (*)(FILE*)> Pipe(::popen(Command.c_str(), "r"), ::pclose);
  if (!Pipe) return Output;
  std::array<char, 4096> Buffer;
  while (const std::size_t Count = std::fread(Buffer.data(), 1, Buffer.size(), Pipe.get()))
    Output.append(Buffer.data(), Count);
  return Output;
}

std::string ShellQuoted(const std::string& Text) {
  std::string Quoted = "'";
  for (const char C : Text) Quoted += C == '\'' ? std::string("'\\''") : std::string(1, C);
  return Quoted + "'";
}

// One value of ffprobe's report on a file: "stream=codec_name" of stream "v:0", and so on.
std::string Probe(const std::string& File, const std::string& Stream, const std::string& Entry) {
  std::string Command = "ffprobe -v error -of default=nw=1:nk=1 -show_entries " + Entry;
  if (!Stream.empty()) Command += " -select_streams " + Stream;
  std::string Value = Shell(Command + " " + ShellQuoted(File));
  while (!Value.empty() && (Value.back() == '\n' || Value.back() == '\r')) Value.pop_back();
  return Value;
}

class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(Root + "/empty program folder"); }
  TTempDir Temp{"e2e"};
  const std::string Root = Temp.Path();
};

TEST_F(EndToEndTest, TwoRealMediaFilesBecomeMobile3GPFiles) {
  ASSERT_FALSE(Shell("command -v ffmpeg mplayer ffprobe").empty()) << "the tools are missing";
  struct TSource {
    std::string Path, Codecs, Name3GP;
  };
  const std::array<TSource, 2> Sources = {{
      {Root + "/clip.rm", "-c:v rv20 -b:v 300k -c:a ac3 -b:a 64k", "clip.3GP"},
      {Root + "/My Clip.RMVB", "-c:v rv10 -b:v 200k -c:a real_144 -ar 8000 -ac 1", "My Clip.3GP"},
  }};
  for (const TSource& Source : Sources) {
    const std::string Make =
        "ffmpeg -v error -y -f lavfi -i testsrc=duration=6:size=352x288:rate=25 -f lavfi -i "
        "sine=duration=6:sample_rate=44100 " +
        Source.Codecs + " -f rm " + ShellQuoted(Source.Path) + " 2>&1";
    ASSERT_EQ(Shell(Make), "") << Make;
  }

  TScriptedDialogs& Dialogs = FreshDialogs();
  const auto Form = StartWindow();
  // No tools in the program's folder: the ones on PATH are used.
  Form->FAppDir = Root + "/empty program folder/";
  std::map<std::string, int> HighestPosition;
  QObject::connect(Form->ProgressBar1, &QProgressBar::valueChanged, [&](int Value) {
    int& Highest = HighestPosition[platform::FromQt(Form->lblInfo->text())];
    Highest = std::max(Highest, Value);
  });

  for (const TSource& Source : Sources) {
    Dialogs.Files.push_back({Source.Path});
    Form->btnAdd->click();
  }
  ASSERT_EQ(Form->FFileList->size(), 2u);
  EXPECT_EQ(Form->GetFileInfo(0).Duration, 6);
  EXPECT_EQ(Form->GetFileInfo(1).Duration, 6);

  const std::string Out = Root + "/out put/新 建";
  Dialogs.Folders.push_back({Out});
  Form->Button8->click();
  Form->btnConvert->click();
  EXPECT_TRUE(Dialogs.NothingShown()) << (Dialogs.Errors.empty() ? "" : Dialogs.Errors[0]);
  EXPECT_EQ(platform::FromQt(Form->lblInfo->text()), "转换完成");

  for (int Index = 0; Index < 2; ++Index) {
    const TSource& Source = Sources[static_cast<std::size_t>(Index)];
    SCOPED_TRACE(Source.Path);
    EXPECT_EQ(Form->GetFileInfo(Index).Status, "完成") << Form->GetFileInfo(Index).FailReason;
    EXPECT_GT(HighestPosition["正在转换 " + Source.Path], 0);
    const std::string Result = Out + "/" + Source.Name3GP;
    ASSERT_TRUE(fs::exists(Result));
    EXPECT_EQ(Probe(Result, "v:0", "stream=codec_name"), "mpeg4");
    EXPECT_EQ(Probe(Result, "v:0", "stream=width"), "176");
    EXPECT_EQ(Probe(Result, "v:0", "stream=height"), "144");
    const std::string Rate = Probe(Result, "v:0", "stream=r_frame_rate");
    const std::size_t Slash = Rate.find('/');
    ASSERT_NE(Slash, std::string::npos) << Rate;
    EXPECT_NEAR(std::stod(Rate.substr(0, Slash)) / std::stod(Rate.substr(Slash + 1)), 14.985, 0.01);
    EXPECT_EQ(Probe(Result, "a:0", "stream=codec_name"), "amr_nb");
    EXPECT_EQ(Probe(Result, "a:0", "stream=sample_rate"), "8000");
    EXPECT_EQ(Probe(Result, "a:0", "stream=channels"), "1");
    EXPECT_NEAR(std::stod(Probe(Result, "", "format=duration")),
                std::stod(Probe(Source.Path, "", "format=duration")), 0.5);
  }
}

}  // namespace
}  // namespace marlovent::testing
