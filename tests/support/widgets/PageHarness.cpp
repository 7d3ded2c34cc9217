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

#include <cstdio>

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

// Nothing of the run's connection beside the database's path, and the replacement (if any) as it
// was put there, whole to a connection of its own, as is the file moved away (if any).
void expectOnlyAtPath(const QString& database, const QByteArray& replacement, const QString& movedTo = {})
{
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        EXPECT_FALSE(QFile::exists(database + suffix)) << suffix;
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

}  // namespace

void expectRunStopped(WizardRun& run, const StoppedRun& page, RunFault fault)
{
    SCOPED_TRACE(int(fault));
    using enum RunFault;
    const bool logFull = fault == LogFills || fault == LogOverQuota, cutShort = fault == LogCutShort;
    const bool logFault = logFull || fault == LogRemoved || fault == LogFolderRemoved || fault == LogReplaced || cutShort;
    const bool beforeGo = fault == DatabaseReplacedBeforeGo;
    const bool afterRun = fault == DatabaseReplacedAfterRun || fault == DatabaseMovedAfterRun;
    const bool replaced = fault == DatabaseReplaced || fault == DatabaseReplacedBeforeGo || fault == DatabaseReplacedAfterRun;
    const bool moved = fault == DatabaseMoved || fault == DatabaseMovedAfterRun;
    const bool databaseGone = replaced || fault == DatabaseRemoved;
    QTemporaryDir folder;
    QFile wave(folder.filePath("hello.wav"));
    EXPECT_TRUE(wave.open(QIODevice::WriteOnly) && wave.write("RIFF") == 4);
    wave.close();
    page.choose(wave.fileName());
    const QList<SelectionGridRow>& rows = run.context.state.selectionGridRows;
    const int kept = logFault ? 2 : beforeGo ? 0 : afterRun ? int(rows.size()) : 1;
    RunLog& log = *run.context.state.runLog;
    const QString database = run.installation.installation().databaseFile();
    const QString copy = folder.filePath("copy.sqlite");
    if (replaced)
        run.sql("VACUUM INTO '" + copy + "'");
    const QByteArray replacement = replaced ? fileBytes(copy) : QByteArray();
    const qint64 nextHeading = QString("** Updating %1 **\r\n    Alias=%2\r\n    ObjectID=%3\r\n")
                                   .arg(page.headingWord, rows.value(kept).alias, rows.value(kept).objectID).toUtf8().size();
    const auto fail = [&] {
        if (logFull) {
            log.setSizeLimit(QFileInfo(log.fileName()).size() + nextHeading, {}, fault == LogFills ? ENOSPC : EDQUOT);
        } else if (cutShort) {   // in place, as a copy-truncate rotation does
            QFile cut(log.fileName());
            EXPECT_TRUE(cut.open(QIODevice::WriteOnly | QIODevice::Truncate) && cut.write("RIFF") == 4);
        } else if (logFault) {
            QFile::remove(log.fileName());
            if (fault == LogFolderRemoved)
                EXPECT_TRUE(QDir().rmdir(QFileInfo(log.fileName()).absolutePath()));
            if (fault == RunFault::LogReplaced)
                QFile::copy(wave.fileName(), log.fileName());   // another program's file
        } else if (replaced) {   // as `mv -f` does: in one step
            EXPECT_EQ(std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(database).constData()), 0);
        } else if (afterRun) {   // as `mv` does: the file alone
            EXPECT_TRUE(QFile::rename(database, database + ".moved"));
        } else {
            for (const char* suffix : {"", "-wal", "-shm"})
                fault == RunFault::DatabaseMoved ? QFile::rename(database + suffix, database + ".moved" + suffix)
                                                 : QFile::remove(database + suffix);
        }
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
    if (databaseGone && !afterRun)
        run.recorder.whileShown = [&] { expectOnlyAtPath(database, replacement); };
    click(page.enginePage, "cmdGo");
    run.recorder.whileShown = nullptr;
    if (afterRun) {   // a backup put in place, or the file moved away, after "Done!"; Exit; the end of the session
        fail();
        click(page.enginePage, "cmdExit");
        run.session.database.close();
    }

    const QString noun(page.noun);
    const QString logPath = log.fileName();
    const bool logBeside = fault == LogReplaced || cutShort;   // another program's file at the log's path
    const QString writtenLog = QString(logPath).replace(".TXT", logBeside ? "-recovered.TXT" : ".TXT");
    QString cause = "the database failed:\r\nThe database file " + database + " was moved, removed or replaced during the run";
    QString keptChanges = ", but their changes were written to the database file that was moved, removed or replaced"
                          + (replaced ? ", and are not in the file now at " + database : ": no file is at " + database + " now");
    QString advice = "Check the database before running again.";
    if (kept == 0)   // nothing was written anywhere
        keptChanges.clear();
    if (logFault) {
        cause = "the run log could not be written:\r\n" + logPath + ": "
                + (fault == LogFills ? "No space left on device"
                   : logFull         ? "Disk quota exceeded"
                                     : "the file was removed or replaced during the run");
        keptChanges = " and keep their changes";
        advice = logFull ? "The log ends before the failure.  Make room for the log before running again."
                         : "The log of the run up to the failure was written again to " + writtenLog + ".";
    }
    const QString underWay = cutShort ? QString() : QString("the %1 under way was rolled back and ").arg(noun);
    QStringList expected{QString("The run was stopped because %1\r\n\r\n%2 %3(s) were changed before the failure%4; "
                                 "%5%6 selected %3(s) were not touched.  %7")
                             .arg(cause).arg(kept).arg(noun, keptChanges, underWay)
                             .arg(rows.size() - kept - (cutShort ? 0 : 1)).arg(advice)};
    if (afterRun)   // the run ended "Done!"
        expected.clear();
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
    if (logBeside) {
        EXPECT_EQ(fileBytes(logPath), "RIFF");
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
    if (databaseGone || moved) {   // Exit, then what the end of the session does
        click(page.enginePage, "cmdExit");
        page.enginePage.close();
        run.session.database.close();
        expectOnlyAtPath(database, replacement, moved ? database + ".moved" : QString());
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
    if (!session.database.isOpen())
        EXPECT_TRUE(session.database.open(resolveConnectionString(session.strConnectionString, session.installation)));
    return session.database;
}
