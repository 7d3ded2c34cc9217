// The simulated VelmoDb schema: objects by server version, writes through the views, text
// comparison without regard to case, and the SQL the tool sends being understood.
#include "velmo/Schema.h"

#include "core/Errors.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlField>
#include <QSqlRecord>
#include <QStringList>
#include <QUuid>
#include <gtest/gtest.h>

namespace {

// An in-memory database of its own per test.
class SchemaDb {
public:
    SchemaDb() : m_name(QUuid::createUuid().toString())
    {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(QStringLiteral(":memory:"));
        db.open();
    }
    ~SchemaDb()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }

    QSqlDatabase db;

    // Runs a statement; fails the test when the database refuses it.
    QSqlQuery run(const QString& sql, const QVariantList& values = {})
    {
        QSqlQuery query(db);
        EXPECT_TRUE(query.prepare(sql)) << sql.toStdString() << ": " << query.lastError().text().toStdString();
        for (const QVariant& value : values)
            query.addBindValue(value);
        EXPECT_TRUE(query.exec()) << sql.toStdString() << ": " << query.lastError().text().toStdString();
        return query;
    }
    QVariant scalar(const QString& sql, const QVariantList& values = {})
    {
        QSqlQuery query = run(sql, values);
        return query.next() ? query.value(0) : QVariant();
    }
    QStringList objects(const QString& type)
    {
        QStringList names;
        QSqlQuery query = run(QStringLiteral("SELECT name FROM sqlite_master WHERE type = ? ORDER BY name"), {type});
        while (query.next())
            names << query.value(0).toString();
        return names;
    }
    QStringList columns(const QString& tableOrView)
    {
        QStringList names;
        QSqlQuery query = run(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {tableOrView});
        while (query.next())
            names << query.value(0).toString();
        return names;
    }

private:
    QString m_name;
};

const QString kSubscriberId = QStringLiteral("6A2F31C0-1111-4B6E-9D1A-0000000000A1");
const QString kHandlerId = QStringLiteral("6A2F31C0-2222-4B6E-9D1A-0000000000B2");

void addSubscriberWithHandler(SchemaDb& s, const QString& extension)
{
    s.run(QStringLiteral("INSERT INTO Subscriber (SubscriberObjectID, CallHandlerObjectID, Alias, FirstName, LastName, "
                         "DisplayName, SubscriberType, XFerString) VALUES (?, ?, 'JSmith', 'Jan', 'Smith', 'Jan Smith', 1, ?)"),
          {kSubscriberId, kHandlerId, extension});
    s.run(QStringLiteral("INSERT INTO CallHandler (CallHandlerObjectID, Alias, TextName, IsPrimary, MaxMsgLen) "
                         "VALUES (?, 'ch_jsmith', 'Jan Smith', 1, 300)"),
          {kHandlerId});
    s.run(QStringLiteral("INSERT INTO DTMFAccessID (DTMFAccessID, ParentObjectID, ParentObjectIDType, IsPrimaryID) VALUES (?, ?, 1, 1)"),
          {extension, kSubscriberId});
}

TEST(Schema, PrimaryHandlerViewsExistFrom4_0_2_111On)
{
    SchemaDb older;
    velmo::createSchema(older.db, 4, 0, 2, 110);
    const QStringList olderViews = older.objects(QStringLiteral("view"));
    EXPECT_TRUE(olderViews.contains(QStringLiteral("vw_CallHandler")));
    EXPECT_FALSE(olderViews.contains(QStringLiteral("vw_CallHandler_Primary")));
    EXPECT_FALSE(olderViews.contains(QStringLiteral("vw_CallHandler_NonPrimary")));
    // The tool's query for the list fails on such a server, as it must.
    QSqlQuery query(older.db);
    EXPECT_FALSE(query.exec(QStringLiteral("Select * from vw_CallHandler_NonPrimary order by CallHandlerObjectID")));

    SchemaDb newer;
    velmo::createSchema(newer.db, 4, 0, 2, 111);
    const QStringList newerViews = newer.objects(QStringLiteral("view"));
    EXPECT_TRUE(newerViews.contains(QStringLiteral("vw_CallHandler_Primary")));
    EXPECT_TRUE(newerViews.contains(QStringLiteral("vw_CallHandler_NonPrimary")));
}

TEST(Schema, EveryViewAndTableTheToolUsesExists)
{
    SchemaDb s;
    velmo::createSchema(s.db, 5, 0, 0, 200);
    const QStringList views = s.objects(QStringLiteral("view"));
    for (const char* view : {"vw_Subscriber", "vw_CallHandler", "vw_CallHandler_Primary", "vw_CallHandler_NonPrimary", "vw_COS",
                             "vw_Location", "vw_DistributionList", "vw_SystemDListMember", "vw_InterviewHandler",
                             "vw_NameLookupHandler", "vw_DTMFAccessID", "vw_MenuEntry", "vw_MessagingRule", "vw_ContactRule",
                             "vw_NotificationDevice", "vw_NotificationRule", "vw_NotificationMWI"})
        EXPECT_TRUE(views.contains(QLatin1StringView(view))) << view;
    const QStringList tables = s.objects(QStringLiteral("table"));
    for (const char* table : {"Subscriber", "SubscriberEx", "GlobalSubscriber", "CallHandler", "ContactRule", "MessagingRule",
                              "MenuEntry", "NotificationDevice", "NotificationRule", "NotificationMWI", "DTMFAccessID", "COS",
                              "Location", "GlobalLocation", "DistributionList", "SystemDListMember", "InterviewHandler",
                              "NameLookupHandler", "Schedule"})
        EXPECT_TRUE(tables.contains(QLatin1StringView(table))) << table;
    // Each view offers its table's columns and, for directory objects, the primary extension.
    EXPECT_TRUE(s.columns(QStringLiteral("vw_Subscriber")).contains(QStringLiteral("DTMFAccessID")));
    EXPECT_TRUE(s.columns(QStringLiteral("vw_CallHandler_Primary")).contains(QStringLiteral("DTMFAccessID")));
    EXPECT_EQ(s.columns(QStringLiteral("vw_ContactRule")), s.columns(QStringLiteral("ContactRule")));
}

TEST(Schema, ColumnsAndTablesFollowTheServerVersion)
{
    SchemaDb older;
    velmo::createSchema(older.db, 4, 0, 2, 22);
    SchemaDb newer;
    velmo::createSchema(newer.db, 5, 0, 0, 179);

    const QStringList olderColumns = older.columns(QStringLiteral("vw_Subscriber"));
    const QStringList newerColumns = newer.columns(QStringLiteral("vw_Subscriber"));
    EXPECT_TRUE(olderColumns.contains(QStringLiteral("RemoteNodeID")));
    EXPECT_FALSE(olderColumns.contains(QStringLiteral("AllowedConversations")));
    EXPECT_FALSE(olderColumns.contains(QStringLiteral("PromptSpeed")));
    EXPECT_TRUE(newerColumns.contains(QStringLiteral("AllowedConversations")));
    EXPECT_TRUE(newerColumns.contains(QStringLiteral("encryptmessages")));
    // Phone applications moved from the subscriber row to SubscriberEx at 5.0(0).179.
    EXPECT_TRUE(olderColumns.contains(QStringLiteral("PhoneAppsEnabled")));
    EXPECT_FALSE(newerColumns.contains(QStringLiteral("PhoneAppsEnabled")));
    EXPECT_FALSE(older.objects(QStringLiteral("table")).contains(QStringLiteral("SubscriberEx")));
    EXPECT_TRUE(newer.objects(QStringLiteral("table")).contains(QStringLiteral("SubscriberEx")));

    SchemaDb oldest;
    velmo::createSchema(oldest.db, 4, 0, 2, 21);
    EXPECT_FALSE(oldest.columns(QStringLiteral("vw_Subscriber")).contains(QStringLiteral("RemoteNodeID")));
}

TEST(Schema, UpdateInsertAndDeleteThroughViewsReachTheBaseRows)
{
    SchemaDb s;
    velmo::createSchema(s.db, 4, 0, 3, 120);
    addSubscriberWithHandler(s, QStringLiteral("1234"));

    // An update matched on every column the view shows, joined extension included, as the
    // tool's recordsets write back.
    s.run(QStringLiteral("UPDATE vw_Subscriber SET DisplayName = ?, XFerString = ? WHERE SubscriberObjectID = ? AND DTMFAccessID = ?"),
          {QStringLiteral("Smith, Jan"), QStringLiteral("91234"), kSubscriberId, QStringLiteral("1234")});
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT DisplayName FROM Subscriber")).toString(), QStringLiteral("Smith, Jan"));
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT XFerString FROM Subscriber")).toString(), QStringLiteral("91234"));
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT DisplayName FROM GlobalSubscriber WHERE SubscriberObjectID = ?"), {kSubscriberId}).toString(),
              QStringLiteral("Smith, Jan"));

    s.run(QStringLiteral("UPDATE vw_CallHandler_Primary SET MaxMsgLen = 600, Language = NULL WHERE CallHandlerObjectID = ?"), {kHandlerId});
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT MaxMsgLen FROM CallHandler")).toInt(), 600);

    // Child rows have no key: the row written is the one holding the old values.
    s.run(QStringLiteral("INSERT INTO ContactRule (ParentObjectID, Alias, Extension) VALUES (?, 'Standard', '1234')"), {kHandlerId});
    s.run(QStringLiteral("INSERT INTO ContactRule (ParentObjectID, Alias, Extension) VALUES (?, 'Alternate', '1234')"), {kHandlerId});
    s.run(QStringLiteral("UPDATE vw_ContactRule SET Extension = '5678', TransferRings = 5 WHERE ParentObjectID = ? AND Alias = 'Alternate'"),
          {kHandlerId});
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT Extension FROM ContactRule WHERE Alias = 'Alternate'")).toString(), QStringLiteral("5678"));
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT Extension FROM ContactRule WHERE Alias = 'Standard'")).toString(), QStringLiteral("1234"));

    // Inserts, as the alternate extension step adds a slot.
    s.run(QStringLiteral("INSERT INTO vw_DTMFAccessID (DTMFAccessID, ParentObjectID, Alias, DtmfAccessIDType, IsPrimaryID, ParentObjectIDType) "
                         "VALUES ('81234', ?, 'SYSTEM_DEFINED_ALT_EXT_2', 1, 0, 1)"),
          {kSubscriberId});
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT Alias FROM DTMFAccessID WHERE DTMFAccessID = '81234'")).toString(),
              QStringLiteral("SYSTEM_DEFINED_ALT_EXT_2"));
    // A directory object inserted without an object ID gets one; the filtered view fills its flag.
    s.run(QStringLiteral("INSERT INTO vw_CallHandler_NonPrimary (Alias, TextName) VALUES ('sales', 'Sales')"));
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT IsPrimary FROM CallHandler WHERE Alias = 'sales'")).toInt(), 0);
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT length(CallHandlerObjectID) FROM CallHandler WHERE Alias = 'sales'")).toInt(), 36);

    // Deletes, as the remove-all step drops every alternate.
    s.run(QStringLiteral("DELETE FROM vw_DTMFAccessID WHERE ParentObjectId = ? AND IsPrimaryID = '0'"), {kSubscriberId});
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM DTMFAccessID WHERE ParentObjectID = ?"), {kSubscriberId}).toInt(), 1);
}

TEST(Schema, DoubledChildRowsAreEachWrittenOnce)
{
    SchemaDb s;
    velmo::createSchema(s.db, 4, 0, 3, 120);
    for (int i = 0; i < 2; ++i)
        s.run(QStringLiteral("INSERT INTO MenuEntry (ParentObjectID, Alias, Action) VALUES ('H', '1', 0)"));
    s.run(QStringLiteral("INSERT INTO MenuEntry (ParentObjectID, Alias, Action) VALUES ('H', '2', 0)"));
    // Two identical view rows: each base row takes the change once, the other key stays.
    s.run(QStringLiteral("UPDATE vw_MenuEntry SET Action = Action + 1 WHERE Alias = '1'"));
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT group_concat(Action, ',') FROM (SELECT Action FROM MenuEntry ORDER BY rowid)")).toString(),
              QStringLiteral("1,1,0"));
    s.run(QStringLiteral("DELETE FROM vw_MenuEntry WHERE Alias = '1'"));
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM MenuEntry")).toInt(), 1);
}

TEST(Schema, TextComparesWithoutRegardToCase)
{
    SchemaDb s;
    velmo::createSchema(s.db, 4, 0, 3, 12);
    addSubscriberWithHandler(s, QStringLiteral("1234"));
    s.run(QStringLiteral("INSERT INTO Location (LocationObjectID, Alias, TextName, DestinationType, DialingDomainName) "
                         "VALUES ('L1', 'Default', 'Headquarters', 1, 'HarborDD')"));
    s.run(QStringLiteral("INSERT INTO ContactRule (ParentObjectID, Alias) VALUES (?, 'Alternate')"), {kHandlerId});

    EXPECT_EQ(s.scalar(QStringLiteral("SELECT DialingDomainName FROM vw_Location WHERE Alias='default'")).toString(), QStringLiteral("HarborDD"));
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM vw_Subscriber WHERE Alias = 'jsmith'")).toInt(), 1);
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM vw_Subscriber WHERE SubscriberObjectID = ?"), {kSubscriberId.toLower()}).toInt(), 1);
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM ContactRule WHERE ParentObjectID = ? AND Alias='alternate'"), {kHandlerId}).toInt(), 1);
    // Ordering and grouping fold case too.
    s.run(QStringLiteral("INSERT INTO GlobalLocation (LocationObjectID, HomeServer) VALUES ('G1', 'VELMO-A'), ('G2', 'velmo-a')"));
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(DISTINCT HomeServer) FROM GlobalLocation WHERE HomeServer IS NOT NULL")).toInt(), 1);
}

TEST(Schema, ToolQueriesWithQuotedNumbersAndCastsWork)
{
    SchemaDb s;
    velmo::createSchema(s.db, 4, 0, 3, 12);
    addSubscriberWithHandler(s, QStringLiteral("0042"));
    s.run(QStringLiteral("INSERT INTO DTMFAccessID (DTMFAccessID, ParentObjectID, ParentObjectIDType, IsPrimaryID) VALUES ('5100', ?, 1, 0)"),
          {kSubscriberId});

    // Numbers compared with quoted texts, through the views.
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM vw_Subscriber WHERE vw_Subscriber.SubscriberType = '1'")).toInt(), 1);
    EXPECT_EQ(s.scalar(QStringLiteral("Select COUNT(*) from vw_CallHandler WHERE IsPrimary='1'")).toInt(), 1);
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM DTMFAccessID WHERE ParentOBjectID=? AND IsPrimaryID='0'"), {kSubscriberId}).toInt(), 1);

    // The extension range query compares extensions as numbers: 0042 lies in 40 to 50.
    const QString range = QStringLiteral(
        "SELECT DISTINCT vw_Subscriber.Alias, vw_Subscriber.DTMFAccessID as 'Extension' FROM vw_Subscriber INNER JOIN vw_DTMFAccessID "
        "ON vw_Subscriber.SubscriberObjectID=vw_DTMFAccessID.ParentObjectID LEFT OUTER JOIN vw_COS ON vw_Subscriber.CosObjectId=vw_COS.CosObjectID "
        "WHERE vw_Subscriber.SubscriberType IN (1,3) AND vw_DTMFAccessID.DTMFAccessID<= CAST('%1' as decimal(20)) "
        "AND vw_DTMFAccessID.DTMFAccessID>=CAST('%2' as decimal(20))");
    QSqlQuery inRange = s.run(range.arg(QStringLiteral("50"), QStringLiteral("40")));
    ASSERT_TRUE(inRange.next());
    EXPECT_EQ(inRange.value(1).toString(), QStringLiteral("0042"));
    // Found by an alternate extension, listed once with its primary extension.
    QSqlQuery byAlternate = s.run(range.arg(QStringLiteral("6000"), QStringLiteral("5000")));
    ASSERT_TRUE(byAlternate.next());
    EXPECT_EQ(byAlternate.value(1).toString(), QStringLiteral("0042"));
    EXPECT_FALSE(byAlternate.next());
    EXPECT_FALSE(s.run(range.arg(QStringLiteral("41"), QStringLiteral("0"))).next());

    // A primary call handler shows its subscriber's extension, as the pickers search it.
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT vw_CallHandler.DtmfAccessId FROM vw_CallHandler INNER JOIN vw_Subscriber ON "
                                      "vw_CallHandler.CallHandlerObjectId = vw_Subscriber.CallHandlerObjectId "
                                      "WHERE vw_Subscriber.SubscriberType IN (1,3) AND (vw_CallHandler.DTMFAccessID LIKE '00%') "))
                  .toString(),
              QStringLiteral("0042"));
}

TEST(Schema, ValuesWrittenByQtComeBackTheSame)
{
    SchemaDb s;
    velmo::createSchema(s.db, 4, 0, 3, 12);
    const QDateTime disabled(QDate(1990, 12, 25), QTime(8, 0));
    s.run(QStringLiteral("INSERT INTO vw_MessagingRule (ParentObjectID, Alias, TimeExpires, PlayPleaseRecordPrompt, Reprompts) VALUES ('H', 'Busy', ?, ?, ?)"),
          {disabled, true, 3});
    QSqlQuery row = s.run(QStringLiteral("SELECT TimeExpires, PlayPleaseRecordPrompt, typeof(PlayPleaseRecordPrompt) FROM MessagingRule"));
    ASSERT_TRUE(row.next());
    // The demo directory writes its dates in the same text form.
    EXPECT_EQ(row.value(0).toString(), QStringLiteral("1990-12-25T08:00:00.000"));
    EXPECT_EQ(row.value(0).toDateTime(), disabled);
    EXPECT_EQ(row.value(1).toInt(), 1);
    EXPECT_EQ(row.value(2).toString(), QStringLiteral("integer"));
    // A row read and written back matches itself, dates and blobs included.
    s.run(QStringLiteral("INSERT INTO NotificationRule (ParentObjectID, Alias, dlvruleCriteriaID) VALUES ('S', 'Pager Rule', ?)"),
          {QByteArray("\x01\x00\x00\x00", 4)});
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM vw_NotificationRule WHERE dlvruleCriteriaID = ?"), {QByteArray("\x01\x00\x00\x00", 4)}).toInt(), 1);
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM vw_MessagingRule WHERE TimeExpires = ?"), {disabled}).toInt(), 1);
}

TEST(Schema, ColumnTypesFollowTheDescription)
{
    using velmo::ColumnType;
    EXPECT_EQ(velmo::columnType(QStringLiteral("vw_CallHandler"), QStringLiteral("onekeydelay")), ColumnType::Int32);
    EXPECT_EQ(velmo::columnType(QStringLiteral("vw_CallHandler"), QStringLiteral("SendUrgentMsg")), ColumnType::Int16);
    EXPECT_EQ(velmo::columnType(QStringLiteral("vw_CallHandler_Primary"), QStringLiteral("DTMFAccessID")), ColumnType::Text);
    EXPECT_EQ(velmo::columnType(QStringLiteral("ContactRule"), QStringLiteral("TimeExpires")), ColumnType::DateTime);
    EXPECT_EQ(velmo::columnType(QStringLiteral("vw_NotificationRule"), QStringLiteral("dlvruleevent")), ColumnType::Binary);
    EXPECT_EQ(velmo::columnType(QStringLiteral("vw_Subscriber"), QStringLiteral("FirstDigitTimeOut")), ColumnType::Float);
    EXPECT_FALSE(velmo::columnType(QStringLiteral("vw_Subscriber"), QStringLiteral("NoSuchColumn")).has_value());
    EXPECT_FALSE(velmo::columnType(QStringLiteral("vw_NoSuchView"), QStringLiteral("Alias")).has_value());

    // The declared types are the ones Qt's driver maps to the matching value kinds.
    SchemaDb s;
    velmo::createSchema(s.db, 5, 0, 0, 200);
    const QSqlRecord record = s.db.record(QStringLiteral("CallHandler"));
    EXPECT_EQ(record.field(QStringLiteral("MaxMsgLen")).metaType().id(), QMetaType::Int);
    EXPECT_EQ(record.field(QStringLiteral("IsPrimary")).metaType().id(), QMetaType::Bool);
    EXPECT_EQ(record.field(QStringLiteral("Alias")).metaType().id(), QMetaType::QString);
}

// What the call handler pages and their engine read and write, view by view, with the type each
// value is read or written as.
TEST(Schema, CallHandlerBranchViewsHaveEveryColumnWithItsType)
{
    using T = velmo::ColumnType;
    const QList<std::pair<const char*, T>> handler{
        {"CallHandlerObjectID", T::Text}, {"Alias", T::Text}, {"TextName", T::Text}, {"IsPrimary", T::Bool},
        {"DTMFAccessID", T::Text}, {"AdministratorObjectID", T::Text}, {"RecipientObjectID", T::Text},
        {"AdministratorObjectIDType", T::Int16}, {"RecipientObjectIDType", T::Int16}, {"Language", T::Int32},
        {"ScheduleObjectName", T::Text}, {"MaxMsgLen", T::Int32}, {"EditMsg", T::Int16}, {"SendUrgentMsg", T::Int16},
        {"SendPrivateMsg", T::Int16}, {"OnekeyDelay", T::Int32}, {"PrePendDigits", T::Text}, {"PostPendDigits", T::Text},
        {"AfterMessageAction", T::Int16}, {"AfterMessageConversation", T::Text}, {"AfterMessageObjectID", T::Text},
        {"AfterMessageObjectIDType", T::Int16}};
    const QList<std::pair<const char*, QList<std::pair<const char*, T>>>> views{
        {"vw_CallHandler", handler},
        {"vw_CallHandler_NonPrimary", handler},
        {"vw_CallHandler_Primary", handler},
        {"vw_ContactRule",
         {{"ParentObjectID", T::Text}, {"Alias", T::Text}, {"Action", T::Int16}, {"TimeExpires", T::DateTime},
          {"SwitchID", T::Int16}, {"PlayTransferWaitPrompt", T::Bool}, {"Extension", T::Text}, {"TransferType", T::Int16},
          {"TransferHoldingMode", T::Int16}, {"TransferAnnounce", T::Int16}, {"TransferIntroduce", T::Int16},
          {"TransferConfirm", T::Int16}, {"TransferScreening", T::Int16}, {"TransferRings", T::Int32}}},
        {"vw_MessagingRule",
         {{"ParentObjectID", T::Text}, {"Alias", T::Text}, {"TimeExpires", T::DateTime}, {"IgnoreDigits", T::Int16},
          {"Reprompts", T::Int16}, {"RepromptDelay", T::Int16}, {"PlayWhat", T::Int16}, {"StreamPath", T::Text},
          {"PlayPleaseRecordPrompt", T::Bool}, {"Action", T::Int16}, {"ConversationName", T::Text},
          {"DestinationObjectID", T::Text}, {"DestinationObjectIDType", T::Int16}}},
        {"vw_MenuEntry",
         {{"ParentObjectID", T::Text}, {"Alias", T::Text}, {"Locked", T::Int16}, {"Action", T::Int16},
          {"ConversationName", T::Text}, {"DestinationObjectID", T::Text}, {"DestinationObjectIDType", T::Int16}}},
        {"vw_Subscriber", {{"SubscriberObjectID", T::Text}, {"CallHandlerObjectID", T::Text}, {"DisplayName", T::Text}}},
        {"vw_DistributionList", {{"SystemDListObjectID", T::Text}, {"DisplayName", T::Text}, {"DTMFAccessID", T::Text}}},
        {"Schedule", {{"DisplayName", T::Text}}},
    };
    SchemaDb s;
    velmo::createSchema(s.db, 4, 0, 3, 12);
    for (const auto& [view, columns] : views) {
        const QStringList present = s.columns(QLatin1String(view));
        for (const auto& [column, type] : columns) {
            SCOPED_TRACE(std::string(view) + "." + column);
            EXPECT_TRUE(present.contains(QLatin1String(column), Qt::CaseInsensitive));
            EXPECT_EQ(velmo::columnType(QLatin1String(view), QLatin1String(column)), type);
        }
    }
}

TEST(Schema, CreatingTwiceFailsWithoutLeavingHalfAnObject)
{
    SchemaDb s;
    velmo::createSchema(s.db, 4, 0, 3, 12);
    const int objects = s.scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")).toInt();
    EXPECT_THROW(velmo::createSchema(s.db, 4, 0, 3, 12), KestraneError);
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")).toInt(), objects);
}

}  // namespace
