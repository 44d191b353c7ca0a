// The main window's controls: kind, parent, place, size, caption, items and tab order.
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QTextBrowser>

#include "platform/Label.h"
#include "platform/ProgressBar.h"
#include "platform/Text.h"
#include "platform/VirtualListView.h"
#include "ui/Main.h"

namespace marlovent {
namespace {

using platform::ToQt;

constexpr int ClientWidth = 533;
constexpr int ClientHeight = 441;
const QColor Silver(0xC0, 0xC0, 0xC0);

// Makes a control; its parent owns it from here on.
template <class T, class... Args>
T* Make(QWidget* Parent, Args&&... Arguments) {
  auto Control = std::make_unique<T>(std::forward<Args>(Arguments)...);
  Control->setParent(Parent);
  return Control.release();
}

template <class T>
T* Placed(T* Control, int Left, int Top, int Width, int Height) {
  Control->setGeometry(Left, Top, Width, Height);
  return Control;
}

QGroupBox* GroupBox(QWidget* Parent, const char* Caption, int Left, int Top, int Width,
                    int Height) {
  return Placed(Make<QGroupBox>(Parent, ToQt(Caption)), Left, Top, Width, Height);
}

QPushButton* Button(QWidget* Parent, const char* Caption, int Left, int Top, int Width,
                    int Height) {
  return Placed(Make<QPushButton>(Parent, ToQt(Caption)), Left, Top, Width, Height);
}

// A label sizes itself to its text.
platform::TLabel* Label(QWidget* Parent, const char* Caption, int Left, int Top) {
  auto* Control = Make<platform::TLabel>(Parent, ToQt(Caption));
  Control->move(Left, Top);
  Control->adjustSize();
  return Control;
}

// A pick-only list: the user chooses one of Items and cannot type.
QComboBox* PickList(QWidget* Parent, int Left, int Top, std::initializer_list<const char*> Items) {
  auto* Control = Placed(Make<QComboBox>(Parent), Left, Top, 120, 20);
  Control->setEditable(false);
  for (const char* Item : Items) Control->addItem(ToQt(Item));
  return Control;
}

QFrame* Panel(QWidget* Parent, int Left, int Top, int Width, int Height) {
  auto* Control = Placed(Make<QFrame>(Parent), Left, Top, Width, Height);
  Control->setFrameShape(QFrame::NoFrame);
  return Control;
}

// "SimSun" 12 px; where SimSun is missing, the installed CJK face takes its place.
QFont WindowFont() {
  QFont Font;
  Font.setFamilies({QStringLiteral("SimSun"), ToQt("宋体"), QStringLiteral("WenQuanYi Micro Hei"),
                    QStringLiteral("Noto Sans CJK SC")});
  Font.setPixelSize(12);
  return Font;
}

// Label3 carries only Latin text in a 150-pixel strip at the window's edge: a narrow face
// of the same size lets the whole address fit.
QFont ContactFont() {
  QFont Font = WindowFont();
  QStringList Families = Font.families();
  Families.insert(1, QStringLiteral("Liberation Sans Narrow"));
  Font.setFamilies(Families);
  return Font;
}

}  // namespace

void TFrmMain::BuildLayout() {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(ClientWidth, ClientHeight);
  setFont(WindowFont());
  QPalette Colours = palette();
  Colours.setColor(QPalette::Window, Silver);
  Colours.setColor(QPalette::WindowText, Qt::black);
  setPalette(Colours);
  setAutoFillBackground(true);
  setWindowTitle(ToQt(WindowCaption));
  setWindowIcon(QIcon(QStringLiteral(":/marlovent.png")));

  // Four bands from the top; the strip below them holds the convert button and the address.
  WebBrowser1 = Placed(Make<QTextBrowser>(this), 0, 0, ClientWidth, 161);
  WebBrowser1->setFrameShape(QFrame::NoFrame);
  WebBrowser1->setOpenExternalLinks(true);
  GroupBox3 = GroupBox(this, "设置", 0, 161, ClientWidth, 120);
  GroupBox6 = GroupBox(this, "输出", 0, 281, ClientWidth, 48);
  GroupBox2 = GroupBox(this, "进度", 0, 329, ClientWidth, 64);
  btnConvert = Button(this, "立即转换", 218, 401, 97, 33);
  Label3 = Make<QLabel>(this, ToQt("e-mail marlovent@example.com "));
  Label3->setFont(ContactFont());
  Label3->setGeometry(384, 424, 150, Label3->sizeHint().height());

  BuildSettings();
  BuildOutput();
  BuildProgress();
  SetTabOrder();
  NameControls();

  // Centred on the screen when first shown.
  if (const QScreen* Screen = QGuiApplication::primaryScreen())
    move(Screen->availableGeometry().center() - rect().center());
}

void TFrmMain::BuildSettings() {
  Panel1 = Panel(GroupBox3, 2, 14, 331, 104);
  GroupBox5 = GroupBox(GroupBox3, "视频选项", 333, 14, 198, 104);
  GroupBox4 = GroupBox(GroupBox3, "音频选项", 529, 30, 255, 88);
  GroupBox4->hide();

  lvwFiles = Placed(Make<platform::TVirtualListView>(Panel1, nullptr), 0, 0, 331, 80);
  lvwFiles->AddColumn("文件路径", 0);
  lvwFiles->AddColumn("状态", 80);
  lvwFiles->OnData = [this](platform::TListItem& Item) { lvwFilesData(Item); };

  Panel2 = Panel(Panel1, 0, 80, 331, 24);
  QPalette Colours = Panel2->palette();
  Colours.setColor(QPalette::Window, Silver);
  Panel2->setPalette(Colours);
  Panel2->setAutoFillBackground(true);
  btnAdd = Button(Panel2, "新增", 16, 0, 75, 25);
  btnDelete = Button(Panel2, "删除", 107, 0, 75, 25);
  btnClear = Button(Panel2, "清空", 198, 0, 75, 25);

  // Never shown: its move buttons lie beyond its own right edge.
  GroupBox1 = GroupBox(Panel1, "", 312, 88, 178, 72);
  GroupBox1->hide();
  btnMoveToUp = Button(GroupBox1, "上移", 328, 16, 75, 25);
  btnMoveToDown = Button(GroupBox1, "下移", 416, 16, 75, 25);

  Label7 = Label(GroupBox5, "质量(KBps)", 8, 16);
  cmbVideoKbps = PickList(GroupBox5, 72, 8, {"40K", "80K", "120K", "256K", "512K"});
  Label8 = Label(GroupBox5, "视频帧频", 8, 38);
  cmbVideoFrame = PickList(GroupBox5, 72, 32, {"7", "14.985", "23.975", "25.000", "29.970"});
  Label9 = Label(GroupBox5, "视频大小", 8, 60);
  cmbVideoSize =
      PickList(GroupBox5, 72, 56,
               {"128x96", "128x160", "176x144", "320x240", "352x288", "704x576", "1408x1152"});

  // Never shown: the fixed audio settings of every conversion.
  Label4 = Label(GroupBox4, "质量(KBps)", 8, 16);
  cmbAudioKbps = PickList(GroupBox4, 72, 8,
                          {"4.75K", "5.15K", "6.9K", "6.7K", "7.4K", "7.95K", "10.2K", "12.2K"});
  Label5 = Label(GroupBox4, "音频采样率", 8, 38);
  cmbAudioSample = PickList(GroupBox4, 72, 32, {"8000"});
  Label6 = Label(GroupBox4, "音频声道数", 8, 60);
  cmbAudioTrack = PickList(GroupBox4, 72, 56, {"1 - Mono"});
}

void TFrmMain::BuildOutput() {
  Label10 = Label(GroupBox6, "输出目录", 16, 20);
  edtSaveDir = Placed(Make<QLineEdit>(GroupBox6), 72, 16, 353, 20);
  edtSaveDir->setReadOnly(true);
  Button8 = Button(GroupBox6, "设置输出目录", 440, 16, 85, 25);
}

void TFrmMain::BuildProgress() {
  Label1 = Label(GroupBox2, "当前操作描述", 16, 16);
  lblInfo = Label(GroupBox2, "准备就绪", 112, 16);
  Label2 = Label(GroupBox2, "当前文件进度", 16, 40);
  ProgressBar1 = Placed(Make<platform::TProgressBar>(GroupBox2), 112, 35, 409, 18);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
}

// Every control carries its name from the layout, for the skins and for tests.
void TFrmMain::NameControls() {
  const std::pair<QWidget*, const char*> Names[] = {{this, "FrmMain"},
                                                    {WebBrowser1, "WebBrowser1"},
                                                    {GroupBox3, "GroupBox3"},
                                                    {Panel1, "Panel1"},
                                                    {lvwFiles, "lvwFiles"},
                                                    {Panel2, "Panel2"},
                                                    {btnAdd, "btnAdd"},
                                                    {btnDelete, "btnDelete"},
                                                    {btnClear, "btnClear"},
                                                    {GroupBox1, "GroupBox1"},
                                                    {btnMoveToUp, "btnMoveToUp"},
                                                    {btnMoveToDown, "btnMoveToDown"},
                                                    {GroupBox5, "GroupBox5"},
                                                    {Label7, "Label7"},
                                                    {Label8, "Label8"},
                                                    {Label9, "Label9"},
                                                    {cmbVideoKbps, "cmbVideoKbps"},
                                                    {cmbVideoFrame, "cmbVideoFrame"},
                                                    {cmbVideoSize, "cmbVideoSize"},
                                                    {GroupBox4, "GroupBox4"},
                                                    {Label4, "Label4"},
                                                    {Label5, "Label5"},
                                                    {Label6, "Label6"},
                                                    {cmbAudioKbps, "cmbAudioKbps"},
                                                    {cmbAudioSample, "cmbAudioSample"},
                                                    {cmbAudioTrack, "cmbAudioTrack"},
                                                    {GroupBox6, "GroupBox6"},
                                                    {Label10, "Label10"},
                                                    {edtSaveDir, "edtSaveDir"},
                                                    {Button8, "Button8"},
                                                    {GroupBox2, "GroupBox2"},
                                                    {Label1, "Label1"},
                                                    {lblInfo, "lblInfo"},
                                                    {Label2, "Label2"},
                                                    {ProgressBar1, "ProgressBar1"},
                                                    {btnConvert, "btnConvert"},
                                                    {Label3, "Label3"}};
  for (const auto& [Control, Name] : Names) Control->setObjectName(QString::fromLatin1(Name));
}

// Tab order, group by group: settings (video options: bitrate, frame size, frame rate;
// then the queue and its buttons), output (its button before its field), the convert
// button, the banner. Hidden controls drop out of the chain by themselves.
void TFrmMain::SetTabOrder() {
  QWidget* const Chain[] = {cmbAudioKbps, cmbAudioTrack, cmbAudioSample, cmbVideoKbps,
                            cmbVideoSize, cmbVideoFrame, btnMoveToUp,    btnMoveToDown,
                            lvwFiles,     btnAdd,        btnDelete,      btnClear,
                            Button8,      edtSaveDir,    btnConvert,     WebBrowser1};
  for (std::size_t At = 1; At < std::size(Chain); ++At) setTabOrder(Chain[At - 1], Chain[At]);
  ProgressBar1->setFocusPolicy(Qt::NoFocus);
}

}  // namespace marlovent
