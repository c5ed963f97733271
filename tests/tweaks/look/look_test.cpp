// The Look category: its list, and the Bitmap Icons and Animation pages
// reading and writing the registry as the user drives them.
#include "registry/registry.h"
#include "tests/registry/fake_wine_server.h"
#include "tests/support/program_fixture.h"
#include "tweaks/common/category_list.h"

#include <QComboBox>
#include <QTemporaryDir>

#include <QLineEdit>
#include <QTest>
#include <fstream>

namespace tf::test {
namespace {

using reg::HKEY_CLASSES_ROOT;
using reg::HKEY_CURRENT_USER;

const std::string IconKey = "Paint.Picture\\DefaultIcon";
const std::string MetricsKey = "Control Panel\\Desktop\\WindowMetrics";
const QString Restart = QStringLiteral(
    "You have to restart your computer to make the changes take effect");

// What is stored before the page opens: nothing, a string, or a DWORD.
struct Stored {
  enum Kind { Missing, String, Dword } kind = Missing;
  std::string text;
  static Stored missing() { return {Missing, {}}; }
  static Stored string(std::string text) { return {String, std::move(text)}; }
  static Stored dword() { return {Dword, {}}; }
};

class LookTest : public ProgramTest {
protected:
  void store(reg::RootKey root, const std::string &key, const std::string &name,
             const Stored &stored) {
    if (stored.kind == Stored::String)
      prefix().writeString(root, key, name, stored.text);
    else if (stored.kind == Stored::Dword)
      prefix().writeInteger(root, key, name, 1);
  }
  CategoryList *ListView3() { return find<CategoryList>("ListView3"); }
  QComboBox *combo(const char *name) { return find<QComboBox>(name); }
  std::optional<std::string> paintIcon() {
    return prefix().savedString(HKEY_CLASSES_ROOT, IconKey, "");
  }
  std::optional<std::string> minAnimate() {
    return prefix().savedString(HKEY_CURRENT_USER, MetricsKey, "Minanimate");
  }
};

TEST_F(LookTest, ItemsShowTheirHints) {
  startProgram();
  const char *hints[] = {
      "Make the bitmap icons look like an image of them selfs",
      "Remove the Maximize/Minimize animation"};
  for (int row = 0; row < 2; ++row) {
    clickItem(ListView3(), row);
    EXPECT_EQ(form().hint(), hints[row]);
  }
}

TEST_F(LookTest, DoubleClickOnTheEmptyAreaChangesNothing) {
  startProgram();
  clickItem(ListView3(), 0);
  doubleClickEmptyArea(ListView3());
  EXPECT_EQ(visiblePages(), QStringList{"GroupBox1"});
  EXPECT_TRUE(Fake->Messages.empty());
}

TEST_F(LookTest, PagesNotBuiltYetAreLeftOut) {
  startProgram();
  for (int row : {2, 3, 4, 5})
    EXPECT_TRUE(ListView3()->isRowHidden(row)) << row;
}

// A LookTest over a table of cases.
template <typename Case>
class LookCaseTest : public LookTest,
                     public ::testing::WithParamInterface<Case> {};

// The message shown after "O&K", or none.
std::vector<RecordedMessage> messagesIf(bool shown,
                                        const RecordedMessage &message) {
  return shown ? std::vector{message} : std::vector<RecordedMessage>{};
}

// Opening "Bitmap Icons": the default value of Paint.Picture\DefaultIcon.
struct BitmapFill {
  const char *name;
  Stored stored;
  int index;
};

using BitmapFillTest = LookCaseTest<BitmapFill>;

TEST_P(BitmapFillTest, SelectsTheStyleTheRegistryHolds) {
  startProgram();
  store(HKEY_CLASSES_ROOT, IconKey, "", GetParam().stored);
  doubleClickItem(ListView3(), 0);
  EXPECT_EQ(visiblePages(), QStringList{"GroupBox3"});
  EXPECT_EQ(combo("ComboBox1")->currentIndex(), GetParam().index);
  EXPECT_TRUE(prefix().savedKeyExists(HKEY_CLASSES_ROOT, IconKey));
  EXPECT_TRUE(Fake->Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, BitmapFillTest,
    ::testing::Values(
        BitmapFill{"NoKey", Stored::missing(), 0},
        BitmapFill{"OwnContent", Stored::string("%1"), 1},
        BitmapFill{"TrailingBlank", Stored::string("%1 "), 0},
        BitmapFill{"SurroundingText", Stored::string("\"%1\""), 0},
        BitmapFill{"PaintIcon", Stored::string("C:\\WINDOWS\\PBRUSH.EXE,1"), 0},
        BitmapFill{"Empty", Stored::string(""), 0}),
    CaseName);

// "O&K" on "Bitmap Icons", by the choice in ComboBox1.
struct BitmapWrite {
  const char *name;
  int index; // -1: nothing chosen
  std::optional<std::string> written;
};

using BitmapWriteTest = LookCaseTest<BitmapWrite>;

TEST_P(BitmapWriteTest, WritesTheChosenStyle) {
  startProgram();
  action("BitmapIcons1")->trigger();
  combo("ComboBox1")->setCurrentIndex(GetParam().index);
  click(find("OfficeButton1"));
  EXPECT_EQ(paintIcon(), GetParam().written);
  // Choosing nothing writes nothing; the key exists from opening the page.
  EXPECT_EQ(Fake->Messages, messagesIf(GetParam().written.has_value(),
                                       information(Restart + "!")));
  EXPECT_EQ(visiblePages(), QStringList{"GroupBox3"});
}

INSTANTIATE_TEST_SUITE_P(
    Choices, BitmapWriteTest,
    ::testing::Values(BitmapWrite{"AsBitmaps", 1, "%1"},
                      BitmapWrite{"Normal", 0,
                                  "C:\\PROGRAM\\TILLBE~1\\MSPAINT.EXE,1"},
                      BitmapWrite{"NothingChosen", -1, std::nullopt}),
    CaseName);

TEST_F(LookTest, TypingIntoTheStyleFieldChoosesNothing) {
  startProgram();
  doubleClickItem(ListView3(), 0);
  QComboBox *ComboBox1 = combo("ComboBox1");
  ASSERT_EQ(ComboBox1->currentIndex(), 0);
  ComboBox1->lineEdit()->selectAll();
  typeInto(ComboBox1->lineEdit(), QStringLiteral("View as smal bitmaps"));
  EXPECT_EQ(ComboBox1->currentIndex(), -1);
  EXPECT_EQ(ComboBox1->currentText(), "View as smal bitmaps");
  // Leaving the field keeps it so.
  find("OfficeButton1")->setFocus();
  EXPECT_EQ(ComboBox1->currentIndex(), -1);
  click(find("OfficeButton1"));
  EXPECT_EQ(paintIcon(), std::nullopt);
  EXPECT_TRUE(Fake->Messages.empty());
}

TEST_F(LookTest, ExamplesChooseTheStyleWithoutWriting) {
  startProgram();
  action("BitmapIcons1")->trigger();
  auto *ListView2 = find<CategoryList>("ListView2");
  clickItem(ListView2, 0);
  EXPECT_EQ(form().hint(), "Select Normal Viewing Style");
  clickItem(ListView2, 1);
  EXPECT_EQ(form().hint(),
            "Select to View Bitmap icons to a picture of them self");
  doubleClickItem(ListView2, 1);
  EXPECT_EQ(combo("ComboBox1")->currentIndex(), 1);
  doubleClickItem(ListView2, 0);
  EXPECT_EQ(combo("ComboBox1")->currentIndex(), 0);
  EXPECT_EQ(paintIcon(), std::nullopt);
}

TEST_F(LookTest, StartTextsOfTheStyleFields) {
  startProgram();
  for (const auto &[name, text] :
       {std::pair{"ComboBox1", "Select Viewing Style!"},
        std::pair{"ComboBox2", "Select Animation style"}}) {
    EXPECT_EQ(combo(name)->currentIndex(), -1) << name;
    EXPECT_EQ(combo(name)->currentText(), text) << name;
  }
}

// Opening "Animation": "Minanimate" under WindowMetrics.
struct AnimationFill {
  const char *name;
  Stored stored;
  int index;
};

using AnimationFillTest = LookCaseTest<AnimationFill>;

TEST_P(AnimationFillTest, SelectsTheStyleTheRegistryHolds) {
  startProgram();
  store(HKEY_CURRENT_USER, MetricsKey, "Minanimate", GetParam().stored);
  doubleClickItem(ListView3(), 1);
  EXPECT_EQ(visiblePages(), QStringList{"GroupBox5"});
  EXPECT_EQ(combo("ComboBox2")->currentIndex(), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(
    Values, AnimationFillTest,
    ::testing::Values(AnimationFill{"Missing", Stored::missing(), 1},
                      AnimationFill{"Off", Stored::string("0"), 0},
                      AnimationFill{"On", Stored::string("1"), 1},
                      AnimationFill{"Empty", Stored::string(""), 1},
                      AnimationFill{"ZeroAndBlank", Stored::string("0 "), 1}),
    CaseName);

// "O&K" on "Animation".
struct AnimationWrite {
  const char *name;
  Stored before;
  int index;
  std::optional<std::string> after;
  bool message;
};

using AnimationWriteTest = LookCaseTest<AnimationWrite>;

TEST_P(AnimationWriteTest, WritesOrRemovesTheValue) {
  startProgram();
  store(HKEY_CURRENT_USER, MetricsKey, "Minanimate", GetParam().before);
  action("Animation1")->trigger();
  combo("ComboBox2")->setCurrentIndex(GetParam().index);
  click(find("OfficeButton5"));
  EXPECT_EQ(minAnimate(), GetParam().after);
  EXPECT_EQ(Fake->Messages,
            messagesIf(GetParam().message, information(Restart)));
  EXPECT_EQ(visiblePages(), QStringList{"GroupBox5"});
}

INSTANTIATE_TEST_SUITE_P(
    Choices, AnimationWriteTest,
    ::testing::Values(
        AnimationWrite{"NoAnimation", Stored::missing(), 0, "0", true},
        AnimationWrite{"AnimateRemovesTheValue", Stored::string("0"), 1,
                       std::nullopt, true},
        AnimationWrite{"AnimateWithoutTheValue", Stored::missing(), 1,
                       std::nullopt, true},
        AnimationWrite{"NothingChosen", Stored::string("1"), -1, "1", false}),
    CaseName);

// A value of another type than text stops the opening: the error box, and
// the page that was shown stays.
struct WrongType {
  const char *name;
  reg::RootKey root;
  std::string key;
  std::string value;
  int row;
  const char *message;
};

using WrongTypeTest = LookCaseTest<WrongType>;

TEST_P(WrongTypeTest, ReportsAndKeepsTheShownPage) {
  startProgram();
  store(GetParam().root, GetParam().key, GetParam().value, Stored::dword());
  doubleClickItem(ListView3(), GetParam().row);
  EXPECT_EQ(Fake->Messages,
            std::vector<RecordedMessage>{defaultError(GetParam().message)});
  EXPECT_EQ(visiblePages(), QStringList{"GroupBox1"});
}

INSTANTIATE_TEST_SUITE_P(
    Values, WrongTypeTest,
    ::testing::Values(WrongType{"PaintIcon", HKEY_CLASSES_ROOT, IconKey, "", 0,
                                "Invalid data type for ''"},
                      WrongType{"Minanimate", HKEY_CURRENT_USER, MetricsKey,
                                "Minanimate", 1,
                                "Invalid data type for 'Minanimate'"}),
    CaseName);

// While Wine runs for the prefix nothing may be written, and the restart
// message must not claim a change that is not on disk: the refusal is shown
// instead and the handler stops.
TEST_F(LookTest, SaveRefusedWhileWineRunsShowsNoRestartMessage) {
  startProgram(TempPrefix::Content::Seeded); // the page's key exists
  QTemporaryDir wineTmp;
  qputenv("TWEAKFORGE_WINE_TMPDIR", wineTmp.path().toLocal8Bit());
  std::ofstream(prefix().path() / "wineserver") << "wine-test\n";
  tftest::FakeWineServer wine(
      std::filesystem::path(wineTmp.path().toStdString()) / "wine-test" /
      tftest::wineServerDirName(prefix().path()) / "lock");

  action("Animation1")->trigger();
  combo("ComboBox2")->setCurrentIndex(0);
  click(find("OfficeButton5"));
  qunsetenv("TWEAKFORGE_WINE_TMPDIR");

  EXPECT_EQ(minAnimate(), std::nullopt);
  ASSERT_EQ(Fake->Messages.size(), 1u);
  EXPECT_EQ(Fake->Messages[0].caption, "Tweakforge");
  EXPECT_TRUE(Fake->Messages[0].text.startsWith("Wine is running"))
      << Fake->Messages[0].text.toStdString();
}

TEST_F(LookTest, KeyboardOpensAPageAndItsAcceleratorSaves) {
  startProgram();
  ListView3()->setFocus();
  QTest::keyClick(ListView3(), Qt::Key_Right);
  EXPECT_EQ(form().hint(), "Remove the Maximize/Minimize animation");
  QTest::keyClick(ListView3(), Qt::Key_Return);
  ASSERT_EQ(visiblePages(), QStringList{"GroupBox5"});
  QComboBox *ComboBox2 = combo("ComboBox2");
  ComboBox2->setFocus();
  QTest::keyClick(ComboBox2, Qt::Key_Up);
  ASSERT_EQ(ComboBox2->currentIndex(), 0);
  QTest::keyClick(ComboBox2, Qt::Key_K, Qt::AltModifier);
  // The accelerator presses the button, which clicks once its press has
  // been shown.
  ASSERT_TRUE(QTest::qWaitFor([this] { return !Fake->Messages.empty(); }));
  EXPECT_EQ(minAnimate(), "0");
  EXPECT_EQ(Fake->Messages, std::vector{information(Restart)});
}

TEST_F(LookTest, ReopeningRereadsTheRegistry) {
  startProgram();
  action("Animation1")->trigger();
  combo("ComboBox2")->setCurrentIndex(0);
  click(find("OfficeButton5"));
  combo("ComboBox2")->setCurrentIndex(1);
  action("BitmapIcons1")->trigger();
  doubleClickItem(ListView3(), 1);
  EXPECT_EQ(combo("ComboBox2")->currentIndex(), 0);
}

} // namespace
} // namespace tf::test
