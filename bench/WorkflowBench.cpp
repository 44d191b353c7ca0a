// Workflow figures, taken through the real window (offscreen) with the real encoder and
// player on generated RealMedia sources:
//   1. batch overhead: ten 20-second sources converted by the window's batch, against the
//      same ten encoder commands run one after another by a shell (best of five rounds each, taken
//      in turn);
//   2. the interface thread's CPU time during the batch;
//   3. add latency: from the accepted dialog to the new row, against the time mplayer
//      alone takes to print ID_LENGTH (medians of nine);
//   4. a queue of 10,000 entries measured by the test suite's stand-in player: the
//      memory it costs, the time to add the last one, and the time to redraw the list.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "convert/EncoderCommand.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "platform/VirtualListView.h"
#include "ui/Main.h"

namespace {

namespace fs = std::filesystem;
using namespace marlovent;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration Span) {
  return std::chrono::duration<double>(Span).count();
}

double Milliseconds(Clock::duration Span) {
  return std::chrono::duration<double, std::milli>(Span).count();
}

double Median(std::vector<double> Values) {
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

std::string ShellQuoted(const std::string& Text) {
  std::string Quoted = "'";
  for (const char C : Text) Quoted += C == '\'' ? std::string("'\\''") : std::string(1, C);
  return Quoted + "'";
}

void Run(const std::string& Command) {
  if (std::system(Command.c_str()) != 0) throw std::runtime_error("failed: " + Command);
}

double ThreadCpuSeconds() {
  rusage Usage{};
  getrusage(RUSAGE_THREAD, &Usage);
  return double(Usage.ru_utime.tv_sec + Usage.ru_stime.tv_sec) +
         double(Usage.ru_utime.tv_usec + Usage.ru_stime.tv_usec) / 1e6;
}

double ResidentMiB() {
  std::ifstream Statm("/proc/self/statm");
  long Size = 0, Resident = 0;
  Statm >> Size >> Resident;
  return double(Resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Answers the open-file dialog from a queue and stamps the moment it was accepted.
class TBenchDialogs final : public platform::TDialogs {
 public:
  std::deque<std::string> Files;
  Clock::time_point Accepted;

  std::optional<std::string> OpenFile(QWidget*, const std::string&) override {
    if (Files.empty()) return std::nullopt;
    std::string File = Files.front();
    Files.pop_front();
    Accepted = Clock::now();
    return File;
  }
  std::optional<std::string> BrowseForFolder(QWidget*, const std::string&,
                                             const std::string&) override {
    return std::nullopt;
  }
  void ShowMessage(QWidget*, const std::string& Text) override { Report(Text); }
  void ShowError(QWidget*, const std::string& Text) override { Report(Text); }
  void ShowErrorDialog(QWidget*, const std::string& Text) override { Report(Text); }
  bool AskYesNo(QWidget*, const std::string&) override { return false; }

 private:
  static void Report(const std::string& Text) {
    throw std::runtime_error("the window showed a message: " + Text);
  }
};

// The time mplayer alone takes from its start to printing ID_LENGTH.
double PlayerAnswerMs(const std::string& Source) {
  const std::string Command =
      "mplayer -msglevel identify=6 -vo none -ao none " + ShellQuoted(Source) + " 2>&1";
  const auto Start = Clock::now();
  FILE* Pipe = popen(Command.c_str(), "r");
  if (!Pipe) throw std::runtime_error("popen failed");
  char Line[4096];
  double Result = -1;
  while (fgets(Line, sizeof Line, Pipe)) {
    if (std::string(Line).rfind("ID_LENGTH=", 0) == 0) {
      Result = Milliseconds(Clock::now() - Start);
      break;
    }
  }
  // Let the player run out rather than leave it behind.
  while (fgets(Line, sizeof Line, Pipe)) {
  }
  pclose(Pipe);
  if (Result < 0) throw std::runtime_error("mplayer printed no ID_LENGTH");
  return Result;
}

struct TBench {
  std::string Root;
  TBenchDialogs* Dialogs = nullptr;
  std::vector<std::string> Sources;
};

void MakeSources(TBench& Bench, int Count) {
  for (int Index = 0; Index < Count; ++Index) {
    const std::string Path = Bench.Root + "/src/clip " + std::to_string(Index) + ".rm";
    Run("ffmpeg -v error -y -f lavfi -i testsrc=duration=20:size=352x288:rate=25 -f lavfi -i "
        "sine=duration=20:sample_rate=44100:frequency=" +
        std::to_string(300 + 40 * Index) + " -c:v rv20 -b:v 400k -c:a ac3 -b:a 96k -f rm " +
        ShellQuoted(Path));
    Bench.Sources.push_back(Path);
  }
}

double ShellBatchSeconds(const TBench& Bench, const std::string& Out) {
  std::string Script;
  for (const std::string& Source : Bench.Sources) {
    const std::vector<std::string> Arguments = [&] {
      TEncoderSettings Settings{"120K", "14.985", "176x144", "8000", "12.2K", 0};
      return std::vector<std::string>{"ffmpeg",
                                      "-i",
                                      Source,
                                      "-vcodec",
                                      "mpeg4",
                                      "-f",
                                      "3gp",
                                      "-b",
                                      Settings.VideoKbps,
                                      "-r",
                                      Settings.VideoFrame,
                                      "-s",
                                      Settings.VideoSize,
                                      "-ar",
                                      Settings.AudioSample,
                                      "-ab",
                                      Settings.AudioKbps,
                                      "-ac",
                                      "1",
                                      "-y",
                                      OutputPath(Out, Source)};
    }();
    for (const std::string& Argument : Arguments) Script += ShellQuoted(Argument) + " ";
    Script += "2>/dev/null || exit 1\n";
  }
  const auto Start = Clock::now();
  Run("sh -c " + ShellQuoted(Script));
  return Seconds(Clock::now() - Start);
}

struct TWindowBatch {
  double Wall = 0, InterfaceCpu = 0;
};

TWindowBatch WindowBatch(TFrmMain& Form, const std::string& Out) {
  Form.edtSaveDir->setText(platform::PathToQt(Out));
  TWindowBatch Result;
  const double CpuBefore = ThreadCpuSeconds();
  const auto Start = Clock::now();
  Form.btnConvert->click();
  Result.Wall = Seconds(Clock::now() - Start);
  Result.InterfaceCpu = ThreadCpuSeconds() - CpuBefore;
  for (int Index = 0; Index < static_cast<int>(Form.FFileList->size()); ++Index)
    if (Form.GetFileInfo(Index).Status != StatusDone)
      throw std::runtime_error("a conversion failed: " + Form.GetFileInfo(Index).FailReason);
  return Result;
}

void BatchFigures(TBench& Bench, platform::TApplication& App) {
  MakeSources(Bench, 10);
  TFrmMain Form(App);
  Form.FormCreate();
  Form.FAppDir = Bench.Root + "/no tools/";  // the tools on PATH
  Form.AddFiles(Bench.Sources);

  double BestShell = 1e9, BestWindow = 1e9, WindowCpu = 0, WindowWall = 0;
  for (int Round = 0; Round < 5; ++Round) {
    const double Shell = ShellBatchSeconds(Bench, Bench.Root + "/out-shell/");
    BestShell = std::min(BestShell, Shell);
    const TWindowBatch Batch = WindowBatch(Form, Bench.Root + "/out-window/");
    std::printf("   round %d: window %.3f s, shell %.3f s\n", Round + 1, Batch.Wall, Shell);
    if (Batch.Wall < BestWindow) {
      BestWindow = Batch.Wall;
      WindowCpu = Batch.InterfaceCpu;
      WindowWall = Batch.Wall;
    }
  }
  std::printf(
      "1. batch of ten 20 s sources: window %.3f s, shell %.3f s, ratio %.3f "
      "(target <= 1.03)\n",
      BestWindow, BestShell, BestWindow / BestShell);
  std::printf(
      "2. interface thread CPU during that batch: %.1f ms of %.3f s wall, %.3f%% "
      "(target < 1%%)\n",
      WindowCpu * 1000, WindowWall, 100 * WindowCpu / WindowWall);

  std::vector<double> Player, Window, Probe;
  for (int Round = 0; Round < 9; ++Round) {
    Player.push_back(PlayerAnswerMs(Bench.Sources[0]));
    const auto ProbeStart = Clock::now();
    Form.GetVideoDuration(Bench.Sources[0]);
    Probe.push_back(Milliseconds(Clock::now() - ProbeStart));
    Bench.Dialogs->Files.push_back(Bench.Sources[0]);
    const std::size_t Before = Form.FFileList->size();
    Form.btnAdd->click();
    if (Form.lvwFiles->ItemCount() != static_cast<int>(Before) + 1)
      throw std::runtime_error("the add made no row");
    Window.push_back(Milliseconds(Clock::now() - Bench.Dialogs->Accepted));
  }
  std::printf(
      "3. add latency: dialog to row %.1f ms (the probe alone %.1f ms), mplayer alone "
      "to ID_LENGTH %.1f ms, %+.1f ms (target <= +50 ms)\n",
      Median(Window), Median(Probe), Median(Player), Median(Window) - Median(Player));
}

void QueueFigures(TBench& Bench, platform::TApplication& App) {
  const std::string Tools = Bench.Root + "/tools/";
  fs::create_directories(Tools);
  fs::create_symlink(MARLOVENT_FAKETOOL, Tools + "mplayer");
  std::vector<std::string> Files;
  for (int Index = 0; Index < 10000; ++Index) {
    const std::string Path =
        Bench.Root + "/many/a fairly ordinary video file name " + std::to_string(Index) + ".rmvb";
    std::ofstream(Path) << "mplayer: say ID_LENGTH=" << (60 + Index % 600) << "\n";
    Files.push_back(Path);
  }
  TFrmMain Form(App);
  Form.FormCreate();
  Form.FAppDir = Tools;
  Form.show();
  App.ProcessMessages();
  const double MemoryBefore = ResidentMiB();

  const std::string Last = Files.back();
  Files.pop_back();
  const auto FillStart = Clock::now();
  Form.AddFiles(Files);
  const double Fill = Seconds(Clock::now() - FillStart);
  Bench.Dialogs->Files.push_back(Last);
  Form.btnAdd->click();
  const double AddLast = Milliseconds(Clock::now() - Bench.Dialogs->Accepted);
  if (Form.lvwFiles->ItemCount() != 10000) throw std::runtime_error("the queue is not full");
  App.ProcessMessages();
  const double MemoryAfter = ResidentMiB();

  std::vector<double> Redraws;
  for (int Round = 0; Round < 9; ++Round) {
    // Half of the rounds at the top, half at the bottom of the list.
    QScrollBar* Bar = Form.lvwFiles->verticalScrollBar();
    Bar->setValue(Round % 2 ? Bar->maximum() : 0);
    App.ProcessMessages();
    const auto Start = Clock::now();
    Form.lvwFiles->Refresh();
    Form.lvwFiles->viewport()->repaint();
    Redraws.push_back(Milliseconds(Clock::now() - Start));
  }
  std::printf(
      "4. queue of 10,000 (stand-in player): %.1f MiB extra (target < 50 MB), "
      "9,999 adds in %.1f s, last add %.1f ms, redraw median %.2f ms max %.2f ms "
      "(target < 50 ms)\n",
      MemoryAfter - MemoryBefore, Fill, AddLast, Median(Redraws),
      *std::max_element(Redraws.begin(), Redraws.end()));
  Form.close();
}

}  // namespace

int main(int Argc, char** Argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  char Template[] = "/tmp/marlovent-workflow-bench-XXXXXX";
  if (!mkdtemp(Template)) return 1;
  TBench Bench;
  Bench.Root = Template;
  for (const char* Folder : {"/src", "/many", "/no tools", "/out-shell"})
    fs::create_directories(Bench.Root + Folder);
  int Status = 0;
  try {
    platform::TApplication App(Argc, Argv);
    App.SetTitle(ApplicationTitle);
    auto Dialogs = std::make_unique<TBenchDialogs>();
    Bench.Dialogs = Dialogs.get();
    App.SetDialogs(std::move(Dialogs));
    BatchFigures(Bench, App);
    QueueFigures(Bench, App);
  } catch (const std::exception& Error) {
    std::fprintf(stderr, "workflow_bench: %s\n", Error.what());
    Status = 1;
  }
  std::error_code Ignored;
  fs::remove_all(Bench.Root, Ignored);
  return Status;
}
