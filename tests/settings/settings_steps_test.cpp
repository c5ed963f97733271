#include "registry/errors.h"
#include "settings/settings_steps.h"
#include "tests/settings/settings_fixture.h"

#include <QGuiApplication>
#include <QScreen>

namespace tf::test {
namespace {

using settings::atCreation;
using settings::atExit;
using settings::autoAtFirstShowing;
using settings::wrapAtFirstShowing;

class SettingsSteps : public SettingsKeyTest {
protected:
  // Runs one step on the open settings key, as the main window does.
  template <typename Step> void run(Step step) {
    settings::withSettingsKey([&](reg::TRegistry &key) { step(key); });
  }
  void create() {
    run([this](reg::TRegistry &key) { atCreation(key, Target); });
  }
  void exit() {
    run([this](reg::TRegistry &key) { atExit(key, Target); });
  }
};

TEST_F(SettingsSteps, FreshKeyGetsNiceAndSaveAndKeepsTheDesignedPlace) {
  create();
  EXPECT_EQ(savedText("Nice"), "Yes");
  EXPECT_EQ(savedText("Save"), "Yes");
  EXPECT_EQ(savedText("Auto"), std::nullopt);
  EXPECT_EQ(savedText("Wrap"), std::nullopt);
  EXPECT_EQ(Target.Frame.topLeft(), QPoint(69, 6));
  EXPECT_EQ(Target.Flat, std::nullopt);
  EXPECT_FALSE(Target.AutoArrange);
}

TEST_F(SettingsSteps, NiceMakesButtonsNonFlatOnlyForAnExactNo) {
  const struct {
    const char *nice;
    std::optional<bool> flat;
  } cases[] = {{"No", false}, {"no", std::nullopt}, {"Yes", std::nullopt}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.nice);
    setText("Nice", c.nice);
    Target.Flat.reset();
    create();
    EXPECT_EQ(Target.Flat, c.flat);
    EXPECT_EQ(savedText("Nice"), c.nice);
  }
}

TEST_F(SettingsSteps, SavedPositionIsRestoredOnlyWithAnExactYes) {
  const struct {
    const char *save;
    std::optional<int> left, top;
    QPoint place;
  } cases[] = {
      {"Yes", 100, 50, {100, 50}},
      {"Yes", 100, std::nullopt, {100, 6}},
      {"Yes", std::nullopt, 50, {69, 50}},
      {"yes", 100, 50, {69, 6}},
      {"No", 100, 50, {69, 6}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.save);
    freshPrefix();
    setText("Save", c.save);
    if (c.left)
      setNumber("Left", *c.left);
    if (c.top)
      setNumber("Top", *c.top);
    Target.Frame.moveTopLeft({69, 6});
    create();
    EXPECT_EQ(Target.Frame.topLeft(), c.place);
  }
}

TEST_F(SettingsSteps, AutoSwitchesArrangementOnOnlyForAnExactYes) {
  for (const char *autoText : {"yes", "No", "Yes"}) {
    SCOPED_TRACE(autoText);
    setText("Auto", autoText);
    create();
    EXPECT_EQ(Target.AutoArrange, std::string(autoText) == "Yes");
  }
}

TEST_F(SettingsSteps, LeftStoredAsTextStopsTheRestOfCreation) {
  setText("Save", "Yes");
  setText("Left", "1"); // four bytes of UTF-16, so the type is what fails
  setNumber("Top", 50);
  setText("Auto", "Yes");
  try {
    create();
    FAIL() << "no error";
  } catch (const reg::RegistryError &error) {
    EXPECT_STREQ(error.what(), "Invalid data type for 'Left'");
  }
  EXPECT_EQ(Target.Frame.topLeft(), QPoint(69, 6));
  EXPECT_FALSE(Target.AutoArrange);
}

TEST_F(SettingsSteps, PositionOffEveryScreenIsBroughtBackAtStart) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  setText("Save", "Yes");
  setNumber("Left", screen.right() + 2000);
  setNumber("Top", screen.bottom() + 500);
  create();
  EXPECT_TRUE(screen.contains(Target.Frame.topLeft()));
  EXPECT_TRUE(screen.intersects(Target.Frame));
}

TEST_F(SettingsSteps, PositionPartlyOnAScreenIsUsedUnchanged) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QPoint place(screen.right() - 20, -100);
  setText("Save", "Yes");
  setNumber("Left", place.x());
  setNumber("Top", place.y());
  create();
  EXPECT_EQ(Target.Frame.topLeft(), place);
}

TEST(KeepOnScreens, MovesOnlyAFrameThatMissesEveryScreen) {
  const QList<QRect> screens = {{0, 0, 1024, 768}, {1024, 0, 800, 600}};
  const QSize size(530, 450);
  const struct {
    QPoint from, to;
  } cases[] = {
      {{69, 6}, {69, 6}},         // on the first screen
      {{1500, 500}, {1500, 500}}, // partly on the second
      {{3000, 100}, {1294, 100}}, // right of both: nearest is the second
      {{-900, 300}, {0, 300}},    // left of both
      {{500, 2000}, {494, 318}},  // below the first, kept inside it
      {{1700, 900}, {1294, 150}}, // below and right: the second screen
      {{-5000, -5000}, {0, 0}},   // far up and left
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.from.x() << "," << c.from.y());
    EXPECT_EQ(settings::keepOnScreens({c.from, size}, screens), c.to);
  }
}

TEST(KeepOnScreens, AWindowLargerThanTheScreenStartsAtItsCorner) {
  EXPECT_EQ(settings::keepOnScreens({5000, 5000, 900, 700}, {{0, 0, 800, 600}}),
            QPoint(0, 0));
}

TEST_F(SettingsSteps, ExitWritesThePositionOnlyWithAnExactYes) {
  const struct {
    std::optional<const char *> save;
    std::optional<std::string> saveAfter;
    std::optional<std::int32_t> left, top;
  } cases[] = {
      {"Yes", "Yes", 300, 200},
      {"yes", "No", std::nullopt, std::nullopt},
      {"No", "No", std::nullopt, std::nullopt},
      {std::nullopt, std::nullopt, std::nullopt, std::nullopt},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.save.value_or("(missing)"));
    freshPrefix();
    if (c.save)
      setText("Save", *c.save);
    Target.Frame.moveTopLeft({300, 200});
    exit();
    EXPECT_EQ(savedText("Save"), c.saveAfter);
    EXPECT_EQ(savedNumber("Left"), c.left);
    EXPECT_EQ(savedNumber("Top"), c.top);
  }
}

TEST_F(SettingsSteps, FirstShowingUnwrapsForNoAndRefreshesForAuto) {
  const struct {
    std::optional<const char *> wrap, autoText;
    std::optional<bool> wrapAfter;
    int refreshes;
  } cases[] = {
      {std::nullopt, std::nullopt, std::nullopt, 0},
      {"No", std::nullopt, false, 1},
      {"no", std::nullopt, std::nullopt, 0},
      {"Yes", "Yes", std::nullopt, 1},
      {"No", "Yes", false, 2},
      {std::nullopt, "YES", std::nullopt, 0},
  };
  for (const auto &c : cases) {
    freshPrefix();
    if (c.wrap)
      setText("Wrap", *c.wrap);
    if (c.autoText)
      setText("Auto", *c.autoText);
    Target = RecordingTarget();
    run([this](reg::TRegistry &key) {
      wrapAtFirstShowing(key, Target);
      autoAtFirstShowing(key, Target);
    });
    EXPECT_EQ(Target.Wrap, c.wrapAfter);
    EXPECT_EQ(Target.Refreshes, c.refreshes);
    EXPECT_FALSE(Target.AutoArrange);
  }
}

TEST_F(SettingsSteps, ApplyingDisplayOptionsFollowsTheKey) {
  const struct {
    std::optional<const char *> autoText, nice, wrap;
    bool autoArrange, flat, wrapped;
    int refreshes;
  } cases[] = {
      {std::nullopt, std::nullopt, std::nullopt, false, false, true, 1},
      {"Yes", "Yes", "No", true, true, false, 2},
      {"yes", "yes", "no", false, false, true, 1},
      {"No", "No", "Yes", false, false, true, 1},
  };
  for (const auto &c : cases) {
    freshPrefix();
    if (c.autoText)
      setText("Auto", *c.autoText);
    if (c.nice)
      setText("Nice", *c.nice);
    if (c.wrap)
      setText("Wrap", *c.wrap);
    Target = RecordingTarget();
    settings::OfficeButton67Click(Target);
    EXPECT_EQ(Target.AutoArrange, c.autoArrange);
    EXPECT_EQ(Target.Flat, c.flat);
    EXPECT_EQ(Target.Wrap, c.wrapped);
    EXPECT_EQ(Target.Refreshes, c.refreshes);
  }
}

TEST_F(SettingsSteps, AutoSwitchedOnEarlierStaysOnWhenSetBackToNo) {
  setText("Auto", "Yes");
  settings::OfficeButton67Click(Target);
  setText("Auto", "No");
  settings::OfficeButton67Click(Target);
  EXPECT_TRUE(Target.AutoArrange);
}

} // namespace
} // namespace tf::test
