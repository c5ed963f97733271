// The main window end to end: start-up, navigation, the page pattern,
// commands, hints, resizing, re-docking and the ways the program ends.
#include "app/about_page.h"
#include "app/actions_menu.h"
#include "app/program.h"
#include "app/toolbar_dock.h"
#include "app/web_link.h"
#include "platform/resources.h"
#include "registry/errors.h"
#include "tests/support/program_fixture.h"
#include "tweaks/common/category_list.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <array>

namespace tf::test {
namespace {

using reg::HKEY_LOCAL_MACHINE;

const QString Welcome = QStringLiteral("Welcomme to Tweakforge");
const std::string SettingsKey = "SOFTWARE\\Tweakforge";

// "Nice" and "Save" of the settings key as the prefix's files hold them.
using NiceAndSave = std::array<std::optional<std::string>, 2>;
NiceAndSave savedNiceAndSave(const TempPrefix &prefix) {
  return {prefix.savedString(HKEY_LOCAL_MACHINE, SettingsKey, "Nice"),
          prefix.savedString(HKEY_LOCAL_MACHINE, SettingsKey, "Save")};
}

// A category of the test's own in the "Speed and more" place, with one page
// whose filling fails while `FillFails` is set.
class TestPage : public Page {
public:
  explicit TestPage(PageHost &host)
      : Page(host, QStringLiteral("TestPage"), QStringLiteral("Test page")) {
    addOkCancel(QStringLiteral("TestOk"), QStringLiteral("TestCancel"));
  }
  bool FillFails = false;
  int Fills = 0;

protected:
  void fill() override {
    ++Fills;
    if (FillFails)
      throw reg::RegistryError("Invalid data type for 'Test'");
  }
};

constexpr std::array<CategoryItem, 1> TestItems{
    {{"Test item", SpeedPicture, "A test item"}}};

struct TestCategory {
  TestPage *page = nullptr;
  CategoryList *list = nullptr;

  void install(TForm1 &form) {
    page = new TestPage(form);
    list =
        new CategoryList(QStringLiteral("ListView7"), TestItems, form.images());
    form.addPage(page);
    list->setDispatch([this](int) { page->open(); });
    form.addCategoryList(Category::Speed, list);
  }
};

class MainWindowTest : public ProgramTest {
protected:
  void startWithTestCategory() {
    startProgram(TempPrefix::Content::Empty,
                 [this](TForm1 &form) { Test.install(form); });
  }
  CategoryList *ListView1() { return find<CategoryList>("ListView1"); }

  TestCategory Test;
};

TEST_F(MainWindowTest, FirstStartWritesDefaultsAndShowsTheAboutPage) {
  startProgram();
  EXPECT_EQ(savedNiceAndSave(prefix()), (NiceAndSave{"Yes", "Yes"}));
  EXPECT_EQ(visiblePages(), QStringList{"GroupBox1"});
  EXPECT_EQ(visibleCategoryLists(), QStringList{"ListView3"});
  EXPECT_EQ(form().hint(), Welcome);
  EXPECT_EQ(form().windowTitle(), "Tweakforge");
  EXPECT_EQ(form().pos(), QPoint(69, 6));
  EXPECT_EQ(form().size(), QSize(522, 412));
  EXPECT_TRUE(form().aboutPage()->hasPicture());
  EXPECT_TRUE(Fake->Messages.empty());
}

TEST_F(MainWindowTest, ExistingSettingsAreLeftAsTheyAre) {
  TempPrefix setup;
  setup.writeString(HKEY_LOCAL_MACHINE, SettingsKey, "Nice", "No");
  setup.writeString(HKEY_LOCAL_MACHINE, SettingsKey, "Save", "yes");
  // Start on the same prefix: the form uses the current machine.
  auto form = createMainWindow();
  EXPECT_EQ(savedNiceAndSave(setup), (NiceAndSave{"No", "yes"}));
}

// The picture fails: the error box, and the settings steps still run.
struct PictureCase {
  const char *name;
  QByteArray contents; // empty: no file at all
  const char *message;
};

class PictureTest : public ProgramTest,
                    public ::testing::WithParamInterface<PictureCase> {};

TEST_P(PictureTest, FailingPictureIsReportedAndStartUpGoesOn) {
  QTemporaryDir data;
  if (!GetParam().contents.isEmpty()) {
    QFile file(data.filePath(QStringLiteral("TwkForge.bmp")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GetParam().contents);
  }
  setDataDirectories({data.path()});
  startProgram();
  setDataDirectories({});

  EXPECT_EQ(Fake->Messages,
            std::vector<RecordedMessage>{defaultError(GetParam().message)});
  EXPECT_FALSE(form().aboutPage()->hasPicture());
  EXPECT_EQ(visiblePages(), QStringList{"GroupBox1"});
  EXPECT_EQ(savedNiceAndSave(prefix()), (NiceAndSave{"Yes", "Yes"}));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PictureTest,
    ::testing::Values(
        PictureCase{"Missing", {}, "Cannot open file TwkForge.bmp"},
        PictureCase{"NotABitmap", "this is no bitmap",
                    "Bitmap image is not valid"}),
    CaseName);

TEST_F(MainWindowTest, CategoryItemsShowTheirHintAndOpenTheirList) {
  startWithTestCategory();
  clickItem(ListView1(), int(Category::Speed));
  EXPECT_EQ(form().hint(), "Change menu speed etc");
  doubleClickItem(ListView1(), int(Category::Speed));
  EXPECT_EQ(visibleCategoryLists(), QStringList{"ListView7"});
  EXPECT_EQ(visiblePages(), QStringList{"GroupBox1"});

  clickItem(ListView1(), int(Category::Look));
  EXPECT_EQ(form().hint(), "Change how Windows 95 looks");
  doubleClickItem(ListView1(), int(Category::Look));
  EXPECT_EQ(visibleCategoryLists(), QStringList{"ListView3"});
}

TEST_F(MainWindowTest, SwitchingCategoryLeavesTheOpenPage) {
  startWithTestCategory();
  doubleClickItem(find<CategoryList>("ListView3"), 0);
  ASSERT_EQ(visiblePages(), QStringList{"GroupBox3"});
  doubleClickItem(ListView1(), int(Category::Speed));
  EXPECT_EQ(visibleCategoryLists(), QStringList{"ListView7"});
  EXPECT_EQ(visiblePages(), QStringList{"GroupBox3"});
}

TEST_F(MainWindowTest, CategoriesWithoutListsAreLeftOut) {
  startProgram();
  for (int index : {1, 2, 3, 4})
    EXPECT_TRUE(ListView1()->isRowHidden(index)) << index;
  for (int index : {0, 5})
    EXPECT_FALSE(ListView1()->isRowHidden(index)) << index;
}

TEST_F(MainWindowTest, EmptyAreaOfTheCategoryListDoesNothing) {
  startWithTestCategory();
  clickItem(ListView1(), int(Category::Speed));
  doubleClickEmptyArea(ListView1());
  EXPECT_EQ(visibleCategoryLists(), QStringList{"ListView3"});
  EXPECT_EQ(form().hint(), "Change menu speed etc");
}

TEST_F(MainWindowTest, PoliciesGateDecidesWhetherTheCategoryOpens) {
  CategoryList *policies = nullptr;
  startProgram(TempPrefix::Content::Empty, [&](TForm1 &form) {
    policies = new CategoryList(QStringLiteral("ListView11"), TestItems,
                                form.images());
    form.addCategoryList(Category::Policies, policies);
  });
  bool letThrough = false;
  int asked = 0;
  form().setPoliciesGate([&] {
    ++asked;
    return letThrough;
  });
  doubleClickItem(ListView1(), int(Category::Policies));
  EXPECT_EQ(visibleCategoryLists(), QStringList{"ListView3"});
  letThrough = true;
  doubleClickItem(ListView1(), int(Category::Policies));
  EXPECT_EQ(visibleCategoryLists(), QStringList{"ListView11"});
  EXPECT_EQ(asked, 2);
}

TEST_F(MainWindowTest, PagePatternFillsHidesAllAndShows) {
  startWithTestCategory();
  doubleClickItem(ListView1(), int(Category::Speed));
  doubleClickItem(Test.list, 0);
  EXPECT_EQ(Test.page->Fills, 1);
  EXPECT_EQ(visiblePages(), QStringList{"TestPage"});
}

TEST_F(MainWindowTest, FailingFillShowsTheErrorAndKeepsTheOldPage) {
  startWithTestCategory();
  doubleClickItem(ListView1(), int(Category::Speed));
  Test.page->FillFails = true;
  doubleClickItem(Test.list, 0);
  EXPECT_EQ(Fake->Messages, std::vector<RecordedMessage>{
                                defaultError("Invalid data type for 'Test'")});
  EXPECT_EQ(visiblePages(), QStringList{"GroupBox1"});
  // The program goes on: the next opening works.
  Test.page->FillFails = false;
  doubleClickItem(Test.list, 0);
  EXPECT_EQ(visiblePages(), QStringList{"TestPage"});
}

TEST_F(MainWindowTest, AboutReplacesTheShownPage) {
  startProgram();
  action("BitmapIcons1")->trigger();
  ASSERT_EQ(visiblePages(), QStringList{"GroupBox3"});
  click(find("ToolbarButton9711"));
  EXPECT_EQ(visiblePages(), QStringList{"GroupBox1"});
  action("BitmapIcons1")->trigger();
  action("About1")->trigger();
  EXPECT_EQ(visiblePages(), QStringList{"GroupBox1"});
  EXPECT_EQ(visibleCategoryLists(), QStringList{"ListView3"});
}

TEST_F(MainWindowTest, ActionsMenuOpensThePagesThatExist) {
  startProgram();
  QStringList shown;
  for (QAction *item : form().actionsMenu()->actions())
    if (item->isVisible())
      shown << item->objectName();
  EXPECT_EQ(shown, (QStringList{"Animation1", "BitmapIcons1"}));
  struct Route {
    const char *item;
    const char *page;
  };
  for (const Route route :
       {Route{"Animation1", "GroupBox5"}, Route{"BitmapIcons1", "GroupBox3"}}) {
    action(route.item)->trigger();
    EXPECT_EQ(visiblePages(), QStringList{route.page}) << route.item;
  }
}

TEST_F(MainWindowTest, MenusHaveTheirItemsAndButtons) {
  startProgram();
  struct Item {
    const char *name;
    const char *caption;
  };
  for (const Item item :
       {Item{"Exit1", "E&xit"}, Item{"Help1", "&Help"},
        Item{"GotoTweakforgeHomepage1", "&Go to Tweakforge Homepage!"},
        Item{"About1", "&About"}})
    EXPECT_EQ(action(item.name)->text(), item.caption);
  struct Button {
    const char *name;
    const char *caption;
    bool shown;
  };
  for (const Button button : {Button{"ToolbarButton975", "File", true},
                              Button{"ToolbarButton977", "Actions", true},
                              Button{"ToolbarButton973", "Password", true},
                              Button{"ToolbarButton976", "Help", true}}) {
    auto *toolButton = find<QToolButton>(button.name);
    EXPECT_EQ(toolButton->text(), button.caption);
    EXPECT_EQ(toolButton->isVisible(), button.shown) << button.name;
  }
}

TEST_F(MainWindowTest, HelpCommandsOpenTheContents) {
  startProgram();
  action("Help1")->trigger();
  click(find("ToolbarButton979"));
  EXPECT_EQ(Fake->HelpContentsShown, 2);
}

struct WebCase {
  const char *name;
  const char *trigger; // menu item or toolbar button
  bool succeeds;
  const char *url;
  std::vector<RecordedMessage> messages;
};

class WebLinkTest : public ProgramTest,
                    public ::testing::WithParamInterface<WebCase> {};

TEST_P(WebLinkTest, HandsTheAddressToTheDesktop) {
  startProgram();
  Fake->UrlsSucceed = GetParam().succeeds;
  const QString trigger = QString::fromLatin1(GetParam().trigger);
  if (QAction *item = form().findChild<QAction *>(trigger))
    item->trigger();
  else
    click(find(trigger));
  EXPECT_EQ(Fake->UrlsOpened, std::vector<QUrl>{QUrl(GetParam().url)});
  EXPECT_EQ(Fake->Messages, GetParam().messages);
}

const RecordedMessage ConnectFailure{MessageIcon::Error, "Error",
                                     "Error when trying to conect...", false};

INSTANTIATE_TEST_SUITE_P(
    Links, WebLinkTest,
    ::testing::Values(
        WebCase{"HomepageMenu",
                "GotoTweakforgeHomepage1",
                true,
                HomepageAddress,
                {}},
        WebCase{
            "HomepageButton", "ToolbarButton9710", true, HomepageAddress, {}},
        WebCase{"HomepageFails",
                "ToolbarButton9710",
                false,
                HomepageAddress,
                {ConnectFailure}},
        WebCase{"HomepageMenuFails",
                "GotoTweakforgeHomepage1",
                false,
                HomepageAddress,
                {ConnectFailure}},
        WebCase{"Mail",
                "ToolbarButton974",
                true,
                "mailto:tweakforge@example.org",
                {}},
        WebCase{"MailFails",
                "ToolbarButton974",
                false,
                "mailto:tweakforge@example.org",
                {error("Error when trying to send mail!")}}),
    CaseName);

// Every way out ends the program the same way: a posted quit, then the
// window is destroyed and closes the help.
class ExitTest : public ProgramTest,
                 public ::testing::WithParamInterface<const char *> {
protected:
  void leave(const QString &way) {
    if (way == "Exit1")
      action("Exit1")->trigger();
    else if (way == "CloseBox")
      form().close();
    else if (way == "GroupBox3" || way == "GroupBox5") {
      action(way == "GroupBox3" ? "BitmapIcons1" : "Animation1")->trigger();
      click(find(way == "GroupBox3" ? "OfficeButton2" : "OfficeButton6"));
    } else
      click(find(way));
  }
};

TEST_P(ExitTest, EndsTheProgram) {
  startProgram();
  QuitSpy spy;
  leave(QString::fromLatin1(GetParam()));
  EXPECT_EQ(spy.quits(), 1);
  EXPECT_TRUE(Fake->Messages.empty());
  destroyWindow();
  EXPECT_EQ(Fake->HelpQuits, 1);
}

INSTANTIATE_TEST_SUITE_P(Ways, ExitTest,
                         ::testing::Values("Exit1", "ToolbarButton978",
                                           "CloseBox", "GroupBox3",
                                           "GroupBox5"),
                         [](const auto &info) { return info.param; });

// Calls terminate while the window is being shown, as a refused start does.
class TerminateOnShow : public QObject {
public:
  explicit TerminateOnShow(TForm1 &form) : QObject(&form), Form(form) {
    form.installEventFilter(this);
  }
  bool eventFilter(QObject *, QEvent *event) override {
    if (event->type() == QEvent::Show)
      Form.terminate();
    return false;
  }

private:
  TForm1 &Form;
};

// Runs the application's loop as the entry sequence does; false when it had
// to be ended from outside because no quit came.
bool loopEndsByItself() {
  bool stuck = false;
  QTimer::singleShot(5000, [&stuck] {
    stuck = true;
    QCoreApplication::exit(1);
  });
  const int result = QApplication::exec();
  return !stuck && result == 0;
}

TEST_F(MainWindowTest, TerminateWhileShowingEndsTheLoopAndRunsTheExitSteps) {
  createProgram(TempPrefix::Content::Empty,
                [](TForm1 &form) { new TerminateOnShow(form); });
  form().show();
  form().move(140, 80);
  EXPECT_TRUE(loopEndsByItself());
  destroyWindow();
  EXPECT_EQ(Fake->HelpQuits, 1);
  EXPECT_EQ(prefix().savedInteger(HKEY_LOCAL_MACHINE, SettingsKey, "Left"),
            140);
}

TEST_F(MainWindowTest, OkLeavesThePageShownAndTheProgramRunning) {
  startProgram();
  QuitSpy spy;
  action("Animation1")->trigger();
  click(find("OfficeButton5"));
  EXPECT_EQ(visiblePages(), QStringList{"GroupBox5"});
  EXPECT_EQ(spy.quits(), 0);
}

TEST_F(MainWindowTest, MouseMovesSetTheHints) {
  startProgram();
  action("BitmapIcons1")->trigger();
  struct Hint {
    const char *widget;
    const char *hint;
  };
  for (const Hint hint : {
           Hint{"ToolbarButton978", "Exit Tweakforge"},
           Hint{"ToolbarButton979", "Open Tweakforge's Help"},
           Hint{"ToolbarButton9710", "Go to Tweakforge's Homepage"},
           Hint{"ToolbarButton974", "Send me E-Mail"},
           Hint{"ToolbarButton9711", "About Tweakforge"},
           Hint{"OfficeButton1", "Save the settings to the registry"},
           Hint{"OfficeButton2", "Exit Tweakforge without saving. The options "
                                 "you already have saved will remain saved."},
       }) {
    moveMouseOver(find(hint.widget));
    EXPECT_EQ(form().hint(), hint.hint) << hint.widget;
  }
}

TEST_F(MainWindowTest, BareBackgroundWelcomesAndLabelsLeaveTheHint) {
  startProgram();
  action("BitmapIcons1")->trigger();
  moveMouseOver(find("OfficeButton2"));
  const QString cancelHint = form().hint();
  moveMouseOver(find("Label2"));
  EXPECT_EQ(form().hint(), cancelHint);
  moveMouseOver(find("ListView1"));
  EXPECT_EQ(form().hint(), cancelHint);

  // From "E" to the gap between the category list and the pages.
  moveMouseOver(find("ToolbarButton974"));
  QWidget *body = find("Body");
  QWidget *pages = find("PageArea");
  const QPoint gap(pages->x() - 3, pages->y() + 50);
  ASSERT_EQ(body->childAt(gap), nullptr);
  moveMouseOver(body, gap);
  EXPECT_EQ(form().hint(), Welcome);
}

TEST_F(MainWindowTest, FillerPanelsFollowTheWindowWidth) {
  startProgram();
  for (int width : {522, 622, 700, 530}) {
    form().resize(width, form().height());
    const int outer = form().frameGeometry().width();
    QWidget *Panel2 = find("Panel2");
    QWidget *Panel4 = find("Panel4");
    EXPECT_EQ(Panel2->width(), outer - 203) << width;
    EXPECT_EQ(Panel4->x(), 141) << width;
    EXPECT_EQ(Panel4->width(), outer - 149) << width;
  }
}

TEST_F(MainWindowTest, MovingOverTheFillerPanelRedocksTheToolbar) {
  startProgram();
  struct Dock {
    DockToolbar *toolbar;
    const char *panel;
  };
  for (const Dock dock : {Dock{form().menuToolbar(), "Panel2"},
                          Dock{form().commandToolbar(), "Panel4"}}) {
    // The user drags the toolbar by its grip along the dock.
    QWidget *grip = dock.toolbar->childAt(3, 5);
    ASSERT_TRUE(grip);
    QTest::mousePress(grip, Qt::LeftButton, {}, QPoint(3, 5));
    QTest::mouseMove(grip, QPoint(103, 5));
    QTest::mouseRelease(grip, Qt::LeftButton, {}, QPoint(103, 5));
    ASSERT_GT(dock.toolbar->dockPos(), 50) << dock.panel;
    QWidget *panel = find(dock.panel);
    moveMouseOver(panel, QPoint(panel->width() - 5, 5));
    EXPECT_EQ(dock.toolbar->dockPos(), 0) << dock.panel;
    EXPECT_EQ(dock.toolbar->dockRow(), 0);
  }
}

TEST_F(MainWindowTest, F1ShowsTheHelpContext) {
  startProgram();
  QWidget *list = find("ListView1");
  list->setFocus();
  QTest::keyClick(list, Qt::Key_F1);
  struct MenuItem {
    const char *menu;
    const char *item;
    int context;
  };
  for (const MenuItem entry :
       {MenuItem{"PopupMenu1", "Exit1", 1}, MenuItem{"PopupMenu2", "Help1", 1},
        MenuItem{"PopupMenu2", "GotoTweakforgeHomepage1", 4},
        MenuItem{"PopupMenu2", "About1", 6},
        MenuItem{"PopupMenu3", "Animation1", 10}}) {
    auto *menu = find<QMenu>(entry.menu);
    menu->popup(QPoint(100, 100));
    menu->setActiveAction(action(entry.item));
    QTest::keyClick(menu, Qt::Key_F1);
    menu->hide();
  }
  EXPECT_EQ(Fake->HelpContextsShown, (std::vector<int>{1, 1, 1, 4, 6, 10}));
}

bool insideComboBox(const QWidget *widget) {
  for (const QWidget *at = widget->parentWidget(); at; at = at->parentWidget())
    if (qobject_cast<const QComboBox *>(at))
      return true;
  return false;
}

TEST_F(MainWindowTest, EveryControlHasAName) {
  startProgram();
  // Open every page so their controls are in the running program's shape.
  for (QAction *item : form().actionsMenu()->actions())
    if (item->isVisible())
      item->trigger();
  for (QWidget *widget : form().findChildren<QWidget *>()) {
    // A combo box's field and drop-down list are its own parts; the box
    // carries the name.
    if (widget->focusPolicy() == Qt::NoFocus || insideComboBox(widget))
      continue;
    const auto *button = qobject_cast<QAbstractButton *>(widget);
    const bool named = !widget->accessibleName().isEmpty() ||
                       (button && !button->text().isEmpty());
    EXPECT_TRUE(named) << widget->metaObject()->className() << " "
                       << widget->objectName().toStdString()
                       << " has no caption or accessible name";
  }
}

TEST_F(MainWindowTest, EveryFieldIsTheBuddyOfItsLabel) {
  startProgram();
  for (QAction *item : form().actionsMenu()->actions())
    if (item->isVisible())
      item->trigger();
  QSet<const QWidget *> buddies;
  for (const QLabel *label : form().findChildren<QLabel *>())
    if (label->buddy())
      buddies.insert(label->buddy());
  // Text fields carry no caption of their own: their label tells a screen
  // reader what they are for, and its accelerator, if any, reaches them.
  int fields = 0;
  for (const QWidget *field : form().findChildren<QWidget *>()) {
    if (!qobject_cast<const QComboBox *>(field) &&
        !(qobject_cast<const QLineEdit *>(field) && !insideComboBox(field)))
      continue;
    ++fields;
    EXPECT_TRUE(buddies.contains(field))
        << field->objectName().toStdString() << " is no label's buddy";
  }
  EXPECT_GE(fields, 2);
}

} // namespace
} // namespace tf::test
