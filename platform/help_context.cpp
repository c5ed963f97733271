#include "platform/help_context.h"

#include "platform/platform.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

namespace tf {

namespace {

const char *const ContextProperty = "helpContext";

int ownContext(const QObject *object) {
  return object ? object->property(ContextProperty).toInt() : 0;
}

class F1Filter : public QObject {
public:
  using QObject::QObject;

  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() != QEvent::KeyPress ||
        static_cast<QKeyEvent *>(event)->key() != Qt::Key_F1 ||
        !watched->isWidgetType())
      return false;
    const int context = helpContextForKey(static_cast<QWidget *>(watched));
    if (context == 0)
      return false;
    platform().showHelpContext(context);
    return true;
  }
};

} // namespace

void setHelpContext(QObject *object, int context) {
  object->setProperty(ContextProperty, context);
}

int helpContext(const QObject *object) {
  for (const QObject *at = object; at; at = at->parent()) {
    if (const int context = ownContext(at))
      return context;
    if (at->isWidgetType() && static_cast<const QWidget *>(at)->isWindow() &&
        !qobject_cast<const QMenu *>(at))
      break;
  }
  return 0;
}

int helpContextForKey(QWidget *receiver) {
  if (auto *menu = qobject_cast<QMenu *>(receiver))
    if (const int context = ownContext(menu->activeAction()))
      return context;
  return helpContext(receiver);
}

void installF1Help(QApplication &application) {
  application.installEventFilter(new F1Filter(&application));
}

} // namespace tf
