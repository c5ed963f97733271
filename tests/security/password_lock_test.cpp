#include "registry/errors.h"
#include "security/lock_state.h"
#include "security/password_lock.h"
#include "security/password_prompts.h"
#include "security/password_values.h"
#include "security/security_dialog.h"
#include "security/set_password_dialog.h"
#include "tests/settings/dialog_driving.h"
#include "tests/settings/settings_fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace tf::test {
namespace {

using security::NoPassword;

void type(const QWidget &dialog, const char *field, const QString &text) {
  QTest::keyClicks(child<QLineEdit>(dialog, field), text);
}

bool enabled(const QWidget &dialog, const char *name) {
  return child<QWidget>(dialog, name)->isEnabled();
}

// What the user does in a password prompt: type and press "O&K", or press
// "C&ancel".
struct Answer {
  QString typed;
  bool cancel = false;
};

FakePlatform::ModalScript answer(Answer a) {
  return [a](QDialog &dialog) {
    type(dialog, "Edit1", a.typed);
    click(dialog, a.cancel ? "OfficeButton2" : "OfficeButton1");
  };
}

const Answer Cancel{"", true};

class PasswordLockTest : public SettingsKeyTest {
protected:
  bool firstShowing() { return Lock.firstShowing(Target); }
  void lockWith(const std::string &password, const std::string &type) {
    setText("Show", password);
    setText("Type", type);
    Lock.OfficeButton63Click();
  }

  QWidget MainWindow;
  security::PasswordLock Lock{&MainWindow};
};

TEST_F(PasswordLockTest, FirstRunWritesNoPasswordAndNormalAndAsksNothing) {
  EXPECT_TRUE(firstShowing());
  EXPECT_EQ(savedText("Show"), "2960RuTe");
  EXPECT_EQ(savedText("Type"), "Normal");
  EXPECT_EQ(Lock.state().Edit34, NoPassword);
  EXPECT_EQ(Lock.state().Edit35, "");
  EXPECT_TRUE(Desktop->ModalDialogsRun.empty());
}

TEST_F(PasswordLockTest, StartUpDecisionFollowsTheLockState) {
  const struct {
    std::string show;
    std::optional<std::string> type;
    std::optional<Answer> answer; // nothing: no prompt expected
    bool goesOn;
    bool wrongMessage;
  } cases[] = {
      {"2960RuTe", "Normal", std::nullopt, true, false},
      {"secret", "Normal", Answer{"secret"}, true, false},
      {"secret", "Normal", Answer{"Secret"}, false, true},
      {"secret", "Normal", Answer{""}, false, true},
      {"secret", "Normal", Cancel, false, false},
      {"", "Normal", Answer{""}, true, false},
      {"", "Normal", Answer{" "}, false, true},
      {"secret", "Only", std::nullopt, true, false},
      {"secret", "Not", std::nullopt, true, false},
      {"secret", "only", Answer{"secret"}, true, false},
      {"secret", "Whatever", Answer{"x"}, false, true},
      // "Type" deleted: written anew, but the copy stays empty, so it asks.
      {"secret", std::nullopt, Answer{"secret"}, true, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.show + "/" + c.type.value_or("(missing)"));
    freshPrefix();
    setText("Show", c.show);
    if (c.type)
      setText("Type", *c.type);
    ScopedFakePlatform desktop;
    if (c.answer)
      desktop->pushModal(answer(*c.answer));
    QWidget mainWindow;
    security::PasswordLock lock(&mainWindow);

    EXPECT_EQ(lock.firstShowing(Target), c.goesOn);
    EXPECT_EQ(desktop->ModalDialogsRun.size(), c.answer ? 1u : 0u);
    if (c.wrongMessage)
      EXPECT_EQ(desktop->Messages, std::vector{error("Wrong Password!")});
    else
      EXPECT_TRUE(desktop->Messages.empty());
    EXPECT_EQ(savedText("Type"), c.type.value_or("Normal"));
  }
}

TEST_F(PasswordLockTest, PasswordStoredAsNumberStopsFirstShowing) {
  setNumber("Show", 1);
  try {
    firstShowing();
    FAIL() << "no error";
  } catch (const reg::RegistryError &error) {
    EXPECT_STREQ(error.what(), "Invalid data type for 'Show'");
  }
  EXPECT_EQ(savedText("Type"), std::nullopt);
}

TEST_F(PasswordLockTest, PoliciesGateAsksOnlyForTypeOnly) {
  const struct {
    std::string show, type;
    std::optional<Answer> answer;
    bool through;
    bool wrongMessage;
  } cases[] = {
      {"2960RuTe", "Only", std::nullopt, true, false},
      {"secret", "Normal", std::nullopt, true, false},
      {"secret", "Not", std::nullopt, true, false},
      {"secret", "Only", Answer{"secret"}, true, false},
      {"secret", "Only", Answer{"nope"}, false, true},
      {"secret", "Only", Cancel, false, false},
      {"", "Only", Answer{""}, true, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.show + "/" + c.type);
    freshPrefix();
    lockWith(c.show, c.type);
    ScopedFakePlatform desktop;
    if (c.answer)
      desktop->pushModal(answer(*c.answer));
    EXPECT_EQ(Lock.policiesGate(), c.through);
    EXPECT_EQ(desktop->ModalDialogsRun.size(), c.answer ? 1u : 0u);
    EXPECT_EQ(desktop->Messages.size(), c.wrongMessage ? 1u : 0u);
    EXPECT_EQ(Lock.state().Edit36, "");
  }
}

TEST_F(PasswordLockTest, PoliciesGateAsksAgainEveryTimeAndClearsTheField) {
  lockWith("secret", "Only");
  Desktop->pushModal([](QDialog &dialog) {
    type(dialog, "Edit1", "secret");
    click(dialog, "OfficeButton1");
    EXPECT_EQ(child<QLineEdit>(dialog, "Edit1")->text(), "");
  });
  Desktop->pushModal(answer(Cancel));
  EXPECT_TRUE(Lock.policiesGate());
  EXPECT_FALSE(Lock.policiesGate());
  EXPECT_EQ(Desktop->ModalDialogsRun,
            (std::vector<QString>{"TForm7", "TForm7"}));
}

TEST_F(PasswordLockTest, PasswordFieldsShowStars) {
  Desktop->pushModal([](QDialog &dialog) {
    type(dialog, "Edit1", "abc");
    EXPECT_EQ(child<QLineEdit>(dialog, "Edit1")->displayText(), "***");
    click(dialog, "OfficeButton2");
  });
  lockWith("secret", "Only");
  Lock.policiesGate();
}

TEST_F(PasswordLockTest, SettingTheFirstPasswordAsksOnlyForTheNewOne) {
  firstShowing();
  Desktop->pushModal([](QDialog &dialog) {
    EXPECT_FALSE(enabled(dialog, "Edit1"));
    EXPECT_TRUE(enabled(dialog, "Edit2"));
    EXPECT_TRUE(enabled(dialog, "Edit3"));
    EXPECT_TRUE(child<QRadioButton>(dialog, "RadioButton1")->isChecked());
    type(dialog, "Edit2", "open sesame");
    type(dialog, "Edit3", "open sesame");
    click(dialog, "RadioButton2");
    click(dialog, "OfficeButton1");
  });
  Lock.SetChangePassword1Click();
  EXPECT_EQ(savedText("Show"), "open sesame");
  EXPECT_EQ(savedText("Type"), "Only");
  EXPECT_EQ(Desktop->Messages,
            std::vector{information("The password is now set")});
  EXPECT_EQ(Lock.state().Edit34, "open sesame");
  EXPECT_EQ(Lock.state().Edit35, "Only");
}

TEST_F(PasswordLockTest, ChangingAPasswordNeedsTheCurrentOneFirst) {
  lockWith("old", "Not");
  Desktop->pushModal([](QDialog &dialog) {
    EXPECT_TRUE(enabled(dialog, "Edit1"));
    EXPECT_FALSE(enabled(dialog, "Edit2"));
    EXPECT_FALSE(enabled(dialog, "Edit3"));
    EXPECT_TRUE(child<QRadioButton>(dialog, "RadioButton3")->isChecked());
    type(dialog, "Edit1", "old");
    EXPECT_TRUE(enabled(dialog, "Edit2"));
    EXPECT_TRUE(enabled(dialog, "Edit3"));
    type(dialog, "Edit2", "new");
    type(dialog, "Edit3", "new");
    click(dialog, "OfficeButton1");
  });
  Lock.SetChangePassword1Click();
  EXPECT_EQ(savedText("Show"), "new");
  EXPECT_EQ(savedText("Type"), "Not");
  EXPECT_EQ(Lock.state().Edit34, "new");
}

TEST_F(PasswordLockTest, WrongCurrentPasswordClosesWritingNothing) {
  lockWith("old", "Normal");
  Desktop->pushModal([](QDialog &dialog) {
    type(dialog, "Edit1", "olD");
    type(dialog, "Edit2", "new");
    type(dialog, "Edit3", "new");
    click(dialog, "OfficeButton1");
    EXPECT_FALSE(dialog.isVisible());
  });
  Lock.SetChangePassword1Click();
  EXPECT_EQ(savedText("Show"), "old");
  EXPECT_EQ(Desktop->Messages, std::vector{error("Wrong Password!")});
}

TEST_F(PasswordLockTest, DifferingNewEntriesKeepTheDialogOpenAndCleared) {
  lockWith("old", "Normal");
  Desktop->pushModal([](QDialog &dialog) {
    type(dialog, "Edit1", "old");
    type(dialog, "Edit2", "new");
    type(dialog, "Edit3", "nwe");
    click(dialog, "OfficeButton1");
    EXPECT_TRUE(dialog.isVisible());
    for (const char *field : {"Edit1", "Edit2", "Edit3"})
      EXPECT_EQ(child<QLineEdit>(dialog, field)->text(), "") << field;
    click(dialog, "OfficeButton2");
  });
  Lock.SetChangePassword1Click();
  EXPECT_EQ(savedText("Show"), "old");
  EXPECT_EQ(Desktop->Messages,
            std::vector{error("The passwords isn't the same")});
}

TEST_F(PasswordLockTest, CancelClearsTheFieldsForTheNextOpening) {
  firstShowing();
  Desktop->pushModal([](QDialog &dialog) {
    type(dialog, "Edit2", "half");
    click(dialog, "OfficeButton2");
  });
  Desktop->pushModal([](QDialog &dialog) {
    EXPECT_EQ(child<QLineEdit>(dialog, "Edit2")->text(), "");
    click(dialog, "OfficeButton2");
  });
  Lock.SetChangePassword1Click();
  Lock.SetChangePassword1Click();
  EXPECT_EQ(savedText("Show"), "2960RuTe");
}

TEST_F(PasswordLockTest, EmptyPasswordIsAPasswordAndNoPasswordRemovesTheLock) {
  firstShowing();
  Desktop->pushModal([](QDialog &dialog) { click(dialog, "OfficeButton1"); });
  Lock.SetChangePassword1Click();
  EXPECT_EQ(savedText("Show"), "");
  EXPECT_EQ(savedText("Type"), "Normal");

  Desktop->pushModal([](QDialog &dialog) {
    QTest::keyClick(child<QLineEdit>(dialog, "Edit1"), Qt::Key_Backspace);
    type(dialog, "Edit2", "2960RuTe");
    type(dialog, "Edit3", "2960RuTe");
    click(dialog, "OfficeButton1");
  });
  Lock.SetChangePassword1Click();
  EXPECT_EQ(savedText("Show"), "2960RuTe");
  EXPECT_FALSE(security::needsStartupPrompt(Lock.state()));
}

TEST_F(PasswordLockTest, ChangeSecurityRefusesWhileNoPasswordIsSet) {
  firstShowing();
  Lock.Security1Click();
  EXPECT_TRUE(Desktop->ModalDialogsRun.empty());
  EXPECT_EQ(Desktop->Messages,
            std::vector{information("You have to specify a password before "
                                    "you can change the Security Type")});
}

TEST_F(PasswordLockTest, ChangeSecurityAsksThenWritesTheChosenType) {
  lockWith("secret", "Only");
  Desktop->pushModal(answer({"secret"}));
  Desktop->pushModal([](QDialog &dialog) {
    EXPECT_TRUE(child<QRadioButton>(dialog, "RadioButton2")->isChecked());
    click(dialog, "RadioButton3");
    click(dialog, "OfficeButton1");
  });
  Lock.Security1Click();
  EXPECT_EQ(Desktop->ModalDialogsRun,
            (std::vector<QString>{"TForm7", "TForm8"}));
  EXPECT_EQ(savedText("Type"), "Not");
  EXPECT_EQ(Lock.state().Edit35, "Not");
  EXPECT_EQ(Lock.state().Edit36, "");
}

TEST_F(PasswordLockTest, ChangeSecurityCancelChangesNothingButReloads) {
  lockWith("secret", "Normal");
  setText("Type", "Only"); // changed behind the main window's back
  Desktop->pushModal(answer({"secret"}));
  Desktop->pushModal([](QDialog &dialog) {
    click(dialog, "RadioButton3");
    click(dialog, "OfficeButton2");
  });
  Lock.Security1Click();
  EXPECT_EQ(savedText("Type"), "Only");
  EXPECT_EQ(Lock.state().Edit35, "Only");
}

TEST_F(PasswordLockTest, ChangeSecurityWithAWrongPasswordShowsNoSecurity) {
  lockWith("secret", "Normal");
  Desktop->pushModal(answer({"guess"}));
  Lock.Security1Click();
  EXPECT_EQ(Desktop->ModalDialogsRun, std::vector<QString>{"TForm7"});
  EXPECT_EQ(Desktop->Messages, std::vector{error("Wrong Password!")});
  EXPECT_EQ(savedText("Type"), "Normal");
}

TEST_F(PasswordLockTest, DialogsHaveTheirCaptionsSizesAndHelp) {
  const struct {
    QDialog *dialog;
    const char *caption;
    QSize size;
  } cases[] = {
      {&Lock.form5(), "Set/Change Password", {361, 194}},
      {&Lock.form6(), "Password", {219, 90}},
      {&Lock.form7(), "Password", {203, 89}},
      {&Lock.form8(), "Security", {185, 161}},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(c.dialog->windowTitle(), c.caption);
    EXPECT_EQ(c.dialog->size(), c.size);
    EXPECT_FALSE(c.dialog->windowFlags() & Qt::WindowCloseButtonHint);
  }
  lockWith("secret", "Not");
  const auto helpThenCancel = [](QDialog &dialog) {
    QTest::keyClick(&dialog, Qt::Key_F1);
    click(dialog, "OfficeButton2");
  };
  Desktop->pushModal(helpThenCancel);
  Desktop->pushModal(answer({"secret"}));
  Desktop->pushModal(helpThenCancel);
  Lock.SetChangePassword1Click();
  Lock.Security1Click();
  EXPECT_EQ(Desktop->HelpContextsShown, (std::vector{7, 5}));
}

} // namespace
} // namespace tf::test
