#pragma once
// The frame both change engines run their objects in. Each object's changes are made in one
// transaction on the session's connection: either all of them are kept or none is.
//
//     RunFrame frame(session, log);
//     frame.setStopHandler([&] { ExitApplication(...); });       // what a deferred Exit does
//     const RunEnd end = frame.forEachRow(rows.size(), [&](int row) {
//         ... heading lines, find the object ...
//         frame.applyObject(objectID,
//             [&](ObjectActions& actions) {
//                 ... the object's changes; a database failure is let through ...
//                 actions.onCommit([=] { put the copied recording in place });
//                 actions.onRollback([=] { remove the copied recording });
//             },
//             [&](const KestraneError& error) { log the counted "(error)" line });
//     });
//     if (end == RunEnd::Stopped) return;   // Exit was pressed: the stop handler has ended the program
//
// A failure that escapes an object's work (any KestraneError; the engine lets the database's
// own through, see isDatabaseFailure, and logs the others itself) or a failing COMMIT rolls the
// object back: the database's transaction, the rows of the directory lists that the object
// changed in memory, the run-wide flags it set (the session's write-through and notifier
// restart requests: a flag asks for work on behalf of kept changes only) and the object's
// on-rollback actions (last registered first). Then the failure goes to the engine's report and
// the run goes on with the next object, unless the failure broke the database itself
// (KestraneError::databaseBroken, or the embedded database's file moved, removed or replaced
// under the run): then no further object starts and the run ends with RunEnd::DatabaseBroken.
// A file no longer at its path is let go of at once (Database::letGoOfMovedFile), so that
// nothing of the run's connection stays beside the file now there.
//
// The run log holds the lines of a row while it runs: the lines before the object's transaction
// (its heading) are written when the transaction begins, the object's own lines and its report
// once the transaction has ended, and the rest at the end of the row. A run cut off in the middle
// of an object (the program killed, the machine stopped) so leaves no change line that was not
// kept. Before the commit the log makes sure it can take the object's lines (RunLog::
// secureHeldLines); when it cannot, or any write of the log fails, the object under way is rolled
// back (without a report: the log takes nothing more), no further object starts and the run ends
// with RunEnd::LogBroken: no object is kept without its lines. The message loop runs once per
// row, so the window and Exit stay responsive.
//
// Each object is applied at most once per run: a later row naming an object already applied (or
// rolled back) in this run gets a counted warning line and changes nothing.
//
// Exit during a run (reachable through the message loop that runs after each row) is deferred:
// requestStop() lets the current object commit or roll back, no further object starts, and the
// stop handler runs once the frame is back out of its work, never between two statements of
// one object and never with the lists closed under the engine.
#include "core/Errors.h"

#include <QList>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class Database;
class Recordset;
class RunLog;
class Session;

// What an object's work asks to be done once its transaction has ended.
class ObjectActions {
public:
    // Runs after the commit, in the order registered (for example renaming a copied recording
    // into place). An action handles its own failures: the object's changes are already kept.
    void onCommit(std::function<void()> action) { m_onCommit.push_back(std::move(action)); }
    // Runs after a rollback, last registered first (for example removing a copied recording).
    void onRollback(std::function<void()> action) { m_onRollback.push_back(std::move(action)); }

private:
    friend class RunFrame;
    std::vector<std::function<void()>> m_onCommit;
    std::vector<std::function<void()>> m_onRollback;
};

enum class ObjectOutcome {
    Committed,
    RolledBack,         // the failure was handed to the report
    NotStarted,         // a stop was requested, or the database broke, before the object began
    AlreadyProcessed,   // the object was applied earlier in this run: the warning is logged
};

enum class RunEnd {
    Completed,
    Stopped,          // Exit was pressed: the stop handler has run
    DatabaseBroken,   // a failure of the database itself ended the run (RunFrame::databaseFailure)
    LogBroken,        // the run log could not be written (RunLog::failure)
};

class RunFrame {
public:
    // The session's one connection; the rows of its directory lists and its run-wide flags are
    // restored on rollback.
    RunFrame(Session& session, RunLog& log);
    RunFrame(Database& database, QList<Recordset*> restoredLists, QList<bool*> restoredFlags, RunLog& log);
    RunFrame(const RunFrame&) = delete;
    RunFrame& operator=(const RunFrame&) = delete;

    using Work = std::function<void(ObjectActions& actions)>;
    using FailureReport = std::function<void(const KestraneError& failure)>;

    // Runs the work on the object `objectID` in a transaction of its own and commits it; see
    // above for a failure and for an object met again. Exceptions other than KestraneError roll
    // the object back and are rethrown.
    ObjectOutcome applyObject(const QString& objectID, const Work& work, const FailureReport& report);

    // Calls step(row) for row 0 to rowCount - 1 in order until a stop is requested or the
    // database breaks.
    RunEnd forEachRow(int rowCount, const std::function<void(int row)>& step);

    // What ends the program when Exit was pressed during a run.
    void setStopHandler(std::function<void()> handler) { m_stopHandler = std::move(handler); }
    // Exit pressed: the stop handler runs at once when the frame is idle, otherwise as soon as
    // the current object (and the row step around it) is over.
    void requestStop();
    bool stopRequested() const { return m_stopRequested; }

    // The failure that broke the database, once one has.
    const std::optional<KestraneError>& databaseFailure() const { return m_databaseFailure; }
    // The objects committed in this run.
    int committedCount() const { return m_committed; }
    // Rows before this one have been dealt with (their object committed, rolled back or passed
    // over); the rows from it on were not reached. After a completed run, the row count.
    int firstRowNotReached() const { return m_firstRowNotReached; }
    // The run ended with the object under way rolled back (a database or log failure in it).
    bool endedWithRollback() const { return m_endedWithRollback; }
    // The last lines of a run that the database ended: that it stopped, the objects of the kind
    // `noun` ("subscriber") changed before, and when.
    void logDatabaseStop(const QString& noun);

private:
    void rollBack(ObjectActions& actions);
    // The run ends with the database or the log broken.
    bool broken() const;
    // Writes the held lines; false, with the log broken, when they cannot be written.
    bool writeLines(bool keepHolding);
    // Runs the stop handler, once, when a stop is requested and the frame is out of its work.
    void runPendingStop();

    Database& m_database;
    QList<Recordset*> m_lists;
    QList<bool*> m_flags;
    RunLog& m_log;
    std::function<void()> m_stopHandler;
    bool m_stopRequested = false;
    bool m_stopHandled = false;
    int m_depth = 0;   // forEachRow and applyObject calls under way
    QSet<QString> m_appliedObjects;   // case-folded object IDs met in this run
    int m_committed = 0;
    int m_currentRow = 0;   // the row forEachRow is at
    int m_firstRowNotReached = 0;
    bool m_endedWithRollback = false;
    std::optional<KestraneError> m_databaseFailure;
};
