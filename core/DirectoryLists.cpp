// Loading and closing the directory lists of a session.
#include "core/DirectoryLists.h"
#include "core/Errors.h"
#include "core/Session.h"

#include <functional>

namespace {

// Runs one loading step. Error 3705 (setting a property of an open recordset) skips the step;
// any other error ends the loading.
void step(const std::function<void()>& action)
{
    try {
        action();
    } catch (const KestraneError& error) {
        if (error.number() != ErrorNumber::OperationNotAllowedWhenOpen)
            throw;
    }
}

}  // namespace

bool LoadDirectoryLists(Session& s, const QString& connectionString, QString* failure)
{
    const DatabaseTarget target = resolveConnectionString(connectionString, s.installation);
    try {
        if (!s.database.isOpen() && !s.database.open(target))
            throw KestraneError(ErrorNumber::DatabaseError, s.database.lastError());
        Database& db = s.database;
        const auto clientOptimistic = [&](Recordset& list, const QString& sql) {
            step([&] { list.open(sql, db, LockType::Optimistic); });
        };
        const auto readOnly = [&](Recordset& list, const QString& sql) {
            step([&] { list.open(sql, db, LockType::ReadOnly); });
        };

        step([&] { s.rsNonPrimaryCallHandlers.setCursorLocation(CursorLocation::Client); });
        if (s.isVersionAtLeast(4, 0, 2, 111)) {
            clientOptimistic(s.rsNonPrimaryCallHandlers, QStringLiteral("Select * from vw_CallHandler_NonPrimary order by CallHandlerObjectID"));
            clientOptimistic(s.rsPrimaryCallHandlers, QStringLiteral("Select * from vw_CallHandler_Primary order by CallHandlerObjectID"));
        } else {
            clientOptimistic(s.rsNonPrimaryCallHandlers, QStringLiteral("Select * from vw_CallHandler WHERE IsPrimary='0' order by CallHandlerObjectID"));
            clientOptimistic(s.rsPrimaryCallHandlers, QStringLiteral("Select * from vw_CallHandler WHERE IsPrimary='1' order by CallHandlerObjectID"));
        }
        step([&] { s.rsNonPrimaryCallHandlers.setOptimize(QStringLiteral("CallHandlerObjectID")); });
        // Both engines and the CSV reader find a subscriber's primary handler by its object ID. Not
        // a step of the load: a list that failed to open has had its message already.
        if (s.rsPrimaryCallHandlers.isOpen())
            s.rsPrimaryCallHandlers.setOptimize(QStringLiteral("CallHandlerObjectID"));

        step([&] { s.rsSubscribers.setCursorLocation(CursorLocation::Client); });
        clientOptimistic(s.rsSubscribers, QStringLiteral("Select * from vw_Subscriber order by SubscriberObjectID"));
        step([&] { s.rsSubscribers.setOptimize(QStringLiteral("SubscriberObjectID")); });

        step([&] { s.rsCOS.setCursorLocation(CursorLocation::Client); });
        readOnly(s.rsCOS, QStringLiteral("Select * from vw_COS order by TextName ASC"));
        step([&] { s.rsCOS.setOptimize(QStringLiteral("COSObjectID")); });

        step([&] { s.rsInterviewHandlers.setCursorLocation(CursorLocation::Client); });
        readOnly(s.rsInterviewHandlers, QStringLiteral("Select * from vw_InterviewHandler order by InterviewHandlerObjectID"));

        step([&] { s.rsDistributionLists.setCursorLocation(CursorLocation::Server); });
        readOnly(s.rsDistributionLists, QStringLiteral("Select * from vw_DistributionList order by SystemDListObjectID"));
        step([&] { s.rsLocations.setCursorLocation(CursorLocation::Server); });
        readOnly(s.rsLocations, QStringLiteral("Select * from vw_Location order by LocationObjectID"));
        step([&] { s.rsNameLookupHandlers.setCursorLocation(CursorLocation::Server); });
        readOnly(s.rsNameLookupHandlers, QStringLiteral("Select * from vw_NameLookupHandler"));

        for (Recordset* work : {&s.rsMenuEntries, &s.rsMessagingRules, &s.rsContactRules, &s.rsNotificationMWIs,
                                &s.rsNotificationDevices, &s.rsNotificationRules, &s.rsDTMFAccessIDs})
            step([&] { work->setCursorLocation(CursorLocation::Client); });
        return true;
    } catch (const KestraneError& error) {
        // A damaged file opens; its first list then fails with the database's reason.
        if (failure)
            *failure = describeDatabaseTarget(target) + QStringLiteral(": ") + error.description();
        CloseServerRecordsets(s);
        return false;
    }
}

QList<Recordset*> directoryLists(Session& s)
{
    return {&s.rsNonPrimaryCallHandlers, &s.rsPrimaryCallHandlers, &s.rsInterviewHandlers,
            &s.rsContactRules, &s.rsMenuEntries, &s.rsMessagingRules, &s.rsSubscribers,
            &s.rsCOS, &s.rsDistributionLists, &s.rsLocations, &s.rsNameLookupHandlers,
            &s.rsNotificationMWIs, &s.rsNotificationDevices, &s.rsNotificationRules,
            &s.rsDTMFAccessIDs};
}

void CloseServerRecordsets(Session& s)
{
    for (Recordset* list : directoryLists(s))
        list->close();
}
