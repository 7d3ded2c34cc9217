#pragma once
// The entry rules of the subscriber options page's text boxes, one row per box or box array: its
// maximum length, when it is checked, what it accepts, the message that refuses a text and
// whether a refusal keeps the focus. The rules read no widget; the page wires each row to its
// boxes (subscribers/ui/options/EntryCheckTable.cpp).
#include "core/VelmoVersion.h"

#include <QString>

#include <optional>
#include <span>

class RegistryAPI;

enum class EntryCheckTime { Change, Leave };

enum class EntryRuleKind {
    WholeNumber,          // MyIsNumber within the row's bounds (both 0: no bounds)
    Password,             // a whole number once every "X" and "x" is read as "0"
    DialableDigits,       // myIsDialableString, "X" not allowed
    DialableDigitsOrX,    // myIsDialableString, "X" allowed
    DialCharacters,       // every character a digit, "*", "," or "#"
    DroppedCallTimeout,   // 1 to 30 minutes, or to 1440 where the server allows it
};

// A resource string, or a text that is the same in every language.
struct EntryMessage {
    int number = 0;
    const char* literal = nullptr;
    bool operator==(const EntryMessage& other) const = default;
};

struct EntryRule {
    const char* box;
    int firstIndex;   // elements firstIndex to lastIndex of an array; -1: a single box
    int lastIndex;
    int maxLength;    // 0: none
    EntryCheckTime when;
    EntryRuleKind kind;
    qint32 minimum;
    qint32 maximum;
    EntryMessage message;
    int widerMessage;   // a dropped-call time-out's message for the 1440-minute range
    bool keepsFocus;
};

// What the dropped-call time-outs' range depends on: the server's version and the engineering
// specials recorded under its root path, read afresh by every check.
struct EntryServer {
    const RegistryAPI& registry;
    const ServerVersion& version;
};

std::span<const EntryRule> subscriberEntryRules();

// The message that refuses `text` in a box of `rule`; nothing when it is accepted (the empty
// text always is).
std::optional<EntryMessage> entryRefusal(const EntryRule& rule, const QString& text, const EntryServer& server);
