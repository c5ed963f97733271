#include "platform/wrapping_button.h"

#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace tf::test {
namespace {

const QString LongCaption = "Clears the Recent Documents when you Exit";

TEST(WrappingButton, LongCaptionTakesMoreLinesInANarrowColumn) {
  QWidget column;
  auto *layout = new QVBoxLayout(&column);
  auto *box = new WrappingCheckBox(LongCaption, &column);
  layout->addWidget(box);
  layout->addStretch();
  const int oneLine = box->heightForWidth(2000);
  EXPECT_EQ(oneLine, box->heightForWidth(box->sizeHint().width()));
  EXPECT_GT(box->heightForWidth(120), oneLine);

  column.resize(120, 300);
  column.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&column));
  EXPECT_LE(box->width(), 120);
  EXPECT_GT(box->height(), oneLine);
  EXPECT_EQ(box->text(), LongCaption);
}

TEST(WrappingButton, ClickOnAnyLineOfTheCaptionToggles) {
  WrappingRadioButton first("Only for Policies functions", nullptr);
  first.resize(90, first.heightForWidth(90));
  first.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
  QTest::mouseClick(&first, Qt::LeftButton, {},
                    QPoint(first.width() - 5, first.height() - 3));
  EXPECT_TRUE(first.isChecked());
}

} // namespace
} // namespace tf::test
