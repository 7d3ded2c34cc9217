// The greetings and after-greeting actions categories on the loaded options page.
#include "core/Database.h"
#include "subscribers/changes/SubscriberChanges.h"
#include "tests/subscribers_ui/EngineScenario.h"
#include "velmo/InstallationRegistry.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct Pair { const char* name; QVariant value = {}; };

// A run over the first subscriber. Choices: "=N" shows resource string N, "[x]" selects a
// caller-input button, any other text is typed (or shown by a list).
class FirstHandler : public EngineScenario {
public:
    FirstHandler()
    {
        EXPECT_TRUE(open());
        session.rsSubscribers.moveFirst();
        handlerId = session.rsSubscribers.value("CallHandlerObjectID").toString();
    }
    // Each column of the rule as expected, read as a date-time where one is expected.
    void expectRules(const QString& alias, const QList<Pair>& columns)
    {
        for (const auto& [name, value] : columns) {
            const QVariant rule = stored(QString("SELECT ") + name + " FROM MessagingRule WHERE ParentObjectID=? AND Alias=?", {handlerId, alias});
            const auto asText = [&](const QVariant& v) { return v.isNull() ? "<null>" : value.typeId() == QMetaType::QDateTime ? v.toDateTime().toString() : v.toString(); };
            EXPECT_EQ(asText(rule), asText(value)) << qPrintable(alias) << ' ' << name;
        }
    }
    void make(const QString& alias, const QList<Pair>& before, const QList<Pair>& choices)
    {
        for (const Pair& column : before)
            session.database.execute(QString("UPDATE MessagingRule SET ") + column.name + "=? WHERE ParentObjectID=? AND Alias=?",
                                     {column.value, handlerId, alias});
        for (const auto& [name, value] : choices) {
            const QString text = value.toString();
            if (text == "[x]")
                pick(name), pick(QString(name).replace(QRegularExpression("^opt[A-Za-z]*"), "optCallerInputDontChange"), false);
            else if (text.startsWith('='))
                chooseString(name, text.mid(1).toInt());
            else
                QString(name).startsWith("com") ? choose(name, text) : type(name, text);
        }
    }
    // The lines under a greeting's heading, up to the next heading.
    QStringList linesOf(const QString& alias) const
    {
        const QStringList changes = changesOf(0);
        const qsizetype heading = changes.indexOf("   " + alias + " Messaging Rule");
        const QStringList block = heading < 0 ? QStringList() : changes.mid(heading + 1);
        return block.mid(0, block.indexOf(QRegularExpression(".* Messaging Rule")));
    }
    QString handlerId;
};

// Two runs, each with choices on five tabs: both sides of every setting.
TEST(GreetingsChange, EachChoiceWritesItsColumnAndLine)
{
    const QVariant disabled = SubscriberChanges::disabledDate();
    const struct { int run; const char* alias; QList<Pair> before, choices; QStringList lines; QList<Pair> after; } cases[] = {
        {1, "Standard", {{"PlayPleaseRecordPrompt", 0}}, {{"comGreetingPlayPleaseRecord_0", "=137"}, {"comGreetingEnabled_0", "=137"}}, {"    Play 'please record...' prompt set to: 0", "   Greeting disabled"}, {{"PlayPleaseRecordPrompt", 1}, {"TimeExpires", disabled}}},
        {1, "Off Hours", {{"TimeExpires", disabled}}, {{"comGreetingPlayPleaseRecord_1", "=279"}, {"comGreetingEnabled_1", "=279"}}, {"    Play 'please record...' prompt set to: 1", "   Greeting enabled"}, {{"PlayPleaseRecordPrompt", 0}, {"TimeExpires", QVariant()}}},
        {1, "Busy", {{"Reprompts", 3}, {"IgnoreDigits", 1}}, {{"comGreetingAllowInput_2", "=279"}, {"txtGreetingReplayTimes_2", "0"}, {"txtGreetingSecondsBetweenReplays_2", "7"}}, {"   Ignore digits disabled", "    Reprompt times set to:  0", "    Reprompt delay interval set to:  7"}, {{"IgnoreDigits", 0}, {"Reprompts", 0}, {"RepromptDelay", 7}}},
        {1, "Alternate", {{"PlayWhat", 1}}, {{"comGreetingSource_3", "=453"}}, {"    Greeting source set to system"}, {{"PlayWhat", 0}}},
        {1, "Internal", {}, {{"comGreetingSource_4", "=455"}}, {"    Greeting source set to blank"}, {{"PlayWhat", 2}}},
        {2, "Standard", {}, {{"comGreetingAllowInput_0", "=137"}}, {"   Ignore digits enabled"}, {{"IgnoreDigits", 1}}},
        {2, "Off Hours", {{"PlayWhat", 0}}, {{"comGreetingSource_1", "=454"}, {"txtGreetingSourcePath_1", "/no/such.wav"}}, {"(error) path for WAV file to use for greeting source not found:/no/such.wav"}, {{"PlayWhat", 0}}},
        {2, "Alternate", {{"PlayWhat", 0}}, {{"comGreetingSource_3", "=454"}, {"txtGreetingSourcePath_3", ""}, {"txtGreetingReplayTimes_3", "4"}}, {"(error) path to greeting WAV file to use is empty", "    Reprompt times set to:  4"}, {{"PlayWhat", 0}, {"Reprompts", 4}}},
        {2, "Internal", {{"PlayWhat", 1}}, {{"comGreetingSource_4", "system"}}, {}, {{"PlayWhat", 1}}},   // case counts
    };
    for (const int number : {1, 2}) {
        FirstHandler run;
        for (const auto& c : cases)
            if (c.run == number)
                run.make(c.alias, c.before, c.choices);
        run.run();
        EXPECT_EQ(run.log->LogErrorCount(), number == 1 ? 0 : 2);
        for (const auto& c : cases)
            if (c.run == number) {
                EXPECT_EQ(run.linesOf(c.alias), c.lines) << c.alias;
                run.expectRules(c.alias, c.after);
            }
    }
}

// A recording is copied under the subscriber's alias (without "/") and the rule's, put in place
// when the subscriber commits; a rollback or a failed copy leaves no file and the rule as it was.
TEST(GreetingsChange, ARecordingIsPlacedOnlyWhenTheSubscriberIsKept)
{
    const QByteArray wave("RIFF\0WAVE", 9);
    enum Ending { Kept, RolledBack, CopyFailed };
    for (const Ending ending : {Kept, RolledBack, CopyFailed}) {
        FirstHandler run;
        QDir streamFiles(velmo::serverRootPath(run.installation.folder()) + "Stream Files");
        run.session.rsSubscribers.setValue("Alias", "a/b");
        run.session.rsSubscribers.update();
        QFile file(run.programFolder.filePath("hello.wav"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(wave) == 9 && file.flush());
        run.make("Off Hours", {{"StreamPath", "old.WAV"}}, {{"comGreetingSource_1", "=454"}, {"txtGreetingSourcePath_1", file.fileName()}});
        run.session.bDirectoryWriteThroughPending = ending == RolledBack;
        run.session.database.registerProcedure("sp_ModifySubscriber", [](Database&, ProcedureParameters&) { throw KestraneError(ErrorNumber::DatabaseError, "refused"); });
        ASSERT_TRUE(ending != CopyFailed || streamFiles.removeRecursively());
        const QDateTime started = QDateTime::currentDateTime();
        run.run();
        const QStringList added = streamFiles.entryList(QDir::Files | QDir::Hidden);   // the folder starts empty
        EXPECT_EQ(run.lines.filter("(error):").size(), ending == Kept ? 0 : 1);
        EXPECT_EQ(run.log->LogErrorCount(), ending == Kept ? 0 : 1);
        EXPECT_EQ(added.size(), ending == Kept ? 1 : 0);
        run.expectRules("Off Hours", {{"StreamPath", ending == Kept ? added.value(0) : "old.WAV"}});
        if (ending != Kept)
            continue;
        const QRegularExpressionMatch name = QRegularExpression("^ab_Off Hours_CustomGreeting_(\\d+)\\.WAV$").match(added.value(0));
        ASSERT_TRUE(name.hasMatch()) << added.value(0).toStdString();
        EXPECT_LE(qAbs(name.captured(1).toLongLong() - started.toSecsSinceEpoch() - started.offsetFromUtc()), 2);
        QFile copy(streamFiles.filePath(added[0]));
        EXPECT_TRUE(copy.open(QIODevice::ReadOnly) && copy.readAll() == wave);
        run.expectRules("Off Hours", {{"PlayWhat", 1}});
        EXPECT_EQ(run.linesOf("Off Hours"), QStringList{"    Greeting source set to recording using WAV file=" + file.fileName() + ".  Target path=" + copy.fileName()});
    }
}

// Slots 13, 15 and 17 chosen, the others on "<Don't Change>"; rules missing from the handler are
// reported by both categories, and the rules found still changed.
TEST(AfterGreetingActionsChange, ChosenSlotsWriteTheirRulesAndMissingRulesAreReported)
{
    const QString norwick = "!  This is a serious error, you should contact Norwick";
    const QString missing = "(error) could not find messaging rule for subscriber using Alias='%1'.  This is a serious error, you should contact Norwick.";
    const auto edits = [](const QString& alias, const QString& code, const QString& name, const QString& destination) {
        return QStringList{"   Edits for " + alias + " greeting:", "   After greeting action value set to: " + code,
                           "   After greeting action conversation name set to:" + name, "    After greeting action destination object id" + destination};
    };
    const QStringList standard = edits("Standard", "2", "PHTransfer", "=HANDLER-0000042"), busy = edits("Busy", "2", "SubSignIn", " cleared");
    const struct { QStringList deleted, lines; } cases[] = {
        {{}, standard + busy + edits("Internal", "1", "", " cleared")},
        {{"Internal"}, QStringList{missing.arg("Internal")} + standard + busy + QStringList{"(error) could not find messaging rule by index= 17"}},
        {{"Internal", "Error"}, {missing.arg("Internal"), missing.arg("Error"), "(error) messaging rules are missing for this subscriber" + norwick + "."}},
        {{"Standard", "Off Hours", "Busy", "Alternate", "Internal", "Error"}, {"(error) no messaging rules found for this subscriber" + norwick, "(error) messaging rules are missing for this subscriber" + norwick + "."}},
    };
    for (const auto& c : cases) {
        FirstHandler run;
        for (const QString& alias : c.deleted)
            run.session.database.execute("DELETE FROM MessagingRule WHERE ParentObjectID=? AND Alias=?", {run.handlerId, alias});
        run.make("Busy", {{"DestinationObjectID", "BEFORE"}, {"DestinationObjectIDType", 3}},
                 {{"optCallerInputGoToCallHandler_13", "[x]"}, {"txtCallerInputGoToCallHandlerObjectID_13", "HANDLER-0000042"}, {"optCallerInputTakeAction_15", "[x]"},
                  {"cmbCallerInputTakeAction_15", "=247"}, {"optCallerInputTakeAction_17", "[x]"}, {"cmbCallerInputTakeAction_17", "=152"}});
        run.run();
        EXPECT_EQ(run.changesOf(0).filter(QRegularExpression("^(\\(error\\)| {3,4}(Edits for|After greeting))")), c.lines);
        EXPECT_EQ(run.log->LogErrorCount(), c.lines.filter("(error)").size());
        if (!c.deleted.isEmpty())
            continue;
        run.expectRules("Standard", {{"DestinationObjectIDType", 3}});
        run.expectRules("Busy", {{"Action", 2}, {"DestinationObjectID", QVariant()}, {"DestinationObjectIDType", 0}});
        run.expectRules("Internal", {{"Action", 1}, {"ConversationName", ""}});
        run.expectRules("Error", {{"Action", 2}});
    }
}

}  // namespace
