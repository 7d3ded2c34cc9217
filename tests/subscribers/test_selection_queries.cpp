#include "subscribers/SelectionQueries.h"

#include "core/DirectoryLists.h"
#include "core/Session.h"
#include "tests/support/Backends.h"
#include "tests/support/TempInstallation.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

#include <ostream>

// The criteria are written with designated initializers; GCC 12 still asks for every other member.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using Type = SubscriberSelectionType;
using Criteria = SubscriberSelectionCriteria;

// What one View handed to the page.
struct Outcome {
    QList<SubscriberGridRow> rows;
    QStringList messages;
    QList<int> begins;

    QStringList texts() const
    {
        QStringList list;
        for (const SubscriberGridRow& r : rows)
            list << QStringList{r.alias, r.firstName, r.lastName, r.displayName, r.extension, r.homeServer,
                                r.remoteNodeID, r.legacyMailbox, r.cosTextName, r.subscriberObjectID,
                                r.callHandlerObjectID}.join('|');
        return list;
    }
    QSet<QString> ids() const
    {
        QSet<QString> set;
        for (const SubscriberGridRow& row : rows)
            set << row.subscriberObjectID;
        return set;
    }
};

velmo::InstallationOptions version(int major, int minor, int release, int build)
{
    return TempInstallation::smallServer(major, minor, release, build);
}

class SelectionQueries : public ::testing::Test {
protected:
    // The first version whose subscribers have remote node IDs.
    explicit SelectionQueries(const velmo::InstallationOptions& options = version(4, 0, 2, 22))
        : installation(options), session(installation.installation())
    {
    }

    void SetUp() override
    {
        ASSERT_TRUE(installation.ok()) << installation.error().toStdString();
        ASSERT_TRUE(startSession(session));
    }

    // Runs a View and checks what holds on every way out: progress ends once, a walk reports
    // every result row, and the count returned is the count of rows handed over.
    Outcome run(const Criteria& c, qint16 kind = 1) { return run(session, c, kind); }
    Outcome run(Session& on, const Criteria& c, qint16 kind)
    {
        Outcome o;
        int lastStep = 0;
        int ends = 0;
        const SelectionProgress progress{[&](int total) { o.begins << total; }, [&](int done) { lastStep = done; },
                                         [&] { ++ends; }};
        const int returned = runSubscriberSelection(
            on, c, kind, [&](const SubscriberGridRow& row) { o.rows << row; }, progress,
            [&](const QString& text) { o.messages << text; });
        EXPECT_EQ(ends, 1);
        EXPECT_EQ(lastStep, o.begins.value(0));
        EXPECT_LE(o.begins.size(), 1);
        EXPECT_EQ(returned, o.rows.size());
        return o;
    }

    QSet<QString> column(const QString& sql, const QVariantList& values = {})
    {
        QSet<QString> set;
        for (const auto& row : session.database.select(sql, values).rows)
            set << row[0].toString();
        return set;
    }
    QString scalar(const QString& sql, const QVariantList& values = {})
    {
        return session.database.select(sql, values).rows.value(0).value(0).toString();
    }
    QSet<QString> ofKind(const QString& types, const QString& condition = "1=1", const QVariantList& values = {})
    {
        return column("SELECT SubscriberObjectID FROM Subscriber WHERE SubscriberType IN (" + types + ") AND " + condition, values);
    }

    void reloadClassesOfService()
    {
        session.rsCOS.close();
        session.rsCOS.open("Select * from vw_COS order by TextName ASC", session.database);
    }

    TempInstallation installation;
    Session session;
};

// The pieces of the statements, as the page's queries are written.
const QString kFullColumns =
    "SELECT vw_subscriber.Alias, vw_subscriber.DisplayName, vw_subscriber.FirstName, vw_subscriber.LastName, "
    "vw_Subscriber.DTMFAccessID AS 'Extension', vw_Subscriber.HomeServer, vw_Cos.TextName AS 'COS', "
    "vw_Subscriber.SubscriberObjectID, vw_Subscriber.CallHandlerObjectID, vw_Subscriber.RemoteNodeID, "
    "vw_Subscriber.LegacyMailbox ";
const QString kShortColumns =
    "SELECT vw_subscriber.Alias, vw_subscriber.DisplayName, vw_subscriber.FirstName, vw_subscriber.LastName, "
    "vw_Subscriber.DTMFAccessID AS 'Extension', vw_Subscriber.HomeServer, vw_Cos.TextName AS 'COS', "
    "vw_Subscriber.SubscriberObjectID, vw_Subscriber.CallHandlerObjectID ";
const QString kFromCos = "FROM vw_Subscriber INNER JOIN vw_COS ON vw_Subscriber.CosObjectId=vw_COS.CosObjectID ";
const QString kOrdinary = "WHERE vw_Subscriber.SubscriberType IN (1,3)";
const QString kRangeHead =
    "SELECT DISTINCT vw_Subscriber.Alias, vw_Subscriber.FirstName, vw_Subscriber.LastName, vw_Subscriber.DisplayName, "
    "vw_Subscriber.SubscriberObjectID, vw_Subscriber.DTMFAccessID as 'Extension', vw_Subscriber.HomeServer, "
    "vw_Subscriber.CallHandlerObjectID, ";
const QString kRangeFrom =
    "FROM vw_Subscriber INNER JOIN vw_DTMFAccessID ON vw_Subscriber.SubscriberObjectID=vw_DTMFAccessID.ParentObjectID "
    "LEFT OUTER JOIN vw_COS ON vw_Subscriber.CosObjectId=vw_COS.CosObjectID ";

TEST_F(SelectionQueries, StatementOfEveryTypeOnAServerWithRemoteNodes)
{
    const auto cos = session.database.select("SELECT Alias, COSObjectID FROM COS ORDER BY Alias LIMIT 1").rows.first();
    const QString list = scalar("SELECT SystemDListObjectID FROM DistributionList WHERE DisplayName = 'All Subscribers'");
    const QString server = scalar("SELECT HomeServer FROM Subscriber WHERE SubscriberType = 1");
    const QString location = scalar("SELECT LocationObjectID FROM Location WHERE DestinationType = 8");
    const QString node = scalar("SELECT RemoteNodeID FROM Subscriber WHERE RemoteNodeID IS NOT NULL");
    ASSERT_FALSE(node.isEmpty());

    // Each statement, and what it finds in this installation: its subscribers, or, where it finds
    // nobody (every subscriber here has a switch, and the first VPIM location is unused), its
    // no-rows message.
    struct Case {
        Criteria criteria;
        QString statement;
        QSet<QString> found;
        QString noRows;
    };
    const Case cases[] = {
        {{.type = Type::AllSubscribers},
         "SELECT vw_subscriber.Alias, vw_subscriber.DisplayName, vw_subscriber.FirstName, vw_subscriber.LastName, "
         "vw_CallHandler.DTMFAccessID AS 'Extension', vw_Subscriber.HomeServer, vw_Cos.TextName AS 'COS', "
         "vw_Subscriber.SubscriberObjectID, vw_CallHandler.CallHandlerObjectID, vw_Subscriber.RemoteNodeID, "
         "vw_Subscriber.LegacyMailbox FROM vw_Subscriber INNER JOIN vw_CallHandler ON "
         "vw_Subscriber.CallHandlerObjectID=vw_CallHandler.CallHandlerObjectID LEFT OUTER JOIN vw_COS ON "
         "vw_Subscriber.CosObjectId=vw_COS.CosObjectID WHERE vw_Subscriber.SubscriberType IN (1,3) ORDER BY vw_Subscriber.Alias",
         ofKind("1,3"), {}},
        {{.type = Type::ExtensionRange, .extensionLow = "  1000 ", .extensionHigh = "1099\t"},
         kRangeHead + "vw_Subscriber.RemoteNodeID, vw_Subscriber.LegacyMailbox, vw_COS.TextName as 'COS' " + kRangeFrom + kOrdinary
             + " AND vw_DTMFAccessID.DTMFAccessID<= CAST('1099' as decimal(20)) AND vw_DTMFAccessID.DTMFAccessID>=CAST('1000' as decimal(20))",
         ofKind("1,3", "SubscriberObjectID IN (SELECT ParentObjectID FROM DTMFAccessID "
                       "WHERE CAST(DTMFAccessID AS INTEGER) BETWEEN 1000 AND 1099)"),
         {}},
        {{.type = Type::DistributionList, .distributionListName = "All", .distributionListObjectID = list},
         kFullColumns + "FROM vw_Subscriber INNER JOIN vw_SystemDListMember ON vw_Subscriber.DirectoryID=vw_SystemDListMember.DirectoryID "
             "LEFT OUTER JOIN vw_COS ON vw_Subscriber.CosObjectId=vw_COS.CosObjectID " + kOrdinary
             + " AND vw_SystemDlistMember.ParentOBjectID='" + list + "' ORDER By vw_Subscriber.Alias",
         ofKind("1,3", "DirectoryID IN (SELECT DirectoryID FROM SystemDListMember WHERE ParentObjectID = ?)", {list}), {}},
        {{.type = Type::Switch, .switchName = "None"},
         kFullColumns + kFromCos + kOrdinary + " AND (SwitchID IS NULL or SwitchID=0) ORDER By vw_Subscriber.Alias",
         ofKind("1,3", "(SwitchID IS NULL OR SwitchID = 0)"), "No subscribers found for that switch"},
        {{.type = Type::Switch, .switchName = "Second", .switchID = 2},
         kFullColumns + kFromCos + kOrdinary + " AND SwitchID=2 ORDER By vw_Subscriber.Alias", ofKind("1,3", "SwitchID = 2"),
         {}},
        {{.type = Type::MailServer, .mailServer = server},
         kFullColumns + kFromCos + kOrdinary + " AND HomeServer='" + server + "' ORDER By vw_Subscriber.Alias",
         ofKind("1,3", "HomeServer = ?", {server}), {}},
        {{.type = Type::ClassOfService, .cosName = "any", .cosAlias = cos[0].toString()},
         kFullColumns + kFromCos + kOrdinary + " AND vw_Subscriber.COSObjectID='" + cos[1].toString() + "' ORDER BY vw_Subscriber.Alias",
         ofKind("1,3", "COSObjectID = ?", {cos[1]}), {}},
        // No kind clause here, and two blanks before WHERE.
        {{.type = Type::DeliveryLocation, .locationName = "VPIM", .locationObjectID = location},
         kFullColumns + kFromCos + " WHERE vw_Subscriber.LocationObjectID='" + location + "' ORDER By vw_Subscriber.Alias",
         column("SELECT SubscriberObjectID FROM Subscriber WHERE LocationObjectID = ?", {location}),
         "No subscribers associated with that location"},
        {{.type = Type::RemoteNodeID, .remoteNodeID = node},
         kFullColumns + kFromCos + kOrdinary + " AND RemoteNodeID='" + node + "' ORDER By vw_Subscriber.Alias",
         ofKind("1,3", "RemoteNodeID = ?", {node}), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.criteria.type));
        EXPECT_EQ(subscriberSelectionStatement(session, c.criteria, 1), c.statement);
        ASSERT_EQ(c.found.isEmpty(), !c.noRows.isEmpty());
        const Outcome outcome = run(c.criteria);
        EXPECT_EQ(outcome.ids(), c.found);
        EXPECT_EQ(outcome.messages, c.noRows.isEmpty() ? QStringList() : QStringList{c.noRows});
    }
    // Other kinds compare the type as quoted text.
    EXPECT_EQ(subscriberSelectionStatement(session, {.type = Type::MailServer, .mailServer = server}, 8),
              kFullColumns + kFromCos + "WHERE vw_Subscriber.SubscriberType = '8' AND HomeServer='" + server
                  + "' ORDER By vw_Subscriber.Alias");
    // The CSV type is no query.
    EXPECT_TRUE(subscriberSelectionStatement(session, {.type = Type::CsvFile}, 1).isEmpty());
    const Outcome csv = run({.type = Type::CsvFile});
    EXPECT_TRUE(csv.rows.isEmpty() && csv.messages.isEmpty());

    const Outcome all = run({.type = Type::AllSubscribers});
    EXPECT_TRUE(std::any_of(all.rows.begin(), all.rows.end(), [](const SubscriberGridRow& row) {
        return !row.remoteNodeID.isEmpty() && !row.legacyMailbox.isEmpty();
    }));
}

class OldServerSelectionQueries : public SelectionQueries {
protected:
    OldServerSelectionQueries() : SelectionQueries(version(4, 0, 2, 21)) {}
};

TEST_F(OldServerSelectionQueries, ShortVariantsLeaveTheRemoteColumnsEmpty)
{
    EXPECT_EQ(subscriberSelectionStatement(session, {.type = Type::AllSubscribers}, 2),
              "SELECT vw_subscriber.Alias, vw_subscriber.DisplayName, vw_subscriber.FirstName, vw_subscriber.LastName, "
              "vw_CallHandler.DTMFAccessID AS 'Extension', vw_Subscriber.HomeServer, vw_Cos.TextName AS 'COS', "
              "vw_Subscriber.SubscriberObjectID, vw_CallHandler.CallHandlerObjectID FROM vw_Subscriber INNER JOIN vw_CallHandler ON "
              "vw_Subscriber.CallHandlerObjectID=vw_CallHandler.CallHandlerObjectID LEFT OUTER JOIN vw_COS ON "
              "vw_Subscriber.CosObjectId=vw_COS.CosObjectID WHERE vw_Subscriber.SubscriberType = '2' ORDER BY vw_Subscriber.Alias");
    const Criteria range{.type = Type::ExtensionRange, .extensionLow = "0", .extensionHigh = "99999999999"};
    EXPECT_EQ(subscriberSelectionStatement(session, range, 1),
              kRangeHead + "vw_COS.TextName as 'COS' " + kRangeFrom + kOrdinary
                  + " AND vw_DTMFAccessID.DTMFAccessID<= CAST('99999999999' as decimal(20)) "
                    "AND vw_DTMFAccessID.DTMFAccessID>=CAST('0' as decimal(20))");
    const Criteria mail{.type = Type::MailServer, .mailServer = scalar("SELECT HomeServer FROM Subscriber WHERE SubscriberType = 1")};
    EXPECT_EQ(subscriberSelectionStatement(session, mail, 1),
              kShortColumns + kFromCos + kOrdinary + " AND HomeServer='" + mail.mailServer + "' ORDER By vw_Subscriber.Alias");

    const QSet<QString> ordinary = ofKind("1,3");
    for (const Criteria& c : {Criteria{.type = Type::AllSubscribers}, range, mail}) {
        SCOPED_TRACE(int(c.type));
        const Outcome outcome = run(c);
        EXPECT_TRUE(outcome.messages.isEmpty()) << outcome.messages.join('|').toStdString();
        ASSERT_FALSE(outcome.rows.isEmpty());
        EXPECT_TRUE(ordinary.contains(outcome.ids()));
        for (const SubscriberGridRow& row : outcome.rows) {
            EXPECT_TRUE(row.remoteNodeID.isEmpty() && row.legacyMailbox.isEmpty());
            EXPECT_FALSE(row.alias.isEmpty() || row.extension.isEmpty() || row.cosTextName.isEmpty()
                         || row.callHandlerObjectID.isEmpty());
        }
    }
    EXPECT_EQ(run(range).ids(), ordinary);
}

TEST_F(SelectionQueries, ExtensionRangeChecksComeBeforeTheQuery)
{
    const QString notNumeric = "Invalid input for extension range.  Please input numbers only.";
    const QString badOrder = "Invalid extension range. First extension must be lower than the second.";
    const std::tuple<const char*, const char*, QString> cases[] = {
        {"abc", "100", notNumeric}, {"100", "1x", notNumeric}, {"", "100", notNumeric}, {"-5", "x", notNumeric},
        {"200", "100", badOrder},   {"-5", "10", badOrder},    {"0", "-1", badOrder},
        {"100", "100", "No subscribers found in that extension range"},
    };
    for (const auto& [low, high, message] : cases) {
        SCOPED_TRACE(std::string(low) + " to " + high);
        const Outcome outcome = run({.type = Type::ExtensionRange, .extensionLow = low, .extensionHigh = high});
        EXPECT_EQ(outcome.messages, QStringList{message});
        EXPECT_TRUE(outcome.rows.isEmpty() && outcome.begins.isEmpty());
    }
}

TEST_F(SelectionQueries, ExtensionRangeListsASubscriberOnceWithItsPrimaryExtension)
{
    const auto subscriber = session.database
                                .select("SELECT s.SubscriberObjectID, d.DTMFAccessID FROM Subscriber s JOIN DTMFAccessID d "
                                        "ON d.ParentObjectID = s.SubscriberObjectID AND d.IsPrimaryID = 1 "
                                        "WHERE s.SubscriberType = 1 ORDER BY s.Alias LIMIT 1")
                                .rows.first();
    const QString id = subscriber[0].toString();
    ASSERT_EQ(scalar("SELECT COUNT(*) FROM DTMFAccessID WHERE CAST(DTMFAccessID AS INTEGER) BETWEEN 77700 AND 77799"), "0");
    for (const char* alternate : {"77701", "77702", "77705"})
        session.database.execute("INSERT INTO DTMFAccessID (DTMFAccessID, ParentObjectID, ParentObjectIDType, IsPrimaryID, "
                                 "DtmfAccessIDType) VALUES (?, ?, 1, 0, 1)",
                                 {alternate, id});

    const Outcome outcome = run({.type = Type::ExtensionRange, .extensionLow = "77700", .extensionHigh = "77709"});
    EXPECT_TRUE(outcome.messages.isEmpty());
    ASSERT_EQ(outcome.rows.size(), 1);
    EXPECT_EQ(outcome.rows[0].subscriberObjectID, id);
    EXPECT_EQ(outcome.rows[0].extension, subscriber[1].toString());   // the primary, outside the range
    EXPECT_EQ(outcome.begins, QList<int>{1});

    // Bounds are inclusive and compared as numbers, not as text.
    EXPECT_EQ(run({.type = Type::ExtensionRange, .extensionLow = "77705", .extensionHigh = "77705"}).ids(), QSet<QString>{id});
    EXPECT_TRUE(run({.type = Type::ExtensionRange, .extensionLow = "9", .extensionHigh = "77701"}).ids().contains(id));
    EXPECT_FALSE(run({.type = Type::ExtensionRange, .extensionLow = "77706", .extensionHigh = "100000"}).ids().contains(id));
}

TEST_F(SelectionQueries, ASubscriberTwiceInTheResultGetsOneRow)
{
    const QString list = scalar("SELECT SystemDListObjectID FROM DistributionList WHERE DisplayName = 'All Subscribers'");
    session.database.execute("INSERT INTO SystemDListMember (ParentObjectID, DirectoryID) "
                             "SELECT ParentObjectID, DirectoryID FROM SystemDListMember WHERE ParentObjectID = ? LIMIT 1",
                             {list});
    const QSet<QString> members =
        ofKind("1,3", "DirectoryID IN (SELECT DirectoryID FROM SystemDListMember WHERE ParentObjectID = ?)", {list});

    const Outcome outcome = run({.type = Type::DistributionList, .distributionListName = "All", .distributionListObjectID = list});
    EXPECT_EQ(outcome.rows.size(), members.size());
    EXPECT_EQ(outcome.ids(), members);
    EXPECT_EQ(outcome.begins, QList<int>{int(members.size()) + 1});   // the doubled row is walked, not added
}

TEST_F(SelectionQueries, EmptyCriteriaAndEmptyResultsTellTheirMessages)
{
    // Nothing chosen: the type's check refuses, though the hidden values are set.
    const QString list = scalar("SELECT SystemDListObjectID FROM DistributionList");
    const QString cos = scalar("SELECT Alias FROM COS");
    const QString location = scalar("SELECT LocationObjectID FROM Location");
    const std::pair<Criteria, QString> checks[] = {
        {{.type = Type::DistributionList, .distributionListObjectID = list}, "You must select a distribution list first"},
        {{.type = Type::Switch, .switchID = 1}, "You must select a switch first"},
        {{.type = Type::MailServer}, "You must select a mailstore first"},
        {{.type = Type::ClassOfService, .cosAlias = cos}, "You must first select a COS"},
        {{.type = Type::DeliveryLocation, .locationObjectID = location}, "You must select a location first"},
    };
    for (const auto& [c, message] : checks) {
        const Outcome outcome = run(c);
        EXPECT_EQ(outcome.messages, QStringList{message});
        EXPECT_TRUE(outcome.rows.isEmpty());
    }

    // A class of service without subscribers (the list is read again to know it).
    session.database.execute("INSERT INTO COS (COSObjectID, Alias, TextName) VALUES ('COS-EMPTY', 'emptycos', 'Empty')");
    reloadClassesOfService();
    const std::tuple<Criteria, qint16, QString> empty[] = {
        {{.type = Type::AllSubscribers}, 4, "No Subscribers found on local system."},   // kind 4 has nobody
        {{.type = Type::ExtensionRange, .extensionLow = "1", .extensionHigh = "1"}, 1,
         "No subscribers found in that extension range"},
        {{.type = Type::DistributionList, .distributionListName = "Gone", .distributionListObjectID = "NO-SUCH-LIST"}, 1,
         "No subscribers found in that distribution list"},
        {{.type = Type::Switch, .switchName = "Switch 99", .switchID = 99}, 1, "No subscribers found for that switch"},
        {{.type = Type::MailServer, .mailServer = "NOSUCHSERVER"}, 1, "No subscribers found for that home server"},
        // Aliases are found without regard to case.
        {{.type = Type::ClassOfService, .cosName = "Empty", .cosAlias = "EMPTYCOS"}, 1,
         "No subscriber found associated with that class of service"},
        {{.type = Type::DeliveryLocation, .locationName = "Gone", .locationObjectID = "NO-SUCH-LOCATION"}, 1,
         "No subscribers associated with that location"},
        // An empty node ID is not refused; it finds nobody.
        {{.type = Type::RemoteNodeID}, 1, "No subscribers associated with that Remote node ID"},
    };
    for (const auto& [c, kind, message] : empty) {
        SCOPED_TRACE(int(c.type));
        const Outcome outcome = run(c, kind);
        EXPECT_EQ(outcome.messages, QStringList{message});
        EXPECT_TRUE(outcome.rows.isEmpty() && outcome.begins.isEmpty());
    }

    // A class of service the directory list does not know ends the View without a word.
    const Criteria unknown{.type = Type::ClassOfService, .cosName = "Gone", .cosAlias = "no such alias"};
    const Outcome silent = run(unknown);
    EXPECT_TRUE(silent.messages.isEmpty() && silent.rows.isEmpty());
    EXPECT_TRUE(subscriberSelectionStatement(session, unknown, 1).isEmpty());
}

TEST_F(SelectionQueries, KindNarrowsEveryTypeButTheDeliveryLocation)
{
    // One ordinary subscriber as a Domino directory shows it (type 3).
    const QString domino = scalar("SELECT SubscriberObjectID FROM Subscriber WHERE SubscriberType = 1 ORDER BY Alias DESC");
    session.database.execute("UPDATE Subscriber SET SubscriberType = 3 WHERE SubscriberObjectID = ?", {domino});

    const Criteria everyExtension{.type = Type::ExtensionRange, .extensionLow = "0", .extensionHigh = "99999999999"};
    for (const auto& [kind, types] : {std::pair<qint16, QString>{1, "1,3"}, {2, "2"}, {5, "5"}, {8, "8"}}) {
        SCOPED_TRACE(kind);
        const QSet<QString> expected = ofKind(types);
        ASSERT_FALSE(expected.isEmpty());
        const Outcome all = run({.type = Type::AllSubscribers}, kind);
        EXPECT_EQ(all.rows.size(), expected.size());
        EXPECT_EQ(all.ids(), expected);
        for (int i = 1; i < all.rows.size(); ++i)
            EXPECT_LE(all.rows[i - 1].alias.compare(all.rows[i].alias, Qt::CaseInsensitive), 0);
        // Alternate extensions double nobody.
        const Outcome range = run(everyExtension, kind);
        EXPECT_EQ(range.rows.size(), expected.size());
        EXPECT_EQ(range.ids(), expected);
    }
    EXPECT_TRUE(run({.type = Type::AllSubscribers}, 1).ids().contains(domino));

    // The delivery location finds its subscribers whatever kind the start page chose.
    const QString location = scalar("SELECT LocationObjectID FROM Subscriber WHERE SubscriberType = 5");
    const QSet<QString> atLocation = column("SELECT SubscriberObjectID FROM Subscriber WHERE LocationObjectID = ?", {location});
    ASSERT_FALSE(atLocation.isEmpty());
    for (qint16 kind : {1, 2, 5})
        EXPECT_EQ(run({.type = Type::DeliveryLocation, .locationName = "AMIS", .locationObjectID = location}, kind).ids(), atLocation);
}

TEST_F(SelectionQueries, SwitchZeroTakesSubscribersWithoutASwitch)
{
    const QStringList two = ofKind("1").values().mid(0, 2);
    session.database.execute("UPDATE Subscriber SET SwitchID = NULL WHERE SubscriberObjectID = ?", {two[0]});
    session.database.execute("UPDATE Subscriber SET SwitchID = 0 WHERE SubscriberObjectID = ?", {two[1]});
    const QSet<QString> none = run({.type = Type::Switch, .switchName = "(none)"}).ids();
    EXPECT_EQ(none, ofKind("1,3", "(SwitchID IS NULL OR SwitchID = 0)"));
    EXPECT_TRUE(none.contains(two[0]) && none.contains(two[1]));

    const QSet<QString> onFirst = ofKind("1,3", "SwitchID = 1");
    ASSERT_FALSE(onFirst.isEmpty());
    EXPECT_EQ(run({.type = Type::Switch, .switchName = "First", .switchID = 1}).ids(), onFirst);
}

TEST_F(SelectionQueries, AQuoteInAValueStaysInsideItsLiteral)
{
    const auto subscriber =
        session.database.select("SELECT SubscriberObjectID, COSObjectID FROM Subscriber WHERE SubscriberType = 1 ORDER BY Alias")
            .rows.first();
    const QString id = subscriber[0].toString();
    session.database.execute("UPDATE Subscriber SET HomeServer = 'O''Brien''s Server', RemoteNodeID = 'node''7' "
                             "WHERE SubscriberObjectID = ?",
                             {id});
    session.database.execute("UPDATE COS SET Alias = 'Gold''s' WHERE COSObjectID = ?", {subscriber[1]});
    reloadClassesOfService();

    const Criteria mail{.type = Type::MailServer, .mailServer = "O'Brien's Server"};
    EXPECT_TRUE(subscriberSelectionStatement(session, mail, 1).contains(" AND HomeServer='O''Brien''s Server' ORDER By"));
    EXPECT_EQ(run(mail).ids(), QSet<QString>{id});
    EXPECT_EQ(run({.type = Type::RemoteNodeID, .remoteNodeID = "node'7"}).ids(), QSet<QString>{id});
    EXPECT_EQ(run({.type = Type::ClassOfService, .cosName = "Gold", .cosAlias = "Gold's"}).ids(),
              ofKind("1,3", "COSObjectID = ?", {subscriber[1]}));

    // A value written to widen the condition finds nobody.
    EXPECT_EQ(run({.type = Type::RemoteNodeID, .remoteNodeID = "x' OR '1'='1"}).messages,
              QStringList{"No subscribers associated with that Remote node ID"});
    EXPECT_TRUE(run({.type = Type::DistributionList, .distributionListName = "x", .distributionListObjectID = "x' OR ''='"})
                    .rows.isEmpty());
}

TEST_F(SelectionQueries, AStatementTheDatabaseRefusesIsReported)
{
    session.database.execute("DROP VIEW vw_DTMFAccessID");
    const Criteria range{.type = Type::ExtensionRange, .extensionLow = "1000", .extensionHigh = "2000"};
    const Outcome failed = run(range);
    EXPECT_EQ(failed.messages,
              QStringList{"SQL query failed for extension range match: \r\n" + subscriberSelectionStatement(session, range, 1)});
    EXPECT_TRUE(failed.rows.isEmpty());

    session.database.execute("DROP VIEW vw_COS");
    const Outcome other = run({.type = Type::MailServer, .mailServer = "anything"});
    ASSERT_EQ(other.messages.size(), 1);
    EXPECT_TRUE(other.messages[0].startsWith("(error):"));
    EXPECT_TRUE(other.messages[0].endsWith(") in procedure cmdView_Click of Form frmChooseSubscribers"));
    EXPECT_TRUE(other.rows.isEmpty());
}

// The same statements through an ODBC data source give the same rows, value for value.
TEST_F(SelectionQueries, OdbcGivesTheSameRows)
{
    if (!backendAvailable(Backend::Odbc))
        GTEST_SKIP() << "SQLite ODBC driver not installed";
    Session odbc(installation.installation());
    ASSERT_TRUE(odbc.loadRegistry());
    odbc.gServerVersion = session.gServerVersion;
    ASSERT_TRUE(odbc.database.open(databaseTarget(Backend::Odbc, installation.installation().databaseFile())));
    ASSERT_TRUE(LoadDirectoryLists(odbc, odbc.strConnectionString));

    const Criteria cases[] = {
        {.type = Type::AllSubscribers},
        {.type = Type::ExtensionRange, .extensionLow = "0", .extensionHigh = "99999999999"},
        {.type = Type::ClassOfService, .cosName = "any", .cosAlias = scalar("SELECT Alias FROM COS ORDER BY Alias")},
        {.type = Type::RemoteNodeID, .remoteNodeID = scalar("SELECT RemoteNodeID FROM Subscriber WHERE RemoteNodeID IS NOT NULL")},
    };
    for (const Criteria& c : cases) {
        SCOPED_TRACE(int(c.type));
        const Outcome embedded = run(c);
        ASSERT_FALSE(embedded.rows.isEmpty());
        QStringList overOdbc = run(odbc, c, 1).texts();
        QStringList expected = embedded.texts();
        if (c.type == Type::ExtensionRange) {   // no ordering clause: the database's order
            overOdbc.sort();
            expected.sort();
        }
        EXPECT_EQ(overOdbc, expected);
    }
}

}  // namespace
