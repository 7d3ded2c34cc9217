#pragma once
// Tri-state option lists: "<Don't Change>", "TRUE", "FALSE" in the current language.
//
// The texts come from a string lookup. Until the language lookup exists the English table is the
// default; pages pass the session's lookup once it does, so the lists follow the language switch.
#include "resources/EnglishStrings.h"

#include <QString>
#include <QtGlobal>

#include <functional>

class QComboBox;

using StringLookup = std::function<QString(int number)>;

namespace TriStateString {
constexpr int DontChange = 20;   // "<Don't Change>"
constexpr int True = 279;        // "TRUE"
constexpr int False = 137;       // "FALSE"
}

// Empties the combo box, adds "<Don't Change>", "TRUE" and "FALSE" in this order, each with its
// string number as item data, and selects the first item.
void FillTriStateCombo(QComboBox* combo, const StringLookup& lookup = resources::englishString);

// Compares the text, ignoring case, with the current "TRUE", "FALSE" and "<Don't Change>" texts:
// 1, 0 and 2; any other text (the empty one too) gives 3.
qint16 GetTriStateComboValue(const QString& text, const StringLookup& lookup = resources::englishString);
