#include "resources/EnglishStrings.h"

#include <QSet>
#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <string>

namespace {

// std::string so that a failure shows the text with its blanks.
std::string english(int number)
{
    return resources::englishString(number).toStdString();
}

std::string joined(std::initializer_list<std::string> pieces)
{
    std::string text;
    for (const std::string& piece : pieces)
        text += piece;
    return text;
}

TEST(EnglishStrings, EveryNumberOfTheTableHasAText)
{
    EXPECT_EQ(resources::kFirstStringNumber, 0);
    EXPECT_EQ(resources::kLastStringNumber, 565);
    for (int number = 0; number <= 565; ++number) {
        EXPECT_TRUE(resources::hasEnglishString(number)) << number;
        EXPECT_FALSE(resources::englishString(number).isEmpty()) << number;
    }
}

TEST(EnglishStrings, NumbersOutsideTheTableGiveTheEmptyText)
{
    for (int number : {-1, 566, 1000, INT_MIN, INT_MAX}) {
        EXPECT_FALSE(resources::hasEnglishString(number)) << number;
        EXPECT_TRUE(resources::englishString(number).isEmpty()) << number;
    }
}

TEST(EnglishStrings, NoTextIsLongerThanALanguageLibraryLookUpReturns)
{
    for (int number = 0; number <= 565; ++number)
        EXPECT_LE(resources::englishString(number).size(), 1199) << number;
}

TEST(EnglishStrings, StartPageAboutBoxSelectionAndPickerTexts)
{
    EXPECT_EQ(english(0), " Build");
    EXPECT_EQ(english(1), " Number=");
    EXPECT_EQ(english(281), "Velmo Kestrane Utility");
    EXPECT_EQ(english(301), "no languages loaded");
    EXPECT_EQ(english(135), "Failed to open VelmoDB database!");
    EXPECT_EQ(english(319),
              "Error!  Could not find the primary location object in the local database by "
              "alias='default'.  Exiting.");
    EXPECT_EQ(english(336),
              "Some data updated for subscribers is being written through to the directory in the "
              "background.");
    EXPECT_EQ(english(124), "Error in form load routine.  Description=");
    EXPECT_EQ(english(128), "Error!  No interview handler selected!");
    EXPECT_EQ(english(169), "Invalid input for extension range.  Please input numbers only.");
    EXPECT_EQ(english(300), "extension");
    EXPECT_EQ(english(390), "Records affected=");
    EXPECT_EQ(english(438), "No Subscribers found on local system.");
    EXPECT_EQ(english(537), "Trusted Internet Subscriber");
    EXPECT_EQ(english(271).rfind("This version of Kestrane only works with Velmo 4.0(1) and later.", 0), 0u)
        << english(271);
    EXPECT_EQ(english(523).rfind("No switches are configured on the local system.", 0), 0u) << english(523);
}

TEST(EnglishStrings, SubscriberOptionsPageTexts)
{
    EXPECT_EQ(english(338),
              "You have an after message action option set with no destination selected.  You must fix "
              "this before moving ahead.");
    EXPECT_EQ(english(457),
              "You have selected a greeting to have a source of 'recording' but have not selected a WAV file "
              "to use.  You must select a WAV file or use 'system' or 'blank' or '<dont change>' for the "
              "greeting source");
    EXPECT_EQ(english(565), "The DCR send timeout must be a number between 1 and 1440 minutes");
    EXPECT_EQ(english(481),
              "The 'Milliseconds to wait for more digits when entering names, extensions and passwords'  must "
              "be a number between 1000 and 10000");
    EXPECT_EQ(english(49), "An error has occured in the cmdSubscriberExtensionTest routine!  Description=");
    EXPECT_EQ(english(61), "Apply Change Only if Key is Set to \"Ignore\"");
    EXPECT_EQ(english(178), "MWI Code (use \"X\" for extension):");
    EXPECT_EQ(english(179), "MWI code must be digits, ',', 'X', '*' or '#' only");
    EXPECT_EQ(english(2), " Rings To Wait: ");
    EXPECT_EQ(english(52), "Announce timestamp: ");
    EXPECT_EQ(english(108), "Disable Device: ");
    EXPECT_EQ(english(490), "Include receipts in searches ");
    EXPECT_EQ(english(543), "When sending a message ");
    EXPECT_EQ(english(420), "Only if Urgent");
    EXPECT_EQ(english(101), "Closed");
    EXPECT_EQ(english(403), "Alternate Extension #");
    // The primary tab's subtract caption ends in a blank; the alternate tab's does not.
    EXPECT_EQ(english(257), "Subtract this value from the extension ");
    EXPECT_EQ(english(404), "Subtract this value from the extension");
    // The two warnings differ in the blanks after "WARNING!".
    EXPECT_EQ(english(370),
              "WARNING!  This will write over whatever alternate extension is already in the selected position.");
    EXPECT_EQ(english(307),
              "WARNING! This will delete ALL alternate extensions for selected subscribers!  Proceed with caution!");
    EXPECT_EQ(english(11), "(blank leaves unchanged)");
    EXPECT_EQ(english(12), "(blank skips field)");
}

TEST(EnglishStrings, SubscriberRunAndDialogTexts)
{
    EXPECT_EQ(english(541), "You must have at least one conversation style selected");
    EXPECT_EQ(english(193), "No users selected!  Please select some subscribers and try again.");
    EXPECT_EQ(english(99).rfind("Click \"Update Subscribers\" to apply the changes selected in the previous panel.  ", 0),
              0u);
    EXPECT_EQ(english(445),
              "You updated some MWI device information for users.  Before these changes take effect, it may be "
              "necessary to manually restart the BhNotifierMgr service.  Restarting this service does not affect "
              "Velmo's ability to answer calls");
    EXPECT_EQ(english(116), "E&xit");
    EXPECT_EQ(english(167), "Invalid <Take Action> setting on the Caller Input ");
    EXPECT_EQ(english(384), "Hospitality Conversation");
    EXPECT_EQ(english(164), "Invalid <Go To Call Handler> destination on the Caller Input ");
    EXPECT_EQ(english(474), "normal");
}

TEST(EnglishStrings, CallHandlerBranchTexts)
{
    EXPECT_EQ(english(47),
              "An error has occured in the Select Call Handler Changes PopulateControls rutine!  Description=");
    EXPECT_EQ(english(302).rfind("Click \"Update Call Handlers\" to apply the changes selected in the previous panel.", 0),
              0u);
    EXPECT_EQ(english(245), "Set to Subscirber:");
    EXPECT_EQ(english(348), "You need to select a subscriber as a recipeint before moving ahead.");
    EXPECT_EQ(english(269), "The milliseconds to wait value must be a number between 0 and 2000");
    EXPECT_EQ(english(14), "(can't be disabled)");
    EXPECT_EQ(english(121), "Error encountered. Number=");
    EXPECT_EQ(english(17), ", Description=");
    EXPECT_EQ(english(216), "Recipients Extension");
    EXPECT_EQ(english(433), "Handlers owned by this public distribution list:");
}

TEST(EnglishStrings, JoinedMessagesKeepTheirBlanks)
{
    // Major version with the blank of its sign, minor version, " Build", revision with its blank.
    EXPECT_EQ(joined({" 4", ".", "0", english(0), " 117"}), " 4.0 Build 117");
    // Counts written with the blank of their sign.
    EXPECT_EQ(joined({english(308), " 3", english(309), " 2", english(310)}),
              "Import complete.   3 lines read in from text file,  2 users added to grid.");
    EXPECT_EQ(joined({english(308), " 0", english(309), " 0", english(349)}),
              "Import complete.   0 lines read in from text file,  0 handlers added to the grid.");
    EXPECT_EQ(joined({english(115), " 0", english(5), " 2", english(8)}),
              "Done!  0 error(s) and  2 warning(s) encountered.");
    EXPECT_EQ(joined({english(165), " 3", english(6)}),
              "Invalid <Go To Interview> destination on the Caller Input  3 key tab.  Please correct and try again");
    EXPECT_EQ(joined({english(126), "bob", english(9)}),
              "Error!  Handler with alias='bob' generated an unknown error while loading.  Skipping handler...");
    EXPECT_EQ(joined({english(48), "Overflow", english(1), " 6"}),
              "An error has occured in the Select Subscriber Changes PopulateControls rutine!  "
              "Description=Overflow Number= 6");
}

// Option lists are read back by comparing the chosen item with these texts without regard to
// case, so the items of one list must stay apart when case is ignored.
TEST(EnglishStrings, ItemsOfEachOptionListDifferWithoutRegardToCase)
{
    const std::initializer_list<int> lists[] = {
        {20, 279, 137},
        {20, 217, 258},
        {20, 46, 192, 65},
        {20, 45, 189, 65},
        {20, 453, 454, 455},
        {20, 544, 545, 546},
        {20, 142, 68},
        {20, 139, 170, 156},
        {20, 250, 497},
        {20, 67, 28, 312},
        {20, 215, 182, 177},
        {20, 367, 368},
        {20, 449, 450, 451},
        {20, 528, 529, 530},
        {20, 83, 216},
        {20, 354, 355, 356, 459, 460, 461, 462, 493, 494},
        {464, 465, 466, 467, 468, 469, 470, 471, 472, 473, 20, 474, 475, 476, 477, 478, 479},
        {158, 248, 260, 152, 247, 359, 365, 366, 444, 175, 149, 504},
        {320, 321, 322, 323, 324, 325, 326},
        {327, 328},
    };
    for (const auto& list : lists) {
        QSet<QString> folded;
        for (int number : list)
            folded.insert(resources::englishString(number).toCaseFolded());
        EXPECT_EQ(folded.size(), qsizetype(list.size())) << "list starting with " << *list.begin();
    }
}

TEST(EnglishStrings, LoopBackToSelfMatchesOnlyWithoutRegardToCase)
{
    // The call handler action list offers 175; its reading compares with 176.
    EXPECT_NE(english(175), english(176));
    EXPECT_EQ(resources::englishString(175).compare(resources::englishString(176), Qt::CaseInsensitive), 0);
}

} // namespace
