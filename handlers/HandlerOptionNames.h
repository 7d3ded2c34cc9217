#pragma once
// The control arrays of the call handler options page and what their indexes stand for, read by
// the page that lays them out and by the engine that reads them back. Several numberings here
// follow no formula (the transfer frames and labels); this table is the one place they are
// written.
#include "core/ControlNames.h"

#include <QString>

namespace HandlerOptionNames {

// Transfer rules: element t of every transfer array, tab t of `SSTab4`.
constexpr int TransferRuleCount = 6;
constexpr int FirstFollowMe = 3;   // rules 3 to 5 are the Follow-Me rules

struct TransferRule {
    const char* alias;     // the contact rule's Alias
    int tabCaption;        // string number of its tab of `SSTab4`
    int frame;             // its frame, `Frame6`(frame)
    int firstFieldLabel;   // `Label10`(firstFieldLabel + f) labels field f of kTransferFields
    int waitPromptLabel;   // `Label10` element of the wait-prompt row
    int transferToLabel;   // `Label1` element of the "Transfer To:" row
    int ringsMaxLength;    // of `txtTransferRingsToWait`(t); 0: no limit
};

constexpr TransferRule kTransferRules[TransferRuleCount] = {
    {"Alternate", 44, 0, 0, 21, 2, 2},
    {"Standard", 250, 1, 7, 22, 1, 0},
    {"Off Hours", 101, 2, 14, 23, 0, 0},   // the "Closed" tab
    {"Follow-Me Here", 552, 4, 25, 24, 3, 2},
    {"Follow-Me Home", 553, 5, 33, 32, 4, 2},
    {"Follow-Me Mobile", 554, 6, 41, 40, 5, 2},
};
// `Frame6`(3) is not a transfer frame: it is the Messages tab's "After Message Options".
constexpr int MessageOptionsFrame = 3;

// A labelled list of a transfer rule: the first three rules caption its label in the current
// language, the Follow-Me rules keep the fixed English text in every language.
struct TransferField {
    const char* control;   // the control the label stands beside
    int string;
    const char* followMeCaption;
};
// In the order of their `Label10` elements (TransferRule::firstFieldLabel).
constexpr TransferField kTransferFields[] = {
    {"comTransferEnabled", 118, "Enable Transfer:"},
    {"comTransferAnnounce", 58, "Announce:"},
    {"comTransferBusyAction", 157, "If Call Is Busy:"},
    {"comTransferType", 277, "Transfer Type:"},
    {"comTransferConfirm", 102, "Confirm:"},
    {"comTransferIntroduce", 163, "Introduce:"},
    {"comTransferAskCallersName", 66, "Ask Callers Name:"},
};
constexpr TransferField kWaitPromptField{"comVoiceTransferPrompt", 488, "Voice transfer promp:"};
constexpr TransferField kTransferToField{"comTransferTo", 276, "Transfer To:"};
// The rings row: `Label18`(t) and its hint `Label19`(t).
constexpr TransferField kRingsField{"txtTransferRingsToWait", 2, " Rings To Wait: "};
constexpr TransferField kRingsHint{"txtTransferRingsToWait", 12, "(blank skips field)"};

// Greetings: element g of every greeting array, tab g of `SSTab2`.
constexpr int GreetingCount = 6;
struct Greeting {
    const char* alias;   // the messaging rule's Alias
    int tabCaption;      // string number of its tab of `SSTab2`
};
constexpr Greeting kGreetings[GreetingCount] = {
    {"Standard", 250}, {"Off Hours", 101}, {"Busy", 78}, {"Alternate", 44}, {"Internal", 160}, {"Error", 120},
};
// `Label23` elements of greeting g: g "Allow User Input:", SourceLabel + g "Greeting Source:",
// RecordPromptLabel + g the record-your-message prompt.
constexpr int SourceLabel = 6;
constexpr int RecordPromptLabel = 12;

// Caller input: element k of every caller-input array.
constexpr int KeyCount = 12;                  // k = 0..11: the keys, tab k of `SSTab3`
constexpr int AfterMessageInput = 12;         // k = 12: after a message
constexpr int FirstAfterGreetingInput = 13;   // k = 13..18: after greeting k - 13
constexpr int CallerInputCount = 19;
constexpr const char* kKeyCaptions[KeyCount] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "#"};

// The frame that holds caller-input group k: `Frame4`(k) on a key's tab, `Frame2` on the Messages
// tab, `Frame3`(k - 13) on a greeting's tab.
inline QString callerInputFrame(int k)
{
    if (k < KeyCount)
        return elementName(QStringLiteral("Frame4"), k);
    if (k == AfterMessageInput)
        return QStringLiteral("Frame2");
    return elementName(QStringLiteral("Frame3"), k - FirstAfterGreetingInput);
}

// Maximum lengths of the typed boxes.
constexpr int ReplayMaxLength = 2;           // txtGreetingReplayTimes, txtGreetingSecondsBetweenReplays
constexpr int MessageLengthMaxLength = 4;    // txtMessagesMaxMessageLength
constexpr int MillisecondsMaxLength = 4;     // txtCallerInputMilisecondsToWait
constexpr int DigitsMaxLength = 10;          // txtCallerInputPrependDigits, txtCallerInputPostPendDigits

// `label11` elements of the Caller Input tab's digit rows and the Messages tab's private row.
constexpr int PrependLabel = 48;
constexpr int PostpendLabel = 49;
constexpr int PrependHint = 50;
constexpr int PostpendHint = 51;
constexpr int MarkPrivateLabel = 52;

}  // namespace HandlerOptionNames
