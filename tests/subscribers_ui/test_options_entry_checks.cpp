// The options page's entry checks as the administrator meets them: typing, Tab, the page's buttons.
#include "OptionsPageFixture.h"

#include "core/ui/EntryChecks.h"
#include "resources/EnglishStrings.h"
#include "subscribers/ui/options/OptionsTabs.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

namespace {

// An 8.0(0).1 server's page (every checked box offered) in the active window, so the focus moves as on a desktop.
class ActiveOptionsPage : public OptionsPage {
public:
    ActiveOptionsPage() : OptionsPage(1, TempInstallation::smallServer(8, 0, 0, 1))
    {
        EXPECT_TRUE(open());
        page->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(page));
    }

    // Types `text` into `box`, its tab shown and the box enabled (some wait for a check box).
    QLineEdit* typeInto(const QString& box, const QString& text)
    {
        auto* edit = child<QLineEdit>(box);
        showTabsOf(edit);
        edit->setEnabled(true);
        edit->setFocus();
        QTest::keyClicks(edit, text);
        return edit;
    }
};

QStringList message(int number) { return {resources::englishString(number)}; }

TEST(OptionsEntryChecks, LeavingABoxChecksItAndKeepsTheFocusWhereTheTableSays)
{
    ActiveOptionsPage run;
    const struct { const char *box, *text; QStringList shown; bool focusGoes; } cases[] = {
        {"txtConversationAccessibility_2", "251", message(482), false},
        {"txtConversationAccessibility_2", "250", {}, true},
        {"txtSubscriberMessageReviewSkipAheadTime", "999", message(524), true},
        {"txtCallerInputMilisecondsToWait", "2000", {}, true},
        {"txtTransferAppendDigitsToRight_4", "9p", message(267), false},
        {"txtDCRSendTimeout", "1441", message(565), true},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.box);
        run.shown.clear();
        QLineEdit* box = run.typeInto(test.box, test.text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(run.page->focusWidget() != box, test.focusGoes);
        EXPECT_EQ(QStringList(run.shown) << box->text(), test.shown + QStringList{test.shown.isEmpty() ? test.text : ""});
    }
}

TEST(OptionsEntryChecks, ABoxThatKeepsTheFocusStopsThePagesButtons)
{
    ActiveOptionsPage run;
    QWidget engine;
    run.context.subscriberEnginePage = [&](QWidget*) { return &engine; };
    int tests = 0;
    QObject::connect(run.child<QPushButton>("cmdSubscriberExtensionTest"), &QPushButton::clicked, [&] { ++tests; });

    QLineEdit* wait = run.typeInto("txtCallerInputMilisecondsToWait", "2001");
    QTest::mouseClick(run.child<QPushButton>("cmdNext"), Qt::LeftButton);
    EXPECT_TRUE(run.page->isVisible());
    EXPECT_EQ(run.page->focusWidget(), wait);
    // Another tab: the box's tab comes back once the switch is over.
    QTest::keyClicks(wait, "2001");
    QTabBar* tabs = run.tabMain().tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(SubscriberOptions::TransferTab).center());
    QTest::qWait(20);
    EXPECT_EQ(run.tabMain().currentIndex(), SubscriberOptions::CallerInputTab);
    EXPECT_EQ(QApplication::focusWidget(), wait);

    run.typeInto("txtSubscriberExtensionTestNumber", "12a");
    click(*run.page, "cmdSubscriberExtensionTest");
    EXPECT_EQ(tests, 0);
    run.typeInto("txtSubscriberExtensionTestNumber", "12");
    click(*run.page, "cmdSubscriberExtensionTest");
    EXPECT_EQ(tests, 1);

    run.typeInto("txtCallerInputMilisecondsToWait", "2000");
    QTest::mouseClick(run.child<QPushButton>("cmdNext"), Qt::LeftButton);
    EXPECT_FALSE(run.page->isVisible());
    EXPECT_EQ(run.shown, message(229) + message(229) + message(196));
}

TEST(OptionsEntryChecks, ChangeChecksEmptyTheBoxAtTheFirstWrongCharacter)
{
    ActiveOptionsPage run;
    const struct { const char *box, *text; QString kept; QStringList shown; } cases[] = {
        {"txtPasswordsNewPassword", "12x4", "12x4", {}},
        {"txtPasswordsNewPassword", "7q", "", message(209)},
        {"txtSubscriberCallerInputNumbertoDial_3", "9,*#1", "9,*#1", {}},
        {"txtSubscriberCallerInputNumbertoDial_3", "9X", "", {"Legal dialable digits are '01234567890,*#'"}},
        {"txtAccountBillingID", "9999999999", "9999999999", {}},
    };
    for (const auto& test : cases) {
        run.shown.clear();
        run.child<QLineEdit>(test.box)->clear();
        EXPECT_EQ(QStringList{run.typeInto(test.box, test.text)->text()} + run.shown, QStringList{test.kept} + test.shown) << test.box;
    }
    EXPECT_EQ(run.child<QLineEdit>("txtSubscriberCallerInputNumbertoDial_3")->maxLength(), 30);
}

}  // namespace
