// The engines' reading of a tri-state list lives in core, which links no widgets.
#include "core/TriState.h"

#include "resources/EnglishStrings.h"

#include <gtest/gtest.h>

namespace {

// A language other than English, so that the tests see the look-up being used.
QString germanString(int number)
{
    switch (number) {
    case TriStateString::DontChange: return QStringLiteral("<Nicht ändern>");
    case TriStateString::True: return QStringLiteral("WAHR");
    case TriStateString::False: return QStringLiteral("FALSCH");
    default: return QString();
    }
}

struct ValueCase {
    const char* text;
    bool german;
    qint16 expected;
};

} // namespace

TEST(TriStateValue, OfEachTextInTheLookupsLanguage)
{
    const ValueCase cases[] = {
        {"TRUE", false, 1},           {"true", false, 1},          {"False", false, 0},
        {"<don't change>", false, 2}, {"", false, 3},              {"TRUE ", false, 3},
        {"1", false, 3},              {"wahr", true, 1},           {"falsch", true, 0},
        {"<NICHT ÄNDERN>", true, 2},  {"TRUE", true, 3},           {"", true, 3},
    };
    for (const ValueCase& c : cases) {
        const StringLookup lookup = c.german ? StringLookup(germanString) : StringLookup(resources::englishString);
        EXPECT_EQ(GetTriStateComboValue(QString::fromUtf8(c.text), lookup), c.expected)
            << c.text << (c.german ? " (German)" : " (English)");
    }
}
