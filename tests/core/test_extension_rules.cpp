#include "core/Errors.h"
#include "core/ExtensionRules.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// One rule at a time; every other argument says "not used".
struct Rules {
    qint16 keepRight = 0, keepLeft = 0, removeLeft = 0, removeRight = 0;
    QString left = {}, right = {};
    qint32 add = 0, subtract = 0;
};

QString apply(const QString& extension, const Rules& r)
{
    return strManipulateExtension(extension, r.keepRight, r.keepLeft, r.removeLeft, r.removeRight,
                                  r.left, r.right, r.add, r.subtract);
}

} // namespace

TEST(NumberReading, LeadingNumberAndNumericTest)
{
    EXPECT_EQ(leadingNumber("0123"), 123);
    EXPECT_EQ(leadingNumber("12*3"), 12);
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber("1 2 3#"), 123);      // blanks are skipped wherever they are
    EXPECT_EQ(leadingNumber("-1.5.7"), -1.5);
    EXPECT_EQ(leadingNumber("12e3"), 12);         // a decimal number only, no exponent
    EXPECT_EQ(leadingNumber("&H1F"), 31);
    EXPECT_EQ(leadingNumber("12345678901234567890"), 12345678901234567890.0);
    EXPECT_TRUE(std::isinf(leadingNumber(QString(400, u'9'))));
    EXPECT_EQ(leadingNumber("0." + QString(400, u'0') + "1"), 0.0);

    EXPECT_TRUE(readNumericText(" +17 ").numeric);
    EXPECT_EQ(readNumericText("-1.5").value, -1.5);
    EXPECT_TRUE(readNumericText("&o17").radix);
    for (const char* text : {"1 7", "17a", "1e3", "-", ".", "&H", ""})
        EXPECT_FALSE(readNumericText(text).numeric) << text;
}

TEST(NumberReading, WholeNumberOfATextRoundsHalfToEvenAndRefusesOverflow)
{
    const struct {
        const char* text;
        std::optional<qint32> asInt32;
        std::optional<qint16> asInt16;
    } cases[] = {
        {"0123", 123, 123},
        {"12ab", 12, 12},
        {"abc", 0, 0},
        {"2.5", 2, 2},
        {"3.5", 4, 4},
        {"-2.5", -2, -2},
        {"2.51", 3, 3},
        {"32767.4", 32767, 32767},
        {"32767.5", 32768, std::nullopt},
        {"-32768", -32768, -32768},
        {"2147483647", 2147483647, std::nullopt},
        {"2147483648", std::nullopt, std::nullopt},
        {"-2147483648.5", -2147483648, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.asInt32)
            EXPECT_EQ(leadingWholeNumber<qint32>(c.text), *c.asInt32);
        else
            EXPECT_THROW(leadingWholeNumber<qint32>(c.text), KestraneError);
        if (c.asInt16)
            EXPECT_EQ(leadingWholeNumber<qint16>(c.text), *c.asInt16);
        else
            EXPECT_THROW(leadingWholeNumber<qint16>(c.text), KestraneError);
    }
    try {
        leadingWholeNumber<qint32>(QString(400, u'9'));
        FAIL() << "an endless number fitted";
    } catch (const KestraneError& error) {
        EXPECT_EQ(error.number(), ErrorNumber::Overflow);
    }
}

TEST(NumberReading, TextFormHasAtMostFifteenSignificantDigits)
{
    EXPECT_EQ(numberToText(13.5), "13.5");
    EXPECT_EQ(numberToText(999999999999999.0), "999999999999999");
    EXPECT_EQ(numberToText(1e15), "1E+15");
    EXPECT_EQ(numberToText(123456789012345678.0), "1.23456789012346E+17");
}

TEST(StrManipulateExtension, CountingStepsWorkOnCharacters)
{
    EXPECT_EQ(apply("12345", {.keepRight = 4}), "2345");
    EXPECT_EQ(apply("12345", {.keepLeft = 2}), "12");
    EXPECT_EQ(apply("12345", {.removeLeft = 5}), "");
    EXPECT_EQ(apply("12345", {.removeRight = 2}), "123");
    EXPECT_EQ(apply("1234", {.keepRight = 10}), "1234");
    EXPECT_EQ(apply("0012", {.removeLeft = 1}), "012");   // leading zeros kept: no arithmetic
    EXPECT_EQ(apply("ab#12", {.keepRight = 3}), "#12");
}

TEST(StrManipulateExtension, StepsRunInTheirFixedOrder)
{
    // keep right 4 -> 2345, keep left 3 -> 234, remove left 1 -> 34, remove right 1 -> 3,
    // front 8 -> 83, behind 0 -> 830, +5 -> 835, -35 -> 800
    EXPECT_EQ(strManipulateExtension("12345", 4, 3, 1, 1, "8", "0", 5, 35), "800");
    // The empty result of a removal ends the arithmetic: the digits are never added.
    EXPECT_EQ(strManipulateExtension("12", 0, 0, 2, 0, "9", "9", 0, 0), "");
}

TEST(StrManipulateExtension, DigitsAndArithmetic)
{
    EXPECT_EQ(apply("1234", {.left = "9", .right = "0"}), "912340");
    EXPECT_EQ(apply("1234", {.add = 1000}), "2234");
    EXPECT_EQ(apply("1234", {.subtract = 2000}), "");
    EXPECT_EQ(apply("1234", {.subtract = 1234}), "0");
    EXPECT_EQ(apply("0042", {.add = 1}), "43");
    EXPECT_EQ(apply("12*34", {.add = 1}), "13");          // anything after the leading number goes
    EXPECT_EQ(apply("abc", {.add = 5}), "5");             // an addition never gives the empty text
    EXPECT_EQ(apply("abc", {.subtract = 1}), "");
    EXPECT_EQ(apply("99999999999999999", {.add = 1}), "1E+17");
}

TEST(StrManipulateExtension, EmptyExtensionAndUnusedRules)
{
    EXPECT_EQ(apply("", {.left = "9", .right = "1", .add = 5}), "");
    EXPECT_EQ(strManipulateExtension("1234", -1, -5, -2, 0, "", "", -10, -3), "1234");
    EXPECT_EQ(apply("12", {.left = " ", .right = " "}), "12");   // blanks trimmed at the end
}

TEST(MyIsNumber, WholeNonNegativeNumbersInRange)
{
    for (const char* text : {"", "15", " 15 ", "+15", "&H10"})
        EXPECT_TRUE(MyIsNumber(text)) << text;
    for (const char* text : {"12.0", "12.", "-5", "abc", "1 5", "1e3"})
        EXPECT_FALSE(MyIsNumber(text)) << text;
    EXPECT_FALSE(MyIsNumber("15", 1, 10));
    EXPECT_TRUE(MyIsNumber("15", 0, 0));
    EXPECT_TRUE(MyIsNumber("10", 1, 10));
    EXPECT_FALSE(MyIsNumber("0", 1, 10));
}

TEST(MyIsNumber, LongEntriesAreJudgedWithoutOverflow)
{
    EXPECT_TRUE(MyIsNumber("12345678901"));
    EXPECT_TRUE(MyIsNumber("123456789012345678901234567890"));
    EXPECT_TRUE(MyIsNumber("2147483647", 0, 2147483647));
    EXPECT_FALSE(MyIsNumber("2147483648", 0, 2147483647));
    EXPECT_FALSE(MyIsNumber(QString(400, u'9'), 1, 9999));
}

TEST(MyIsDialableString, DigitsWithTheDialCharacters)
{
    for (const char* text : {"", "9,,5551234#", "*72", ",*#", "12345678901234567890"})
        EXPECT_TRUE(myIsDialableString(text, false)) << text;
    for (const char* text : {"555X12", "-12", "1.5", "$15", "&H12", "1e3", "1 2"})
        EXPECT_FALSE(myIsDialableString(text, false)) << text;
    EXPECT_TRUE(myIsDialableString("555x12X", true));
    EXPECT_FALSE(myIsDialableString("12A", true));
}

TEST(TimeZoneCaptionToCode, BiasInTheHighHalfNameSumInTheLowHalf)
{
    // "abc" sums to 294 (0x0126).
    EXPECT_EQ(TimeZoneCaptionToCode("abc", "(GMT-05:00) Eastern Time (US & Canada)"), 19661094);
    EXPECT_EQ(TimeZoneCaptionToCode("abc", "(GMT+05:30) Chennai, Kolkata, Mumbai, New Delhi"), -21626586);
    EXPECT_EQ(TimeZoneCaptionToCode("abc", "(GMT-03:30) Newfoundland") >> 16, 210);
    EXPECT_EQ(TimeZoneCaptionToCode("", "(GMT) Greenwich Mean Time : Dublin, London"), 0);
    EXPECT_EQ(TimeZoneCaptionToCode("Eastern Standard Time", ""), 2002);
}

TEST(TimeZoneCaptionToCode, CharacterSumStaysInSixteenBits)
{
    // 300 x "z" (122) would pass 32767: additions that would leave the range are skipped.
    const qint32 code = TimeZoneCaptionToCode(QString(300, u'z'), "(GMT) UTC");
    EXPECT_EQ(code, 268 * 122);
    EXPECT_EQ(TimeZoneCaptionToCode(QString(u'\u00e9'), ""), 0xE9);
    EXPECT_EQ(TimeZoneCaptionToCode(QString(u'\u20ac'), ""), int('?'));
}
