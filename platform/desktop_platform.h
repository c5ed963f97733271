// The platform on a real desktop: Qt's message boxes and file dialogs, the
// program's own help window and the desktop's URL handlers.
#pragma once

#include "platform/platform.h"

#include <QPointer>

namespace tf {

class HelpWindow;

class DesktopPlatform : public Platform {
public:
  DesktopPlatform();
  ~DesktopPlatform() override;

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
  HelpWindow &helpWindow();

  QPointer<HelpWindow> Help;
};

} // namespace tf
