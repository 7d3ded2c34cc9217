#include "search/FreeQuery.h"
#include "core/Criterion.h"
#include "core/Errors.h"
#include "core/Session.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <sqlite3.h>

namespace {

const QString kSecondStatement =
    QStringLiteral("Only one statement can be run here; nothing was run.");
const QString kNotAQuery =
    QStringLiteral("Only a query that reads rows can be run here; nothing was changed.");

[[noreturn]] void refuse(const QString& description)
{
    throw KestraneError(ErrorNumber::DatabaseError, description);
}

// The column `name` of a result, found without regard to case.
int requireColumn(const QueryResult& result, const QString& name)
{
    for (int i = 0; i < result.fields.size(); ++i)
        if (result.fields[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw KestraneError(ErrorNumber::ItemNotFound, QStringLiteral("Item cannot be found in the collection corresponding to the "
                                             "requested name or ordinal. (%1)").arg(name));
}

// Rolls back the transaction the free query runs in, whatever happens.
struct RollBack {
    Database& db;
    ~RollBack() { db.rollback(); }
};

// Embedded database: SQLite runs only the first statement of a text; it must also be one that
// SQLite calls read-only, and query_only stops any write that slips through all the same.
QueryResult runEmbedded(Database& db, const QString& sql)
{
    sqlite3* handle = *static_cast<sqlite3**>(db.connection().driver()->handle().data());
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(handle));
        sqlite3_finalize(statement);
        refuse(message);
    }
    const bool readOnly = statement && sqlite3_stmt_readonly(statement);
    const bool returnsRows = statement && sqlite3_column_count(statement) > 0;
    sqlite3_finalize(statement);
    if (!readOnly || !returnsRows)
        refuse(kNotAQuery);

    sqlite3_exec(handle, "PRAGMA query_only = ON", nullptr, nullptr, nullptr);
    struct QueryOnlyOff {
        sqlite3* handle;
        ~QueryOnlyOff() { sqlite3_exec(handle, "PRAGMA query_only = OFF", nullptr, nullptr, nullptr); }
    } queryOnlyOff{handle};
    db.beginTransaction();
    const RollBack rollBack{db};
    return db.select(sql);
}

// ODBC: the server's dialect may run several statements from one text without a separator, so
// every further result (a row set or a count) refuses the text; the transaction is always
// rolled back, so nothing such a text did stays.
QueryResult runOdbc(Database& db, const QString& sql)
{
    db.beginTransaction();
    const RollBack rollBack{db};
    QSqlQuery query(db.connection());
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throwDatabaseError(QString(), query.lastError());
    if (!query.isSelect())
        refuse(kNotAQuery);
    QueryResult result;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        result.fields << record.fieldName(i);
    while (query.next()) {
        QVector<QVariant> row(result.fields.size());
        for (int i = 0; i < row.size(); ++i)
            row[i] = query.value(i);
        result.rows.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        throwDatabaseError(QString(), query.lastError());
    if (query.nextResult())
        refuse(kSecondStatement);
    return result;
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

bool holdsSecondStatement(const QString& sql)
{
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"' || c == u'[') {
            // A literal or quoted name; a doubled closing character stays inside it.
            const QChar close = c == u'[' ? QChar(u']') : c;
            for (++i; i < n; ++i) {
                if (sql[i] != close)
                    continue;
                if (i + 1 < n && sql[i + 1] == close)
                    ++i;
                else
                    break;
            }
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            while (i < n && sql[i] != u'\n' && sql[i] != u'\r')
                ++i;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 1;
        } else if (c == u';') {
            for (qsizetype j = i + 1; j < n; ++j)
                if (!sql[j].isSpace())
                    return true;
            return false;
        }
    }
    return false;
}

QueryResult runReadOnlyQuery(Database& db, const QString& sql)
{
    if (holdsSecondStatement(sql))
        refuse(kSecondStatement);
    return db.isEmbedded() ? runEmbedded(db, sql) : runOdbc(db, sql);
}

QueryResult runFreeQuery(Session& session, FreeQueryKind kind, const QString& tail)
{
    Database& db = session.database;
    if (!db.isOpen() && !db.open(resolveConnectionString(session.strConnectionString, session.installation)))
        refuse(db.lastError());
    return runReadOnlyQuery(db, freeQueryHead(kind) + tail);
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
