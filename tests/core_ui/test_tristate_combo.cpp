#include "core/ui/TriStateCombo.h"

#include "core/ui/ControlValues.h"
#include "resources/EnglishStrings.h"

#include <QComboBox>

#include <gtest/gtest.h>

TEST(TriStateCombo, FillReplacesTheItemsWithFixedTextsAndSelectsDontChange)
{
    const StringLookup german = [](int number) {
        return resources::englishString(number).replace("TRUE", "WAHR").replace("FALSE", "FALSCH");
    };
    for (const StringLookup& lookup : {StringLookup(resources::englishString), german}) {
        QComboBox combo;
        combo.addItems({"left over", "items"});
        combo.setItemData(1, 5);
        combo.setCurrentIndex(1);
        FillTriStateCombo(&combo, lookup);
        ASSERT_EQ(combo.count(), 3);
        EXPECT_EQ(combo.currentIndex(), 0);
        const int numbers[] = {TriStateString::DontChange, TriStateString::True, TriStateString::False};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(combo.itemText(i), lookup(numbers[i]));
            // No item data; the string number travels in its own role, whatever the language.
            EXPECT_FALSE(combo.itemData(i).isValid()) << i;
            EXPECT_EQ(combo.itemData(i, ListRole::StringNumber).toInt(), numbers[i]);
            EXPECT_EQ(GetTriStateComboValue(combo.itemText(i), lookup), i == 0 ? 2 : i == 1 ? 1 : 0);
        }
    }
}
