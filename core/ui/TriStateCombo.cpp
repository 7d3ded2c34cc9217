#include "core/ui/TriStateCombo.h"

#include "core/ui/ControlValues.h"

#include <QComboBox>

void FillTriStateCombo(QComboBox* combo, const StringLookup& lookup)
{
    combo->clear();
    for (int number : {TriStateString::DontChange, TriStateString::True, TriStateString::False})
        addFixedTextItem(combo, number, lookup);
    combo->setCurrentIndex(0);
}
