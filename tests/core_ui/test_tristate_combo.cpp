#include "core/ui/TriStateCombo.h"

#include <QComboBox>

#include <gtest/gtest.h>

namespace {

// A language other than English, so that the tests see the lookup being used.
QString germanString(int number)
{
    switch (number) {
    case TriStateString::DontChange: return QStringLiteral("<Nicht ändern>");
    case TriStateString::True: return QStringLiteral("WAHR");
    case TriStateString::False: return QStringLiteral("FALSCH");
    default: return QString();
    }
}

} // namespace

TEST(TriStateCombo, FillReplacesTheItemsAndSelectsDontChange)
{
    QComboBox combo;
    combo.addItems({"left over", "items"});
    combo.setCurrentIndex(1);
    FillTriStateCombo(&combo);
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(0), "<Don't Change>");
    EXPECT_EQ(combo.itemText(1), "TRUE");
    EXPECT_EQ(combo.itemText(2), "FALSE");
    EXPECT_EQ(combo.currentIndex(), 0);
    // The string number travels with each item, whatever the language.
    EXPECT_EQ(combo.itemData(0).toInt(), 20);
    EXPECT_EQ(combo.itemData(1).toInt(), 279);
    EXPECT_EQ(combo.itemData(2).toInt(), 137);
}

TEST(TriStateCombo, ValueOfEachText)
{
    EXPECT_EQ(GetTriStateComboValue("TRUE"), 1);
    EXPECT_EQ(GetTriStateComboValue("true"), 1);
    EXPECT_EQ(GetTriStateComboValue("False"), 0);
    EXPECT_EQ(GetTriStateComboValue("<don't change>"), 2);
    EXPECT_EQ(GetTriStateComboValue(""), 3);
    EXPECT_EQ(GetTriStateComboValue("TRUE "), 3);
    EXPECT_EQ(GetTriStateComboValue("1"), 3);
}

TEST(TriStateCombo, FollowsTheLanguageOfTheLookup)
{
    QComboBox combo;
    FillTriStateCombo(&combo, germanString);
    EXPECT_EQ(combo.itemText(1), "WAHR");
    EXPECT_EQ(GetTriStateComboValue(combo.itemText(1), germanString), 1);
    EXPECT_EQ(GetTriStateComboValue("falsch", germanString), 0);
    EXPECT_EQ(GetTriStateComboValue("<NICHT ÄNDERN>", germanString), 2);
    EXPECT_EQ(GetTriStateComboValue("TRUE", germanString), 3);
}
