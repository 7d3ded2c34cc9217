// How the phone conversation greets the subscriber, addresses and sends messages, announces and
// plays them and recovers dropped calls: columns of the subscriber row only, which the frame
// saves at its end. Every step stands on its own: one that fails ends only itself.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/ExtensionRules.h"
#include "core/Recordset.h"
#include "core/Session.h"

#include <span>

namespace {

const char* const kPage = "frmSelectSubscriberChanges";

struct FlagStep {
    const char* control;
    int element;   // element of an array control; -1 for a single control
    const char* column;
    const char* line;
};

constexpr FlagStep kGreetingFlags[] = {
    {"comConversationSkipPWForKnownDevice", -1, "SkipPWForKnownDevice", "    Skip PW for calls from known device set to:"},
    {"comConversationJumpToNewMessages", -1, "JumpToMessagesOnLogin", "    Jump to new message stack on login set to:"},
    {"comConversationSayANI", -1, "SayANI", "   Say ANI value set to:"},
    {"comConversationSaySenderExt", -1, "SaySenderExtension", "   Say sender extension value set to:"},
    {"comConversationGreetByName", -1, "GreetByName", "   Greet subscriber by name value set to:"},
};

constexpr FlagStep kAnnouncementFlags[] = {
    {"comConversationSayTotalNew", -1, "SayTotalNew", "   Say total new messages set to:"},
    {"comConversationSayTotalSaved", -1, "SayTotalSaved", "   Say total saved messages set to:"},
    {"comConversationSayTotalNewVoice", -1, "SayTotalNewVoice", "   Say total new voice messages set to:"},
    {"comConversationSayTotalNewFax", -1, "SayTotalNewFax", "   Say total new fax messages set to:"},
    {"comConversationSayTotalNewEmail", -1, "SayTotalNewEmail", "   Say total new email messages set to:"},
    {"comConversationAnnounceSender", -1, "SaySender", "   Announce sender set to:"},
    {"comConversationAnnounceDuration", -1, "SayMessageDuration", "   Announce duration set to:"},
    {"comConversationSayMessageNumber", -1, "SayMsgNumber", "   Say message number set to:"},
};

constexpr FlagStep kOptionFlags[] = {
    {"cmbConversationOptions", 0, "MsgStatusOnHangup", "    MsgStatusOnHangup set to :"},
    {"cmbConversationOptions", 1, "NameConfWhenAddressing", "    NameConfWhenAddressing set to :"},
    {"cmbConversationOptions", 2, "MsgConfBeforeDelete", "    MsgConfBeforeDelete set to :"},
    {"cmbConversationOptions", 3, "ContinuousAdd", "    ContinuousAdd set to :"},
    {"cmbConversationOptions", 4, "CollectDigitsViaSpeech", "    CollectDigitsViaSpeech set to :"},
    {"cmbConversationOptions", 5, "DCREnabled", "    DCREnabled set to :"},
    {"cmbConversationOptions", 6, "DCRReviewEnabled", "    DCRReviewEnabled set to :"},
    {"cmbConversationOptions", 7, "DCRSendEnabled", "    DCRSendEnabled set to :"},
    {"cmbConversationOptions", 8, "AllowVUI", "    AllowVUI set to :"},
};

// One entry of a list whose entries map to column values: the resource string it shows, the
// values of the step's one or two columns and its change line.
struct Entry {
    int string;
    qint16 first;
    qint16 second;   // of the second column, when the step has one
    const char* line;
};

struct EntryStep {
    const char* control;
    const char* firstColumn;
    const char* secondColumn;   // nullptr: one column
    std::span<const Entry> entries;   // tested in this order
};

constexpr Entry kConversationTypes[] = {
    {142, 0, 0, "   Conversation type set to Full Prompts"},
    {68, 1, 0, "   Conversation set to Brief Prompts"},
};
constexpr Entry kAddressingModes[] = {
    {139, 2, 0, "   Addressing mode set to First Name"},
    {170, 0, 0, "   Addressing mode set to Last Name"},
    {156, 1, 0, "   Addressing mode set to ID"},
};
constexpr Entry kSendConversations[] = {
    {250, 0, 0, "    Send conversation set to 'Standard'"},
    {497, 1, 0, "    Send conversation set to 'Streamlined'"},
};
// SayTimestampAfter, then SayTimestampBefore: never both 1.
constexpr Entry kTimestampAnnouncements[] = {
    {67, 0, 1, "   Announce timestamp set to Before message"},
    {28, 1, 0, "   Announce timestamp set to After message"},
    {312, 0, 0, "   Announce timestamp disabled"},
};
constexpr Entry kPlaybackVolumes[] = {
    {215, 0, 0, "    Set volume to quiet - 0"},
    {177, 100, 0, "    Set volume to louder - 100"},
    {182, 50, 0, "    Set volume to medium - 50"},
};

constexpr EntryStep kConversationType{"comConversationConvType", "UseBriefPrompts", nullptr, kConversationTypes};
constexpr EntryStep kAddressingMode{"comConversationAddressMode", "AddressMode", nullptr, kAddressingModes};
constexpr EntryStep kSendConversation{"comConversationSendMode", "SendConv", nullptr, kSendConversations};
constexpr EntryStep kTimestampAnnouncement{"comConversationAnnounceTimestamp", "SayTimestampAfter",
                                           "SayTimestampBefore", kTimestampAnnouncements};
constexpr EntryStep kPlaybackVolume{"comConversationVolumeLevel", "Volume", nullptr, kPlaybackVolumes};

struct TextStep {
    const char* control;
    const char* column;
    const char* line;
};

constexpr TextStep kSkipAhead{"txtSubscriberMessageReviewSkipAheadTime", "SkipAheadTime", "    Skip ahead time set to "};
constexpr TextStep kSkipBack{"txtSubscriberMessageReviewSkipBackTime", "SkipBackTime", "    Skip back time set to "};
constexpr TextStep kReviewTimeout{"txtDCRMessageReviewTimeout", "DCRReviewTimeout", "    DCR Review Timeout="};
constexpr TextStep kSendTimeout{"txtDCRSendTimeout", "DCRSendTimeout", "    DCR Send Timeout="};

const QString kSendScopeLimit = QStringLiteral("cmbConversationSendScopeLimit");
const QString kSendScopeLimitObjectID = QStringLiteral("cmbConversationSendScopeLimitObjectID");

void applyFlag(SubscriberEdit& edit, const FlagStep& flag)
{
    const QString control = QString::fromLatin1(flag.control);
    const QString column = QString::fromLatin1(flag.column);
    const QString line = QString::fromLatin1(flag.line);
    edit.step([&] {
        if (flag.element < 0)
            edit.applyTriState(edit.subscriber(), control, column, line);
        else
            edit.applyTriState(edit.subscriber(), control, flag.element, column, line);
    });
}

void applyFlags(SubscriberEdit& edit, std::span<const FlagStep> flags)
{
    for (const FlagStep& flag : flags)
        applyFlag(edit, flag);
}

void applyEntry(SubscriberEdit& edit, const EntryStep& step)
{
    edit.step([&] {
        const QString text = edit.options.control(step.control).text;
        for (const Entry& entry : step.entries) {
            if (!edit.shows(text, entry.string))
                continue;
            edit.subscriber().setValue(QString::fromLatin1(step.firstColumn), QVariant::fromValue<qint16>(entry.first));
            if (step.secondColumn)
                edit.subscriber().setValue(QString::fromLatin1(step.secondColumn), QVariant::fromValue<qint16>(entry.second));
            edit.writeLine(QString::fromLatin1(entry.line));
            return;
        }
    });
}

// The list shows "<Don't Change>", "<Set to empty>" and then the directory handlers, each
// carrying the position of its object ID in the hidden list beside it.
void applyDirectoryHandlerReference(SubscriberEdit& edit)
{
    edit.step([&] {
        const ControlState& handlers = edit.options.control(kSendScopeLimit);
        if (handlers.currentIndex == 1) {
            edit.subscriber().setValue(QStringLiteral("DirectoryHandlerObjectID"), QVariant());
            edit.writeLine(QStringLiteral("    DirectoryHandlerReference set to (empty)"));
            return;
        }
        if (handlers.currentIndex < 2)
            return;
        const qint16 position = leadingWholeNumber<qint16>(handlers.current.data.toString());
        const QList<ListItem>& objectIDs = edit.options.control(kSendScopeLimitObjectID).items;
        // A position the hidden list does not have reads as an empty ID.
        const QString id = position >= 0 && position < objectIDs.size() ? objectIDs[position].text : QString();
        if (id.size() <= 1)
            return;
        edit.subscriber().setValue(QStringLiteral("DirectoryHandlerObjectID"), id);
        edit.writeLine(QStringLiteral("    DirectoryHandlerReference set to ") + id + QStringLiteral(", ") + handlers.text);
    });
}

// Skip times of fewer than three characters are taken for no choice.
void applySkipTime(SubscriberEdit& edit, const TextStep& step)
{
    edit.step([&] {
        const QString text = edit.options.control(step.control).text;
        if (text.trimmed().size() <= 2)
            return;
        edit.subscriber().setValue(QString::fromLatin1(step.column), text);
        edit.writeLine(QString::fromLatin1(step.line) + text);
    });
}

// The padded form of a number read from a text: it need not be whole.
QString paddedDecimal(double value)
{
    const QString digits = numberToText(value + 0.0);   // + 0.0: no "-0"
    return value < 0 ? digits : u' ' + digits;
}

// The box counts minutes; servers before 5.0(0).10 keep the time-out in milliseconds.
void applyRecoveryTimeout(SubscriberEdit& edit, const TextStep& step)
{
    edit.step([&] {
        const QString text = edit.options.control(step.control).text;
        if (text.isEmpty())
            return;
        const double minutes = leadingNumber(text);
        const double stored = edit.session.isVersionAtLeast(5, 0, 0, 10) ? minutes : minutes * 60000;
        edit.subscriber().setValue(QString::fromLatin1(step.column), paddedDecimal(stored));
        edit.writeLine(QString::fromLatin1(step.line) + text);
    });
}

void applyConversationAndPlaybackFlags(SubscriberEdit& edit)
{
    applyFlags(edit, kGreetingFlags);
    applyEntry(edit, kConversationType);
    applyEntry(edit, kAddressingMode);
    applyDirectoryHandlerReference(edit);
    applyEntry(edit, kSendConversation);
    applyFlags(edit, kAnnouncementFlags);
    applyEntry(edit, kTimestampAnnouncement);
    applyEntry(edit, kPlaybackVolume);
    applySkipTime(edit, kSkipAhead);
    applySkipTime(edit, kSkipBack);
    applyFlags(edit, kOptionFlags);
    applyRecoveryTimeout(edit, kReviewTimeout);
    applyRecoveryTimeout(edit, kSendTimeout);
}

const EngineControl kControls[] = {
    {kPage, "comConversationSkipPWForKnownDevice"},
    {kPage, "comConversationJumpToNewMessages"},
    {kPage, "comConversationSayANI"},
    {kPage, "comConversationSaySenderExt"},
    {kPage, "comConversationGreetByName"},
    {kPage, "comConversationConvType"},
    {kPage, "comConversationAddressMode"},
    {kPage, "cmbConversationSendScopeLimit"},
    {kPage, "cmbConversationSendScopeLimitObjectID"},
    {kPage, "comConversationSendMode"},
    {kPage, "comConversationSayTotalNew"},
    {kPage, "comConversationSayTotalSaved"},
    {kPage, "comConversationSayTotalNewVoice"},
    {kPage, "comConversationSayTotalNewFax"},
    {kPage, "comConversationSayTotalNewEmail"},
    {kPage, "comConversationAnnounceSender"},
    {kPage, "comConversationAnnounceDuration"},
    {kPage, "comConversationSayMessageNumber"},
    {kPage, "comConversationAnnounceTimestamp"},
    {kPage, "comConversationVolumeLevel"},
    {kPage, "txtSubscriberMessageReviewSkipAheadTime"},
    {kPage, "txtSubscriberMessageReviewSkipBackTime"},
    {kPage, "cmbConversationOptions", 9},
    {kPage, "txtDCRMessageReviewTimeout"},
    {kPage, "txtDCRSendTimeout"},
};

}  // namespace

const SubscriberChangeCategory SubscriberChanges::conversationAndPlaybackFlags{
    "conversation and playback flags", applyConversationAndPlaybackFlags, kControls};
