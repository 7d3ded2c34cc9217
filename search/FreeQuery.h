#pragma once
// Free SQL queries: the administrator types the tail of a SELECT over the subscriber or call
// handler view; the tool refuses some words, runs the statement read-only and imports the rows
// it returns into a selection grid.
//
// Read-only: the typed text may hold anything, so the statement must not be able to change the
// database; it runs through Database::selectReadOnly.
#include "core/Database.h"

#include <QString>
#include <functional>

class Session;

enum class FreeQueryKind { Subscribers, Handlers };

// "SELECT vw_Subscriber.* FROM vw_Subscriber " or the call handler view's; the typed tail
// follows it directly.
QString freeQueryHead(FreeQueryKind kind);

// The checks made before a tail is run, in this order: shorter than 3 characters (385), then
// containing UPDATE (386), DELETE (387), EXECUTE (388), DROP (389) anywhere, in any case.
// Returns the resource string number of the first check that fails, 0 when all pass.
int freeQueryRefusal(const QString& tail);

// Runs the free query head + tail read-only on the session's database, opening it from
// strConnectionString when it is not open yet. Throws KestraneError, whose description follows
// "Invalid SQL entry:", when the database rejects the statement or refuses it as more than one
// statement or a write.
QueryResult runFreeQuery(Session& session, FreeQueryKind kind, const QString& tail);

// Walks the rows of a free query and positions the directory lists on each object found, then
// calls `addRow` (the selection page's AddUserToGrid / AddHandlerToGrid):
// - subscribers: rsSubscribers on the row's SubscriberObjectID, and, when the row's
//   CallHandlerObjectID is not null, rsPrimaryCallHandlers on that subscriber's handler;
// - call handlers: rsNonPrimaryCallHandlers on the row's CallHandlerObjectID.
// Rows whose objects are not found are skipped. Throws KestraneError when the result lacks the
// object ID column(s) or a list cannot be searched; rows added before stay added.
void importFreeQueryRows(const QueryResult& result, FreeQueryKind kind, Session& session,
                         const std::function<void()>& addRow);
