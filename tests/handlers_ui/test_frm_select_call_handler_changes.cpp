// The call handler options page: its controls by name, their starting state, captions and
// limits, the way in and out of the page and its snapshot.
#include "HandlerOptionsPageFixture.h"

#include "core/ControlNames.h"
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

// The page's controls: arrays with their element range, single controls with none (-1).
struct Controls {
    std::initializer_list<const char*> names;
    ControlKind kind;
    int first = -1, last = -1;
};
const Controls kInventory[] = {
    {{"Label17", "Label25", "Label2", "Label4", "Label3", "Label12", "Label13", "Label20", "Label16", "Label15", "Label14", "Label21"},
     ControlKind::Label},
    {{"cmdHelp", "cmdNext", "cmdExit", "cmdPrevious", "cmdSelectCallHandlerOwnerSubscriber", "cmdSelectCallHandlerOwnerDL",
      "cmdChooseCallHandlerRecipient", "cmdChooseCallHandlerRecipientDL"}, ControlKind::Button},
    {{"SSTab1", "SSTab2", "SSTab3", "SSTab4"}, ControlKind::TabControl},
    {{"cmbCallHandlerDefaultLanguage", "cmbCallHandlerSchedule", "cmbCallHandlerSwitchAssignment", "comMessagesMarkUrgent",
      "comMessagesMarkPrivate", "comMessagesCallersCanEdit"}, ControlKind::ComboBox},
    {{"Frame5", "Frame1", "Frame2"}, ControlKind::Frame},
    {{"optCallHandlerOwnerDontChange", "optCallHandlerOwnerChangeSubscriber", "optCallHandlerOwnerChangeDL",
      "optCallHandlerRecipientNoChange", "optCallHandlerRecipientSubscriber", "optCallHandlerRecipientDL"}, ControlKind::OptionButton},
    {{"txtCallHandlerOwnerSubscriber", "txtCallHandlerOwnerSubscriberObjectID", "txtCallHandlerOwnerDL", "txtCallHandlerOwnerDLObjectID",
      "txtCallHandlerRecipientSubscriber", "txtCallHandlerRecipientSubscriberObjectID", "txtCallHandlerRecipientDL",
      "txtCallHandlerRecipientDLObjectID", "txtCallerInputMilisecondsToWait", "txtCallerInputPrependDigits",
      "txtCallerInputPostPendDigits", "txtMessagesMaxMessageLength"}, ControlKind::LineEdit},
    {{"chkCallerInputPrependDigitsClear", "chkCallerInputPostPendDigitsClear"}, ControlKind::CheckBox},
    {{"comTransferEnabled", "comTransferTo", "comTransferType", "comTransferBusyAction", "comTransferAnnounce", "comTransferIntroduce",
      "comTransferConfirm", "comTransferAskCallersName", "comVoiceTransferPrompt"}, ControlKind::ComboBox, 0, 5},
    {{"txtTransferRingsToWait"}, ControlKind::LineEdit, 0, 5},
    {{"Label1", "Label18", "Label19"}, ControlKind::Label, 0, 5},
    {{"Label10"}, ControlKind::Label, 0, 47},
    {{"Frame6"}, ControlKind::Frame, 0, 6},
    {{"label11", "Label34", "Label35", "Label36", "Label37"}, ControlKind::Label, 0, 5},
    {{"Label23"}, ControlKind::Label, 0, 17},
    {{"label11"}, ControlKind::Label, 48, 52},
    {{"comGreetingEnabled", "comGreetingAllowInput", "comGreetingSource", "comGreetingPlayPleaseRecord"}, ControlKind::ComboBox, 0, 5},
    {{"txtGreetingSourcePath", "txtGreetingReplayTimes", "txtGreetingSecondsBetweenReplays"}, ControlKind::LineEdit, 0, 5},
    {{"cmdGreetingsourceWAVSelect"}, ControlKind::Button, 0, 5},
    {{"frmReprompts", "Frame3"}, ControlKind::Frame, 0, 5},
    {{"optCallerInputDontChange", "optCallerInputTakeAction", "optCallerInputGoToCallHandler", "optCallerInputGoToSubscriber",
      "optCallerInputgoToInterviewHandler", "optCallerInputGoToDirectoryHandler"}, ControlKind::OptionButton, 0, 18},
    {{"cmbCallerInputTakeAction"}, ControlKind::ComboBox, 0, 18},
    {{"txtCallerInputGoToCallHandler", "txtCallerInputGoToCallHandlerObjectID", "txtCallerInputGoToSubscriber",
      "txtCallerInputGoToSubscriberObjectID", "txtCallerInputGoToInterview", "txtCallerInputGoToInterviewObjectID",
      "txtCallerInputGoToDirectoryHandler", "txtCallerInputGoToDirectoryHandlerObjectID"}, ControlKind::LineEdit, 0, 18},
    {{"cmdCallerInputFindCallHandler", "cmdCallerInputFindSubscriber", "cmdCallerInputFindInterviewer",
      "cmdCallerInputFindDirectoryHandler"}, ControlKind::Button, 0, 18},
    {{"chkCallerInputGoToCallHandlerSkipGreeting", "chkCallerInputGoToSubscriberSkipGreeting"}, ControlKind::CheckBox, 0, 18},
    {{"chkCallerInputChangeOnlyIfSetToIgnore"}, ControlKind::CheckBox, 0, 11},
    {{"Label24"}, ControlKind::Label, 0, 11},
    {{"cmbCallerInputLockKey"}, ControlKind::ComboBox, 0, 11},
    {{"Frame4"}, ControlKind::Frame, 0, 11},
};

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
    EXPECT_EQ(tabTexts(*run.child<QTabWidget>("SSTab2")), QStringList({"Standard", "Closed", "Busy", "Alternate", "Internal", "Error"}));
    EXPECT_EQ(tabTexts(*run.child<QTabWidget>("SSTab3")).join(""), "0123456789*#");
    // The transfer-to labels run the other way on the first three rules.
    EXPECT_EQ(run.child<QWidget>("Frame6_0"), run.child<QWidget>("Label1_2")->parentWidget());
    EXPECT_EQ(run.child<QWidget>("Frame6_2"), run.child<QWidget>("Label1_0")->parentWidget());
}

TEST(HandlerOptionsPage, AFreshPageChangesNothingAndItsSnapshotReadsBackTheChoices)
{
    HandlerOptionsPage run;
    ASSERT_TRUE(run.open());
    const OptionsSnapshot fresh = run.page->snapshot();
    for (const Controls& controls : kInventory)
        for (const char* base : controls.names)
            for (int i = controls.first; i <= controls.last; ++i) {
                const QString name = i < 0 ? QString(base) : elementName(base, i);
                SCOPED_TRACE(name.toStdString());
                const ControlState& state = fresh.control(name);
                EXPECT_EQ(state.kind, controls.kind);
                EXPECT_EQ(state.selected, QStringList({"optCallHandlerOwnerDontChange", "optCallHandlerRecipientNoChange",
                                                       elementName("optCallerInputDontChange", i)}).contains(name));
                EXPECT_EQ(state.checkState, CheckValue::Clear);
                EXPECT_TRUE(controls.kind != ControlKind::LineEdit || state.text.isEmpty());
            }
    EXPECT_THROW(fresh.control("txtSubscriberCallerInputNumbertoDial", 0), OptionsSnapshot::UnknownName);

    run.child<QRadioButton>("optCallerInputGoToSubscriber_15")->click();
    run.child<QCheckBox>("chkCallerInputGoToSubscriberSkipGreeting_15")->click();
    run.child<QLineEdit>("txtTransferRingsToWait_3")->setText("12");
    const OptionsSnapshot chosen = run.page->snapshot();
    EXPECT_TRUE(chosen.control("optCallerInputGoToSubscriber", 15).selected && chosen.control("optCallerInputDontChange", 14).selected);
    EXPECT_FALSE(chosen.control("optCallerInputDontChange", 15).selected);
    EXPECT_EQ(chosen.control("chkCallerInputGoToSubscriberSkipGreeting", 15).checkState, CheckValue::Ticked);
    EXPECT_EQ(chosen.control("txtTransferRingsToWait", 3).text, "12");
}

TEST(HandlerOptionsPage, TypedBoxesKeepTheirLengthsAndNameBoxesAreReadOnly)
{
    HandlerOptionsPage run;
    ASSERT_TRUE(run.open());
    const int unlimited = QLineEdit().maxLength();
    const std::pair<const char*, int> lengths[] = {
        {"txtTransferRingsToWait_0", 2}, {"txtTransferRingsToWait_1", unlimited}, {"txtTransferRingsToWait_2", unlimited},
        {"txtTransferRingsToWait_5", 2}, {"txtGreetingReplayTimes_4", 2}, {"txtGreetingSecondsBetweenReplays_0", 2},
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
    const std::tuple<const char*, int, const char*> captions[] = {
        {"Label10", 0, "[[118]]"}, {"Label10", 7, "[[118]]"}, {"Label10", 14, "[[118]]"},
        {"Label10", 25, "Enable Transfer:"}, {"Label10", 33, "Enable Transfer:"}, {"Label10", 41, "Enable Transfer:"},
        {"Label10", 24, "Voice transfer promp:"}, {"Label10", 32, "Voice transfer promp:"}, {"Label10", 40, "Voice transfer promp:"},
        {"Label1", 2, "[[276]]"}, {"Label1", 3, "Transfer To:"}, {"optCallerInputDontChange", 7, "[[20]]"},
        {"Frame3", 5, "[[27]]"}, {"cmdGreetingsourceWAVSelect", 0, "Browse"},
    };
    for (const auto& [name, element, text] : captions)
        EXPECT_EQ(page.control(name, element).text, text) << name << element;
    EXPECT_EQ(tabTexts(*run.child<QTabWidget>("SSTab3")).join(""), "0123456789*#");
    EXPECT_EQ(tabTexts(*run.child<QTabWidget>("SSTab4"))[2], "[[101]]");
}

TEST(HandlerOptionsPage, WaitAndRecordPromptsShowFromVersion4_1)
{
    for (const auto& [minor, build, shown] : {std::tuple{0, 99, false}, std::tuple{1, 0, true}}) {
        HandlerOptionsPage run(TempInstallation::smallServer(4, minor, 0, build));
        ASSERT_TRUE(run.open());
        const OptionsSnapshot page = run.page->snapshot();
        for (const auto& [name, first, last, string] : {std::tuple{"Label10", 21, 23, 488}, std::tuple{"Label23", 12, 17, 489}})
            for (int label = first; label <= last; ++label) {
                const ControlState& state = page.control(name, label);
                EXPECT_EQ(state.visible, shown) << minor << name << label;
                EXPECT_TRUE(!shown || state.text == resources::englishString(string)) << name << label;
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
        click(*selection, "cmdNext");
        ASSERT_TRUE(run.page);
        EXPECT_EQ(run.pagesCreated, 1);
        EXPECT_TRUE(run.page->isVisible() && run.page->pos() == selection->pos()) << entry;
        run.page->move(160, 100);
        click(*run.page, "cmdPrevious");
        EXPECT_TRUE(run.page->isHidden() && selection->isVisible()) << entry;
        EXPECT_EQ(selection->pos(), QPoint(160, 100));
    }
    const QStringList shownBefore = run.shown;
    click(*run.page, "cmdExit");
    EXPECT_EQ(run.shown, shownBefore);
    EXPECT_EQ(run.endedWith, 0);
}

}  // namespace
