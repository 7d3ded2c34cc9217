// The transfer rules category on the loaded options page, the caller-input destination lookup,
// and Go's refusal of a caller-input choice that cannot be applied.
#include "core/ControlNames.h"
#include "core/Criterion.h"
#include "core/Recordset.h"
#include "core/RunFrame.h"
#include "core/ui/WizardContext.h"
#include "subscribers/changes/DestinationLookup.h"
#include "subscribers/changes/SubscriberChanges.h"
#include "subscribers/ui/frmMakeSubscriberChanges.h"
#include "subscribers/ui/frmSelectSubscriberChanges.h"
#include "tests/subscribers_ui/EngineScenario.h"

#include <QDir>
#include <QHash>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QStringList kSixRules{"Alternate", "Off Hours", "Standard", "Follow-Me Here", "Follow-Me Home", "Follow-Me Mobile"};

// A run over the first subscriber of the directory list, with what the checks need of it.
class FirstSubscriber : public EngineScenario {
public:
    explicit FirstSubscriber(bool followMeServer = true)
        : EngineScenario(followMeServer ? TempInstallation::smallServer(7, 0, 0, 1) : TempInstallation::smallServer(4, 0, 3, 12))
    {
        EXPECT_TRUE(open());
        Recordset& subscribers = session.rsSubscribers;
        subscribers.moveFirst();
        id = subscribers.value("SubscriberObjectID").toString();
        handlerId = subscribers.value("CallHandlerObjectID").toString();
        extension = session.rsPrimaryCallHandlers.lookUp("CallHandlerObjectID=" + quoteLiteral(handlerId), "DTMFAccessID")
                        .value_or(QVariant()).toString();
        EXPECT_FALSE(extension.isEmpty());
        transferString = subscriberColumn("XFerString").toString();
    }

    QVariant rule(const QString& alias, const QString& column)
    {
        return stored("SELECT " + column + " FROM ContactRule WHERE ParentObjectID=? AND Alias=?", {handlerId, alias});
    }
    void setRule(const QString& alias, const QString& column, const QVariant& value)
    {
        session.database.execute("UPDATE ContactRule SET " + column + "=? WHERE ParentObjectID=? AND Alias=?",
                                 {value, handlerId, alias});
    }
    QVariant subscriberColumn(const QString& column)
    {
        return stored("SELECT " + column + " FROM Subscriber WHERE SubscriberObjectID=?", {id});
    }
    // The change lines under a rule's heading (they stand further in than any heading).
    QStringList linesOf(const QString& alias) const
    {
        const QStringList changes = changesOf(0);
        QStringList block;
        for (qsizetype line = changes.indexOf("    Updating transfer rule: " + alias) + 1;
             line > 0 && line < changes.size() && changes[line].startsWith("     "); ++line)
            block << changes[line];
        return block;
    }
    QStringList headings() const { return changesOf(0).filter(QRegularExpression("^    Updating transfer rule: ")); }

    QString id, handlerId, extension, transferString;
};

TEST(TransferRulesChange, NothingChosenSavesEachRuleAndEnablesTheStandardRule)
{
    for (const bool followMeServer : {true, false}) {
        FirstSubscriber run(followMeServer);
        run.setRule("Standard", "TimeExpires", SubscriberChanges::disabledDate());
        run.run();
        QStringList expected;
        for (const QString& alias : kSixRules.mid(0, followMeServer ? 6 : 3))
            expected << "    Updating transfer rule: " + alias;
        EXPECT_EQ(run.headings(), expected);
        for (const QString& alias : kSixRules)
            EXPECT_TRUE(run.linesOf(alias).isEmpty()) << alias.toStdString();
        EXPECT_TRUE(run.rule("Standard", "TimeExpires").isNull());
        EXPECT_EQ(run.stored("SELECT COUNT(*) FROM DirectorySyncRequest").toInt(), 0);
        EXPECT_FALSE(run.session.bDirectoryWriteThroughPending);
        EXPECT_EQ(run.log->LogErrorCount(), 0);
    }
}

TEST(TransferRulesChange, EachChoiceWritesItsColumnAndLine)
{
    // In choices "=N" shows resource string N, "[x]" ticks the box, any other text is typed.
    // "%1" in a line or a value is the subscriber's extension, "%2" its transfer string before
    // the run; a "Subscriber." column is of the subscriber row, any other of the rule row.
    struct Pair {
        const char* name;
        QVariant value;
    };
    const struct {
        const char* alias;
        QList<Pair> before;   // columns of the rule row
        QList<Pair> choices;
        QStringList lines;
        QList<Pair> after;
    } cases[] = {
        {"Standard", {}, {{"comTransferRuleEnabled_2", "=137"}}, {"       Transfer rule disabled"},
         {{"TimeExpires", SubscriberChanges::disabledDate()}}},
        {"Off Hours", {{"TimeExpires", SubscriberChanges::disabledDate()}}, {{"comTransferRuleEnabled_1", "=279"}},
         {"       Transfer rule enabled"}, {{"TimeExpires", QVariant()}}},
        {"Alternate", {},
         {{"chkTransferForceToSubscribersExtension_0", "[x]"}, {"chkTransferAppendDigitsToLeft_0", "[x]"},
          {"txtTransferAppendDigitsToLeft_0", " 9 "}, {"chkTransferAppendDigitsToRight_0", "[x]"},
          {"txtTransferAppendDigitsToRight_0", "#"}},
         {"        Transfer string forced to subscriber's extension:%1",
          "        Digits appended to to left of transfer string, new transfer string=9%1",
          "        Digits appended to to right of transfer string, new transfer string=9%1#"},
         {{"Extension", "9%1#"}, {"Rule", 1}, {"Subscriber.XFerString", "9%1#"}}},
        {"Off Hours", {},
         {{"chkTransferForceToSubscribersExtension_1", "[x]"}, {"chkTransferAppendDigitsToRight_1", "[x]"},
          {"txtTransferAppendDigitsToRight_1", "#"}},
         {"        Transfer string forced to subscriber's extension:%1",
          "        Digits appended to to right of transfer string, new transfer string=%1#"},
         {{"Extension", "%1#"}, {"Rule", 1}, {"Subscriber.XFerString", "%2"}}},
        {"Alternate", {{"Rule", 1}, {"Extension", "777"}}, {{"chkTransferForceToSubscribersExtension_0", "[x]"}},
         {"        Transfer string forced to subscriber's extension:%1"}, {{"Extension", "%1"}, {"Rule", 0}}},
        {"Alternate", {{"Extension", "9x"}}, {{"chkTransferAppendDigitsToLeft_0", "[x]"}, {"txtTransferAppendDigitsToLeft_0", "8"}},
         {"        Digits appended to to left of transfer string, new transfer string=89%1"}, {{"Extension", "89%1"}}},
        {"Alternate", {{"Extension", "9X"}}, {{"chkTransferAppendDigitsToRight_0", "[x]"}, {"txtTransferAppendDigitsToRight_0", "8"}},
         {"        Digits appended to to right of transfer string, new transfer string=9X8"}, {{"Extension", "9X8"}}},
        {"Off Hours", {{"Extension", QVariant()}, {"Action", 0}}, {{"comTransferEnabled_1", "=279"}},
         {"       Enable transfer set to: 1", "       Transfer extension set to:%1"},
         {{"Action", 1}, {"Extension", "%1"}, {"Subscriber.XFerString", "%1"}}},
        {"Standard", {{"Extension", "555"}}, {{"comTransferEnabled_2", "=279"}}, {"       Enable transfer set to: 1"},
         {{"Extension", "555"}, {"Subscriber.XFerString", "%2"}}},
        {"Alternate", {{"TransferType", 1}}, {{"comTransferType_0", "RELEASE"}}, {"       Transfer type set to Release"},
         {{"TransferType", 0}}},
        {"Alternate", {}, {{"comTransferPlayPleaseWaitPrompt_0", "=279"}},
         {"       Play 'please wait...' prompt set to: 1"}, {{"PlayTransferWaitPrompt", 0}}},
        {"Off Hours", {}, {{"txtTransferRingsToWait_1", "5"}}, {"       Rings to wait set to: 5"}, {{"TransferRings", 5}}},
        {"Standard", {{"TransferHoldingMode", 2}}, {{"comTransferBusyAction_2", "=192"}},
         {"       Busy action set to No Holding"}, {{"TransferHoldingMode", 0}}},
        {"Follow-Me Mobile", {},
         {{"comTransferAnnounce_5", "=279"}, {"comTransferIntroduce_5", "=279"}, {"comTransferConfirm_5", "=279"},
          {"comTransferAskCallersName_5", "=279"}},
         {"       Announce set to: 1", "       Introduce value set to: 1", "       Confirm set to: 1",
          "       Ask callers name set to: 1"},
         {{"TransferAnnounce", 1}, {"TransferIntroduce", 1}, {"TransferConfirm", 1}, {"TransferScreening", 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.alias) + ", " + c.choices[0].name);
        FirstSubscriber run;
        for (const Pair& column : c.before)
            run.setRule(c.alias, column.name, column.value);
        for (const Pair& choice : c.choices) {
            const QString value = choice.value.toString();
            if (value == "[x]")
                run.tick(choice.name);
            else if (value.startsWith('='))
                run.chooseString(choice.name, value.mid(1).toInt());
            else if (QString(choice.name).startsWith("com"))
                run.choose(choice.name, value);
            else
                run.type(choice.name, value);
        }
        run.run();
        const auto expand = [&](QString text) { return text.replace("%1", run.extension).replace("%2", run.transferString); };
        QStringList lines;
        for (const QString& line : c.lines)
            lines << expand(line);
        EXPECT_EQ(run.linesOf(c.alias), lines);
        EXPECT_EQ(run.headings().size(), 6);
        bool transferStringChanged = false;
        for (const Pair& column : c.after) {
            SCOPED_TRACE(column.name);
            const QString name = column.name;
            const QVariant stored = name.startsWith("Subscriber.") ? run.subscriberColumn(name.mid(11)) : run.rule(c.alias, name);
            if (column.value.isNull())
                EXPECT_TRUE(stored.isNull());
            else if (column.value.typeId() == QMetaType::QDateTime)
                EXPECT_EQ(stored.toDateTime(), column.value.toDateTime());
            else
                EXPECT_EQ(stored.toString(), expand(column.value.toString()));
            transferStringChanged |= name == "Extension" && column.value != QVariant("555");
        }
        // Only a new transfer string is written through to the directory.
        EXPECT_EQ(run.session.bDirectoryWriteThroughPending, transferStringChanged);
        EXPECT_EQ(run.log->LogErrorCount(), 0);
    }
}

TEST(TransferRulesChange, TheSwitchGoesIntoEveryRuleAndFollowMeTabsNeedTheirServer)
{
    for (const bool followMeServer : {true, false}) {
        FirstSubscriber run(followMeServer);
        run.chooseItem("cmbSubscriberProfileSwitchAssignment", "Switch 2", 2);
        run.chooseString("comTransferAnnounce_3", 279);
        for (const QString& alias : kSixRules)
            run.setRule(alias, "SwitchID", 1);
        run.run();
        for (int index = 0; index < 6; ++index)
            EXPECT_EQ(run.rule(kSixRules[index], "SwitchID").toInt(), index < 3 || followMeServer ? 2 : 1) << index;
        EXPECT_EQ(run.rule("Follow-Me Here", "TransferAnnounce").toInt(), followMeServer ? 1 : 0);
        EXPECT_EQ(run.log->LogErrorCount(), 0);
    }
}

TEST(TransferRulesChange, MissingRulesAreReportedAndTheOthersStillChanged)
{
    FirstSubscriber run;
    run.session.database.execute("DELETE FROM ContactRule WHERE ParentObjectID=? AND Alias='Follow-Me Home'", {run.handlerId});
    run.chooseString("comTransferAnnounce_5", 279);
    run.run();
    const QStringList changes = run.changesOf(0);
    const qsizetype home = changes.indexOf("    Updating transfer rule: Follow-Me Home");
    ASSERT_GE(home, 0);
    EXPECT_EQ(changes.value(home + 1), "(error) no Follow-Me Home contact rule found for this subscriber!  This is a serious error, you should contact Norwick.");
    EXPECT_EQ(run.rule("Follow-Me Mobile", "TransferAnnounce").toInt(), 1);
    EXPECT_EQ(run.log->LogErrorCount(), 1);

    FirstSubscriber bare;
    bare.session.database.execute("DELETE FROM ContactRule WHERE ParentObjectID=?", {bare.handlerId});
    bare.run();
    EXPECT_EQ(bare.changesOf(0).filter("(error) no contact rules found for this subscriber!  This is a serious error, you should contact Norwick.").size(), 6);
    EXPECT_EQ(bare.log->LogErrorCount(), 6);
}

// Slot `slot` of a copy of the loaded page's snapshot set to `option`; `text` goes into the
// take-action list or the object ID box of that option.
OptionsSnapshot withChoice(const OptionsSnapshot& page, int slot, const QString& option, const QString& text,
                           bool dontRing = false)
{
    static const QHash<QString, QString> boxes{{"optCallerInputTakeAction", "cmbCallerInputTakeAction"},
                                               {"optCallerInputGoToDirectoryHandler", "txtCallerInputGoToDirectoryHandlerObjectID"},
                                               {"optCallerInputGoToCallHandler", "txtCallerInputGoToCallHandlerObjectID"},
                                               {"optCallerInputgoToInterviewHandler", "txtCallerInputGoToInterviewObjectID"},
                                               {"optCallerInputGoToSubscriber", "txtCallerInputGoToSubscriberObjectID"}};
    OptionsSnapshot options = page;
    options.control(elementName("optCallerInputDontChange", slot)).selected = false;
    options.control(elementName(option, slot)).selected = true;
    options.control(elementName(boxes.value(option), slot)).text = text;
    for (const char* box : {"chkCallerInputGoToCallHandlerSkipGreeting", "chkCallerInputGoToSubscriberSkipGreeting"})
        options.control(elementName(box, slot)).checkState = dontRing ? CheckValue::Dimmed : CheckValue::Clear;
    return options;
}

TEST(DestinationLookup, EachChoiceGivesItsActionValues)
{
    FirstSubscriber run;
    Recordset& subscribers = run.session.rsSubscribers;
    subscribers.moveFirst();
    subscribers.moveNext();
    const QString other = subscribers.value("SubscriberObjectID").toString();
    const QString otherHandler = subscribers.value("CallHandlerObjectID").toString();
    subscribers.moveFirst();
    // The subscriber being changed has an edit under way: the lookup neither moves nor drops it.
    subscribers.setValue("XFerString", "PENDING");

    const QString ten = "ABCDEFGHIJ";
    constexpr qint16 kept = 99;   // the type a lookup without destination leaves alone
    const struct {
        int slot;
        const char* option;
        QString text;
        bool dontRing;
        qint16 code;
        QString conversation, destination;
        qint16 type;
        int refusal;
        QString number;
    } cases[] = {
        {3, "optCallerInputTakeAction", run.string(359).toLower(), false, 2, "BhConvEasySignIn", "", kept, 0},
        {0, "optCallerInputTakeAction", run.string(175), false, 2, "PHGreeting", "SELF", 3, 0},
        {11, "optCallerInputTakeAction", run.string(248), false, 5, "", "", kept, 0},
        {2, "optCallerInputTakeAction", run.string(504), false, 2, "TransferAltContactNumber", "", kept, 0, "5551234"},
        {12, "optCallerInputTakeAction", "Dial A Friend", false, 0, "", "", kept, 167},
        {4, "optCallerInputGoToDirectoryHandler", "", false, 2, "AD", "", 6, 0},
        {7, "optCallerInputGoToCallHandler", "ABCDEFGHI", false, 2, "PHTransfer", "ABCDEFGHI", 3, 164},
        {7, "optCallerInputGoToCallHandler", ten, true, 2, "PHGreeting", ten, 3, 0},
        {14, "optCallerInputgoToInterviewHandler", "SHORT", false, 2, "CHInterview", "SHORT", 5, 165},
        {19, "optCallerInputGoToSubscriber", other, false, 2, "PHTransfer", otherHandler, 3, 0},
        {19, "optCallerInputGoToSubscriber", "NO-SUCH-SUBSCRIBER", true, 2, "PHGreeting", "", 3, 166},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.option) + " on slot " + std::to_string(c.slot));
        OptionsSnapshot options = withChoice(run.options, c.slot, c.option, c.text, c.dontRing);
        options.control("txtSubscriberCallerInputNumbertoDial_2").text = "5551234";
        CallerAction action{7, "stale", "stale", kept, "stale"};
        const EngineOptions engineOptions(options);
        EXPECT_TRUE(callerInputSlotApplies(engineOptions, c.slot));
        EXPECT_EQ(resolveCallerAction(engineOptions, run.session.languages.stringLookup(), subscribers, "SELF", c.slot, action), c.refusal);
        EXPECT_EQ(action.actionCode, c.code);
        EXPECT_EQ(action.conversationName, c.conversation);
        EXPECT_EQ(action.destinationObjectID, c.destination);
        EXPECT_EQ(action.destinationObjectIDType, c.type);
        EXPECT_EQ(action.altContactNumber, c.number);
        EXPECT_EQ(subscribers.value("SubscriberObjectID").toString(), run.id);
        EXPECT_EQ(subscribers.value("XFerString").toString(), "PENDING");
    }
}

TEST(DestinationLookup, OnlyAppliedSlotsAreCheckedAndTheRefusalNamesTheKey)
{
    FirstSubscriber run;
    const StringLookup strings = run.session.languages.stringLookup();
    const auto firstInvalid = [&](const OptionsSnapshot& options) {
        return firstInvalidCallerInput(EngineOptions(options), strings, run.session.rsSubscribers);
    };
    const struct {
        int slot;
        const char* option;
        const char* message;   // empty: nothing refused
    } cases[] = {
        {7, "optCallerInputGoToCallHandler", "Invalid <Go To Call Handler> destination on the Caller Input  7 key tab.  Please correct and try again"},
        {0, "optCallerInputgoToInterviewHandler", "Invalid <Go To Interview> destination on the Caller Input  0 key tab.  Please correct and try again"},
        {10, "optCallerInputGoToSubscriber", "Invalid <Go To Subscriber> destination on the Caller Input * key tab.  Please correct and try again"},
        {11, "optCallerInputTakeAction", "Invalid <Take Action> setting on the Caller Input # key tab.  Please correct and try again"},
        {12, "optCallerInputTakeAction", "Invalid <Take Action> setting on the Caller Input <unknown> key tab.  Please correct and try again"},
        {5, "optCallerInputGoToDirectoryHandler", ""},
    };
    for (const auto& c : cases) {
        // A later invalid slot is not the one named.
        const OptionsSnapshot options = withChoice(withChoice(run.options, c.slot, c.option, "SHORT"), 18,
                                                   "optCallerInputGoToCallHandler", "SHORT");
        EXPECT_EQ(firstInvalid(options), c.message[0] ? QString(c.message) : invalidCallerInputMessage(strings, 18, 164));
    }
    // As loaded every slot is left alone, whatever its boxes hold; without the caller-input
    // controls nothing can be applied, so nothing is refused.
    OptionsSnapshot loaded = run.options;
    loaded.control("txtCallerInputGoToCallHandlerObjectID_5").text = "SHORT";
    EXPECT_EQ(firstInvalid(loaded), "");
    EXPECT_EQ(firstInvalid(OptionsSnapshot("frmSelectSubscriberChanges")), "");
}

TEST(DestinationLookup, InsideARunAnInvalidChoiceIsLoggedNotApplied)
{
    FirstSubscriber run;
    const QString path = run.log->GenerateNewLogFileName();
    run.log->WriteLogHeader(path, {});
    const OptionsSnapshot snapshot = withChoice(run.options, 12, "optCallerInputTakeAction", "Dial A Friend");
    const EngineOptions options(snapshot);
    ObjectActions actions;
    SubscriberEdit edit(run.session, *run.log, options, actions);
    CallerAction action;
    EXPECT_FALSE(GetDestinationInfo(edit, run.handlerId, 12, action));
    run.log->Close();
    EXPECT_EQ(run.log->LogErrorCount(), 1);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll())
                    .contains("(error):5 (Invalid <Take Action> setting on the Caller Input <unknown> key tab.  Please "
                              "correct and try again) in procedure GetDestinationInfo of Form frmMakeSubscriberChanges\r\n"));
}

// Go on the engine page, the real options page behind it: refused, no log; corrected, it runs.
TEST(DestinationLookup, GoRefusesAnInvalidChoiceBeforeTheRun)
{
    WizardRun run;
    ASSERT_TRUE(run.start());
    QTemporaryDir programFolder;
    run.session.rsSubscribers.moveFirst();
    run.context.state.selectionGridRows << SelectionGridRow{true, "first", run.session.rsSubscribers.value("SubscriberObjectID").toString()};
    run.context.state.runLog = std::make_unique<RunLog>(programFolder.path(), run.messages.sink());
    frmSelectSubscriberChanges options(run.context);
    frmMakeSubscriberChanges page(run.context, &options);
    page.setLogOpener([](const QString&) { return HelpFiles::Launch{}; });
    const auto logFiles = [&] { return QDir(programFolder.filePath("logs")).entryList({"*.TXT"}, QDir::Files).size(); };

    findByName<QRadioButton>(options, "optCallerInputGoToCallHandler_7")->setChecked(true);
    findByName<QLineEdit>(options, "txtCallerInputGoToCallHandlerObjectID_7")->setText("ABCDEFGHI");
    click(page, "cmdGo");
    EXPECT_EQ(run.shown, QStringList{"Invalid <Go To Call Handler> destination on the Caller Input  7 key tab.  Please correct and try again"});
    EXPECT_EQ(logFiles(), 0);
    EXPECT_TRUE(findByName<QPushButton>(page, "cmdGo")->isEnabled());

    findByName<QLineEdit>(options, "txtCallerInputGoToCallHandlerObjectID_7")->setText("ABCDEFGHIJ");
    click(page, "cmdGo");
    EXPECT_EQ(logFiles(), 1);
    EXPECT_FALSE(findByName<QPushButton>(page, "cmdGo")->isEnabled());
}

}  // namespace
