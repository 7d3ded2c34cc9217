#pragma once
// The text form of the tri-state option lists ("<Don't Change>", "TRUE", "FALSE"), as the engines
// read it. The lists themselves are filled by FillTriStateCombo (core/ui/TriStateCombo.h).
#include "core/StringLookup.h"

#include <QtGlobal>

namespace TriStateString {
constexpr int DontChange = 20;   // "<Don't Change>"
constexpr int True = 279;        // "TRUE"
constexpr int False = 137;       // "FALSE"
}

// Compares the text, ignoring case, with the "TRUE", "FALSE" and "<Don't Change>" texts of the
// look-up's language: 1, 0 and 2; any other text (the empty one too) gives 3.
qint16 GetTriStateComboValue(const QString& text, const StringLookup& lookup);
