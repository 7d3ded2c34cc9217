// The subscriber options page as a whole: its frame of fourteen tabs, the caption routine and its
// version gates, the first list steps, the way in and out of the page and its snapshot.
#include "subscribers/ui/frmSelectSubscriberChanges.h"

#include "core/ui/OptionsCapture.h"
#include "core/ui/TabFlags.h"
#include "core/ui/frmMain.h"
#include "resources/EnglishStrings.h"
#include "subscribers/ui/frmChooseSubscribers.h"
#include "tests/support/widgets/PageHarness.h"

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A started run of the given kind and installation, and the options page loaded on it.
class OptionsPage : public WizardRun {
public:
    explicit OptionsPage(qint16 kind = 1, const velmo::InstallationOptions& options = TempInstallation::smallOptions(),
                         const QString& programFolder = QCoreApplication::applicationDirPath())
        : WizardRun(options, {}, programFolder)
    {
        context.state.iSelectedSubscriberType = kind;
        context.subscriberOptionsPage = [this]() -> QWidget* {
            if (!page) {
                page = new frmSelectSubscriberChanges(context);
                ++pagesCreated;
            }
            return page;
        };
        context.subscriberSelectionPage = [this]() -> QWidget* {
            if (!selection)
                selection = new frmChooseSubscribers(context);
            return selection;
        };
    }
    ~OptionsPage()
    {
        delete page.data();
        delete selection.data();
    }

    // Starts the run and loads the page directly (as the selection page's first Next does).
    ::testing::AssertionResult open()
    {
        const ::testing::AssertionResult started = start();
        if (started)
            context.subscriberOptionsPage();
        return started;
    }

    template <typename Widget = QWidget>
    Widget* child(const QString& name) const
    {
        return findByName<Widget>(*page, name);
    }
    QTabWidget& tabMain() const { return *child<QTabWidget>("tabMain"); }

    QPointer<frmSelectSubscriberChanges> page;
    QPointer<frmChooseSubscribers> selection;
    int pagesCreated = 0;
};

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
        EXPECT_TRUE(TabFlags::versionFlag(&tabs, tab) && TabFlags::typeFlag(&tabs, tab));
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
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
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
    OptionsPage run;
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

}  // namespace
