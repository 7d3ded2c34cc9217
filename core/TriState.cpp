#include "core/TriState.h"

qint16 GetTriStateComboValue(const QString& text, const StringLookup& lookup)
{
    if (text.compare(lookup(TriStateString::True), Qt::CaseInsensitive) == 0)
        return 1;
    if (text.compare(lookup(TriStateString::False), Qt::CaseInsensitive) == 0)
        return 0;
    if (text.compare(lookup(TriStateString::DontChange), Qt::CaseInsensitive) == 0)
        return 2;
    return 3;
}
