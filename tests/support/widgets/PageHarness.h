#pragma once
// What the page tests share: a wizard run on a generated installation (its session, the UI
// services and the context the pages get), a recorder that answers every message box, and
// finding, clicking and focus by objectName.
#include "core/Session.h"
#include "core/ui/FormRegistry.h"
#include "core/ui/MessageBoxService.h"
#include "core/ui/WizardContext.h"
#include "tests/support/TempInstallation.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QSet>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

class Database;
class QComboBox;
class RunLog;
class frmMain;

// Answers every message box of a service, OK unless told otherwise, and keeps what was asked.
class MessageRecorder {
public:
    explicit MessageRecorder(MessageBoxService& service);

    // The answer to the message boxes from now on.
    void answerWith(QMessageBox::StandardButton answer) { m_answer = answer; }

    QStringList shown;                            // the texts, in order
    QList<MessageBoxService::Request> requests;   // with their titles and buttons
    std::function<void()> whileShown;             // runs while each message box is shown

private:
    QMessageBox::StandardButton m_answer = QMessageBox::Ok;
};

// A run of the wizard on a temporary installation. Its start page is created on first use;
// start() runs the start page's load, as the program does before it shows the page.
class WizardRun {
public:
    explicit WizardRun(const velmo::InstallationOptions& options = TempInstallation::smallOptions(),
                       QStringList arguments = {},
                       const QString& programFolder = QCoreApplication::applicationDirPath());
    ~WizardRun();
    WizardRun(const WizardRun&) = delete;
    WizardRun& operator=(const WizardRun&) = delete;

    // Runs the start-up; fails, naming what was shown, when it ended the tool.
    ::testing::AssertionResult start();
    frmMain& startPage();
    // Runs a statement on the installation's database through a connection of its own (before
    // or after start-up).
    void sql(const QString& statement);
    // A value read through the session's connection: the first column of the first row.
    QVariant stored(const QString& query, const QVariantList& values = {});
    // The session's connection, opened again when a run has closed it.
    Database& database();

    TempInstallation installation;
    Session session;
    MessageBoxService messages;
    MessageRecorder recorder{messages};
    QStringList& shown = recorder.shown;
    FormRegistry forms;
    WizardContext context;
    int endedWith = -1;   // the exit code ExitApplication ended the program with

private:
    std::unique_ptr<frmMain> m_startPage;
};

// The control of that objectName under `root`; a failure of the test when there is none.
template <typename Widget = QWidget>
Widget* findByName(const QObject& root, const QString& name)
{
    Widget* found = root.findChild<Widget*>(name);
    EXPECT_NE(found, nullptr) << "no " << Widget::staticMetaObject.className() << " named " << name.toStdString();
    return found;
}

// Clicks the button of that objectName under `root`.
void click(const QObject& root, const QString& name);
// Chooses the list's item `position` through its drop-down, as a user does (also the item
// already chosen).
void chooseInDropDown(QComboBox& list, int position);
// A run on an engine page whose log or database file fails. Between two rows: the log's disk
// fills (or its quota runs out) after the second row, its file (or its folder too) is removed or
// replaced, cut short, or written over in place by a longer text, or the database file is moved
// away (with its -wal and -shm), replaced by a copy, or removed; the database replaced before Go;
// after "Done!", a backup copied over it in place, or it moved away alone (as `mv` does). What
// each must leave is a row of a table (PageHarness.cpp): the rows kept and their changes, greeting
// recordings and whole log blocks, the stop message or "Done!", the closing notices when the
// kept changes are kept, the log written again where the message says, another program's file
// left as it wrote it, and nothing of the run's connection beside the database's path while any
// message after the run is shown and once the page and the session are closed.
enum class RunFault { LogFills, LogRemoved, LogReplaced, DatabaseMoved, DatabaseReplaced, DatabaseRemoved,
                      LogOverQuota, LogFolderRemoved, LogCutShort, LogWrittenOver, DatabaseReplacedBeforeGo,
                      DatabaseReplacedAfterRun, DatabaseMovedAfterRun };
inline constexpr RunFault kRunFaults[] = {
    RunFault::LogFills,         RunFault::LogRemoved,       RunFault::LogReplaced,      RunFault::DatabaseMoved,
    RunFault::DatabaseReplaced, RunFault::DatabaseRemoved,  RunFault::LogOverQuota,     RunFault::LogFolderRemoved,
    RunFault::LogCutShort,      RunFault::LogWrittenOver,   RunFault::DatabaseReplacedBeforeGo,
    RunFault::DatabaseReplacedAfterRun, RunFault::DatabaseMovedAfterRun};
struct StoppedRun {
    QWidget& enginePage;
    const char* noun;           // "subscriber", "call handler"
    const char* headingWord;    // "** Updating <word> **"
    QString changeLine;         // how each changed object's change line starts
    QString changedIDs;         // the query that lists the changed objects
    // Makes the page's choices: a change of the object's row and a greeting recording of `wave`.
    std::function<void(const QString& wave)> choose;
    QStringList notices;        // the closing notices those choices ask for
};
void expectRunStopped(WizardRun& run, const StoppedRun& page, RunFault fault);
// Next on a selection page with a checked row, its options page factory `optionsPage` throwing:
// the wait cursor and a disabled cmdNext while it runs, neither afterwards.
void expectNextWaitsForTheOptionsPage(QWidget& page, std::function<QWidget*()>& optionsPage);
// The objectName of the control that has, or will have when its window is shown, the focus of
// `window`; empty when none.
QString focusedName(const QWidget& window);

// Runs `actions` once `dialog` is the active modal window while `show` (by default the dialog's
// exec()) waits in its modal loop; the actions must close the dialog. A dialog that is not shown,
// or still open after a deadline, is rejected and fails the test.
void whileShown(QDialog& dialog, const std::function<void()>& actions, const std::function<void()>& show);
void whileShown(QDialog& dialog, const std::function<void()>& actions);
// Runs `actions` on the open-file dialog that `show` opens (a page's `CommonDialog1`).
void withFileDialog(const std::function<void(QFileDialog&)>& actions, const std::function<void()>& show);
