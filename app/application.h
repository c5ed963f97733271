// The application object: title, icon, help key, and the one place where an
// exception escaping any event handler is caught and shown.
#pragma once

#include <QApplication>

namespace tf {

class Application : public QApplication {
  Q_OBJECT
public:
  Application(int &argc, char **argv);

  // Delivers each event inside a registry save group, so a handler that
  // writes many values rewrites each hive once. An exception that escapes
  // the handler ends that handler: the default error box shows it and the
  // program goes on.
  bool notify(QObject *receiver, QEvent *event) override;
};

// The application title: the task-bar text and the default error box's
// caption.
inline constexpr char ApplicationTitle[] = "Tweakforge";

} // namespace tf
