#include "settings/fixed_dialog.h"

#include "platform/help_context.h"

#include <QPushButton>
#include <QScreen>

namespace tf {

FixedDialog::FixedDialog(const char *name, const QString &caption, QSize client,
                         int helpContext, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(name);
  setWindowTitle(caption);
  setFixedSize(client);
  if (helpContext != 0)
    setHelpContext(this, helpContext);
}

void FixedDialog::reject() { OfficeButton2Click(); }

void FixedDialog::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  const QRect area = screen()->availableGeometry();
  QRect frame = frameGeometry();
  frame.moveCenter(area.center());
  move(frame.topLeft());
}

QPushButton *FixedDialog::addButton(const char *name, const QString &caption) {
  auto *button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setFixedSize(75, 25);
  return button;
}

void FixedDialog::closeWith(int result) { QDialog::done(result); }

} // namespace tf
