// The conversion workflow through the window: adding (with the probe), the queue's
// buttons, the batch, dropping files and closing while a child runs. The encoder and the
// player are the test suite's stand-ins (helpers/FakeTool.cpp), put into the program's
// folder; each source file says what they do with it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "platform/Label.h"
#include "platform/ProgressBar.h"
#include "platform/Text.h"
#include "platform/VirtualListView.h"
#include "tests/helpers/TempDir.h"

namespace marlovent::testing {
namespace {

namespace fs = std::filesystem;
using platform::FromQt;
using platform::ToQt;
using Strings = std::vector<std::string>;

// Sets PATH for one test, so that no real tool is found there.
class TScopedPath {
 public:
  explicit TScopedPath(const std::string& Path) {
    if (const char* Old = std::getenv("PATH")) FOld = Old;
    ::setenv("PATH", Path.c_str(), 1);
  }
  ~TScopedPath() { ::setenv("PATH", FOld.c_str(), 1); }

 private:
  std::string FOld;
};

class WorkflowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Tools = Root + "/程序 folder/";
    Sources = Root + "/sources/";
    fs::create_directories(Tools);
    fs::create_directories(Sources);
    for (const char* Name : {"ffmpeg", "mplayer"})
      fs::create_symlink(MARLOVENT_FAKETOOL, Tools + Name);
    Dialogs = &FreshDialogs();
    Form = StartWindow();
    Form->FAppDir = Tools;
  }
  void TearDown() override { Form.reset(); }

  // A source file whose lines tell the stand-ins what to do.
  std::string Source(const std::string& Name, const std::string& Script) {
    const std::string Path = Sources + Name;
    std::ofstream(Path) << Script;
    return Path;
  }
  void Add(const std::string& Path) {
    Dialogs->Files.push_back({Path});
    Form->btnAdd->click();
  }
  void ChooseOutput(const std::string& Folder) {
    Dialogs->Folders.push_back({Folder});
    Form->Button8->click();
  }
  // Each start of a stand-in: its arguments.
  std::vector<Strings> Calls(const std::string& Tool) const {
    std::vector<Strings> Result;
    std::ifstream Log(Tools + "calls.log");
    for (std::string Line; std::getline(Log, Line);) {
      Strings Arguments;
      std::stringstream Fields(Line);
      for (std::string Field; std::getline(Fields, Field, '\x1f');) Arguments.push_back(Field);
      if (!Arguments.empty() && Arguments[0] == Tools + Tool) Result.push_back(Arguments);
    }
    return Result;
  }
  std::string Cell(int Row, int Column) const {
    const auto* Model = Form->lvwFiles->model();
    return FromQt(Model->data(Model->index(Row, Column)).toString());
  }
  std::string Tip(int Row) const {
    const auto* Model = Form->lvwFiles->model();
    return FromQt(Model->data(Model->index(Row, 0), Qt::ToolTipRole).toString());
  }
  Strings Column(int Index) const {
    Strings Result;
    for (int Row = 0; Row < Form->lvwFiles->ItemCount(); ++Row) Result.push_back(Cell(Row, Index));
    return Result;
  }
  std::string Label() const { return FromQt(Form->lblInfo->text()); }
  bool ControlsEnabled() const {
    return Form->GroupBox1->isEnabled() && Form->GroupBox3->isEnabled() &&
           Form->GroupBox6->isEnabled() && Form->lvwFiles->isEnabled() &&
           Form->btnConvert->isEnabled();
  }
  bool ControlsDisabled() const {
    return !Form->GroupBox1->isEnabled() && !Form->GroupBox3->isEnabled() &&
           !Form->GroupBox6->isEnabled() && !Form->lvwFiles->isEnabled() &&
           !Form->btnConvert->isEnabled();
  }
  // Runs Check every few milliseconds while the handler under test waits.
  void WhileWaiting(const std::function<void()>& Check) {
    Sampler = std::make_unique<QTimer>();
    QObject::connect(Sampler.get(), &QTimer::timeout, Check);
    Sampler->start(5);
  }

  TTempDir Temp{"workflow"};
  const std::string Root = Temp.Path();
  std::string Tools, Sources;
  TScriptedDialogs* Dialogs = nullptr;
  std::unique_ptr<TFrmMain> Form;
  std::unique_ptr<QTimer> Sampler;
};

TEST_F(WorkflowTest, AddMeasuresTheFileAndAppendsItAtTheEnd) {
  const std::string A =
      Source("a clip.rmvb", "mplayer: say ID_VIDEO_ID=0\nmplayer: say ID_LENGTH=12.75\n");
  const std::string B = Source("b.RM", "mplayer: say no answer at all\n");
  Form->ProgressBar1->setValue(40);
  Form->lblInfo->setText(QStringLiteral("转换完成"));
  Add(A);
  EXPECT_EQ(Form->ProgressBar1->value(), 0);
  EXPECT_EQ(Label(), "准备就绪");
  Add(B);
  Add(A);  // the same file twice gives two entries

  ASSERT_EQ(Form->FFileList->size(), 3u);
  EXPECT_EQ(Form->GetFileInfo(0).Duration, 12);
  EXPECT_EQ(Form->GetFileInfo(1).Duration, 0);
  EXPECT_EQ(Column(0), (Strings{A, B, A}));
  EXPECT_EQ(Column(1), (Strings{"准备就绪", "准备就绪", "准备就绪"}));
  EXPECT_TRUE(Form->btnAdd->isEnabled());
  ASSERT_EQ(Calls("mplayer").size(), 3u);
  EXPECT_EQ(Calls("mplayer")[0], (Strings{Tools + "mplayer", "-msglevel", "identify=6", "-vo",
                                          "none", "-ao", "none", A, "2>&1", "|grep", "ID_LENGTH"}));
  EXPECT_TRUE(Dialogs->NothingShown());
}

TEST_F(WorkflowTest, CancelledAddChangesNothing) {
  Form->ProgressBar1->setValue(30);
  Form->lblInfo->setText(QStringLiteral("转换完成"));
  Dialogs->Files.push_back({std::nullopt});
  Form->btnAdd->click();
  EXPECT_TRUE(Form->FFileList->empty());
  EXPECT_EQ(Form->ProgressBar1->value(), 30);
  EXPECT_EQ(Label(), "转换完成");
  EXPECT_TRUE(Calls("mplayer").empty());
}

TEST_F(WorkflowTest, ANumberWithTwoPointsStopsTheAddWithItsMessage) {
  Add(Source("ok.rm", "mplayer: say ID_LENGTH=3\n"));
  Add(Source("bad.rm", "mplayer: say ID_LENGTH=1.2.3\n"));
  EXPECT_EQ(Dialogs->Errors, (Strings{"'1.2.3' is not a valid floating point value"}));
  EXPECT_EQ(Form->FFileList->size(), 1u);
  EXPECT_EQ(Form->lvwFiles->ItemCount(), 1);
  EXPECT_TRUE(Form->btnAdd->isEnabled());
}

TEST_F(WorkflowTest, TheProbeEndsAtTheAnswerAndKeepsTheAddButtonOffMeanwhile) {
  // The player would go on for a minute after its answer; the answer ends the probe.
  const std::string A = Source(
      "a.rm",
      "mplayer: sleep 200\nmplayer: put ID_LENGTH=7.9\nmplayer: say\nmplayer: sleep 60000\n");
  bool SeenOff = false;
  WhileWaiting([&] { SeenOff = SeenOff || !Form->btnAdd->isEnabled(); });
  const auto Start = std::chrono::steady_clock::now();
  Add(A);
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(20));
  EXPECT_TRUE(SeenOff);
  EXPECT_TRUE(Form->btnAdd->isEnabled());
  EXPECT_EQ(Form->GetFileInfo(0).Duration, 7);
  EXPECT_FALSE(Form->CommandRunner2->IsRunning());
}

TEST_F(WorkflowTest, ASilentPlayerIsStoppedAtTheBoundAndGivesZero) {
  Form->ProbeBound = std::chrono::milliseconds(300);
  const auto Start = std::chrono::steady_clock::now();
  Add(Source("silent.rm", "mplayer: say ID_VIDEO_ID=0\nmplayer: hang\n"));
  EXPECT_GE(std::chrono::steady_clock::now() - Start, std::chrono::milliseconds(300));
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(10));
  ASSERT_EQ(Form->FFileList->size(), 1u);
  EXPECT_EQ(Form->GetFileInfo(0).Duration, 0);
  EXPECT_FALSE(Form->CommandRunner2->IsRunning());
  EXPECT_TRUE(Form->btnAdd->isEnabled());
}

TEST_F(WorkflowTest, AnAnswerWithoutALineEndIsFoundAfterThePlayerEnds) {
  Add(Source("a.rm", "mplayer: put ID_LENGTH=21.00\n"));
  EXPECT_EQ(Form->GetFileInfo(0).Duration, 21);
}

TEST_F(WorkflowTest, APlayerThatCannotStartGivesZeroAtOnce) {
  fs::remove(Tools + "mplayer");
  const TScopedPath NoTools(Root);
  const auto Start = std::chrono::steady_clock::now();
  Add(Source("a.rm", "mplayer: say ID_LENGTH=5\n"));
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(20));
  ASSERT_EQ(Form->FFileList->size(), 1u);
  EXPECT_EQ(Form->GetFileInfo(0).Duration, 0);
  EXPECT_EQ(Cell(0, 1), "准备就绪");
}

TEST_F(WorkflowTest, DeleteClearAndMovesFollowTheSelection) {
  for (const char* Name : {"A.rm", "B.rm", "C.rm"}) Add(Source(Name, ""));
  const std::string A = Sources + "A.rm", B = Sources + "B.rm", C = Sources + "C.rm";
  auto* View = Form->lvwFiles;

  // Nothing selected: nothing happens.
  View->SetItemIndex(-1);
  Form->btnDelete->click();
  Form->btnMoveToUpClick();
  Form->btnMoveToDownClick();
  EXPECT_EQ(Column(0), (Strings{A, B, C}));

  View->SetItemIndex(2);
  Form->btnMoveToUpClick();
  EXPECT_EQ(Column(0), (Strings{A, C, B}));
  EXPECT_EQ(View->ItemIndex(), 2);
  Form->btnMoveToUpClick();
  EXPECT_EQ(Column(0), (Strings{A, B, C}));
  Form->btnMoveToDownClick();  // the last row stays
  EXPECT_EQ(Column(0), (Strings{A, B, C}));
  View->SetItemIndex(0);
  Form->btnMoveToUpClick();  // the first row stays
  Form->btnMoveToDownClick();
  EXPECT_EQ(Column(0), (Strings{B, A, C}));
  EXPECT_EQ(View->ItemIndex(), 0);

  View->SetItemIndex(1);
  Form->btnDelete->click();
  EXPECT_EQ(Column(0), (Strings{B, C}));
  EXPECT_EQ(Form->FFileList->size(), 2u);

  Form->btnClear->click();
  EXPECT_TRUE(Form->FFileList->empty());
  EXPECT_EQ(View->ItemCount(), 0);
  Form->btnClear->click();
  Form->btnDelete->click();
  EXPECT_TRUE(Dialogs->NothingShown());
}

TEST_F(WorkflowTest, ConvertWithoutAFolderOnlyAsksForOne) {
  Add(Source("a.rm", ""));
  Form->btnConvert->click();
  EXPECT_EQ(Dialogs->Messages, (Strings{"请选择保存的文件夹"}));
  EXPECT_TRUE(Calls("ffmpeg").empty());
  EXPECT_EQ(Cell(0, 1), "准备就绪");
  EXPECT_TRUE(ControlsEnabled());
}

TEST_F(WorkflowTest, AnEmptyQueueStillMakesTheFolderAndEnds) {
  const std::string Out = Root + "/out/two/";
  ChooseOutput(Root + "/out/two");
  Form->ProgressBar1->setValue(50);
  Form->btnConvert->click();
  EXPECT_TRUE(fs::is_directory(Out));
  EXPECT_EQ(Label(), "转换完成");
  EXPECT_EQ(Form->ProgressBar1->value(), 0);
  EXPECT_TRUE(ControlsEnabled());
  EXPECT_TRUE(Calls("ffmpeg").empty());
}

TEST_F(WorkflowTest, AFolderThatCannotBeMadeStopsTheBatchBeforeItStarts) {
  std::ofstream(Root + "/plain") << "x";
  Add(Source("a.rm", ""));
  ChooseOutput(Root + "/plain/out");
  Form->btnConvert->click();
  EXPECT_EQ(Dialogs->ErrorDialogs,
            (Strings{"建立目录：" + Root + "/plain/out/出错！\r\n\r\n请检查目录名是否正确。"}));
  ASSERT_EQ(Dialogs->Errors.size(), 1u);  // the failure's own message follows
  EXPECT_NE(Dialogs->Errors[0].find("I/O error"), std::string::npos);
  EXPECT_TRUE(Calls("ffmpeg").empty());
  EXPECT_EQ(Label(), "准备就绪");
  EXPECT_TRUE(ControlsEnabled());
}

TEST_F(WorkflowTest, TheBatchConvertsInQueueOrderAndShowsItsProgress) {
  const std::string A = Source(
      "a.rm", "mplayer: say ID_LENGTH=10\nffmpeg: say ffmpeg_release_time=2=ffmpeg_release_time\n");
  const std::string B = Source("b c.RMVB",
                               "mplayer: say ID_LENGTH=10\n"
                               "ffmpeg: say ffmpeg_release_time=4.5=ffmpeg_release_time\n"
                               "ffmpeg: sleep 400\n"
                               "ffmpeg: say ffmpeg_release_time=99=ffmpeg_release_time\n"
                               "ffmpeg: sleep 400\n");
  const std::string C = Source(
      "c.rm", "mplayer: say ID_LENGTH=0\nffmpeg: say size= 1kB time=00:00:03.00 bitrate=1\n");
  for (const auto& Path : {A, B, C}) Add(Path);
  const std::string Out = Root + "/输出/";
  ChooseOutput(Root + "/输出");

  std::vector<Strings> StatusesDuringB;
  std::vector<int> PositionsDuringB;
  bool LockedDuringB = true;
  WhileWaiting([&] {
    if (Label() != "正在转换 " + B) return;
    StatusesDuringB.push_back(Column(1));
    PositionsDuringB.push_back(Form->ProgressBar1->value());
    LockedDuringB = LockedDuringB && ControlsDisabled() && Form->ProgressBar1->maximum() == 10;
  });
  Form->btnConvert->click();
  Sampler.reset();

  ASSERT_FALSE(StatusesDuringB.empty());
  for (const Strings& Statuses : StatusesDuringB)
    EXPECT_EQ(Statuses, (Strings{"完成", "准备就绪", "准备就绪"}));
  EXPECT_TRUE(LockedDuringB);
  // 4.5 rounds to 4; 99 shows as the full bar.
  EXPECT_NE(std::find(PositionsDuringB.begin(), PositionsDuringB.end(), 4), PositionsDuringB.end());
  EXPECT_NE(std::find(PositionsDuringB.begin(), PositionsDuringB.end(), 10),
            PositionsDuringB.end());

  const auto Encoded = Calls("ffmpeg");
  ASSERT_EQ(Encoded.size(), 3u);
  EXPECT_EQ(
      Encoded[0],
      (Strings{Tools + "ffmpeg", "-i",  A,        "-vcodec", "mpeg4",      "-f",  "3gp",  "-b",
               "120K",           "-r",  "14.985", "-s",      "176x144",    "-ar", "8000", "-ab",
               "12.2K",          "-ac", "1",      "-y",      Out + "a.3GP"}));
  EXPECT_EQ(Encoded[1][2], B);
  EXPECT_EQ(Encoded[1][20], Out + "b c.3GP");
  EXPECT_EQ(Encoded[2][20], Out + "c.3GP");
  for (const char* Name : {"a.3GP", "b c.3GP", "c.3GP"})
    EXPECT_TRUE(fs::exists(Out + Name)) << Name;

  EXPECT_EQ(Column(1), (Strings{"完成", "完成", "完成"}));
  EXPECT_EQ(Label(), "转换完成");
  EXPECT_EQ(Form->ProgressBar1->value(), 0);
  EXPECT_TRUE(ControlsEnabled());
  EXPECT_TRUE(Dialogs->NothingShown());
}

TEST_F(WorkflowTest, TheChosenSettingsReachTheEncoder) {
  Add(Source("a.rm", ""));
  ChooseOutput(Root + "/out");
  Form->cmbVideoKbps->setCurrentIndex(Form->cmbVideoKbps->findText(QStringLiteral("256K")));
  Form->cmbVideoFrame->setCurrentIndex(Form->cmbVideoFrame->findText(QStringLiteral("25.000")));
  Form->cmbVideoSize->setCurrentIndex(Form->cmbVideoSize->findText(QStringLiteral("320x240")));
  Form->btnConvert->click();
  const auto Encoded = Calls("ffmpeg");
  ASSERT_EQ(Encoded.size(), 1u);
  EXPECT_EQ(Strings(Encoded[0].begin() + 7, Encoded[0].end() - 1),
            (Strings{"-b", "256K", "-r", "25.000", "-s", "320x240", "-ar", "8000", "-ab", "12.2K",
                     "-ac", "1", "-y"}));
}

TEST_F(WorkflowTest, AFailedEntryIsMarkedAndTheBatchGoesOn) {
  const std::string Bad = Source("bad.rm",
                                 "ffmpeg: say Input #0, rm\nffmpeg: say Unknown encoder "
                                 "'libopencore_amrnb'\nffmpeg: exit 1\n");
  const std::string Good = Source("good.rm", "");
  Add(Bad);
  Add(Sources + "missing.rm");  // the stand-ins cannot read it
  Add(Good);
  ChooseOutput(Root + "/out");
  Form->btnConvert->click();
  EXPECT_EQ(Column(1), (Strings{"失败", "失败", "完成"}));
  EXPECT_EQ(Tip(0), "Unknown encoder 'libopencore_amrnb'");
  EXPECT_EQ(Tip(1), Sources + "missing.rm: No such file or directory");
  EXPECT_EQ(Tip(2), "");
  EXPECT_EQ(Label(), "转换完成");
  EXPECT_TRUE(ControlsEnabled());

  // A second batch that succeeds clears the reason.
  std::ofstream(Bad) << "";
  Form->btnConvert->click();
  EXPECT_EQ(Cell(0, 1), "完成");
  EXPECT_EQ(Tip(0), "");
}

TEST_F(WorkflowTest, AnEncoderThatCannotStartFailsEveryEntryWithItsReason) {
  Add(Source("a.rm", ""));
  Add(Source("b.rm", ""));
  fs::remove(Tools + "ffmpeg");
  const TScopedPath NoTools(Root);
  ChooseOutput(Root + "/out");
  Form->btnConvert->click();
  EXPECT_EQ(Column(1), (Strings{"失败", "失败"}));
  EXPECT_NE(Tip(0).find("doesn't exist."), std::string::npos) << Tip(0);
  EXPECT_EQ(Label(), "转换完成");
  EXPECT_TRUE(ControlsEnabled());
}

TEST_F(WorkflowTest, AnExceptionInsideTheBatchUnlocksTheWindow) {
  Add(Source("a.rm", "ffmpeg: sleep 300\n"));
  Add(Source("b.rm", ""));
  ChooseOutput(Root + "/out");
  // Something empties the queue behind the batch's back while the first entry runs.
  QTimer::singleShot(100, Form.get(), [&] { Form->btnClearClick(); });
  Form->btnConvert->click();
  EXPECT_EQ(Dialogs->Errors, (Strings{"List index out of bounds (0)"}));
  EXPECT_TRUE(ControlsEnabled());
  EXPECT_EQ(Calls("ffmpeg").size(), 1u);
}

TEST_F(WorkflowTest, ClosingDuringABatchAsksThenStopsRemovesThePartialFileAndCloses) {
  const std::string A =
      Source("a.rm", "ffmpeg: say ffmpeg_release_time=1=ffmpeg_release_time\nffmpeg: hang\n");
  Add(A);
  Add(Source("b.rm", ""));
  ChooseOutput(Root + "/out");
  const std::string Partial = Root + "/out/a.3GP";
  Dialogs->YesNo = {false, true};
  bool StillRunningAfterNo = false;
  QTimer::singleShot(300, Form.get(), [&] {
    Form->close();  // answered No
    StillRunningAfterNo = Form->CommandRunner1->IsRunning() && Form->FFileList != nullptr;
    Form->close();  // answered Yes
  });
  Form->btnConvert->click();
  EXPECT_TRUE(StillRunningAfterNo);
  EXPECT_EQ(Dialogs->Questions, (Strings{"正在转换，确定要退出吗？", "正在转换，确定要退出吗？"}));
  EXPECT_FALSE(fs::exists(Partial));
  EXPECT_EQ(Calls("ffmpeg").size(), 1u);  // the batch ended at that entry
  // The close comes once the batch has let go of the queue.
  EXPECT_TRUE(RunLoopUntil([&] { return Form->FFileList == nullptr; }));
  EXPECT_FALSE(Form->CommandRunner1->IsRunning());
}

TEST_F(WorkflowTest, ClosingDuringAProbeStopsItAndClosesWithoutAQuestion) {
  Add(Source("first.rm", "mplayer: say ID_LENGTH=4\n"));
  QTimer::singleShot(200, Form.get(), [&] { Form->close(); });
  Add(Source("hangs.rm", "mplayer: hang\n"));
  EXPECT_TRUE(Dialogs->Questions.empty());
  EXPECT_FALSE(Form->CommandRunner2->IsRunning());
  EXPECT_TRUE(RunLoopUntil([&] { return Form->FFileList == nullptr; }));
}

// Offers Paths to the window as a drag that enters it and is dropped; tells whether the
// window took the drag and the drop. (Qt hands a drop only to a widget that its own drag
// manager saw accept the drag, so the events go to the window directly.)
std::pair<bool, bool> Drop(QWidget& Window, const QStringList& Paths) {
  QMimeData Data;
  QList<QUrl> Urls;
  for (const QString& Path : Paths) Urls << QUrl::fromLocalFile(Path);
  Data.setUrls(Urls);
  QDragEnterEvent Enter(QPoint(100, 100), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
  Enter.setAccepted(false);
  static_cast<QObject&>(Window).event(&Enter);
  QDropEvent Dropped(QPointF(100, 100), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
  Dropped.setAccepted(false);
  static_cast<QObject&>(Window).event(&Dropped);
  return {Enter.isAccepted(), Dropped.isAccepted()};
}

TEST_F(WorkflowTest, DroppedRealMediaFilesAreMeasuredAndQueuedInOrder) {
  Add(Source("first.rm", ""));
  const std::string A = Source("a.RM", "mplayer: say ID_LENGTH=5\n");
  const std::string B = Source("b c.rmvb", "mplayer: say ID_LENGTH=6\n");
  const std::string Text = Source("notes.txt", "");
  EXPECT_EQ(Drop(*Form, {ToQt(A), ToQt(Text), ToQt(B)}), std::make_pair(true, true));
  ASSERT_TRUE(
      RunLoopUntil([&] { return Form->FFileList->size() == 3 && Form->btnAdd->isEnabled(); }));
  EXPECT_EQ(Column(0), (Strings{Sources + "first.rm", A, B}));
  EXPECT_EQ(Form->GetFileInfo(1).Duration, 5);
  EXPECT_EQ(Form->GetFileInfo(2).Duration, 6);
  EXPECT_EQ(Calls("mplayer").size(), 3u);

  EXPECT_EQ(Drop(*Form, {ToQt(Text), ToQt(Sources)}), std::make_pair(false, false));
  RunLoopUntil([] { return false; }, std::chrono::milliseconds(50));
  EXPECT_EQ(Form->FFileList->size(), 3u);
}

TEST_F(WorkflowTest, DropsDuringABatchAreIgnored) {
  Add(Source("a.rm", "ffmpeg: sleep 300\n"));
  ChooseOutput(Root + "/out");
  const std::string B = Source("b.rm", "");
  std::pair<bool, bool> Taken{true, true};
  QTimer::singleShot(100, Form.get(), [&] { Taken = Drop(*Form, {ToQt(B)}); });
  Form->btnConvert->click();
  RunLoopUntil([] { return false; }, std::chrono::milliseconds(100));
  EXPECT_EQ(Taken, std::make_pair(false, false));
  EXPECT_EQ(Form->FFileList->size(), 1u);
  EXPECT_EQ(Calls("mplayer").size(), 1u);
}

}  // namespace
}  // namespace marlovent::testing
