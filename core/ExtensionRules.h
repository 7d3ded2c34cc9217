#pragma once
// Extension arithmetic and the input checks shared by the option pages, their test buttons and
// the change engines, so that a test button shows exactly what a run will compute.
//
// Number reading used throughout (one set of rules for every procedure here):
// - leadingNumber: the number at the start of a text. Blanks (space, tab, CR, LF) are skipped
//   wherever they occur; then an optional sign and either a decimal number (digits with an
//   optional fraction, no exponent) or "&H" hexadecimal / "&O" octal digits. Reading stops at the
//   first character that cannot continue the number; a text without a leading number reads as 0.
//   "0123" reads 123, "12*3" reads 12, "abc" reads 0.
// - readNumericText: the numeric test. Blanks may surround the number, a leading sign is allowed,
//   and the rest must be one decimal number or one "&H"/"&O" number and nothing else.
// - numberToText: the shortest decimal form with at most 15 significant digits; larger values are
//   written in exponent form (1E+15, 1.23456789012346E+17).
//
// None of these procedures has a failure path: the readings work in double precision and cannot
// overflow, so no message is ever shown from here.
#include <QString>
#include <QtGlobal>

#include <optional>

struct NumericReading {
    bool numeric = false;   // the whole text is one number
    bool radix = false;     // written as "&H" or "&O"
    double value = 0.0;     // its value, sign included (0 when not numeric)
};

double leadingNumber(const QString& text);
NumericReading readNumericText(const QString& text);
QString numberToText(double value);
// A count as the pages write it in their count boxes and reports: one blank where a sign would
// stand (" 12", " 0"), or the minus sign ("-3").
QString signedCount(qint64 value);

// The extension range boxes of a selection page. `message` is the resource string of a failed
// check: 169 when either text is not a number (an empty box included), else 168 when a bound is
// negative or low is above high; 0 with the two values when the range is valid (low equal to
// high included).
struct ExtensionRangeCheck {
    int message = 0;
    double low = 0.0;
    double high = 0.0;
};
ExtensionRangeCheck checkExtensionRange(const QString& low, const QString& high);

// A number rounded half to even (2.5 gives 2, 3.5 gives 4) into Int (qint16 or qint32), as a
// variable of that type would hold it; nothing when it does not fit.
template <typename Int> std::optional<Int> roundedToWhole(double value);
// The whole number both engines put into a column from a text of the options page: the text's
// leading number rounded half to even. Throws KestraneError(ErrorNumber::Overflow) when it does
// not fit Int (qint16 or qint32).
template <typename Int> Int leadingWholeNumber(const QString& text);

// Applies, in this order and each only when its count/value is above 0 or its text is not empty:
// keep right-most N, keep left-most N, remove left-most N, remove right-most N characters, put
// leftDigits in front, rightDigits behind, add addValue, subtract subtractValue. An empty result
// means the rules cannot be applied to this extension (empty extension, removing at least as many
// characters as it has, subtracting more than its value).
QString strManipulateExtension(const QString& extension, qint16 keepRightMost, qint16 keepLeftMost,
                               qint16 removeLeftMost, qint16 removeRightMost,
                               const QString& leftDigits, const QString& rightDigits,
                               qint32 addValue, qint32 subtractValue);

// True for the empty text and for a whole number that is not negative (no "."). When minimum and
// maximum are not both 0 the value must also lie from minimum to maximum inclusive. Values beyond
// the 32-bit range are compared as they are (such a value is simply out of any 32-bit range).
bool MyIsNumber(const QString& text, qint32 minimum = 0, qint32 maximum = 0);

// True for the empty text and for digits mixed with ",", "*", "#" (and "X"/"x" when allowX);
// a sign, a decimal point, a radix prefix or any other letter fails.
bool myIsDialableString(const QString& text, bool allowX);

// Packs a time zone into a subscriber's TimeZoneID: the bias in minutes (positive west of
// Greenwich) read from a caption "(GMT+hh:mm) ..." in the high 16 bits, the sum of the one-byte
// codes of the name's characters in the low 16 bits.
qint32 TimeZoneCaptionToCode(const QString& name, const QString& caption);
