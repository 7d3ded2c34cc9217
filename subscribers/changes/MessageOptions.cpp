// What callers may do when they leave the subscriber a message: its maximum length, editing it,
// marking it urgent or private. Columns of the handler row, which the frame saves at its end.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/MessageMarking.h"
#include "core/Recordset.h"
#include "core/Session.h"

namespace {

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
    for (const MessageMarkingList& marking : messageMarkingLists())
        edit.step([&] {
            if (const auto line = applyMessageMarking(edit.handler(), marking, edit.options, edit.session.languages.stringLookup()))
                edit.writeLine(*line);
        });
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
