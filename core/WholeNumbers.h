#pragma once
// Which values the database layer reads as whole numbers.
#include <QVariant>

// A whole number that a qint64 holds exactly, a bool included. An unsigned 64-bit number may not
// fit: each caller says what it makes of one.
inline bool holdsSignedWholeNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return true;
    default:
        return false;
    }
}
