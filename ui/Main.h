// TFrmMain: Marlovent's main window.
//
// The window owns its controls (through Qt's parent chain), its two command runners, the
// skin and the file queue. It is built in two steps, as the program starts it: the
// constructor lays out the controls; FormCreate then creates and wires the runners, opens
// the banner page, applies the skin, records the program's folder, creates the empty queue
// and selects the default options. Closing the window runs FormClose, which frees the
// queue; the runners live as long as the window.
//
// Adding a file measures it with the probe (CommandRunner2) and appends it to the queue;
// the batch converts every entry with the encoder (CommandRunner1). Both wait in the event
// loop, so the window stays live meanwhile: while a probe runs the add button is off, and
// while a batch runs the settings, the queue and the convert button are. Closing the
// window during either stops the running child (a batch asks first) and closes only once
// the handler that holds the queue has let go of it.
//
// Threads: everything runs on the interface thread, except the runner handlers
// (CommandRunner1NewLine, CommandRunner1Terminated, CommandRunner2Terminated), which the
// runners call on their workers. Those touch controls only through
// MainThreadQueue::Synchronize; FProbeFinished is atomic, and FProgress belongs to the
// encoder's worker while a run goes on.
#pragma once

#include <QWidget>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "convert/EncoderCommand.h"
#include "convert/FileInfo.h"
#include "convert/Progress.h"
#include "platform/Skin.h"
#include "runner/CommandRunner.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;

namespace marlovent {

namespace platform {
class TApplication;
class TDialogs;
class TLabel;
class TProgressBar;
class TVirtualListView;
struct TListItem;
}  // namespace platform

// What the window does after its close handler: caHide and caFree close it (and, as the
// main window, end the program), caNone keeps it open.
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

extern const char* const ApplicationTitle;  // "Marlovent 5.2  e-mail:..."
extern const char* const WindowCaption;     // "Marlovent 5.2.1  e-mail:..."

// The folder part of an executable's path, up to and including the last "/".
std::string AppDirOf(const std::string& ExeName);

// Lets the user choose a folder. Returns its path ending in "/" ("/" stays "/"), or ""
// when the user cancels or the dialog fails. Root: the folder the dialog starts in; ""
// for the user's home.
std::string ChooseFolder(platform::TDialogs& Dialogs, QWidget* Owner, const std::string& Title,
                         const std::string& Root);

class TFrmMain final : public QWidget {
 public:
  explicit TFrmMain(platform::TApplication& App);
  ~TFrmMain() override;

  // The controls, under their names in the layout.
  QTextBrowser* WebBrowser1 = nullptr;
  QGroupBox* GroupBox3 = nullptr;
  QFrame* Panel1 = nullptr;
  platform::TVirtualListView* lvwFiles = nullptr;
  QFrame* Panel2 = nullptr;
  QPushButton* btnAdd = nullptr;
  QPushButton* btnDelete = nullptr;
  QPushButton* btnClear = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QPushButton* btnMoveToUp = nullptr;
  QPushButton* btnMoveToDown = nullptr;
  QGroupBox* GroupBox5 = nullptr;
  platform::TLabel* Label7 = nullptr;
  platform::TLabel* Label8 = nullptr;
  platform::TLabel* Label9 = nullptr;
  QComboBox* cmbVideoKbps = nullptr;
  QComboBox* cmbVideoFrame = nullptr;
  QComboBox* cmbVideoSize = nullptr;
  QGroupBox* GroupBox4 = nullptr;
  platform::TLabel* Label4 = nullptr;
  platform::TLabel* Label5 = nullptr;
  platform::TLabel* Label6 = nullptr;
  QComboBox* cmbAudioKbps = nullptr;
  QComboBox* cmbAudioSample = nullptr;
  QComboBox* cmbAudioTrack = nullptr;
  QGroupBox* GroupBox6 = nullptr;
  platform::TLabel* Label10 = nullptr;
  QLineEdit* edtSaveDir = nullptr;
  QPushButton* Button8 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  platform::TLabel* Label1 = nullptr;
  platform::TLabel* lblInfo = nullptr;
  platform::TLabel* Label2 = nullptr;
  platform::TProgressBar* ProgressBar1 = nullptr;
  QPushButton* btnConvert = nullptr;
  QLabel* Label3 = nullptr;

  // The non-visual components.
  platform::TSkinStore SkinStore1;
  platform::TSkinData SkinData1;
  std::unique_ptr<TCommandRunner> CommandRunner1;  // the encoder
  std::unique_ptr<TCommandRunner> CommandRunner2;  // the duration probe

  std::string FAppDir;                       // the program's folder, ending in "/"
  std::unique_ptr<TFileList> FFileList;      // the queue; exists from FormCreate to FormClose
  std::atomic<bool> FProbeFinished = false;  // set when the probe's run has ended
  // How long a probe waits at most for the player's answer or its end.
  std::chrono::milliseconds ProbeBound = std::chrono::seconds(50);

  void FormCreate();
  void FormClose(TCloseAction& Action);

  void btnAddClick();
  void btnDeleteClick();
  void btnClearClick();
  void btnMoveToUpClick();
  void btnMoveToDownClick();
  void btnConvertClick();
  void Button8Click();
  void lvwFilesData(platform::TListItem& Item);

  void CommandRunner1NewLine(TCommandRunner& Sender, const std::string& NewLine,
                             TOutputType OutputType);
  void CommandRunner1Terminated(TCommandRunner& Sender);
  void CommandRunner2Terminated(TCommandRunner& Sender);

  // The queue's entry at Index; EListError "List index out of bounds (Index)" outside it.
  TFileInfo& GetFileInfo(int Index);
  void ClearFileList();

  // The length of FileName in whole seconds as the player reports it, 0 when it reports
  // none. Waits in the event loop, about 50 seconds at most.
  std::int32_t GetVideoDuration(const std::string& FileName);
  // Converts one entry into the output folder; returns once the encoder's run has ended.
  void ConvertVideo(TFileInfo& FileInfo, bool Overwrite);

  // Measures and appends each file at the end of the queue, one after another, as the add
  // button does. Called while adding, the files join those still waiting.
  void AddFiles(const std::vector<std::string>& FileNames);

  // True while an add or a batch holds the queue.
  bool IsBusy() const { return FBusy > 0; }

  platform::TApplication& App() { return FApp; }

 protected:
  void closeEvent(QCloseEvent* Event) override;
  void dragEnterEvent(QDragEnterEvent* Event) override;
  void dropEvent(QDropEvent* Event) override;

 private:
  void BuildLayout();
  void BuildSettings();
  void BuildOutput();
  void BuildProgress();
  void SetTabOrder();
  void NameControls();
  void Connect(QPushButton* Button, void (TFrmMain::*Handler)());

  void AddFile(const std::string& FileName);
  void ConvertEntry(int Index);
  void SetBatchControlsEnabled(bool Enabled);
  TEncoderSettings CurrentSettings() const;
  std::string OutputFolder() const;
  // Ends a hold on the queue; the last one closes the window when a close waits for it.
  void Release();
  void StopRuns();

  platform::TApplication& FApp;

  int FBusy = 0;                 // handlers holding the queue (an add, a batch)
  bool FConverting = false;      // a batch runs
  bool FCloseRequested = false;  // a close waits for the busy handlers to let go
  bool FAdding = false;          // the add loop runs
  std::deque<std::string> FPendingAdds;
  TProgressReader FProgress;        // the encoder's worker's while it runs
  std::int32_t FLastPosition = -1;  // likewise: the position it last set
};

}  // namespace marlovent
