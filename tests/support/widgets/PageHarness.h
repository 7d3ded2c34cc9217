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
// A run on an engine page stopped between two rows: the disk of its log fills after the second
// row (the third row's heading still fits), the log file is removed or replaced by another file
// after the second, or the database file is moved away (with its -wal and -shm), replaced by a
// copy, or removed (with its -wal and -shm) after the first. What it must leave: the rows before
// keep their changes (in the file moved away; those written to a replaced or removed file are
// lost, and the message says so), their greeting recordings and (for a log fault) their whole
// blocks in the log, or in a log written again beside the file that replaced it; the next row is
// rolled back, the later ones are not touched, the log ends at a whole line, and the run ends
// with its stop message (and the offer of the log only when it holds the run up to the stop).
// Nothing of the run's connection is left beside the database's path, while the message is
// shown and once the page and the session are closed, and a replacement is left as it was put there.
// The same with the log's quota used up, its folder removed too, or the log cut short in place
// (left so: the next row is not started); the database replaced before Go; or, after "Done!",
// replaced, or moved away alone (as `mv` does) before Exit: every change in it, and it whole.
enum class RunFault { LogFills, LogRemoved, LogReplaced, DatabaseMoved, DatabaseReplaced, DatabaseRemoved,
                      LogOverQuota, LogFolderRemoved, LogCutShort, DatabaseReplacedBeforeGo,
                      DatabaseReplacedAfterRun, DatabaseMovedAfterRun };
inline constexpr RunFault kRunFaults[] = {RunFault::LogFills,         RunFault::LogRemoved,
                                          RunFault::LogReplaced,      RunFault::DatabaseMoved,
                                          RunFault::DatabaseReplaced, RunFault::DatabaseRemoved,
                                          RunFault::LogOverQuota, RunFault::LogFolderRemoved, RunFault::LogCutShort,
                                          RunFault::DatabaseReplacedBeforeGo, RunFault::DatabaseReplacedAfterRun,
                                          RunFault::DatabaseMovedAfterRun};
struct StoppedRun {
    QWidget& enginePage;
    const char* noun;           // "subscriber", "call handler"
    const char* headingWord;    // "** Updating <word> **"
    QString changeLine;         // how each changed object's change line starts
    QString changedIDs;         // the query that lists the changed objects
    // Makes the page's choices: a change of the object's row and a greeting recording of `wave`.
    std::function<void(const QString& wave)> choose;
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
