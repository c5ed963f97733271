// A stand-in for the main window that records what the settings did to it.
#pragma once

#include "settings/settings_target.h"

#include <optional>

namespace tf::test {

class RecordingTarget : public settings::SettingsTarget {
public:
  std::optional<bool> Flat;     // last style the command buttons were given
  bool AutoArrange = false;     // switched on at some point
  std::optional<bool> Wrap;     // last label wrapping given
  int Refreshes = 0;            // RefreshCategoryLists runs
  QRect Frame{69, 6, 530, 450}; // the window as designed
  QRect Screen{0, 0, 800, 600};

  void setCommandButtonsFlat(bool flat) override { Flat = flat; }
  void switchAutoArrangeOn() override { AutoArrange = true; }
  void setLabelWrap(bool wrap) override { Wrap = wrap; }
  void refreshCategoryLists() override { ++Refreshes; }
  QRect windowFrame() const override { return Frame; }
  void setWindowLeft(int left) override { Frame.moveLeft(left); }
  void setWindowTop(int top) override { Frame.moveTop(top); }
  QRect screenGeometry() const override { return Screen; }
};

} // namespace tf::test
