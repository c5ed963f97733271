#include "platform/desktop_platform.h"

#include "platform/file_pickers.h"
#include "platform/help_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMessageBox>
#include <QUrl>

namespace tf {

DesktopPlatform::DesktopPlatform() = default;

DesktopPlatform::~DesktopPlatform() { delete Help.data(); }

void DesktopPlatform::beep() { QApplication::beep(); }

void DesktopPlatform::messageBox(QWidget *owner, MessageIcon icon,
                                 const QString &caption, const QString &text) {
  QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical
                                             : QMessageBox::Information,
                  caption, text, QMessageBox::Ok, owner);
  box.exec();
}

std::optional<QString> DesktopPlatform::pickFile(QWidget *owner,
                                                 FilePicker picker) {
  return pickDosFile(owner, picker);
}

HelpWindow &DesktopPlatform::helpWindow() {
  if (!Help)
    Help = new HelpWindow;
  return *Help;
}

void DesktopPlatform::showHelpContents() { helpWindow().showContents(); }

void DesktopPlatform::showHelpContext(int context) {
  helpWindow().showContext(context);
}

void DesktopPlatform::quitHelp() {
  if (Help)
    Help->close();
}

bool DesktopPlatform::openUrl(const QUrl &url) {
  return QDesktopServices::openUrl(url);
}

int DesktopPlatform::runModal(QDialog &dialog) { return dialog.exec(); }

} // namespace tf
