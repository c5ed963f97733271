// The settings and the password lock in the whole program: the main window
// with its menus, category lists and dialogs, started on a prepared prefix.
#include "app/main_window.h"
#include "app/program.h"
#include "platform/help_context.h"
#include "settings/settings_key.h"
#include "tests/support/fake_platform.h"
#include "tests/support/program_fixture.h"
#include "tests/support/temp_prefix.h"
#include "tweaks/common/category_list.h"

#include <QAction>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace tf::test {
namespace {

using Script = FakePlatform::ModalScript;

Script typeAndPress(const QString &typed, const char *button) {
  return [typed, button](QDialog &dialog) {
    QTest::keyClicks(dialog.findChild<QLineEdit *>("Edit1"), typed);
    QTest::mouseClick(dialog.findChild<QAbstractButton *>(button),
                      Qt::LeftButton);
  };
}

Script answerOk(const QString &typed) {
  return typeAndPress(typed, "OfficeButton1");
}

const Script Cancel = typeAndPress("", "OfficeButton2");

class ProgramLock : public ::testing::Test {
protected:
  void setText(const std::string &name, const std::string &data) {
    Prefix.writeString(reg::HKEY_LOCAL_MACHINE, settings::KeyPath, name, data);
  }
  void setNumber(const std::string &name, std::int32_t data) {
    Prefix.writeInteger(reg::HKEY_LOCAL_MACHINE, settings::KeyPath, name, data);
  }
  std::optional<std::string> savedText(const std::string &name) const {
    return Prefix.savedString(reg::HKEY_LOCAL_MACHINE, settings::KeyPath, name);
  }
  std::optional<std::int32_t> savedNumber(const std::string &name) const {
    return Prefix.savedInteger(reg::HKEY_LOCAL_MACHINE, settings::KeyPath,
                               name);
  }

  // Creates and shows the main window, as the entry sequence does; the
  // start-up prompt, if any, answers from the scripts pushed before.
  void start() {
    Form = createMainWindow();
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  }
  // Ends the run: the window is destroyed (FormDestroy).
  void end() { Form.reset(); }

  template <typename T = QWidget> T *find(const char *name) const {
    T *widget = Form->findChild<T *>(name);
    EXPECT_TRUE(widget) << "no widget " << name;
    return widget;
  }
  QAction *action(const char *name) const { return find<QAction>(name); }

  void doubleClickItem(QListWidget *list, int row) {
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  }
  void openPolicies() {
    doubleClickItem(Form->categoryList(), int(Category::Policies));
  }
  QString shownCategoryList() const {
    for (CategoryList *list : Form->allLists())
      if (list != Form->categoryList() && list->isVisible())
        return list->objectName();
    return {};
  }

  TempPrefix Prefix{TempPrefix::Content::Seeded};
  ScopedFakePlatform Fake;
  QuitSpy Quits;
  std::unique_ptr<TForm1> Form;
};

TEST_F(ProgramLock, FirstRunWritesTheDefaultsAndSavesThePositionAtExit) {
  start();
  EXPECT_EQ(Form->pos(), QPoint(69, 6));
  EXPECT_EQ(savedText("Nice"), "Yes");
  EXPECT_EQ(savedText("Save"), "Yes");
  EXPECT_EQ(savedText("Show"), "2960RuTe");
  EXPECT_EQ(savedText("Type"), "Normal");
  EXPECT_TRUE(Fake->ModalDialogsRun.empty());
  EXPECT_EQ(Quits.quits(), 0);
  Form->move(150, 90);
  end();
  EXPECT_EQ(savedNumber("Left"), 150);
  EXPECT_EQ(savedNumber("Top"), 90);
}

TEST_F(ProgramLock, StartUpPromptLetsInOrEndsTheProgramSavingThePosition) {
  const struct {
    const char *what;
    Script script;
    bool goesOn;
    std::vector<RecordedMessage> messages;
  } cases[] = {
      {"right", answerOk("secret"), true, {}},
      {"wrong", answerOk("secreT"), false, {error("Wrong Password!")}},
      {"empty", answerOk(""), false, {error("Wrong Password!")}},
      {"cancel", Cancel, false, {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    setText("Show", "secret");
    setText("Type", "Normal");
    setText("Save", "Yes");
    setNumber("Left", 100);
    setNumber("Top", 50);
    ScopedFakePlatform fake;
    QuitSpy quits;
    fake->pushModal(c.script);
    start();
    EXPECT_EQ(fake->ModalDialogsRun, std::vector<QString>{"TForm6"});
    EXPECT_EQ(fake->Messages, c.messages);
    QCoreApplication::sendPostedEvents(); // the request comes after showing
    EXPECT_EQ(quits.quits(), c.goesOn ? 0 : 1);
    // A refused start takes no input before the program ends.
    EXPECT_EQ(Form->isEnabled(), c.goesOn);
    Form->move(120, 70);
    end();
    EXPECT_EQ(savedNumber("Left"), 120);
    EXPECT_EQ(savedNumber("Top"), 70);
  }
}

TEST_F(ProgramLock, DeletedTypeAsksForThePasswordAtTheNextStart) {
  setText("Show", "secret");
  Fake->pushModal(answerOk("secret"));
  start();
  EXPECT_EQ(savedText("Type"), "Normal");
  EXPECT_EQ(Fake->ModalDialogsRun, std::vector<QString>{"TForm6"});
  EXPECT_EQ(Quits.quits(), 0);
}

TEST_F(ProgramLock, PoliciesAskEveryTimeWithTypeOnly) {
  setText("Show", "secret");
  setText("Type", "Only");
  start();
  ASSERT_TRUE(Fake->ModalDialogsRun.empty());

  Fake->pushModal(Cancel);
  openPolicies();
  EXPECT_EQ(shownCategoryList(), "ListView3");

  Fake->pushModal(answerOk("secret"));
  openPolicies();
  EXPECT_EQ(shownCategoryList(), "ListView11");

  Fake->pushModal(answerOk("wrong"));
  doubleClickItem(Form->categoryList(), int(Category::Look));
  openPolicies();
  EXPECT_EQ(shownCategoryList(), "ListView3");
  EXPECT_EQ(Fake->ModalDialogsRun,
            (std::vector<QString>{"TForm7", "TForm7", "TForm7"}));
  EXPECT_EQ(Fake->Messages, std::vector{error("Wrong Password!")});
}

TEST_F(ProgramLock, PoliciesOpenFreelyWithTypeNormal) {
  setText("Show", "secret");
  setText("Type", "Normal");
  Fake->pushModal(answerOk("secret"));
  start();
  openPolicies();
  EXPECT_EQ(shownCategoryList(), "ListView11");
  EXPECT_EQ(Fake->ModalDialogsRun, std::vector<QString>{"TForm6"});
}

TEST_F(ProgramLock, MenusCarryTheOptionsAndPasswordCommands) {
  start();
  const QList<QAction *> file = Form->fileMenu()->actions();
  ASSERT_EQ(file.size(), 3);
  EXPECT_EQ(file[0]->objectName(), "ResetPosition1");
  EXPECT_EQ(file[0]->text(), "&Options");
  EXPECT_TRUE(file[1]->isSeparator());
  EXPECT_EQ(file[1]->objectName(), "N2");
  EXPECT_EQ(file[2]->objectName(), "Exit1");
  EXPECT_EQ(helpContext(file[0]), 1);

  const QList<QAction *> password = Form->passwordMenu()->actions();
  ASSERT_EQ(password.size(), 2);
  EXPECT_EQ(password[0]->text(), "&Set/Change Password");
  EXPECT_EQ(helpContext(password[0]), 7);
  EXPECT_EQ(password[1]->text(), "&Change Security");
  EXPECT_EQ(helpContext(password[1]), 5);

  Fake->pushModal(Cancel);
  Fake->pushModal(Cancel);
  action("ResetPosition1")->trigger();
  action("SetChangePassword1")->trigger();
  action("Security1")->trigger();
  EXPECT_EQ(Fake->ModalDialogsRun, (std::vector<QString>{"TForm9", "TForm5"}));
  EXPECT_EQ(Fake->Messages.back(),
            information("You have to specify a password before you can "
                        "change the Security Type"));
}

TEST_F(ProgramLock, OptionsCancelAppliesTheDisplayOptionsAndShowsTheLookList) {
  start();
  openPolicies();
  ASSERT_EQ(shownCategoryList(), "ListView11");
  setText("Nice", "No");
  setText("Wrap", "No");
  Fake->pushModal(Cancel);
  action("ResetPosition1")->trigger();
  EXPECT_EQ(shownCategoryList(), "ListView3");
  EXPECT_FALSE(find<QToolButton>("ToolbarButton978")->autoRaise());
  EXPECT_TRUE(find<QToolButton>("ToolbarButton974")->autoRaise());
  for (CategoryList *list : Form->allLists())
    EXPECT_FALSE(list->wordWrap()) << list->objectName().toStdString();
}

TEST_F(ProgramLock, ResetAndCenterMoveTheMainWindow) {
  start();
  const auto chooseOnPositionTab = [](const char *box) {
    return [box](QDialog &dialog) {
      dialog.findChild<QTabBar *>("TabControl1")->setCurrentIndex(1);
      QTest::mouseClick(dialog.findChild<QAbstractButton *>(box),
                        Qt::LeftButton);
      QTest::mouseClick(dialog.findChild<QAbstractButton *>("OfficeButton1"),
                        Qt::LeftButton);
    };
  };
  Form->move(200, 150);
  Fake->pushModal(chooseOnPositionTab("CheckBox1"));
  action("ResetPosition1")->trigger();
  EXPECT_EQ(Form->pos(), QPoint(69, 6));
  EXPECT_EQ(savedNumber("Left"), 69);

  const QRect screen = Form->screen()->geometry();
  Fake->pushModal(chooseOnPositionTab("CheckBox2"));
  action("ResetPosition1")->trigger();
  const QRect frame = Form->frameGeometry();
  EXPECT_EQ(frame.left(), std::max(0, (screen.width() - frame.width()) / 2));
  EXPECT_EQ(frame.top(), std::max(0, (screen.height() - frame.height()) / 2));
}

TEST_F(ProgramLock, SettingsAtStartShapeTheWindow) {
  setText("Nice", "No");
  setText("Wrap", "No");
  setText("Save", "Yes");
  setNumber("Left", 40);
  setNumber("Top", 30);
  start();
  EXPECT_EQ(Form->pos(), QPoint(40, 30));
  EXPECT_FALSE(find<QToolButton>("ToolbarButton9711")->autoRaise());
  for (CategoryList *list : Form->allLists())
    EXPECT_FALSE(list->wordWrap()) << list->objectName().toStdString();
}

TEST_F(ProgramLock, PositionOffEveryScreenComesBackOnOne) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  setText("Save", "Yes");
  setNumber("Left", screen.right() + 3000);
  setNumber("Top", 40);
  start();
  // Placed by its size at creation; the shown window may be a little wider.
  const QRect frame = Form->frameGeometry();
  EXPECT_TRUE(screen.contains(frame.topLeft()));
  EXPECT_GT(screen.intersected(frame).width(), frame.width() * 9 / 10);
  EXPECT_EQ(Form->y(), 40);
}

} // namespace
} // namespace tf::test
