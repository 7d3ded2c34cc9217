// The conversation and playback flags and the enhanced alternate greeting, run by the engine on
// the loaded options page: the lines each choice logs and the columns it leaves in the database.
#include "core/ControlNames.h"
#include "tests/subscribers_ui/EngineScenario.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// Every column the two categories write, cleared beforehand (the directory handler reference
// holds a text no choice writes), so that any write shows and an untouched column reads null.
const QStringList kWrittenColumns{
    "SkipPWForKnownDevice", "JumpToMessagesOnLogin", "SayANI", "SaySenderExtension", "GreetByName",
    "UseBriefPrompts", "AddressMode", "SendConv", "SayTotalNew", "SayTotalSaved", "SayTotalNewVoice",
    "SayTotalNewFax", "SayTotalNewEmail", "SaySender", "SayMessageDuration", "SayMsgNumber",
    "SayTimestampAfter", "SayTimestampBefore", "Volume", "SkipAheadTime", "SkipBackTime",
    "MsgStatusOnHangup", "NameConfWhenAddressing", "MsgConfBeforeDelete", "ContinuousAdd",
    "CollectDigitsViaSpeech", "DCREnabled", "DCRReviewEnabled", "DCRSendEnabled", "AllowVUI",
    "DCRReviewTimeout", "DCRSendTimeout", "EnAltGreetDontRingPhone", "EnAltGreetPreventMsg",
    "EnAltGreetPreventSkip"};
const QString kHandlerBefore = "handler before the run";

class FlagsRun : public EngineScenario {
public:
    explicit FlagsRun(const velmo::InstallationOptions& options = TempInstallation::smallOptions())
        : EngineScenario(options)
    {
        sql("UPDATE Subscriber SET " + kWrittenColumns.join("=NULL, ") + "=NULL, DirectoryHandlerObjectID='"
            + kHandlerBefore + "'");
        EXPECT_TRUE(open());
    }

    // The first subscriber's column after the run.
    QVariant column(const QString& name)
    {
        return stored("SELECT " + name + " FROM Subscriber WHERE SubscriberObjectID=?", {rows.value(0).objectID});
    }

    // The first subscriber's lines from `first` on, as many as `expected` holds: the stretch a
    // category wrote among the lines of the others.
    QStringList stretch(const QStringList& expected) const
    {
        const QStringList changes = changesOf(0);
        const qsizetype from = changes.indexOf(expected.value(0));
        return from < 0 ? QStringList{} : changes.mid(from, expected.size());
    }
};

// A column as a test expects it: null when the run must leave it alone.
void expectColumn(FlagsRun& run, const QString& name, const std::optional<QVariant>& expected)
{
    const QVariant value = run.column(name);
    if (!expected)
        EXPECT_TRUE(value.isNull()) << name.toStdString() << " = " << value.toString().toStdString();
    else
        EXPECT_EQ(value.toString(), expected->toString()) << name.toStdString();
}

// --- Conversation and playback flags ---------------------------------------------------------

struct FlagCase {
    QString control;
    QString column;
    QString line;
};

// In the order the steps run.
const FlagCase kFlags[] = {
    {"comConversationSkipPWForKnownDevice", "SkipPWForKnownDevice", "    Skip PW for calls from known device set to:"},
    {"comConversationJumpToNewMessages", "JumpToMessagesOnLogin", "    Jump to new message stack on login set to:"},
    {"comConversationSayANI", "SayANI", "   Say ANI value set to:"},
    {"comConversationSaySenderExt", "SaySenderExtension", "   Say sender extension value set to:"},
    {"comConversationGreetByName", "GreetByName", "   Greet subscriber by name value set to:"},
    {"comConversationSayTotalNew", "SayTotalNew", "   Say total new messages set to:"},
    {"comConversationSayTotalSaved", "SayTotalSaved", "   Say total saved messages set to:"},
    {"comConversationSayTotalNewVoice", "SayTotalNewVoice", "   Say total new voice messages set to:"},
    {"comConversationSayTotalNewFax", "SayTotalNewFax", "   Say total new fax messages set to:"},
    {"comConversationSayTotalNewEmail", "SayTotalNewEmail", "   Say total new email messages set to:"},
    {"comConversationAnnounceSender", "SaySender", "   Announce sender set to:"},
    {"comConversationAnnounceDuration", "SayMessageDuration", "   Announce duration set to:"},
    {"comConversationSayMessageNumber", "SayMsgNumber", "   Say message number set to:"},
    {elementName("cmbConversationOptions", 0), "MsgStatusOnHangup", "    MsgStatusOnHangup set to :"},
    {elementName("cmbConversationOptions", 1), "NameConfWhenAddressing", "    NameConfWhenAddressing set to :"},
    {elementName("cmbConversationOptions", 2), "MsgConfBeforeDelete", "    MsgConfBeforeDelete set to :"},
    {elementName("cmbConversationOptions", 3), "ContinuousAdd", "    ContinuousAdd set to :"},
    {elementName("cmbConversationOptions", 4), "CollectDigitsViaSpeech", "    CollectDigitsViaSpeech set to :"},
    {elementName("cmbConversationOptions", 5), "DCREnabled", "    DCREnabled set to :"},
    {elementName("cmbConversationOptions", 6), "DCRReviewEnabled", "    DCRReviewEnabled set to :"},
    {elementName("cmbConversationOptions", 7), "DCRSendEnabled", "    DCRSendEnabled set to :"},
    {elementName("cmbConversationOptions", 8), "AllowVUI", "    AllowVUI set to :"},
};

TEST(ConversationAndPlaybackFlags, EveryTriStateWritesItsCodeAndLogsItInStepOrder)
{
    struct Case {
        QString text;   // empty: the "TRUE" / "FALSE" / "<Don't Change>" string of `string`
        int string;
        std::optional<int> code;
    };
    const Case cases[] = {{{}, 279, 1}, {{}, 137, 0}, {{}, 20, std::nullopt}, {"Perhaps", 0, std::nullopt}};
    for (const Case& c : cases) {
        FlagsRun run;
        const QString text = c.text.isEmpty() ? run.string(c.string) : c.text;
        SCOPED_TRACE(text.toStdString());
        for (const FlagCase& flag : kFlags)
            run.choose(flag.control, text);
        run.run();

        QStringList expected;
        for (const FlagCase& flag : kFlags) {
            if (c.code)
                expected << flag.line + ' ' + QString::number(*c.code);
            expectColumn(run, flag.column, c.code ? std::optional<QVariant>(*c.code) : std::nullopt);
        }
        if (c.code)
            EXPECT_EQ(run.stretch(expected), expected);
        else
            EXPECT_EQ(run.changesOf(0).filter(" set to"), QStringList{});
        EXPECT_EQ(run.log->LogErrorCount(), 0);
    }
}

TEST(ConversationAndPlaybackFlags, ListEntriesMapToTheirCodesIgnoringCase)
{
    struct Case {
        QString control;
        int string;
        QString firstColumn;
        int first;
        QString secondColumn;   // empty: the step writes one column
        int second;
        QString line;
        bool upperCase = false;   // the list shows the entry in capitals
    };
    const Case cases[] = {
        {"comConversationConvType", 142, "UseBriefPrompts", 0, {}, 0, "   Conversation type set to Full Prompts"},
        {"comConversationConvType", 68, "UseBriefPrompts", 1, {}, 0, "   Conversation set to Brief Prompts"},
        {"comConversationAddressMode", 139, "AddressMode", 2, {}, 0, "   Addressing mode set to First Name"},
        {"comConversationAddressMode", 170, "AddressMode", 0, {}, 0, "   Addressing mode set to Last Name"},
        {"comConversationAddressMode", 156, "AddressMode", 1, {}, 0, "   Addressing mode set to ID"},
        {"comConversationAddressMode", 170, "AddressMode", 0, {}, 0, "   Addressing mode set to Last Name", true},
        {"comConversationSendMode", 250, "SendConv", 0, {}, 0, "    Send conversation set to 'Standard'"},
        {"comConversationSendMode", 497, "SendConv", 1, {}, 0, "    Send conversation set to 'Streamlined'"},
        {"comConversationAnnounceTimestamp", 67, "SayTimestampAfter", 0, "SayTimestampBefore", 1,
         "   Announce timestamp set to Before message"},
        {"comConversationAnnounceTimestamp", 28, "SayTimestampAfter", 1, "SayTimestampBefore", 0,
         "   Announce timestamp set to After message"},
        {"comConversationAnnounceTimestamp", 312, "SayTimestampAfter", 0, "SayTimestampBefore", 0,
         "   Announce timestamp disabled"},
        {"comConversationVolumeLevel", 215, "Volume", 0, {}, 0, "    Set volume to quiet - 0"},
        {"comConversationVolumeLevel", 177, "Volume", 100, {}, 0, "    Set volume to louder - 100"},
        {"comConversationVolumeLevel", 182, "Volume", 50, {}, 0, "    Set volume to medium - 50"},
        {"comConversationVolumeLevel", 182, "Volume", 50, {}, 0, "    Set volume to medium - 50", true},
    };
    for (const Case& c : cases) {
        FlagsRun run;
        const QString text = c.upperCase ? run.string(c.string).toUpper() : run.string(c.string);
        SCOPED_TRACE((c.control + ": " + text).toStdString());
        run.choose(c.control, text);
        run.run();
        EXPECT_EQ(run.stretch({c.line}), QStringList{c.line});
        expectColumn(run, c.firstColumn, c.first);
        if (!c.secondColumn.isEmpty())
            expectColumn(run, c.secondColumn, c.second);
        EXPECT_EQ(run.log->LogErrorCount(), 0);
    }

    // A text of no entry changes nothing.
    FlagsRun run;
    run.choose("comConversationVolumeLevel", "Loudest");
    run.run();
    EXPECT_EQ(run.changesOf(0).filter("volume"), QStringList{});
    expectColumn(run, "Volume", std::nullopt);
}

TEST(ConversationAndPlaybackFlags, DirectoryHandlerReferenceBySelectedPosition)
{
    const QString handlerID = "{8A1D2C3B-0000-4000-8000-00000000A001}";
    struct Case {
        int position;       // in cmbConversationSendScopeLimit; -1 nothing selected
        QVariant itemData;  // of the selected entry
        QString objectID;   // at position 2 of the hidden list
        std::optional<QVariant> stored;
        QString line;       // empty: none
    };
    const Case cases[] = {
        {1, 1, {}, QVariant(), "    DirectoryHandlerReference set to (empty)"},
        {2, 2, handlerID, handlerID, "    DirectoryHandlerReference set to " + handlerID + ", Sales lookup"},
        {2, 2, "x", kHandlerBefore, {}},
        {2, 9, handlerID, kHandlerBefore, {}},   // points past the hidden list
        {0, 0, handlerID, kHandlerBefore, {}},
        {-1, {}, handlerID, kHandlerBefore, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        FlagsRun run;
        run.chooseItem("cmbConversationSendScopeLimitObjectID", c.objectID, {}, 2);
        if (c.position >= 0)
            run.chooseItem("cmbConversationSendScopeLimit", c.position == 1 ? run.string(514) : "Sales lookup",
                           c.itemData, c.position);
        else
            run.choose("cmbConversationSendScopeLimit", {});
        run.run();
        const QStringList logged = run.changesOf(0).filter("DirectoryHandlerReference");
        EXPECT_EQ(logged, c.line.isEmpty() ? QStringList{} : QStringList{c.line});
        const QVariant value = run.column("DirectoryHandlerObjectID");
        EXPECT_EQ(value.isNull(), c.stored->isNull());
        EXPECT_EQ(value.toString(), c.stored->toString());
    }
}

TEST(ConversationAndPlaybackFlags, SkipTimesAsTypedAndRecoveryTimeoutsInMinutesFromServer5)
{
    const QString ahead = "txtSubscriberMessageReviewSkipAheadTime", back = "txtSubscriberMessageReviewSkipBackTime";
    const QString review = "txtDCRMessageReviewTimeout", send = "txtDCRSendTimeout";
    struct Case {
        int version[4];
        QString box, column, line, text;   // the change line is `line` + the text as typed
        std::optional<QVariant> stored;    // none: nothing written, nothing logged
    };
    const Case cases[] = {
        {{4, 0, 3, 12}, ahead, "SkipAheadTime", "    Skip ahead time set to ", "5000", "5000"},
        {{4, 0, 3, 12}, ahead, "SkipAheadTime", "    Skip ahead time set to ", " 100 ", " 100 "},
        {{4, 0, 3, 12}, back, "SkipBackTime", "    Skip back time set to ", "2500", "2500"},
        {{4, 0, 3, 12}, back, "SkipBackTime", "    Skip back time set to ", "  50  ", std::nullopt},
        {{4, 0, 3, 12}, review, "DCRReviewTimeout", "    DCR Review Timeout=", "20", " 1200000"},
        {{5, 0, 0, 9}, send, "DCRSendTimeout", "    DCR Send Timeout=", "5", " 300000"},
        {{5, 0, 0, 10}, review, "DCRReviewTimeout", "    DCR Review Timeout=", "20", " 20"},
        {{5, 0, 0, 10}, send, "DCRSendTimeout", "    DCR Send Timeout=", "3 minutes", " 3"},
        {{5, 0, 0, 10}, send, "DCRSendTimeout", "    DCR Send Timeout=", "none", " 0"},
        {{5, 0, 0, 10}, review, "DCRReviewTimeout", "    DCR Review Timeout=", "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.box + ": " + c.text).toStdString());
        FlagsRun run(TempInstallation::smallServer(c.version[0], c.version[1], c.version[2], c.version[3]));
        run.type(c.box, c.text);
        run.run();
        EXPECT_EQ(run.changesOf(0).filter(c.line), c.stored ? QStringList{c.line + c.text} : QStringList{});
        expectColumn(run, c.column, c.stored);
    }
}

TEST(ConversationAndPlaybackFlags, AStepThatFailsEndsOnlyItself)
{
    // Item data beyond 16 bits: that step logs the procedure's error line and no change line;
    // the steps before and after it still apply.
    FlagsRun run;
    run.chooseString("comConversationAddressMode", 139);
    run.chooseItem("cmbConversationSendScopeLimitObjectID", "{8A1D2C3B-0000-4000-8000-00000000A001}", {}, 2);
    run.chooseItem("cmbConversationSendScopeLimit", "Sales lookup", 40000, 2);
    run.chooseString("comConversationSendMode", 497);
    run.run();
    const QStringList expected{
        "   Addressing mode set to First Name",
        "(error):6 (Overflow) in procedure MakeChangesToSubscriber of Form frmMakeSubscriberChanges",
        "    Send conversation set to 'Streamlined'"};
    EXPECT_EQ(run.stretch(expected), expected);
    EXPECT_EQ(run.log->LogErrorCount(), 1);
    expectColumn(run, "AddressMode", 2);
    expectColumn(run, "DirectoryHandlerObjectID", kHandlerBefore);
    expectColumn(run, "SendConv", 1);
}

// --- Enhanced alternate greeting -------------------------------------------------------------

TEST(EnhancedAlternateGreeting, ThreeColumnsWrittenTogetherOnlyWhenApplied)
{
    const QString columns[] = {"EnAltGreetDontRingPhone", "EnAltGreetPreventMsg", "EnAltGreetPreventSkip"};
    const QString boxes[] = {"chkGreetingAlternateDontRingPhone", "chkGreetingAlternatePreventMessage",
                             "chkGreetingAlternatePreventSkip"};
    const QString lines[] = {"        'Dont Ring Phone' value set to ", "        'Prevent Message' value set to ",
                             "        'Prevent Skip' value set to "};
    struct Case {
        int apply;
        int boxes[3];
        bool applied;
        bool values[3];   // when applied
    };
    const Case cases[] = {
        {CheckValue::Clear, {1, 1, 1}, false, {}},
        {CheckValue::Dimmed, {1, 1, 1}, false, {}},
        {CheckValue::Ticked, {0, 0, 0}, true, {false, false, false}},
        {CheckValue::Ticked, {0, 0, 1}, true, {false, false, true}},
        {CheckValue::Ticked, {2, 1, 0}, true, {false, true, false}},   // a dimmed box counts as clear
        {CheckValue::Ticked, {1, 1, 1}, true, {true, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.apply * 1000 + c.boxes[0] * 100 + c.boxes[1] * 10 + c.boxes[2]);
        FlagsRun run;
        run.tick("chkGreetingsAlternateApplyEnhancedAlternateGreetingSettings", c.apply);
        for (int box = 0; box < 3; ++box)
            run.tick(boxes[box], c.boxes[box]);
        run.run();
        const QString heading = "    Applying enhanced alternate greeting settings";
        if (!c.applied) {
            EXPECT_FALSE(run.changesOf(0).contains(heading));
            EXPECT_EQ(run.changesOf(0).filter("' value set to "), QStringList{});
        } else {
            QStringList expected{heading};
            for (int box = 0; box < 3; ++box)
                expected << lines[box] + (c.values[box] ? "true" : "false");
            EXPECT_EQ(run.stretch(expected), expected);
        }
        for (int box = 0; box < 3; ++box)
            expectColumn(run, columns[box], c.applied ? std::optional<QVariant>(int(c.values[box])) : std::nullopt);
    }
}

}  // namespace
