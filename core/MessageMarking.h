#pragma once
// The urgent and private lists of both options pages: the entry a list shows ("Always", "Never",
// "Ask Caller") goes into the handler row's `SendUrgentMsg` or `SendPrivateMsg`, with its line.
#include "core/EngineOptions.h"
#include "core/StringLookup.h"

#include <QString>

#include <optional>
#include <span>

class Recordset;

struct MessageMarkingList {
    const char* list;     // the options page's list
    const char* column;   // of the handler row
    const char* line;     // the change line, before the entry's name
};

// The urgent list, then the private list.
std::span<const MessageMarkingList> messageMarkingLists();

// Sets `marking`'s column of `handler` to the value of the entry its list shows (ignoring case;
// tested in the order Always, Never, Ask Caller) and gives the change line; nothing, and no
// change, for any other text.
std::optional<QString> applyMessageMarking(Recordset& handler, const MessageMarkingList& marking,
                                           const EngineOptions& options, const StringLookup& lookup);
