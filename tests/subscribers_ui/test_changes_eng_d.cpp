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

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

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

TEST(TransferRulesChange, EachChoiceWritesItsColumnAfterTheStandardRuleIsEnabled)
{
    // "%1" in a line or a value is the subscriber's extension, "%2" its transfer string before the run.
    struct Column {
        const char* name;   // of the rule row; "Subscriber." for the subscriber row
        QVariant value;
    };
    const struct {
        const char* what;
        const char* alias;
        std::function<void(FirstSubscriber&)> setUp;
        QStringList lines;
        QList<Column> columns;
    } cases[] = {
        {"rule disabled", "Standard", [](FirstSubscriber& r) { r.chooseString("comTransferRuleEnabled_2", 137); },
         {"       Transfer rule disabled"}, {{"TimeExpires", SubscriberChanges::disabledDate()}}},
        {"rule enabled", "Off Hours",
         [](FirstSubscriber& r) {
             r.setRule("Off Hours", "TimeExpires", SubscriberChanges::disabledDate());
             r.chooseString("comTransferRuleEnabled_1", 279);
         },
         {"       Transfer rule enabled"}, {{"TimeExpires", QVariant()}}},
        {"force, then both appends", "Alternate",
         [](FirstSubscriber& r) {
             r.tick("chkTransferForceToSubscribersExtension_0");
             r.tick("chkTransferAppendDigitsToLeft_0");
             r.type("txtTransferAppendDigitsToLeft_0", " 9 ");
             r.tick("chkTransferAppendDigitsToRight_0");
             r.type("txtTransferAppendDigitsToRight_0", "#");
         },
         {"        Transfer string forced to subscriber's extension:%1",
          "        Digits appended to to left of transfer string, new transfer string=9%1",
          "        Digits appended to to right of transfer string, new transfer string=9%1#"},
         {{"Extension", "9%1#"}, {"Rule", 1}, {"Subscriber.XFerString", "9%1#"}}},
        {"the Off Hours string is not the subscriber's", "Off Hours",
         [](FirstSubscriber& r) {
             r.tick("chkTransferForceToSubscribersExtension_1");
             r.tick("chkTransferAppendDigitsToRight_1");
             r.type("txtTransferAppendDigitsToRight_1", "#");
         },
         {"        Transfer string forced to subscriber's extension:%1",
          "        Digits appended to to right of transfer string, new transfer string=%1#"},
         {{"Extension", "%1#"}, {"Rule", 1}, {"Subscriber.XFerString", "%2"}}},
        {"force alone", "Alternate",
         [](FirstSubscriber& r) {
             r.setRule("Alternate", "Rule", 1);
             r.setRule("Alternate", "Extension", "777");
             r.tick("chkTransferForceToSubscribersExtension_0");
         },
         {"        Transfer string forced to subscriber's extension:%1"}, {{"Extension", "%1"}, {"Rule", 0}}},
        {"X on the left stands for the extension", "Alternate",
         [](FirstSubscriber& r) {
             r.setRule("Alternate", "Extension", "9x");
             r.tick("chkTransferAppendDigitsToLeft_0");
             r.type("txtTransferAppendDigitsToLeft_0", "8");
         },
         {"        Digits appended to to left of transfer string, new transfer string=89%1"}, {{"Extension", "89%1"}}},
        {"X on the right stays", "Alternate",
         [](FirstSubscriber& r) {
             r.setRule("Alternate", "Extension", "9X");
             r.tick("chkTransferAppendDigitsToRight_0");
             r.type("txtTransferAppendDigitsToRight_0", "8");
         },
         {"        Digits appended to to right of transfer string, new transfer string=9X8"}, {{"Extension", "9X8"}}},
        {"a transfer without a number gets the extension", "Off Hours",
         [](FirstSubscriber& r) {
             r.setRule("Off Hours", "Extension", QVariant());
             r.setRule("Off Hours", "Action", 0);
             r.chooseString("comTransferEnabled_1", 279);
         },
         {"       Enable transfer set to: 1", "       Transfer extension set to:%1"},
         {{"Action", 1}, {"Extension", "%1"}, {"Subscriber.XFerString", "%1"}}},
        {"a transfer with a number keeps it", "Standard",
         [](FirstSubscriber& r) {
             r.setRule("Standard", "Extension", "555");
             r.chooseString("comTransferEnabled_2", 279);
         },
         {"       Enable transfer set to: 1"}, {{"Extension", "555"}, {"Subscriber.XFerString", "%2"}}},
        {"transfer off", "Alternate", [](FirstSubscriber& r) { r.chooseString("comTransferEnabled_0", 137); },
         {"       Enable transfer set to: 0"}, {{"Action", 0}}},
        {"release", "Alternate",
         [](FirstSubscriber& r) {
             r.setRule("Alternate", "TransferType", 1);
             r.choose("comTransferType_0", r.string(217).toUpper());
         },
         {"       Transfer type set to Release"}, {{"TransferType", 0}}},
        {"supervised", "Standard",
         [](FirstSubscriber& r) {
             r.setRule("Standard", "TransferType", 0);
             r.chooseString("comTransferType_2", 258);
         },
         {"       Transfer type set to Supervised"}, {{"TransferType", 1}}},
        {"wait prompt on stores its opposite", "Alternate",
         [](FirstSubscriber& r) { r.chooseString("comTransferPlayPleaseWaitPrompt_0", 279); },
         {"       Play 'please wait...' prompt set to: 1"}, {{"PlayTransferWaitPrompt", 0}}},
        {"wait prompt off", "Alternate",
         [](FirstSubscriber& r) {
             r.setRule("Alternate", "PlayTransferWaitPrompt", 0);
             r.chooseString("comTransferPlayPleaseWaitPrompt_0", 137);
         },
         {"       Play 'please wait...' prompt set to: 0"}, {{"PlayTransferWaitPrompt", 1}}},
        {"rings", "Off Hours", [](FirstSubscriber& r) { r.type("txtTransferRingsToWait_1", "5"); },
         {"       Rings to wait set to: 5"}, {{"TransferRings", 5}}},
        {"always hold", "Alternate", [](FirstSubscriber& r) { r.chooseString("comTransferBusyAction_0", 46); },
         {"       Busy action set to Always Hold"}, {{"TransferHoldingMode", 1}}},
        {"ask caller", "Standard", [](FirstSubscriber& r) { r.chooseString("comTransferBusyAction_2", 65); },
         {"       Busy action set to Ask Caller"}, {{"TransferHoldingMode", 2}}},
        {"no holding", "Standard",
         [](FirstSubscriber& r) {
             r.setRule("Standard", "TransferHoldingMode", 2);
             r.chooseString("comTransferBusyAction_2", 192);
         },
         {"       Busy action set to No Holding"}, {{"TransferHoldingMode", 0}}},
        {"four true/false settings", "Follow-Me Mobile",
         [](FirstSubscriber& r) {
             r.chooseString("comTransferAnnounce_5", 279);
             r.chooseString("comTransferIntroduce_5", 279);
             r.chooseString("comTransferConfirm_5", 279);
             r.chooseString("comTransferAskCallersName_5", 279);
         },
         {"       Announce set to: 1", "       Introduce value set to: 1", "       Confirm set to: 1",
          "       Ask callers name set to: 1"},
         {{"TransferAnnounce", 1}, {"TransferIntroduce", 1}, {"TransferConfirm", 1}, {"TransferScreening", 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FirstSubscriber run;
        c.setUp(run);
        run.run();
        const auto expand = [&](QString text) { return text.replace("%1", run.extension).replace("%2", run.transferString); };
        QStringList lines;
        for (const QString& line : c.lines)
            lines << expand(line);
        EXPECT_EQ(run.linesOf(c.alias), lines);
        EXPECT_EQ(run.headings().size(), 6);
        for (const Column& column : c.columns) {
            const QString name = column.name;
            const QVariant stored = name.startsWith("Subscriber.") ? run.subscriberColumn(name.mid(11)) : run.rule(c.alias, name);
            SCOPED_TRACE(column.name);
            if (column.value.isNull())
                EXPECT_TRUE(stored.isNull());
            else if (column.value.typeId() == QMetaType::QDateTime)
                EXPECT_EQ(stored.toDateTime(), column.value.toDateTime());
            else
                EXPECT_EQ(stored.toString(), expand(column.value.toString()));
        }
        // The transfer string steps write through to the directory; the others do not.
        const bool transferString = c.columns.end() != std::find_if(c.columns.begin(), c.columns.end(), [&](const Column& col) {
            return QLatin1String(col.name) == "Extension" && expand(col.value.toString()) != "555";
        });
        EXPECT_EQ(run.session.bDirectoryWriteThroughPending, transferString);
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

TEST(DestinationLookup, EachChoiceGivesItsActionValues)
{
    FirstSubscriber run;
    Recordset& subscribers = run.session.rsSubscribers;
    subscribers.moveFirst();
    subscribers.moveNext();
    const QString otherSubscriber = subscribers.value("SubscriberObjectID").toString();
    const QString otherHandler = subscribers.value("CallHandlerObjectID").toString();
    subscribers.moveFirst();

    const QString tenCharacters = "ABCDEFGHIJ";
    constexpr qint16 untouched = 99;
    const struct {
        int slot;
        const char* option;
        QString text;   // of the take-action list, or of the chosen destination's object ID box
        bool dontRing;
        qint16 code;
        QString conversation;
        QString destination;
        qint16 type;
        int refusal;
    } cases[] = {
        {3, "optCallerInputTakeAction", run.string(359).toLower(), false, 2, "BhConvEasySignIn", "", untouched, 0},
        {0, "optCallerInputTakeAction", run.string(175), false, 2, "PHGreeting", "SELF", 3, 0},
        {13, "optCallerInputTakeAction", run.string(260), false, 4, "", "", untouched, 0},
        {11, "optCallerInputTakeAction", run.string(248), false, 5, "", "", untouched, 0},
        {12, "optCallerInputTakeAction", "Dial A Friend", false, 0, "", "", untouched, 167},
        {4, "optCallerInputGoToDirectoryHandler", "", false, 2, "AD", "", 6, 0},
        {7, "optCallerInputGoToCallHandler", "ABCDEFGHI", false, 2, "PHTransfer", "ABCDEFGHI", 3, 164},
        {7, "optCallerInputGoToCallHandler", tenCharacters, true, 2, "PHGreeting", tenCharacters, 3, 0},
        {14, "optCallerInputgoToInterviewHandler", "SHORT", false, 2, "CHInterview", "SHORT", 5, 165},
        {14, "optCallerInputgoToInterviewHandler", tenCharacters, false, 2, "CHInterview", tenCharacters, 5, 0},
        {19, "optCallerInputGoToSubscriber", otherSubscriber, false, 2, "PHTransfer", otherHandler, 3, 0},
        {19, "optCallerInputGoToSubscriber", "NO-SUCH-SUBSCRIBER", true, 2, "PHGreeting", "", 3, 166},
    };
    const QHash<QString, QString> boxes{{"optCallerInputGoToDirectoryHandler", "txtCallerInputGoToDirectoryHandlerObjectID"},
                                        {"optCallerInputGoToCallHandler", "txtCallerInputGoToCallHandlerObjectID"},
                                        {"optCallerInputgoToInterviewHandler", "txtCallerInputGoToInterviewObjectID"},
                                        {"optCallerInputGoToSubscriber", "txtCallerInputGoToSubscriberObjectID"}};
    // The subscriber being changed has an edit under way: the lookup must neither move nor lose it.
    subscribers.setValue("XFerString", "PENDING");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.option) + " on slot " + std::to_string(c.slot));
        OptionsSnapshot options = run.options;
        options.control(elementName("optCallerInputDontChange", c.slot)).selected = false;
        options.control(elementName(c.option, c.slot)).selected = true;
        if (QLatin1String(c.option) == "optCallerInputTakeAction")
            options.control(elementName("cmbCallerInputTakeAction", c.slot)).text = c.text;
        else
            options.control(elementName(boxes.value(c.option), c.slot)).text = c.text;
        for (const char* box : {"chkCallerInputGoToCallHandlerSkipGreeting", "chkCallerInputGoToSubscriberSkipGreeting"})
            options.control(elementName(box, c.slot)).checkState = c.dontRing ? CheckValue::Dimmed : CheckValue::Clear;
        CallerAction action{7, "stale", "stale", untouched, "stale"};
        const EngineOptions engineOptions(options);
        EXPECT_TRUE(callerInputSlotApplies(engineOptions, c.slot));
        EXPECT_EQ(resolveCallerAction(engineOptions, run.session.languages.stringLookup(), subscribers, "SELF", c.slot, action), c.refusal);
        EXPECT_EQ(action.actionCode, c.code);
        EXPECT_EQ(action.conversationName, c.conversation);
        EXPECT_EQ(action.destinationObjectID, c.destination);
        EXPECT_EQ(action.destinationObjectIDType, c.type);
        EXPECT_EQ(action.altContactNumber, "");
        EXPECT_EQ(subscribers.value("SubscriberObjectID").toString(), run.id);
        EXPECT_EQ(subscribers.value("XFerString").toString(), "PENDING");
    }
    subscribers.cancelUpdate();

    // The number to dial goes with "Alternate Contact Number" only.
    OptionsSnapshot options = run.options;
    options.control("optCallerInputDontChange_2").selected = false;
    options.control("optCallerInputTakeAction_2").selected = true;
    options.control("cmbCallerInputTakeAction_2").text = run.string(504);
    options.control("txtSubscriberCallerInputNumbertoDial_2").text = "5551234";
    CallerAction action;
    EXPECT_EQ(resolveCallerAction(EngineOptions(options), run.session.languages.stringLookup(), subscribers, "SELF", 2, action), 0);
    EXPECT_EQ(action.conversationName, "TransferAltContactNumber");
    EXPECT_EQ(action.altContactNumber, "5551234");
}

TEST(DestinationLookup, RefusalsNameTheKeyAndOnlyAppliedSlotsAreChecked)
{
    FirstSubscriber run;
    const StringLookup strings = run.session.languages.stringLookup();
    const struct {
        int slot;
        int refusal;
        const char* message;
    } messages[] = {
        {7, 164, "Invalid <Go To Call Handler> destination on the Caller Input  7 key tab.  Please correct and try again"},
        {0, 165, "Invalid <Go To Interview> destination on the Caller Input  0 key tab.  Please correct and try again"},
        {10, 166, "Invalid <Go To Subscriber> destination on the Caller Input * key tab.  Please correct and try again"},
        {11, 167, "Invalid <Take Action> setting on the Caller Input # key tab.  Please correct and try again"},
        {19, 167, "Invalid <Take Action> setting on the Caller Input <unknown> key tab.  Please correct and try again"},
    };
    for (const auto& m : messages)
        EXPECT_EQ(invalidCallerInputMessage(strings, m.slot, m.refusal), m.message);

    // As loaded, every slot is left alone.
    EXPECT_EQ(firstInvalidCallerInput(EngineOptions(run.options), strings, run.session.rsSubscribers), "");
    OptionsSnapshot options = run.options;
    const auto goToCallHandler = [&](int slot, const QString& id) {
        options.control(elementName("optCallerInputDontChange", slot)).selected = false;
        options.control(elementName("optCallerInputGoToCallHandler", slot)).selected = true;
        options.control(elementName("txtCallerInputGoToCallHandlerObjectID", slot)).text = id;
    };
    options.control("txtCallerInputGoToCallHandlerObjectID_5").text = "SHORT";   // its slot is left alone
    goToCallHandler(6, "ABCDEFGHIJ");
    EXPECT_EQ(firstInvalidCallerInput(EngineOptions(options), strings, run.session.rsSubscribers), "");
    goToCallHandler(18, "SHORT");
    goToCallHandler(9, "SHORT");
    EXPECT_EQ(firstInvalidCallerInput(EngineOptions(options), strings, run.session.rsSubscribers),
              invalidCallerInputMessage(strings, 9, 164));
    // Without the caller-input controls nothing can be applied, so nothing is refused.
    EXPECT_EQ(firstInvalidCallerInput(EngineOptions(OptionsSnapshot("frmSelectSubscriberChanges")), strings,
                                      run.session.rsSubscribers),
              "");
}

TEST(DestinationLookup, InsideARunAnInvalidChoiceIsLoggedNotApplied)
{
    FirstSubscriber run;
    run.pick("optCallerInputDontChange_12", false);
    run.pick("optCallerInputTakeAction_12");
    run.choose("cmbCallerInputTakeAction_12", "Dial A Friend");
    const QString path = run.log->GenerateNewLogFileName();
    run.log->WriteLogHeader(path, {});
    const EngineOptions options(run.options);
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

// Go on the engine page, the real options page behind it.
TEST(DestinationLookup, GoRefusesAnInvalidChoiceBeforeTheRun)
{
    WizardRun run;
    ASSERT_TRUE(run.start());
    QTemporaryDir programFolder;
    Recordset& subscribers = run.session.rsSubscribers;
    subscribers.moveFirst();
    run.context.state.selectionGridRows << SelectionGridRow{true, subscribers.value("Alias").toString(),
                                                            subscribers.value("SubscriberObjectID").toString()};
    run.context.state.runLog = std::make_unique<RunLog>(programFolder.path(), run.messages.sink());
    frmSelectSubscriberChanges options(run.context);
    frmMakeSubscriberChanges page(run.context, &options);
    page.setLogOpener([](const QString&) { return HelpFiles::Launch{}; });
    const auto logFiles = [&] { return QDir(programFolder.filePath("logs")).entryList({"*.TXT"}, QDir::Files); };

    findByName<QRadioButton>(options, "optCallerInputGoToCallHandler_7")->setChecked(true);
    findByName<QLineEdit>(options, "txtCallerInputGoToCallHandlerObjectID_7")->setText("ABCDEFGHI");
    click(page, "cmdGo");
    EXPECT_EQ(run.shown, QStringList{"Invalid <Go To Call Handler> destination on the Caller Input  7 key tab.  Please correct and try again"});
    EXPECT_TRUE(logFiles().isEmpty());
    EXPECT_TRUE(findByName<QPushButton>(page, "cmdGo")->isEnabled());

    // Corrected, Go runs.
    findByName<QLineEdit>(options, "txtCallerInputGoToCallHandlerObjectID_7")->setText("ABCDEFGHIJ");
    run.shown.clear();
    click(page, "cmdGo");
    EXPECT_EQ(logFiles().size(), 1);
    EXPECT_FALSE(findByName<QPushButton>(page, "cmdGo")->isEnabled());
}

}  // namespace
