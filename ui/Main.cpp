#include "ui/Main.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>

#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Label.h"
#include "platform/MainThreadQueue.h"
#include "platform/Text.h"
#include "platform/VirtualListView.h"

namespace marlovent {

const char* const ApplicationTitle = "Marlovent 5.2  e-mail:marlovent@example.com";
const char* const WindowCaption = "Marlovent 5.2.1  e-mail:marlovent@example.com";

namespace {

const char* const BannerPage = "qrc:/banner.html";
const char* const SkinFolder = ":/skins";
constexpr int StartSkin = 2;

}  // namespace

std::string AppDirOf(const std::string& ExeName) {
  const std::size_t Slash = ExeName.rfind('/');
  return Slash == std::string::npos ? std::string() : ExeName.substr(0, Slash + 1);
}

TFrmMain::TFrmMain(platform::TApplication& App)
    : SkinStore1(platform::TSkinStore::FromResources(SkinFolder)), SkinData1(*this), FApp(App) {
  BuildLayout();
  Connect(btnAdd, &TFrmMain::btnAddClick);
  Connect(btnDelete, &TFrmMain::btnDeleteClick);
  Connect(btnClear, &TFrmMain::btnClearClick);
  Connect(btnMoveToUp, &TFrmMain::btnMoveToUpClick);
  Connect(btnMoveToDown, &TFrmMain::btnMoveToDownClick);
  Connect(btnConvert, &TFrmMain::btnConvertClick);
  Connect(Button8, &TFrmMain::Button8Click);
}

// The runners go first, while the controls their handlers touch still exist.
TFrmMain::~TFrmMain() {
  CommandRunner1.reset();
  CommandRunner2.reset();
}

void TFrmMain::Connect(QPushButton* Button, void (TFrmMain::*Handler)()) {
  QObject::connect(Button, &QPushButton::clicked, this,
                   [this, Handler] { FApp.Guard([this, Handler] { (this->*Handler)(); }); });
}

void TFrmMain::FormCreate() {
  CommandRunner1 = std::make_unique<TCommandRunner>();
  CommandRunner2 = std::make_unique<TCommandRunner>();
  CommandRunner1->OnNewLine = [this](TCommandRunner& Sender, const std::string& NewLine,
                                     TOutputType OutputType) {
    CommandRunner1NewLine(Sender, NewLine, OutputType);
  };
  CommandRunner1->OnTerminated = [this](TCommandRunner& Sender) {
    CommandRunner1Terminated(Sender);
  };
  CommandRunner2->OnTerminated = [this](TCommandRunner& Sender) {
    CommandRunner2Terminated(Sender);
  };

  WebBrowser1->setSource(QUrl(QString::fromLatin1(BannerPage)));
  SkinData1.LoadFromCollection(SkinStore1, StartSkin);
  SkinData1.SetActive(true);
  FAppDir = AppDirOf(platform::TApplication::ExeName());
  FFileList = std::make_unique<TFileList>();

  cmbVideoKbps->setCurrentIndex(2);
  cmbVideoFrame->setCurrentIndex(1);
  cmbVideoSize->setCurrentIndex(2);
  cmbAudioKbps->setCurrentIndex(7);
  cmbAudioSample->setCurrentIndex(0);
  cmbAudioTrack->setCurrentIndex(0);
}

void TFrmMain::FormClose(TCloseAction& /*Action*/) {
  if (!FFileList) return;
  ClearFileList();
  FFileList.reset();
}

void TFrmMain::closeEvent(QCloseEvent* Event) {
  TCloseAction Action = TCloseAction::caHide;
  bool Handled = false;
  FApp.Guard([&] {
    FormClose(Action);
    Handled = true;
  });
  if (Handled && Action != TCloseAction::caNone && Action != TCloseAction::caMinimize)
    Event->accept();
  else
    Event->ignore();
}

void TFrmMain::ClearFileList() {
  if (FFileList) FFileList->clear();
}

void TFrmMain::Button8Click() {
  const std::string Folder = ChooseFolder(FApp.Dialogs(), this, "请选择文件", "");
  if (!Folder.empty()) edtSaveDir->setText(platform::PathToQt(Folder));
}

std::string ChooseFolder(platform::TDialogs& Dialogs, QWidget* Owner, const std::string& Title,
                         const std::string& Root) {
  std::optional<std::string> Chosen;
  try {
    Chosen = Dialogs.BrowseForFolder(Owner, Title, Root);
  } catch (...) {
    // A failing dialog counts as no choice.
    return {};
  }
  if (!Chosen || Chosen->empty()) return {};
  std::string Folder = *Chosen;
  if (Folder.back() != '/') Folder += '/';
  return Folder;
}

// The conversion workflow fills these in.
void TFrmMain::btnAddClick() {}
void TFrmMain::btnDeleteClick() {}
void TFrmMain::btnClearClick() {}
void TFrmMain::btnMoveToUpClick() {}
void TFrmMain::btnMoveToDownClick() {}
void TFrmMain::btnConvertClick() {}
void TFrmMain::lvwFilesData(platform::TListItem& /*Item*/) {}
void TFrmMain::CommandRunner1NewLine(TCommandRunner& /*Sender*/, const std::string& /*NewLine*/,
                                     TOutputType /*OutputType*/) {}

void TFrmMain::CommandRunner1Terminated(TCommandRunner& /*Sender*/) {
  platform::MainThreadQueue::Instance().Synchronize([this] { ProgressBar1->setValue(0); });
}

void TFrmMain::CommandRunner2Terminated(TCommandRunner& /*Sender*/) {
  FProbeFinished = true;
}

}  // namespace marlovent
