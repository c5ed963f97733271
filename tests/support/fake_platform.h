// A scripted stand-in for the desktop: records every message box, beep,
// help request and URL, answers the file pickers from a queue and runs the
// program's modal dialogs through scripts the test pushes.
#pragma once

#include "platform/platform.h"
#include "tests/support/qt_printers.h"

#include <QDialog>
#include <QUrl>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace tf::test {

struct RecordedMessage {
  MessageIcon icon;
  QString caption;
  QString text;
  bool beepBefore; // a beep came right before the box

  bool operator==(const RecordedMessage &) const = default;
};

// "Information" and "Error" messages as the program shows them.
RecordedMessage information(const QString &text);
RecordedMessage error(const QString &text);
// The application's default error box for `errorText` (with "." added).
RecordedMessage defaultError(const QString &errorText);

class FakePlatform : public Platform {
public:
  using ModalScript = std::function<void(QDialog &)>;

  ~FakePlatform() override;

  // What the user saw.
  std::vector<RecordedMessage> Messages;
  int Beeps = 0;

  // File pickers: each call pops one answer (nothing = cancel); a call with
  // an empty queue fails the test.
  std::deque<std::optional<QString>> PickerAnswers;
  std::vector<FilePicker> PickersShown;

  // Help and browser.
  int HelpContentsShown = 0;
  std::vector<int> HelpContextsShown;
  int HelpQuits = 0;
  std::vector<QUrl> UrlsOpened;
  bool UrlsSucceed = true;

  // Modal dialogs: runModal shows the dialog, pops the next script, calls it
  // with the dialog (it types into the fields and clicks the buttons) and
  // returns the dialog's result. The script must close the dialog; a
  // runModal without a script, or a dialog left open, fails the test.
  void pushModal(ModalScript script) {
    ModalScripts.push_back(std::move(script));
  }
  std::vector<QString> ModalDialogsRun; // object names, in order

  void beep() override;
  void messageBox(QWidget *owner, MessageIcon icon, const QString &caption,
                  const QString &text) override;
  std::optional<QString> pickFile(QWidget *owner, FilePicker picker) override;
  void showHelpContents() override;
  void showHelpContext(int context) override;
  void quitHelp() override;
  bool openUrl(const QUrl &url) override;
  int runModal(QDialog &dialog) override;

private:
  std::deque<ModalScript> ModalScripts;
  bool BeepPending = false;
};

// Installs a fresh FakePlatform for the scope's lifetime and puts the
// previous platform back afterwards.
class ScopedFakePlatform {
public:
  ScopedFakePlatform();
  ~ScopedFakePlatform();
  ScopedFakePlatform(const ScopedFakePlatform &) = delete;
  ScopedFakePlatform &operator=(const ScopedFakePlatform &) = delete;

  FakePlatform &operator*() const { return *Fake; }
  FakePlatform *operator->() const { return Fake; }

private:
  FakePlatform *Fake;
  std::unique_ptr<Platform> Previous;
};

// For gtest's failure messages.
void PrintTo(const RecordedMessage &message, std::ostream *out);

} // namespace tf::test
