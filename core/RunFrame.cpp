#include "core/RunFrame.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "core/RunLog.h"
#include "core/Session.h"

#include <QCoreApplication>
#include <algorithm>
#include <stdexcept>

namespace {

// Counts a level of the frame's work for as long as it lives, also when the work throws.
class Level {
public:
    explicit Level(int& depth) : m_depth(depth) { ++m_depth; }
    ~Level() { --m_depth; }
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

private:
    int& m_depth;
};

}  // namespace

RunFrame::RunFrame(Session& session, RunLog& log)
    : RunFrame(session.database,
               {&session.rsNonPrimaryCallHandlers, &session.rsPrimaryCallHandlers, &session.rsSubscribers,
                &session.rsCOS, &session.rsInterviewHandlers, &session.rsDistributionLists, &session.rsLocations,
                &session.rsNameLookupHandlers},
               {&session.bDirectoryWriteThroughPending, &session.bNotifierRestartPending}, log)
{
}

RunFrame::RunFrame(Database& database, QList<Recordset*> restoredLists, QList<bool*> restoredFlags, RunLog& log)
    : m_database(database), m_lists(std::move(restoredLists)), m_flags(std::move(restoredFlags)), m_log(log)
{
}

ObjectOutcome RunFrame::applyObject(const QString& objectID, const Work& work, const FailureReport& report)
{
    if (m_stopRequested || broken())
        return ObjectOutcome::NotStarted;
    // A grid may name one object twice (a CSV file naming it by alias and by extension): its
    // changes must not be applied twice ("append 9" making 1008 991008).
    const QString key = objectID.toCaseFolded();
    if (m_appliedObjects.contains(key)) {
        m_log.WriteLogLine(QStringLiteral("(warning) This object was already processed in this run.  Skipping it."));
        return ObjectOutcome::AlreadyProcessed;
    }
    // The object's transaction must be the only one: rolling it back must not take other work
    // with it.
    if (m_database.inTransaction())
        throw std::logic_error("RunFrame::applyObject: a transaction is already open");

    // The lines before the transaction reach the file now; the object's own once it has ended.
    const bool rowHeld = m_log.holdingLines();
    if (!writeLines(true))
        return ObjectOutcome::NotStarted;
    m_appliedObjects.insert(key);
    m_firstRowNotReached = std::max(m_firstRowNotReached, m_currentRow + 1);
    ObjectOutcome outcome = ObjectOutcome::Committed;
    {
        const Level level(m_depth);
        ObjectActions actions;
        for (Recordset* list : std::as_const(m_lists))
            list->beginJournal();
        for (bool* flag : std::as_const(m_flags))
            actions.onRollback([flag, before = *flag] { *flag = before; });
        try {
            m_database.beginTransaction();
            work(actions);
            m_database.checkFileInPlace();
            m_log.secureHeldLines();
            m_database.commit();
        } catch (const KestraneError& failure) {
            rollBack(actions);
            outcome = ObjectOutcome::RolledBack;
            if (failure.databaseBroken()) {
                m_databaseFailure = failure;
                m_database.letGoOfMovedFile();
            }
            m_endedWithRollback = broken();
            // A broken log takes no report: the run ends here, and says so.
            if (!m_log.failure())
                report(failure);
        } catch (...) {
            rollBack(actions);
            m_log.releaseLines();
            throw;
        }
        if (outcome == ObjectOutcome::Committed) {
            ++m_committed;
            for (Recordset* list : std::as_const(m_lists))
                list->keepJournalledChanges();
            for (const auto& action : actions.m_onCommit)
                action();
        }
        writeLines(rowHeld);
    }
    runPendingStop();
    return outcome;
}

bool RunFrame::writeLines(bool keepHolding)
{
    try {
        if (keepHolding) {
            m_log.writeHeldLines();
            m_log.holdLines();
        } else {
            m_log.releaseLines();
        }
        return true;
    } catch (const KestraneError&) {
        if (!m_log.failure())
            throw;
        return false;
    }
}

bool RunFrame::broken() const
{
    return m_databaseFailure || m_log.failure();
}

void RunFrame::rollBack(ObjectActions& actions)
{
    try {
        m_database.rollback();
    } catch (const KestraneError&) {
        // The failure that made the object roll back is the one reported.
    }
    for (Recordset* list : std::as_const(m_lists))
        list->restoreJournalledRows();
    for (auto action = actions.m_onRollback.rbegin(); action != actions.m_onRollback.rend(); ++action)
        (*action)();
}

void RunFrame::logDatabaseStop(const QString& noun)
{
    const QString objects = noun.at(0).toUpper() + noun.mid(1) + u's';
    m_log.WriteLogLine(QStringLiteral("\r\nThe database failed, so the run was stopped: no later %1 was changed.  "
                                      "%2 changed before the failure:")
                           .arg(noun, objects)
                       + paddedNumber(m_committed) + QStringLiteral(".  Check the database."));
    m_log.WriteLogLine(QStringLiteral("Run stopped at:") + m_log.timeStamp());
}

RunEnd RunFrame::forEachRow(int rowCount, const std::function<void(int row)>& step)
{
    {
        const Level level(m_depth);
        for (int row = 0; row < rowCount && !m_stopRequested && !broken(); ++row) {
            m_currentRow = row;
            m_log.holdLines();
            try {
                step(row);
            } catch (...) {
                writeLines(false);
                throw;
            }
            if (writeLines(false))
                m_firstRowNotReached = row + 1;
            // Repaints, and lets Exit be pressed: its stop waits for this level to end.
            if (QCoreApplication::instance())
                QCoreApplication::processEvents();
        }
    }
    runPendingStop();
    if (m_stopRequested)
        return RunEnd::Stopped;
    if (m_log.failure())
        return RunEnd::LogBroken;
    return m_databaseFailure ? RunEnd::DatabaseBroken : RunEnd::Completed;
}

void RunFrame::requestStop()
{
    m_stopRequested = true;
    runPendingStop();
}

void RunFrame::runPendingStop()
{
    if (m_depth > 0 || !m_stopRequested || m_stopHandled)
        return;
    m_stopHandled = true;
    if (m_stopHandler)
        m_stopHandler();
}
