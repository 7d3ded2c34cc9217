#include "subscribers/EntryRules.h"

#include "core/ExtensionRules.h"

#include <algorithm>

namespace {

using enum EntryCheckTime;
using enum EntryRuleKind;

constexpr int None = -1;
constexpr EntryMessage kDialableDigits{0, "Legal dialable digits are '01234567890,*#'"};

// box, elements, maximum length, when, check with its bounds, message(s), keeps the focus
constexpr EntryRule kEntryRules[] = {
    {"txtAccountBillingID", None, None, 10, Change, WholeNumber, 0, 0, {265}, 0, false},
    {"txtPasswordsNewPassword", None, None, 10, Change, Password, 0, 0, {209}, 0, false},
    {"txtSubscriberCallerInputNumbertoDial", 0, 11, 30, Change, DialableDigits, 0, 0, kDialableDigits, 0, false},
    {"txtSubscriberExtensionAdd", None, None, 9, Leave, WholeNumber, 0, 0, {196}, 0, true},
    {"txtSubscriberExtensionSubtract", None, None, 9, Leave, WholeNumber, 0, 0, {196}, 0, true},
    {"txtSubscriberExtensionAppendToLeft", None, None, 10, Leave, WholeNumber, 0, 0, {196}, 0, true},
    {"txtSubscriberExtensionAppendToRight", None, None, 10, Leave, WholeNumber, 0, 0, {196}, 0, true},
    {"txtSubscriberExtensionTestNumber", None, None, 30, Leave, WholeNumber, 0, 0, {196}, 0, true},
    {"txtAltExtAddValue", None, None, 9, Leave, WholeNumber, 0, 0, {196}, 0, true},
    {"txtAltExtSubtractValue", None, None, 9, Leave, WholeNumber, 0, 0, {196}, 0, true},
    {"txtAltExtAppendToLeft", None, None, 10, Leave, WholeNumber, 0, 0, {196}, 0, true},
    {"txtAltExtAppendToRight", None, None, 10, Leave, WholeNumber, 0, 0, {196}, 0, true},
    {"txtAltExtTestExtension", None, None, 30, Leave, WholeNumber, 0, 0, {196}, 0, true},
    {"txtAltExtTestExtensionResult", None, None, 0, Leave, WholeNumber, 0, 0, {196}, 0, true},
    // Its message names 2000 as the limit: the check holds to it.
    {"txtCallerInputMilisecondsToWait", None, None, 4, Leave, WholeNumber, 0, 2000, {229}, 0, true},
    {"txtCallerInputPrependDigits", None, None, 10, Leave, WholeNumber, 0, 0, {522}, 0, false},
    {"txtCallerInputPostPendDigits", None, None, 10, Leave, WholeNumber, 0, 0, {522}, 0, false},
    {"txtConversationAccessibility", 0, 0, 5, Leave, WholeNumber, 500, 10000, {480}, 0, true},
    {"txtConversationAccessibility", 1, 1, 5, Leave, WholeNumber, 1000, 10000, {481}, 0, true},
    {"txtConversationAccessibility", 2, 2, 3, Leave, WholeNumber, 0, 250, {482}, 0, true},
    {"txtConversationAccessibility", 3, 3, 5, Leave, WholeNumber, 250, 10000, {510}, 0, true},
    {"txtSubscriberMessageReviewSkipAheadTime", None, None, 8, Leave, WholeNumber, 1000, 60000, {524}, 0, false},
    {"txtSubscriberMessageReviewSkipBackTime", None, None, 8, Leave, WholeNumber, 1000, 60000, {524}, 0, false},
    {"txtDCRMessageReviewTimeout", None, None, 8, Leave, DroppedCallTimeout, 1, 30, {516}, 564, false},
    {"txtDCRSendTimeout", None, None, 8, Leave, DroppedCallTimeout, 1, 30, {534}, 565, false},
    {"txtTransferRingsToWait", 0, 5, 2, Leave, WholeNumber, 2, 19, {278}, 0, true},
    {"txtTransferAppendDigitsToLeft", 0, 5, 10, Leave, DialCharacters, 0, 0, {267}, 0, true},
    {"txtTransferAppendDigitsToRight", 0, 5, 10, Leave, DialCharacters, 0, 0, {267}, 0, true},
    // At most two characters: the numbers 0 to 99 that the messages name.
    {"txtGreetingReplayTimes", 0, 5, 2, Leave, WholeNumber, 0, 0, {221}, 0, true},
    {"txtGreetingSecondsBetweenReplays", 0, 5, 2, Leave, WholeNumber, 0, 0, {227}, 0, true},
    {"txtMessagesMaxMessageLength", None, None, 4, Leave, WholeNumber, 1, 1200, {184}, 0, true},
    {"txtMessagesMWICode", None, None, 0, Leave, DialableDigitsOrX, 0, 0, {179}, 0, false},
};

constexpr qint32 kWiderTimeout = 1440;

// A dial string's characters: a digit (a character that is a whole number by itself), "*", ","
// or "#".
bool isDialCharacters(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == u'*' || c == u',' || c == u'#' || MyIsNumber(QString(c));
    });
}

// Up to 1440 minutes from 8.0(0).1 on, or from 7.0(2).0 on with an engineering special numbered 10
// or higher; 30 elsewhere.
std::optional<EntryMessage> droppedCallRefusal(const EntryRule& rule, const QString& text, const EntryServer& server)
{
    const QString rootPath = serverRootPath(server.registry);   // read first, on every check
    if (MyIsNumber(text, rule.minimum, rule.maximum))
        return std::nullopt;
    const bool wider = bIsVersionGreaterThanOrEqualTo(server.version, 8, 0, 0, 1)
        || (bIsVersionGreaterThanOrEqualTo(server.version, 7, 0, 2, 0) && highestESNumber(rootPath) >= 10);
    if (!wider)
        return rule.message;
    if (MyIsNumber(text, rule.minimum, kWiderTimeout))
        return std::nullopt;
    return EntryMessage{rule.widerMessage};
}

}  // namespace

std::span<const EntryRule> subscriberEntryRules()
{
    return kEntryRules;
}

std::optional<EntryMessage> entryRefusal(const EntryRule& rule, const QString& text, const EntryServer& server)
{
    if (text.isEmpty())
        return std::nullopt;
    bool accepted = false;
    switch (rule.kind) {
    case WholeNumber:
        accepted = MyIsNumber(text, rule.minimum, rule.maximum);
        break;
    case Password:
        // An "X" stands for the subscriber's extension; the box keeps it.
        accepted = MyIsNumber(QString(text).replace(QChar(u'X'), QChar(u'0'), Qt::CaseInsensitive));
        break;
    case DialableDigits:
        accepted = myIsDialableString(text, false);
        break;
    case DialableDigitsOrX:
        accepted = myIsDialableString(text, true);
        break;
    case DialCharacters:
        accepted = isDialCharacters(text);
        break;
    case DroppedCallTimeout:
        return droppedCallRefusal(rule, text, server);
    }
    if (accepted)
        return std::nullopt;
    return rule.message;
}
