// The profile, conversation timing and language/switch categories of the subscriber engine, run
// on the loaded options page of a generated installation: the lines each choice logs and the
// columns it leaves in the database.
#include "core/ControlNames.h"
#include "core/Recordset.h"
#include "tests/subscribers_ui/EngineScenario.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The subscriber the runs change: the first of the directory list.
const QString kFirst = "(SELECT SubscriberObjectID FROM vw_Subscriber ORDER BY SubscriberObjectID LIMIT 1)";

// A scenario on that server, `setup` run on its database before start-up, opened.
std::unique_ptr<EngineScenario> opened(const velmo::InstallationOptions& server, const QStringList& setup = {})
{
    auto run = std::make_unique<EngineScenario>(server);
    for (const QString& statement : setup)
        run->sql(statement);
    EXPECT_TRUE(run->open());
    return run;
}

QVariant column(EngineScenario& run, const QString& name, bool ofHandler = false)
{
    return run.stored(ofHandler ? "SELECT h." + name + " FROM CallHandler h JOIN Subscriber s ON s.CallHandlerObjectID = "
                                                    "h.CallHandlerObjectID WHERE s.SubscriberObjectID=?"
                                : "SELECT " + name + " FROM Subscriber WHERE SubscriberObjectID=?",
                      {run.rows[0].objectID});
}

// A value as the tests compare it: "NULL" for null, else its text.
QString shown(const QVariant& value)
{
    return value.isNull() ? QStringLiteral("NULL") : value.toString();
}

// Lines as one text, so that a failure shows them readably.
std::string joined(const QStringList& lines)
{
    return lines.join('\n').toStdString();
}

std::string changesMatching(EngineScenario& run, const QString& pattern)
{
    return joined(run.changesOf(0).filter(QRegularExpression(pattern)));
}

// One choice of a list by its text and what it leaves: the column held 9 before the run.
struct Choice {
    const char* control;
    int string;            // the resource string chosen; -1: `typed`
    const char* typed;     // with string -1, or "upper"/"lower" to change the string's case
    const char* column;
    QVariant stored;       // invalid: null; 9: kept
    const char* line;      // "%1": the chosen text
};

// Each round is one run; its choices are on different lists. `directory`: the write-through flag.
struct ChoiceRound {
    std::vector<Choice> choices;
    bool directory;
};

TEST(SubscriberListChoices, EachChoiceWritesItsColumnAndLogsItsLine)
{
    const char* badStyle = "(error) invalid value for the conversation style on the subscriber conversation tab:%1";
    const char* badReceipt = "(error) invalid value for the receipt options on the subscriber conversation tab:%1";
    const ChoiceRound rounds[] = {
        {{{"comProfileSubscriberEnrollment", 279, "", "NewMailUser", 1, "   Self enrollment value set to:  1"},
          {"comProfileDirList", 137, "", "ListInDirectory", 0, "   List in Directory set to:  0"},
          {"comProfileConversationStyle", 355, "", "ConversationName", "SubMenuOpt1", "    Conversation name set to Optional Conversation 1"},
          {"comConversationReceiptOptions", 530, "", "ExcludeReceipts", 2, "    Conversation exclude receipts set to '2'"},
          {"comProfileTimeFormat", 451, "upper", "ClockMode", 1, "    Time format set to 24 hour format"},
          {"cmbConversationSendEncryptAllPrivate", 279, "", "EncryptPrivateMessages", 1, "   EncryptPrivateMessages set to: 1"},
          {"cmbConversationAddressThenRecord", 137, "lower", "SendMessageConvFlow", 0, "   SendMessageConvFlow set to: 0"}},
         true},
        {{{"comProfileWarnForAlternateGreeting", 137, "", "SayAltGreetWarning", 0,
           "   Warn subscriber of alternate greeting being enabled=:  0"},
          {"comProfileWarnFollowMeRuleActive", 279, "", "SayFollowMeRuleWarning", 1,
           "    Warn subscriber of Follow-Me Rule being active=:  1"},
          {"comProfileConversationStyle", 459, "", "ConversationName", "SubMenu_AlternateN",
           "    Conversation name set to Alternate keypad mapping (N)"},
          {"comConversationReceiptOptions", 528, "", "ExcludeReceipts", 0, "    Conversation exclude receipts set to '0'"},
          {"comProfileTimeFormat", 450, "", "ClockMode", 0, "    Time format set to 12 hour clock"},
          {"cmbConversationConstantLookup", 279, "", "ConstantLookup", 1, "   ConstantLookup set to: 1"},
          {"cmbConversationSendOnHangup", -1, "maybe", "SendMessageOnHangup", 9, nullptr}},
         false},
        {{{"comProfileShowInAddressBook", 279, "", "HiddenInDirectory", 1, "   Hide in email directory set to:  1"},
          {"comProfileConversationStyle", 494, "", "ConversationName", "SubMenu_Alternate_Custom3",
           "    Conversation name set to Custom Keypad Mapping 3"},
          {"comConversationReceiptOptions", 529, "upper", "ExcludeReceipts", 9, badReceipt},
          {"comProfileTimeFormat", 449, "", "ClockMode", QVariant(), "    Time format set to system default"}},
         true},
        {{{"comProfileConversationStyle", 354, "lower", "ConversationName", 9, badStyle}}, false},
        {{{"comProfileConversationStyle", 354, "", "ConversationName", "SubMenu", "    Conversation name set to Standard"}}, false},
    };
    for (const ChoiceRound& round : rounds) {
        QStringList setup;
        for (const Choice& choice : round.choices)
            setup << QString("UPDATE Subscriber SET %1=9").arg(choice.column);
        auto run = opened(TempInstallation::smallOptions(), setup);
        QStringList lines;
        for (const Choice& choice : round.choices) {
            const QString as = choice.typed;
            QString text = choice.string < 0 ? as : run->string(choice.string);
            text = as == "upper" ? text.toUpper() : as == "lower" ? text.toLower() : text;
            run->choose(choice.control, text);
            lines << (choice.line ? QString(choice.line).replace("%1", text) : QString());
        }
        run->run(1);
        int errors = 0;
        for (size_t i = 0; i < round.choices.size(); ++i) {
            const Choice& choice = round.choices[i];
            SCOPED_TRACE(choice.control);
            if (!lines[i].isEmpty()) {
                EXPECT_EQ(run->changesOf(0).count(lines[i]), 1) << joined(run->changesOf(0));
            }
            errors += lines[i].startsWith("(error)");
            EXPECT_EQ(shown(column(*run, choice.column)), shown(choice.stored));
        }
        EXPECT_EQ(run->log->LogErrorCount(), errors);
        EXPECT_EQ(run->session.bDirectoryWriteThroughPending, round.directory);
    }
}

TEST(SubscriberListChoices, DisplayNameIsRebuiltFromTheNamesAndAlwaysToldToTheDirectory)
{
    const struct {
        int choice;   // 367 "First Name Last Name", 368 "Last Name, First Name"
        const char* names;   // the SET clause
        const char* stored;
        QString line;
    } cases[] = {
        {367, "FirstName='Ada', LastName='Okafor'", "Ada Okafor", "    Display name updated to: Ada Okafor"},
        {367, "FirstName=NULL, LastName='Okafor'", "Okafor", "    Display name updated to:  Okafor"},
        {368, "FirstName='Ada', LastName='Okafor'", "Okafor, Ada", "    Display name updated to: Okafor, Ada"},
        {368, "FirstName='Ada', LastName=NULL", "Ada", "    Display name updated to: Ada"},
        {368, "FirstName=NULL, LastName=NULL", "Kept",
         "(error) no first or last name found for user - the request to force the display name to change for this user "
         "has been skipped."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.names);
        auto run = opened(TempInstallation::smallOptions(), {QString("UPDATE Subscriber SET %1, DisplayName='Kept'").arg(c.names)});
        run->chooseString("comProfileForceDisplayName", c.choice);
        run->run(1);
        EXPECT_EQ(changesMatching(*run, "Display name|first or last name"), c.line.toStdString());
        EXPECT_EQ(column(*run, "DisplayName").toString(), c.stored);
        EXPECT_EQ(run->stored("SELECT COUNT(*) FROM DirectorySyncRequest WHERE SubscriberObjectID=?", {run->rows[0].objectID}).toInt(), 1);
    }
}

// The handler row is saved after the subscriber row: when the server refuses it, the subscriber
// keeps none of its changes, in the database or in the directory list.
TEST(SubscriberListChoices, ARefusedHandlerUpdateKeepsNoneOfTheSubscribersChanges)
{
    auto run = opened(TempInstallation::smallOptions(),
                      {"UPDATE Subscriber SET ListInDirectory=0", "UPDATE CallHandler SET ScheduleObjectName='All Hours'",
                       "CREATE TRIGGER RefuseHandler BEFORE UPDATE ON CallHandler BEGIN SELECT RAISE(ABORT, 'refused by "
                       "the server'); END"});
    run->chooseString("comProfileDirList", 279);
    run->chooseItem("cmbSubscriberProfileSchedule", "Weekdays", 0, 1);
    run->run(1);
    const QStringList errors = run->changesOf(0).filter("(error)");
    ASSERT_EQ(errors.size(), 1) << joined(run->changesOf(0));
    EXPECT_TRUE(errors[0].startsWith("(error):")) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains("refused by the server")) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].endsWith(") in procedure MakeChangesToSubscriber of Form frmMakeSubscriberChanges.  None of this "
                                   "subscriber's changes were kept.")) << errors[0].toStdString();
    EXPECT_EQ(run->changesOf(0).count("   List in Directory set to:  1"), 1);
    EXPECT_EQ(column(*run, "ListInDirectory").toInt(), 0);
    EXPECT_EQ(column(*run, "ScheduleObjectName", true).toString(), "All Hours");
    Recordset& subscribers = run->session.rsSubscribers;
    subscribers.moveFirst();
    ASSERT_TRUE(subscribers.find("SubscriberObjectID='" + run->rows[0].objectID + "'"));
    EXPECT_EQ(subscribers.value("ListInDirectory").toInt(), 0);
    EXPECT_EQ(run->stored("SELECT COUNT(*) FROM DirectorySyncRequest").toInt(), 0);
    EXPECT_EQ(run->log->LogErrorCount(), 1);
}

TEST(ConversationTimingChanges, SpeedsAreWrittenFromTheirServerVersionOn)
{
    const struct {
        int build;
        int prompt, message;               // resource strings chosen
        int promptStored, messageStored;   // -1: not written
        bool upperCase = false;            // the lists show the entries in capitals: no entry, case matters
    } cases[] = {{145, 476, 464, 80, 200}, {145, 474, 479, 100, 50}, {144, 476, 464, -1, -1}, {145, 476, 464, -1, -1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.prompt);
        // Older servers have no speed columns.
        auto run = opened(TempInstallation::smallServer(4, 0, 4, c.build),
                          c.build >= 145 ? QStringList{"UPDATE Subscriber SET PromptSpeed=7, Speed=7"} : QStringList{});
        run->choose("comConversationSpeed", c.upperCase ? run->string(c.prompt).toUpper() : run->string(c.prompt));
        run->choose("comConversationMessageSpeed", c.upperCase ? run->string(c.message).toUpper() : run->string(c.message));
        run->run(1);
        QStringList expected;
        if (c.promptStored >= 0) {
            expected << QString("    Prompt speed value set to %1").arg(c.promptStored)
                     << QString("    Message playback speed value set to %1").arg(c.messageStored);
            EXPECT_EQ(column(*run, "PromptSpeed").toInt(), c.promptStored);
            EXPECT_EQ(column(*run, "Speed").toInt(), c.messageStored);
        } else if (c.build >= 145) {
            EXPECT_EQ(column(*run, "PromptSpeed").toInt(), 7);
            EXPECT_EQ(column(*run, "Speed").toInt(), 7);
        }
        EXPECT_EQ(changesMatching(*run, "speed value"), joined(expected));
        EXPECT_EQ(run->log->LogErrorCount(), 0);
    }
}

TEST(ConversationTimingChanges, TimeOutsGoInTheirOrderNullWhenEmptyAndAsTyped)
{
    const char* columns[] = {"FirstDigitTimeOut", "InterdigitDelay", "RepeatMenu", "CommandInterdigitDelay"};
    const struct {
        int update;            // chkConversationAccessibilityUpdate
        QStringList boxes;     // index 0 to 3
        QStringList stored;    // in the order of `columns`
        QStringList lines;
    } cases[] = {
        {1, {"", "", "", ""}, {"NULL", "NULL", "NULL", "NULL"},
         {"    First Digit Timeout set to null", "    Interdigit Delay set to null", "    Command Interdigit Delay set to null",
          "    Repeat Menu set to null"}},
        {1, {"03000", "250.9", "3", "1500"}, {"3000", "250", "3", "1500"},
         {"    First Digit Timeout set to 03000", "    Interdigit delay set to 250.9", "    Command Interdigit delay set to 1500",
          "    Repeat Menu set to 3"}},
        {0, {"03000", "250", "3", "1500"}, {"7", "7", "7", "7"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.boxes.join(',').toStdString());
        auto run = opened(TempInstallation::smallOptions(),
                          {"UPDATE Subscriber SET FirstDigitTimeOut=7, InterdigitDelay=7, RepeatMenu=7, CommandInterdigitDelay=7"});
        run->tick("chkConversationAccessibilityUpdate", c.update);
        for (int box = 0; box < 4; ++box)
            run->type(elementName("txtConversationAccessibility", box), c.boxes[box]);
        run->run(1);
        EXPECT_EQ(changesMatching(*run, "(Timeout|[Dd]elay|Menu) set"), joined(c.lines));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(shown(column(*run, columns[i])), c.stored[i]) << columns[i];
    }
}

TEST(ConversationTimingChanges, AllowedStylesAreTheTickedBoxesFromTheirServerVersionOn)
{
    const struct {
        bool newServer;   // 5.0(0).10, else 4.2(0).1 (no such column)
        int noChange;
        QList<std::pair<const char*, int>> boxes;   // changed from the dialog's initial state
        int stored;   // -1: not written
    } cases[] = {
        {true, CheckValue::Clear, {}, 507},
        {true, CheckValue::Clear, {{"chkAlternateN", 0}, {"chkAlternateS", 0}, {"chkAlternateX", 0}, {"chkCustom1", 0},
                                   {"chkCustom2", 0}, {"chkCustom3", 0}, {"chkOptional1", 0}, {"chkHVM", 1}}, 5},
        {true, CheckValue::Clear, {{"chkCustom3", CheckValue::Dimmed}, {"chkStandard", 0}}, 250},
        {true, CheckValue::Dimmed, {}, -1},
        {true, CheckValue::Ticked, {}, -1},
        {false, CheckValue::Clear, {}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.newServer << " " << c.noChange << " " << c.stored);
        auto run = c.newServer ? opened(TempInstallation::smallServer(5, 0, 0, 10), {"UPDATE Subscriber SET AllowedConversations=1"})
                               : opened(TempInstallation::smallServer(4, 2, 0, 1));
        run->limit("chkNoChange", c.noChange);
        for (const auto& [box, state] : c.boxes)
            run->limit(box, state);
        run->run(1);
        EXPECT_EQ(changesMatching(*run, "AllowedConversation="),
                  c.stored < 0 ? "" : "    AllowedConversation= " + std::to_string(c.stored));
        if (c.newServer) {
            EXPECT_EQ(column(*run, "AllowedConversations").toInt(), c.stored < 0 ? 1 : c.stored);
        }
        EXPECT_EQ(run->log->LogErrorCount(), 0);
    }
}

TEST(LanguageAndSwitchChanges, LanguagesTimeZoneAndScheduleGoToTheirRows)
{
    struct Item {
        const char* list;
        const char* text;
        int data;
        int index;
    };
    struct Expected {
        bool ofHandler;
        const char* column;
        QVariant stored;   // invalid: null
        const char* line;
    };
    const struct {
        QList<Item> items;
        QList<Expected> expected;
    } rounds[] = {
        {{{"cmbSubscriberProfileDefaultLanguage", "French", 1036, 2},
          {"cmbSubscriberProfileOutsideCallerLanguage", "Inherited", 1, 1},
          {"cmbSubscriberProfileTimeZoneDisplayNames", "<Server zone>", 0, 1},
          {"cmbSubscriberProfileSchedule", "Weekdays", 0, 1}},
         {{false, "Language", 1036, "   Language subscriber hears set to langID:  1036"},
          {true, "Language", QVariant(), "   Language callers hear set to Inherited"},
          {false, "TimeZoneID", 0, "   Time zone set to:<Server zone>"},
          {true, "ScheduleObjectName", "Weekdays", "    Schedule set to:Weekdays"}}},
        {{{"cmbSubscriberProfileOutsideCallerLanguage", "German", 1031, 2},
          {"cmbSubscribersProfileTimeZoneIDs", "abc", 0, 3},
          {"cmbSubscriberProfileTimeZoneDisplayNames", "(GMT-05:00) Eastern", 3, 4}},
         {{true, "Language", 1031, "   Language callers hear set to LangID: 1031"},
          {false, "TimeZoneID", 19661094, "   Time zone set to:(GMT-05:00) Eastern"}}},
        {{{"cmbSubscribersProfileTimeZoneIDs", "abc", 0, 2},
          {"cmbSubscriberProfileTimeZoneDisplayNames", "(GMT+05:30) Chennai", 2, 5}},
         {{false, "TimeZoneID", -21626586, "   Time zone set to:(GMT+05:30) Chennai"}}},
    };
    for (const auto& round : rounds) {
        auto run = opened(TempInstallation::smallOptions(),
                          {"UPDATE Subscriber SET Language=1033, TimeZoneID=5",
                           "UPDATE CallHandler SET Language=1033, ScheduleObjectName='All Hours'"});
        for (const Item& item : round.items)
            run->chooseItem(item.list, item.text, item.data, item.index);
        run->run(1);
        for (const Expected& expected : round.expected) {
            SCOPED_TRACE(expected.line);
            EXPECT_EQ(run->changesOf(0).count(expected.line), 1) << joined(run->changesOf(0));
            EXPECT_EQ(shown(column(*run, expected.column, expected.ofHandler)), shown(expected.stored));
        }
        EXPECT_EQ(run->log->LogErrorCount(), 0);
    }
}

TEST(LanguageAndSwitchChanges, SwitchMovesTheSubscriberItsDevicesAndItsContactRules)
{
    const struct {
        bool devices, rules;
    } cases[] = {{true, true}, {false, true}, {true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "devices " << c.devices << ", rules " << c.rules);
        QStringList setup{"DELETE FROM NotificationMWI WHERE ParentObjectID=" + kFirst};
        for (const char* alias : {"MWI-1", "MWI-2"})
            if (c.devices)
                setup << QString("INSERT INTO NotificationMWI (ParentObjectID, Alias, MWIExtension, SwitchID) "
                                 "VALUES (%1, '%2', '100', 0)").arg(kFirst, alias);
        if (!c.rules)
            setup << "DELETE FROM ContactRule WHERE ParentObjectID=(SELECT CallHandlerObjectID FROM Subscriber WHERE "
                     "SubscriberObjectID=" + kFirst + ")";
        auto run = opened(TempInstallation::smallOptions(), setup);
        run->chooseItem("cmbSubscriberProfileSwitchAssignment", "Second integration", 2, 2);
        run->run(1);

        // The subscriber's line, then its devices' (in the order stored), then its rules' (any order).
        QStringList expected{"   Switch assignment set to:  2"};
        if (c.devices)
            expected << "        Updating MWI device with alias=MWI-1 to switchId= 2"
                     << "        Updating MWI device with alias=MWI-2 to switchId= 2";
        else
            expected << "(error) no MWI devices found for this subscriber!  This is a serious issue, you should contact Norwick.";
        QStringList rules;
        for (const char* rule : {"Alternate", "Follow-Me Here", "Follow-Me Home", "Follow-Me Mobile", "Off Hours", "Standard"})
            if (c.rules)
                rules << QString("        Updating contact rule with alias=%1 to switchId= 2").arg(rule);
        if (!c.rules)
            rules << "(error) no contact rules found for this subscriber!  This is a serious issue, you should contact Norwick.";
        const QStringList lines = run->changesOf(0).filter(
            QRegularExpression("Switch assignment|to switchId=|no MWI devices|contact rules found.*serious issue"));
        QStringList ruleLines = lines.mid(expected.size());
        ruleLines.sort();
        EXPECT_EQ(joined(lines.mid(0, expected.size())), joined(expected));
        EXPECT_EQ(joined(ruleLines), joined(rules));

        const QVariantList id{run->rows[0].objectID};
        EXPECT_EQ(column(*run, "SwitchID").toInt(), 2);
        EXPECT_EQ(run->stored("SELECT COUNT(*) FROM NotificationMWI WHERE SwitchID=2 AND ParentObjectID=?", id).toInt(), c.devices ? 2 : 0);
        EXPECT_EQ(run->stored("SELECT COUNT(*) FROM ContactRule r JOIN Subscriber s ON s.CallHandlerObjectID = "
                              "r.ParentObjectID WHERE r.SwitchID=2 AND s.SubscriberObjectID=?", id).toInt(), c.rules ? 6 : 0);
        EXPECT_EQ(run->session.bNotifierRestartPending, c.devices);
        // Without contact rules the transfer rules report each of theirs too.
        const int transferRules = run->session.isVersionAtLeast(7, 0, 0, 1) ? 6 : 3;
        EXPECT_EQ(run->log->LogErrorCount(), (c.devices ? 0 : 1) + (c.rules ? 0 : 1 + transferRules));
    }
}

TEST(LanguageAndSwitchChanges, DontChangeEntriesChangeNothing)
{
    auto run = opened(TempInstallation::smallOptions(), {"UPDATE CallHandler SET ScheduleObjectName='All Hours'"});
    run->chooseItem("cmbSubscriberProfileDefaultLanguage", "<Don't Change>", 0, 0);
    run->chooseItem("cmbSubscriberProfileOutsideCallerLanguage", "<Don't Change>", 0, 0);
    run->chooseItem("cmbSubscriberProfileSwitchAssignment", "<Don't Change>", 7, 0);
    run->chooseItem("cmbSubscriberProfileTimeZoneDisplayNames", "<Don't Change>", -1, 0);
    // "<Don't Change>" in any case, and a list without any entry, name no schedule.
    for (const QString& schedule : {run->string(20).toLower(), QString()}) {
        run->choose("cmbSubscriberProfileSchedule", schedule);
        run->run(1);
        EXPECT_EQ(changesMatching(*run, "Language|[Ss]witch|Time zone|Schedule"), "");
        EXPECT_EQ(column(*run, "ScheduleObjectName", true).toString(), "All Hours");
    }
    EXPECT_FALSE(run->session.bNotifierRestartPending);
}

}  // namespace
