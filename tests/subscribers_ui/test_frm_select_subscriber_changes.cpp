// The subscriber options page as a whole: its frame of fourteen tabs, the caption routine and its
// version gates, the first list steps, the way in and out of the page and its snapshot.
#include "OptionsPageFixture.h"

#include "core/ui/OptionsCapture.h"
#include "core/ControlNames.h"
#include "core/ui/ControlValues.h"
#include "core/ui/TabFlags.h"
#include "core/ui/frmMain.h"
#include "resources/EnglishStrings.h"
#include "subscribers/ui/frmChooseSubscribers.h"
#include "tests/subscribers_ui/OptionsPageFixture.h"
#include "tests/support/widgets/PageHarness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The named controls of `root` outside its tab control `tabs`.
QStringList namedOutside(const QWidget& root, const QWidget& tabs)
{
    QStringList names;
    for (const QWidget* widget : root.findChildren<QWidget*>())
        if (isNamedControl(widget) && (widget == &tabs || !tabs.isAncestorOf(widget)))
            names << widget->objectName();
    names.sort();
    return names;
}

TEST(OptionsPageFrame, FourteenScrolledTabsBetweenTheHeadingAndTheWizardButtons)
{
    OptionsPage run;
    ASSERT_TRUE(run.open());
    const QTabWidget& tabs = run.tabMain();
    const int captions[] = {211, 22, 203, 103, 275, 148, 85, 186, 194, 134, 303, 304, 380, 452};
    ASSERT_EQ(tabs.count(), 14);
    for (int tab = 0; tab < tabs.count(); ++tab) {
        EXPECT_EQ(tabs.tabText(tab), resources::englishString(captions[tab])) << tab;
        const auto* scroller = qobject_cast<const QScrollArea*>(tabs.widget(tab));
        ASSERT_NE(scroller, nullptr) << tab;
        EXPECT_TRUE(scroller->widgetResizable());
        // Subscribers have no delivery location to change; the default server (4.0(3).12) has
        // no Features tab yet.
        EXPECT_EQ(TabFlags::versionFlag(&tabs, tab) && TabFlags::typeFlag(&tabs, tab), tab != 12 && tab != 13);
    }
    EXPECT_EQ(namedOutside(*run.page, tabs), QStringList({"cmdExit", "cmdHelp", "cmdNext", "cmdPrevious", "label11_43",
                                                          "label11_44", "tabMain"}));
    EXPECT_EQ(run.page->windowTitle(), "Kestrane - Select Subscriber Changes");
    EXPECT_EQ(run.child<QLabel>("label11_44")->text(), "Select Subscriber Changes");
    EXPECT_EQ(run.child<QLabel>("label11_43")->text(), resources::englishString(239));
    for (const auto& [button, caption] : {std::pair{"cmdHelp", "Help"}, {"cmdPrevious", "<< Previous"},
                                          {"cmdExit", "Exit"}, {"cmdNext", "Next >>"}})
        EXPECT_EQ(run.child<QPushButton>(button)->text(), caption);
    EXPECT_EQ(run.forms.find<frmSelectSubscriberChanges>(), run.page);
}

TEST(OptionsPageFrame, TheOpenFileDialogIsMadeWithItsSettings)
{
    OpenFileDialog settings{"Select WAV file for greeting", "WAV", "*.WAV", "*.WAV", QDir::tempPath()};
    QWidget owner;
    const std::unique_ptr<QFileDialog> dialog = settings.make(&owner);
    EXPECT_EQ(dialog->windowTitle(), "Select WAV file for greeting");
    EXPECT_EQ(dialog->defaultSuffix(), "WAV");
    EXPECT_EQ(dialog->nameFilters(), QStringList{"*.WAV"});
    EXPECT_EQ(dialog->fileMode(), QFileDialog::AnyFile);
    EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
    EXPECT_EQ(dialog->parentWidget(), &owner);
}

TEST(OptionsPageCaptions, TheLanguageSwitchRunsTheCaptionRoutineAgain)
{
    // A library whose every text is "[[number]]" shows where each caption came from.
    QTemporaryDir programFolder;
    QFile library(programFolder.filePath("kestrane_FRA.lang"));
    ASSERT_TRUE(library.open(QIODevice::WriteOnly));
    for (int number = resources::kFirstStringNumber; number <= resources::kLastStringNumber; ++number)
        library.write(QByteArray::number(number) + "\t[[" + QByteArray::number(number) + "]]\n");
    library.close();
    OptionsPage run(1, TempInstallation::smallOptions(), programFolder.path());
    ASSERT_TRUE(run.open());
    EXPECT_EQ(run.tabMain().tabText(0), "Profile");

    run.session.languages.lngLanguageID = 1036;
    run.session.languages.InitalizeLanguages();
    run.forms.runAutoInits();
    EXPECT_EQ(run.page->windowTitle(), "[[76]]");
    EXPECT_EQ(run.child<QLabel>("label11_44")->text(), "[[236]]");
    EXPECT_EQ(run.child<QLabel>("label11_43")->text(), "[[239]]");
    EXPECT_EQ(run.child<QPushButton>("cmdNext")->text(), "[[191]]");
    EXPECT_EQ(run.tabMain().tabText(0), "[[211]]");
    EXPECT_EQ(run.tabMain().tabText(13), "[[452]]");
}

TEST(OptionsPageLifecycle, TheSelectionPagesNextLoadsThePageOnceAndPreviousGoesBack)
{
    OptionsPage run;
    ASSERT_TRUE(run.start());
    auto* selection = qobject_cast<frmChooseSubscribers*>(run.context.subscriberSelectionPage());
    selection->move(120, 80);
    selection->show();
    click(*selection, "cmdView");

    for (int entry = 0; entry < 2; ++entry) {
        SCOPED_TRACE(entry);
        click(*selection, "cmdNext");
        ASSERT_TRUE(run.page);
        EXPECT_EQ(run.pagesCreated, 1);
        EXPECT_TRUE(run.page->isVisible());
        EXPECT_TRUE(selection->isHidden());
        EXPECT_EQ(run.page->pos(), selection->pos());

        run.page->move(160, 100);
        click(*run.page, "cmdPrevious");
        EXPECT_TRUE(run.page->isHidden());
        EXPECT_TRUE(selection->isVisible());
        EXPECT_EQ(selection->pos(), QPoint(160, 100));
    }
    EXPECT_EQ(run.selection, selection);   // Previous does not reload the selection page
}

TEST(OptionsPageLifecycle, ExitAndTheTitleBarCloseEndTheToolWithoutAQuestion)
{
    for (const char* how : {"cmdExit", "close"}) {
        SCOPED_TRACE(how);
        OptionsPage run;
        ASSERT_TRUE(run.open());
        const qsizetype messagesBefore = run.shown.size();
        if (QLatin1String(how) == "close")
            run.page->close();
        else
            click(*run.page, how);
        EXPECT_TRUE(run.context.exiting);
        EXPECT_EQ(run.endedWith, 0);
        EXPECT_EQ(run.shown.size(), messagesBefore);
        EXPECT_TRUE(run.page->isHidden());
    }
}

TEST(OptionsPageLifecycle, HelpOpensTheHelpDocumentOfTheLanguage)
{
    OptionsPage run;
    ASSERT_TRUE(run.open());
    QStringList opened;
    run.context.help = std::make_shared<HelpFiles>(run.messages.sink(), [&](const QString& file) {
        opened << file;
        return HelpFiles::Launch{};
    });
    const qsizetype messagesBefore = run.shown.size();
    click(*run.page, "cmdHelp");
    // The document of the run's language: opened, or named in the message that it is missing.
    const QString document = getHelpFileName("ENU");
    if (opened.isEmpty()) {
        ASSERT_EQ(run.shown.size(), messagesBefore + 1);
        EXPECT_TRUE(run.shown.last().contains(document)) << run.shown.last().toStdString();
    } else {
        EXPECT_EQ(opened, QStringList{document});
    }
}

TEST(OptionsPageNext, WithoutAFaultShowsTheEnginePageInItsPlaceOnceThereIsOne)
{
    OptionsPage run;
    ASSERT_TRUE(run.open());
    run.page->move(200, 40);
    const OptionsSnapshot before = run.page->snapshot();
    const qsizetype messagesBefore = run.shown.size();

    click(*run.page, "cmdNext");   // no engine page in this build: Next stops after its checks
    EXPECT_TRUE(run.page->isVisible());

    QWidget engine;
    int enginePages = 0;
    run.context.subscriberEnginePage = [&](QWidget* optionsPage) {
        EXPECT_EQ(optionsPage, run.page.get());
        ++enginePages;
        return &engine;
    };
    click(*run.page, "cmdNext");
    EXPECT_EQ(enginePages, 1);
    EXPECT_TRUE(engine.isVisible());
    EXPECT_EQ(engine.pos(), QPoint(200, 40));
    EXPECT_TRUE(run.page->isHidden());
    EXPECT_EQ(run.shown.size(), messagesBefore);

    // The engine page's Previous shows this page again as it was left.
    run.page->show();
    const OptionsSnapshot after = run.page->snapshot();
    for (const QString name : {"tabMain", "cmdNext", "label11_43"}) {
        EXPECT_EQ(after.control(name).text, before.control(name).text);
        EXPECT_EQ(after.control(name).visible, before.control(name).visible);
    }
}

TEST(OptionsPageSnapshot, RecordsEveryNamedControlAndTheTabFlags)
{
    OptionsPage run(1, TempInstallation::smallServer(5, 0, 0, 10));   // a server with every main tab
    ASSERT_TRUE(run.open());
    QTabWidget& tabs = run.tabMain();
    TabFlags::setTypeFlag(&tabs, 1, false);
    TabFlags::setVersionFlag(&tabs, 12, false);
    const OptionsSnapshot snapshot = run.page->snapshot();

    EXPECT_EQ(snapshot.formName(), "frmSelectSubscriberChanges");
    int named = 0;
    for (const QWidget* widget : run.page->findChildren<QWidget*>())
        if (isNamedControl(widget)) {
            EXPECT_NO_THROW(snapshot.control(widget->objectName())) << widget->objectName().toStdString();
            ++named;
        }
    EXPECT_GE(named, 7);
    EXPECT_THROW(snapshot.control("cmbNoSuchControl"), OptionsSnapshot::UnknownName);

    const QList<TabState>& flags = snapshot.control("tabMain").tabs;
    ASSERT_EQ(flags.size(), 14);
    for (int tab = 0; tab < 14; ++tab) {
        SCOPED_TRACE(tab);
        EXPECT_EQ(flags[tab].typeFlag, tab != 1);
        EXPECT_EQ(flags[tab].versionFlag, tab != 12);
        EXPECT_EQ(flags[tab].enabled, tab != 1 && tab != 12);
    }
}


// What the caption routine's version gates leave, per server version.
struct GateCase {
    int major, minor, release, build;
    bool certificateHistory;
    bool prompts;          // the greetings' record prompts and the first rules' wait prompts
    bool sendOptions;      // hang-up and address-then-record rows, Limit List
    bool encryptionRow;    // the encryption row shown ...
    bool encryptionOpen;   // ... and enabled
    bool nameSuggest;
};

class OptionsPageGates : public ::testing::TestWithParam<GateCase> {};

TEST_P(OptionsPageGates, ShowHideAndFillTheVersionDependentRows)
{
    const GateCase& gate = GetParam();
    velmo::InstallationOptions options = TempInstallation::smallServer(gate.major, gate.minor, gate.release, gate.build);
    options.certificateHistory = gate.certificateHistory;
    OptionsPage run(1, options);
    ASSERT_TRUE(run.open());
    const OptionsSnapshot snapshot = run.page->snapshot();
    const auto shown = [&](const QString& name) { return snapshot.control(name).visible; };
    const auto text = [&](const QString& name) { return snapshot.control(name).text; };
    const auto items = [&](const QString& name) { return snapshot.control(name).items.size(); };

    for (int greeting = 0; greeting < 6; ++greeting) {
        const QString label = elementName("label11", 20 + greeting);
        EXPECT_EQ(shown(label), gate.prompts) << label.toStdString();
        if (gate.prompts) {
            EXPECT_EQ(text(label), "Play 'Record your message...' prompt:");
        }
    }
    for (int label : {7, 8, 16}) {
        EXPECT_EQ(shown(elementName("Label10", label)), gate.prompts) << label;
        if (gate.prompts) {
            EXPECT_EQ(text(elementName("Label10", label)), "Play 'Wait while I transfer...' prompt:");
        }
    }
    for (int label : {35, 36, 45}) {
        EXPECT_TRUE(shown(elementName("Label10", label)));
        EXPECT_EQ(text(elementName("Label10", label)),
                  gate.prompts ? "Play 'Wait while I transfer...' prompt:" : "Play 'please wait' prompt:");
    }

    // The receipt row is hidden on every version; its list is filled all the same.
    EXPECT_FALSE(shown("Label9_47"));
    EXPECT_FALSE(shown("comConversationReceiptOptions"));
    const QList<ListItem> receipts{{"<Don't Change>", {}, 20}, {"Include all receipts", {}, 528},
                                   {"Exclude all receipts", {}, 529}, {"Exclude only read receipts", {}, 530}};
    EXPECT_EQ(snapshot.control("comConversationReceiptOptions").items, receipts);
    EXPECT_EQ(snapshot.control("comConversationReceiptOptions").currentIndex, 0);

    for (const char* row : {"Label9_48", "Label9_50", "cmbConversationSendOnHangup", "cmbConversationAddressThenRecord"})
        EXPECT_EQ(shown(row), gate.sendOptions) << row;
    for (const char* list : {"cmbConversationSendOnHangup", "cmbConversationAddressThenRecord"})
        EXPECT_EQ(items(list), gate.sendOptions ? 3 : 0) << list;
    EXPECT_EQ(snapshot.control("cmdSetSubscriberConversationLimits").enabled, gate.sendOptions);
    EXPECT_EQ(text("cmdSetSubscriberConversationLimits"), "Limit List");

    EXPECT_EQ(shown("Label9_49"), gate.encryptionRow);
    EXPECT_EQ(shown("cmbConversationSendEncryptAllPrivate"), gate.encryptionRow);
    EXPECT_EQ(items("cmbConversationSendEncryptAllPrivate"), gate.encryptionRow ? 3 : 0);
    if (gate.encryptionRow) {
        EXPECT_EQ(snapshot.control("cmbConversationSendEncryptAllPrivate").enabled, gate.encryptionOpen);
    }

    EXPECT_EQ(shown("Label9_55"), gate.nameSuggest);
    EXPECT_EQ(shown("cmbConversationConstantLookup"), gate.nameSuggest);
    EXPECT_EQ(items("cmbConversationConstantLookup"), gate.nameSuggest ? 3 : 0);
    if (gate.nameSuggest) {
        EXPECT_EQ(text("Label9_55"), "Perform Name Suggest on spelled names:");
    }
    EXPECT_TRUE(run.shown.isEmpty()) << run.shown.join("\n").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    ServerVersions, OptionsPageGates,
    ::testing::Values(GateCase{4, 0, 3, 12, true, false, false, false, false, false},
                      GateCase{4, 1, 0, 0, false, true, false, false, false, false},
                      GateCase{5, 0, 0, 19, true, true, false, false, false, false},
                      GateCase{5, 0, 0, 20, false, true, true, true, false, false},
                      GateCase{5, 0, 0, 20, true, true, true, true, true, false},
                      GateCase{5, 0, 1, 0, true, true, true, false, false, false},
                      GateCase{7, 0, 0, 110, true, true, true, false, false, false},
                      GateCase{7, 0, 0, 111, false, true, true, false, false, true}),
    [](const ::testing::TestParamInfo<GateCase>& info) {
        const GateCase& gate = info.param;
        return QString("v%1_%2_%3_%4%5").arg(gate.major).arg(gate.minor).arg(gate.release).arg(gate.build)
            .arg(gate.certificateHistory ? "_certificates" : "").toStdString();
    });

// What the first list steps leave, per server version.
struct FillCase {
    int major, minor, release, build;
    bool styleRow;           // comProfileConversationStyle and its label shown
    int styles;              // items of comProfileConversationStyle
    bool promptSpeed;        // comConversationSpeed shown and filled
    bool messageSpeedFilled;
    bool messageSpeedShown;
    bool loginShortcuts;     // the known-extension and new-messages rows
    bool switchAssignment;   // cmbSubscriberProfileSwitchAssignment enabled
};

class OptionsPageFill : public ::testing::TestWithParam<FillCase> {};

TEST_P(OptionsPageFill, TheFirstStepsFollowTheServerVersion)
{
    const FillCase& fill = GetParam();
    OptionsPage run(1, TempInstallation::smallServer(fill.major, fill.minor, fill.release, fill.build));
    ASSERT_TRUE(run.open());
    const OptionsSnapshot snapshot = run.page->snapshot();
    const auto shown = [&](const char* name) { return snapshot.control(name).visible; };

    EXPECT_EQ(shown("comProfileConversationStyle"), fill.styleRow);
    EXPECT_EQ(shown("Label9_22"), fill.styleRow);
    const ControlState& styles = snapshot.control("comProfileConversationStyle");
    ASSERT_EQ(styles.items.size(), fill.styles);
    EXPECT_EQ(styles.currentIndex, 0);
    if (fill.styles == 10) {
        EXPECT_EQ(styles.items[8].text, "Custom Keypad Mapping 2");
        EXPECT_EQ(styles.items[9].text, "Custom Keypad Mapping 3");
    }

    EXPECT_EQ(shown("comConversationSpeed"), fill.promptSpeed);
    EXPECT_EQ(shown("Label9_11"), fill.promptSpeed);
    for (const char* list : {"comConversationSpeed", "comConversationMessageSpeed"}) {
        SCOPED_TRACE(list);
        const bool filled = QLatin1String(list) == "comConversationSpeed" ? fill.promptSpeed : fill.messageSpeedFilled;
        const ControlState& speeds = snapshot.control(list);
        ASSERT_EQ(speeds.items.size(), filled ? 17 : 0);
        if (filled) {
            EXPECT_EQ(speeds.currentIndex, 10);
            EXPECT_EQ(speeds.current, (ListItem{"<Don't Change>", {}, 20}));
            EXPECT_EQ(speeds.items[0].text, "100% faster");
            EXPECT_EQ(speeds.items[11].text, "normal");
            EXPECT_EQ(speeds.items[16].text, "50% slower");
        }
    }
    for (const char* row : {"comConversationMessageSpeed", "Label9_32", "Label9_33", "cmbConversationOptions_3"})
        EXPECT_EQ(shown(row), fill.messageSpeedShown) << row;

    for (const char* row : {"Label9_20", "Label9_21", "comConversationSkipPWForKnownDevice", "comConversationJumpToNewMessages"})
        EXPECT_EQ(shown(row), fill.loginShortcuts) << row;
    if (fill.loginShortcuts) {
        EXPECT_EQ(snapshot.control("Label9_20").text, "Play new messages after subscriber login:");
        EXPECT_EQ(snapshot.control("Label9_21").text, "Skip password entry when subscriber calls from a known extension:");
    }
    EXPECT_EQ(snapshot.control("cmbSubscriberProfileSwitchAssignment").enabled, fill.switchAssignment);
}

INSTANTIATE_TEST_SUITE_P(ServerVersions, OptionsPageFill,
                         ::testing::Values(FillCase{4, 0, 2, 65, false, 4, false, false, false, false, true},
                                           FillCase{4, 0, 4, 144, true, 8, false, false, false, false, true},
                                           FillCase{4, 0, 4, 145, true, 8, true, true, false, false, true},
                                           FillCase{4, 1, 0, 14, true, 8, true, true, false, true, true},
                                           FillCase{4, 1, 0, 27, true, 10, true, true, false, true, true},
                                           FillCase{4, 2, 0, 1, true, 10, true, true, false, true, false},
                                           FillCase{4, 2, 0, 38, true, 10, true, true, false, true, false},
                                           FillCase{4, 2, 0, 39, true, 10, true, true, true, true, false}),
                         [](const ::testing::TestParamInfo<FillCase>& info) {
                             const FillCase& fill = info.param;
                             return QString("v%1_%2_%3_%4").arg(fill.major).arg(fill.minor).arg(fill.release).arg(fill.build)
                                 .toStdString();
                         });

TEST(OptionsPageFill, FixedListsRestrictedRightsAndARepeatedRun)
{
    velmo::InstallationOptions options = TempInstallation::smallOptions();
    options.restrictedRights = true;
    OptionsPage run(1, options);
    ASSERT_TRUE(run.open());
    ASSERT_TRUE(run.session.bRestrictedRights);
    const OptionsSnapshot first = run.page->snapshot();

    const QList<ListItem> timeFormats{{"<Don't Change>", {}, 20}, {"System default", {}, 449},
                                      {"12 hour clock", {}, 450}, {"24 hour clock", {}, 451}};
    EXPECT_EQ(first.control("comProfileTimeFormat").items, timeFormats);
    for (const ListItem& item : timeFormats)
        EXPECT_EQ(item.data.toInt(), 0);   // no item data: reads 0
    EXPECT_EQ(itemTexts(first.control("comProfileForceDisplayName")),
              QStringList({"<Don't Change>", "First Name Last Name", "Last Name, First Name"}));
    const ControlState& language = first.control("cmbSubscriberProfileDefaultLanguage");
    ASSERT_GE(language.items.size(), 1);
    EXPECT_EQ(language.items[0].text, "<Don't Change>");
    EXPECT_EQ(language.items[0].data, QVariant(0));
    EXPECT_TRUE(language.enabled);
    for (const char* list : {"comProfileForceDisplayName", "comProfileShowInAddressBook"})
        EXPECT_FALSE(first.control(list).enabled) << list;
    EXPECT_EQ(first.control("comProfileForceDisplayName").currentIndex, 0);
    for (int device = 0; device <= 10; ++device)
        EXPECT_TRUE(first.control("comNotificationSwitchID", device).enabled) << device;

    // A second run (every entry from the selection page) leaves the lists as one run does.
    auto* timeFormat = run.child<QComboBox>("comProfileTimeFormat");
    timeFormat->setCurrentIndex(2);
    run.page->PopulateControls();
    const OptionsSnapshot second = run.page->snapshot();
    for (const QString name : {"comProfileTimeFormat", "comProfileForceDisplayName", "comProfileConversationStyle",
                               "cmbSubscriberProfileDefaultLanguage", "comConversationSpeed", "comConversationReceiptOptions"}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(second.control(name).items, first.control(name).items);
        EXPECT_EQ(second.control(name).currentIndex, first.control(name).currentIndex);
        EXPECT_EQ(second.control(name).visible, first.control(name).visible);
        EXPECT_EQ(second.control(name).enabled, first.control(name).enabled);
    }
    EXPECT_TRUE(run.shown.isEmpty()) << run.shown.join("\n").toStdString();
}

// Servers, kinds and connectors on which a second run must leave every control as the first did.
struct RepeatCase {
    const char* name;
    int major, minor, release, build;
    qint16 kind;
    velmo::DirectoryConnector connector;
    bool special8;
};

class OptionsPageRepeat : public ::testing::TestWithParam<RepeatCase> {};

TEST_P(OptionsPageRepeat, ASecondRunLeavesEveryControlAsTheFirstLeftIt)
{
    const RepeatCase& repeat = GetParam();
    velmo::InstallationOptions options = TempInstallation::smallServer(repeat.major, repeat.minor, repeat.release, repeat.build);
    options.connector = repeat.connector;
    if (repeat.special8)
        options.engineeringSpecials = {8};
    OptionsPage run(repeat.kind, options);
    ASSERT_TRUE(run.open());
    const OptionsSnapshot first = captureOptions(run.page);
    run.page->PopulateControls();
    const OptionsSnapshot second = captureOptions(run.page);
    int lists = 0;
    for (const QWidget* widget : run.page->findChildren<const QWidget*>()) {
        if (!isNamedControl(widget))
            continue;
        const QString name = widget->objectName();
        SCOPED_TRACE(name.toStdString());
        const ControlState& once = first.control(name);
        const ControlState& twice = second.control(name);
        EXPECT_EQ(twice.items, once.items);
        EXPECT_EQ(twice.currentIndex, once.currentIndex);
        EXPECT_EQ(twice.text, once.text);
        EXPECT_EQ(twice.visible, once.visible);
        EXPECT_EQ(twice.enabled, once.enabled);
        EXPECT_EQ(twice.tabs, once.tabs);
        lists += once.items.isEmpty() ? 0 : 1;
    }
    EXPECT_GT(lists, 190);   // the page's lists were filled at all
    EXPECT_TRUE(run.shown.isEmpty()) << run.shown.join("\n").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Installations, OptionsPageRepeat,
    ::testing::Values(RepeatCase{"Newest_Kind1", 7, 0, 0, 111, 1, velmo::DirectoryConnector::ActiveDirectory, false},
                      RepeatCase{"V4_0_3_59_Kind7_Domino", 4, 0, 3, 59, 7, velmo::DirectoryConnector::Domino, false},
                      RepeatCase{"V4_3_0_8_Kind5_Special8", 4, 3, 0, 8, 5, velmo::DirectoryConnector::Exchange55, true},
                      RepeatCase{"V5_0_0_10_Kind2", 5, 0, 0, 10, 2, velmo::DirectoryConnector::ActiveDirectory, false}),
    [](const ::testing::TestParamInfo<RepeatCase>& info) { return std::string(info.param.name); });

TEST(OptionsPageFill, AFailingStatementCostsOneMessageAndTheStepsAfterItStillRun)
{
    OptionsPage run;
    ASSERT_TRUE(run.open());
    run.child<QComboBox>("comProfileConversationStyle")->clear();
    delete run.child<QComboBox>("comProfileTimeFormat");

    run.page->PopulateControls();
    ASSERT_EQ(run.shown.size(), 1);
    EXPECT_EQ(run.shown[0], "An error has occured in the Select Subscriber Changes PopulateControls rutine!  "
                            "Description=Object required (comProfileTimeFormat) Number= 424");
    EXPECT_EQ(run.child<QComboBox>("comProfileConversationStyle")->count(), 4);
}

// A destination chosen without a name: group, the kind's option button and name box.
struct Fault {
    int group;
    const char* option;
};

struct NextCase {
    const char* what;
    std::vector<Fault> faults;
    std::vector<int> greetingsToRecord;   // Browse enabled, no path
    int message;                          // -1: Next passes
};

class OptionsPageNextChecks : public ::testing::TestWithParam<NextCase> {};

TEST_P(OptionsPageNextChecks, ReportTheFirstFaultOnlyAndChangeNothing)
{
    const NextCase& next = GetParam();
    OptionsPage run;
    ASSERT_TRUE(run.open());
    QWidget engine;
    run.context.subscriberEnginePage = [&](QWidget*) { return &engine; };
    // No fault: a name box with text under an unselected kind, and the take-action choice.
    run.child<QLineEdit>("txtCallerInputGoToSubscriber_2")->setText("Ann Example");
    run.child<QRadioButton>("optCallerInputTakeAction_5")->setChecked(true);
    for (const Fault& fault : next.faults)
        run.child<QRadioButton>(elementName(fault.option, fault.group))->setChecked(true);
    for (int greeting : next.greetingsToRecord)
        run.child<QPushButton>(elementName("cmdGreetingsourceWAVSelect", greeting))->setEnabled(true);
    const OptionsSnapshot before = run.page->snapshot();

    click(*run.page, "cmdNext");
    if (next.message < 0) {
        EXPECT_TRUE(run.shown.isEmpty()) << run.shown.join("\n").toStdString();
        EXPECT_TRUE(run.page->isHidden());
        EXPECT_TRUE(engine.isVisible());
        return;
    }
    EXPECT_EQ(run.shown, QStringList{run.session.languages.mymyLoadString(next.message)});
    EXPECT_TRUE(run.page->isVisible());
    EXPECT_FALSE(engine.isVisible());
    const OptionsSnapshot after = run.page->snapshot();
    for (const Fault& fault : next.faults)
        EXPECT_TRUE(after.control(fault.option, fault.group).selected);
    EXPECT_EQ(after.control("tabMain").currentIndex, before.control("tabMain").currentIndex);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, OptionsPageNextChecks,
    ::testing::Values(
        NextCase{"nothing", {}, {}, -1},
        NextCase{"key", {{3, "optCallerInputGoToSubscriber"}}, {}, 337},
        NextCase{"star key", {{10, "optCallerInputGoToDirectoryHandler"}}, {}, 337},
        NextCase{"after message", {{12, "optCallerInputGoToSubscriber"}}, {}, 338},
        NextCase{"after greeting", {{15, "optCallerInputGoToCallHandler"}}, {}, 339},
        NextCase{"exit", {{19, "optCallerInputgoToInterviewHandler"}}, {}, 340},
        NextCase{"first group only", {{16, "optCallerInputGoToCallHandler"}, {7, "optCallerInputGoToSubscriber"}}, {}, 337},
        NextCase{"caller input before greetings", {{18, "optCallerInputGoToSubscriber"}}, {4}, 339},
        NextCase{"greeting to record", {}, {4}, 457}),
    [](const ::testing::TestParamInfo<NextCase>& info) {
        QString name = QString::fromLatin1(info.param.what);
        name.replace(' ', '_');
        return name.toStdString();
    });

TEST(OptionsPageNext, AGreetingToRecordPassesOnceItHasAFile)
{
    OptionsPage run;
    ASSERT_TRUE(run.open());
    for (int greeting = 0; greeting < 6; ++greeting)
        EXPECT_FALSE(run.child<QPushButton>(elementName("cmdGreetingsourceWAVSelect", greeting))->isEnabled());
    run.child<QPushButton>("cmdGreetingsourceWAVSelect_4")->setEnabled(true);
    run.child<QLineEdit>("txtGreetingSourcePath_4")->setText("/tmp/internal.wav");
    run.child<QRadioButton>("optCallerInputGoToSubscriber_12")->setChecked(true);
    run.child<QLineEdit>("txtCallerInputGoToSubscriber_12")->setText("Ann Example");
    QWidget engine;
    run.context.subscriberEnginePage = [&](QWidget*) { return &engine; };
    click(*run.page, "cmdNext");
    EXPECT_TRUE(run.shown.isEmpty());
    EXPECT_TRUE(engine.isVisible());
}

TEST(OptionsPageLifecycle, TheFirstFocusFollowsTheKindBeingEdited)
{
    for (const qint16 kind : {1, 2, 5, 7, 8, 9}) {
        SCOPED_TRACE(kind);
        OptionsPage run(kind);
        ASSERT_TRUE(run.open());
        EXPECT_EQ(focusedName(*run.page), kind == 1 ? "comProfileSubscriberEnrollment" : "comProfileDirList");
    }
}

TEST(OptionsPageLifecycle, AnEntryFromTheSelectionPageRefillsTheListsAndKeepsTheDestinations)
{
    OptionsPage run;
    ASSERT_TRUE(run.start());
    auto* selection = qobject_cast<frmChooseSubscribers*>(run.context.subscriberSelectionPage());
    selection->show();
    click(*selection, "cmdView");
    click(*selection, "cmdNext");
    ASSERT_TRUE(run.page);
    EXPECT_TRUE(run.shown.isEmpty()) << run.shown.join("\n").toStdString();
    run.child<QComboBox>("comProfileTimeFormat")->setCurrentIndex(3);
    run.child<QRadioButton>("optCallerInputGoToSubscriber_3")->setChecked(true);
    run.child<QLineEdit>("txtCallerInputGoToSubscriber_3")->setText("Ann Example");

    click(*run.page, "cmdPrevious");
    click(*selection, "cmdNext");
    EXPECT_EQ(run.child<QComboBox>("comProfileTimeFormat")->currentIndex(), 0);
    EXPECT_TRUE(run.child<QRadioButton>("optCallerInputGoToSubscriber_3")->isChecked());
    EXPECT_EQ(run.child<QLineEdit>("txtCallerInputGoToSubscriber_3")->text(), "Ann Example");
}

TEST(OptionsPageFrame, EachTabHoldsItsControlsUnderNamesUsedOnce)
{
    OptionsPage run;
    ASSERT_TRUE(run.open());
    const QTabWidget& tabs = run.tabMain();
    // Array elements, labels, frames and inner tab controls of each tab (tab pages not counted).
    const int counts[] = {23, 5, 12, 116, 166, 240, 348, 42, 259, 30, 34, 22, 3, 17};
    QStringList all = namedOutside(*run.page, tabs);
    for (int tab = 0; tab < tabs.count(); ++tab) {
        QStringList names;
        for (const QWidget* widget : tabs.widget(tab)->findChildren<QWidget*>())
            if (isNamedControl(widget))
                names << widget->objectName();
        EXPECT_EQ(names.size(), counts[tab]) << "tab " << tab;
        all += names;
    }
    EXPECT_EQ(all.size(), 1324);   // with CommonDialog1, which is no widget: 1,325
    all.removeDuplicates();
    EXPECT_EQ(all.size(), 1324) << "a name is used twice";
}

TEST(OptionsPageSnapshot, ReadsControlsOnTabsNotShownAsThePageSetThem)
{
    OptionsPage run;
    ASSERT_TRUE(run.open());
    ASSERT_EQ(run.tabMain().currentIndex(), 0);
    setCheckBoxValue(run.child<QCheckBox>("chkAccountUnlock"), CheckValue::Dimmed);
    run.child<QCheckBox>("chkAccountForceBillingIDBlank")->setChecked(true);
    const OptionsSnapshot snapshot = run.page->snapshot();
    EXPECT_EQ(snapshot.control("chkAccountUnlock").checkState, CheckValue::Dimmed);
    EXPECT_EQ(snapshot.control("chkAccountForceBillingIDBlank").checkState, CheckValue::Ticked);
    for (const char* onHiddenTab : {"chkAccountUnlock", "txtAccountBillingID", "tabGreetings", "cmdExit"}) {
        EXPECT_TRUE(snapshot.control(onHiddenTab).visible) << onHiddenTab;
        EXPECT_TRUE(snapshot.control(onHiddenTab).enabled) << onHiddenTab;
    }
    EXPECT_FALSE(snapshot.control("txtGreetingSourcePath_0").visible);   // hidden by the page itself
}

}  // namespace
