#include "registry/errors.h"
#include "settings/options_dialog.h"
#include "settings/settings_steps.h"
#include "tests/settings/dialog_driving.h"
#include "tests/settings/settings_fixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

namespace tf::test {
namespace {

using settings::ResetPosition1Click;
using settings::TForm9;

bool checked(const QWidget &dialog, const char *name) {
  return child<QAbstractButton>(dialog, name)->isChecked();
}

void selectTab(const QWidget &dialog, int index) {
  child<QTabBar>(dialog, "TabControl1")->setCurrentIndex(index);
}

class OptionsDialog : public SettingsKeyTest {
protected:
  // The main window's creation, which writes the defaults on a fresh key.
  void create() {
    settings::withSettingsKey(
        [&](reg::TRegistry &key) { settings::atCreation(key, Target); });
  }
  void openOptions(FakePlatform::ModalScript script) {
    Desktop->pushModal(std::move(script));
    ResetPosition1Click(Dialog, Target);
  }

  TForm9 Dialog{Target};
};

TEST_F(OptionsDialog, HasItsCaptionAndAtLeastItsDesignedSize) {
  EXPECT_EQ(Dialog.windowTitle(), "Options");
  EXPECT_GE(Dialog.width(), 273);
  EXPECT_GE(Dialog.height(), 170);
}

// Every tab caption shows without scroll arrows, and on every tab each
// option, picture and button lies whole inside the dialog.
TEST_F(OptionsDialog, EveryTextFitsWithTheDesktopFont) {
  Dialog.show();
  const auto *tabs = child<QTabBar>(Dialog, "TabControl1");
  for (int index = 0; index < tabs->count(); ++index) {
    SCOPED_TRACE(tabs->tabText(index).toStdString());
    EXPECT_LE(tabs->tabRect(index).right(), tabs->width() - 1);
    EXPECT_LE(tabs->mapTo(&Dialog, QPoint(tabs->width(), 0)).x(),
              Dialog.width());
    selectTab(Dialog, index);
    for (const QAbstractButton *button :
         Dialog.findChildren<QAbstractButton *>()) {
      if (!button->isVisibleTo(&Dialog))
        continue;
      SCOPED_TRACE(button->objectName().toStdString());
      // Push buttons keep their designed 75 pixels; the caption must fit.
      const int needed = qobject_cast<const QPushButton *>(button)
                             ? button->fontMetrics().horizontalAdvance(
                                   button->text().remove('&'))
                             : button->sizeHint().width();
      EXPECT_GE(button->width(), needed);
      EXPECT_TRUE(Dialog.rect().contains(
          QRect(button->mapTo(&Dialog, QPoint()), button->size())));
    }
  }
}

TEST_F(OptionsDialog, OpensOnAFreshKeyWithTheDefaultsOnTheFirstTab) {
  create();
  openOptions([](QDialog &dialog) {
    EXPECT_TRUE(checked(dialog, "RadioButton6")); // Default arangement
    EXPECT_TRUE(checked(dialog, "RadioButton1")); // Save Position
    EXPECT_TRUE(checked(dialog, "RadioButton8")); // Wrap icon text
    EXPECT_TRUE(checked(dialog, "RadioButton3")); // Flat toolbar buttons
    EXPECT_EQ(child<QTabBar>(dialog, "TabControl1")->currentIndex(), 0);
    EXPECT_TRUE(child<QRadioButton>(dialog, "RadioButton1")->isVisible());
    EXPECT_FALSE(child<QCheckBox>(dialog, "CheckBox1")->isVisible());
    click(dialog, "OfficeButton2");
  });
  EXPECT_EQ(Desktop->ModalDialogsRun, std::vector<QString>{"TForm9"});
}

TEST_F(OptionsDialog, PresetsFollowTheExactTexts) {
  setText("Auto", "Yes");
  setText("Save", "yes");
  setText("Wrap", "No");
  setText("Nice", "No");
  openOptions([](QDialog &dialog) {
    EXPECT_TRUE(checked(dialog, "RadioButton5"));
    EXPECT_TRUE(checked(dialog, "RadioButton2"));
    EXPECT_TRUE(checked(dialog, "RadioButton7"));
    EXPECT_TRUE(checked(dialog, "RadioButton4"));
    click(dialog, "OfficeButton2");
  });
}

TEST_F(OptionsDialog, EachTabShowsItsOwnControls) {
  const struct {
    int tab;
    std::vector<const char *> shown;
  } cases[] = {
      {0, {"GroupBox2", "RadioButton1", "RadioButton2"}},
      {1, {"GroupBox2", "CheckBox1", "CheckBox2"}},
      {2, {"GroupBox1", "RadioButton4", "RadioButton3"}},
      {3, {"GroupBox3", "RadioButton5", "RadioButton6"}},
      {4, {"GroupBox4", "RadioButton8", "RadioButton7"}},
  };
  const char *const all[] = {"GroupBox1",    "GroupBox2",    "GroupBox3",
                             "GroupBox4",    "RadioButton1", "RadioButton2",
                             "RadioButton3", "RadioButton4", "RadioButton5",
                             "RadioButton6", "RadioButton7", "RadioButton8",
                             "CheckBox1",    "CheckBox2"};
  openOptions([&](QDialog &dialog) {
    for (const auto &c : cases) {
      selectTab(dialog, c.tab);
      for (const char *name : all) {
        const bool expected =
            std::find_if(c.shown.begin(), c.shown.end(), [&](const char *s) {
              return std::string(s) == name;
            }) != c.shown.end();
        EXPECT_EQ(child<QWidget>(dialog, name)->isVisible(), expected)
            << "tab " << c.tab << ": " << name;
      }
    }
    click(dialog, "OfficeButton2");
  });
}

TEST_F(OptionsDialog, OkWritesTheChosenOptions) {
  openOptions([](QDialog &dialog) {
    selectTab(dialog, 0);
    click(dialog, "RadioButton2");
    selectTab(dialog, 2);
    click(dialog, "RadioButton4");
    selectTab(dialog, 3);
    click(dialog, "RadioButton5");
    selectTab(dialog, 4);
    click(dialog, "RadioButton7");
    click(dialog, "OfficeButton1");
  });
  EXPECT_EQ(savedText("Wrap"), "No");
  EXPECT_EQ(savedText("Nice"), "No");
  EXPECT_EQ(savedText("Save"), "No");
  EXPECT_EQ(savedText("Auto"), "Yes");
  EXPECT_EQ(savedNumber("Left"), std::nullopt);
  // The display options are applied at once.
  EXPECT_TRUE(Target.AutoArrange);
  EXPECT_EQ(Target.Flat, false);
  EXPECT_EQ(Target.Wrap, false);
}

TEST_F(OptionsDialog, CancelWritesNothingButAppliesTheDisplayOptions) {
  setText("Wrap", "No");
  setText("Nice", "Yes");
  openOptions([](QDialog &dialog) {
    selectTab(dialog, 3);
    click(dialog, "RadioButton5");
    click(dialog, "OfficeButton2");
  });
  EXPECT_EQ(savedText("Auto"), std::nullopt);
  EXPECT_EQ(savedText("Save"), std::nullopt);
  EXPECT_EQ(savedText("Wrap"), "No");
  EXPECT_FALSE(Target.AutoArrange);
  EXPECT_EQ(Target.Flat, true);
  EXPECT_EQ(Target.Wrap, false);
  // Applying refreshes twice (unwrapping, then the end of applying) and the
  // command once more: the Look list ends up shown.
  EXPECT_EQ(Target.Refreshes, 3);
}

TEST_F(OptionsDialog, EscapeActsAsCancel) {
  openOptions([](QDialog &dialog) {
    selectTab(dialog, 1);
    click(dialog, "CheckBox1");
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  EXPECT_FALSE(Dialog.isVisible());
  EXPECT_EQ(savedText("Save"), std::nullopt);
  EXPECT_EQ(Target.Frame.topLeft(), QPoint(69, 6));
  EXPECT_FALSE(checked(Dialog, "CheckBox1"));
}

TEST_F(OptionsDialog, ResetPositionWithSavingJumpsAndIsOverwrittenAtExit) {
  create();
  Target.Frame.moveTopLeft({400, 300});
  openOptions([](QDialog &dialog) {
    selectTab(dialog, 1);
    click(dialog, "CheckBox1");
    click(dialog, "OfficeButton1");
  });
  EXPECT_EQ(Target.Frame.topLeft(), QPoint(69, 6));
  EXPECT_EQ(savedNumber("Left"), 69);
  EXPECT_EQ(savedNumber("Top"), 6);

  Target.Frame.moveTopLeft({120, 80});
  settings::withSettingsKey(
      [&](reg::TRegistry &key) { settings::atExit(key, Target); });
  EXPECT_EQ(savedNumber("Left"), 120);
  EXPECT_EQ(savedNumber("Top"), 80);
}

TEST_F(OptionsDialog, ResetPositionWithoutSavingIsIgnoredAtTheNextStart) {
  create();
  Target.Frame.moveTopLeft({400, 300});
  openOptions([](QDialog &dialog) {
    click(dialog, "RadioButton2");
    selectTab(dialog, 1);
    click(dialog, "CheckBox1");
    click(dialog, "OfficeButton1");
  });
  EXPECT_EQ(Target.Frame.topLeft(), QPoint(69, 6));
  EXPECT_EQ(savedText("Save"), "No");
  EXPECT_EQ(savedNumber("Left"), 69);
  EXPECT_EQ(savedNumber("Top"), 6);

  RecordingTarget nextStart;
  nextStart.Frame.moveTopLeft({10, 10});
  settings::withSettingsKey(
      [&](reg::TRegistry &key) { settings::atCreation(key, nextStart); });
  EXPECT_EQ(nextStart.Frame.topLeft(), QPoint(10, 10));
}

TEST_F(OptionsDialog, CenterAfterResetLeavesOnlyCenterAndWritesNoPosition) {
  create();
  Target.Frame = {400, 300, 530, 450};
  Target.Screen = {0, 0, 1024, 768};
  openOptions([](QDialog &dialog) {
    selectTab(dialog, 1);
    click(dialog, "CheckBox1");
    click(dialog, "CheckBox2");
    EXPECT_FALSE(checked(dialog, "CheckBox1"));
    EXPECT_TRUE(checked(dialog, "CheckBox2"));
    click(dialog, "OfficeButton1");
  });
  EXPECT_EQ(Target.Frame.topLeft(), QPoint(247, 159));
  EXPECT_EQ(savedNumber("Left"), std::nullopt);
  EXPECT_EQ(savedNumber("Top"), std::nullopt);
}

TEST_F(OptionsDialog, CenterOfAWindowLargerThanTheScreenIsTheCorner) {
  Target.Frame = {400, 300, 530, 450};
  Target.Screen = {0, 0, 500, 400};
  openOptions([](QDialog &dialog) {
    selectTab(dialog, 1);
    click(dialog, "CheckBox2");
    click(dialog, "OfficeButton1");
  });
  EXPECT_EQ(Target.Frame.topLeft(), QPoint(0, 0));
}

TEST_F(OptionsDialog, ReopensOnTheFirstTabWithTheBoxesUnchecked) {
  for (const char *button : {"OfficeButton1", "OfficeButton2"}) {
    SCOPED_TRACE(button);
    openOptions([button](QDialog &dialog) {
      selectTab(dialog, 1);
      click(dialog, "CheckBox2");
      click(dialog, button);
    });
    openOptions([](QDialog &dialog) {
      EXPECT_EQ(child<QTabBar>(dialog, "TabControl1")->currentIndex(), 0);
      EXPECT_TRUE(child<QRadioButton>(dialog, "RadioButton1")->isVisible());
      EXPECT_FALSE(child<QCheckBox>(dialog, "CheckBox2")->isVisible());
      EXPECT_FALSE(checked(dialog, "CheckBox1"));
      EXPECT_FALSE(checked(dialog, "CheckBox2"));
      click(dialog, "OfficeButton2");
    });
  }
}

TEST_F(OptionsDialog,
       ChoosingDefaultArrangementKeepsIconsArrangedUntilRestart) {
  setText("Auto", "Yes");
  create();
  ASSERT_TRUE(Target.AutoArrange);
  openOptions([](QDialog &dialog) {
    selectTab(dialog, 3);
    click(dialog, "RadioButton6");
    click(dialog, "OfficeButton1");
  });
  EXPECT_EQ(savedText("Auto"), "No");
  EXPECT_TRUE(Target.AutoArrange);
}

TEST_F(OptionsDialog, ValueOfTheWrongTypeKeepsTheDialogClosed) {
  setNumber("Save", 1);
  try {
    ResetPosition1Click(Dialog, Target);
    FAIL() << "no error";
  } catch (const reg::RegistryError &error) {
    EXPECT_STREQ(error.what(), "Invalid data type for 'Save'");
  }
  EXPECT_TRUE(Desktop->ModalDialogsRun.empty());
  EXPECT_EQ(Target.Refreshes, 0);
}

} // namespace
} // namespace tf::test
