// The demo directory: repeatable from its seed, complete per object, consistent across tables.
#include "velmo/DemoDirectory.h"
#include "velmo/Schema.h"

#include "core/Errors.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// An empty database file in a folder of its own, open through the tool's database layer.
class DemoDb {
public:
    DemoDb()
    {
        const QString file = m_dir.filePath(QStringLiteral("VelmoDb"));
        QFile(file).open(QIODevice::WriteOnly);
        EXPECT_TRUE(database.open({file, {}})) << database.lastError().toStdString();
        db = database.connection();
    }
    velmo::DemoDirectoryStats fill(const velmo::InstallationOptions& options)
    {
        velmo::createSchema(db, options.major, options.minor, options.release, options.build);
        return velmo::fillDemoDirectory(database, options);
    }
    QVariant scalar(const QString& sql)
    {
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(sql)) << sql.toStdString() << ": " << query.lastError().text().toStdString();
        return query.next() ? query.value(0) : QVariant();
    }
    int count(const QString& sql) { return scalar(sql).toInt(); }

    // A digest of every row of every table, in storage order.
    QByteArray digest()
    {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        QSqlQuery tables(db);
        tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
        while (tables.next()) {
            const QString table = tables.value(0).toString();
            hash.addData(table.toUtf8());
            QSqlQuery rows(db);
            rows.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table));
            while (rows.next())
                for (int i = 0; i < rows.record().count(); ++i) {
                    const QVariant value = rows.value(i);
                    hash.addData(QByteArray(value.isNull() ? "\x01" : "\x02"));
                    hash.addData(value.typeId() == QMetaType::QByteArray ? value.toByteArray() : value.toString().toUtf8());
                    hash.addData(QByteArray(1, '\0'));
                }
        }
        return hash.result();
    }

private:
    QTemporaryDir m_dir;

public:
    Database database;
    QSqlDatabase db;   // the same connection, for the checks' own queries
};

velmo::InstallationOptions options(int subscribers, std::uint32_t seed = 7)
{
    velmo::InstallationOptions o;
    o.major = 5, o.minor = 0, o.release = 0, o.build = 179;
    o.subscriberCount = subscribers;
    o.seed = seed;
    o.switchCount = 3;
    o.languages = {QStringLiteral("ENU"), QStringLiteral("DEU")};
    return o;
}

TEST(DemoDirectory, SameSeedGivesTheSameContentOtherSeedsDoNot)
{
    DemoDb first, second, other;
    first.fill(options(150, 42));
    second.fill(options(150, 42));
    other.fill(options(150, 43));
    const QByteArray digest = first.digest();
    EXPECT_EQ(digest, second.digest());
    EXPECT_NE(digest, other.digest());
    EXPECT_EQ(first.scalar(QStringLiteral("SELECT group_concat(Alias) FROM (SELECT Alias FROM Subscriber ORDER BY rowid LIMIT 5)")),
              second.scalar(QStringLiteral("SELECT group_concat(Alias) FROM (SELECT Alias FROM Subscriber ORDER BY rowid LIMIT 5)")));
}

TEST(DemoDirectory, KindsAndCountsAreAsDocumented)
{
    DemoDb d;
    const auto stats = d.fill(options(400));

    // n subscribers of the editable kinds, each remote kind present, plus the two system accounts.
    int editable = 0;
    for (int kind : {1, 2, 5, 7, 8, 9}) {
        EXPECT_GE(stats.subscribersByType.value(kind), 1) << kind;
        EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM vw_Subscriber WHERE SubscriberType = %1").arg(kind)),
                  stats.subscribersByType.value(kind));
        editable += stats.subscribersByType.value(kind);
    }
    EXPECT_EQ(editable, 400);
    EXPECT_EQ(stats.subscribersByType.value(0), 1);
    EXPECT_EQ(stats.subscribersByType.value(6), 1);
    EXPECT_EQ(stats.subscribersByType.value(3), 0);
    EXPECT_GT(stats.subscribersByType.value(1), 300);

    // The statistics are the database's own numbers.
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM Subscriber")), stats.subscribers);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM vw_CallHandler_Primary")), stats.primaryCallHandlers);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM vw_CallHandler_NonPrimary")), stats.nonPrimaryCallHandlers);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM ContactRule")), stats.contactRules);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM vw_MessagingRule")), stats.messagingRules);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM MenuEntry")), stats.menuEntries);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM DTMFAccessID")), stats.dtmfAccessIds);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM DTMFAccessID WHERE IsPrimaryID = 0")), stats.alternateExtensions);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM GlobalSubscriber")), stats.globalSubscribers);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM GlobalLocation")), stats.globalLocations);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM SystemDListMember")), stats.distributionListMembers);
    EXPECT_EQ(stats.subscriberExRows, stats.subscribers);
    EXPECT_EQ(stats.nonPrimaryCallHandlers, 3 + 20);
    EXPECT_EQ(stats.interviewHandlers, 2);
    EXPECT_EQ(stats.nameLookupHandlers, 2);
    EXPECT_EQ(stats.distributionLists, 3 + 16);
    EXPECT_EQ(stats.classesOfService, 5);
    EXPECT_EQ(stats.schedules, 4);
    EXPECT_EQ(stats.locations, 9);

    // Every call handler has its 6 transfer rules, 6 greetings and 12 keys, by their aliases.
    const QString perHandler = QStringLiteral(
        "SELECT COUNT(*) FROM CallHandler ch WHERE (SELECT COUNT(DISTINCT Alias) FROM %1 r WHERE r.ParentObjectID = ch.CallHandlerObjectID) <> %2 "
        "OR (SELECT COUNT(*) FROM %1 r WHERE r.ParentObjectID = ch.CallHandlerObjectID) <> %2");
    EXPECT_EQ(d.count(perHandler.arg(QStringLiteral("ContactRule")).arg(6)), 0);
    EXPECT_EQ(d.count(perHandler.arg(QStringLiteral("MessagingRule")).arg(6)), 0);
    EXPECT_EQ(d.count(perHandler.arg(QStringLiteral("MenuEntry")).arg(12)), 0);
    EXPECT_EQ(stats.contactRules, 6 * (stats.primaryCallHandlers + stats.nonPrimaryCallHandlers));
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM ContactRule WHERE Alias IN ('Alternate', 'Standard', 'Off Hours', "
                                     "'Follow-Me Here', 'Follow-Me Home', 'Follow-Me Mobile')")),
              stats.contactRules);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM MessagingRule WHERE Alias IN ('Standard', 'Off Hours', 'Busy', "
                                     "'Alternate', 'Internal', 'Error')")),
              stats.messagingRules);

    // Ordinary subscribers alone have 14 devices and rules and an "MWI-1" device.
    const int ordinary = stats.subscribersByType.value(1);
    EXPECT_EQ(stats.notificationDevices, 14 * ordinary);
    EXPECT_EQ(stats.notificationRules, 14 * ordinary);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM Subscriber s WHERE SubscriberType = 1 AND ("
                                     "(SELECT COUNT(*) FROM NotificationDevice n WHERE n.ParentObjectID = s.SubscriberObjectID) <> 14 OR "
                                     "(SELECT COUNT(*) FROM NotificationRule n WHERE n.ParentObjectID = s.SubscriberObjectID "
                                     " AND n.Alias = n.dlvRuleDevice || ' Rule') <> 14 OR "
                                     "(SELECT COUNT(*) FROM NotificationMWI m WHERE m.ParentObjectID = s.SubscriberObjectID AND Alias = 'MWI-1') <> 1)")),
              0);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM NotificationDevice n JOIN Subscriber s ON s.SubscriberObjectID = n.ParentObjectID "
                                     "WHERE s.SubscriberType <> 1")),
              0);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM NotificationDevice WHERE Alias = 'SMS'")), ordinary);
}

TEST(DemoDirectory, NonPrimaryHandlerCountCanBeChosenApartFromTheSubscribers)
{
    DemoDb d;
    velmo::InstallationOptions chosen = options(20);
    chosen.nonPrimaryCallHandlerCount = 1200;
    const auto stats = d.fill(chosen);
    EXPECT_EQ(stats.nonPrimaryCallHandlers, 1200);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM vw_CallHandler_NonPrimary")), 1200);
    EXPECT_EQ(stats.subscribers, 20 + 2);   // the two system accounts on top
    const QString perHandler = QStringLiteral(
        "SELECT COUNT(*) FROM vw_CallHandler_NonPrimary ch WHERE (SELECT COUNT(*) FROM %1 r WHERE r.ParentObjectID = ch.CallHandlerObjectID) <> %2");
    EXPECT_EQ(d.count(perHandler.arg(QStringLiteral("ContactRule")).arg(6)), 0);
    EXPECT_EQ(d.count(perHandler.arg(QStringLiteral("MessagingRule")).arg(6)), 0);
    EXPECT_EQ(d.count(perHandler.arg(QStringLiteral("MenuEntry")).arg(12)), 0);
    // Extensions stay unique however many handlers there are, and aliases too.
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) - COUNT(DISTINCT DTMFAccessID) FROM DTMFAccessID")), 0);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) - COUNT(DISTINCT Alias) FROM CallHandler")), 0);

    // Left at 0, the count follows the subscribers as before.
    DemoDb fallback;
    EXPECT_EQ(fallback.fill(options(20)).nonPrimaryCallHandlers, 3 + 5);
}

TEST(DemoDirectory, ObjectsAreConsistentAcrossTables)
{
    DemoDb d;
    const auto stats = d.fill(options(300));

    // Each subscriber points at its own primary call handler; the system accounts have no
    // extension, every other subscriber exactly one primary extension.
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM vw_Subscriber s JOIN vw_CallHandler_Primary h ON "
                                     "h.CallHandlerObjectID = s.CallHandlerObjectID AND h.AdministratorObjectID = s.SubscriberObjectID")),
              stats.subscribers);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM Subscriber s WHERE SubscriberType NOT IN (0, 6) AND "
                                     "(SELECT COUNT(*) FROM DTMFAccessID d WHERE d.ParentObjectID = s.SubscriberObjectID AND IsPrimaryID = 1) <> 1")),
              0);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM vw_Subscriber WHERE SubscriberType IN (0, 6) AND DTMFAccessID IS NOT NULL")), 0);
    // A primary call handler shows its subscriber's extension.
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM vw_Subscriber s JOIN vw_CallHandler h ON h.CallHandlerObjectID = s.CallHandlerObjectID "
                                     "WHERE s.DTMFAccessID IS NOT h.DTMFAccessID")),
              0);

    // Aliases are unique among subscribers of the whole dialing domain; extensions are unique.
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(DISTINCT Alias) FROM GlobalSubscriber")), stats.globalSubscribers);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(DISTINCT DTMFAccessID) FROM DTMFAccessID")), stats.dtmfAccessIds);
    // Object IDs are GUID-like texts.
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM Subscriber WHERE SubscriberObjectID NOT GLOB "
                                     "'[0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F]-*' OR length(SubscriberObjectID) <> 36")),
              0);

    // Remote kinds live at a delivery location of their kind, and their address names it.
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM vw_Subscriber s JOIN vw_Location l ON l.LocationObjectID = s.LocationObjectID "
                                     "WHERE s.SubscriberType IN (5, 7, 8, 9) AND l.DestinationType = s.SubscriberType AND "
                                     "s.RemoteAddress LIKE '%:' || l.DTMFAccessID || '\\_%' ESCAPE '\\'")),
              stats.subscribersByType.value(5) + stats.subscribersByType.value(7) + stats.subscribersByType.value(8)
                  + stats.subscribersByType.value(9));
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM Subscriber WHERE SubscriberType = 5 AND RemoteAddress NOT LIKE 'AMIS:%'")), 0);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM Subscriber WHERE SubscriberType = 7 AND RemoteAddress NOT LIKE 'OMNI:%'")), 0);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM Subscriber WHERE SubscriberType = 2 AND RemoteAddress NOT LIKE 'SMTP:%'")), 0);

    // References point at objects that exist.
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM Subscriber s LEFT JOIN COS c ON c.COSObjectID = s.COSObjectID WHERE c.COSObjectID IS NULL")), 0);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM CallHandler h WHERE ScheduleObjectName NOT IN (SELECT DisplayName FROM Schedule)")), 0);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM MenuEntry m LEFT JOIN CallHandler h ON h.CallHandlerObjectID = m.DestinationObjectID "
                                     "WHERE m.DestinationObjectIDType = 3 AND h.CallHandlerObjectID IS NULL")),
              0);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM CallHandler h WHERE IsPrimary = 0 AND AdministratorObjectIDType = 2 AND "
                                     "AdministratorObjectID NOT IN (SELECT SystemDListObjectID FROM DistributionList)")),
              0);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM SystemDListMember m WHERE DirectoryID NOT IN (SELECT DirectoryID FROM Subscriber) "
                                     "AND DirectoryID NOT IN (SELECT DirectoryID FROM DistributionList)")),
              0);
    // "All Subscribers" holds every ordinary subscriber, as the selection by list finds them.
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM vw_Subscriber INNER JOIN vw_SystemDListMember ON "
                                     "vw_Subscriber.DirectoryID=vw_SystemDListMember.DirectoryID JOIN vw_DistributionList l ON "
                                     "l.SystemDListObjectID = vw_SystemDListMember.ParentObjectID WHERE l.Alias = 'allsubscribers'")),
              stats.subscribersByType.value(1));

    // Switch assignments are the installation's integrations; dates are dates.
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM Subscriber WHERE SwitchID NOT IN (%1, %2, %3)")
                          .arg(velmo::demoIntegrationId(1)).arg(velmo::demoIntegrationId(2)).arg(velmo::demoIntegrationId(3))),
              0);
    EXPECT_TRUE(d.scalar(QStringLiteral("SELECT PWTimeChanged FROM Subscriber WHERE SubscriberType = 1 LIMIT 1")).toDateTime().isValid());
    EXPECT_EQ(d.scalar(QStringLiteral("SELECT TimeExpires FROM ContactRule WHERE Alias = 'Off Hours' LIMIT 1")).toDateTime(),
              QDateTime(QDate(1990, 12, 25), QTime(8, 0)));
    EXPECT_GT(d.count(QStringLiteral("SELECT COUNT(*) FROM Subscriber WHERE RemoteNodeID IS NOT NULL AND LegacyMailbox IS NOT NULL")), 0);
    EXPECT_GE(d.count(QStringLiteral("SELECT COUNT(DISTINCT HomeServer) FROM Subscriber")), 2);
}

TEST(DemoDirectory, DefaultLocationAndDialingDomain)
{
    DemoDb d;
    const auto stats = d.fill(options(120));
    QSqlQuery location(d.db);
    ASSERT_TRUE(location.exec(QStringLiteral("Select * from vw_Location order by LocationObjectID")));
    int defaults = 0;
    while (location.next())
        if (location.value(QStringLiteral("Alias")).toString() == QLatin1String("default")) {
            ++defaults;
            EXPECT_EQ(location.value(QStringLiteral("DialingDomainName")).toString(), stats.dialingDomainName);
            EXPECT_EQ(location.value(QStringLiteral("LocationObjectID")).toString(), stats.defaultLocationObjectID);
        }
    EXPECT_EQ(defaults, 1);
    EXPECT_FALSE(stats.dialingDomainName.isEmpty());

    // The dialing-domain conflict search finds local subscribers and those of the other servers,
    // each with its home server.
    const QString search = QStringLiteral(
        "SELECT GlobalLocation.HomeServer FROM DTMFAccessID INNER JOIN GlobalSubscriber "
        "ON dtmfaccessid.parentobjectid=globalsubscriber.subscriberobjectid "
        "INNER JOIN globallocation ON globallocation.locationobjectid=globalsubscriber.locationobjectid "
        "WHERE SubscriberType NOT IN (0,6) AND GlobalLocation.DialingDomainName='%1'AND DTMFAccessID.DTMFAccessid='%2'");
    const QString localExtension = d.scalar(QStringLiteral("SELECT DTMFAccessID FROM vw_Subscriber WHERE SubscriberType = 1 LIMIT 1")).toString();
    EXPECT_EQ(d.scalar(search.arg(stats.dialingDomainName, localExtension)).toString(), stats.serverName);
    const QString remoteExtension = d.scalar(QStringLiteral(
        "SELECT d.DTMFAccessID FROM DTMFAccessID d JOIN GlobalSubscriber g ON g.SubscriberObjectID = d.ParentObjectID "
        "WHERE g.SubscriberObjectID NOT IN (SELECT SubscriberObjectID FROM Subscriber) LIMIT 1")).toString();
    ASSERT_FALSE(remoteExtension.isEmpty());
    const QString remoteServer = d.scalar(search.arg(stats.dialingDomainName, remoteExtension)).toString();
    EXPECT_TRUE(remoteServer.startsWith(QLatin1String("VELMO-")));
    EXPECT_NE(remoteServer, stats.serverName);
    // A location found by its extension in the conflict search is in GlobalLocation too.
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM DTMFAccessID WHERE ParentObjectIDType = 9 AND "
                                     "ParentObjectID NOT IN (SELECT LocationObjectID FROM GlobalLocation)")),
              0);
}

TEST(DemoDirectory, OlderServersGetTheirOwnShapeOfData)
{
    DemoDb older;
    velmo::InstallationOptions old = options(300);
    old.major = 4, old.minor = 0, old.release = 3, old.build = 12;
    const auto oldStats = older.fill(old);
    ASSERT_GT(oldStats.alternateExtensions, 0);
    // Before 4.0(3).120 alternates have no slots; SubscriberEx does not exist.
    EXPECT_EQ(older.count(QStringLiteral("SELECT COUNT(*) FROM DTMFAccessID WHERE IsPrimaryID = 0 AND Alias IS NOT NULL")), 0);
    EXPECT_EQ(oldStats.subscriberExRows, 0);
    EXPECT_EQ(older.count(QStringLiteral("SELECT COUNT(*) FROM Subscriber WHERE PhoneAppsEnabled = 0")), oldStats.subscribers);
    // Integrations: at most two on servers older than 4.2(0).27.
    EXPECT_EQ(velmo::demoIntegrationCount(old), 2);
    EXPECT_EQ(older.count(QStringLiteral("SELECT COUNT(*) FROM Subscriber WHERE SwitchID NOT IN (1, 2)")), 0);

    DemoDb newer;
    velmo::InstallationOptions recent = options(300);
    recent.major = 4, recent.minor = 0, recent.release = 3, recent.build = 120;
    const auto newStats = newer.fill(recent);
    // Slots numbered from 1 per subscriber, each alias once per subscriber.
    EXPECT_GT(newer.count(QStringLiteral("SELECT COUNT(*) FROM DTMFAccessID WHERE Alias = 'SYSTEM_DEFINED_ALT_EXT_1' AND DtmfAccessIDType = 1")), 0);
    EXPECT_EQ(newer.count(QStringLiteral("SELECT COUNT(*) FROM (SELECT ParentObjectID, Alias FROM DTMFAccessID WHERE Alias IS NOT NULL "
                                         "GROUP BY ParentObjectID, Alias HAVING COUNT(*) > 1)")),
              0);
    EXPECT_EQ(newer.count(QStringLiteral("SELECT COUNT(*) FROM DTMFAccessID d WHERE Alias = 'SYSTEM_DEFINED_ALT_EXT_2' AND NOT EXISTS "
                                         "(SELECT 1 FROM DTMFAccessID e WHERE e.ParentObjectID = d.ParentObjectID AND e.Alias = 'SYSTEM_DEFINED_ALT_EXT_1')")),
              0);
    EXPECT_GT(newStats.alternateExtensions, 0);
}

TEST(DemoDirectory, DominoInstallationsHaveType3SubscribersAndSmallDirectoriesWork)
{
    DemoDb domino;
    velmo::InstallationOptions o = options(40);
    o.connector = velmo::DirectoryConnector::Domino;
    const auto stats = domino.fill(o);
    EXPECT_EQ(stats.subscribersByType.value(1), 0);
    EXPECT_EQ(domino.count(QStringLiteral("SELECT COUNT(*) FROM vw_Subscriber WHERE SubscriberType IN (1,3)")), stats.subscribersByType.value(3));
    EXPECT_EQ(stats.notificationDevices, 14 * stats.subscribersByType.value(3));

    // No subscribers: the system accounts and handlers are still there; no integrations: switch 0.
    DemoDb empty;
    velmo::InstallationOptions none = options(0);
    none.switchCount = 0;
    const auto emptyStats = empty.fill(none);
    EXPECT_EQ(emptyStats.subscribers, 2);
    EXPECT_EQ(emptyStats.nonPrimaryCallHandlers, 8);
    EXPECT_EQ(empty.count(QStringLiteral("SELECT COUNT(*) FROM CallHandler WHERE IsPrimary = 0 AND AdministratorObjectID IS NULL")), 0);
    EXPECT_EQ(empty.count(QStringLiteral("SELECT COUNT(*) FROM ContactRule WHERE SwitchID <> 0")), 0);
}

TEST(DemoDirectory, InstallationFileIsLeftInWalModeWithItsIndexes)
{
    DemoDb d;
    velmo::createSchema(d.db, 5, 0, 0, 179);
    const int indexes = d.count(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index'"));
    velmo::fillDemoDirectory(d.database, options(50));
    EXPECT_EQ(d.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index'")), indexes);
    QSqlQuery plan(d.db);
    ASSERT_TRUE(plan.exec(QStringLiteral("EXPLAIN QUERY PLAN SELECT * FROM vw_ContactRule WHERE ParentObjectID = 'x'")));
    ASSERT_TRUE(plan.next());
    EXPECT_TRUE(plan.value(3).toString().contains(QLatin1String("INDEX"))) << plan.value(3).toString().toStdString();
}

TEST(DemoDirectory, RefusesADatabaseWithoutSchemaAndCommitsNothing)
{
    DemoDb d;
    d.db.exec(QStringLiteral("CREATE TABLE Subscriber (SubscriberObjectID TEXT)"));
    EXPECT_THROW(velmo::fillDemoDirectory(d.database, options(10)), KestraneError);
    EXPECT_EQ(d.count(QStringLiteral("SELECT COUNT(*) FROM Subscriber")), 0);

    Database closed;
    EXPECT_THROW(velmo::fillDemoDirectory(closed, options(10)), KestraneError);
}

}  // namespace
