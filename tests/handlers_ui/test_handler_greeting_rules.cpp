// The handler engine's greeting rules on the loaded options page: each choice's columns and
// line, a missing rule, and a recording put in place only when the handler is kept.
#include "tests/handlers_ui/HandlerEngineScenario.h"
#include "velmo/InstallationRegistry.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kOff = "1990-12-25T08:00:00.000";   // the disabled date as the database holds it
const QString kRule = "TimeExpires,IgnoreDigits,Reprompts,RepromptDelay,PlayWhat,StreamPath,PlayPleaseRecordPrompt";

// Choices on every greeting of two handlers; the second lacks its Busy rule. Before the run each
// rule is "<its date or null>|0|5|2|1|old.WAV|1"; a source's case counts ("system").
TEST(HandlerGreetingRules, EachChoiceWritesItsColumnsAndLine)
{
    const struct { const char* alias; QList<std::pair<QString, QString>> choices; QStringList lines; QString after; } cases[] = {
        {"Standard", {{"comGreetingEnabled_0", "=137"}, {"comGreetingAllowInput_0", "=137"}, {"comGreetingPlayPleaseRecord_0", "=279"}}, {"   Rule disabled", "   Ignore digits to to On", "    Play the 'Record your message at the tone...' prompt set to:1"}, kOff + "|1|5|2|1|old.WAV|0"},
        {"Off Hours", {{"comGreetingEnabled_1", "=279"}, {"comGreetingAllowInput_1", "=279"}, {"comGreetingSource_1", "=454"}, {"txtGreetingSourcePath_1", "/no/such.wav"}, {"comGreetingPlayPleaseRecord_1", "=137"}}, {"   Rule enabled", "   Ignore digits set to Off", "(error) path for WAV file to use for greeting source not found:/no/such.wav", "    Play the 'Record your message at the tone...' prompt set to:0"}, "null|0|5|2|1|old.WAV|1"},
        {"Busy", {{"txtGreetingReplayTimes_2", "2.5"}, {"txtGreetingSecondsBetweenReplays_2", "7"}, {"comGreetingSource_2", "=455"}}, {"    Reprompt times set to: 2", "    Reprompt delay interval set to: 7", "    Greeting source set to blank"}, kOff + "|0|2|7|2|old.WAV|1"},
        {"Alternate", {{"comGreetingEnabled_3", "=137"}, {"txtGreetingReplayTimes_3", "0"}, {"comGreetingSource_3", "=20"}}, {"   Rule disabled", "    Reprompt times set to: 0"}, kOff + "|0|0|2|1|old.WAV|1"},
        {"Internal", {{"comGreetingSource_4", "=453"}}, {"    Greeting source set to system"}, kOff + "|0|5|2|0|old.WAV|1"},
        {"Error", {{"txtGreetingReplayTimes_5", "99999"}, {"txtGreetingSecondsBetweenReplays_5", "3"}, {"comGreetingSource_5", "system"}}, {"Error encountered. Number=6, Description=Overflow", "    Reprompt delay interval set to: 3"}, "null|0|5|3|1|old.WAV|1"},
    };
    HandlerEngineScenario run;
    ASSERT_TRUE(run.open("greeting rules", {"UPDATE MessagingRule SET TimeExpires=CASE WHEN Alias IN ('Standard', 'Error') THEN NULL ELSE '" + kOff + "' END, PlayWhat=1, StreamPath='old.WAV', Reprompts=5"}));
    for (const auto& c : cases)
        run.make(c.choices);
    run.sql("DELETE FROM MessagingRule WHERE ParentObjectID='" + run.firstHandlers(2)[1].objectID + "' AND Alias='Busy'");
    run.run(2);
    for (int handler : {0, 1}) {
        QStringList lines;
        for (const auto& c : cases) {
            const bool lacking = handler == 1 && QString(c.alias) == "Busy";
            lines << "    " + QString(c.alias) + " Messaging Rule"
                  << (lacking ? QStringList{"(error) messaging rule not found for this call handler.  This is a serious error, you should contact Norwick"} : c.lines);
            EXPECT_EQ(run.columnsOf("vw_MessagingRule", handler, c.alias, kRule), lacking ? "" : c.after) << handler << c.alias;
        }
        EXPECT_EQ(run.changesOf(handler), lines);
    }
    EXPECT_EQ(run.log->LogErrorCount(), 5);
    EXPECT_EQ(run.shown.filter("Overflow").size(), 2);
}

// Two handlers whose aliases differ by a "/" get an Off Hours recording: the second waits for a
// name of its own. A rollback or a failed copy leaves no file and the rule as it was.
TEST(HandlerGreetingRules, ARecordingIsPlacedOnlyWhenTheHandlerIsKept)
{
    enum Ending { Kept, RolledBack, CopyFailed };
    const QByteArray wave("RIFF\0WAVE", 9);
    for (const Ending ending : {Kept, RolledBack, CopyFailed}) {
        HandlerEngineScenario run;
        ASSERT_TRUE(run.open("greeting rules", {"UPDATE MessagingRule SET PlayWhat=0, StreamPath='old.WAV'"}));
        QDir streamFiles(velmo::serverRootPath(run.installation.folder()) + "Stream Files");
        Recordset& handlers = run.session.rsNonPrimaryCallHandlers;
        handlers.moveFirst();
        for (const char* alias : {"a/b", "ab"})
            handlers.setValue("Alias", alias), handlers.update(), handlers.moveNext();
        QFile source(run.programFolder.filePath("hello.wav"));
        ASSERT_TRUE(source.open(QIODevice::WriteOnly) && source.write(wave) == 9 && source.flush());
        run.make({{"comGreetingSource_1", "=454"}, {"txtGreetingSourcePath_1", source.fileName()}});
        if (ending == RolledBack)
            run.refuseUpdates("MessagingRule", {}, "Off Hours");
        ASSERT_TRUE(ending != CopyFailed || streamFiles.removeRecursively());
        const QDateTime started = QDateTime::currentDateTime();
        run.run(2);
        const QStringList added = streamFiles.entryList(QDir::Files | QDir::Hidden, QDir::Name);   // the folder starts empty
        EXPECT_EQ(added.size(), ending == Kept ? 2 : 0);
        EXPECT_EQ(run.log->LogErrorCount(), ending == Kept ? 0 : 2);
        EXPECT_EQ(run.shown.size(), ending == Kept ? 0 : 2);
        for (int handler : {0, 1}) {
            const QString name = ending == Kept ? added.value(handler) : "old.WAV";
            EXPECT_EQ(run.columnsOf("vw_MessagingRule", handler, "Off Hours", kRule), kOff + "|0|0|2|" + (ending == Kept ? "1|" : "0|") + name + "|1");
            const QStringList lines = run.changesOf(handler).filter("Greeting source");
            EXPECT_EQ(lines.size(), ending == CopyFailed ? 0 : 1);
            if (ending == Kept) {
                QFile copy(streamFiles.filePath(name));
                EXPECT_TRUE(copy.open(QIODevice::ReadOnly) && copy.readAll() == wave);
                EXPECT_EQ(lines.value(0), "    Greeting source set to recording using WAV file=" + source.fileName() + ".  Target path=" + copy.fileName());
            }
        }
        if (ending != Kept)
            continue;
        const QRegularExpression name("^ab_Off Hours_CustomGreeting_(\\d+)\\.WAV$");
        const qint64 first = name.match(added.value(0)).captured(1).toLongLong(), second = name.match(added.value(1)).captured(1).toLongLong();
        EXPECT_LE(qAbs(first - started.toSecsSinceEpoch() - started.offsetFromUtc()), 2);
        EXPECT_GT(second, first);
    }
}

}  // namespace
