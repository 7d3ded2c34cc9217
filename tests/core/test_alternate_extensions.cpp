#include "core/AlternateExtensions.h"
#include "core/RunLog.h"
#include "core/Session.h"
#include "tests/support/TempInstallation.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kDomainPrimary = resources::englishString(343);
const QString kErrorTail = QStringLiteral(") in procedure %1 of Module modVelmoDB");
enum Owner { OwnerSubscriber = 1, OwnerList = 2, OwnerHandler = 3, OwnerInterview = 5, OwnerNameLookup = 6, OwnerLocation = 9 };

class AlternateExtensionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(installation.ok()) << installation.error().toStdString();
        ASSERT_TRUE(session.database.open(resolveConnectionString(session.strConnectionString, session.installation)));
        logFile = log.GenerateNewLogFileName();
        log.WriteLogHeader(logFile, {});
        const QStringList local = select("SELECT LocationObjectID || '|' || DialingDomainName || '|' || HomeServer "
                                         "FROM Location WHERE Alias='default'")[0].split('|');
        std::tie(defaultLocation, dialingDomain, localServer) = std::tuple(local[0], local[1], local[2]);
    }

    void sql(const QString& statement, const QVariantList& values = {}) { session.database.execute(statement, values); }
    void dtmf(const QString& extension, const QString& owner, int ownerType, bool primary, const QVariant& alias = {})
    {
        sql("INSERT INTO DTMFAccessID (DTMFAccessID, ParentObjectID, ParentObjectIDType, IsPrimaryID, Alias, DtmfAccessIDType) "
            "VALUES (?, ?, ?, ?, ?, ?)", {extension, owner, ownerType, primary ? 1 : 0, alias, alias.isNull() ? QVariant() : 1});
    }
    void subscriber(const QString& id, const QString& alias, int type = 1)
    {
        sql("INSERT INTO Subscriber (SubscriberObjectID, Alias, DisplayName, SubscriberType, LocationObjectID) "
            "VALUES (?, ?, ?, ?, ?)", {id, alias, alias.toUpper(), type, defaultLocation});
    }
    void remote(const QString& subscriber, const QString& location, const QString& domain, const QVariant& homeServer)
    {
        sql("INSERT INTO GlobalLocation (LocationObjectID, Alias, TextName, DialingDomainName, HomeServer) VALUES (?, ?, ?, ?, ?)",
            {location, location.toLower(), location + " HQ", domain, homeServer});
        sql("INSERT INTO GlobalSubscriber (SubscriberObjectID, LocationObjectID, Alias, DisplayName, SubscriberType) "
            "VALUES (?, ?, ?, ?, 1)", {subscriber, location, subscriber.toLower(), subscriber});
    }
    // First column of each row, as text; "<null>" for null.
    QStringList select(const QString& statement, const QVariantList& values = {})
    {
        QSqlQuery query(session.database.connection());
        query.prepare(statement);
        for (const QVariant& value : values)
            query.addBindValue(value);
        EXPECT_TRUE(query.exec()) << statement.toStdString();
        QStringList rows;
        while (query.next())
            rows << (query.value(0).isNull() ? QStringLiteral("<null>") : query.value(0).toString());
        return rows;
    }
    QStringList alternatesOf(const QString& owner)
    {
        return select("SELECT DTMFAccessID || ' ' || COALESCE(Alias, '-') || ' ' || COALESCE(DtmfAccessIDType, '-') "
                      "FROM DTMFAccessID WHERE ParentObjectID=? AND IsPrimaryID=0 ORDER BY rowid", {owner});
    }
    QStringList logLines() const   // the lines after the header
    {
        QFile file(logFile);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
        return lines.mid(lines.lastIndexOf(QString(64, u'=')) + 1).filter(QRegularExpression("."));
    }
    QList<DTMFIDMatch> find(const QString& extension)
    {
        return findAllDTMFIDMatchesInTAble(session, extension, [this](const QString& text) { messages << text; });
    }
    // "code|description|alias|name|id" of each match.
    QStringList described(const QList<DTMFIDMatch>& matches)
    {
        QStringList out;
        for (const DTMFIDMatch& m : matches)
            out << QStringList{QString::number(m.ObjectTypeCode), m.Description, m.Alias, m.DisplayName, m.ObjectID}.join('|');
        return out;
    }

    TempInstallation installation;
    Session session{installation.installation()};
    QTemporaryDir programFolder;
    RunLog log{programFolder.path(), {}};
    QString logFile, defaultLocation, dialingDomain, localServer;
    QStringList messages;
};

TEST_F(AlternateExtensionsTest, UnorderedAlternatesTakeTheFreeSlotsFromOne)
{
    dtmf("4417000", "SUB-A", OwnerSubscriber, true);                  // primary: never touched
    dtmf("4417001", "SUB-A", OwnerSubscriber, false, "SYSTEM_DEFINED_ALT_EXT_1");
    dtmf("4417002", "SUB-A", OwnerSubscriber, false);
    dtmf("4417003", "SUB-A", OwnerSubscriber, false);
    dtmf("4417004", "SUB-B", OwnerSubscriber, false);                  // another object's

    EXPECT_EQ(ConvertOldAltExtsToOrderedAltExts(session, log, "SUB-A"), 2);
    // Slot 1 is the object's already: the unordered ones take 2 and 3, never a second 1.
    EXPECT_EQ(alternatesOf("SUB-A"), QStringList({"4417001 SYSTEM_DEFINED_ALT_EXT_1 1", "4417002 SYSTEM_DEFINED_ALT_EXT_2 1",
                                                  "4417003 SYSTEM_DEFINED_ALT_EXT_3 1"}));
    EXPECT_EQ(logLines(), QStringList({"    Converting unordered alternate extension to - SYSTEM_DEFINED_ALT_EXT_2= 4417002",
                                       "    Converting unordered alternate extension to - SYSTEM_DEFINED_ALT_EXT_3= 4417003"}));
    EXPECT_EQ(select("SELECT COALESCE(Alias, '-') FROM DTMFAccessID WHERE ParentObjectID='SUB-A' AND IsPrimaryID=1"), QStringList{"-"});
    EXPECT_EQ(alternatesOf("SUB-B"), QStringList{"4417004 - -"});

    dtmf("4417005", "SUB-A", OwnerSubscriber, false);
    EXPECT_EQ(ConvertOldAltExtsToOrderedAltExts(session, log, "SUB-A"), 1);
    EXPECT_EQ(alternatesOf("SUB-A").last(), "4417005 SYSTEM_DEFINED_ALT_EXT_4 1");
    EXPECT_EQ(ConvertOldAltExtsToOrderedAltExts(session, log, "SUB-A"), 0);
    EXPECT_EQ(logLines().size(), 3);
}

TEST_F(AlternateExtensionsTest, FailingRowIsLoggedAndQuotedIdsStayInTheirLiteral)
{
    sql("CREATE TRIGGER refuse BEFORE UPDATE ON DTMFAccessID WHEN OLD.DTMFAccessID='4420001' "
        "BEGIN SELECT RAISE(ABORT, 'refused by the server'); END");
    const int unordered = select("SELECT COUNT(*) FROM DTMFAccessID WHERE IsPrimaryID=0 AND Alias IS NULL")[0].toInt();
    ASSERT_GT(unordered, 0) << "other subscribers of the demo directory have unordered alternates";
    const QString id = "O'Brien' OR ParentObjectID<>'";
    dtmf("4420001", id, OwnerSubscriber, false);
    dtmf("4420002", id, OwnerSubscriber, false);

    EXPECT_EQ(ConvertOldAltExtsToOrderedAltExts(session, log, id), 1);
    EXPECT_EQ(alternatesOf(id), QStringList({"4420001 - -", "4420002 SYSTEM_DEFINED_ALT_EXT_2 1"}));
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "    Converting unordered alternate extension to - SYSTEM_DEFINED_ALT_EXT_1= 4420001");
    EXPECT_TRUE(lines[1].startsWith("(error):") && lines[1].contains("refused by the server")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(kErrorTail.arg("ConvertOldAltExtsToOrderedAltExts")));
    EXPECT_EQ(log.LogErrorCount(), 1);
    EXPECT_EQ(select("SELECT COUNT(*) FROM DTMFAccessID WHERE IsPrimaryID=0 AND Alias IS NULL")[0].toInt(), unordered + 1);
}

TEST_F(AlternateExtensionsTest, LocalSubscribersFirstThenEveryOtherKindOfOwner)
{
    EXPECT_TRUE(find("4422001").isEmpty());
    subscriber("SUB-E", "erik");
    subscriber("SUB-F", "fay");
    subscriber("SUB-SYS", "system", 0);
    subscriber("SUB-INST", "installer", 6);
    sql("INSERT INTO CallHandler (CallHandlerObjectID, Alias, TextName) VALUES ('CH-E', 'sales', 'Sales Menu')");
    sql("INSERT INTO DistributionList (SystemDListObjectID, Alias, DisplayName) VALUES ('DL-G', 'allstaff', 'All Staff')");
    sql("INSERT INTO InterviewHandler (InterviewHandlerObjectID, Alias, TextName) VALUES ('IH-G', 'survey', 'Survey')");
    sql("INSERT INTO NameLookupHandler (NameLookupHandlerObjectID, Alias, TextName) VALUES ('NL-G', 'dir', 'Directory')");
    sql("INSERT INTO GlobalLocation (LocationObjectID, Alias, TextName) VALUES ('LOC-G', 'branch', 'Branch')");
    dtmf("4422001", "CH-E", OwnerHandler, true);   // inserted first, listed after the subscribers
    const std::pair<const char*, int> others[] = {{"DL-G", OwnerList}, {"IH-G", OwnerInterview}, {"NL-G", OwnerNameLookup},
                                                  {"LOC-G", OwnerLocation}, {"GONE-1", OwnerHandler}, {"ODD-1", 4}};
    for (const auto& [owner, type] : others)
        dtmf("4422001", owner, type, true);
    dtmf("4422001", "SUB-E", OwnerSubscriber, true);
    dtmf("4422001", "SUB-F", OwnerSubscriber, false);
    dtmf("4422001", "SUB-SYS", OwnerSubscriber, true);
    dtmf("4422001", "SUB-INST", OwnerSubscriber, false);
    sql("INSERT INTO DTMFAccessID (DTMFAccessID, ParentObjectID, ParentObjectIDType) VALUES ('4422001', 'SUB-E', 1)");

    EXPECT_EQ(described(find("4422001")), QStringList({
        "9|Subscribers primary Id on the local Velmo server|erik|ERIK|SUB-E",
        "9|Subscribers alternate ID on the local Velmo server|fay|FAY|SUB-F",
        "9|Subscribers alternate ID on the local Velmo server|erik|ERIK|SUB-E",   // null IsPrimaryID
        "29|Call Handler|sales|Sales Menu|CH-E",
        "18|Public Distribution List|allstaff|All Staff|DL-G",
        "35|Interview Handler|survey|Survey|IH-G",
        "32|Name Lookup Handler|dir|Directory|NL-G",
        "38|Location Object|branch|Branch|LOC-G",
        "29|Call Handler|||",    // owner deleted since
        "0||||",                 // a kind the search does not name
    }));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(AlternateExtensionsTest, DialingDomainCoversEveryServerOfTheDomainEvenWithoutAName)
{
    subscriber("SUB-H", "hana");
    remote("GS-FAR", "LOC-FAR", dialingDomain, "VELMO-FARAWAY");
    remote("GS-NONAME", "LOC-NONAME", dialingDomain, QVariant());
    remote("GS-OTHER", "LOC-OTHER", "elsewhere-dd", "VELMO-ELSEWHERE");
    for (const char* owner : {"SUB-H", "GS-FAR", "GS-NONAME", "GS-OTHER"})
        dtmf("4425001", owner, OwnerSubscriber, owner != QLatin1String("SUB-H"));

    EXPECT_EQ(described(find("4425001")), QStringList{"9|Subscribers alternate ID on the local Velmo server|hana|HANA|SUB-H"});
    session.strDialingDomainName = dialingDomain;
    EXPECT_EQ(described(find("4425001")), QStringList({
        "9|" + resources::englishString(344) + localServer + "|hana|HANA|SUB-H",
        "9|" + kDomainPrimary + "VELMO-FARAWAY|gs-far|GS-FAR|GS-FAR",
        "9|" + kDomainPrimary + "|gs-noname|GS-NONAME|GS-NONAME",
    }));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(AlternateExtensionsTest, QuotesStayInsideTheirLiteralsAndAFailingQueryIsShown)
{
    remote("GS-Q", "LOC-Q", "o'hare-dd", "VELMO-Q");
    sql("INSERT INTO CallHandler (CallHandlerObjectID, Alias, TextName) VALUES ('CH''Q', 'q''handler', 'Q''s Menu')");
    dtmf("44'27", "GS-Q", OwnerSubscriber, true);
    dtmf("44'27", "CH'Q", OwnerHandler, true);
    session.strDialingDomainName = "o'hare-dd";
    EXPECT_EQ(described(find("44'27")), QStringList({"9|" + kDomainPrimary + "VELMO-Q|gs-q|GS-Q|GS-Q",
                                                     "29|Call Handler|q'handler|Q's Menu|CH'Q"}));
    EXPECT_TRUE(find("x' OR '1'='1").isEmpty());
    EXPECT_TRUE(messages.isEmpty());

    // Without the dialing domain's table the subscriber search fails; the other owners are still found.
    for (const char* statement : {"DROP TRIGGER Location_mirror_insert", "DROP TRIGGER Location_mirror_update",
                                  "DROP TRIGGER Location_mirror_delete", "DROP TABLE GlobalLocation"})
        sql(statement);
    EXPECT_EQ(described(find("44'27")), QStringList{"29|Call Handler|q'handler|Q's Menu|CH'Q"});
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("(error):")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].endsWith(kErrorTail.arg("findAllDTMFIDMatchesInTAble")));
}

}  // namespace
