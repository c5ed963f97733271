// What the main window does with the settings key when it is created, first
// shown and destroyed, and applying the display options while running.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

namespace reg {
class TRegistry;
}

namespace tf::settings {

class SettingsTarget;

// `FormCreate` steps 3 to 5, on the open settings key: the toolbar style
// ("Nice", written "Yes" when missing), the saved position ("Save", written
// "Yes" when missing; "Left" and "Top" restored only when it is "Yes"), and
// automatic arrangement ("Auto").
void atCreation(reg::TRegistry &key, SettingsTarget &target);

// `FormShow` step 2: "Wrap" = "No" switches label wrapping off.
void wrapAtFirstShowing(reg::TRegistry &key, SettingsTarget &target);
// `FormShow` step 4: "Auto" = "Yes" refreshes the category lists.
void autoAtFirstShowing(reg::TRegistry &key, SettingsTarget &target);

// `FormDestroy` step 3: with "Save" = "Yes" the position is written; with
// any other "Save" it is rewritten as "No"; without "Save" nothing happens.
void atExit(reg::TRegistry &key, const SettingsTarget &target);

// `OfficeButton67Click`: applies "Auto", "Nice" and "Wrap" to the main
// window as they stand in the registry, then refreshes the category lists.
void OfficeButton67Click(SettingsTarget &target);

// Where a window whose outer frame is `frame` goes when it lies on none of
// `screens`: the nearest screen, as far inside it as the window fits. A
// frame that touches any screen keeps its place.
QPoint keepOnScreens(const QRect &frame, const QList<QRect> &screens);

} // namespace tf::settings
