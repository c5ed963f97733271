// What the settings need from the main window. The main window implements
// this and knows nothing of the values behind it.
#pragma once

#include <QRect>

namespace tf::settings {

class SettingsTarget {
public:
  virtual ~SettingsTarget() = default;

  // The toolbar command buttons Exit, Help, "W" and "A"
  // (`ToolbarButton978`, `ToolbarButton979`, `ToolbarButton9710`,
  // `ToolbarButton9711`): flat, raised only under the mouse, or ordinary
  // raised buttons. "E" keeps its flat style either way.
  virtual void setCommandButtonsFlat(bool flat) = 0;
  // Switches automatic icon arrangement on for `ListView1` to `ListView8`,
  // `ListView10` and `ListView11`. It is never switched off while running.
  virtual void switchAutoArrangeOn() = 0;
  // Icon label wrapping of all eleven list views.
  virtual void setLabelWrap(bool wrap) = 0;
  // Re-shows the category lists, ending with the Look list shown.
  virtual void refreshCategoryLists() = 0;

  // The main window's outer frame in screen pixels; its left and top edges
  // are the position that is saved.
  virtual QRect windowFrame() const = 0;
  virtual void setWindowLeft(int left) = 0;
  virtual void setWindowTop(int top) = 0;
  // The whole screen the main window is on, for centring.
  virtual QRect screenGeometry() const = 0;
};

} // namespace tf::settings
