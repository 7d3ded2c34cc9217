#include "core/ExtensionRules.h"
#include "core/Errors.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int d = -1;
    if (u >= u'0' && u <= u'9')
        d = u - u'0';
    else if (u >= u'a' && u <= u'f')
        d = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        d = u - u'A' + 10;
    return d < base ? d : -1;
}

struct NumberPrefix {
    double value = 0.0;
    qsizetype length = 0;   // characters that belong to the number
    bool hasDigits = false;
    bool radix = false;
};

// Reads the number at the start of s: optional sign, then "&H"/"&O" digits or a decimal number.
NumberPrefix readNumberPrefix(const QString& s)
{
    NumberPrefix p;
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    double magnitude = 0.0;
    if (i + 1 < s.size() && s[i] == u'&' && (s[i + 1].toUpper() == u'H' || s[i + 1].toUpper() == u'O')) {
        const int base = s[i + 1].toUpper() == u'H' ? 16 : 8;
        p.radix = true;
        for (i += 2; i < s.size(); ++i) {
            const int d = digitValue(s[i], base);
            if (d < 0)
                break;
            magnitude = magnitude * base + d;
            p.hasDigits = true;
        }
    } else {
        std::string decimal;
        bool point = false;
        bool wholePartNonZero = false;
        for (; i < s.size(); ++i) {
            const char16_t u = s[i].unicode();
            if (u >= u'0' && u <= u'9') {
                p.hasDigits = true;
                wholePartNonZero = wholePartNonZero || (!point && u != u'0');
            } else if (u == u'.' && !point) {
                point = true;
            } else {
                break;
            }
            decimal += char(u);
        }
        if (p.hasDigits) {
            // Out of a double's range: too many digits read as infinite (every comparison stays
            // meaningful), too small a fraction as 0.
            const auto result = std::from_chars(decimal.data(), decimal.data() + decimal.size(), magnitude);
            if (result.ec == std::errc::result_out_of_range)
                magnitude = wholePartNonZero ? HUGE_VAL : 0.0;
        }
    }
    p.length = i;
    if (p.hasDigits)
        p.value = negative ? -magnitude : magnitude;
    return p;
}

// A numeric text that is a whole number and not negative: its leading number equals the absolute
// value of its whole part, and it holds no decimal point.
bool isWholeNonNegative(const QString& text, const NumericReading& full)
{
    return leadingNumber(text) == std::fabs(std::trunc(full.value)) && !text.contains(u'.');
}

} // namespace

template <typename Int> std::optional<Int> roundedToWhole(double value)
{
    const double rounded = std::nearbyint(value);   // the default rounding: half to even
    if (!(rounded >= double(std::numeric_limits<Int>::min()) && rounded <= double(std::numeric_limits<Int>::max())))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

template <typename Int> Int leadingWholeNumber(const QString& text)
{
    const std::optional<Int> whole = roundedToWhole<Int>(leadingNumber(text));
    if (!whole)
        throw KestraneError(ErrorNumber::Overflow, QStringLiteral("Overflow"));
    return *whole;
}

template std::optional<qint16> roundedToWhole<qint16>(double);
template std::optional<qint32> roundedToWhole<qint32>(double);
template qint16 leadingWholeNumber<qint16>(const QString&);
template qint32 leadingWholeNumber<qint32>(const QString&);

double leadingNumber(const QString& text)
{
    QString compact;
    compact.reserve(text.size());
    for (QChar c : text) {
        if (!isBlank(c))
            compact += c;
    }
    return readNumberPrefix(compact).value;
}

NumericReading readNumericText(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    const QString core = text.mid(begin, end - begin);
    const NumberPrefix p = readNumberPrefix(core);
    NumericReading reading;
    if (p.hasDigits && p.length == core.size()) {
        reading.numeric = true;
        reading.radix = p.radix;
        reading.value = p.value;
    }
    return reading;
}

QString numberToText(double value)
{
    return QString::number(value, 'G', 15);
}

QString signedCount(qint64 value)
{
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}

ExtensionRangeCheck checkExtensionRange(const QString& low, const QString& high)
{
    const NumericReading lowReading = readNumericText(low);
    const NumericReading highReading = readNumericText(high);
    if (!lowReading.numeric || !highReading.numeric)
        return {169};
    if (lowReading.value < 0 || highReading.value < 0 || lowReading.value > highReading.value)
        return {168};
    return {0, lowReading.value, highReading.value};
}

QString strManipulateExtension(const QString& extension, qint16 keepRightMost, qint16 keepLeftMost,
                               qint16 removeLeftMost, qint16 removeRightMost,
                               const QString& leftDigits, const QString& rightDigits,
                               qint32 addValue, qint32 subtractValue)
{
    if (extension.isEmpty())
        return QString();
    QString s = extension;
    if (keepRightMost > 0 && s.size() > keepRightMost)
        s = s.right(keepRightMost);
    if (keepLeftMost > 0 && s.size() > keepLeftMost)
        s = s.left(keepLeftMost);
    if (removeLeftMost > 0) {
        if (s.size() <= removeLeftMost)
            return QString();
        s = s.mid(removeLeftMost);
    }
    if (removeRightMost > 0) {
        if (s.size() <= removeRightMost)
            return QString();
        s.chop(removeRightMost);
    }
    if (!leftDigits.isEmpty())
        s = leftDigits + s;
    if (!rightDigits.isEmpty())
        s += rightDigits;
    if (addValue > 0)
        s = numberToText(leadingNumber(s) + addValue);
    if (subtractValue > 0) {
        const double value = leadingNumber(s);
        if (value < subtractValue)
            return QString();
        s = numberToText(value - subtractValue);
    }
    return s.trimmed();
}

bool MyIsNumber(const QString& text, qint32 minimum, qint32 maximum)
{
    if (text.isEmpty())
        return true;
    const NumericReading full = readNumericText(text);
    if (!full.numeric || !isWholeNonNegative(text, full))
        return false;
    if (minimum == 0 && maximum == 0)
        return true;
    // Compared in double precision: a long entry is judged against the bounds instead of
    // overflowing a 32-bit conversion.
    const double value = leadingNumber(text);
    return minimum <= value && value <= maximum;
}

bool myIsDialableString(const QString& text, bool allowX)
{
    if (text.isEmpty())
        return true;
    QString rest = text;
    rest.remove(u',').remove(u'*').remove(u'#');
    if (allowX)
        rest.remove(QChar(u'X'), Qt::CaseInsensitive);
    if (rest.isEmpty())
        return true;
    const NumericReading full = readNumericText(rest);
    // "&H"/"&O" numbers are numeric but would put letters into a dial string.
    return full.numeric && !full.radix && isWholeNonNegative(rest, full);
}

qint32 TimeZoneCaptionToCode(const QString& name, const QString& caption)
{
    // "(GMT-05:00) ...": characters 5 to 7 are the signed hours, 9 and 10 the minutes.
    qint16 bias = 0;
    if (const auto hours = roundedToWhole<qint16>(leadingNumber(caption.mid(4, 3)) * -60))
        bias = *hours;
    const double minutes = leadingNumber(caption.mid(8, 2));
    if (const auto withMinutes = roundedToWhole<qint16>(bias < 0 ? bias - minutes : bias + minutes))
        bias = *withMinutes;

    // One-byte code of each character: Latin-1, and "?" for a character outside it (there is no
    // system code page on Linux; the server's standard zone names are plain ASCII).
    qint16 sum = 0;
    for (QChar c : name) {
        const int code = c.unicode() <= 0xFF ? c.unicode() : int('?');
        if (sum + code <= 32767)
            sum = static_cast<qint16>(sum + code);
    }
    return static_cast<qint32>((quint32(quint16(bias)) << 16) | quint16(sum));
}
