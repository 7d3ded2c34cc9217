// The profile, conversation timing and language/switch categories of the subscriber engine, run
// on the loaded options page of a generated installation: the lines each choice logs and the
// columns it leaves in the database.
#include "core/ControlNames.h"
#include "tests/subscribers_ui/EngineScenario.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// The subscriber the runs change: the first of the directory list.
const QString kFirst = "(SELECT SubscriberObjectID FROM vw_Subscriber ORDER BY SubscriberObjectID LIMIT 1)";

// A scenario on a server of that version, `setup` run on its database before start-up, opened.
std::unique_ptr<EngineScenario> opened(velmo::InstallationOptions server = TempInstallation::smallOptions(),
                                       const QStringList& setup = {})
{
    auto run = std::make_unique<EngineScenario>(server);
    for (const QString& statement : setup)
        run->sql(statement);
    EXPECT_TRUE(run->open());
    return run;
}

QVariant subscriberColumn(EngineScenario& run, const QString& column)
{
    return run.stored("SELECT " + column + " FROM Subscriber WHERE SubscriberObjectID=?", {run.rows[0].objectID});
}

QVariant handlerColumn(EngineScenario& run, const QString& column)
{
    return run.stored("SELECT h." + column + " FROM CallHandler h JOIN Subscriber s ON s.CallHandlerObjectID = "
                      "h.CallHandlerObjectID WHERE s.SubscriberObjectID=?",
                      {run.rows[0].objectID});
}

// A column's value as a test compares it: "NULL" for null, else its text.
QString shown(const QVariant& value)
{
    return value.isNull() ? QStringLiteral("NULL") : value.toString();
}

// Lines as a test compares them: one text, so that a failure shows them readably.
std::string joined(const QStringList& lines)
{
    return lines.join('\n').toStdString();
}

// The lines of subscriber 0 that begin with `prefix`.
QStringList linesStartingWith(EngineScenario& run, const QString& prefix)
{
    QStringList found;
    for (const QString& line : run.changesOf(0))
        if (line.startsWith(prefix))
            found << line;
    return found;
}

// ---- profile settings --------------------------------------------------------------------

TEST(ProfileSettingsChanges, EachTrueFalseChoiceWritesItsColumnAndLine)
{
    struct Case {
        const char* control;
        int choice;   // TRUE 279, FALSE 137
        const char* column;
        QString line;
        int stored;
        bool toldToDirectory;
    };
    const Case cases[] = {
        {"comProfileSubscriberEnrollment", 279, "NewMailUser", "   Self enrollment value set to:  1", 1, false},
        {"comProfileDirList", 137, "ListInDirectory", "   List in Directory set to:  0", 0, true},
        {"comProfileShowInAddressBook", 279, "HiddenInDirectory", "   Hide in email directory set to:  1", 1, true},
        {"comProfileWarnForAlternateGreeting", 137, "SayAltGreetWarning",
         "   Warn subscriber of alternate greeting being enabled=:  0", 0, false},
        {"comProfileWarnFollowMeRuleActive", 279, "SayFollowMeRuleWarning",
         "    Warn subscriber of Follow-Me Rule being active=:  1", 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        const int opposite = 1 - c.stored;
        auto run = opened(TempInstallation::smallOptions(),
                          {QString("UPDATE Subscriber SET %1=%2").arg(c.column).arg(opposite)});
        run->chooseString(c.control, c.choice);
        run->run(1);
        EXPECT_TRUE(run->changesOf(0).contains(c.line)) << run->lines.join("|").toStdString();
        EXPECT_EQ(subscriberColumn(*run, c.column).toInt(), c.stored);
        EXPECT_EQ(run->session.bDirectoryWriteThroughPending, c.toldToDirectory);
        EXPECT_EQ(run->log->LogErrorCount(), 0);
    }
}

TEST(ProfileSettingsChanges, DisplayNameIsRebuiltFromTheNames)
{
    struct Case {
        int choice;   // 367 "First Name Last Name", 368 "Last Name, First Name"
        const char* first;
        const char* last;
        QString stored;   // empty: kept
        QString line;
    };
    const QString none = "NULL";
    const QString refused = "(error) no first or last name found for user - the request to force the display name "
                            "to change for this user has been skipped.";
    const Case cases[] = {
        {367, "'Ada'", "'Okafor'", "Ada Okafor", "    Display name updated to: Ada Okafor"},
        {367, "NULL", "'Okafor'", "Okafor", "    Display name updated to:  Okafor"},
        {368, "'Ada'", "'Okafor'", "Okafor, Ada", "    Display name updated to: Okafor, Ada"},
        {368, "'Ada'", "NULL", "Ada", "    Display name updated to: Ada"},
        {368, "NULL", "NULL", "", refused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        auto run = opened(TempInstallation::smallOptions(),
                          {QString("UPDATE Subscriber SET FirstName=%1, LastName=%2, DisplayName='Kept'").arg(c.first, c.last)});
        run->chooseString("comProfileForceDisplayName", c.choice);
        run->run(1);
        EXPECT_EQ(joined(linesStartingWith(*run, c.stored.isEmpty() ? "(error)" : "    Display name")), c.line.toStdString());
        EXPECT_EQ(subscriberColumn(*run, "DisplayName").toString(), c.stored.isEmpty() ? "Kept" : c.stored);
        // The directory is told even when the name was refused.
        EXPECT_TRUE(run->session.bDirectoryWriteThroughPending);
        EXPECT_EQ(run->stored("SELECT COUNT(*) FROM DirectorySyncRequest WHERE SubscriberObjectID=?",
                              {run->rows[0].objectID}).toInt(), 1);
    }
}

// ---- conversation style and timing ---------------------------------------------------------

TEST(ConversationTimingChanges, SpeedsAreWrittenFromTheirServerVersionOn)
{
    struct Case {
        int build;
        int prompt, message;   // resource strings of the choices
        int promptStored, messageStored;   // -1: not written
    };
    const Case cases[] = {
        {145, 476, 464, 80, 200},
        {145, 474, 479, 100, 50},
        {144, 476, 464, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.build);
        auto run = opened(TempInstallation::smallServer(4, 0, 4, c.build));
        run->chooseString("comConversationSpeed", c.prompt);
        run->chooseString("comConversationMessageSpeed", c.message);
        run->run(1);
        QStringList expected;
        if (c.promptStored >= 0) {
            expected << "    Prompt speed value set to " + QString::number(c.promptStored)
                     << "    Message playback speed value set to " + QString::number(c.messageStored);
            EXPECT_EQ(subscriberColumn(*run, "PromptSpeed").toInt(), c.promptStored);
            EXPECT_EQ(subscriberColumn(*run, "Speed").toInt(), c.messageStored);
        }
        EXPECT_EQ(joined(linesStartingWith(*run, "    Prompt speed") + linesStartingWith(*run, "    Message playback")), joined(expected));
        EXPECT_EQ(run->log->LogErrorCount(), 0);
    }
}

TEST(ConversationTimingChanges, TimeOutsGoInTheirOrderNullWhenEmptyAndAsTyped)
{
    const char* columns[] = {"FirstDigitTimeOut", "InterdigitDelay", "RepeatMenu", "CommandInterdigitDelay"};
    struct Case {
        QStringList boxes;   // index 0 to 3
        QStringList lines;
        QVariantList stored;   // in the order of `columns`
    };
    const Case cases[] = {
        {{"", "", "", ""},
         {"    First Digit Timeout set to null", "    Interdigit Delay set to null",
          "    Command Interdigit Delay set to null", "    Repeat Menu set to null"},
         {QVariant(), QVariant(), QVariant(), QVariant()}},
        {{"03000", "250", "3", "1500"},
         {"    First Digit Timeout set to 03000", "    Interdigit delay set to 250",
          "    Command Interdigit delay set to 1500", "    Repeat Menu set to 3"},
         {3000.0, 250.0, 3.0, 1500.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.boxes.join(',').toStdString());
        auto run = opened(TempInstallation::smallOptions(),
                          {"UPDATE Subscriber SET FirstDigitTimeOut=7, InterdigitDelay=7, RepeatMenu=7, CommandInterdigitDelay=7"});
        run->tick("chkConversationAccessibilityUpdate");
        for (int box = 0; box < 4; ++box)
            run->type(elementName("txtConversationAccessibility", box), c.boxes[box]);
        run->run(1);
        QStringList timeOutLines = run->changesOf(0).filter(QRegularExpression("(Timeout|[Dd]elay|Menu) set"));
        EXPECT_EQ(joined(timeOutLines), joined(c.lines));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(shown(subscriberColumn(*run, columns[i])), shown(c.stored[i])) << columns[i];
    }
}

TEST(ConversationTimingChanges, TimeOutBoxesAreLeftAloneUnlessTheUpdateBoxIsTicked)
{
    auto run = opened();
    run->type(elementName("txtConversationAccessibility", 0), "2000");
    run->run(1);
    EXPECT_EQ(joined(run->changesOf(0).filter("Timeout set")), "");
}

TEST(ConversationTimingChanges, StyleReceiptsAndTimeFormatMatchTheirEntries)
{
    struct Case {
        const char* control;
        int choice;           // the resource string chosen
        bool upperCase;       // typed in capitals
        const char* column;   // 9 before the run
        QVariant stored;      // invalid: null; 9: kept
        QString line;         // "%1": the choice's text
    };
    const QString badStyle = "(error) invalid value for the conversation style on the subscriber conversation tab:%1";
    const QString badReceipt = "(error) invalid value for the receipt options on the subscriber conversation tab:%1";
    const Case cases[] = {
        {"comProfileConversationStyle", 354, false, "ConversationName", "SubMenu", "    Conversation name set to Standard"},
        {"comProfileConversationStyle", 355, false, "ConversationName", "SubMenuOpt1",
         "    Conversation name set to Optional Conversation 1"},
        {"comProfileConversationStyle", 459, false, "ConversationName", "SubMenu_AlternateN",
         "    Conversation name set to Alternate keypad mapping (N)"},
        {"comProfileConversationStyle", 494, false, "ConversationName", "SubMenu_Alternate_Custom3",
         "    Conversation name set to Custom Keypad Mapping 3"},
        {"comProfileConversationStyle", 354, true, "ConversationName", 9, badStyle},
        {"comConversationReceiptOptions", 530, false, "ExcludeReceipts", 2, "    Conversation exclude receipts set to '2'"},
        {"comConversationReceiptOptions", 528, false, "ExcludeReceipts", 0, "    Conversation exclude receipts set to '0'"},
        {"comConversationReceiptOptions", 529, true, "ExcludeReceipts", 9, badReceipt},
        {"comProfileTimeFormat", 451, true, "ClockMode", 1, "    Time format set to 24 hour format"},
        {"comProfileTimeFormat", 450, false, "ClockMode", 0, "    Time format set to 12 hour clock"},
        {"comProfileTimeFormat", 449, false, "ClockMode", QVariant(), "    Time format set to system default"},
    };
    for (const Case& c : cases) {
        auto run = opened(TempInstallation::smallOptions(), {QString("UPDATE Subscriber SET %1=9").arg(c.column)});
        const QString choice = c.upperCase ? run->string(c.choice).toUpper() : run->string(c.choice);
        const QString line = c.line.contains("%1") ? c.line.arg(choice) : c.line;
        SCOPED_TRACE(line.toStdString());
        run->choose(c.control, choice);
        run->run(1);
        EXPECT_TRUE(run->changesOf(0).contains(line)) << run->changesOf(0).join('\n').toStdString();
        EXPECT_EQ(shown(subscriberColumn(*run, c.column)), shown(c.stored));
        EXPECT_EQ(run->log->LogErrorCount(), line.startsWith("(error)") ? 1 : 0);
    }
}

TEST(ConversationTimingChanges, AllowedStylesAreTheTickedBoxesFromTheirServerVersionOn)
{
    struct Case {
        int major;   // 5: 5.0(0).10, 4: 4.2(0).1
        int noChange;
        QList<std::pair<const char*, int>> boxes;   // changed from the dialog's initial state
        int stored;   // -1: not written
    };
    const Case cases[] = {
        {5, CheckValue::Clear, {}, 507},
        {5, CheckValue::Clear, {{"chkAlternateN", 0}, {"chkAlternateS", 0}, {"chkAlternateX", 0}, {"chkCustom1", 0},
                                {"chkCustom2", 0}, {"chkCustom3", 0}, {"chkOptional1", 0}, {"chkHVM", 1}}, 5},
        {5, CheckValue::Clear, {{"chkCustom3", CheckValue::Dimmed}, {"chkStandard", 0}}, 250},
        {5, CheckValue::Dimmed, {}, -1},
        {5, CheckValue::Ticked, {}, -1},
        {4, CheckValue::Clear, {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << " " << c.noChange << " " << c.stored);
        // Older servers have no such column.
        auto run = c.major == 5 ? opened(TempInstallation::smallServer(5, 0, 0, 10), {"UPDATE Subscriber SET AllowedConversations=1"})
                                : opened(TempInstallation::smallServer(4, 2, 0, 1));
        run->limit("chkNoChange", c.noChange);
        for (const auto& [box, state] : c.boxes)
            run->limit(box, state);
        run->chooseString("comProfileConversationStyle", 356);   // the style is handled before the limits
        run->run(1);
        EXPECT_EQ(joined(linesStartingWith(*run, "    AllowedConversation=")),
                  c.stored < 0 ? "" : "    AllowedConversation= " + std::to_string(c.stored));
        if (c.major == 5) {
            EXPECT_EQ(subscriberColumn(*run, "AllowedConversations").toInt(), c.stored < 0 ? 1 : c.stored);
        }
        EXPECT_EQ(subscriberColumn(*run, "ConversationName").toString(), "ConvHotel");
        EXPECT_EQ(run->log->LogErrorCount(), 0);
    }
}

TEST(ConversationTimingChanges, TrueFalseOptionsWriteTheirColumns)
{
    struct Case {
        const char* control;
        const char* column;
        QString choice;   // the text of the list
        int stored;       // the column holds 1 - stored before the run, unless the choice is no code
        QString line;     // empty: none
    };
    auto run = opened(TempInstallation::smallOptions(),
                      {"UPDATE Subscriber SET EncryptPrivateMessages=0, SendMessageConvFlow=1, ConstantLookup=0, "
                       "SendMessageOnHangup=1"});
    const Case cases[] = {
        {"cmbConversationSendEncryptAllPrivate", "EncryptPrivateMessages", run->string(279), 1,
         "   EncryptPrivateMessages set to: 1"},
        {"cmbConversationAddressThenRecord", "SendMessageConvFlow", run->string(137).toLower(), 0,
         "   SendMessageConvFlow set to: 0"},
        {"cmbConversationConstantLookup", "ConstantLookup", run->string(279), 1, "   ConstantLookup set to: 1"},
        {"cmbConversationSendOnHangup", "SendMessageOnHangup", "maybe", 1, ""},
    };
    QStringList expected;
    for (const Case& c : cases) {
        run->choose(c.control, c.choice);
        if (!c.line.isEmpty())
            expected << c.line;
    }
    run->run(1);
    EXPECT_EQ(joined(run->changesOf(0).filter(QRegularExpression("^   [A-Za-z]+ set to:"))), joined(expected));
    for (const Case& c : cases)
        EXPECT_EQ(subscriberColumn(*run, c.column).toInt(), c.stored) << c.column;
}

// ---- language, switch, time zone and schedule ------------------------------------------------

TEST(LanguageAndSwitchChanges, LanguagesTimeZoneAndScheduleGoToTheirRows)
{
    struct Case {
        std::function<void(EngineScenario&)> choose;
        bool onHandler;
        const char* column;
        QVariant stored;   // invalid: null
        QString line;
    };
    const Case cases[] = {
        {[](EngineScenario& r) { r.chooseItem("cmbSubscriberProfileDefaultLanguage", "French", 1036, 2); }, false,
         "Language", 1036, "   Language subscriber hears set to langID:  1036"},
        {[](EngineScenario& r) { r.chooseItem("cmbSubscriberProfileOutsideCallerLanguage", "Inherited", 1, 1); }, true,
         "Language", QVariant(), "   Language callers hear set to Inherited"},
        {[](EngineScenario& r) { r.chooseItem("cmbSubscriberProfileOutsideCallerLanguage", "German", 1031, 2); }, true,
         "Language", 1031, "   Language callers hear set to LangID: 1031"},
        {[](EngineScenario& r) { r.chooseItem("cmbSubscriberProfileTimeZoneDisplayNames", "<Server zone>", 0, 1); },
         false, "TimeZoneID", 0, "   Time zone set to:<Server zone>"},
        {[](EngineScenario& r) {
             r.chooseItem("cmbSubscribersProfileTimeZoneIDs", "abc", {}, 3);
             r.chooseItem("cmbSubscriberProfileTimeZoneDisplayNames", "(GMT-05:00) Eastern", 3, 4);
         },
         false, "TimeZoneID", 19661094, "   Time zone set to:(GMT-05:00) Eastern"},
        {[](EngineScenario& r) {
             r.chooseItem("cmbSubscribersProfileTimeZoneIDs", "abc", {}, 2);
             r.chooseItem("cmbSubscriberProfileTimeZoneDisplayNames", "(GMT+05:30) Chennai", 2, 5);
         },
         false, "TimeZoneID", -21626586, "   Time zone set to:(GMT+05:30) Chennai"},
        {[](EngineScenario& r) { r.chooseItem("cmbSubscriberProfileSchedule", "Weekdays", {}, 1); }, true,
         "ScheduleObjectName", "Weekdays", "    Schedule set to:Weekdays"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        auto run = opened(TempInstallation::smallOptions(),
                          {"UPDATE Subscriber SET Language=1033, TimeZoneID=5", "UPDATE CallHandler SET Language=1033, "
                                                                               "ScheduleObjectName='All Hours'"});
        c.choose(*run);
        run->run(1);
        EXPECT_TRUE(run->changesOf(0).contains(c.line)) << run->changesOf(0).join('\n').toStdString();
        EXPECT_EQ(shown(c.onHandler ? handlerColumn(*run, c.column) : subscriberColumn(*run, c.column)), shown(c.stored));
        EXPECT_EQ(run->log->LogErrorCount(), 0);
    }
}

TEST(LanguageAndSwitchChanges, SwitchMovesTheSubscriberItsDevicesAndItsContactRules)
{
    struct Case {
        bool devices;   // the subscriber has its two MWI devices
        bool restart;
    };
    for (const Case c : {Case{true, true}, Case{false, false}}) {
        SCOPED_TRACE(c.devices);
        QStringList setup{"DELETE FROM NotificationMWI WHERE ParentObjectID=" + kFirst};
        if (c.devices)
            for (const char* alias : {"MWI-1", "MWI-2"})
                setup << QString("INSERT INTO NotificationMWI (ParentObjectID, Alias, MWIExtension, SwitchID) "
                                 "VALUES (%1, '%2', '100', 0)").arg(kFirst, alias);
        auto run = opened(TempInstallation::smallOptions(), setup);
        run->chooseItem("cmbSubscriberProfileSwitchAssignment", "Second integration", 2, 2);
        run->run(1);

        // The subscriber's line, then its devices' (in the order stored), then its rules' (in any order).
        QStringList expected{"   Switch assignment set to:  2"};
        if (c.devices)
            expected << "        Updating MWI device with alias=MWI-1 to switchId= 2"
                     << "        Updating MWI device with alias=MWI-2 to switchId= 2";
        else
            expected << "(error) no MWI devices found for this subscriber!  This is a serious issue, you should contact Norwick.";
        QStringList rules;
        for (const char* rule : {"Alternate", "Standard", "Off Hours", "Follow-Me Here", "Follow-Me Home", "Follow-Me Mobile"})
            rules << QString("        Updating contact rule with alias=%1 to switchId= 2").arg(rule);
        QStringList lines = run->changesOf(0).filter(QRegularExpression("Switch assignment|to switchId=|no MWI devices"));
        QStringList ruleLines = lines.mid(expected.size());
        ruleLines.sort();
        rules.sort();
        EXPECT_EQ(joined(lines.mid(0, expected.size())), joined(expected));
        EXPECT_EQ(joined(ruleLines), joined(rules));

        EXPECT_EQ(subscriberColumn(*run, "SwitchID").toInt(), 2);
        EXPECT_EQ(run->stored("SELECT COUNT(*) FROM NotificationMWI WHERE SwitchID=2 AND ParentObjectID=?",
                              {run->rows[0].objectID}).toInt(), c.devices ? 2 : 0);
        EXPECT_EQ(run->stored("SELECT COUNT(*) FROM ContactRule r JOIN Subscriber s ON s.CallHandlerObjectID = "
                              "r.ParentObjectID WHERE r.SwitchID=2 AND s.SubscriberObjectID=?",
                              {run->rows[0].objectID}).toInt(), 6);
        EXPECT_EQ(run->session.bNotifierRestartPending, c.restart);
        EXPECT_EQ(run->log->LogErrorCount(), c.devices ? 0 : 1);
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
        EXPECT_EQ(joined(run->changesOf(0).filter(QRegularExpression("Language|[Ss]witch|Time zone|Schedule"))), "");
        EXPECT_EQ(handlerColumn(*run, "ScheduleObjectName").toString(), "All Hours");
    }
    EXPECT_FALSE(run->session.bNotifierRestartPending);
}

}  // namespace
