// The desktop layer's own behaviours: help topics, DOS paths of the files
// the pickers choose, the check box rule and the credits banner.
#include "app/credits_banner.h"
#include "platform/file_pickers.h"
#include "platform/help_window.h"
#include "platform/prefix_paths.h"
#include "platform/widgets.h"
#include "tests/support/temp_prefix.h"

#include <QCheckBox>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

namespace tf::test {
namespace {

TEST(HelpTest, EveryHelpContextHasItsOwnTopic) {
  for (int context : {1, 4, 5, 6, 7, 10}) {
    const QUrl topic = helpTopicUrl(context);
    EXPECT_NE(topic, helpContentsUrl()) << context;
    EXPECT_TRUE(QFile::exists(QLatin1Char(':') + topic.path())) << context;
  }
  EXPECT_EQ(helpTopicUrl(99), helpContentsUrl());
}

TEST(HelpTest, HelpWindowShowsContentsAndTopics) {
  HelpWindow window;
  window.showContext(4);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.currentUrl(), helpTopicUrl(4));
  window.showContents();
  EXPECT_EQ(window.currentUrl(), helpContentsUrl());
}

TEST(PickerTest, FiltersOfTheTwoDialogs) {
  EXPECT_EQ(pickerFilter(FilePicker::Program).nameFilter, "Programs (*.exe)");
  EXPECT_EQ(pickerFilter(FilePicker::Program).defaultSuffix, "exe");
  EXPECT_EQ(pickerFilter(FilePicker::Icon).nameFilter, "Icons (*.ico)");
}

TEST(PrefixPathsTest, ChosenFilesBecomeDosPathsOfThePrefix) {
  TempPrefix prefix;
  const QString driveC = QString::fromStdString(
      (prefix.path() / "drive_c").lexically_normal().string());
  EXPECT_EQ(QDir(driveCDirectory()).canonicalPath(),
            QDir(driveC).canonicalPath());
  struct Case {
    QString host;
    std::optional<QString> dos;
  };
  for (const Case &c :
       {Case{driveC + "/WINDOWS/NOTEPAD.EXE", "C:\\WINDOWS\\NOTEPAD.EXE"},
        Case{driveC + "/Program Files/a b.ico", "C:\\Program Files\\a b.ico"},
        // Outside the drive: through z:, which Wine maps to /.
        Case{"/usr/share/icons/x.ico", "Z:\\usr\\share\\icons\\x.ico"}})
    EXPECT_EQ(hostToDosPath(c.host), c.dos) << c.host.toStdString();
  EXPECT_EQ(QDir::cleanPath(*dosToHostPath("C:\\WINDOWS\\NOTEPAD.EXE")),
            QDir::cleanPath(driveC + "/WINDOWS/NOTEPAD.EXE"));
}

TEST(CheckBoxTest, HandlerRunsOnEveryChangeAndNotWithoutOne) {
  QCheckBox box;
  std::vector<bool> calls;
  onCheckChange(&box, [&](bool checked) { calls.push_back(checked); });
  box.setChecked(true);                 // from code
  box.setChecked(true);                 // no change
  QTest::keyClick(&box, Qt::Key_Space); // the user
  EXPECT_EQ(calls, (std::vector<bool>{true, false}));
}

TEST(BannerTest, ScrollsUpOnePixelPerStepAndStartsAgain) {
  CreditsBanner banner({QStringLiteral("a"), QStringLiteral("b")});
  banner.resize(169, 129);
  EXPECT_EQ(CreditsBanner::StepMilliseconds, 100);
  banner.step();
  banner.step();
  EXPECT_EQ(banner.offset(), 2);
  const int travel = 129 + 2 * banner.fontMetrics().lineSpacing();
  while (banner.offset() < travel)
    banner.step();
  banner.step();
  EXPECT_EQ(banner.offset(), 0);
}

} // namespace
} // namespace tf::test
