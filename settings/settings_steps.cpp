#include "settings/settings_steps.h"

#include "registry/registry.h"
#include "settings/settings_key.h"
#include "settings/settings_target.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace tf::settings {

namespace {

void restoreEdge(reg::TRegistry &key, const char *name,
                 void (SettingsTarget::*setEdge)(int), SettingsTarget &target) {
  if (key.ValueExists(name))
    (target.*setEdge)(key.ReadInteger(name));
}

// The distance between two rectangles: zero when they touch or overlap.
long long gap(const QRect &a, const QRect &b) {
  const long long dx =
      std::max({0, b.left() - a.right(), a.left() - b.right()});
  const long long dy =
      std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
  return dx * dx + dy * dy;
}

// Moves `low` so that a span of `length` starting there lies within
// [first, first + size), or starts at `first` when it is too long.
int clampSpan(int low, int length, int first, int size) {
  return std::max(first, std::min(low, first + size - length));
}

// A monitor unplugged since the position was saved would leave the window
// where no one can reach it; only then is it brought back.
void bringBackOntoScreen(SettingsTarget &target) {
  QList<QRect> screens;
  for (const QScreen *screen : QGuiApplication::screens())
    screens.append(screen->availableGeometry());
  const QRect frame = target.windowFrame();
  const QPoint place = keepOnScreens(frame, screens);
  if (place.x() != frame.left())
    target.setWindowLeft(place.x());
  if (place.y() != frame.top())
    target.setWindowTop(place.y());
}

void restorePosition(reg::TRegistry &key, SettingsTarget &target) {
  restoreEdge(key, "Left", &SettingsTarget::setWindowLeft, target);
  restoreEdge(key, "Top", &SettingsTarget::setWindowTop, target);
  bringBackOntoScreen(target);
}

} // namespace

QPoint keepOnScreens(const QRect &frame, const QList<QRect> &screens) {
  const QRect *nearest = nullptr;
  long long nearestGap = std::numeric_limits<long long>::max();
  for (const QRect &screen : screens) {
    const long long distance = gap(frame, screen);
    if (distance == 0)
      return frame.topLeft();
    if (distance < nearestGap) {
      nearestGap = distance;
      nearest = &screen;
    }
  }
  if (!nearest)
    return frame.topLeft();
  return {
      clampSpan(frame.left(), frame.width(), nearest->left(), nearest->width()),
      clampSpan(frame.top(), frame.height(), nearest->top(),
                nearest->height())};
}

void atCreation(reg::TRegistry &key, SettingsTarget &target) {
  if (!key.ValueExists("Nice"))
    key.WriteString("Nice", "Yes");
  else if (isNo(key, "Nice"))
    target.setCommandButtonsFlat(false);

  if (!key.ValueExists("Save"))
    key.WriteString("Save", "Yes");
  else if (isYes(key, "Save"))
    restorePosition(key, target);

  if (isYes(key, "Auto"))
    target.switchAutoArrangeOn();
}

void wrapAtFirstShowing(reg::TRegistry &key, SettingsTarget &target) {
  if (!isNo(key, "Wrap"))
    return;
  target.setLabelWrap(false);
  target.refreshCategoryLists();
}

void autoAtFirstShowing(reg::TRegistry &key, SettingsTarget &target) {
  if (isYes(key, "Auto"))
    target.refreshCategoryLists();
}

void atExit(reg::TRegistry &key, const SettingsTarget &target) {
  if (!key.ValueExists("Save"))
    return;
  if (!isYes(key, "Save")) {
    key.WriteString("Save", "No");
    return;
  }
  const QRect frame = target.windowFrame();
  key.WriteInteger("Left", frame.left());
  key.WriteInteger("Top", frame.top());
}

void OfficeButton67Click(SettingsTarget &target) {
  withSettingsKey([&target](reg::TRegistry &key) {
    if (isYes(key, "Auto"))
      target.switchAutoArrangeOn();
    target.setCommandButtonsFlat(isYes(key, "Nice"));
    if (isNo(key, "Wrap")) {
      target.setLabelWrap(false);
      target.refreshCategoryLists();
    } else {
      target.setLabelWrap(true);
    }
  });
  target.refreshCategoryLists();
}

} // namespace tf::settings
