#include "ui/Main.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <chrono>

#include "convert/DirChain.h"
#include "convert/DurationProbe.h"
#include "convert/FileQueue.h"
#include "convert/RunVerdict.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Label.h"
#include "platform/MainThreadQueue.h"
#include "platform/ProgressBar.h"
#include "platform/Text.h"
#include "platform/VirtualListView.h"

namespace marlovent {

const char* const ApplicationTitle = "Marlovent 5.2  e-mail:marlovent@example.com";
const char* const WindowCaption = "Marlovent 5.2.1  e-mail:marlovent@example.com";

namespace {

const char* const BannerPage = "qrc:/banner.html";
const char* const OpenFilter = "RM Files|*.RM;*.RMVB";
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
  setAcceptDrops(true);
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

void TFrmMain::FormClose(TCloseAction& Action) {
  if (IsBusy()) {
    // The add or the batch still holds the queue: stop its child, and close once it has
    // let go (Release).
    Action = TCloseAction::caNone;
    if (FConverting && !FCloseRequested &&
        !FApp.Dialogs().AskYesNo(this, "正在转换，确定要退出吗？"))
      return;
    FCloseRequested = true;
    StopRuns();
    return;
  }
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

void TFrmMain::Button8Click() {
  const std::string Folder = ChooseFolder(FApp.Dialogs(), this, "请选择文件", "");
  if (!Folder.empty()) edtSaveDir->setText(platform::PathToQt(Folder));
}

namespace {

// The dropped files the queue takes: local .rm and .rmvb files, in any letter case.
std::vector<std::string> DroppedSources(const QMimeData* Data) {
  std::vector<std::string> Sources;
  if (!Data || !Data->hasUrls()) return Sources;
  for (const QUrl& Url : Data->urls()) {
    if (!Url.isLocalFile()) continue;
    const QString Path = Url.toLocalFile();
    const bool RealMedia = Path.endsWith(QStringLiteral(".rm"), Qt::CaseInsensitive) ||
                           Path.endsWith(QStringLiteral(".rmvb"), Qt::CaseInsensitive);
    if (RealMedia && !QFileInfo(Path).isDir()) Sources.push_back(platform::PathFromQt(Path));
  }
  return Sources;
}

}  // namespace

void TFrmMain::dragEnterEvent(QDragEnterEvent* Event) {
  if (!FConverting && !DroppedSources(Event->mimeData()).empty()) Event->acceptProposedAction();
}

void TFrmMain::dropEvent(QDropEvent* Event) {
  if (FConverting) return;
  std::vector<std::string> Sources = DroppedSources(Event->mimeData());
  if (Sources.empty()) return;
  Event->acceptProposedAction();
  // Measured after the drop has been answered, so the dragging program need not wait.
  QMetaObject::invokeMethod(
      this,
      [this, Sources = std::move(Sources)] {
        if (!FConverting && !FCloseRequested) FApp.Guard([&] { AddFiles(Sources); });
      },
      Qt::QueuedConnection);
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

void TFrmMain::btnAddClick() {
  const std::optional<std::string> Chosen = FApp.Dialogs().OpenFile(this, OpenFilter);
  if (!Chosen || Chosen->empty()) return;
  AddFiles({*Chosen});
}

void TFrmMain::AddFiles(const std::vector<std::string>& FileNames) {
  FPendingAdds.insert(FPendingAdds.end(), FileNames.begin(), FileNames.end());
  // A call from inside a running add (a drop while a file is measured) only queues.
  if (FAdding) return;
  FAdding = true;
  ++FBusy;
  btnAdd->setEnabled(false);
  while (!FPendingAdds.empty() && !FCloseRequested) {
    const std::string FileName = FPendingAdds.front();
    FPendingAdds.pop_front();
    // A file that cannot be added is reported, and the next one is measured all the same.
    FApp.Guard([&] { AddFile(FileName); });
  }
  FPendingAdds.clear();
  btnAdd->setEnabled(true);
  FAdding = false;
  Release();
}

void TFrmMain::AddFile(const std::string& FileName) {
  ProgressBar1->setValue(0);
  lblInfo->setText(platform::ToQt(StatusReady));
  const std::int32_t Duration = GetVideoDuration(FileName);
  // The window is closing: the queue is about to go.
  if (FCloseRequested || !FFileList) return;
  auto Entry = std::make_unique<TFileInfo>();
  Entry->Duration = Duration;
  Entry->Status = StatusReady;
  Entry->FileName = FileName;
  FFileList->push_back(std::move(Entry));
  lvwFiles->SetItemCount(static_cast<int>(FFileList->size()));
}

void TFrmMain::btnDeleteClick() {
  const int Selected = lvwFiles->ItemIndex();
  if (!FFileList || lvwFiles->ItemCount() == 0 || Selected < 0) return;
  DeleteEntry(*FFileList, Selected);
  lvwFiles->SetItemCount(static_cast<int>(FFileList->size()));
  lvwFiles->Refresh();
}

void TFrmMain::btnClearClick() {
  ClearFileList();
  lvwFiles->SetItemCount(0);
  lvwFiles->Refresh();
}

void TFrmMain::btnMoveToUpClick() {
  const int Selected = lvwFiles->ItemIndex();
  if (!FFileList || lvwFiles->ItemCount() == 0 || Selected < 1) return;
  MoveEntry(*FFileList, Selected, Selected - 1);
  lvwFiles->Refresh();
}

void TFrmMain::btnMoveToDownClick() {
  const int Selected = lvwFiles->ItemIndex();
  if (!FFileList || lvwFiles->ItemCount() == 0 || Selected < 0 ||
      Selected >= lvwFiles->ItemCount() - 1)
    return;
  MoveEntry(*FFileList, Selected, Selected + 1);
  lvwFiles->Refresh();
}

void TFrmMain::lvwFilesData(platform::TListItem& Item) {
  if (!FFileList || Item.Index < 0 || static_cast<std::size_t>(Item.Index) >= FFileList->size())
    return;
  const TFileInfo& Entry = *(*FFileList)[static_cast<std::size_t>(Item.Index)];
  Item.Caption = Entry.FileName;
  Item.SubItems.push_back(Entry.Status);
  Item.Hint = Entry.FailReason;
}

TFileInfo& TFrmMain::GetFileInfo(int Index) {
  if (!FFileList) throw ListIndexError(Index);
  return EntryAt(*FFileList, Index);
}

void TFrmMain::ClearFileList() {
  if (FFileList) FFileList->clear();
}

std::int32_t TFrmMain::GetVideoDuration(const std::string& FileName) {
  CommandRunner2->CommandLine =
      ProbeCommandLine(platform::FindProgram(FAppDir, "mplayer"), FileName);
  FProbeFinished = false;
  CommandRunner2->Execute();
  const auto Deadline = platform::TApplication::TClock::now() + ProbeBound;
  // The output is searched again whenever lines arrive; the run's end or the answer ends
  // the wait.
  int Searched = -1;
  std::optional<std::size_t> Found;
  FApp.WaitUntil(
      [&] {
        if (FProbeFinished) return true;
        const int Count = CommandRunner2->Lines.Count();
        if (Count == Searched) return false;
        Searched = Count;
        Found = FindLengthAnswer(CommandRunner2->Lines.Text());
        return Found.has_value();
      },
      Deadline);
  CommandRunner2->Stop();
  // The last unfinished line is in Lines only now.
  const std::string Output = CommandRunner2->Lines.Text();
  Found = FindLengthAnswer(Output);
  return Found ? LengthAt(Output, *Found) : 0;
}

TEncoderSettings TFrmMain::CurrentSettings() const {
  TEncoderSettings Settings;
  Settings.VideoKbps = platform::FromQt(cmbVideoKbps->currentText());
  Settings.VideoFrame = platform::FromQt(cmbVideoFrame->currentText());
  Settings.VideoSize = platform::FromQt(cmbVideoSize->currentText());
  Settings.AudioSample = platform::FromQt(cmbAudioSample->currentText());
  Settings.AudioKbps = platform::FromQt(cmbAudioKbps->currentText());
  Settings.AudioTrackIndex = cmbAudioTrack->currentIndex();
  return Settings;
}

std::string TFrmMain::OutputFolder() const {
  return platform::PathFromQt(edtSaveDir->text());
}

void TFrmMain::ConvertVideo(TFileInfo& FileInfo, bool Overwrite) {
  ProgressBar1->setMaximum(FileInfo.Duration);
  ProgressBar1->setMinimum(0);
  const std::string Output = OutputPath(OutputFolder(), FileInfo.FileName);
  CommandRunner1->CommandLine =
      EncoderCommandLine(platform::FindProgram(FAppDir, "ffmpeg"), FileInfo.FileName,
                         CurrentSettings(), Overwrite, Output);
  // No worker runs between two runs, so the reader is the interface thread's here.
  FProgress.Reset();
  FLastPosition = -1;
  CommandRunner1->Execute();
  FApp.WaitUntil([this] { return !CommandRunner1->IsRunning(); });
  CommandRunner1->Stop();
}

void TFrmMain::btnConvertClick() {
  const std::string Folder = OutputFolder();
  if (Folder.empty()) {
    FApp.Dialogs().ShowMessage(this, "请选择保存的文件夹");
    return;
  }
  CreateDirChain(Folder, [this](const std::string& Message) {
    FApp.Dialogs().ShowErrorDialog(this, Message);
  });
  SetBatchControlsEnabled(false);
  ++FBusy;
  FConverting = true;
  // Whatever ends the batch, the window is unlocked again.
  struct TUnlock {
    TFrmMain& Form;
    ~TUnlock() {
      Form.FConverting = false;
      Form.SetBatchControlsEnabled(true);
      Form.Release();
    }
  } Unlock{*this};
  const int Count = FFileList ? static_cast<int>(FFileList->size()) : 0;
  for (int Index = 0; Index < Count && !FCloseRequested; ++Index) ConvertEntry(Index);
  ProgressBar1->setValue(0);
  lblInfo->setText(QStringLiteral("转换完成"));
}

void TFrmMain::ConvertEntry(int Index) {
  const std::string Source = GetFileInfo(Index).FileName;
  lblInfo->setText(platform::ToQt("正在转换 " + Source));
  ConvertVideo(GetFileInfo(Index), true);
  const std::optional<std::string> Failure = RunFailure(
      CommandRunner1->ExitCode(), CommandRunner1->RunError(), CommandRunner1->Lines.Snapshot());
  // A run the close stopped leaves a partial file behind.
  if (FCloseRequested && Failure) platform::RemoveFile(OutputPath(OutputFolder(), Source));
  // Fetched again: nothing may change the queue during the run, but a record is never
  // reached through a reference that the wait could have outlived.
  TFileInfo& Entry = GetFileInfo(Index);
  Entry.Status = Failure ? StatusFailed : StatusDone;
  Entry.FailReason = Failure.value_or("");
  lvwFiles->Refresh();
}

void TFrmMain::SetBatchControlsEnabled(bool Enabled) {
  for (QWidget* Control : {static_cast<QWidget*>(GroupBox1), static_cast<QWidget*>(GroupBox3),
                           static_cast<QWidget*>(GroupBox6), static_cast<QWidget*>(lvwFiles),
                           static_cast<QWidget*>(btnConvert)})
    Control->setEnabled(Enabled);
}

void TFrmMain::Release() {
  --FBusy;
  if (FBusy == 0 && FCloseRequested)
    QMetaObject::invokeMethod(
        this, [this] { close(); }, Qt::QueuedConnection);
}

void TFrmMain::StopRuns() {
  if (CommandRunner1) CommandRunner1->Stop();
  if (CommandRunner2) CommandRunner2->Stop();
}

void TFrmMain::CommandRunner1NewLine(TCommandRunner& /*Sender*/, const std::string& NewLine,
                                     TOutputType /*OutputType*/) {
  const std::optional<std::int32_t> Position = FProgress.Read(NewLine);
  // The same pair comes again when its line is complete; it would set the same position.
  if (!Position || *Position == FLastPosition) return;
  FLastPosition = *Position;
  platform::MainThreadQueue::Instance().Synchronize(
      [this, Seconds = *Position] { ProgressBar1->SetPosition(Seconds); });
}

void TFrmMain::CommandRunner1Terminated(TCommandRunner& /*Sender*/) {
  platform::MainThreadQueue::Instance().Synchronize([this] { ProgressBar1->setValue(0); });
}

void TFrmMain::CommandRunner2Terminated(TCommandRunner& /*Sender*/) {
  FProbeFinished = true;
}

}  // namespace marlovent
