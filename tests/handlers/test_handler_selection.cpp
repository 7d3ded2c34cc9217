#include "core/DirectoryLists.h"
#include "core/Session.h"
#include "handlers/HandlerCsv.h"
#include "handlers/HandlerRows.h"
#include "handlers/HandlerSelection.h"
#include "tests/support/TempInstallation.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Type = HandlerSelectionType;

// What one selection or CSV reading handed to AddHandlerToGrid.
struct Added {
    QStringList added;   // object IDs, in order
    QStringList messages;
    QList<int> counts;   // the running count handed over before each add
};

// One installation for the suite, with handlers changed so that every rule has a case. Handler
// n is the n-th non-primary handler in object ID order.
class HandlerSelection : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        velmo::InstallationOptions options = TempInstallation::smallOptions();
        options.nonPrimaryCallHandlerCount = 30;
        installation = new TempInstallation(options);
        ASSERT_TRUE(installation->ok()) << installation->error().toStdString();
        session = new Session(installation->installation());
        ASSERT_TRUE(startSession(*session));
        Database& db = session->database;
        ids = column("SELECT CallHandlerObjectID FROM vw_CallHandler_NonPrimary ORDER BY CallHandlerObjectID");
        ASSERT_EQ(ids.size(), 30);

        const auto setExtension = [&](int handler, const QVariant& extension) {
            db.execute("DELETE FROM DTMFAccessID WHERE ParentObjectID = ?", {ids[handler]});
            if (!extension.isNull())
                db.execute("INSERT INTO DTMFAccessID (DTMFAccessID, ParentObjectID, ParentObjectIDType, IsPrimaryID) "
                           "VALUES (?, ?, 3, 1)",
                           {extension, ids[handler]});
        };
        setExtension(1, "0042");
        setExtension(2, "100");
        setExtension(3, "100abc");
        setExtension(4, "x12");
        setExtension(5, QVariant());
        setExtension(6, "1234");
        setExtension(7, "1234");   // a second handler with the same extension: the first one wins
        db.execute("UPDATE CallHandler SET Alias = 'O''Hara' WHERE CallHandlerObjectID = ?", {ids[8]});
        db.execute("UPDATE CallHandler SET AdministratorObjectIDType = 1, AdministratorObjectID = 'NO-SUCH-OWNER', "
                   "RecipientObjectID = NULL WHERE CallHandlerObjectID = ?",
                   {ids[9]});
        db.execute("UPDATE ContactRule SET SwitchID = NULL WHERE ParentObjectID = ?", {ids[10]});
        db.execute("DELETE FROM ContactRule WHERE ParentObjectID = ?", {ids[11]});
        // A handler owned by a public list and received by another.
        const QStringList lists = column("SELECT SystemDListObjectID FROM vw_DistributionList ORDER BY SystemDListObjectID");
        ASSERT_GE(lists.size(), 2);
        listOwner = lists[0], listRecipient = lists[1];
        db.execute("UPDATE CallHandler SET AdministratorObjectIDType = 2, AdministratorObjectID = ?, "
                   "RecipientObjectIDType = 2, RecipientObjectID = ? WHERE CallHandlerObjectID = ?",
                   {listOwner, listRecipient, ids[12]});
        CloseServerRecordsets(*session);
        ASSERT_TRUE(LoadDirectoryLists(*session, session->strConnectionString));
    }

    static void TearDownTestSuite()
    {
        delete session;
        delete installation;
    }

    static QStringList column(const QString& sql, const QVariantList& values = {})
    {
        QStringList texts;
        for (const auto& row : session->database.select(sql, values).rows)
            texts << row.value(0).toString();
        return texts;
    }

    static QStringList handlers(std::initializer_list<int> numbers)
    {
        QStringList chosen;
        for (int n : numbers)
            chosen << ids[n];
        return chosen;
    }

    Added select(const HandlerSelectionCriteria& criteria)
    {
        Added run;
        runHandlerSelection(
            *session, criteria,
            [&] { run.added << session->rsNonPrimaryCallHandlers.value("CallHandlerObjectID").toString(); },
            [&](int count) { run.counts << count; }, [&](const QString& text) { run.messages << text; });
        EXPECT_TRUE(session->rsNonPrimaryCallHandlers.filter().isEmpty());
        return run;
    }

    Added readCsv(const QByteArray& content)
    {
        const QString path = folder.filePath("handlers.csv");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        return readCsvPath(path);
    }

    Added readCsvPath(const QString& path)
    {
        Added run;
        LoadHandlersFromCSV(
            *session, path, [&] { run.added << session->rsNonPrimaryCallHandlers.value("CallHandlerObjectID").toString(); },
            [&] { return int(run.added.size()); }, [&](const QString& text) { run.messages << text; });
        return run;
    }

    static QString text(int number) { return session->languages.mymyLoadString(number); }
    static QString report(int lines, int added)
    {
        return QStringLiteral("Import complete.   %1 lines read in from text file,  %2 handlers added to the grid.")
            .arg(lines)
            .arg(added);
    }

    QTemporaryDir folder;
    static inline TempInstallation* installation = nullptr;
    static inline Session* session = nullptr;
    static inline QStringList ids;
    static inline QString listOwner, listRecipient;
};

HandlerSelectionCriteria criteriaOf(Type type)
{
    HandlerSelectionCriteria criteria;
    criteria.type = type;
    return criteria;
}

HandlerSelectionCriteria range(const char* low, const char* high)
{
    HandlerSelectionCriteria criteria = criteriaOf(Type::ExtensionRange);
    criteria.extensionLow = low;
    criteria.extensionHigh = high;
    return criteria;
}

}  // namespace

TEST_F(HandlerSelection, AllHandlersInListOrderNeverAPrimaryOne)
{
    const Added run = select(criteriaOf(Type::AllHandlers));
    EXPECT_EQ(run.added, ids);
    EXPECT_EQ(run.counts.size(), 30);
    EXPECT_EQ(run.counts.last(), 30);
    EXPECT_TRUE(run.messages.isEmpty());
    for (const QString& primary : column("SELECT CallHandlerObjectID FROM vw_CallHandler WHERE IsPrimary = 1"))
        EXPECT_FALSE(run.added.contains(primary));
}

TEST_F(HandlerSelection, ExtensionRangeReadsTheLeadingNumberAndChecksItsBoxes)
{
    const QStringList otherZeros = column(
        "SELECT CallHandlerObjectID FROM vw_CallHandler_NonPrimary WHERE DTMFAccessID IS NOT NULL "
        "AND CallHandlerObjectID <> ? AND NOT (substr(trim(DTMFAccessID), 1, 1) BETWEEN '0' AND '9') ORDER BY 1",
        {ids[4]});
    ASSERT_TRUE(otherZeros.isEmpty());   // only handler 4 reads as 0
    const struct {
        const char* low;
        const char* high;
        QStringList expected;
    } cases[] = {
        {"100", "100", handlers({2, 3})},
        {"40", "50", handlers({1})},
        {"0", "0", handlers({4})},   // a letter first reads as 0; a null extension is in no range
        {" 0", "100 ", handlers({1, 2, 3, 4})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.low) + " to " + c.high);
        const Added run = select(range(c.low, c.high));
        EXPECT_EQ(run.added, c.expected);
        EXPECT_TRUE(run.messages.isEmpty());
    }
    const std::pair<HandlerSelectionCriteria, int> refused[] = {
        {range("-5", "10"), 168}, {range("200", "100"), 168}, {range("", "10"), 169}, {range("1", "b"), 169}};
    for (const auto& [criteria, message] : refused) {
        const Added run = select(criteria);
        EXPECT_EQ(run.messages, QStringList{text(message)});
        EXPECT_TRUE(run.added.isEmpty());
    }
}

TEST_F(HandlerSelection, SwitchTypeTakesTheFirstContactRule)
{
    HandlerSelectionCriteria criteria = criteriaOf(Type::Switch);
    EXPECT_EQ(select(criteria).messages, QStringList{text(331)});

    criteria.switchName = "Switch zero";
    criteria.switchID = 0;
    EXPECT_EQ(select(criteria).added, handlers({10}));   // its first rule has no switch

    const SwitchInfo& switches = session->switchInfo;
    ASSERT_GE(switches.iSwitchCount(), 1);
    QString name;
    qint16 id = 0;
    switches.GetSwitchInfoBySwitchCount(1, name, id);
    criteria.switchName = name;
    criteria.switchID = id;
    QStringList expected;
    for (const QString& handler : ids) {
        const auto first = session->database.select("SELECT SwitchID FROM vw_ContactRule WHERE ParentObjectID=?", {handler});
        if (!first.rows.isEmpty() && first.rows[0][0].toInt() == id && !first.rows[0][0].isNull())
            expected << handler;
    }
    const Added run = select(criteria);
    EXPECT_FALSE(run.added.isEmpty());
    EXPECT_EQ(run.added, expected);
    EXPECT_FALSE(run.added.contains(ids[11]));   // no contact rules: never taken
}

TEST_F(HandlerSelection, OwnerAndRecipientFilterOnTheHiddenObjectID)
{
    const struct {
        Type type;
        QString name;
        QString objectID;
        QStringList expected;
        QStringList messages;
    } cases[] = {
        {Type::OwnerDistributionList, "Owners", listOwner, column("SELECT CallHandlerObjectID FROM vw_CallHandler_NonPrimary "
                                                                  "WHERE AdministratorObjectID = ? ORDER BY 1", {listOwner}), {}},
        {Type::RecipientDistributionList, "Receivers", listRecipient,
         column("SELECT CallHandlerObjectID FROM vw_CallHandler_NonPrimary WHERE RecipientObjectID = ? ORDER BY 1",
                {listRecipient}), {}},
        {Type::OwnerSubscriber, "Nobody", "NO-SUCH-SUBSCRIBER", {}, {}},   // owns nothing: no message
        {Type::RecipientSubscriber, "Quoted", "it's", {}, {}},
        {Type::OwnerDistributionList, "", listOwner, {}, {text(334)}},
        {Type::RecipientDistributionList, "", listRecipient, {}, {text(334)}},
        {Type::OwnerSubscriber, "", "x", {}, {text(335)}},
        {Type::RecipientSubscriber, "", "x", {}, {text(335)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.type));
        HandlerSelectionCriteria criteria = criteriaOf(c.type);
        criteria.pickedName = c.name;
        criteria.pickedObjectID = c.objectID;
        const Added run = select(criteria);
        EXPECT_EQ(run.added, c.expected);
        EXPECT_EQ(run.messages, c.messages);
    }
    EXPECT_TRUE(select({Type::OwnerDistributionList, {}, {}, {}, 0, "Owners", listOwner}).added.contains(ids[12]));
}

TEST_F(HandlerSelection, GridRowNamesOwnerAndRecipientOrMarksThemMissing)
{
    Recordset& list = session->rsNonPrimaryCallHandlers;
    const auto rowOf = [&](int handler) {
        list.moveFirst();
        EXPECT_TRUE(list.find("CallHandlerObjectID='" + ids[handler] + "'"));
        return handlerRowOfCurrentRecord(*session).value();
    };
    const HandlerGridRow missing = rowOf(9);
    EXPECT_EQ(missing.handlerOwner, "(none) - Error!");
    EXPECT_EQ(missing.messageRecipient, "(none) - Error!");
    EXPECT_EQ(missing.objectID, ids[9]);

    const HandlerGridRow listed = rowOf(12);
    EXPECT_EQ(listed.handlerOwner, column("SELECT DisplayName FROM vw_DistributionList WHERE SystemDListObjectID = ?",
                                          {listOwner}).value(0));
    EXPECT_EQ(listed.messageRecipient, column("SELECT DisplayName FROM vw_DistributionList WHERE SystemDListObjectID = ?",
                                              {listRecipient}).value(0));
    EXPECT_EQ(rowOf(5).extension, "");
    EXPECT_EQ(rowOf(1).extension, "0042");
    EXPECT_EQ(rowOf(8).alias, "O'Hara");

    // A subscriber owner by its display name.
    const auto owned = session->database.select(
        "SELECT h.CallHandlerObjectID, s.DisplayName FROM vw_CallHandler_NonPrimary h JOIN vw_Subscriber s "
        "ON s.SubscriberObjectID = h.AdministratorObjectID WHERE h.AdministratorObjectIDType = 1 LIMIT 1");
    ASSERT_EQ(owned.rows.size(), 1);
    const int handler = int(ids.indexOf(owned.rows[0][0].toString()));
    EXPECT_EQ(rowOf(handler).handlerOwner, owned.rows[0][1].toString());
}

TEST_F(HandlerSelection, CsvFindsByExtensionFirstThenByAlias)
{
    const QString alias2 = column("SELECT Alias FROM vw_CallHandler WHERE CallHandlerObjectID = ?", {ids[2]}).value(0);
    const QString alias13 = column("SELECT Alias FROM vw_CallHandler WHERE CallHandlerObjectID = ?", {ids[13]}).value(0);
    const QByteArray file = ("ID, Extension , Alias\r\n"
                             "1,100," + alias13 + "\r\n"    // the extension wins
                             "2,1234 ,O'Hara\r\n"           // "1234 " is no extension: the alias
                             "3,1234,\r\n"                  // two handlers hold 1234: the first
                             "\r\n"                         // counted, nothing selected, no message
                             "4,abc," + alias2.toUpper() + "\r\n"
                             "5,,nobody here\r\n"
                             "6,100," + alias13 + "\r\n").toUtf8();
    const Added run = readCsv(file);
    EXPECT_EQ(run.added, handlers({2, 8, 6, 2, 2}));
    EXPECT_EQ(run.messages, (QStringList{text(126) + "nobody here" + text(9), report(7, 5)}));
    EXPECT_EQ(run.messages[0], "Error!  Handler with alias='nobody here' generated an unknown error while loading.  "
                               "Skipping handler...");

    // Without an alias column a line that is no number, or matches nothing, passes silently.
    EXPECT_EQ(readCsv("Extension\r\n1234 \r\n9999999\r\nabc\r\n0042\r\n").messages, QStringList{report(4, 1)});
    // Every line break gives the same rows.
    const QStringList expected = readCsv("Alias\r\n" + alias2.toUtf8() + "\r\n" + alias13.toUtf8() + "\r\n").added;
    EXPECT_EQ(expected, handlers({2, 13}));
    for (const char* lineBreak : {"\r", "\n"})
        EXPECT_EQ(readCsv("Alias" + QByteArray(lineBreak) + alias2.toUtf8() + lineBreak + alias13.toUtf8()).added, expected);
}

TEST_F(HandlerSelection, CsvFilesThatCannotBeReadStillCloseWithTheirReport)
{
    const struct {
        QByteArray content;
        int message;
    } invalid[] = {{"", 130}, {"A\r\nalias\r\n", 130}, {"Name,Number\r\nx,1\r\n", 130}};
    for (const auto& c : invalid)
        EXPECT_EQ(readCsv(c.content).messages, (QStringList{text(c.message), report(0, 0)}));
    EXPECT_EQ(readCsvPath(folder.filePath("missing.csv")).messages, (QStringList{text(131), report(0, 0)}));
    EXPECT_EQ(report(0, 0), "Import complete.   0 lines read in from text file,  0 handlers added to the grid.");
}

TEST_F(HandlerSelection, CsvLineCountGoesBeyondSixteenBits)
{
    QByteArray content = "Alias\n";
    for (int i = 0; i < 33000; ++i)
        content += "\n";
    EXPECT_EQ(readCsv(content).messages, QStringList{report(33000, 0)});
}
