// TFrmMain: Marlovent's main window.
//
// The window owns its controls (through Qt's parent chain), its two command runners, the
// skin and the file queue. It is built in two steps, as the program starts it: the
// constructor lays out the controls; FormCreate then creates and wires the runners, opens
// the banner page, applies the skin, records the program's folder, creates the empty queue
// and selects the default options. Closing the window runs FormClose, which frees the
// queue; the runners live as long as the window.
//
// Threads: everything runs on the interface thread, except the runner handlers
// (CommandRunner1NewLine, CommandRunner1Terminated, CommandRunner2Terminated), which the
// runners call on their workers. Those touch controls only through
// MainThreadQueue::Synchronize; FProbeFinished is atomic.
#pragma once

#include <QWidget>
#include <atomic>
#include <memory>
#include <string>

#include "convert/FileInfo.h"
#include "platform/Skin.h"
#include "runner/CommandRunner.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTextBrowser;

namespace marlovent {

namespace platform {
class TApplication;
class TDialogs;
class TLabel;
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
  QProgressBar* ProgressBar1 = nullptr;
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

  void ClearFileList();

  platform::TApplication& App() { return FApp; }

 protected:
  void closeEvent(QCloseEvent* Event) override;

 private:
  void BuildLayout();
  void BuildSettings();
  void BuildOutput();
  void BuildProgress();
  void SetTabOrder();
  void NameControls();
  void Connect(QPushButton* Button, void (TFrmMain::*Handler)());

  platform::TApplication& FApp;
};

}  // namespace marlovent
