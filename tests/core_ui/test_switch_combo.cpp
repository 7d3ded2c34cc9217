#include "core/ui/SwitchCombo.h"

#include <QComboBox>
#include <gtest/gtest.h>

TEST(SwitchCombo, AppendsNamesWithTheirIdsAndNeverClears)
{
    SwitchInfo info;
    info.astrSwitchNames = {"Corvane 4400 (Serial)", "Hestmark IP Switch"};
    info.aiSwitchIDs = {4, 9};
    QComboBox combo;
    combo.addItem("<Don't Change>", 0);
    PopulateListControlWithSwitchInfo(&combo, info);
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(2), "Hestmark IP Switch");
    EXPECT_EQ(combo.itemData(1), QVariant(4));
    EXPECT_EQ(combo.findData(9), 2);   // pages select a stored switch by its ID
    EXPECT_EQ(combo.currentIndex(), 0);

    PopulateListControlWithSwitchInfo(&combo, info);   // twice: every switch twice
    EXPECT_EQ(combo.count(), 5);
    EXPECT_EQ(combo.itemText(3), "Corvane 4400 (Serial)");
    PopulateListControlWithSwitchInfo(&combo, SwitchInfo{});
    EXPECT_EQ(combo.count(), 5);
}
