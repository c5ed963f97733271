#include "tests/support/fake_platform.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tf::test {

RecordedMessage information(const QString &text) {
  return {MessageIcon::Information, QStringLiteral("Information"), text, true};
}

RecordedMessage error(const QString &text) {
  return {MessageIcon::Error, QStringLiteral("Error"), text, true};
}

RecordedMessage defaultError(const QString &errorText) {
  return {MessageIcon::Error, QStringLiteral("Tweakforge"),
          errorText + QLatin1Char('.'), false};
}

FakePlatform::~FakePlatform() {
  EXPECT_TRUE(ModalScripts.empty())
      << ModalScripts.size() << " modal dialog script(s) never ran";
  EXPECT_TRUE(PickerAnswers.empty())
      << PickerAnswers.size() << " file picker answer(s) never used";
}

void FakePlatform::beep() {
  ++Beeps;
  BeepPending = true;
}

void FakePlatform::messageBox(QWidget *, MessageIcon icon,
                              const QString &caption, const QString &text) {
  Messages.push_back({icon, caption, text, BeepPending});
  BeepPending = false;
}

std::optional<QString> FakePlatform::pickFile(QWidget *, FilePicker picker) {
  PickersShown.push_back(picker);
  if (PickerAnswers.empty()) {
    ADD_FAILURE() << "a file picker was shown but the test queued no answer";
    return std::nullopt;
  }
  std::optional<QString> answer;
  answer.swap(PickerAnswers.front());
  PickerAnswers.pop_front();
  return answer;
}

void FakePlatform::showHelpContents() { ++HelpContentsShown; }

void FakePlatform::showHelpContext(int context) {
  HelpContextsShown.push_back(context);
}

void FakePlatform::quitHelp() { ++HelpQuits; }

bool FakePlatform::openUrl(const QUrl &url) {
  UrlsOpened.push_back(url);
  return UrlsSucceed;
}

int FakePlatform::runModal(QDialog &dialog) {
  ModalDialogsRun.push_back(dialog.objectName());
  if (ModalScripts.empty()) {
    ADD_FAILURE() << "modal dialog '" << dialog.objectName().toStdString()
                  << "' was run but the test pushed no script for it";
    return QDialog::Rejected;
  }
  ModalScript script = std::move(ModalScripts.front());
  ModalScripts.pop_front();
  dialog.setResult(QDialog::Rejected);
  dialog.show();
  script(dialog);
  if (dialog.isVisible()) {
    ADD_FAILURE() << "the script left modal dialog '"
                  << dialog.objectName().toStdString() << "' open";
    dialog.hide();
  }
  return dialog.result();
}

ScopedFakePlatform::ScopedFakePlatform()
    : Fake(new FakePlatform),
      Previous(installPlatform(std::unique_ptr<Platform>(Fake))) {}

ScopedFakePlatform::~ScopedFakePlatform() {
  installPlatform(std::move(Previous));
}

void PrintTo(const RecordedMessage &message, std::ostream *out) {
  *out << (message.icon == MessageIcon::Error ? "error" : "information")
       << " box \"" << message.caption.toStdString() << "\": \""
       << message.text.toStdString() << "\""
       << (message.beepBefore ? " after a beep" : " without a beep");
}

} // namespace tf::test
