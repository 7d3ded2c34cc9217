#include "tests/support/widgets/PageHarness.h"

#include "core/Database.h"
#include "core/Errors.h"
#include "core/Installation.h"
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

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

MessageRecorder::MessageRecorder(MessageBoxService& service)
{
    service.setAnswerer([this](const MessageBoxService::Request& request) {
        shown << request.text;
        requests << request;
        if (whileShown)
            whileShown();
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
    const std::function<QWidget*()> kept = std::exchange(optionsPage, [&]() -> QWidget* {
        EXPECT_EQ(page.cursor().shape(), Qt::WaitCursor);
        EXPECT_FALSE(next->isEnabled());
        throw KestraneError(-1, QStringLiteral("no options page"));
    });
    // The signal itself: the throw crosses no frame of the button's code.
    EXPECT_THROW(emit next->clicked(), KestraneError);
    EXPECT_EQ(page.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(next->isEnabled());
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

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Nothing of the run's connection beside the database's path.
void expectNothingBeside(const QString& database)
{
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        EXPECT_FALSE(QFile::exists(database + suffix)) << suffix;
}

// Nothing beside the database's path, and the replacement (if any) as it was put there, whole to
// a connection of its own, as is the file moved away (if any).
void expectOnlyAtPath(const QString& database, const QByteArray& replacement, const QString& movedTo = {})
{
    expectNothingBeside(database);
    EXPECT_EQ(fileBytes(database), replacement.isNull() ? "<unreadable>" : replacement);
    if (replacement.isNull() && movedTo.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "integrity");
        db.setDatabaseName(movedTo.isEmpty() ? database : movedTo);
        QSqlQuery query(db);
        EXPECT_TRUE(db.open() && query.exec("PRAGMA integrity_check") && query.next());
        EXPECT_EQ(query.value(0).toString(), "ok");
    }
    QSqlDatabase::removeDatabase("integrity");
}

// What became of the database file the run had open.
enum class DatabaseFile { AtPath, MovedAway, Replaced, Removed };
constexpr int kEveryRow = -1;
const char kGone[] = "the file was removed or replaced during the run";

// What a fault must leave. `kept`: the rows kept (0: the fault comes before Go; every row: after
// "Done!"; otherwise between two rows); `logReason`: why the log failed (none: the database
// failed); `writtenAgainAs`: how the name of the log written again ends (none: not written
// again); `underWayRolledBack`: the row after the kept ones started and was rolled back (not
// when its heading met a log written over).
struct FaultRow {
    RunFault fault;
    int kept;
    const char* logReason;
    const char* writtenAgainAs;
    bool underWayRolledBack;
    DatabaseFile database;
};
constexpr FaultRow kFaultRows[] = {
    {RunFault::LogFills, 2, "No space left on device", nullptr, true, DatabaseFile::AtPath},
    {RunFault::LogRemoved, 2, kGone, ".TXT", true, DatabaseFile::AtPath},
    {RunFault::LogReplaced, 2, kGone, "-recovered.TXT", true, DatabaseFile::AtPath},
    {RunFault::DatabaseMoved, 1, nullptr, nullptr, true, DatabaseFile::MovedAway},
    {RunFault::DatabaseReplaced, 1, nullptr, nullptr, true, DatabaseFile::Replaced},
    {RunFault::DatabaseRemoved, 1, nullptr, nullptr, true, DatabaseFile::Removed},
    {RunFault::LogOverQuota, 2, "Disk quota exceeded", nullptr, true, DatabaseFile::AtPath},
    {RunFault::LogFolderRemoved, 2, kGone, ".TXT", true, DatabaseFile::AtPath},
    {RunFault::LogCutShort, 2, kGone, "-recovered.TXT", false, DatabaseFile::AtPath},
    {RunFault::LogWrittenOver, 2, kGone, "-recovered.TXT", false, DatabaseFile::AtPath},
    {RunFault::DatabaseReplacedBeforeGo, 0, nullptr, nullptr, true, DatabaseFile::Replaced},
    {RunFault::DatabaseReplacedAfterRun, kEveryRow, nullptr, nullptr, true, DatabaseFile::Replaced},
    {RunFault::DatabaseMovedAfterRun, kEveryRow, nullptr, nullptr, true, DatabaseFile::MovedAway},
};

}  // namespace

void expectRunStopped(WizardRun& run, const StoppedRun& page, RunFault fault)
{
    SCOPED_TRACE(int(fault));
    using enum RunFault;
    const FaultRow& expect = *std::find_if(std::begin(kFaultRows), std::end(kFaultRows),
                                           [&](const FaultRow& row) { return row.fault == fault; });
    const QList<SelectionGridRow>& rows = run.context.state.selectionGridRows;
    const bool afterRun = expect.kept == kEveryRow, beforeGo = expect.kept == 0, logFault = expect.logReason != nullptr;
    const int kept = afterRun ? int(rows.size()) : expect.kept;
    const bool replaced = expect.database == DatabaseFile::Replaced, moved = expect.database == DatabaseFile::MovedAway;
    const bool databaseGone = replaced || expect.database == DatabaseFile::Removed;
    QTemporaryDir folder;
    QFile wave(folder.filePath("hello.wav"));
    EXPECT_TRUE(wave.open(QIODevice::WriteOnly) && wave.write("RIFF") == 4);
    wave.close();
    page.choose(wave.fileName());
    RunLog& log = *run.context.state.runLog;
    const QString database = run.installation.installation().databaseFile();
    const QString copy = folder.filePath("copy.sqlite");
    if (replaced)
        run.sql("VACUUM INTO '" + copy + "'");
    const QByteArray replacement = replaced ? fileBytes(copy) : QByteArray();
    const qint64 nextHeading = QString("** Updating %1 **\r\n    Alias=%2\r\n    ObjectID=%3\r\n")
                                   .arg(page.headingWord, rows.value(kept).alias, rows.value(kept).objectID).toUtf8().size();
    QByteArray leftAtLogPath;   // by another program, with its allocated blocks
    struct stat leftBlocks {};
    const auto fail = [&] {
        const QString logPath = log.fileName();
        QFile file(fault == DatabaseReplacedAfterRun ? database : logPath);
        if (logFault && !expect.writtenAgainAs) {   // a full disk or quota
            log.setSizeLimit(file.size() + nextHeading, {}, fault == LogFills ? ENOSPC : EDQUOT);
        } else if (fault == LogCutShort || fault == LogWrittenOver) {
            // In place: cut short, as a copy-truncate rotation does, then room reserved past its end;
            // or written over from its start by a longer text, as an editor saving in place does.
            leftAtLogPath = fault == LogCutShort ? QByteArray("RIFF") : QByteArray(file.size() + 100, 'x');
            EXPECT_TRUE(file.open(fault == LogCutShort ? QIODevice::WriteOnly | QIODevice::Truncate : QIODevice::ReadWrite)
                        && file.write(leftAtLogPath) == leftAtLogPath.size() && file.flush());
            EXPECT_TRUE(fault == LogWrittenOver || ::fallocate(file.handle(), FALLOC_FL_KEEP_SIZE, 0, 1 << 20) == 0);
        } else if (logFault) {
            QFile::remove(logPath);
            EXPECT_TRUE(fault != LogFolderRemoved || QDir().rmdir(QFileInfo(logPath).absolutePath()));
            if (fault == LogReplaced && QFile::copy(wave.fileName(), logPath))   // another program's file
                leftAtLogPath = "RIFF";
        } else if (fault == DatabaseReplacedAfterRun) {   // as `cp` does: written over in place
            EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(replacement) == replacement.size());
        } else if (replaced) {   // as `mv -f` does: in one step
            EXPECT_EQ(std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(database).constData()), 0);
        } else if (afterRun) {   // as `mv` does: the file alone
            EXPECT_TRUE(QFile::rename(database, database + ".moved"));
        } else {
            for (const char* suffix : {"", "-wal", "-shm"})
                moved ? QFile::rename(database + suffix, database + ".moved" + suffix) : QFile::remove(database + suffix);
        }
        ::stat(QFile::encodeName(logPath).constData(), &leftBlocks);
    };
    // The progress moves inside a row: the fault comes once the row's lines are written.
    QObject::connect(findByName<QProgressBar>(page.enginePage, "ProgressBar"), &QProgressBar::valueChanged,
                     &page.enginePage, [&](int done) {
                         if (done == kept && !beforeGo && !afterRun)
                             QTimer::singleShot(0, &page.enginePage, fail);
                     });
    if (beforeGo)
        fail();
    run.recorder.answerWith(QMessageBox::Cancel);
    QByteArray atDone;   // the database's bytes while "Done!" is shown
    run.recorder.whileShown = [&] {
        if (databaseGone && !afterRun)
            expectOnlyAtPath(database, replacement);
        else
            expectNothingBeside(database);
        if (afterRun && run.shown.last().startsWith("Done! ")) {
            atDone = fileBytes(database);
            if (fault == DatabaseReplacedAfterRun)   // a backup restored while "Done!" is shown
                fail();
        }
    };
    click(page.enginePage, "cmdGo");
    run.recorder.whileShown = nullptr;
    if (fault == DatabaseMovedAfterRun)
        fail();

    const QString noun(page.noun);
    const QString logPath = log.fileName();
    const QString writtenLog = QString(logPath).replace(".TXT", expect.writtenAgainAs ? expect.writtenAgainAs : ".TXT");
    QString cause = "the database failed:\r\nThe database file " + database + " was moved, removed or replaced during the run";
    QString keptChanges = ", but their changes were written to the database file that was moved, removed or replaced"
                          + (replaced ? ", and are not in the file now at " + database : ": no file is at " + database + " now");
    QString advice = "Check the database before running again.";
    if (kept == 0)   // nothing was written anywhere
        keptChanges.clear();
    if (logFault) {
        cause = "the run log could not be written:\r\n" + logPath + ": " + expect.logReason;
        keptChanges = " and keep their changes";
        advice = expect.writtenAgainAs ? "The log of the run up to the failure was written again to " + writtenLog + "."
                                    : "The log ends before the failure.  Make room for the log before running again.";
    }
    const QString underWay = expect.underWayRolledBack ? QString("the %1 under way was rolled back and ").arg(noun) : QString();
    QStringList expected;
    if (!afterRun)   // otherwise the run ended "Done!"
        expected << QString("The run was stopped because %1\r\n\r\n%2 %3(s) were changed before the failure%4; "
                            "%5%6 selected %3(s) were not touched.  %7")
                        .arg(cause).arg(kept).arg(noun, keptChanges, underWay)
                        .arg(rows.size() - kept - (expect.underWayRolledBack ? 1 : 0)).arg(advice);
    if (logFault || afterRun)   // the kept changes are in the file at the path
        expected << page.notices;
    if (!logFault)
        expected << run.session.languages.mymyLoadString(100);
    EXPECT_EQ(run.shown.mid(run.shown.size() - expected.size()), expected);
    EXPECT_EQ(run.shown.filter("Done! ").size(), afterRun ? 1 : 0);
    QStringList keptIDs, loggedIDs;
    QSet<QString> storedIDs;
    for (const SelectionGridRow& row : rows.mid(0, kept))
        keptIDs << row.objectID;
    if (!databaseGone) {
        Database db;
        EXPECT_TRUE(db.open({moved ? database + ".moved" : database, {}}));
        for (const QVariantList& row : db.select(page.changedIDs).rows)
            storedIDs << row.value(0).toString();
        EXPECT_EQ(storedIDs, QSet<QString>(keptIDs.begin(), keptIDs.end()));
    }
    const QByteArray bytes = fileBytes(writtenLog);
    EXPECT_TRUE(bytes.startsWith(QByteArray(64, '=') + "\r\nRunning Kestrane version"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    QString objectID;
    const QStringList lines = QString::fromUtf8(bytes).split("\r\n");
    for (const QString& line : lines) {
        if (line.startsWith("    ObjectID="))
            objectID = line.mid(13);
        else if (line.startsWith(page.changeLine))
            loggedIDs << objectID;
    }
    if (logFault || afterRun)   // each kept block once, in order; a rollback's lines are followed by its "none kept" line
        EXPECT_EQ(loggedIDs, keptIDs);
    else   // the log says that the run stopped
        EXPECT_EQ(lines.value(lines.size() - 3), QString("The database failed, so the run was stopped: no later %1 was "
                                                         "changed.  %2s changed before the failure: %3.  Check the database.")
                                                     .arg(noun, noun.at(0).toUpper() + noun.mid(1)).arg(kept));
    EXPECT_EQ(QDir(velmo::serverRootPath(run.installation.folder()) + "Stream Files").entryList(QDir::Files).size(), kept);

    // Exit, then what the end of the session does.
    click(page.enginePage, "cmdExit");
    page.enginePage.close();
    run.session.database.close();
    if (!leftAtLogPath.isNull()) {   // another program's file at the log's path, as it left it
        struct stat now {};
        EXPECT_EQ(fileBytes(logPath), leftAtLogPath);
        EXPECT_TRUE(::stat(QFile::encodeName(logPath).constData(), &now) == 0 && now.st_blocks == leftBlocks.st_blocks);
    }
    if (databaseGone || moved)
        expectOnlyAtPath(database, replacement, moved ? database + ".moved" : QString());
    if (moved && afterRun) {   // every change of the run in the file, once "Done!" was shown
        EXPECT_EQ(fileBytes(database + ".moved"), atDone);
    }
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
    return database().select(query, values).rows.value(0).value(0);
}

Database& WizardRun::database()
{
    EXPECT_TRUE(session.database.isOpen()
                || session.database.open(resolveConnectionString(session.strConnectionString, session.installation)));
    return session.database;
}
