#include "search/ui/CallerInputActionGroup.h"

#include "OptionsInventory.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

TEST(CallerInputActionGroup, KeyAndOtherGroupsHoldTheirControlsAndCaptions)
{
    struct Case {
        int index;
        size_t controls;   // frame excluded
    };
    for (const Case& c : {Case{0, 27}, Case{11, 27}, Case{12, 21}, Case{19, 21}}) {
        SCOPED_TRACE(c.index);
        QWidget tab;
        auto* frame = namedElement(new QGroupBox(&tab), "Frame4", c.index);
        auto* group = CallerInputActionGroup::placeIn(frame, c.index);
        EXPECT_EQ(CallerInputActionGroup::inFrame(&tab, frame->objectName()), group);
        const auto rows = actionGroupInventory(c.index, frame->objectName());
        EXPECT_EQ(rows.size() - 1, c.controls);
        expectInventory(&tab, rows);

        // Laid out in English; the caption routine's look-up replaces every caption.
        const OptionsSnapshot laidOut = captureOptions(&tab);
        EXPECT_EQ(laidOut.control("optCallerInputDontChange", c.index).text, QStringLiteral("<Don't Change>"));
        EXPECT_TRUE(group->applyCaptions(numberText).isEmpty());
        const OptionsSnapshot captioned = captureOptions(&tab);
        EXPECT_EQ(captioned.control("optCallerInputgoToInterviewHandler", c.index).text, QStringLiteral("#145"));
        EXPECT_EQ(captioned.control("cmdCallerInputFindInterviewer", c.index).text, QStringLiteral("#138"));
        if (c.index < CallerInputActionGroup::KeyGroups) {
            EXPECT_EQ(captioned.control("Label34", 6 + c.index).text, QStringLiteral("#505"));
            EXPECT_EQ(captioned.control("Label34", 18 + c.index).text, QStringLiteral("#506"));
        }

        // The object-ID boxes are hidden, the name boxes read-only; a key's number to dial
        // waits hidden for its action.
        EXPECT_FALSE(captioned.control("txtCallerInputGoToSubscriberObjectID", c.index).visible);
        if (c.index < CallerInputActionGroup::KeyGroups) {
            EXPECT_FALSE(captioned.control("txtSubscriberCallerInputNumbertoDial", c.index).visible);
            EXPECT_FALSE(captioned.control("Label34", 6 + c.index).visible);
            EXPECT_FALSE(captioned.control("Label34", 18 + c.index).visible);
        }
        EXPECT_TRUE(captioned.control("txtCallerInputGoToSubscriber", c.index).visible);
        EXPECT_TRUE(tab.findChild<QLineEdit*>(elementName(QStringLiteral("txtCallerInputGoToSubscriber"), c.index))->isReadOnly());
    }
}

TEST(CallerInputActionGroup, SixOptionButtonsAreOneChoiceStartingAtDontChange)
{
    QWidget tab;
    auto* first = new CallerInputActionGroup(3, &tab);
    auto* second = new CallerInputActionGroup(4, &tab);
    EXPECT_EQ(first->choices()->buttons().size(), 6);
    auto option = [&](const char* name, int i) { return tab.findChild<QRadioButton*>(elementName(QLatin1String(name), i)); };
    EXPECT_TRUE(option("optCallerInputDontChange", 3)->isChecked());

    option("optCallerInputGoToSubscriber", 3)->click();
    EXPECT_FALSE(option("optCallerInputDontChange", 3)->isChecked());
    option("optCallerInputTakeAction", 3)->click();
    EXPECT_FALSE(option("optCallerInputGoToSubscriber", 3)->isChecked());
    // Another group's choice is its own.
    EXPECT_TRUE(option("optCallerInputDontChange", 4)->isChecked());
    (void)second;
}
