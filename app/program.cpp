#include "app/program.h"

#include "app/application.h"
#include "app/main_window.h"
#include "app/settings_steps.h"
#include "app/window_parts.h"
#include "platform/platform.h"
#include "tweaks/look/look_category.h"
#include "tweaks/policies/policies_category.h"

namespace tf {

std::unique_ptr<TForm1> createMainWindow(std::function<void(TForm1 &)> extra) {
  TForm1::Parts parts;
  parts.extensions.push_back([](TForm1 &form) { installLookCategory(form); });
  parts.extensions.push_back(
      [](TForm1 &form) { policies::installPoliciesCategory(form); });
  addSettingsAndLock(parts);
  if (extra)
    parts.extensions.push_back(std::move(extra));
  return std::make_unique<TForm1>(std::move(parts));
}

int runTweakforge(int argc, char **argv) {
  Application application(argc, argv);
  runHandler([] {
    const std::unique_ptr<TForm1> form = createMainWindow();
    form->show();
    QApplication::exec();
  });
  return 0;
}

} // namespace tf
