#pragma once

#include <QDateTime>
#include <QString>
#include <ostream>

// Readable test failure output for Qt values.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QDateTime& d, std::ostream* os) {
    *os << d.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
}
