#include "search/FreeQuery.h"
#include "core/Criterion.h"
#include "core/Errors.h"
#include "core/Session.h"

namespace {

// The column `name` of a result, found without regard to case.
int requireColumn(const QueryResult& result, const QString& name)
{
    for (int i = 0; i < result.fields.size(); ++i)
        if (result.fields[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw KestraneError(ErrorNumber::ItemNotFound, QStringLiteral("Item cannot be found in the collection corresponding to the "
                                             "requested name or ordinal. (%1)").arg(name));
}

}  // namespace

QString freeQueryHead(FreeQueryKind kind)
{
    return kind == FreeQueryKind::Subscribers ? QStringLiteral("SELECT vw_Subscriber.* FROM vw_Subscriber ")
                                              : QStringLiteral("SELECT vw_CallHandler.* FROM vw_CallHandler ");
}

int freeQueryRefusal(const QString& tail)
{
    if (tail.size() < 3)
        return 385;
    const std::pair<const char*, int> words[] = {{"UPDATE", 386}, {"DELETE", 387}, {"EXECUTE", 388}, {"DROP", 389}};
    for (const auto& [word, message] : words)
        if (tail.contains(QLatin1StringView(word), Qt::CaseInsensitive))
            return message;
    return 0;
}

QueryResult runFreeQuery(Session& session, FreeQueryKind kind, const QString& tail)
{
    Database& db = session.database;
    if (!db.isOpen() && !db.open(resolveConnectionString(session.strConnectionString, session.installation)))
        throw KestraneError(ErrorNumber::DatabaseError, db.lastError());
    return db.selectReadOnly(freeQueryHead(kind) + tail);
}

void importFreeQueryRows(const QueryResult& result, FreeQueryKind kind, Session& session,
                         const std::function<void()>& addRow)
{
    const int handlerColumn = requireColumn(result, QStringLiteral("CallHandlerObjectID"));
    if (kind == FreeQueryKind::Handlers) {
        Recordset& handlers = session.rsNonPrimaryCallHandlers;
        for (const auto& row : result.rows) {
            handlers.moveFirst();
            if (handlers.find(QStringLiteral("CallHandlerObjectID=") + quoteLiteral(row[handlerColumn].toString())))
                addRow();
        }
        return;
    }
    const int subscriberColumn = requireColumn(result, QStringLiteral("SubscriberObjectID"));
    Recordset& subscribers = session.rsSubscribers;
    Recordset& handlers = session.rsPrimaryCallHandlers;
    for (const auto& row : result.rows) {
        subscribers.moveFirst();
        if (!subscribers.find(QStringLiteral("SubscriberObjectID=") + quoteLiteral(row[subscriberColumn].toString()))
            || row[handlerColumn].isNull())
            continue;
        handlers.moveFirst();
        const QString handler = subscribers.value(QStringLiteral("CallHandlerObjectID")).toString();
        if (handlers.find(QStringLiteral("CallHandlerObjectID=") + quoteLiteral(handler)))
            addRow();
    }
}
