// The conversation tab's timing and style choices: prompt and playback speed, the phone-menu
// time-outs, the conversation style and the styles the subscriber may choose, the receipt
// option, four true/false options and the time format. Every value goes into the subscriber row.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/ExtensionRules.h"
#include "core/Recordset.h"
#include "core/Session.h"

#include <cmath>

namespace {

constexpr int kDontChange = 20;

// The speed lists' entries (resource string) and the percentage each adds to normal speed.
struct SpeedEntry {
    int string;
    int percentage;
};
constexpr SpeedEntry kSpeeds[] = {
    {464, 100}, {465, 90}, {466, 80}, {467, 70}, {468, 60}, {469, 50}, {470, 40},  {471, 30},  {472, 20},
    {473, 10},  {474, 0},  {475, -10}, {476, -20}, {477, -30}, {478, -40}, {479, -50},
};

struct SpeedSetting {
    const char* control;
    const char* column;
    const char* line;
};
constexpr SpeedSetting kSpeedSettings[] = {
    {"comConversationSpeed", "PromptSpeed", "    Prompt speed value set to "},
    {"comConversationMessageSpeed", "Speed", "    Message playback speed value set to "},
};

// The time-out boxes in the order they are applied (index 0, 1, 3, 2).
struct TimeOut {
    int box;
    const char* column;
    const char* nullLine;
    const char* valueLine;
};
constexpr TimeOut kTimeOuts[] = {
    {0, "FirstDigitTimeOut", "    First Digit Timeout set to null", "    First Digit Timeout set to "},
    {1, "InterdigitDelay", "    Interdigit Delay set to null", "    Interdigit delay set to "},
    {3, "CommandInterdigitDelay", "    Command Interdigit Delay set to null", "    Command Interdigit delay set to "},
    {2, "RepeatMenu", "    Repeat Menu set to null", "    Repeat Menu set to "},
};

struct ConversationStyle {
    int string;
    const char* name;
    const char* line;
};
constexpr ConversationStyle kStyles[] = {
    {354, "SubMenu", "    Conversation name set to Standard"},
    {355, "SubMenuOpt1", "    Conversation name set to Optional Conversation 1"},
    {356, "ConvHotel", "    Conversation name set to Hotel Guest"},
    {459, "SubMenu_AlternateN", "    Conversation name set to Alternate keypad mapping (N)"},
    {460, "SubMenu_AlternateS", "    Conversation name set to Alternate Keypad Mapping (S)"},
    {461, "SubMenu_AlternateX", "    Conversation name set to Alternate Keypad Mapping (X)"},
    {462, "SubMenu_Alternate_Custom", "    Conversation name set to Custom Keypad Mapping"},
    {493, "SubMenu_Alternate_Custom2", "    Conversation name set to Custom Keypad Mapping 2"},
    {494, "SubMenu_Alternate_Custom3", "    Conversation name set to Custom Keypad Mapping 3"},
};

// The style boxes of the conversation style dialog, in the order they are read, with their bits.
struct StyleLimit {
    const char* box;
    qint32 bit;
};
constexpr StyleLimit kStyleLimits[] = {
    {"chkAlternateX", 32}, {"chkAlternateS", 16}, {"chkAlternateN", 8},   {"chkCustom1", 64},  {"chkCustom2", 128},
    {"chkCustom3", 256},   {"chkHVM", 4},         {"chkOptional1", 2},    {"chkStandard", 1},
};

// Receipt option entries (resource string) and the ExcludeReceipts value of each.
constexpr int kReceiptOptions[][2] = {{528, 0}, {529, 1}, {530, 2}};

struct TrueFalseOption {
    const char* control;
    const char* column;
    const char* line;
};
constexpr TrueFalseOption kTrueFalseOptions[] = {
    {"cmbConversationSendEncryptAllPrivate", "EncryptPrivateMessages", "   EncryptPrivateMessages set to:"},
    {"cmbConversationAddressThenRecord", "SendMessageConvFlow", "   SendMessageConvFlow set to:"},
    {"cmbConversationConstantLookup", "ConstantLookup", "   ConstantLookup set to:"},
    {"cmbConversationSendOnHangup", "SendMessageOnHangup", "   SendMessageOnHangup set to:"},
};

// Time format entries (resource string), the ClockMode each writes (invalid: null) and its line.
struct TimeFormat {
    int string;
    QVariant clockMode;
    const char* line;
};

const QString& text(SubscriberEdit& edit, const char* control)
{
    return edit.options.control(control).text;
}

void applySpeed(SubscriberEdit& edit, const SpeedSetting& setting)
{
    if (!edit.session.isVersionAtLeast(4, 0, 4, 145))
        return;
    const QString& choice = text(edit, setting.control);
    for (const SpeedEntry& entry : kSpeeds) {
        if (choice != edit.string(entry.string))
            continue;
        const qint16 speed = qint16(100 + entry.percentage);
        edit.subscriber().setValue(QLatin1String(setting.column), QVariant::fromValue(speed));
        edit.writeLine(QLatin1String(setting.line) + QString::number(speed));
        return;
    }
}

void applyTimeOut(SubscriberEdit& edit, const TimeOut& timeOut)
{
    const QString typed = edit.options.control(QStringLiteral("txtConversationAccessibility"), timeOut.box).text;
    Recordset& subscriber = edit.subscriber();
    if (typed.isEmpty()) {
        subscriber.setValue(QLatin1String(timeOut.column), QVariant());
        edit.writeLine(QLatin1String(timeOut.nullLine));
        return;
    }
    subscriber.setValue(QLatin1String(timeOut.column), std::floor(leadingNumber(typed)));
    edit.writeLine(QLatin1String(timeOut.valueLine) + typed);
}

void applyConversationStyle(SubscriberEdit& edit)
{
    const QString& choice = text(edit, "comProfileConversationStyle");
    if (choice == edit.string(kDontChange))
        return;
    for (const ConversationStyle& style : kStyles)
        if (choice == edit.string(style.string)) {
            edit.subscriber().setValue(QStringLiteral("ConversationName"), QLatin1String(style.name));
            edit.writeLine(QLatin1String(style.line));
            return;
        }
    edit.writeLine(QStringLiteral("(error) invalid value for the conversation style on the subscriber conversation tab:")
                   + choice);
}

void applyStyleLimits(SubscriberEdit& edit)
{
    const auto styleLimit = [&](const QString& box) -> const ControlState& {
        return edit.options.dialogControl(QStringLiteral("frmSetConversationStyleLimits"), box);
    };
    // Only a clear "Make no changes" box lets the limits be written (a dimmed one means no change).
    if (!edit.session.isVersionAtLeast(5, 0, 0, 10)
        || styleLimit(QStringLiteral("chkNoChange")).checkState != CheckValue::Clear)
        return;
    qint32 mask = 0;
    for (const StyleLimit& limit : kStyleLimits)
        if (styleLimit(QLatin1String(limit.box)).checkState == CheckValue::Ticked)
            mask |= limit.bit;
    edit.subscriber().setValue(QStringLiteral("AllowedConversations"), QVariant::fromValue(mask));
    edit.writeLine(QStringLiteral("    AllowedConversation=") + paddedNumber(mask));
}

void applyReceiptOption(SubscriberEdit& edit)
{
    const QString& choice = text(edit, "comConversationReceiptOptions");
    if (choice == edit.string(kDontChange))
        return;
    for (const auto& [string, excluded] : kReceiptOptions)
        if (choice == edit.string(string)) {
            edit.subscriber().setValue(QStringLiteral("ExcludeReceipts"), QVariant::fromValue(qint16(excluded)));
            edit.writeLine(QStringLiteral("    Conversation exclude receipts set to '%1'").arg(excluded));
            return;
        }
    edit.writeLine(QStringLiteral("(error) invalid value for the receipt options on the subscriber conversation tab:")
                   + choice);
}

void applyTimeFormat(SubscriberEdit& edit)
{
    static const TimeFormat formats[] = {
        {449, QVariant(), "    Time format set to system default"},
        {450, QVariant::fromValue(qint16(0)), "    Time format set to 12 hour clock"},
        {451, QVariant::fromValue(qint16(1)), "    Time format set to 24 hour format"},
    };
    const QString& choice = text(edit, "comProfileTimeFormat");
    for (const TimeFormat& format : formats)
        if (edit.shows(choice, format.string)) {
            edit.subscriber().setValue(QStringLiteral("ClockMode"), format.clockMode);
            edit.writeLine(QLatin1String(format.line));
            return;
        }
}

void applyConversationStyleAndTiming(SubscriberEdit& edit)
{
    for (const SpeedSetting& setting : kSpeedSettings)
        edit.step([&] { applySpeed(edit, setting); });
    edit.step([&] {
        if (edit.options.control(QStringLiteral("chkConversationAccessibilityUpdate")).checkState == CheckValue::Ticked)
            for (const TimeOut& timeOut : kTimeOuts)
                edit.step([&] { applyTimeOut(edit, timeOut); });
    });
    edit.step([&] { applyConversationStyle(edit); });
    edit.step([&] { applyStyleLimits(edit); });
    edit.step([&] { applyReceiptOption(edit); });
    for (const TrueFalseOption& option : kTrueFalseOptions)
        edit.step([&] {
            edit.applyTriStateOf(edit.options.control(option.control), edit.subscriber(), QLatin1String(option.column),
                               QLatin1String(option.line));
        });
    edit.step([&] { applyTimeFormat(edit); });
}

constexpr char kPage[] = "frmSelectSubscriberChanges";
constexpr char kDialog[] = "frmSetConversationStyleLimits";
constexpr EngineControl kControls[] = {
    {kPage, "comConversationSpeed"},
    {kPage, "comConversationMessageSpeed"},
    {kPage, "chkConversationAccessibilityUpdate"},
    {kPage, "txtConversationAccessibility", 4},
    {kPage, "comProfileConversationStyle"},
    {kPage, "comConversationReceiptOptions"},
    {kPage, "cmbConversationSendEncryptAllPrivate"},
    {kPage, "cmbConversationAddressThenRecord"},
    {kPage, "cmbConversationConstantLookup"},
    {kPage, "cmbConversationSendOnHangup"},
    {kPage, "comProfileTimeFormat"},
    {kDialog, "chkNoChange"},
    {kDialog, "chkAlternateX"},
    {kDialog, "chkAlternateS"},
    {kDialog, "chkAlternateN"},
    {kDialog, "chkCustom1"},
    {kDialog, "chkCustom2"},
    {kDialog, "chkCustom3"},
    {kDialog, "chkHVM"},
    {kDialog, "chkOptional1"},
    {kDialog, "chkStandard"},
};

}  // namespace

constinit const SubscriberChangeCategory SubscriberChanges::conversationStyleAndTiming{
    "conversation style and timing", applyConversationStyleAndTiming, kControls};
