// The main window as a fresh start shows it: defaults, layout, captions, tab order,
// hidden groups, pick-only lists, the skin, the banner page and closing.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTextBrowser>
#include <QTimer>

#include "WindowTestSupport.h"
#include "platform/Label.h"
#include "platform/ProgressBar.h"
#include "platform/Text.h"
#include "platform/VirtualListView.h"

namespace marlovent::testing {
namespace {

using platform::ToQt;

QStringList Items(const QComboBox* Box) {
  QStringList Result;
  for (int At = 0; At < Box->count(); ++At) Result << Box->itemText(At);
  return Result;
}

QStringList List(std::initializer_list<const char*> Texts) {
  QStringList Result;
  for (const char* Text : Texts) Result << ToQt(Text);
  return Result;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dialogs = &FreshDialogs();
    Form = StartWindow();
  }
  TScriptedDialogs* Dialogs = nullptr;
  std::unique_ptr<TFrmMain> Form;
};

TEST_F(MainWindowTest, FreshStartShowsDefaultsAndAnEmptyQueue) {
  EXPECT_EQ(Form->cmbVideoKbps->currentText(), "120K");
  EXPECT_EQ(Form->cmbVideoFrame->currentText(), "14.985");
  EXPECT_EQ(Form->cmbVideoSize->currentText(), "176x144");
  EXPECT_EQ(Form->cmbAudioKbps->currentText(), "12.2K");
  EXPECT_EQ(Form->cmbAudioSample->currentText(), "8000");
  EXPECT_EQ(Form->cmbAudioTrack->currentText(), "1 - Mono");

  ASSERT_NE(Form->FFileList, nullptr);
  EXPECT_TRUE(Form->FFileList->empty());
  EXPECT_EQ(Form->lvwFiles->ItemCount(), 0);
  EXPECT_TRUE(Form->edtSaveDir->text().isEmpty());
  EXPECT_TRUE(Form->edtSaveDir->isReadOnly());
  EXPECT_EQ(Form->lblInfo->text(), ToQt("准备就绪"));
  EXPECT_EQ(Form->ProgressBar1->minimum(), 0);
  EXPECT_EQ(Form->ProgressBar1->maximum(), 100);
  EXPECT_EQ(Form->ProgressBar1->value(), 0);
  EXPECT_FALSE(Form->FProbeFinished);

  ASSERT_NE(Form->CommandRunner1, nullptr);
  ASSERT_NE(Form->CommandRunner2, nullptr);
  EXPECT_TRUE(Form->CommandRunner1->OnNewLine);
  EXPECT_TRUE(Form->CommandRunner1->OnTerminated);
  EXPECT_FALSE(Form->CommandRunner2->OnNewLine);  // the probe reads Lines instead
  EXPECT_TRUE(Form->CommandRunner2->OnTerminated);

  EXPECT_EQ(Form->FAppDir, AppDirOf(platform::TApplication::ExeName()));
  EXPECT_EQ(Form->FAppDir.back(), '/');
  EXPECT_TRUE(Dialogs->NothingShown());
}

TEST_F(MainWindowTest, CaptionTitleAndFixedSize) {
  EXPECT_EQ(Form->windowTitle(), "Marlovent 5.2.1  e-mail:marlovent@example.com");
  EXPECT_EQ(App().Title(), "Marlovent 5.2  e-mail:marlovent@example.com");
  EXPECT_EQ(Form->Label3->text(), "e-mail marlovent@example.com ");

  EXPECT_EQ(Form->minimumSize(), QSize(533, 441));
  EXPECT_EQ(Form->maximumSize(), QSize(533, 441));
  const Qt::WindowFlags Flags = Form->windowFlags();
  EXPECT_FALSE(Flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(Flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(Flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_EQ(Form->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(Form->font().pixelSize(), 12);
  EXPECT_EQ(Form->font().families().value(0), "SimSun");
}

// Label3's address must be readable in full: it ends inside the window.
TEST_F(MainWindowTest, ContactAddressFitsTheWindow) {
  const QFontMetrics Metrics(Form->Label3->font());
  const int TextWidth = Metrics.horizontalAdvance(Form->Label3->text());
  EXPECT_LE(Form->Label3->x() + TextWidth, Form->width());
  EXPECT_LE(Form->Label3->geometry().bottom(), Form->height());
}

struct TPlace {
  const char* Name;
  const char* Parent;
  int Left, Top, Width, Height;
};

// Every control with a given size, at its place in its parent.
const TPlace Places[] = {
    {"WebBrowser1", "FrmMain", 0, 0, 533, 161},
    {"GroupBox3", "FrmMain", 0, 161, 533, 120},
    {"GroupBox6", "FrmMain", 0, 281, 533, 48},
    {"GroupBox2", "FrmMain", 0, 329, 533, 64},
    {"btnConvert", "FrmMain", 218, 401, 97, 33},
    {"Panel1", "GroupBox3", 2, 14, 331, 104},
    {"GroupBox5", "GroupBox3", 333, 14, 198, 104},
    {"GroupBox4", "GroupBox3", 529, 30, 255, 88},
    {"lvwFiles", "Panel1", 0, 0, 331, 80},
    {"Panel2", "Panel1", 0, 80, 331, 24},
    {"btnAdd", "Panel2", 16, 0, 75, 25},
    {"btnDelete", "Panel2", 107, 0, 75, 25},
    {"btnClear", "Panel2", 198, 0, 75, 25},
    {"GroupBox1", "Panel1", 312, 88, 178, 72},
    {"btnMoveToUp", "GroupBox1", 328, 16, 75, 25},
    {"btnMoveToDown", "GroupBox1", 416, 16, 75, 25},
    {"cmbVideoKbps", "GroupBox5", 72, 8, 120, 20},
    {"cmbVideoFrame", "GroupBox5", 72, 32, 120, 20},
    {"cmbVideoSize", "GroupBox5", 72, 56, 120, 20},
    {"cmbAudioKbps", "GroupBox4", 72, 8, 120, 20},
    {"cmbAudioSample", "GroupBox4", 72, 32, 120, 20},
    {"cmbAudioTrack", "GroupBox4", 72, 56, 120, 20},
    {"edtSaveDir", "GroupBox6", 72, 16, 353, 20},
    {"Button8", "GroupBox6", 440, 16, 85, 25},
    {"ProgressBar1", "GroupBox2", 112, 35, 409, 18},
};

// Labels size themselves to their text; only their corner is given.
const TPlace LabelCorners[] = {
    {"Label7", "GroupBox5", 8, 16, 0, 0},    {"Label8", "GroupBox5", 8, 38, 0, 0},
    {"Label9", "GroupBox5", 8, 60, 0, 0},    {"Label4", "GroupBox4", 8, 16, 0, 0},
    {"Label5", "GroupBox4", 8, 38, 0, 0},    {"Label6", "GroupBox4", 8, 60, 0, 0},
    {"Label10", "GroupBox6", 16, 20, 0, 0},  {"Label1", "GroupBox2", 16, 16, 0, 0},
    {"lblInfo", "GroupBox2", 112, 16, 0, 0}, {"Label2", "GroupBox2", 16, 40, 0, 0},
    {"Label3", "FrmMain", 384, 424, 150, 0},
};

TEST_F(MainWindowTest, EveryControlSitsWhereTheLayoutPutsIt) {
  for (const TPlace& Place : Places) {
    SCOPED_TRACE(Place.Name);
    const auto* Control = Form->findChild<QWidget*>(QString::fromLatin1(Place.Name));
    ASSERT_NE(Control, nullptr);
    EXPECT_EQ(Control->parentWidget()->objectName(), Place.Parent);
    EXPECT_EQ(Control->geometry(), QRect(Place.Left, Place.Top, Place.Width, Place.Height));
  }
  for (const TPlace& Place : LabelCorners) {
    SCOPED_TRACE(Place.Name);
    const auto* Control = Form->findChild<QLabel*>(QString::fromLatin1(Place.Name));
    ASSERT_NE(Control, nullptr);
    EXPECT_EQ(Control->parentWidget()->objectName(), Place.Parent);
    EXPECT_EQ(Control->pos(), QPoint(Place.Left, Place.Top));
    if (Place.Width > 0) {
      EXPECT_EQ(Control->width(), Place.Width);
    }
    // Nothing of the text is cut off.
    EXPECT_GE(Control->width(), Control->fontMetrics().horizontalAdvance(Control->text()));
    EXPECT_GE(Control->height(), Control->fontMetrics().height());
  }
}

TEST_F(MainWindowTest, CaptionsOfGroupsAndButtons) {
  const std::pair<const char*, const char*> Captions[] = {
      {"GroupBox3", "设置"},      {"GroupBox6", "输出"},     {"GroupBox2", "进度"},
      {"GroupBox5", "视频选项"},  {"GroupBox4", "音频选项"}, {"GroupBox1", ""},
      {"btnAdd", "新增"},         {"btnDelete", "删除"},     {"btnClear", "清空"},
      {"btnMoveToUp", "上移"},    {"btnMoveToDown", "下移"}, {"Button8", "设置输出目录"},
      {"btnConvert", "立即转换"}, {"Label7", "质量(KBps)"},  {"Label8", "视频帧频"},
      {"Label9", "视频大小"},     {"Label4", "质量(KBps)"},  {"Label5", "音频采样率"},
      {"Label6", "音频声道数"},   {"Label10", "输出目录"},   {"Label1", "当前操作描述"},
      {"Label2", "当前文件进度"}};
  for (const auto& [Name, Caption] : Captions) {
    SCOPED_TRACE(Name);
    const QObject* Control = Form->findChild<QObject*>(QString::fromLatin1(Name));
    ASSERT_NE(Control, nullptr);
    QString Text;
    if (const auto* Box = qobject_cast<const QGroupBox*>(Control)) Text = Box->title();
    if (const auto* Button = qobject_cast<const QPushButton*>(Control)) Text = Button->text();
    if (const auto* Label = qobject_cast<const QLabel*>(Control)) Text = Label->text();
    EXPECT_EQ(Text, ToQt(Caption));
  }
  const QAbstractItemModel* Model = Form->lvwFiles->model();
  EXPECT_EQ(Model->columnCount(), 2);
  EXPECT_EQ(Model->headerData(0, Qt::Horizontal).toString(), ToQt("文件路径"));
  EXPECT_EQ(Model->headerData(1, Qt::Horizontal).toString(), ToQt("状态"));
}

TEST_F(MainWindowTest, ComboBoxesOfferOnlyTheirItems) {
  const std::pair<QComboBox*, QStringList> Lists[] = {
      {Form->cmbVideoKbps, List({"40K", "80K", "120K", "256K", "512K"})},
      {Form->cmbVideoFrame, List({"7", "14.985", "23.975", "25.000", "29.970"})},
      {Form->cmbVideoSize,
       List({"128x96", "128x160", "176x144", "320x240", "352x288", "704x576", "1408x1152"})},
      {Form->cmbAudioKbps,
       List({"4.75K", "5.15K", "6.9K", "6.7K", "7.4K", "7.95K", "10.2K", "12.2K"})},
      {Form->cmbAudioSample, List({"8000"})},
      {Form->cmbAudioTrack, List({"1 - Mono"})}};
  for (const auto& [Box, Expected] : Lists) {
    SCOPED_TRACE(Box->objectName().toStdString());
    EXPECT_EQ(Items(Box), Expected);
    EXPECT_FALSE(Box->isEditable());
    EXPECT_EQ(Box->lineEdit(), nullptr);  // nothing to type into
  }
}

// The widgets Tab reaches from Start, in order, as Qt walks the focus chain, until it
// comes back to Start.
std::vector<std::string> TabWalk(QWidget* Start) {
  std::vector<std::string> Names;
  for (QWidget* At = Start->nextInFocusChain(); At != Start; At = At->nextInFocusChain()) {
    if ((At->focusPolicy() & Qt::TabFocus) && At->isVisible() && At->isEnabled())
      Names.push_back(At->objectName().toStdString());
  }
  return Names;
}

TEST_F(MainWindowTest, TabGoesBitrateFrameSizeFrameRateThenOnThroughTheWindow) {
  Form->show();
  const std::vector<std::string> Expected = {
      "cmbVideoSize", "cmbVideoFrame", "lvwFiles",   "btnAdd",     "btnDelete",
      "btnClear",     "Button8",       "edtSaveDir", "btnConvert", "WebBrowser1"};
  EXPECT_EQ(TabWalk(Form->cmbVideoKbps), Expected);
}

TEST_F(MainWindowTest, HiddenGroupsStayHiddenWhenTheWindowShows) {
  Form->show();
  EXPECT_TRUE(Form->isVisible());
  const std::vector<QWidget*> Hiddens = {
      Form->GroupBox1,    Form->btnMoveToUp,    Form->btnMoveToDown, Form->GroupBox4,
      Form->cmbAudioKbps, Form->cmbAudioSample, Form->cmbAudioTrack};
  for (QWidget* Hidden : Hiddens) {
    SCOPED_TRACE(Hidden->objectName().toStdString());
    EXPECT_FALSE(Hidden->isVisible());
  }
  const std::vector<QWidget*> Showns = {
      Form->lvwFiles,      Form->btnAdd,       Form->btnDelete,  Form->btnClear, Form->cmbVideoKbps,
      Form->cmbVideoFrame, Form->cmbVideoSize, Form->edtSaveDir, Form->Button8,  Form->btnConvert,
      Form->ProgressBar1,  Form->WebBrowser1,  Form->Label3};
  for (QWidget* Shown : Showns) {
    SCOPED_TRACE(Shown->objectName().toStdString());
    EXPECT_TRUE(Shown->isVisible());
  }
}

TEST_F(MainWindowTest, StartAppliesTheThirdSkinAndOpensTheBanner) {
  ASSERT_EQ(Form->SkinStore1.Store.size(), 5u);
  for (std::size_t At = 0; At < 5; ++At) {
    EXPECT_EQ(Form->SkinStore1.Store[At].Name, "SkinItem" + std::to_string(At));
    EXPECT_FALSE(Form->SkinStore1.Store[At].Data.empty());
  }
  EXPECT_TRUE(Form->SkinData1.Active());
  EXPECT_EQ(Form->SkinData1.Skin(), Form->SkinStore1.Store[2].Data);
  EXPECT_EQ(Form->styleSheet(), ToQt(Form->SkinStore1.Store[2].Data));

  EXPECT_EQ(Form->WebBrowser1->source().toString(), "qrc:/banner.html");
  const QString Page = Form->WebBrowser1->toPlainText();
  EXPECT_TRUE(Page.contains("Marlovent"));
  EXPECT_TRUE(Page.contains("marlovent@example.com"));
  EXPECT_TRUE(Form->WebBrowser1->openExternalLinks());
}

TEST(SkinStoreTest, FewerThanThreeSkinsLoadNothingAndRaiseNothing) {
  FreshDialogs();
  TFrmMain Form(App());
  Form.SkinStore1.Store.resize(2);
  EXPECT_NO_THROW(Form.FormCreate());
  EXPECT_TRUE(Form.SkinData1.Active());
  EXPECT_TRUE(Form.SkinData1.Skin().empty());
  EXPECT_TRUE(Form.styleSheet().isEmpty());
  EXPECT_NE(Form.FFileList, nullptr);  // the later steps ran
  EXPECT_EQ(Form.cmbVideoKbps->currentText(), "120K");
}

TEST(AppDirTest, FolderOfTheExecutableWithItsTrailingSlash) {
  const std::pair<const char*, const char*> Cases[] = {
      {"/opt/m/marlovent", "/opt/m/"},
      {"/marlovent", "/"},
      {"/home/u/视频 工具/marlovent", "/home/u/视频 工具/"},
      {"marlovent", ""}};
  for (const auto& [Exe, Dir] : Cases) EXPECT_EQ(AppDirOf(Exe), Dir) << Exe;
}

// Closing the main window ends the program's message loop.
TEST_F(MainWindowTest, ClosingWithAnEmptyQueueEndsWithoutAMessage) {
  App().SetMainForm(*Form);
  ASSERT_EQ(App().MainForm(), Form.get());
  QTimer Limit;  // a loop that does not end fails the test instead of hanging it
  Limit.setSingleShot(true);
  QObject::connect(&Limit, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  Limit.start(10000);
  QMetaObject::invokeMethod(
      Form.get(), [&] { Form->close(); }, Qt::QueuedConnection);
  EXPECT_EQ(App().Run(), 0);
  EXPECT_FALSE(Form->isVisible());
  EXPECT_EQ(Form->FFileList, nullptr);
  EXPECT_TRUE(Dialogs->NothingShown());
}

// The current operation's text can grow to a whole path: the label grows with it.
TEST_F(MainWindowTest, LabelsGrowWithTheirText) {
  Form->lblInfo->setText(ToQt("正在转换 /home/u/视频/a rather long film name.rmvb"));
  EXPECT_GE(Form->lblInfo->width(),
            Form->lblInfo->fontMetrics().horizontalAdvance(Form->lblInfo->text()));
  EXPECT_EQ(Form->lblInfo->pos(), QPoint(112, 16));
  Form->lblInfo->setText(ToQt("转换完成"));
  EXPECT_LT(Form->lblInfo->width(), 100);
}

}  // namespace
}  // namespace marlovent::testing
