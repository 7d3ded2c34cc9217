#include "core/MessageMarking.h"

#include "core/Recordset.h"

namespace {

struct Marking {
    int string;
    qint16 value;
    const char* name;   // ends the change line, in any language
};
constexpr Marking kMarkings[] = {{45, 1, "Always"}, {189, 0, "Never"}, {65, 2, "Ask Caller"}};

constexpr MessageMarkingList kMarkingLists[] = {
    {"comMessagesMarkUrgent", "SendUrgentMsg", "   Mark messages as urgent set to "},
    {"comMessagesMarkPrivate", "SendPrivateMsg", "   Mark messages as private set to "},
};

}  // namespace

std::span<const MessageMarkingList> messageMarkingLists()
{
    return kMarkingLists;
}

std::optional<QString> applyMessageMarking(Recordset& handler, const MessageMarkingList& marking,
                                           const EngineOptions& options, const StringLookup& lookup)
{
    const QString text = options.control(marking.list).text;
    for (const Marking& entry : kMarkings)
        if (text.compare(lookup(entry.string), Qt::CaseInsensitive) == 0) {
            handler.setValue(QLatin1String(marking.column), QVariant::fromValue(entry.value));
            return QLatin1String(marking.line) + QLatin1String(entry.name);
        }
    return std::nullopt;
}
