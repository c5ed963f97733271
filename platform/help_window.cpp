#include "platform/help_window.h"

#include "platform/resources.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tf {

QUrl helpContentsUrl() {
  return QUrl(QStringLiteral("qrc:/help/contents.html"));
}

QUrl helpTopicUrl(int context) {
  initResources();
  const QString path = QStringLiteral("/help/topic-%1.html").arg(context);
  if (!QFile::exists(QLatin1Char(':') + path))
    return helpContentsUrl();
  return QUrl(QStringLiteral("qrc:") + path);
}

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), Browser(new QTextBrowser(this)) {
  initResources();
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Tweakforge Help"));
  Browser->setObjectName(QStringLiteral("HelpBrowser"));
  Browser->setAccessibleName(QStringLiteral("Help text"));
  Browser->setOpenExternalLinks(true);

  auto *contents = new QPushButton(QStringLiteral("&Contents"), this);
  auto *back = new QPushButton(QStringLiteral("&Back"), this);
  auto *close = new QPushButton(QStringLiteral("C&lose"), this);
  connect(contents, &QPushButton::clicked, this, &HelpWindow::showContents);
  connect(back, &QPushButton::clicked, Browser, &QTextBrowser::backward);
  connect(Browser, &QTextBrowser::backwardAvailable, back,
          &QPushButton::setEnabled);
  back->setEnabled(false);
  connect(close, &QPushButton::clicked, this, &QWidget::close);

  auto *buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addStretch();
  buttons->addWidget(close);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(Browser);
  resize(520, 460);
}

void HelpWindow::showContents() { showUrl(helpContentsUrl()); }

void HelpWindow::showContext(int context) { showUrl(helpTopicUrl(context)); }

QUrl HelpWindow::currentUrl() const { return Browser->source(); }

void HelpWindow::showUrl(const QUrl &url) {
  Browser->setSource(url);
  show();
  raise();
  activateWindow();
}

} // namespace tf
