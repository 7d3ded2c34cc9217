// The alternate extensions category of the subscriber engine on the loaded options page: the lines
// each choice logs and the alternate rows it leaves for the first subscriber (primary extension
// 1234) of a generated installation.
#include "tests/subscribers_ui/EngineScenario.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kFirst = "(SELECT SubscriberObjectID FROM Subscriber ORDER BY SubscriberObjectID LIMIT 1)";
const QString kSecond = "(SELECT SubscriberObjectID FROM Subscriber ORDER BY SubscriberObjectID LIMIT 1 OFFSET 1)";
const QString kSlot = "SYSTEM_DEFINED_ALT_EXT_";
// The category's own lines among the subscriber's.
const QRegularExpression kOwnLines("^    (Removing|Adding|Editing|Deleting|User elected|Converting|All objects|Modification)"
                                   "|^        (Removing|No alternate|Subscribers)|^   New alternate|^\\((warning|error)\\)");

TEST(AlternateExtensionChanges, RemoveClearFillOrAppendByServerVersion)
{
    const QString adding = "    Adding alternate extension based on primary ID for this subscriber";
    const QStringList nine{":1", ":2", ":3", ":4", ":5", ":6", ":7", ":8", ":9"};
    const struct {
        int build;                 // of a 4.0(3) server
        bool removeAll, clear;
        QString slot;              // empty: "<Don't Change>"
        QStringList rules;         // check box and value box pairs of the Alt. Extensions tab, then its value
        QStringList alternates;    // the subscriber's before the run: "alias:extension", no alias before ":"
        QStringList expected;      // lines, then the alternate count, 12349's alias and type, and the write-through
    } cases[] = {
        {120, true, false, "2", {"AppendToRight", "9"}, {":1111", kSlot + "2:2222"}, {"    Removing alternate extensions for this subscriber", "        Removing ID=1111",
         "        Removing ID=2222", adding, "    Adding new alternate extension for subscriber.  Alias=SYSTEM_DEFINED_ALT_EXT_2 ext=12349", "1 SYSTEM_DEFINED_ALT_EXT_2/1 synced"}},
        {120, false, false, "1", {"AppendToRight", "9", "SubscriberExtensionAppendToRight", "5"}, {":1111"}, {"    Converting unordered alternate extension to - SYSTEM_DEFINED_ALT_EXT_1= 1111",
         adding, "    Editing existing alternate extension for subscriber.  Alias=SYSTEM_DEFINED_ALT_EXT_1 ext=12349", "1 SYSTEM_DEFINED_ALT_EXT_1/1 synced"}},
        {120, false, true, "3", {"AppendToRight", "9"}, {kSlot + "3:3333", ":4444"},
         {"    Converting unordered alternate extension to - SYSTEM_DEFINED_ALT_EXT_1= 4444", "    Deleting alternate extension=SYSTEM_DEFINED_ALT_EXT_3", "1 none synced"}},
        {120, false, true, "5", {}, {}, {"    User elected to clear alternate extension with alias=SYSTEM_DEFINED_ALT_EXT_5.  There is no alternate extension in that position for this subscriber", "0 none kept"}},
        {120, false, false, "", {"AppendToRight", "9"}, {":1111"}, {"1 none kept"}},
        {120, false, false, "2", {"RemoveLeftMost", "4"}, {}, {adding, "    Modification rules invalid for selected extension", "0 none kept"}},
        {120, false, false, "2", {"AppendToRight", "9"}, {"conflict"}, {adding, "(warning) Alternate extension not added since it conflicts with another object.  ID would have been:12349",
         "    All objects found to be using that extension:", "        Subscribers primary ID in the dialing domain on Velmo server=VELMO-THORNFIELD with alias=other display name=Other One", "0 none kept"}},
        {119, true, false, "", {}, {}, {"    Removing alternate extensions for this subscriber", "        No alternate IDs found for this subscriber", "0 none kept"}},
        {119, false, false, "", {"RemoveLeftMost", "1", "AppendToLeft", "8", "AppendToRight", "9"}, nine.mid(1), {adding, "   New alternate extension added for user:82349", "9 NULL/NULL synced"}},
        {119, false, false, "", {"AppendToRight", "9"}, nine.mid(1), {adding, "   New alternate extension added for user:12349", "9 NULL/NULL synced"}},
        {119, false, false, "", {"AppendToRight", "9"}, nine, {adding, "(warning)  Cannot add any more alternate IDs for this subscriber, they already have 9.  Skipping action.", "9 none synced"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.join(" | ").toStdString());
        EngineScenario run(TempInstallation::smallServer(4, 0, 3, c.build));
        run.sql("DELETE FROM DTMFAccessID WHERE DTMFAccessID IN ('1234', '12345', '12349', '82349', '1111', '2222', '3333', '4444') OR (ParentObjectID=" + kFirst + " AND IsPrimaryID=0)");
        run.sql("UPDATE DTMFAccessID SET DTMFAccessID='1234' WHERE ParentObjectID=" + kFirst + " AND IsPrimaryID=1");
        for (const QString& alternate : c.alternates) {
            if (alternate == "conflict") {
                run.sql("UPDATE DTMFAccessID SET DTMFAccessID='12349' WHERE ParentObjectID=" + kSecond + " AND IsPrimaryID=1");
                run.sql("UPDATE Subscriber SET Alias='other', DisplayName='Other One' WHERE SubscriberObjectID=" + kSecond);
                continue;
            }
            const QString alias = alternate.section(':', 0, 0);
            run.sql("INSERT INTO DTMFAccessID (DTMFAccessID, ParentObjectID, ParentObjectIDType, IsPrimaryID, Alias) VALUES ('"
                    + alternate.section(':', 1) + "', " + kFirst + ", 1, 0, " + (alias.isEmpty() ? "NULL" : "'" + alias + "'") + ")");
        }
        ASSERT_TRUE(run.open());
        run.tick("chkSubscriberAlternateExtensionsRemoveAll", c.removeAll);
        run.tick("chkSubscriberAlternateExtensionRemoveSelected", c.clear);
        c.slot.isEmpty() ? run.chooseString("cmbSubscriberAlternateExtensionSlot", 20) : run.choose("cmbSubscriberAlternateExtensionSlot", "Alternate Extension #" + c.slot);
        for (qsizetype rule = 0; rule + 1 < c.rules.size(); rule += 2) {
            const QString name = c.rules[rule].startsWith("Subscriber") ? c.rules[rule] : "AltExt" + c.rules[rule];
            run.tick("chk" + name);
            run.type("txt" + name, c.rules[rule + 1]);
        }
        run.run(1);

        QStringList outcome = run.changesOf(0).filter(kOwnLines);
        const QVariant added = run.stored("SELECT coalesce(Alias, 'NULL') || '/' || coalesce(DtmfAccessIDType, 'NULL') FROM DTMFAccessID WHERE DTMFAccessID IN ('12349', '82349') AND ParentObjectID=" + kFirst);
        outcome << run.stored("SELECT COUNT(*) FROM DTMFAccessID WHERE IsPrimaryID=0 AND ParentObjectID=" + kFirst).toString() + " " + (added.isNull() ? "none" : added.toString()) + " "
                       + (run.session.bDirectoryWriteThroughPending ? "synced" : "kept");
        EXPECT_EQ(outcome.join('\n').toStdString(), c.expected.join('\n').toStdString());
        EXPECT_EQ(run.log->LogWarningCount(), int(c.expected.filter(QRegularExpression("^\\(warning\\)")).size()));
    }
}

}  // namespace
