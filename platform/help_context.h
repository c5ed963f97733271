// Help context numbers for F1: each window, menu item or dialog may carry
// one; F1 shows the topic of the nearest one (the active menu item's, else
// the focused widget's or its nearest ancestor's).
#pragma once

class QApplication;
class QObject;
class QWidget;

namespace tf {

void setHelpContext(QObject *object, int context);
// 0 when neither `object` nor, for a widget, any ancestor has a context.
int helpContext(const QObject *object);
// The context F1 would show when pressed in `receiver`.
int helpContextForKey(QWidget *receiver);
// Makes F1 anywhere in the application show its help context.
void installF1Help(QApplication &application);

} // namespace tf
