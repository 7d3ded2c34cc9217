// The call handler options page as the administrator works on it: entry checks on leaving a box,
// the checks of Next, the Find and Browse buttons, the greeting source lists and Clear boxes.
#include "HandlerOptionsPageFixture.h"

#include "core/ControlNames.h"
#include "core/ui/EntryChecks.h"
#include "resources/EnglishStrings.h"
#include "search/ui/SharedPicker.h"
#include "search/ui/frmSubscriberSearch.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList message(int number) { return {resources::englishString(number)}; }

// The page opened in the active window, so that the focus moves as on a desktop; Next leads to
// a stand-in engine page. The server offers every box (prepend and postpend digits included).
class ActiveHandlerPage : public HandlerOptionsPage {
public:
    ActiveHandlerPage() : HandlerOptionsPage(TempInstallation::smallServer(7, 0, 0, 1))
    {
        EXPECT_TRUE(open());
        context.handlerEnginePage = [this](QWidget*) { return &engine; };
        page->show();
        page->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(page));
    }
    QLineEdit* typeInto(const QString& name, const QString& text)
    {
        auto* box = child<QLineEdit>(name);
        showTabsOf(box);
        box->clear();
        box->setFocus();
        QTest::keyClicks(box, text);
        return box;
    }
    // The greeting's source list offering `items` (its fill is not part of this page's input).
    void chooseSource(int greeting, const QString& item)
    {
        auto* source = child<QComboBox>(elementName("comGreetingSource", greeting));
        if (source->findText(item) < 0)
            source->addItems({"System", "Recording"});
        source->setCurrentIndex(source->findText(item));
    }
    QWidget engine;
};

TEST(HandlerOptionsChecks, LeavingABoxChecksItEmptiesARefusalAndKeepsOrMovesTheFocus)
{
    ActiveHandlerPage run;
    const struct {
        const char* box;
        const char* text;
        QStringList shown;
    } cases[] = {
        {"txtMessagesMaxMessageLength", "1", {}},        {"txtMessagesMaxMessageLength", "1200", {}},
        {"txtMessagesMaxMessageLength", "0", message(268)}, {"txtMessagesMaxMessageLength", "1201", message(268)},
        {"txtMessagesMaxMessageLength", "12.5", message(268)}, {"txtMessagesMaxMessageLength", "-3", message(268)},
        {"txtMessagesMaxMessageLength", "abc", message(268)}, {"txtTransferRingsToWait_0", "2", {}},
        {"txtTransferRingsToWait_1", "19", {}},          {"txtTransferRingsToWait_0", "1", message(278)},
        {"txtTransferRingsToWait_2", "20", message(278)}, {"txtCallerInputPrependDigits", "0012", {}},
        {"txtCallerInputPrependDigits", "*9", message(522)}, {"txtCallerInputPostPendDigits", "#", message(522)},
        {"txtCallerInputPostPendDigits", "A1", message(522)}, {"txtCallerInputMilisecondsToWait", "2000", {}},
        {"txtCallerInputMilisecondsToWait", "2001", message(269)}, {"txtGreetingReplayTimes_1", "-1", message(221)},
        {"txtGreetingSecondsBetweenReplays_4", "ab", message(227)}, {"txtGreetingReplayTimes_5", "99", {}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(std::string(test.box) + " " + test.text);
        run.shown.clear();
        QLineEdit* box = run.typeInto(test.box, test.text);
        QTest::keyClick(box, Qt::Key_Tab);
        EXPECT_EQ(run.shown, test.shown);
        EXPECT_EQ(box->text(), test.shown.isEmpty() ? test.text : QString());
        // Only the digits boxes let the focus go on a refusal.
        EXPECT_EQ(run.page->focusWidget() != box, test.shown.isEmpty() || QString(test.box).endsWith("Digits"));
    }
    // A click on Next runs the leave check first.
    run.shown.clear();
    run.typeInto("txtMessagesMaxMessageLength", "1201");
    QTest::mouseClick(run.child<QPushButton>("cmdNext"), Qt::LeftButton);
    EXPECT_TRUE(run.shown == message(268) && run.page->isVisible()) << run.shown.join("|").toStdString();
}

TEST(HandlerOptionsNext, TheFirstChoiceWithoutItsPickStopsNextElseTheEnginePageIsShown)
{
    const struct {
        QStringList options;
        QStringList filled;   // name boxes given a text
        const char* greeting2;   // greeting 2's source, when chosen
        QStringList shown;
    } cases[] = {
        {{"optCallerInputGoToCallHandler_3"}, {}, nullptr, message(337)},
        {{"optCallerInputGoToDirectoryHandler_12"}, {}, nullptr, message(338)},
        {{"optCallerInputgoToInterviewHandler_15"}, {}, nullptr, message(339)},
        {{"optCallerInputGoToCallHandler_3", "optCallerInputGoToSubscriber_15"}, {}, nullptr, message(337)},
        {{"optCallHandlerOwnerChangeDL", "optCallHandlerRecipientSubscriber"}, {}, nullptr, message(345)},
        {{"optCallHandlerOwnerChangeDL", "optCallHandlerRecipientSubscriber"}, {"txtCallHandlerOwnerDL"}, nullptr, message(348)},
        {{"optCallHandlerOwnerChangeSubscriber", "optCallHandlerRecipientDL"}, {"txtCallHandlerOwnerSubscriber"}, nullptr, message(347)},
        {{"optCallerInputGoToSubscriber_0"}, {"txtCallerInputGoToSubscriber_0"}, nullptr, {}},
        {{}, {}, "Recording", message(457)},
        {{}, {"txtGreetingSourcePath_2"}, "Recording", {}},
        {{}, {}, "System", {}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.options.join(",").toStdString());
        ActiveHandlerPage run;
        for (const QString& option : test.options)
            run.child<QRadioButton>(option)->setChecked(true);
        if (test.greeting2)
            run.chooseSource(2, test.greeting2);
        for (const QString& box : test.filled)
            run.child<QLineEdit>(box)->setText(" ");   // blanks count as a pick
        click(*run.page, "cmdNext");
        EXPECT_EQ(run.shown, test.shown);
        EXPECT_EQ(run.page->isVisible(), !test.shown.isEmpty());
        EXPECT_EQ(run.engine.isVisible(), test.shown.isEmpty());
    }
}

// Searches the picker for `alias`, takes the one row found with OK.
void pickAlias(QDialog& picker, const QString& alias)
{
    picker.findChild<QRadioButton*>("optSearchByAlias")->setChecked(true);
    picker.findChild<QLineEdit*>("txtSearchString")->setText(alias);
    click(picker, "cmdSearch");
    auto* grid = picker.findChild<QTableView*>("myGrid");
    ASSERT_EQ(grid->model()->rowCount(), 1);
    grid->selectRow(0);
    click(picker, "cmdOK");
}

TEST(HandlerOptionsFind, APickFillsItsOwnPairOnlyAndCancelEmptiesIt)
{
    HandlerOptionsPage run;
    ASSERT_TRUE(run.open());
    auto& subscribers = sharedPicker<frmSubscriberSearch>(run.context);
    const auto remote = run.session.database.select("SELECT Alias, SubscriberObjectID FROM Subscriber WHERE SubscriberType = 8").rows;
    ASSERT_FALSE(remote.isEmpty());
    const auto text = [&](const QString& box) { return run.child<QLineEdit>(box)->text(); };
    const auto find = [&](const char* button) { return [&run, button] { click(*run.page, button); }; };

    // Destinations may be remote subscribers; the owner's picker offers the default kinds only.
    whileShown(subscribers, [&] { pickAlias(subscribers, remote[0][0].toString()); }, find("cmdCallerInputFindSubscriber_5"));
    EXPECT_EQ(text("txtCallerInputGoToSubscriberObjectID_5"), remote[0][1].toString());
    EXPECT_FALSE(text("txtCallerInputGoToSubscriber_5").isEmpty());
    EXPECT_EQ(text("txtCallerInputGoToSubscriber_4") + text("txtCallerInputGoToSubscriber_6"), "");
    EXPECT_FALSE(run.child<QRadioButton>("optCallerInputGoToSubscriber_5")->isChecked());
    const auto cancel = [&] { click(subscribers, "cmdCancel"); };
    whileShown(subscribers, [&] { EXPECT_FALSE(subscribers.bShowRemoteSubscribers); cancel(); }, find("cmdSelectCallHandlerOwnerSubscriber"));
    whileShown(subscribers, cancel, find("cmdCallerInputFindSubscriber_5"));
    EXPECT_EQ(text("txtCallerInputGoToSubscriber_5") + text("txtCallerInputGoToSubscriberObjectID_5"), "");
    EXPECT_EQ(run.shown, QStringList());
}

TEST(HandlerOptionsBrowse, BrowseTakesAnExistingFileCancelKeepsItAndRecordingAgainEmptiesIt)
{
    ActiveHandlerPage run;
    QTemporaryDir folder;
    const QString hello = folder.filePath("hello.wav");
    ASSERT_TRUE(QFile(hello).open(QIODevice::WriteOnly));
    auto* path = run.child<QLineEdit>("txtGreetingSourcePath_2");
    const auto browseFor = [&](const QString& file) {
        withFileDialog([&](QFileDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Select WAV file for greeting");   // its filter is the shared dialog's
            dialog.findChild<QLineEdit*>("fileNameEdit")->setText(file);
            QDialog& modal = dialog;   // accept() is protected on QFileDialog
            file.isEmpty() ? modal.reject() : modal.accept();
        }, [&] { click(*run.page, "cmdGreetingsourceWAVSelect_2"); });
    };
    run.chooseSource(2, "Recording");
    EXPECT_TRUE(run.child<QPushButton>("cmdGreetingsourceWAVSelect_2")->isEnabled() && !path->isHidden());
    for (const QString& file : {hello, QString(), folder.filePath("nosuch.wav")})   // chosen, cancelled, no file
        browseFor(file);
    EXPECT_EQ(path->text(), hello);
    EXPECT_EQ(run.shown, QStringList());
    auto* source = run.child<QComboBox>("comGreetingSource_2");
    chooseInDropDown(*source, source->currentIndex());   // "Recording" again
    EXPECT_TRUE(path->text().isEmpty() && !path->isHidden());
    run.chooseSource(2, "System");
    EXPECT_TRUE(path->isHidden() && !run.child<QPushButton>("cmdGreetingsourceWAVSelect_2")->isEnabled());
}

TEST(HandlerOptionsClear, AClearBoxEmptiesAndDisablesItsDigitsBox)
{
    ActiveHandlerPage run;
    for (const auto& [clear, digits] : {std::pair{"chkCallerInputPrependDigitsClear", "txtCallerInputPrependDigits"},
                                        {"chkCallerInputPostPendDigitsClear", "txtCallerInputPostPendDigits"}}) {
        auto* box = run.child<QLineEdit>(digits);
        box->setText("12");
        click(*run.page, clear);
        EXPECT_TRUE(box->text().isEmpty() && !box->isEnabled());
        box->setText("34");
        click(*run.page, clear);
        EXPECT_TRUE(box->isEnabled() && box->text() == "34") << clear;
    }
}

}  // namespace
