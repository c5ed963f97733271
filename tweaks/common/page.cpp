#include "tweaks/common/page.h"

#include "platform/widgets.h"

#include <QBoxLayout>
#include <QPushButton>

namespace tf {

namespace {

const char *const SaveHint = "Save the settings to the registry";
const char *const ExitHint = "Exit Tweakforge without saving. The options you "
                             "already have saved will remain saved.";

QPushButton *namedButton(const QString &caption, const QString &name,
                         QWidget *parent) {
  auto *button = new QPushButton(caption, parent);
  button->setObjectName(name);
  return button;
}

} // namespace

Page::Page(PageHost &host, const QString &objectName, const QString &caption,
           QWidget *parent)
    : QGroupBox(caption, parent), Host(host) {
  setObjectName(objectName);
  hide();
}

void Page::open() {
  fill();
  showWithoutFilling();
}

void Page::showWithoutFilling() {
  Host.hideAllPages();
  show();
}

QPushButton *Page::addOkCancel(const QString &okName, const QString &cancelName,
                               bool standardHints) {
  auto *box = qobject_cast<QBoxLayout *>(layout());
  if (!box)
    box = new QVBoxLayout(this);
  auto *ok = namedButton(QStringLiteral("O&K"), okName, this);
  auto *cancel = namedButton(QStringLiteral("C&ancel"), cancelName, this);
  connect(cancel, &QPushButton::clicked, this, [this] { Host.terminate(); });
  if (standardHints) {
    onMouseMove(ok, [this] { Host.setHint(QString::fromLatin1(SaveHint)); });
    onMouseMove(cancel,
                [this] { Host.setHint(QString::fromLatin1(ExitHint)); });
  }
  auto *row = new QHBoxLayout;
  row->addWidget(ok);
  row->addWidget(cancel);
  row->addStretch();
  box->addStretch();
  box->addLayout(row);
  return ok;
}

} // namespace tf
