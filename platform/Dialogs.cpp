#include "platform/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

#include "platform/Text.h"

namespace marlovent::platform {
namespace {

// The folder browser. Qt's directory dialog refuses a path that does not exist; this one
// takes it, since the conversion creates a missing output folder itself.
class TFolderDialog final : public QFileDialog {
 public:
  TFolderDialog(QWidget* Owner, const QString& Title) : QFileDialog(Owner, Title) {
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly);
    setOption(QFileDialog::DontUseNativeDialog);
  }

  QString Chosen() const { return FTyped.isEmpty() ? selectedFiles().value(0) : FTyped; }

  void accept() override {
    const QString Typed = selectedFiles().value(0);
    if (!Typed.isEmpty() && !QFileInfo::exists(Typed)) {
      FTyped = Typed;
      done(QDialog::Accepted);
      return;
    }
    QFileDialog::accept();
  }

 private:
  QString FTyped;
};

QString WithoutTrailingSlash(QString Path) {
  while (Path.size() > 1 && Path.endsWith(u'/')) Path.chop(1);
  return Path;
}

void ShowBox(QWidget* Owner, const std::string& Caption, QMessageBox::Icon Icon,
             const std::string& Text) {
  QMessageBox Box(Icon, ToQt(Caption), ToQt(Text), QMessageBox::Ok, Owner);
  Box.setTextFormat(Qt::PlainText);  // a path with <...> in it stays a path
  Box.exec();
}

}  // namespace

std::string QtNameFilter(const std::string& Filter) {
  const QString Text = ToQt(Filter);
  const qsizetype Bar = Text.indexOf(u'|');
  if (Bar < 0) return Filter;
  const QStringList Patterns = Text.mid(Bar + 1).split(u';', Qt::SkipEmptyParts);
  return FromQt(Text.left(Bar) + QStringLiteral(" (") + Patterns.join(u' ') + u')');
}

std::optional<std::string> TQtDialogs::OpenFile(QWidget* Owner, const std::string& Filter) {
  QFileDialog Dialog(Owner);
  Dialog.setFileMode(QFileDialog::ExistingFile);
  Dialog.setOption(QFileDialog::DontUseNativeDialog);
  // Shows the filter by its caption alone, as "RM Files".
  Dialog.setOption(QFileDialog::HideNameFilterDetails);
  Dialog.setNameFilter(ToQt(QtNameFilter(Filter)));
  if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return std::nullopt;
  return PathFromQt(Dialog.selectedFiles().first());
}

std::optional<std::string> TQtDialogs::BrowseForFolder(QWidget* Owner, const std::string& Title,
                                                       const std::string& Root) {
  TFolderDialog Dialog(Owner, ToQt(Title));
  Dialog.setDirectory(Root.empty() ? QDir::homePath() : PathToQt(Root));
  if (Dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QString Chosen = Dialog.Chosen();
  if (Chosen.isEmpty()) return std::nullopt;
  return PathFromQt(WithoutTrailingSlash(Chosen));
}

void TQtDialogs::ShowMessage(QWidget* Owner, const std::string& Text) {
  ShowBox(Owner, FTitle, QMessageBox::NoIcon, Text);
}

void TQtDialogs::ShowError(QWidget* Owner, const std::string& Text) {
  ShowBox(Owner, FTitle, QMessageBox::Critical, Text);
}

void TQtDialogs::ShowErrorDialog(QWidget* Owner, const std::string& Text) {
  ShowBox(Owner, ErrorDialogCaption, QMessageBox::Critical, Text);
}

bool TQtDialogs::AskYesNo(QWidget* Owner, const std::string& Text) {
  QMessageBox Box(QMessageBox::Question, ToQt(FTitle), ToQt(Text),
                  QMessageBox::Yes | QMessageBox::No, Owner);
  Box.setTextFormat(Qt::PlainText);
  Box.setDefaultButton(QMessageBox::No);
  return Box.exec() == QMessageBox::Yes;
}

}  // namespace marlovent::platform
