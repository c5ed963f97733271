// Finding and clicking the named controls of a dialog, as a user would.
#pragma once

#include <QAbstractButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tf::test {

template <typename Widget>
Widget *child(const QWidget &parent, const char *name) {
  auto *widget = parent.findChild<Widget *>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

inline void click(const QWidget &dialog, const char *name) {
  QTest::mouseClick(child<QAbstractButton>(dialog, name), Qt::LeftButton);
}

} // namespace tf::test
