// The entry rules of the options page's boxes, judged without a page.
#include "core/Registry.h"
#include "subscribers/EntryRules.h"

#include <QDir>
#include <algorithm>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A box's text on a server of `version` with these engineering-special backup folders; refusal {}: accepted.
struct Case { ServerVersion version; QStringList specials; const char* box; int index; const char* text; EntryMessage refusal; };
const ServerVersion kOld{false, 4, 0, 3, 12, {}}, kEight{false, 8, 0, 0, 1, {}}, kSeven{false, 7, 0, 2, 0, {}};

const Case kCases[] = {
    {kOld, {}, "txtAccountBillingID", -1, "9999999999", {}},
    {kOld, {}, "txtAccountBillingID", -1, "12a", {265}},
    {kOld, {}, "txtPasswordsNewPassword", -1, "12x4", {}},
    {kOld, {}, "txtPasswordsNewPassword", -1, "7q", {209}},
    {kOld, {}, "txtSubscriberCallerInputNumbertoDial", 3, "9,*#1", {}},
    {kOld, {}, "txtSubscriberCallerInputNumbertoDial", 3, "9X", {0, "Legal dialable digits are '01234567890,*#'"}},
    {kOld, {}, "txtConversationAccessibility", 2, "250", {}},
    {kOld, {}, "txtConversationAccessibility", 2, "251", {482}},
    {kOld, {}, "txtConversationAccessibility", 0, "499", {480}},
    {kOld, {}, "txtSubscriberMessageReviewSkipAheadTime", -1, "999", {524}},
    {kOld, {}, "txtCallerInputMilisecondsToWait", -1, "2000", {}},
    {kOld, {}, "txtCallerInputMilisecondsToWait", -1, "2001", {229}},
    {kOld, {}, "txtCallerInputPrependDigits", -1, "1.5", {522}},
    {kOld, {}, "txtTransferAppendDigitsToRight", 4, "9p", {267}},
    {kOld, {}, "txtTransferAppendDigitsToLeft", 0, "9,*#", {}},
    {kOld, {}, "txtTransferRingsToWait", 1, "20", {278}},
    {kOld, {}, "txtMessagesMaxMessageLength", -1, "0", {184}},
    {kOld, {}, "txtMessagesMWICode", -1, "1,X#", {}},
    {kOld, {}, "txtMessagesMWICode", -1, "1a", {179}},
    {kOld, {}, "txtDCRMessageReviewTimeout", -1, "30", {}},
    {kOld, {"4.0.3_ES12"}, "txtDCRMessageReviewTimeout", -1, "45", {516}},
    {kEight, {}, "txtDCRSendTimeout", -1, "600", {}},
    {kEight, {}, "txtDCRSendTimeout", -1, "1441", {565}},
    {kEight, {}, "txtDCRMessageReviewTimeout", -1, "0", {564}},
    {kSeven, {"7.0.2_ES12"}, "txtDCRSendTimeout", -1, "600", {}},
    {kSeven, {"7.0.2_ES9"}, "txtDCRSendTimeout", -1, "600", {534}},
    {kSeven, {"ab10x"}, "txtDCRSendTimeout", -1, "45", {}},   // no "_": from the third character
    {kSeven, {"a_b"}, "txtDCRSendTimeout", -1, "45", {534}},  // too short: 0
};

TEST(EntryRules, EachBoxAcceptsOrRefusesWithItsMessage)
{
    for (const Case& test : kCases) {
        QTemporaryDir root;
        RegistryStore store;
        store.setValue(VelmoKeys::InstallKey, "Root Path", RegistryValue::text(root.path() + "/"));
        for (const QString& special : test.specials)
            ASSERT_TRUE(QDir(root.path()).mkpath("EngineeringSpecialBackup/" + special));
        const RegistryAPI registry(store);
        const auto rules = subscriberEntryRules();
        const auto rule = std::find_if(rules.begin(), rules.end(), [&](const EntryRule& r) {
            return test.box == QLatin1String(r.box) && r.firstIndex <= test.index && test.index <= r.lastIndex;
        });
        ASSERT_NE(rule, rules.end()) << test.box;
        EXPECT_EQ(entryRefusal(*rule, test.text, {registry, test.version}).value_or(EntryMessage{}), test.refusal) << test.text;
        EXPECT_EQ(entryRefusal(*rule, QString(), {registry, test.version}), std::nullopt) << test.box;
    }
}

}  // namespace
