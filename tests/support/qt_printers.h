// Readable Qt values in GoogleTest's failure messages.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out) {
  *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList &list, std::ostream *out) {
  *out << '{' << list.join(QStringLiteral(", ")).toStdString() << '}';
}

inline void PrintTo(const QUrl &url, std::ostream *out) {
  *out << url.toString().toStdString();
}
