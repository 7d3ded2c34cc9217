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

struct Pair {
    const char* name;
    QVariant value;
};

// A run over the first subscriber; choices "=N" show resource string N, "[x]" selects a button,
// any other text is typed (or shown by a list).
class FirstHandler : public EngineScenario {
public:
    FirstHandler()
    {
        EXPECT_TRUE(open());
        session.rsSubscribers.moveFirst();
        handlerId = session.rsSubscribers.value("CallHandlerObjectID").toString();
        streamFiles = QDir(velmo::serverRootPath(installation.folder()) + "Stream Files");
    }
    QVariant rule(const QString& alias, const QString& column)
    {
        return stored("SELECT " + column + " FROM MessagingRule WHERE ParentObjectID=? AND Alias=?", {handlerId, alias});
    }
    void setRule(const QString& alias, const Pair& column)
    {
        session.database.execute(QString("UPDATE MessagingRule SET ") + column.name + "=? WHERE ParentObjectID=? AND Alias=?",
                                 {column.value, handlerId, alias});
    }
    void make(const QList<Pair>& choices)
    {
        for (const Pair& choice : choices) {
            const QString value = choice.value.toString();
            if (value == "[x]")
                pick(choice.name), pick(QString(choice.name).replace(QRegularExpression("^opt[A-Za-z]*"), "optCallerInputDontChange"), false);
            else if (value.startsWith('='))
                chooseString(choice.name, value.mid(1).toInt());
            else
                QString(choice.name).startsWith("com") ? choose(choice.name, value) : type(choice.name, value);
        }
    }
    // The lines after a heading, up to the next line that stands out no further.
    QStringList linesAfter(const QString& heading) const
    {
        const QStringList changes = changesOf(0);
        QStringList block;
        for (qsizetype line = changes.indexOf(heading) + 1; line > 0 && line < changes.size(); ++line) {
            if (changes[line].endsWith(" Messaging Rule") || changes[line].startsWith("    Updating") || changes[line].isEmpty())
                break;
            block << changes[line];
        }
        return block;
    }
    QStringList listing() const { return streamFiles.entryList(QDir::Files | QDir::Hidden); }

    QString handlerId;
    QDir streamFiles;
};

// A value as text; a stored date-time is read as one when `expected` is one.
QString shown(const QVariant& value, const QVariant& expected = {})
{
    if (value.isNull())
        return "<null>";
    return expected.typeId() == QMetaType::QDateTime ? value.toDateTime().toString(Qt::ISODate) : value.toString();
}

TEST(GreetingsChange, EachChoiceWritesItsColumnAndLine)
{
    const QVariant disabled = SubscriberChanges::disabledDate();
    const struct {
        const char* alias;
        QList<Pair> before, choices;
        QStringList lines;
        QList<Pair> after;
    } cases[] = {
        {"Off Hours", {}, {{"comGreetingPlayPleaseRecord_1", "=279"}}, {"    Play 'please record...' prompt set to: 1"}, {{"PlayPleaseRecordPrompt", 0}}},
        {"Standard", {{"PlayPleaseRecordPrompt", 0}}, {{"comGreetingPlayPleaseRecord_0", "=137"}}, {"    Play 'please record...' prompt set to: 0"}, {{"PlayPleaseRecordPrompt", 1}}},
        {"Alternate", {{"PlayWhat", 1}}, {{"comGreetingSource_3", "=453"}}, {"    Greeting source set to system"}, {{"PlayWhat", 0}}},
        {"Internal", {}, {{"comGreetingSource_4", "=455"}}, {"    Greeting source set to blank"}, {{"PlayWhat", 2}}},
        {"Internal", {{"PlayWhat", 1}}, {{"comGreetingSource_4", "system"}}, {}, {{"PlayWhat", 1}}},   // case counts
        {"Standard", {}, {{"comGreetingEnabled_0", "=137"}}, {"   Greeting disabled"}, {{"TimeExpires", disabled}}},
        {"Off Hours", {{"TimeExpires", disabled}}, {{"comGreetingEnabled_1", "=279"}}, {"   Greeting enabled"}, {{"TimeExpires", QVariant()}}},
        {"Busy", {{"IgnoreDigits", 1}}, {{"comGreetingAllowInput_2", "=279"}}, {"   Ignore digits disabled"}, {{"IgnoreDigits", 0}}},
        {"Busy", {}, {{"comGreetingAllowInput_2", "=137"}}, {"   Ignore digits enabled"}, {{"IgnoreDigits", 1}}},
        {"Busy", {{"Reprompts", 3}}, {{"txtGreetingReplayTimes_2", "0"}, {"txtGreetingSecondsBetweenReplays_2", "7"}},
         {"    Reprompt times set to:  0", "    Reprompt delay interval set to:  7"}, {{"Reprompts", 0}, {"RepromptDelay", 7}}},
        {"Alternate", {{"PlayWhat", 0}}, {{"comGreetingSource_3", "=454"}, {"txtGreetingSourcePath_3", ""}, {"txtGreetingReplayTimes_3", "4"}},
         {"(error) path to greeting WAV file to use is empty", "    Reprompt times set to:  4"}, {{"PlayWhat", 0}, {"Reprompts", 4}}},
        {"Alternate", {{"PlayWhat", 0}}, {{"comGreetingSource_3", "=454"}, {"txtGreetingSourcePath_3", "/no/such.wav"}},
         {"(error) path for WAV file to use for greeting source not found:/no/such.wav"}, {{"PlayWhat", 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.alias) + ", " + c.choices[0].name);
        FirstHandler run;
        for (const Pair& column : c.before)
            run.setRule(c.alias, column);
        run.make(c.choices);
        run.run();
        EXPECT_EQ(run.linesAfter(QString("   ") + c.alias + " Messaging Rule"), c.lines);
        for (const Pair& column : c.after)
            EXPECT_EQ(shown(run.rule(c.alias, column.name), column.value), shown(column.value, column.value)) << column.name;
        EXPECT_EQ(run.log->LogErrorCount(), c.lines.filter("(error)").size());
    }
}

// A recording is copied under the subscriber's alias (without "/") and the rule's, put in place
// when the subscriber commits; a rollback or a failed copy leaves no file and the rule as it was.
TEST(GreetingsChange, ARecordingIsPlacedOnlyWhenTheSubscriberIsKept)
{
    enum Ending { Kept, RolledBack, CopyFailed };
    for (const Ending ending : {Kept, RolledBack, CopyFailed}) {
        SCOPED_TRACE(ending);
        FirstHandler run;
        Recordset& subscribers = run.session.rsSubscribers;
        subscribers.setValue("Alias", "a/b");
        subscribers.update();
        const QString wav = run.programFolder.filePath("hello.wav");
        QFile file(wav);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray("RIFF\0WAVE", 9)) == 9);
        file.close();
        run.setRule("Off Hours", {"StreamPath", "old.WAV"});
        run.make({{"comGreetingSource_1", "=454"}, {"txtGreetingSourcePath_1", wav}});
        if (ending == RolledBack) {
            run.session.bDirectoryWriteThroughPending = true;
            run.session.database.registerProcedure("sp_ModifySubscriber", [](Database&, ProcedureParameters&) {
                throw KestraneError(ErrorNumber::DatabaseError, "refused");
            });
        }
        if (ending == CopyFailed) {
            ASSERT_TRUE(run.streamFiles.removeRecursively());
        }
        const QStringList before = run.listing();
        const QDateTime started = QDateTime::currentDateTime();
        run.run();
        const qint64 secondsFrom = started.toSecsSinceEpoch() + started.offsetFromUtc();
        const QStringList after = run.listing();
        const QStringList added = QSet<QString>(after.begin(), after.end()).subtract({before.begin(), before.end()}).values();
        EXPECT_EQ(run.log->LogErrorCount(), ending == Kept ? 0 : 1);
        EXPECT_EQ(shown(run.rule("Off Hours", "StreamPath")), ending == Kept ? added.value(0) : "old.WAV");
        if (ending != Kept) {
            EXPECT_EQ(added, QStringList{});
            EXPECT_EQ(run.lines.filter("(error):").size(), 1);
            continue;
        }
        ASSERT_EQ(added.size(), 1);
        const QRegularExpressionMatch name = QRegularExpression("^ab_Off Hours_CustomGreeting_(\\d+)\\.WAV$").match(added[0]);
        ASSERT_TRUE(name.hasMatch()) << added[0].toStdString();
        EXPECT_LE(qAbs(name.captured(1).toLongLong() - secondsFrom), 2);
        QFile copy(run.streamFiles.filePath(added[0]));
        EXPECT_TRUE(copy.open(QIODevice::ReadOnly) && copy.readAll() == QByteArray("RIFF\0WAVE", 9));
        EXPECT_EQ(run.rule("Off Hours", "PlayWhat").toInt(), 1);
        EXPECT_EQ(run.linesAfter("   Off Hours Messaging Rule"),
                  QStringList{"    Greeting source set to recording using WAV file=" + wav + ".  Target path=" + copy.fileName()});
    }
}

// The action after each greeting: a slot on "<Don't Change>" is passed over; a destination is
// kept only for action 2 with an object ID.
TEST(AfterGreetingActionsChange, EachChosenSlotWritesItsRule)
{
    const QString cleared = "    After greeting action destination object id cleared";
    const struct {
        const char* alias;
        QList<Pair> choices;
        QStringList lines;
        QList<Pair> after;
    } cases[] = {
        {"Busy", {{"optCallerInputTakeAction_15", "[x]"}, {"cmbCallerInputTakeAction_15", "=247"}},
         {"   Edits for Busy greeting:", "   After greeting action value set to: 2", "   After greeting action conversation name set to:SubSignIn", cleared},
         {{"Action", 2}, {"ConversationName", "SubSignIn"}, {"DestinationObjectID", QVariant()}, {"DestinationObjectIDType", 0}}},
        {"Standard", {{"optCallerInputGoToCallHandler_13", "[x]"}, {"txtCallerInputGoToCallHandlerObjectID_13", "HANDLER-0000042"}},
         {"   Edits for Standard greeting:", "   After greeting action value set to: 2", "   After greeting action conversation name set to:PHTransfer",
          "    After greeting action destination object id=HANDLER-0000042"},
         {{"Action", 2}, {"DestinationObjectID", "HANDLER-0000042"}, {"DestinationObjectIDType", 3}}},
        {"Error", {{"optCallerInputTakeAction_18", "[x]"}, {"cmbCallerInputTakeAction_18", "=152"}},
         {"   Edits for Error greeting:", "   After greeting action value set to: 1", "   After greeting action conversation name set to:", cleared},
         {{"Action", 1}, {"ConversationName", ""}, {"DestinationObjectID", QVariant()}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.alias);
        FirstHandler run;
        run.setRule(c.alias, {"DestinationObjectID", "BEFORE"});
        run.make(c.choices);
        run.run();
        EXPECT_EQ(run.changesOf(0).filter(QRegularExpression("^ {3,4}(Edits for|After greeting)")), c.lines);
        for (const Pair& column : c.after)
            EXPECT_EQ(shown(run.rule(c.alias, column.name)), shown(column.value)) << column.name;
        EXPECT_EQ(run.log->LogErrorCount(), 0);
    }
}

// Missing rules are reported by each category; the rules found are still changed.
TEST(AfterGreetingActionsChange, MissingRulesAreReportedByBothCategories)
{
    const QString norwick = "!  This is a serious error, you should contact Norwick";
    const struct {
        QStringList deleted;
        QStringList errors;
        int busyAction;   // slot 15 hangs up when its rule is changed
    } cases[] = {
        {{"Internal"},
         {"(error) could not find messaging rule for subscriber using Alias='Internal'.  This is a serious error, you should contact Norwick.",
          "(error) could not find messaging rule by index= 17"},
         1},
        {{"Internal", "Error"},
         {"(error) could not find messaging rule for subscriber using Alias='Internal'.  This is a serious error, you should contact Norwick.",
          "(error) could not find messaging rule for subscriber using Alias='Error'.  This is a serious error, you should contact Norwick.",
          "(error) messaging rules are missing for this subscriber" + norwick + "."},
         4},
        {{"Standard", "Off Hours", "Busy", "Alternate", "Internal", "Error"},
         {"(error) no messaging rules found for this subscriber" + norwick, "(error) messaging rules are missing for this subscriber" + norwick + "."},
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.deleted.join(", ").toStdString());
        FirstHandler run;
        for (const QString& alias : c.deleted)
            run.session.database.execute("DELETE FROM MessagingRule WHERE ParentObjectID=? AND Alias=?", {run.handlerId, alias});
        run.make({{"optCallerInputTakeAction_17", "[x]"}, {"cmbCallerInputTakeAction_17", "=152"},
                  {"optCallerInputTakeAction_15", "[x]"}, {"cmbCallerInputTakeAction_15", "=152"}});
        run.run();
        EXPECT_EQ(run.changesOf(0).filter("(error)"), c.errors);
        EXPECT_EQ(run.rule("Busy", "Action").toInt(), c.busyAction);
    }
}

}  // namespace
