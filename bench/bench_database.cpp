// Writes as an engine does: 2,000 subscribers, 50 UPDATEs each of rows reached through the views
// the engines write through (the subscriber, its primary call handler, its contact rules,
// messaging rules and menu entries), one transaction per subscriber. The same UPDATEs run three
// ways on the same installation: through Database::execute, through Recordset updates (the
// directory lists and per-object work recordsets), and as statements prepared once with
// QSqlQuery (the baseline). Run by hand: build/bench/bench_database [subscribers]
#include "bench/BenchInstallations.h"
#include "core/Database.h"
#include "core/Installation.h"
#include "core/Recordset.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <map>

namespace {

constexpr int kUpdatesPerObject = 50;

// One column changed by one UPDATE; `text` columns get texts, the others numbers.
struct Change {
    const char* column;
    bool text;
};

const Change kSubscriberChanges[] = {
    {"FirstName", true}, {"LastName", true}, {"DisplayName", true}, {"BillingID", true}, {"XFerString", true},
    {"ReferralExtension", true}, {"RemoteAddress", true}, {"ConversationName", true}, {"SkipAheadTime", true},
    {"SkipBackTime", true}, {"DCRReviewTimeout", true}, {"DCRSendTimeout", true}, {"StackOrder", true}};
const Change kHandlerChanges[] = {
    {"TextName", true}, {"PrePendDigits", true}, {"PostPendDigits", true}, {"AfterMessageConversation", true},
    {"ScheduleObjectName", true}, {"MaxMsgLen", false}, {"EditMsg", false}, {"SendUrgentMsg", false},
    {"SendPrivateMsg", false}, {"OneKeyDelay", false}, {"AfterMessageAction", false}, {"Language", false},
    {"AfterMessageObjectIDType", false}};
// Child rows: one column of every row of the object.
struct ChildChange {
    const char* view;
    const char* column;
    int rows;
};
const ChildChange kChildChanges[] = {{"vw_ContactRule", "TransferRings", 6},
                                     {"vw_MessagingRule", "Reprompts", 6},
                                     {"vw_MenuEntry", "Locked", 12}};

static_assert(std::size(kSubscriberChanges) + std::size(kHandlerChanges) + 6 + 6 + 12 == kUpdatesPerObject);

struct Object {
    QString subscriberId;
    QString handlerId;
    QStringList childAliases[std::size(kChildChanges)];
};

QVariant newValue(const Change& change, int pass, int index)
{
    return change.text ? QVariant(QStringLiteral("p%1-%2").arg(pass).arg(index)) : QVariant(pass * 100 + index);
}

QString updateOf(const char* view, const char* column, const char* where)
{
    return QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3").arg(QLatin1StringView(view), QLatin1StringView(column),
                                                               QLatin1StringView(where));
}

// Every UPDATE of one object as statement text and values, in the order all three ways run them.
void forEachUpdate(const Object& object, int pass, const std::function<void(const QString&, const QVariantList&)>& run)
{
    int index = 0;
    for (const Change& change : kSubscriberChanges)
        run(updateOf("vw_Subscriber", change.column, "SubscriberObjectID = ?"),
            {newValue(change, pass, index++), object.subscriberId});
    for (const Change& change : kHandlerChanges)
        run(updateOf("vw_CallHandler_Primary", change.column, "CallHandlerObjectID = ?"),
            {newValue(change, pass, index++), object.handlerId});
    for (size_t kind = 0; kind < std::size(kChildChanges); ++kind)
        for (const QString& alias : object.childAliases[kind])
            run(updateOf(kChildChanges[kind].view, kChildChanges[kind].column, "ParentObjectID = ? AND Alias = ?"),
                {pass * 100 + index++, object.handlerId, alias});
}

QList<Object> pickObjects(Database& db, int count)
{
    QList<Object> objects;
    const QueryResult rows = db.select(
        QStringLiteral("SELECT SubscriberObjectID, CallHandlerObjectID FROM vw_Subscriber WHERE SubscriberType = 1 "
                       "ORDER BY SubscriberObjectID LIMIT ?"),
        {count});
    for (const auto& row : rows.rows) {
        Object object{row[0].toString(), row[1].toString(), {}};
        for (size_t kind = 0; kind < std::size(kChildChanges); ++kind)
            for (const auto& child : db.select(QStringLiteral("SELECT Alias FROM %1 WHERE ParentObjectID = ? ORDER BY Alias")
                                                   .arg(QLatin1StringView(kChildChanges[kind].view)),
                                               {object.handlerId})
                                         .rows)
                object.childAliases[kind] << child[0].toString();
        objects << object;
    }
    return objects;
}

double runBaseline(Database& db, const QList<Object>& objects, int pass)
{
    QSqlDatabase& connection = db.connection();
    std::map<QString, QSqlQuery> prepared;
    QElapsedTimer timer;
    timer.start();
    for (const Object& object : objects) {
        connection.transaction();
        forEachUpdate(object, pass, [&](const QString& sql, const QVariantList& values) {
            auto found = prepared.find(sql);
            if (found == prepared.end()) {
                found = prepared.emplace(sql, QSqlQuery(connection)).first;
                found->second.prepare(sql);
            }
            for (int i = 0; i < values.size(); ++i)
                found->second.bindValue(i, values[i]);
            if (!found->second.exec())
                qFatal("baseline UPDATE failed");
        });
        connection.commit();
    }
    return timer.nsecsElapsed() / 1e6;
}

double runExecute(Database& db, const QList<Object>& objects, int pass)
{
    QElapsedTimer timer;
    timer.start();
    for (const Object& object : objects)
        db.runInTransaction([&] {
            forEachUpdate(object, pass, [&](const QString& sql, const QVariantList& values) { db.execute(sql, values); });
        });
    return timer.nsecsElapsed() / 1e6;
}

// The subscriber and its handler through directory lists with the "Optimize" index, the child
// rows through work recordsets opened per object. `openMs` receives the time spent opening those.
double runRecordsets(Database& db, const QList<Object>& objects, int pass, double& openMs)
{
    Recordset subscribers;
    subscribers.open(QStringLiteral("Select * from vw_Subscriber order by SubscriberObjectID"), db, LockType::Optimistic);
    subscribers.setOptimize(QStringLiteral("SubscriberObjectID"));
    Recordset handlers;
    handlers.open(QStringLiteral("Select * from vw_CallHandler_Primary order by CallHandlerObjectID"), db, LockType::Optimistic);
    handlers.setOptimize(QStringLiteral("CallHandlerObjectID"));

    QElapsedTimer timer;
    timer.start();
    qint64 openNs = 0;
    for (const Object& object : objects)
        db.runInTransaction([&] {
            int index = 0;
            subscribers.moveFirst();
            subscribers.find(QStringLiteral("SubscriberObjectID='%1'").arg(object.subscriberId));
            for (const Change& change : kSubscriberChanges) {
                subscribers.setValue(QLatin1StringView(change.column), newValue(change, pass, index++));
                subscribers.update();
            }
            handlers.moveFirst();
            handlers.find(QStringLiteral("CallHandlerObjectID='%1'").arg(object.handlerId));
            for (const Change& change : kHandlerChanges) {
                handlers.setValue(QLatin1StringView(change.column), newValue(change, pass, index++));
                handlers.update();
            }
            for (const ChildChange& child : kChildChanges) {
                QElapsedTimer opening;
                opening.start();
                Recordset rows;
                rows.setCursorLocation(CursorLocation::Client);
                rows.open(QStringLiteral("SELECT * FROM %1 WHERE ParentObjectID = ? ORDER BY Alias").arg(QLatin1StringView(child.view)),
                          db, LockType::Optimistic, {object.handlerId});
                openNs += opening.nsecsElapsed();
                for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
                    rows.setValue(QLatin1StringView(child.column), pass * 100 + index++);
                    rows.update();
                }
            }
        });
    openMs = openNs / 1e6;
    return timer.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int objectCount = 2000;
    // About 85 % of a demo directory's subscribers are ordinary ones.
    const int size = benchSizes(argc, argv, {2500}).value(0);
    QTemporaryDir dir;
    QString error;
    if (!createBenchInstallation(dir.path(), size, &error)) {
        out << "cannot create installation: " << error << Qt::endl;
        return 1;
    }
    Database db;
    if (!db.open({Installation::at(dir.path()).databaseFile(), {}})) {
        out << "cannot open the database: " << db.lastError() << Qt::endl;
        return 1;
    }
    const QList<Object> objects = pickObjects(db, objectCount);
    const int updates = objects.size() * kUpdatesPerObject;
    out << objects.size() << " objects x " << kUpdatesPerObject << " UPDATEs, one transaction per object" << Qt::endl;

    const double baselineMs = runBaseline(db, objects, 1);
    const double executeMs = runExecute(db, objects, 2);
    double openMs = 0;
    const double recordsetMs = runRecordsets(db, objects, 3, openMs);

    const auto line = [&](const char* name, double ms) {
        out << QStringLiteral("%1 %2 ms  %3 us per UPDATE  %4x baseline")
                   .arg(QLatin1StringView(name), -28)
                   .arg(ms, 8, 'f', 0)
                   .arg(ms * 1000 / updates, 6, 'f', 1)
                   .arg(ms / baselineMs, 5, 'f', 2)
            << Qt::endl;
    };
    line("prepared QSqlQuery (baseline)", baselineMs);
    line("Database::execute", executeMs);
    line("Recordset updates", recordsetMs);
    out << QStringLiteral("  of which opening work recordsets: %1 ms").arg(openMs, 0, 'f', 0) << Qt::endl;
    return 0;
}
