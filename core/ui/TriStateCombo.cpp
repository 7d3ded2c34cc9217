#include "core/ui/TriStateCombo.h"

#include <QComboBox>

void FillTriStateCombo(QComboBox* combo, const StringLookup& lookup)
{
    combo->clear();
    for (int number : {TriStateString::DontChange, TriStateString::True, TriStateString::False})
        combo->addItem(lookup(number), number);
    combo->setCurrentIndex(0);
}

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
