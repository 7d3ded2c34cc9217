#include "tests/support/widgets/PageHarness.h"

#include "core/Database.h"
#include "core/Errors.h"
#include "core/RunLog.h"
#include "core/ui/frmMain.h"
#include "velmo/InstallationRegistry.h"
#include "velmo/ServerStandIns.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

MessageRecorder::MessageRecorder(MessageBoxService& service)
{
    service.setAnswerer([this](const MessageBoxService::Request& request) {
        shown << request.text;
        requests << request;
        return m_answer;
    });
}

WizardRun::WizardRun(const velmo::InstallationOptions& options, QStringList arguments, const QString& programFolder)
    : installation(options), session(installation.installation(), programFolder, QStringLiteral("kestrane")),
      context{session, messages, forms, std::move(arguments)}
{
    EXPECT_TRUE(installation.ok()) << installation.error().toStdString();
    velmo::registerServerStandIns(session);
    context.endProgram = [this](int code) { endedWith = code; };
}

WizardRun::~WizardRun() = default;

frmMain& WizardRun::startPage()
{
    if (!m_startPage)
        m_startPage = std::make_unique<frmMain>(context);
    return *m_startPage;
}

::testing::AssertionResult WizardRun::start()
{
    if (!installation.ok())
        return ::testing::AssertionFailure() << installation.error().toStdString();
    if (!startPage().Form_Load())
        return ::testing::AssertionFailure() << "start-up ended the tool: " << shown.join(u'|').toStdString();
    return ::testing::AssertionSuccess();
}

void WizardRun::sql(const QString& statement)
{
    const QString name = QStringLiteral("edit-%1").arg(quintptr(this));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(installation.installation().databaseFile());
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(statement)) << statement.toStdString() << ": " << query.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase(name);
}

void click(const QObject& root, const QString& name)
{
    if (auto* button = findByName<QAbstractButton>(root, name))
        button->click();
}

void expectNextWaitsForTheOptionsPage(QWidget& page, std::function<QWidget*()>& optionsPage)
{
    auto* next = findByName<QPushButton>(page, QStringLiteral("cmdNext"));
    const std::function<QWidget*()> kept = optionsPage;
    for (const bool throws : {false, true}) {
        SCOPED_TRACE(throws ? "the options page throws" : "no options page");
        int made = 0;
        optionsPage = [&]() -> QWidget* {
            ++made;
            EXPECT_EQ(page.cursor().shape(), Qt::WaitCursor);
            EXPECT_FALSE(next->isEnabled());
            if (throws)
                throw KestraneError(-1, QStringLiteral("no options page"));
            return nullptr;
        };
        try {
            emit next->clicked();   // the signal itself: the throw crosses no frame of the button's code
        } catch (const KestraneError&) {
        }
        EXPECT_EQ(made, 1);
        EXPECT_EQ(page.cursor().shape(), Qt::ArrowCursor);
        EXPECT_TRUE(next->isEnabled());
    }
    optionsPage = kept;
}

void chooseInDropDown(QComboBox& list, int position)
{
    list.showPopup();
    QAbstractItemView* view = list.view();
    view->setCurrentIndex(list.model()->index(position, list.modelColumn(), list.rootModelIndex()));
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_FALSE(view->isVisible());
}

void expectRunStopped(WizardRun& run, const StoppedRun& page, RunFault fault)
{
    SCOPED_TRACE(int(fault));
    const bool logFills = fault == RunFault::LogFills;
    QTemporaryDir folder;
    QFile wave(folder.filePath("hello.wav"));
    ASSERT_TRUE(wave.open(QIODevice::WriteOnly) && wave.write("RIFF") == 4);
    wave.close();
    page.choose(wave.fileName());
    const QList<SelectionGridRow>& rows = run.context.state.selectionGridRows;
    const int kept = logFills ? 2 : 1;
    RunLog& log = *run.context.state.runLog;
    const QString database = run.installation.installation().databaseFile();
    const qint64 nextHeading = QString("** Updating %1 **\r\n    Alias=%2\r\n    ObjectID=%3\r\n")
                                   .arg(page.headingWord, rows[kept].alias, rows[kept].objectID).toUtf8().size();
    const auto fail = [&] {
        if (logFills)
            log.setSizeLimit(QFileInfo(log.fileName()).size() + nextHeading);
        for (const char* suffix : {"", "-wal", "-shm"})
            if (!logFills)
                QFile::rename(database + suffix, database + ".moved" + suffix);
    };
    // The progress moves inside a row: the fault comes once the row's lines are written.
    QObject::connect(findByName<QProgressBar>(page.enginePage, "ProgressBar"), &QProgressBar::valueChanged,
                     &page.enginePage, [&](int done) {
                         if (done == kept)
                             QTimer::singleShot(0, &page.enginePage, fail);
                     });
    run.recorder.answerWith(QMessageBox::Cancel);
    click(page.enginePage, "cmdGo");

    const QString noun(page.noun);
    QStringList expected{
        QString("The run was stopped because %1\r\n\r\n%2 %3(s) were changed before the failure and keep their "
                "changes; the %3 under way was rolled back and %4 selected %3(s) were not touched.  %5")
            .arg(logFills ? "the run log could not be written:\r\n" + log.fileName() + ": No space left on device"
                          : "the database failed:\r\nThe database file " + database
                                + " was moved, removed or replaced during the run")
            .arg(kept).arg(noun).arg(rows.size() - kept - 1)
            .arg(logFills ? "The log ends before the failure.  Make room for the log before running again."
                          : "Check the database before running again.")};
    if (!logFills)
        expected << run.session.languages.mymyLoadString(100);
    EXPECT_EQ(run.shown.mid(run.shown.size() - expected.size()), expected);
    QSet<QString> keptIDs, storedIDs, loggedIDs;
    for (const SelectionGridRow& row : rows.mid(0, kept))
        keptIDs << row.objectID;
    Database db;
    ASSERT_TRUE(db.open({logFills ? database : database + ".moved", {}}));
    for (const QVariantList& row : db.select(page.changedIDs).rows)
        storedIDs << row.value(0).toString();
    EXPECT_EQ(storedIDs, keptIDs);
    QFile file(log.fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    QString objectID;
    for (const QString& line : QString::fromUtf8(bytes).split("\r\n")) {
        if (line.startsWith("    ObjectID="))
            objectID = line.mid(13);
        else if (line.startsWith(page.changeLine))
            loggedIDs << objectID;
    }
    if (logFills)   // a rollback's change lines are followed by its "none kept" line
        EXPECT_EQ(loggedIDs, keptIDs);
    EXPECT_EQ(QDir(velmo::serverRootPath(run.installation.folder()) + "Stream Files").entryList(QDir::Files).size(), kept);
}

QString focusedName(const QWidget& window)
{
    const QWidget* focused = window.focusWidget();
    return focused ? focused->objectName() : QString();
}

void whileShown(QDialog& dialog, const std::function<void()>& actions, const std::function<void()>& show)
{
    bool acted = false;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!acted && QApplication::activeModalWidget() == &dialog) {
            acted = true;
            actions();
        } else if (clock.elapsed() > 10000) {
            poll.stop();
            ADD_FAILURE() << "the dialog was not shown, or not closed, in time";
            dialog.reject();
        }
    });
    poll.start();
    show();
    EXPECT_TRUE(acted);
}

void whileShown(QDialog& dialog, const std::function<void()>& actions)
{
    whileShown(dialog, actions, [&] { dialog.exec(); });
}

void withFileDialog(const std::function<void(QFileDialog&)>& actions, const std::function<void()>& show)
{
    bool acted = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); dialog && !acted) {
            acted = true;
            actions(*dialog);
        }
    });
    poll.start(5);
    show();
    EXPECT_TRUE(acted);
}

QVariant WizardRun::stored(const QString& query, const QVariantList& values)
{
    return session.database.select(query, values).rows.value(0).value(0);
}
