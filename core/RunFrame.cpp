#include "core/RunFrame.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "core/Session.h"

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

RunFrame::RunFrame(Session& session)
    : RunFrame(session.database,
               {&session.rsNonPrimaryCallHandlers, &session.rsPrimaryCallHandlers, &session.rsSubscribers,
                &session.rsCOS, &session.rsInterviewHandlers, &session.rsDistributionLists, &session.rsLocations,
                &session.rsNameLookupHandlers})
{
}

RunFrame::RunFrame(Database& database, QList<Recordset*> restoredLists)
    : m_database(database), m_lists(std::move(restoredLists))
{
}

ObjectOutcome RunFrame::applyObject(const Work& work, const FailureReport& report)
{
    if (m_stopRequested)
        return ObjectOutcome::NotStarted;
    // The object's transaction must be the only one: rolling it back must not take other work
    // with it.
    if (m_database.inTransaction())
        throw std::logic_error("RunFrame::applyObject: a transaction is already open");

    ObjectOutcome outcome = ObjectOutcome::Committed;
    {
        const Level level(m_depth);
        ObjectActions actions;
        for (Recordset* list : std::as_const(m_lists))
            list->beginJournal();
        try {
            m_database.beginTransaction();
            work(actions);
            m_database.commit();
        } catch (const KestraneError& failure) {
            rollBack(actions);
            outcome = ObjectOutcome::RolledBack;
            report(failure);
        } catch (...) {
            rollBack(actions);
            throw;
        }
        if (outcome == ObjectOutcome::Committed) {
            for (Recordset* list : std::as_const(m_lists))
                list->keepJournalledChanges();
            for (const auto& action : actions.m_onCommit)
                action();
        }
    }
    runPendingStop();
    return outcome;
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

bool RunFrame::forEachRow(int rowCount, const std::function<void(int row)>& step)
{
    {
        const Level level(m_depth);
        for (int row = 0; row < rowCount && !m_stopRequested; ++row)
            step(row);
    }
    runPendingStop();
    return !m_stopRequested;
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
