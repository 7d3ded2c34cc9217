#pragma once
// Qt's strings as GoogleTest prints them in a failure: as text, not as bytes.
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
