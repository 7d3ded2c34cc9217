#pragma once
// The eight extension operations and their test row, as the Extension tab (the primary
// extension) and the Alt. Extensions tab (an alternate extension built from it) both lay them
// out, top to bottom in the order they are applied. The two tabs name the controls apart.
#include <QWidget>

class ExtensionRulesPanel : public QWidget {
public:
    // An operation that takes a digit count: its check box, the read-only count box, the spin
    // control beside it and the "Digits" label (an element of an array).
    struct CountRule {
        const char* check;
        const char* count;
        const char* spin;
        const char* digitsArray;
        int digits;
    };
    // An operation that takes digits or a number typed into its value box.
    struct ValueRule {
        const char* check;
        const char* value;
        int maxLength;
    };
    struct Names {
        CountRule counts[4];   // keep the right-most, keep the left-most, remove the left-most, remove the right-most
        ValueRule values[4];   // digits in front, digits behind, add a value, subtract a value
        const char* testLabelArray;
        int testNumberLabel;   // "Test Extension:"
        const char* testNumber;
        const char* test;
        int resultLabel;       // "New Value:"
        const char* result;
    };

    // The spin controls run from 0 (top) to 9 (bottom) and open at 9, their count boxes at 1.
    static constexpr int SpinMaximum = 9;

    explicit ExtensionRulesPanel(const Names& names, QWidget* parent = nullptr);
};
