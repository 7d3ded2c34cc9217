#include "core/DirectoryLists.h"
#include "core/Session.h"
#include "subscribers/SubscriberCsv.h"
#include "tests/support/TempInstallation.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Subscriber {
    QString alias;
    QString objectID;
    QString extension;
};

// What one run of the reader did.
struct ReaderRun {
    CsvImportResult result;
    QStringList added;      // aliases of the subscribers offered to AddUserToGrid, in order
    QStringList messages;
    QList<int> steps;
    QList<int> usersAdded;
    int begins = 0;
    int ends = 0;
};

QString closing(int lines, int users)
{
    return QStringLiteral("Import complete.   %1 lines read in from text file,  %2 users added to grid.").arg(lines).arg(users);
}

QByteArray joined(const QStringList& lines, const char* lineBreak, bool finalBreak = true)
{
    QByteArray text = lines.join(QString::fromLatin1(lineBreak)).toUtf8();
    return finalBreak ? text + lineBreak : text;
}

// One installation for the whole suite, with a few subscribers changed so that every look-up
// rule has a case: an alias holding a quote, an ordinary subscriber of type 3, one whose
// primary call handler does not exist, and two subscribers whose aliases differ only in case.
class SubscriberCsv : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        installation = new TempInstallation;
        session = new Session(installation->installation());
        ASSERT_TRUE(installation->ok()) << installation->error().toStdString();
        ASSERT_TRUE(startSession(*session));

        QList<Subscriber> ordinary;
        Recordset& list = session->rsSubscribers;
        for (list.moveFirst(); !list.eof(); list.moveNext()) {
            const Subscriber s{list.value("Alias").toString(), list.value("SubscriberObjectID").toString(),
                               list.value("DTMFAccessID").toString()};
            const int type = list.value("SubscriberType").toInt();
            if (s.extension.isEmpty())
                continue;
            if (type == 1)
                ordinary << s;
            else if (type == 2 && internet.alias.isEmpty())
                internet = s;
            else if (type == 8 && vpim.alias.isEmpty())
                vpim = s;
        }
        ASSERT_GE(ordinary.size(), 9);
        ASSERT_FALSE(internet.alias.isEmpty());
        ASSERT_FALSE(vpim.alias.isEmpty());
        // The list is in object ID order: twin comes before later.
        twin = ordinary[0], a = ordinary[1], b = ordinary[2], c = ordinary[3], d = ordinary[4];
        quoted = ordinary[5], typeThree = ordinary[6], orphan = ordinary[7], later = ordinary[8];

        Database& db = session->database;
        quoted.alias = "O'Brien";
        db.execute("UPDATE Subscriber SET Alias = ? WHERE SubscriberObjectID = ?", {quoted.alias, quoted.objectID});
        db.execute("UPDATE Subscriber SET SubscriberType = 3 WHERE SubscriberObjectID = ?", {typeThree.objectID});
        twin.alias = later.alias.toUpper();
        db.execute("UPDATE Subscriber SET Alias = ? WHERE SubscriberObjectID = ?", {twin.alias, twin.objectID});
        db.execute("UPDATE Subscriber SET CallHandlerObjectID = 'NO-SUCH-HANDLER' WHERE SubscriberObjectID = ?",
                   {orphan.objectID});
        CloseServerRecordsets(*session);
        ASSERT_TRUE(LoadDirectoryLists(*session, session->strConnectionString));
    }

    static void TearDownTestSuite()
    {
        delete session;
        delete installation;
    }

    ReaderRun read(const QByteArray& content, qint16 kind = 1)
    {
        const QString path = folder.filePath("selection.csv");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        return readPath(path, kind);
    }

    ReaderRun readPath(const QString& path, qint16 kind = 1)
    {
        ReaderRun run;
        Session& s = *session;
        const auto addUserToGrid = [&] {
            // The reader positions both lists: the subscriber, then its own primary handler.
            EXPECT_EQ(s.rsPrimaryCallHandlers.value("CallHandlerObjectID"), s.rsSubscribers.value("CallHandlerObjectID"));
            run.added << s.rsSubscribers.value("Alias").toString();
        };
        const SelectionProgress progress{[&](int total) { ++run.begins; EXPECT_EQ(total, 0); },
                                         [&](int lines) { run.steps << lines; }, [&] { ++run.ends; }};
        run.result = LoadSubscribersFromCSV(s, path, kind, addUserToGrid, progress,
                                            [&](const QString& text) { run.messages << text; },
                                            [&](int users) { run.usersAdded << users; });
        EXPECT_EQ(run.begins, 1);
        EXPECT_EQ(run.ends, 1);
        return run;
    }

    QTemporaryDir folder;

    static inline TempInstallation* installation = nullptr;
    static inline Session* session = nullptr;
    static inline Subscriber twin, a, b, c, d, quoted, typeThree, orphan, later, internet, vpim;
};

}  // namespace

TEST_F(SubscriberCsv, LineBreaksOfEveryKindGiveTheSameRows)
{
    const QStringList lines{" Alias ,Extension", a.alias + ",", "," + b.extension, c.alias + "," + c.extension};
    const QStringList expected{a.alias, b.alias, c.alias};
    for (const auto& [content, name] : {std::pair{joined(lines, "\r\n"), "CR LF"}, {joined(lines, "\n", false), "LF"},
                                        {joined(lines, "\r"), "CR"}}) {
        const ReaderRun run = read(content);
        EXPECT_EQ(run.added, expected) << name;
        EXPECT_EQ(run.result.linesRead, 3) << name;
        EXPECT_EQ(run.result.usersAdded, 3) << name;
        EXPECT_EQ(run.messages, QStringList{closing(3, 3)}) << name;
    }
}

TEST_F(SubscriberCsv, ExtensionMatchWinsAndOtherwiseTheAliasIsUsed)
{
    const ReaderRun run = read(joined({"EXTENSION,comment, alias ",
                                 b.extension + ",x," + a.alias,             // b by its extension, a's alias ignored
                                 "99999999,x," + a.alias,                   // no such extension: the alias
                                 "\"" + c.extension + "\",x," + a.alias,    // quoted: not a number, so the alias
                                 " " + c.extension + " ,x," + d.alias},     // blanks around the number are fine
                                "\r\n"));
    EXPECT_EQ(run.added, (QStringList{b.alias, a.alias, a.alias, c.alias}));
    EXPECT_EQ(run.usersAdded, (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(run.messages, QStringList{closing(4, 4)});
}

TEST_F(SubscriberCsv, AliasLookUpFollowsKindQuotesAndHandlers)
{
    const ReaderRun run = read(joined({"alias", " " + a.alias, quoted.alias, typeThree.alias, internet.alias, orphan.alias,
                                 "no such alias"},
                                "\r\n"));
    // A leading blank belongs to the alias; types 1 and 3 are ordinary subscribers; a subscriber
    // without its primary call handler in the list is left out.
    EXPECT_EQ(run.added, (QStringList{quoted.alias, typeThree.alias}));
    EXPECT_EQ(run.messages, QStringList{closing(6, 2)});

    EXPECT_EQ(read(joined({"alias", internet.alias, a.alias}, "\n"), 2).added, QStringList{internet.alias});
    // Aliases compare without regard to case, and the first subscriber of the list wins.
    EXPECT_EQ(read(joined({"alias", later.alias, a.alias.toUpper()}, "\n")).added, (QStringList{twin.alias, a.alias}));
}

TEST_F(SubscriberCsv, ExtensionQueryTakesOnlyTheChosenKind)
{
    const QByteArray content = joined({"extension", vpim.extension, a.extension, typeThree.extension}, "\r\n");
    EXPECT_EQ(read(content, 8).added, QStringList{vpim.alias});
    EXPECT_EQ(read(content, 1).added, (QStringList{a.alias, typeThree.alias}));
}

TEST_F(SubscriberCsv, BlankShortAndRepeatedLines)
{
    const ReaderRun run = read(joined({"extension,alias", "", a.extension, "x", a.extension + "," + a.alias}, "\r\n"));
    // The reader looks for no duplicates: the grid decides.
    EXPECT_EQ(run.added, (QStringList{a.alias, a.alias}));
    EXPECT_EQ(run.steps, (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(run.messages, QStringList{closing(4, 2)});
}

TEST_F(SubscriberCsv, UnreadableOrInvalidFilesReportAndCloseWithZeroCounts)
{
    const QString invalid = "Error! CSV file is not a valid format.  See the help for details on format requirements.";
    const std::pair<QByteArray, QStringList> cases[] = {
        {"", {invalid, closing(0, 0)}},
        {"a\r\n" + a.alias.toUtf8(), {invalid, closing(0, 0)}},
        {"name,number\r\n" + a.alias.toUtf8(), {invalid, closing(0, 0)}},
        {a.alias.toUtf8() + "," + a.extension.toUtf8() + "\r\n", {invalid, closing(0, 0)}},   // no header line
        {"alias,extension\r\n", {closing(0, 0)}},
        {"alias,extension", {closing(0, 0)}},
    };
    for (const auto& [content, messages] : cases) {
        const ReaderRun run = read(content);
        EXPECT_EQ(run.messages, messages) << content.constData();
        EXPECT_TRUE(run.added.isEmpty());
        EXPECT_EQ(run.result.linesRead, 0);
    }
    EXPECT_EQ(readPath(folder.filePath("missing.csv")).messages,
              (QStringList{"Error! Could not open CSV input file.", closing(0, 0)}));
    EXPECT_EQ(readPath(folder.path()).messages.first(), "Error! Could not open CSV input file.");
}

TEST_F(SubscriberCsv, ByteOrderMarkAndCountsBeyondSixteenBits)
{
    QByteArray content = "\xEF\xBB\xBF" "Alias\r\n" + a.alias.toUtf8();
    content += QByteArray("\r\n").repeated(40000);
    const ReaderRun run = read(content);
    EXPECT_EQ(run.added, QStringList{a.alias});
    EXPECT_EQ(run.result.linesRead, 40000);
    EXPECT_EQ(run.messages, QStringList{closing(40000, 1)});
}
