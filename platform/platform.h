// What the program needs from the desktop: message boxes, the beep, file
// pickers, help, the web browser and running modal dialogs. The program talks
// to the desktop only through this interface, so tests can put a scripted
// fake in its place.
#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QUrl;
class QWidget;

namespace tf {

enum class MessageIcon { Information, Error };

// The two open-file dialogs: `OpenDialog1` ("Programs|*.exe") and
// `OpenDialog2` ("Icons|*.ico").
enum class FilePicker { Program, Icon };

class Platform {
public:
  virtual ~Platform() = default;

  // MessageBeep(0).
  virtual void beep() = 0;
  // A modal box with one "OK" button. `owner` may be null (no owner window).
  virtual void messageBox(QWidget *owner, MessageIcon icon,
                          const QString &caption, const QString &text) = 0;
  // Lets the user choose a file in the prefix's drives; the DOS path of the
  // choice ("C:\\WINDOWS\\NOTEPAD.EXE"), or nothing on cancel.
  virtual std::optional<QString> pickFile(QWidget *owner,
                                          FilePicker picker) = 0;
  // The help: its contents, the topic of a help context number, and closing
  // the help window at exit.
  virtual void showHelpContents() = 0;
  virtual void showHelpContext(int context) = 0;
  virtual void quitHelp() = 0;
  // Hands an address (http:, mailto:) to the desktop; false on failure.
  virtual bool openUrl(const QUrl &url) = 0;
  // Runs one of the program's own dialogs modally and returns its result.
  virtual int runModal(QDialog &dialog) = 0;
};

// The platform in use. The desktop one unless a test installed another.
Platform &platform();
// Installs `replacement` (tests); returns the previous one.
std::unique_ptr<Platform>
installPlatform(std::unique_ptr<Platform> replacement);

// The program's two kinds of message: a beep, then a modal box captioned
// "Information" or "Error" with its icon and one "OK" button.
void informationMessage(QWidget *owner, const QString &text);
void errorMessage(QWidget *owner, const QString &text);

// The application's default error box: the error's text with "." appended,
// captioned with the application title, error icon, one "OK" button.
void showDefaultError(const QString &errorText);

// Runs `handler` the way the application runs every event handler: an
// exception that escapes it ends it there, is shown by showDefaultError and
// goes no further.
void runHandler(const std::function<void()> &handler);

} // namespace tf
