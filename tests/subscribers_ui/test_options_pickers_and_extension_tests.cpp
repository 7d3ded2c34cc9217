// The options page's dialog choices (Find, Browse, greeting lists, schedules) and its extension tabs' Test and spins.
#include "OptionsPageFixture.h"

#include "core/ControlNames.h"
#include "core/Registry.h"
#include "core/VelmoVersion.h"
#include "search/ui/SharedPicker.h"
#include "search/ui/frmCallHandlerSearch.h"
#include "search/ui/frmSubscriberSearch.h"
#include "subscribers/ExtensionRuleReader.h"
#include "subscribers/ui/frmSetNotificationSchedule.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

// Searches the picker for `text` by `option`, expects one row and takes it with OK.
void pickOnly(QDialog& picker, const QString& text, const char* option)
{
    picker.findChild<QRadioButton*>(option)->setChecked(true);
    picker.findChild<QLineEdit*>("txtSearchString")->setText(text);
    click(picker, "cmdSearch");
    auto* grid = picker.findChild<QTableView*>("myGrid");
    ASSERT_EQ(grid->model()->rowCount(), 1);
    grid->selectRow(0);
    click(picker, "cmdOK");
}

TEST(OptionsPagePickers, FindFillsBothBoxesCancelEmptiesThemAndEachKindHasOnePicker)
{
    OptionsPage run;
    ASSERT_TRUE(run.open());
    auto& handlers = sharedPicker<frmCallHandlerSearch>(run.context);
    auto& subscribers = sharedPicker<frmSubscriberSearch>(run.context);
    const auto box = [&](const char* name) { return run.child<QLineEdit>(name)->text(); };
    const auto find = [&](const char* button) { return [&run, button] { click(*run.page, button); }; };

    whileShown(handlers, [&] { pickOnly(handlers, "Operator", "optSearchByDisplayName"); }, find("cmdCallerInputFindCallHandler_15"));
    EXPECT_EQ(box("txtCallerInputGoToCallHandler_15"), "Operator");
    EXPECT_FALSE(box("txtCallerInputGoToCallHandlerObjectID_15").isEmpty());
    whileShown(handlers, [&] { click(handlers, "cmdCancel"); }, find("cmdCallerInputFindCallHandler_15"));
    EXPECT_EQ(box("txtCallerInputGoToCallHandler_15") + box("txtCallerInputGoToCallHandlerObjectID_15"), "");

    // The page's subscriber picker finds remote subscribers too, whatever another page set.
    const auto vpim = run.session.database.select("SELECT Alias, SubscriberObjectID FROM Subscriber WHERE SubscriberType = 8").rows;
    ASSERT_FALSE(vpim.isEmpty());
    subscribers.bShowRemoteSubscribers = false;
    whileShown(subscribers, [&] { pickOnly(subscribers, vpim[0][0].toString(), "optSearchByAlias"); },
               find("cmdCallerInputFindSubscriber_0"));
    EXPECT_EQ(box("txtCallerInputGoToSubscriberObjectID_0"), vpim[0][1].toString());
    EXPECT_EQ(run.shown, QStringList());
}

TEST(OptionsPageGreetings, SourceListShowsTheFileControlsAndBrowseTakesAnExistingWavFile)
{
    OptionsPage run;
    ASSERT_TRUE(run.open());
    QTemporaryDir folder;
    const QString hello = folder.filePath("hello.wav");
    ASSERT_TRUE(QFile(hello).open(QIODevice::WriteOnly));
    auto* source = run.child<QComboBox>("comGreetingSource_2");
    auto* browse = run.child<QPushButton>("cmdGreetingsourceWAVSelect_2");
    auto* path = run.child<QLineEdit>("txtGreetingSourcePath_2");
    path->setText("left over");
    source->setCurrentIndex(2);   // "Recording"
    EXPECT_TRUE(browse->isEnabled() && !path->isHidden() && path->text().isEmpty());
    // Chosen, then cancelled, then a name that is no file: the dialog closes without a word.
    for (const QString& file : {hello, QString(), folder.filePath("nosuch.wav")}) {
        withFileDialog([&](QFileDialog& dialog) {
            EXPECT_EQ(QStringList({dialog.windowTitle(), dialog.nameFilters().join(""), dialog.defaultSuffix()}),
                      QStringList({"Select WAV file for greeting", "*.wav", ""}));
            dialog.findChild<QLineEdit*>("fileNameEdit")->setText(file);   // as typed
            QDialog& modal = dialog;   // accept() is protected on QFileDialog
            file.isEmpty() ? modal.reject() : modal.accept();
        }, [&] { click(*run.page, "cmdGreetingsourceWAVSelect_2"); });
        EXPECT_EQ(path->text(), hello);
    }
    EXPECT_EQ(run.shown, QStringList());
    chooseInDropDown(*source, 2);   // "Recording" again
    EXPECT_TRUE(browse->isEnabled() && !path->isHidden() && path->text().isEmpty());
    source->setCurrentIndex(3);   // "Blank"
    EXPECT_TRUE(!browse->isEnabled() && path->isHidden() && path->text().isEmpty());
}

TEST(OptionsPageGreetings, AlternateGreetingChoiceWarnsWhileTheServerSendsNotices)
{
    const QString warning = resources::englishString(492);
    const struct { int greeting, position, notices; QStringList shown; } cases[] = {
        {3, 2, 1, {warning}}, {3, 1, 7, {warning}}, {3, 0, 1, {}}, {3, 2, 0, {}}, {3, 1, -1, {}}, {1, 2, 1, {}},
    };
    OptionsPage run;
    ASSERT_TRUE(run.open());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.notices);
        run.session.registry.SetRegValue(HKEY_LOCAL_MACHINE, VelmoKeys::SystemParametersKey,
                                         "EnabledAlternateGreetingNotice", REG_DWORD, c.notices);
        run.shown.clear();
        run.child<QComboBox>(elementName("comGreetingEnabled", c.greeting))->setCurrentIndex(c.position);
        EXPECT_EQ(run.shown, c.shown);
    }
    run.shown.clear();
    for (int click = 0; click < 2; ++click)   // "TRUE", then "TRUE" again
        chooseInDropDown(*run.child<QComboBox>("comGreetingEnabled_3"), 1);
    EXPECT_EQ(run.shown, QStringList({warning, warning}));
}

TEST(OptionsPageSchedules, ScheduleButtonFillsItsOwnDevicesBox)
{
    OptionsPage run;
    ASSERT_TRUE(run.open());
    run.child<QPushButton>("cmdSetNotificationSchedule_5")->setEnabled(true);   // as its update box does
    frmSetNotificationSchedule& dialog = *frmSetNotificationSchedule::instance(run.page);
    whileShown(dialog, [&] {
        dialog.findChild<QTableWidget*>("grdSchedule")->item(1, 1)->setCheckState(Qt::Checked);   // Sunday 00:00
        click(dialog, "cmdExit");
    }, [&] { click(*run.page, "cmdSetNotificationSchedule_5"); });
    EXPECT_EQ(run.child<QLineEdit>("txtNotificationSchedule_5")->text(), "4000000030");
}

TEST(OptionsPageExtensionTests, EachTestTriesItsOwnTabsRulesAndKeepsTheResultWhenTheyFail)
{
    // The sample, its tab's rules (operation and value), the result ("earlier": the box kept its text), messages.
    const struct { QString sample; QList<std::pair<int, QString>> rules; QString result; QStringList shown; } cases[] = {
        {"12", {{4, "9"}, {5, "00"}}, "91200", {}},
        {"0123", {{6, "1"}}, "124", {}},
        {"12345", {{2, " 5"}}, "earlier", {resources::englishString(318)}},
        {"", {{6, "1"}}, "earlier", {resources::englishString(210)}},
    };
    const struct { const ExtensionTabRules &own, &other; const char *sample, *result, *test; } tabs[] = {
        {kPrimaryExtensionRules, kAlternateExtensionRules, "txtSubscriberExtensionTestNumber", "txtSubscriberExtensionTestResult",
         "cmdSubscriberExtensionTest"},
        {kAlternateExtensionRules, kPrimaryExtensionRules, "txtAltExtTestExtension", "txtAltExtTestExtensionResult", "cmdAltExtTest"}};
    for (const auto& c : cases)
        for (const auto& tab : tabs) {
            SCOPED_TRACE(c.sample.toStdString() + " " + tab.test);
            OptionsPage run;
            ASSERT_TRUE(run.open());
            const auto choose = [&](const ExtensionRuleControls& rule, const QString& value) {
                run.child<QCheckBox>(rule.check)->setChecked(true);
                run.child<QLineEdit>(rule.value)->setText(value);
            };
            choose(tab.other[7], "999999");   // would fail every sample here
            for (const auto& [rule, value] : c.rules)
                choose(tab.own[rule], value);
            run.child<QLineEdit>(tab.sample)->setText(c.sample);
            run.child<QLineEdit>(tab.result)->setText("earlier");
            click(*run.page, tab.test);
            EXPECT_EQ(run.child<QLineEdit>(tab.result)->text(), c.result);
            EXPECT_EQ(run.shown, c.shown);
        }
}

TEST(OptionsPageExtensionTests, SpinControlsCountFromOneToTen)
{
    OptionsPage run;
    ASSERT_TRUE(run.open());
    for (const ExtensionTabRules* rules : {&kPrimaryExtensionRules, &kAlternateExtensionRules})
        for (int rule = 0; rule < 4; ++rule) {
            auto* count = run.child<QLineEdit>((*rules)[rule].value);
            auto* spin = count->parentWidget()->findChild<QScrollBar*>();   // beside its count box
            SCOPED_TRACE(spin->objectName().toStdString());
            QStringList counts{count->text()};   // at first, one step down, 12 more down, 12 up
            for (const auto& [arrow, times] : {std::pair{QAbstractSlider::SliderSingleStepSub, 1}, {QAbstractSlider::SliderSingleStepSub, 12},
                                               {QAbstractSlider::SliderSingleStepAdd, 12}}) {
                for (int i = 0; i < times; ++i)
                    spin->triggerAction(arrow);
                counts << count->text();
            }
            EXPECT_EQ(counts, QStringList({"1", " 2", " 10", " 1"}));
        }
}

}  // namespace
