// The call handler options page: its controls by name, their starting state, captions and
// limits, the way in and out of the page and its snapshot.
#include "HandlerOptionsPageFixture.h"

#include "core/ui/OptionsCapture.h"
#include "resources/EnglishStrings.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The page's controls: arrays with their element range, single controls with NoElement.
constexpr int NoElement = -1;
struct Controls {
    std::initializer_list<const char*> names;
    ControlKind kind;
    int first = NoElement;
    int last = NoElement;
};
const Controls kInventory[] = {
    {{"Label17", "Label25", "Label2", "Label4", "Label3", "Label12", "Label13", "Label20", "Label16", "Label15", "Label14",
      "Label21"},
     ControlKind::Label},
    {{"cmdHelp", "cmdNext", "cmdExit", "cmdPrevious", "cmdSelectCallHandlerOwnerSubscriber", "cmdSelectCallHandlerOwnerDL",
      "cmdChooseCallHandlerRecipient", "cmdChooseCallHandlerRecipientDL"},
     ControlKind::Button},
    {{"SSTab1", "SSTab2", "SSTab3", "SSTab4"}, ControlKind::TabControl},
    {{"cmbCallHandlerDefaultLanguage", "cmbCallHandlerSchedule", "cmbCallHandlerSwitchAssignment", "comMessagesMarkUrgent",
      "comMessagesMarkPrivate", "comMessagesCallersCanEdit"},
     ControlKind::ComboBox},
    {{"Frame5", "Frame1", "Frame2"}, ControlKind::Frame},
    {{"optCallHandlerOwnerDontChange", "optCallHandlerOwnerChangeSubscriber", "optCallHandlerOwnerChangeDL",
      "optCallHandlerRecipientNoChange", "optCallHandlerRecipientSubscriber", "optCallHandlerRecipientDL"},
     ControlKind::OptionButton},
    {{"txtCallHandlerOwnerSubscriber", "txtCallHandlerOwnerSubscriberObjectID", "txtCallHandlerOwnerDL",
      "txtCallHandlerOwnerDLObjectID", "txtCallHandlerRecipientSubscriber", "txtCallHandlerRecipientSubscriberObjectID",
      "txtCallHandlerRecipientDL", "txtCallHandlerRecipientDLObjectID", "txtCallerInputMilisecondsToWait",
      "txtCallerInputPrependDigits", "txtCallerInputPostPendDigits", "txtMessagesMaxMessageLength"},
     ControlKind::LineEdit},
    {{"chkCallerInputPrependDigitsClear", "chkCallerInputPostPendDigitsClear"}, ControlKind::CheckBox},
    // Transfer rules.
    {{"comTransferEnabled", "comTransferTo", "comTransferType", "comTransferBusyAction", "comTransferAnnounce",
      "comTransferIntroduce", "comTransferConfirm", "comTransferAskCallersName", "comVoiceTransferPrompt"},
     ControlKind::ComboBox, 0, 5},
    {{"txtTransferRingsToWait"}, ControlKind::LineEdit, 0, 5},
    {{"Label1", "Label18", "Label19"}, ControlKind::Label, 0, 5},
    {{"Label10"}, ControlKind::Label, 0, 47},
    {{"Frame6"}, ControlKind::Frame, 0, 6},
    // Greetings.
    {{"label11", "Label34", "Label35", "Label36", "Label37"}, ControlKind::Label, 0, 5},
    {{"Label23"}, ControlKind::Label, 0, 17},
    {{"label11"}, ControlKind::Label, 48, 52},
    {{"comGreetingEnabled", "comGreetingAllowInput", "comGreetingSource", "comGreetingPlayPleaseRecord"}, ControlKind::ComboBox, 0, 5},
    {{"txtGreetingSourcePath", "txtGreetingReplayTimes", "txtGreetingSecondsBetweenReplays"}, ControlKind::LineEdit, 0, 5},
    {{"cmdGreetingsourceWAVSelect"}, ControlKind::Button, 0, 5},
    {{"frmReprompts", "Frame3"}, ControlKind::Frame, 0, 5},
    // Caller-input groups; the keys' own rows.
    {{"optCallerInputDontChange", "optCallerInputTakeAction", "optCallerInputGoToCallHandler", "optCallerInputGoToSubscriber",
      "optCallerInputgoToInterviewHandler", "optCallerInputGoToDirectoryHandler"},
     ControlKind::OptionButton, 0, 18},
    {{"cmbCallerInputTakeAction"}, ControlKind::ComboBox, 0, 18},
    {{"txtCallerInputGoToCallHandler", "txtCallerInputGoToCallHandlerObjectID", "txtCallerInputGoToSubscriber",
      "txtCallerInputGoToSubscriberObjectID", "txtCallerInputGoToInterview", "txtCallerInputGoToInterviewObjectID",
      "txtCallerInputGoToDirectoryHandler", "txtCallerInputGoToDirectoryHandlerObjectID"},
     ControlKind::LineEdit, 0, 18},
    {{"cmdCallerInputFindCallHandler", "cmdCallerInputFindSubscriber", "cmdCallerInputFindInterviewer",
      "cmdCallerInputFindDirectoryHandler"},
     ControlKind::Button, 0, 18},
    {{"chkCallerInputGoToCallHandlerSkipGreeting", "chkCallerInputGoToSubscriberSkipGreeting"}, ControlKind::CheckBox, 0, 18},
    {{"chkCallerInputChangeOnlyIfSetToIgnore"}, ControlKind::CheckBox, 0, 11},
    {{"Label24"}, ControlKind::Label, 0, 11},
    {{"cmbCallerInputLockKey"}, ControlKind::ComboBox, 0, 11},
    {{"Frame4"}, ControlKind::Frame, 0, 11},
};

// Every (name, kind) of the inventory.
QList<std::pair<QString, ControlKind>> inventoryNames()
{
    QList<std::pair<QString, ControlKind>> all;
    for (const Controls& controls : kInventory)
        for (const char* name : controls.names) {
            if (controls.first == NoElement)
                all.push_back({QLatin1String(name), controls.kind});
            for (int i = controls.first; i != NoElement && i <= controls.last; ++i)
                all.push_back({QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i), controls.kind});
        }
    return all;
}

QStringList tabTexts(const QTabWidget& tabs)
{
    QStringList texts;
    for (int tab = 0; tab < tabs.count(); ++tab)
        texts << tabs.tabText(tab);
    return texts;
}

TEST(HandlerOptionsPage, FiveScrolledTabsHoldingTheRuleGreetingAndKeyTabs)
{
    HandlerOptionsPage run;
    ASSERT_TRUE(run.open());
    EXPECT_EQ(run.page->windowTitle(), "Kestrane - Select Call Handler Changes");
    EXPECT_EQ(run.forms.find<frmSelectCallHandlerChanges>(), run.page);
    const auto& main = *run.child<QTabWidget>("SSTab1");
    EXPECT_EQ(tabTexts(main), QStringList({"Profile", "Transfer", "Greetings", "Caller Input", "Messages"}));
    for (int tab = 0; tab < main.count(); ++tab)
        EXPECT_NE(qobject_cast<const QScrollArea*>(main.widget(tab)), nullptr) << tab;
    EXPECT_EQ(tabTexts(*run.child<QTabWidget>("SSTab4")),
              QStringList({"Alternate", "Standard", "Closed", "Follow-Me Here", "Follow-Me Home", "Follow-Me Mobile"}));
    EXPECT_EQ(tabTexts(*run.child<QTabWidget>("SSTab2")),
              QStringList({"Standard", "Closed", "Busy", "Alternate", "Internal", "Error"}));
    EXPECT_EQ(tabTexts(*run.child<QTabWidget>("SSTab3")),
              QStringList({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "#"}));
    // The transfer-to labels run the other way on the first three rules.
    EXPECT_EQ(run.child<QWidget>("Frame6_0"), run.child<QWidget>("Label1_2")->parentWidget());
    EXPECT_EQ(run.child<QWidget>("Frame6_2"), run.child<QWidget>("Label1_0")->parentWidget());
}

TEST(HandlerOptionsPage, AFreshPageChangesNothingAndItsSnapshotReadsBackTheChoices)
{
    HandlerOptionsPage run;
    ASSERT_TRUE(run.open());
    const OptionsSnapshot fresh = run.page->snapshot();
    const QStringList dontChange{"optCallHandlerOwnerDontChange", "optCallHandlerRecipientNoChange"};
    for (const auto& [name, kind] : inventoryNames()) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_NO_THROW(fresh.control(name));
        const ControlState& state = fresh.control(name);
        EXPECT_EQ(state.kind, kind);
        EXPECT_EQ(state.selected, dontChange.contains(name) || name.startsWith("optCallerInputDontChange_"));
        EXPECT_EQ(state.checkState, CheckValue::Clear);
        if (kind == ControlKind::LineEdit) {
            EXPECT_EQ(state.text, QString());
        }
    }
    EXPECT_THROW(fresh.control("txtSubscriberCallerInputNumbertoDial", 0), OptionsSnapshot::UnknownName);

    run.child<QRadioButton>("optCallerInputGoToSubscriber_15")->click();
    run.child<QCheckBox>("chkCallerInputGoToSubscriberSkipGreeting_15")->click();
    run.child<QLineEdit>("txtTransferRingsToWait_3")->setText("12");
    const OptionsSnapshot chosen = run.page->snapshot();
    EXPECT_TRUE(chosen.control("optCallerInputGoToSubscriber", 15).selected);
    EXPECT_FALSE(chosen.control("optCallerInputDontChange", 15).selected);
    EXPECT_TRUE(chosen.control("optCallerInputDontChange", 14).selected);
    EXPECT_EQ(chosen.control("chkCallerInputGoToSubscriberSkipGreeting", 15).checkState, CheckValue::Ticked);
    EXPECT_EQ(chosen.control("txtTransferRingsToWait", 3).text, "12");
}

TEST(HandlerOptionsPage, TypedBoxesKeepTheirLengthsAndNameBoxesAreReadOnly)
{
    HandlerOptionsPage run;
    ASSERT_TRUE(run.open());
    const QLineEdit unlimited;
    const std::pair<const char*, int> lengths[] = {
        {"txtTransferRingsToWait_0", 2}, {"txtTransferRingsToWait_1", unlimited.maxLength()},
        {"txtTransferRingsToWait_2", unlimited.maxLength()}, {"txtTransferRingsToWait_5", 2},
        {"txtGreetingReplayTimes_4", 2}, {"txtGreetingSecondsBetweenReplays_0", 2},
        {"txtMessagesMaxMessageLength", 4}, {"txtCallerInputMilisecondsToWait", 4},
        {"txtCallerInputPrependDigits", 10}, {"txtCallerInputPostPendDigits", 10},
    };
    for (const auto& [box, length] : lengths)
        EXPECT_EQ(run.child<QLineEdit>(box)->maxLength(), length) << box;
    for (const char* box : {"txtCallHandlerOwnerDL", "txtCallHandlerRecipientSubscriber", "txtCallerInputGoToInterview_18",
                            "txtCallerInputGoToDirectoryHandler_0", "txtGreetingSourcePath_5"})
        EXPECT_TRUE(run.child<QLineEdit>(box)->isReadOnly()) << box;
    for (const char* box : {"txtCallHandlerOwnerDLObjectID", "txtCallerInputGoToCallHandlerObjectID_12"})
        EXPECT_TRUE(run.child<QLineEdit>(box)->isHidden()) << box;
}

TEST(HandlerOptionsPage, FollowMeRulesKeepTheirFixedLabelsInAnotherLanguage)
{
    // A library whose every text is "[[number]]" shows where each caption came from.
    QTemporaryDir programFolder;
    QFile library(programFolder.filePath("kestrane_FRA.lang"));
    ASSERT_TRUE(library.open(QIODevice::WriteOnly));
    for (int number = resources::kFirstStringNumber; number <= resources::kLastStringNumber; ++number)
        library.write(QByteArray::number(number) + "\t[[" + QByteArray::number(number) + "]]\n");
    library.close();
    HandlerOptionsPage run(TempInstallation::smallOptions(), programFolder.path());
    ASSERT_TRUE(run.open());
    run.session.languages.lngLanguageID = 1036;
    run.session.languages.InitalizeLanguages();
    run.forms.runAutoInits();

    const OptionsSnapshot page = run.page->snapshot();
    EXPECT_EQ(run.page->windowTitle(), "[[75]]");
    for (int label : {0, 7, 14})
        EXPECT_EQ(page.control("Label10", label).text, "[[118]]") << label;
    for (int label : {25, 33, 41})
        EXPECT_EQ(page.control("Label10", label).text, "Enable Transfer:") << label;
    for (int label : {24, 32, 40})
        EXPECT_EQ(page.control("Label10", label).text, "Voice transfer promp:") << label;
    EXPECT_EQ(page.control("Label1", 2).text, "[[276]]");
    EXPECT_EQ(page.control("Label1", 3).text, "Transfer To:");
    EXPECT_EQ(page.control("optCallerInputDontChange", 7).text, "[[20]]");
    EXPECT_EQ(page.control("Frame3", 5).text, "[[27]]");
    EXPECT_EQ(page.control("cmdGreetingsourceWAVSelect", 0).text, "Browse");
    EXPECT_EQ(tabTexts(*run.child<QTabWidget>("SSTab3")).join(""), "0123456789*#");
    EXPECT_EQ(tabTexts(*run.child<QTabWidget>("SSTab4"))[2], "[[101]]");
}

TEST(HandlerOptionsPage, WaitAndRecordPromptsShowFromVersion4_1)
{
    for (const auto& [minor, build, shown] : {std::tuple{0, 99, false}, std::tuple{1, 0, true}}) {
        SCOPED_TRACE(minor);
        velmo::InstallationOptions options = TempInstallation::smallOptions();
        options.minor = minor;
        options.release = 0;
        options.build = build;
        HandlerOptionsPage run(options);
        ASSERT_TRUE(run.open());
        const OptionsSnapshot page = run.page->snapshot();
        for (int label : {21, 22, 23}) {
            EXPECT_EQ(page.control("Label10", label).visible, shown) << label;
            if (shown) {
                EXPECT_EQ(page.control("Label10", label).text, resources::englishString(488));
            }
        }
        for (int label = 12; label <= 17; ++label) {
            EXPECT_EQ(page.control("Label23", label).visible, shown) << label;
            if (shown) {
                EXPECT_EQ(page.control("Label23", label).text, resources::englishString(489));
            }
        }
    }
}

TEST(HandlerOptionsPage, TheSelectionPagesNextLoadsThePageOncePreviousGoesBackExitAsksNothing)
{
    HandlerOptionsPage run;
    ASSERT_TRUE(run.start());
    QWidget* selection = run.context.handlerSelectionPage();
    selection->move(120, 80);
    selection->show();
    click(*selection, "cmdView");
    for (int entry = 0; entry < 2; ++entry) {
        SCOPED_TRACE(entry);
        click(*selection, "cmdNext");
        ASSERT_TRUE(run.page);
        EXPECT_EQ(run.pagesCreated, 1);
        EXPECT_TRUE(run.page->isVisible());
        EXPECT_EQ(run.page->pos(), selection->pos());
        run.page->move(160, 100);
        click(*run.page, "cmdPrevious");
        EXPECT_TRUE(run.page->isHidden());
        EXPECT_TRUE(selection->isVisible());
        EXPECT_EQ(selection->pos(), QPoint(160, 100));
    }
    const QStringList shownBefore = run.shown;
    click(*run.page, "cmdExit");
    EXPECT_EQ(run.shown, shownBefore);
    EXPECT_EQ(run.endedWith, 0);
}

}  // namespace
