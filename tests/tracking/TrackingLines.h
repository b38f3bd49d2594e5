#pragma once

#include "tracking/TrackingLog.h"

namespace quindle::test {

// The daily file of the fake clock's first day.
inline const QString dayFile = QStringLiteral("log files/12052026.csv");

// Logs "Menu Button N Pressed" for N from..to.
inline void logNumbered(TrackingLog& log, int from, int to)
{
    for (int i = from; i <= to; ++i)
        log.logEvent(QStringLiteral("Menu Button %1 Pressed").arg(i));
}

// Those lines as the file holds them, stamped with the fake clock's first time.
inline QByteArray numberedLines(int from, int to)
{
    QByteArray lines;
    for (int i = from; i <= to; ++i)
        lines += "\"Menu Button " + QByteArray::number(i) + " Pressed\",\"12/05/2026 14:07:09\"\r\n";
    return lines;
}

} // namespace quindle::test
