#include "platform/platform.h"

#include "platform/desktop_platform.h"
#include "registry/machine.h"

#include <QApplication>

#include <exception>

namespace tf {

namespace {

std::unique_ptr<Platform> &current() {
  static std::unique_ptr<Platform> instance;
  return instance;
}

void message(QWidget *owner, MessageIcon icon, const QString &caption,
             const QString &text) {
  Platform &p = platform();
  p.beep();
  p.messageBox(owner, icon, caption, text);
}

} // namespace

Platform &platform() {
  std::unique_ptr<Platform> &instance = current();
  if (!instance)
    instance = std::make_unique<DesktopPlatform>();
  return *instance;
}

std::unique_ptr<Platform>
installPlatform(std::unique_ptr<Platform> replacement) {
  std::swap(current(), replacement);
  return replacement;
}

void informationMessage(QWidget *owner, const QString &text) {
  // A confirmation must not claim a change that could not be saved: what the
  // handler wrote goes to disk first, and a failure stops the handler here.
  reg::SaveGroup::commit();
  message(owner, MessageIcon::Information, QStringLiteral("Information"), text);
}

void errorMessage(QWidget *owner, const QString &text) {
  message(owner, MessageIcon::Error, QStringLiteral("Error"), text);
}

void showDefaultError(const QString &errorText) {
  platform().messageBox(QApplication::activeWindow(), MessageIcon::Error,
                        QApplication::applicationDisplayName(),
                        errorText + QLatin1Char('.'));
}

void runHandler(const std::function<void()> &handler) {
  try {
    handler();
  } catch (const std::exception &error) {
    showDefaultError(QString::fromUtf8(error.what()));
  }
}

} // namespace tf
