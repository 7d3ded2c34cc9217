#pragma once
// The frame both change engines run their objects in. Each object's changes are made in one
// transaction on the session's connection: either all of them are kept or none is.
//
//     RunFrame frame(session);
//     frame.setStopHandler([&] { ExitApplication(...); });       // what a deferred Exit does
//     const bool completed = frame.forEachRow(rows.size(), [&](int row) {
//         ... heading lines, find the object ...
//         frame.applyObject(
//             [&](ObjectActions& actions) {
//                 ... the object's changes; a database failure is let through ...
//                 actions.onCommit([=] { put the copied recording in place });
//                 actions.onRollback([=] { remove the copied recording });
//             },
//             [&](const KestraneError& error) { log the counted "(error)" line });
//     });
//     if (!completed) return;   // Exit was pressed: the stop handler has ended the program
//
// A failure that escapes an object's work (any KestraneError; the engine lets the database's
// own through, see isDatabaseFailure, and logs the others itself) or a failing COMMIT rolls the
// object back: the database's transaction, the rows of the directory lists that the object
// changed in memory, and the object's on-rollback actions (last registered first). Then the
// failure goes to the engine's report and the run goes on with the next object. Lines already
// written to the run log for that object stay there.
//
// Exit during a run (reachable through the message loop that each log line runs) is deferred:
// requestStop() lets the current object commit or roll back, no further object starts, and the
// stop handler runs once the frame is back out of its work, never between two statements of
// one object and never with the lists closed under the engine.
#include "core/Errors.h"

#include <QList>
#include <functional>
#include <vector>

class Database;
class Recordset;
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
    RolledBack,   // the failure was handed to the report
    NotStarted,   // a stop was requested before the object began
};

class RunFrame {
public:
    // The session's one connection; the rows of its directory lists are restored on rollback.
    explicit RunFrame(Session& session);
    RunFrame(Database& database, QList<Recordset*> restoredLists);
    RunFrame(const RunFrame&) = delete;
    RunFrame& operator=(const RunFrame&) = delete;

    using Work = std::function<void(ObjectActions& actions)>;
    using FailureReport = std::function<void(const KestraneError& failure)>;

    // Runs one object's work in a transaction of its own and commits it; see above for a
    // failure. Exceptions other than KestraneError roll the object back and are rethrown.
    ObjectOutcome applyObject(const Work& work, const FailureReport& report);

    // Calls step(row) for row 0 to rowCount - 1 in order until a stop is requested. False when
    // the run was stopped; the stop handler has run then.
    bool forEachRow(int rowCount, const std::function<void(int row)>& step);

    // What ends the program when Exit was pressed during a run.
    void setStopHandler(std::function<void()> handler) { m_stopHandler = std::move(handler); }
    // Exit pressed: the stop handler runs at once when the frame is idle, otherwise as soon as
    // the current object (and the row step around it) is over.
    void requestStop();
    bool stopRequested() const { return m_stopRequested; }

private:
    void rollBack(ObjectActions& actions);
    // Runs the stop handler, once, when a stop is requested and the frame is out of its work.
    void runPendingStop();

    Database& m_database;
    QList<Recordset*> m_lists;
    std::function<void()> m_stopHandler;
    bool m_stopRequested = false;
    bool m_stopHandled = false;
    int m_depth = 0;   // forEachRow and applyObject calls under way
};
