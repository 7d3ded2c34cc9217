// What callers may do when they leave the subscriber a message: its maximum length, editing it,
// marking it urgent or private. Columns of the handler row, which the frame saves at its end.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/Recordset.h"

namespace {

// The entries of the urgent and private lists (resource string), tested in this order, and the
// value each stands for.
struct Marking {
    int string;
    qint16 value;
    const char* name;   // ends the change line, in any language
};
constexpr Marking kMarkings[] = {{45, 1, "Always"}, {189, 0, "Never"}, {65, 2, "Ask Caller"}};

struct MarkingList {
    const char* list;
    const char* column;
    const char* line;
};
constexpr MarkingList kMarkingLists[] = {
    {"comMessagesMarkUrgent", "SendUrgentMsg", "   Mark messages as urgent set to "},
    {"comMessagesMarkPrivate", "SendPrivateMsg", "   Mark messages as private set to "},
};

void applyMarking(SubscriberEdit& edit, const MarkingList& marking)
{
    const QString text = edit.options.control(QLatin1String(marking.list)).text;
    for (const Marking& entry : kMarkings)
        if (edit.shows(text, entry.string)) {
            edit.handler().setValue(QLatin1String(marking.column), QVariant::fromValue(entry.value));
            edit.writeLine(QLatin1String(marking.line) + QLatin1String(entry.name));
            return;
        }
}

void applyMessageOptions(SubscriberEdit& edit)
{
    edit.step([&] {
        SubscriberChanges::applyWholeNumber(edit, "txtMessagesMaxMessageLength", "MaxMsgLen",
                                            "   Maximum message length set to:", 1);
    });
    edit.step([&] {
        edit.applyTriState(edit.handler(), QStringLiteral("comMessagesCallersCanEdit"), QStringLiteral("EditMsg"),
                           QStringLiteral("   Callers can edit messages set to:"));
    });
    for (const MarkingList& marking : kMarkingLists)
        edit.step([&] { applyMarking(edit, marking); });
}

constexpr char kPage[] = "frmSelectSubscriberChanges";
constexpr EngineControl kControls[] = {
    {kPage, "txtMessagesMaxMessageLength"},
    {kPage, "comMessagesCallersCanEdit"},
    {kPage, "comMessagesMarkUrgent"},
    {kPage, "comMessagesMarkPrivate"},
};

}  // namespace

constinit const SubscriberChangeCategory SubscriberChanges::messageOptions{"message options", applyMessageOptions,
                                                                           kControls};
