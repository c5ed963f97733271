#include "app/web_link.h"

#include "platform/platform.h"

#include <QUrl>

namespace tf {

void goToHomepage() {
  if (!platform().openUrl(QUrl(QString::fromLatin1(HomepageAddress))))
    platform().messageBox(nullptr, MessageIcon::Error, QStringLiteral("Error"),
                          QStringLiteral("Error when trying to conect..."));
}

void sendMailToAuthor(QWidget *owner) {
  const QUrl mail(QStringLiteral("mailto:") + QLatin1String(AuthorAddress));
  if (!platform().openUrl(mail))
    errorMessage(owner, QStringLiteral("Error when trying to send mail!"));
}

} // namespace tf
