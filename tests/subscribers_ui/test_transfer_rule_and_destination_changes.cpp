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
#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

const QStringList kSixRules{"Alternate", "Off Hours", "Standard", "Follow-Me Here", "Follow-Me Home", "Follow-Me Mobile"};
const QString kHeading = "    Updating transfer rule: ";

// A run over the first subscriber of the directory list, with what the checks need of it.
class FirstSubscriber : public EngineScenario {
public:
    explicit FirstSubscriber(bool followMeServer = true)
        : EngineScenario(TempInstallation::smallServer(followMeServer ? 7 : 4, 0, followMeServer ? 0 : 3, 1))
    {
        EXPECT_TRUE(open());
        session.rsSubscribers.moveFirst();
        id = session.rsSubscribers.value("SubscriberObjectID").toString();
        handlerId = session.rsSubscribers.value("CallHandlerObjectID").toString();
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
    // The change lines under a rule's heading: they stand further in than any heading.
    QStringList linesOf(const QString& alias) const
    {
        const QStringList changes = changesOf(0);
        QStringList block;
        for (qsizetype line = changes.indexOf(kHeading + alias) + 1; line > 0 && line < changes.size(); ++line) {
            if (!changes[line].startsWith("     "))
                break;
            block << changes[line];
        }
        return block;
    }

    QString id, handlerId, extension, transferString;
};

TEST(TransferRulesChange, EveryRuleOfTheServerIsSavedTheStandardOneEnabledAndGivenTheSwitch)
{
    for (const bool followMeServer : {true, false}) {
        FirstSubscriber run(followMeServer);
        run.setRule("Standard", "TimeExpires", SubscriberChanges::disabledDate());
        for (const QString& alias : kSixRules)
            run.setRule(alias, "SwitchID", 1);
        run.chooseItem("cmbSubscriberProfileSwitchAssignment", "Switch 2", 2);
        run.chooseString("comTransferAnnounce_3", 279);   // ignored before Follow-Me rules exist
        run.run();
        const int rules = followMeServer ? 6 : 3;
        EXPECT_EQ(run.changesOf(0).filter(kHeading).size(), rules);
        for (int index = 0; index < 6; ++index) {
            EXPECT_EQ(run.changesOf(0).contains(kHeading + kSixRules[index]), index < rules) << index;
            EXPECT_EQ(run.linesOf(kSixRules[index]).size(), index == 3 && followMeServer ? 1 : 0) << index;
            // The switch change gives the switch to every contact rule row, the transfer rules
            // to each rule of the server again.
            EXPECT_EQ(run.rule(kSixRules[index], "SwitchID").toInt(), 2) << index;
        }
        EXPECT_TRUE(run.rule("Standard", "TimeExpires").isNull());
        EXPECT_EQ(run.stored("SELECT COUNT(*) FROM DirectorySyncRequest").toInt(), 0);
        EXPECT_EQ(run.log->LogErrorCount(), 0);
    }
}

TEST(TransferRulesChange, EachChoiceWritesItsColumnAndLine)
{
    // Choices: "=N" shows resource string N, "[x]" ticks the box, any other text is typed (or
    // shown by a list). "%1" is the subscriber's extension, "%2" its transfer string before the
    // run; a "Subscriber." column is of the subscriber row, any other of the rule row.
    struct Pair {
        const char* name;
        QVariant value;
    };
    const QVariant disabled = QDateTime(QDate(1990, 12, 25), QTime(8, 0));
    const QString forced = "        Transfer string forced to subscriber's extension:";
    const QString toLeft = "        Digits appended to to left of transfer string, new transfer string=";
    const QString toRight = "        Digits appended to to right of transfer string, new transfer string=";
    const struct {
        const char* alias;
        QList<Pair> before, choices;
        QStringList lines;
        QList<Pair> after;
    } cases[] = {
        {"Standard", {}, {{"comTransferRuleEnabled_2", "=137"}}, {"       Transfer rule disabled"}, {{"TimeExpires", disabled}}},
        {"Off Hours", {{"TimeExpires", disabled}}, {{"comTransferRuleEnabled_1", "=279"}}, {"       Transfer rule enabled"},
         {{"TimeExpires", QVariant()}}},
        {"Alternate", {},
         {{"chkTransferForceToSubscribersExtension_0", "[x]"}, {"chkTransferAppendDigitsToLeft_0", "[x]"},
          {"txtTransferAppendDigitsToLeft_0", " 9 "}, {"chkTransferAppendDigitsToRight_0", "[x]"},
          {"txtTransferAppendDigitsToRight_0", "#"}},
         {forced + "%1", toLeft + "9%1", toRight + "9%1#"},
         {{"Extension", "9%1#"}, {"Rule", 1}, {"Subscriber.XFerString", "9%1#"}}},
        {"Off Hours", {{"Rule", 1}}, {{"chkTransferForceToSubscribersExtension_1", "[x]"}}, {forced + "%1"},
         {{"Extension", "%1"}, {"Rule", 0}, {"Subscriber.XFerString", "%2"}}},
        {"Off Hours", {},
         {{"chkTransferForceToSubscribersExtension_1", "[x]"}, {"chkTransferAppendDigitsToLeft_1", "[x]"},
          {"txtTransferAppendDigitsToLeft_1", "9"}, {"chkTransferAppendDigitsToRight_1", "[x]"},
          {"txtTransferAppendDigitsToRight_1", "#"}},
         {forced + "%1", toLeft + "9%1", toRight + "9%1#"},
         {{"Extension", "9%1#"}, {"Rule", 1}, {"Subscriber.XFerString", "%2"}}},
        {"Alternate", {{"Extension", "9x"}},
         {{"chkTransferAppendDigitsToLeft_0", "[x]"}, {"txtTransferAppendDigitsToLeft_0", "8"}},
         {toLeft + "89%1"}, {{"Extension", "89%1"}}},
        {"Off Hours", {{"Extension", "9X"}},
         {{"chkTransferAppendDigitsToRight_1", "[x]"}, {"txtTransferAppendDigitsToRight_1", "8"}},
         {toRight + "9X8"}, {{"Extension", "9X8"}, {"Rule", 1}, {"Subscriber.XFerString", "%2"}}},
        {"Off Hours", {{"Extension", QVariant()}, {"Action", 0}}, {{"comTransferEnabled_1", "=279"}},
         {"       Enable transfer set to: 1", "       Transfer extension set to:%1"},
         {{"Action", 1}, {"Extension", "%1"}, {"Subscriber.XFerString", "%1"}}},
        {"Standard", {{"Extension", "555"}}, {{"comTransferEnabled_2", "=279"}}, {"       Enable transfer set to: 1"},
         {{"Extension", "555"}, {"Subscriber.XFerString", "%2"}}},
        {"Alternate", {}, {{"comTransferPlayPleaseWaitPrompt_0", "=279"}}, {"       Play 'please wait...' prompt set to: 1"},
         {{"PlayTransferWaitPrompt", 0}}},
        {"Standard", {{"TransferHoldingMode", 2}}, {{"comTransferBusyAction_2", "=192"}},
         {"       Busy action set to No Holding"},
         {{"TransferHoldingMode", 0}}},
        {"Alternate", {{"TransferType", 0}, {"TransferRings", 4}, {"TransferHoldingMode", 0}},
         {{"comTransferType_0", "=258"}, {"txtTransferRingsToWait_0", "5"}, {"comTransferBusyAction_0", "=46"}},
         {"       Transfer type set to Supervised", "       Rings to wait set to: 5", "       Busy action set to Always Hold"},
         {{"TransferType", 1}, {"TransferRings", 5}, {"TransferHoldingMode", 1}}},
        {"Standard", {{"TransferType", 1}, {"TransferHoldingMode", 0}, {"PlayTransferWaitPrompt", 0}},
         {{"comTransferType_2", "=217"}, {"comTransferPlayPleaseWaitPrompt_2", "=137"}, {"comTransferBusyAction_2", "=65"}},
         {"       Transfer type set to Release", "       Play 'please wait...' prompt set to: 0", "       Busy action set to Ask Caller"},
         {{"TransferType", 0}, {"PlayTransferWaitPrompt", 1}, {"TransferHoldingMode", 2}}},
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
            else
                QString(choice.name).startsWith("com") ? run.choose(choice.name, value) : run.type(choice.name, value);
        }
        run.run();
        const auto expand = [&](QString text) { return text.replace("%1", run.extension).replace("%2", run.transferString); };
        QStringList lines;
        for (const QString& line : c.lines)
            lines << expand(line);
        EXPECT_EQ(run.linesOf(c.alias), lines);
        bool transferStringChanged = false;
        for (const Pair& column : c.after) {
            const QString name = column.name;
            const QVariant stored = name.startsWith("Subscriber.") ? run.subscriberColumn(name.mid(11)) : run.rule(c.alias, name);
            if (column.value.typeId() == QMetaType::QDateTime)
                EXPECT_EQ(stored.toDateTime(), column.value.toDateTime()) << column.name;
            else
                EXPECT_EQ(stored.isNull() ? "<null>" : stored.toString(),
                          column.value.isNull() ? "<null>" : expand(column.value.toString())) << column.name;
            transferStringChanged |= name == "Extension" && column.value != QVariant("555");
        }
        // Only a new transfer string is written through to the directory.
        EXPECT_EQ(run.session.bDirectoryWriteThroughPending, transferStringChanged);
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
    EXPECT_EQ(changes.value(changes.indexOf(kHeading + "Follow-Me Home") + 1),
              "(error) no Follow-Me Home contact rule found for this subscriber!  This is a serious error, you should contact Norwick.");
    EXPECT_EQ(run.rule("Follow-Me Mobile", "TransferAnnounce").toInt(), 1);
    EXPECT_EQ(run.log->LogErrorCount(), 1);

    FirstSubscriber bare;
    bare.session.database.execute("DELETE FROM ContactRule WHERE ParentObjectID=?", {bare.handlerId});
    bare.run();
    EXPECT_EQ(bare.changesOf(0)
                  .filter("(error) no contact rules found for this subscriber!  This is a serious error, you should contact Norwick.")
                  .size(),
              6);
    EXPECT_EQ(bare.log->LogErrorCount(), 6);
}

// A copy of `page` with slot `slot` on `option`; `text` goes into its take-action list or its
// object ID box.
OptionsSnapshot withChoice(const OptionsSnapshot& page, int slot, const QString& option, const QString& text,
                           bool dontRing = false)
{
    static const QHash<QString, QString> boxes{
        {"optCallerInputTakeAction", "cmbCallerInputTakeAction"},
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
    subscribers.moveNext();
    const QString other = subscribers.value("SubscriberObjectID").toString();
    const QString otherHandler = subscribers.value("CallHandlerObjectID").toString();
    subscribers.moveFirst();
    subscribers.setValue("XFerString", "PENDING");   // the lookup neither moves the list nor drops this

    const QString ten = "ABCDEFGHIJ";
    constexpr qint16 kept = 99;   // a choice without destination leaves the type alone
    const struct {
        int slot;
        const char* option;
        QString text;
        bool dontRing;
        qint16 code;
        QString conversation, destination;
        qint16 type;
        int refusal;
        QString number = {};   // the number to dial, for "Alternate Contact Number"
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
        const SubscriberOptions engineOptions(options);
        EXPECT_TRUE(callerInputSlotApplies(engineOptions, c.slot));
        EXPECT_EQ(resolveCallerAction(engineOptions, run.session.languages.stringLookup(), subscribers, "SELF", c.slot, action),
                  c.refusal);
        EXPECT_EQ(QStringList({QString::number(action.actionCode), action.conversationName, action.destinationObjectID,
                               QString::number(action.destinationObjectIDType), action.altContactNumber}),
                  QStringList({QString::number(c.code), c.conversation, c.destination, QString::number(c.type), c.number}));
        EXPECT_EQ(subscribers.value("SubscriberObjectID").toString(), run.id);
        EXPECT_EQ(subscribers.value("XFerString").toString(), "PENDING");
    }
}

TEST(DestinationLookup, OnlyAppliedSlotsAreCheckedAndTheRefusalNamesTheKey)
{
    FirstSubscriber run;
    const StringLookup strings = run.session.languages.stringLookup();
    const auto firstInvalid = [&](const OptionsSnapshot& options) {
        return firstInvalidCallerInput(SubscriberOptions(options), strings, run.session.rsSubscribers);
    };
    const struct {
        int slot;
        const char* option;
        QString message;   // empty: the slot passes, and the later invalid slot 18 is named
    } cases[] = {
        {7, "optCallerInputGoToCallHandler", "Invalid <Go To Call Handler> destination on the Caller Input  7"},
        {0, "optCallerInputgoToInterviewHandler", "Invalid <Go To Interview> destination on the Caller Input  0"},
        {10, "optCallerInputGoToSubscriber", "Invalid <Go To Subscriber> destination on the Caller Input *"},
        {11, "optCallerInputTakeAction", "Invalid <Take Action> setting on the Caller Input #"},
        {12, "optCallerInputTakeAction", "Invalid <Take Action> setting on the Caller Input <unknown>"},
        {5, "optCallerInputGoToDirectoryHandler", ""},
    };
    for (const auto& c : cases) {
        const OptionsSnapshot options = withChoice(run.options, c.slot, c.option, "SHORT");
        EXPECT_EQ(firstInvalid(withChoice(options, 18, "optCallerInputGoToCallHandler", "SHORT")),
                  c.message.isEmpty() ? invalidCallerInputMessage(strings, 18, 164)
                                      : c.message + " key tab.  Please correct and try again");
    }
    // The exit action's slot has no key of its own.
    EXPECT_EQ(firstInvalid(withChoice(run.options, 19, "optCallerInputTakeAction", "Dial A Friend")),
              "Invalid <Take Action> setting on the Caller Input <unknown> key tab.  Please correct and try again");
    // A slot left alone is not checked, whatever its boxes hold; nor one that cannot be read.
    OptionsSnapshot loaded = run.options;
    loaded.control("txtCallerInputGoToCallHandlerObjectID_5").text = "SHORT";
    EXPECT_EQ(firstInvalid(loaded), "");
    EXPECT_EQ(firstInvalid(OptionsSnapshot("frmSelectSubscriberChanges")), "");

    // Inside a run the lookup logs such a choice under its own name and does not apply it.
    const QString path = run.log->GenerateNewLogFileName();
    run.log->WriteLogHeader(path, {});
    const OptionsSnapshot snapshot = withChoice(run.options, 12, "optCallerInputTakeAction", "Dial A Friend");
    const SubscriberOptions options(snapshot);
    ObjectActions actions;
    SubscriberEdit edit(run.session, *run.log, options, actions);
    CallerAction action;
    EXPECT_FALSE(GetDestinationInfo(edit, run.handlerId, 12, action));
    run.log->Close();
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.readAll().contains(
        "\r\n(error):5 (Invalid <Take Action> setting on the Caller Input <unknown> key tab.  Please correct and try again) "
        "in procedure GetDestinationInfo of Form frmMakeSubscriberChanges\r\n"));
    EXPECT_EQ(run.log->LogErrorCount(), 1);
}

// Go on the engine page, the real options page behind it: refused without a log, then corrected.
TEST(DestinationLookup, GoRefusesAnInvalidChoiceBeforeTheRun)
{
    WizardRun run;
    ASSERT_TRUE(run.start());
    QTemporaryDir programFolder;
    run.session.rsSubscribers.moveFirst();
    run.context.state.selectionGridRows
        << SelectionGridRow{true, "first", run.session.rsSubscribers.value("SubscriberObjectID").toString()};
    run.context.state.runLog = std::make_unique<RunLog>(programFolder.path(), run.messages.sink());
    frmSelectSubscriberChanges options(run.context);
    frmMakeSubscriberChanges page(run.context, &options);
    page.setLogOpener([](const QString&) { return HelpFiles::Launch{}; });
    const auto logFiles = [&] { return QDir(programFolder.filePath("logs")).entryList({"*.TXT"}, QDir::Files).size(); };

    const QVariantList first{run.context.state.selectionGridRows[0].objectID};
    const auto billingID = [&] {
        return run.database().select("SELECT BillingID FROM Subscriber WHERE SubscriberObjectID=?", first)
            .rows.value(0).value(0).toString();
    };
    const QString billingBefore = billingID();
    findByName<QLineEdit>(options, "txtAccountBillingID")->setText("4242");
    findByName<QRadioButton>(options, "optCallerInputGoToCallHandler_7")->setChecked(true);
    findByName<QLineEdit>(options, "txtCallerInputGoToCallHandlerObjectID_7")->setText("ABCDEFGHI");
    click(page, "cmdGo");
    EXPECT_EQ(run.shown, QStringList{"Invalid <Go To Call Handler> destination on the Caller Input  7 key tab.  "
                                     "Please correct and try again"});
    EXPECT_EQ(logFiles(), 0);
    EXPECT_EQ(billingID(), billingBefore);
    EXPECT_TRUE(findByName<QPushButton>(page, "cmdGo")->isEnabled());

    findByName<QLineEdit>(options, "txtCallerInputGoToCallHandlerObjectID_7")->setText("ABCDEFGHIJ");
    click(page, "cmdGo");
    EXPECT_EQ(logFiles(), 1);
    EXPECT_EQ(billingID(), "4242");
    EXPECT_FALSE(findByName<QPushButton>(page, "cmdGo")->isEnabled());
}

}  // namespace
