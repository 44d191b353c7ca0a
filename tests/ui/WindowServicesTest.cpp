// The window's services: the folder chooser, the runners' end handlers served through
// the event loop, the default exception handler, the real message boxes and dialogs,
// and the virtual list.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "WindowTestSupport.h"
#include "platform/MainThreadQueue.h"
#include "platform/ProgressBar.h"
#include "platform/Text.h"
#include "platform/VirtualListView.h"

namespace marlovent::testing {
namespace {

using platform::ToQt;
using TAnswer = TScriptedDialogs::TAnswer;

struct TFolderCase {
  const char* Name;
  std::vector<TAnswer> Answers;  // one per press of the button
  const char* Field;             // what edtSaveDir shows afterwards
};

TEST(FolderChooserTest, ButtonPutsTheChosenFolderWithOneTrailingSlash) {
  const TFolderCase Cases[] = {
      {"a folder gets its slash", {{"/home/u/Video"}}, "/home/u/Video/"},
      {"the root stays as it is", {{"/"}}, "/"},
      {"a slash already there is kept single", {{"/srv/out/"}}, "/srv/out/"},
      {"blanks and Chinese pass unchanged", {{"/home/u/我的 视频"}}, "/home/u/我的 视频/"},
      {"cancel keeps the earlier choice", {{"/home/u/Video"}, {std::nullopt}}, "/home/u/Video/"},
      {"cancel at first leaves it empty", {{std::nullopt}}, ""},
      {"an empty path counts as no choice", {{"/a"}, {""}}, "/a/"},
      {"a failing dialog keeps the earlier choice", {{"/a"}, {std::nullopt, true}}, "/a/"},
      {"a later choice replaces the earlier", {{"/a"}, {"/b/c"}}, "/b/c/"},
  };
  for (const TFolderCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TScriptedDialogs& Dialogs = FreshDialogs();
    Dialogs.Folders.assign(Case.Answers.begin(), Case.Answers.end());
    const auto Form = StartWindow();
    for (std::size_t Press = 0; Press < Case.Answers.size(); ++Press) Form->Button8->click();
    EXPECT_EQ(Form->edtSaveDir->text(), ToQt(Case.Field));
    EXPECT_EQ(Dialogs.FolderTitles, std::vector<std::string>(Case.Answers.size(), "请选择文件"));
    EXPECT_TRUE(Dialogs.NothingShown());  // not even for the failing dialog
  }
}

TEST(FolderChooserTest, ChooseFolderGivesNothingForAFailure) {
  TScriptedDialogs Dialogs;
  Dialogs.Folders.push_back({std::nullopt, true});
  EXPECT_EQ(ChooseFolder(Dialogs, nullptr, "t", ""), "");
}

// The runners call their end handlers on their workers; the bar is set on the interface
// thread through the request queue, which the Qt event loop serves by itself.
TEST(RunnerHandlersTest, EncoderEndResetsTheBarThroughTheEventLoop) {
  FreshDialogs();
  const auto Form = StartWindow();
  Form->ProgressBar1->setValue(40);
  Form->CommandRunner1->CommandLine = "/bin/true";
  Form->CommandRunner1->Execute();
  // Only the event loop serves the request here: Stop, which serves it too, comes after.
  EXPECT_TRUE(RunLoopUntil([&] { return Form->ProgressBar1->value() == 0; }));
  EXPECT_TRUE(RunLoopUntil([&] { return !Form->CommandRunner1->IsRunning(); }));
  Form->CommandRunner1->Stop();
}

TEST(RunnerHandlersTest, ProbeEndSetsTheFlagAndLeavesTheBar) {
  FreshDialogs();
  const auto Form = StartWindow();
  Form->ProgressBar1->setValue(40);
  Form->CommandRunner2->CommandLine = "/bin/true";
  Form->CommandRunner2->Execute();
  EXPECT_TRUE(RunLoopUntil([&] { return Form->FProbeFinished.load(); }));
  Form->CommandRunner2->Stop();
  EXPECT_EQ(Form->ProgressBar1->value(), 40);
}

TEST(WaitUntilTest, AWakeFromAnotherThreadEndsTheSleepAndTheDeadlineEndsTheWait) {
  std::atomic<bool> Ready{false};
  std::thread Worker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    Ready = true;
    platform::MainThreadQueue::Instance().Wake();
  });
  const auto Start = std::chrono::steady_clock::now();
  // Far beyond the wake: only the wake can end this wait in time.
  const bool Done = App().WaitUntil([&] { return Ready.load(); }, Start + std::chrono::seconds(30));
  Worker.join();
  EXPECT_TRUE(Done);
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(5));

  const auto Again = std::chrono::steady_clock::now();
  EXPECT_FALSE(App().WaitUntil([] { return false; }, Again + std::chrono::milliseconds(120)));
  const auto Waited = std::chrono::steady_clock::now() - Again;
  EXPECT_GE(Waited, std::chrono::milliseconds(120));
  EXPECT_LT(Waited, std::chrono::seconds(5));
}

TEST(ProgressBarTest, PositionsOutsideTheRangeShowAsItsNearerEnd) {
  platform::TProgressBar Bar(nullptr);
  Bar.setRange(0, 10);
  struct {
    int Position, Shown;
  } const Cases[] = {{4, 4}, {99, 10}, {-3, 0}, {10, 10}, {0, 0}};
  for (const auto& Case : Cases) {
    Bar.SetPosition(Case.Position);
    EXPECT_EQ(Bar.value(), Case.Shown) << Case.Position;
  }
  Bar.setRange(0, 0);
  Bar.SetPosition(7);
  EXPECT_EQ(Bar.value(), 0);
}

TEST(DefaultExceptionHandlerTest, AHandlersExceptionBecomesAnErrorBox) {
  TScriptedDialogs& Dialogs = FreshDialogs();
  bool After = false;
  App().Guard([] { throw std::runtime_error("建立目录：/x出错！"); });
  App().Guard([&] { After = true; });
  EXPECT_EQ(Dialogs.Errors, std::vector<std::string>{"建立目录：/x出错！"});
  EXPECT_TRUE(After);
}

TEST(DefaultExceptionHandlerTest, AnExceptionLeavingAnEventReachesTheHandlerNotQt) {
  TScriptedDialogs& Dialogs = FreshDialogs();
  QObject Target;
  QMetaObject::invokeMethod(
      &Target, [] { throw std::runtime_error("from an event"); }, Qt::QueuedConnection);
  EXPECT_TRUE(RunLoopUntil([&] { return !Dialogs.Errors.empty(); }));
  EXPECT_EQ(Dialogs.Errors, std::vector<std::string>{"from an event"});
}

// Answers the next modal dialog with Answer, once it shows.
void WhenModalShows(const std::function<void(QWidget&)>& Answer) {
  auto Owned = std::make_unique<QTimer>();
  QTimer* Poll = Owned.get();
  Poll->setParent(qApp);  // the application owns it until it has answered
  Owned.release();
  QObject::connect(Poll, &QTimer::timeout, [Poll, Answer] {
    if (QWidget* Modal = QApplication::activeModalWidget()) {
      Poll->stop();
      Poll->deleteLater();
      Answer(*Modal);
    }
  });
  Poll->start(10);
}

TEST(QtDialogsTest, MessageBoxesCarryTheApplicationTitle) {
  platform::TQtDialogs Dialogs(ApplicationTitle);
  struct TSeen {
    QString Caption, Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
  };
  const auto Answer = [](TSeen& Seen, QMessageBox::StandardButton Button) {
    WhenModalShows([&Seen, Button](QWidget& Modal) {
      auto& Box = dynamic_cast<QMessageBox&>(Modal);
      Seen = {Box.windowTitle(), Box.text(), Box.icon()};
      Box.button(Button)->click();
    });
  };
  TSeen Plain, Error, ErrorKind, Question;
  Answer(Plain, QMessageBox::Ok);
  Dialogs.ShowMessage(nullptr, "请选择保存的文件夹");
  Answer(Error, QMessageBox::Ok);
  Dialogs.ShowError(nullptr, "出错！");
  Answer(ErrorKind, QMessageBox::Ok);
  Dialogs.ShowErrorDialog(nullptr, "建立目录：/x/出错！\r\n\r\n请检查目录名是否正确。");
  Answer(Question, QMessageBox::Yes);
  const bool Yes = Dialogs.AskYesNo(nullptr, "正在转换，确定要退出吗？");

  EXPECT_EQ(Plain.Caption, ToQt(ApplicationTitle));
  EXPECT_EQ(Plain.Text, ToQt("请选择保存的文件夹"));
  EXPECT_EQ(Plain.Icon, QMessageBox::NoIcon);
  EXPECT_EQ(Error.Caption, ToQt(ApplicationTitle));
  EXPECT_EQ(Error.Icon, QMessageBox::Critical);
  // The error kind of message dialog has its own caption.
  EXPECT_EQ(ErrorKind.Caption, QStringLiteral("Error"));
  EXPECT_EQ(ErrorKind.Text, ToQt("建立目录：/x/出错！\r\n\r\n请检查目录名是否正确。"));
  EXPECT_EQ(ErrorKind.Icon, QMessageBox::Critical);
  EXPECT_EQ(Question.Caption, ToQt(ApplicationTitle));
  EXPECT_EQ(Question.Icon, QMessageBox::Question);
  EXPECT_TRUE(Yes);
}

// Types Path into the file dialog's name field and presses Enter, as a user does.
void TypeIntoFileDialog(const QString& Path, QString* Title = nullptr) {
  WhenModalShows([Path, Title](QWidget& Modal) {
    auto& Dialog = dynamic_cast<QFileDialog&>(Modal);
    if (Title) *Title = Dialog.windowTitle();
    auto* Name = Dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(Name, nullptr);
    Name->setText(Path);
    QMetaObject::invokeMethod(&Dialog, "accept");
  });
}

class QtFileDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Root = std::filesystem::temp_directory_path() /
           ("marlovent-dialogs-" + std::to_string(::getpid()));
    std::filesystem::create_directories(Root / "old");
  }
  void TearDown() override { std::filesystem::remove_all(Root); }
  std::filesystem::path Root;
  platform::TQtDialogs Dialogs{ApplicationTitle};
};

TEST_F(QtFileDialogsTest, FolderBrowserTakesAnExistingOrANewFolder) {
  QString Title;
  TypeIntoFileDialog(ToQt((Root / "old").string()), &Title);
  EXPECT_EQ(Dialogs.BrowseForFolder(nullptr, "请选择文件", Root.string()), (Root / "old").string());
  EXPECT_EQ(Title, ToQt("请选择文件"));

  // A folder that does not exist yet: the conversion creates it.
  TypeIntoFileDialog(ToQt((Root / "new" / "sub").string()));
  EXPECT_EQ(Dialogs.BrowseForFolder(nullptr, "t", Root.string()), (Root / "new" / "sub").string());
  EXPECT_FALSE(std::filesystem::exists(Root / "new"));
}

TEST_F(QtFileDialogsTest, OpenDialogFindsRealMediaInAnyLetterCase) {
  for (const char* Name : {"clip.RMVB", "Film.rm", "other.txt"}) std::ofstream(Root / Name) << "x";
  const auto Shown = std::make_shared<std::set<QString>>();
  WhenModalShows([Shown](QWidget& Modal) {
    auto& Dialog = dynamic_cast<QFileDialog&>(Modal);
    Shown->insert(Dialog.nameFilters().join(u';'));
    Dialog.reject();
  });
  EXPECT_EQ(Dialogs.OpenFile(nullptr, "RM Files|*.RM;*.RMVB"), std::nullopt);
  EXPECT_EQ(*Shown, std::set<QString>{"RM Files (*.RM *.RMVB)"});

  TypeIntoFileDialog(ToQt((Root / "Film.rm").string()));
  EXPECT_EQ(Dialogs.OpenFile(nullptr, "RM Files|*.RM;*.RMVB"), (Root / "Film.rm").string());
}

TEST(QtNameFilterTest, WindowsFilterBecomesAQtFilter) {
  EXPECT_EQ(platform::QtNameFilter("RM Files|*.RM;*.RMVB"), "RM Files (*.RM *.RMVB)");
  EXPECT_EQ(platform::QtNameFilter("All (*)"), "All (*)");
}

class VirtualListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    View.AddColumn("A", 0);
    View.AddColumn("B", 80);
    View.resize(331, 200);
    View.OnData = [this](platform::TListItem& Item) {
      ++Asked;
      AskedRows.insert(Item.Index);
      Item.Caption = "row " + std::to_string(Item.Index);
      Item.SubItems.push_back("s" + std::to_string(Item.Index));
    };
  }
  QWidget Parent;
  platform::TVirtualListView View{&Parent};
  int Asked = 0;
  std::set<int> AskedRows;
};

TEST_F(VirtualListTest, AsksOnlyForTheRowsItShows) {
  View.SetItemCount(10000);
  Parent.show();
  View.grab();  // paints
  EXPECT_GT(Asked, 0);
  EXPECT_LT(AskedRows.size(), 40u);
  EXPECT_LT(*AskedRows.rbegin(), 40);
  const QModelIndex Last = View.model()->index(9999, 1);
  EXPECT_EQ(View.model()->data(Last).toString(), "s9999");
  EXPECT_EQ(View.model()->data(View.model()->index(9999, 0)).toString(), "row 9999");
}

TEST_F(VirtualListTest, CountChangesKeepTheSelectedIndex) {
  View.SetItemCount(3);
  View.SetItemIndex(1);
  View.SetItemCount(4);
  EXPECT_EQ(View.ItemIndex(), 1);
  View.SetItemCount(2);
  EXPECT_EQ(View.ItemIndex(), 1);
  View.SetItemCount(1);
  EXPECT_EQ(View.ItemIndex(), -1);  // the selected row went
  View.SetItemIndex(5);
  EXPECT_EQ(View.ItemIndex(), -1);
}

TEST_F(VirtualListTest, AFailingRowStaysEmptyAndIsReportedOnceAfterThePaint) {
  TScriptedDialogs& Dialogs = FreshDialogs();
  View.SetItemCount(3);
  View.OnData = [](platform::TListItem& Item) {
    if (Item.Index == 1) throw std::runtime_error("List index out of bounds (1)");
    Item.Caption = "fine";
  };
  Parent.show();
  View.grab();
  EXPECT_TRUE(Dialogs.Errors.empty());  // not from inside the paint
  View.grab();
  RunLoopUntil([&] { return !Dialogs.Errors.empty(); });
  App().ProcessMessages();
  EXPECT_EQ(Dialogs.Errors, std::vector<std::string>{"List index out of bounds (1)"});
  EXPECT_EQ(View.model()->data(View.model()->index(1, 0)).toString(), "");
  EXPECT_EQ(View.model()->data(View.model()->index(2, 0)).toString(), "fine");
}

// Outside a paint the list asks again each time, so a changed row never shows stale.
TEST_F(VirtualListTest, ChangedRowShowsWithoutACountChange) {
  View.SetItemCount(1);
  std::string Status = "准备就绪";
  View.OnData = [&](platform::TListItem& Item) { Item.SubItems = {Status}; };
  EXPECT_EQ(View.model()->data(View.model()->index(0, 1)).toString(), ToQt("准备就绪"));
  Status = "完成";
  EXPECT_EQ(View.model()->data(View.model()->index(0, 1)).toString(), ToQt("完成"));
}

TEST_F(VirtualListTest, RefreshAsksAgain) {
  View.SetItemCount(2);
  int Generation = 0;
  View.OnData = [&](platform::TListItem& Item) { Item.Caption = std::to_string(Generation); };
  EXPECT_EQ(View.model()->data(View.model()->index(0, 0)).toString(), "0");
  Generation = 1;
  View.Refresh();
  EXPECT_EQ(View.model()->data(View.model()->index(0, 0)).toString(), "1");
}

}  // namespace
}  // namespace marlovent::testing
