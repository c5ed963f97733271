#include "app/application.h"

#include "platform/help_context.h"
#include "platform/platform.h"
#include "platform/resources.h"
#include "registry/machine.h"
#include "tweaks/common/image_list.h"

namespace tf {

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("tweakforge"));
  setApplicationDisplayName(QString::fromLatin1(ApplicationTitle));
  setApplicationVersion(QStringLiteral(TF_VERSION));
  setDesktopFileName(QStringLiteral("tweakforge"));
  initResources();
  setWindowIcon(applicationIcon());
  installF1Help(*this);
}

bool Application::notify(QObject *receiver, QEvent *event) {
  bool handled = false;
  runHandler([&] {
    reg::SaveGroup group;
    handled = QApplication::notify(receiver, event);
    group.commit();
  });
  return handled;
}

} // namespace tf
