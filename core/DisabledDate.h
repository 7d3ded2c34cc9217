#pragma once
// The expiry that marks a transfer rule or a greeting disabled, for both engines: 25 December
// 1990, 08:00:00 ("12/25/1990 8:00:00 AM"), written as a date-time; null enables it.
#include <QDateTime>

inline QDateTime disabledDate()
{
    static const QDateTime date(QDate(1990, 12, 25), QTime(8, 0));   // built once: a local time costs a zone look-up
    return date;
}
