#pragma once
// Tri-state option lists: "<Don't Change>", "TRUE", "FALSE" in the current language. Engines read
// them back with GetTriStateComboValue (core/TriState.h).
#include "core/TriState.h"

class QComboBox;

// Empties the combo box, adds "<Don't Change>", "TRUE" and "FALSE" in this order as fixed-text
// items (no item data; the string number under ListRole::StringNumber) and selects the first.
// Pages pass the session's look-up, so that the list follows the language.
void FillTriStateCombo(QComboBox* combo, const StringLookup& lookup);
