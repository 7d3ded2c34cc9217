#include "handlers/changes/RecordEdits.h"

#include "core/ExtensionRules.h"
#include "core/MessageMarking.h"
#include "core/Recordset.h"
#include "core/Session.h"

namespace {

constexpr char kPage[] = "frmSelectCallHandlerChanges";
constexpr int kDontChange = 20;          // "<Don't Change>"
constexpr qint32 kInheritedLanguage = 1;   // the language list's "inherited" entry

// The owner or the recipient: an object chosen by a list's or a subscriber's option button. The
// ID is written as its box holds it, an empty one too.
struct ObjectChoice {
    const char* option;
    const char* box;
    qint16 type;   // 1 subscriber, 2 public distribution list
    const char* line;
};
struct ObjectAssignment {
    const char* idColumn;
    const char* typeColumn;
    ObjectChoice choices[2];   // tested in this order
};
constexpr ObjectAssignment kOwner{
    "AdministratorObjectID",
    "AdministratorObjectIDType",
    {{"optCallHandlerOwnerChangeDL", "txtCallHandlerOwnerDLObjectID", 2,
      "   Updated owner to selected distribution list with object ID="},
     {"optCallHandlerOwnerChangeSubscriber", "txtCallHandlerOwnerSubscriberObjectID", 1,
      "   Updated owner to selected subscriber with object ID="}}};
constexpr ObjectAssignment kRecipient{
    "RecipientObjectID",
    "RecipientObjectIDType",
    {{"optCallHandlerRecipientDL", "txtCallHandlerRecipientDLObjectID", 2,
      "   Recipient set to distribution list with object id= "},
     {"optCallHandlerRecipientSubscriber", "txtCallHandlerRecipientSubscriberObjectID", 1,
      "   Recipient set to subscriber with object id= "}}};

void assignObject(HandlerEdit& edit, const ObjectAssignment& assignment)
{
    for (const ObjectChoice& choice : assignment.choices) {
        if (!edit.options.control(choice.option).selected)
            continue;
        const QString id = edit.options.control(choice.box).text;
        edit.handler().setValue(QLatin1String(assignment.idColumn), id);
        edit.handler().setValue(QLatin1String(assignment.typeColumn), QVariant::fromValue(choice.type));
        edit.writeLine(QLatin1String(choice.line) + id);
        return;
    }
}

void applyLanguage(HandlerEdit& edit)
{
    const std::optional<qint32> language =
        selectedItemData<qint32>(edit.options.control(QStringLiteral("cmbCallHandlerDefaultLanguage")));
    if (!language || *language <= 0)
        return;
    if (*language == kInheritedLanguage) {
        edit.handler().setValue(QStringLiteral("Language"), QVariant());
        edit.writeLine(QStringLiteral("   Setting language to inherited"));
        return;
    }
    edit.handler().setValue(QStringLiteral("Language"), QVariant::fromValue(*language));
    edit.writeLine(QStringLiteral("   Setting language to LangID:") + QString::number(*language));
}

void applySchedule(HandlerEdit& edit)
{
    const QString schedule = edit.options.control(QStringLiteral("cmbCallHandlerSchedule")).text;
    // An empty list (no schedules on the server) names no schedule to set.
    if (schedule.isEmpty() || edit.shows(schedule, kDontChange))
        return;
    edit.handler().setValue(QStringLiteral("ScheduleObjectName"), schedule);
    edit.writeLine(QStringLiteral("    Schedule set to:") + schedule);
}

void applyMaxMessageLength(HandlerEdit& edit)
{
    const QString text = edit.options.control(QStringLiteral("txtMessagesMaxMessageLength")).text;
    if (text.isEmpty())
        return;
    // A number beyond 32 bits fails here: the error line, nothing written.
    const qint32 length = leadingWholeNumber<qint32>(text);
    if (length <= 0)
        return;
    edit.handler().setValue(QStringLiteral("MaxMsgLen"), QVariant::fromValue(length));
    edit.writeLine(QStringLiteral("   Setting max message length to:") + QString::number(length));
}

void applyEditMessage(HandlerEdit& edit)
{
    const qint16 code = edit.triState(edit.options.control(QStringLiteral("comMessagesCallersCanEdit")));
    if (code >= 2)   // "<Don't Change>" or any other text
        return;
    edit.handler().setValue(QStringLiteral("EditMsg"), QVariant::fromValue(code));
    edit.writeLine(QStringLiteral("   Setting edit message to: ") + QString::number(code));
}

constexpr EngineControl kControls[] = {
    {kPage, "optCallHandlerOwnerChangeDL"},
    {kPage, "txtCallHandlerOwnerDLObjectID"},
    {kPage, "optCallHandlerOwnerChangeSubscriber"},
    {kPage, "txtCallHandlerOwnerSubscriberObjectID"},
    {kPage, "cmbCallHandlerDefaultLanguage"},
    {kPage, "cmbCallHandlerSchedule"},
    {kPage, "txtMessagesMaxMessageLength"},
    {kPage, "comMessagesCallersCanEdit"},
    {kPage, "comMessagesMarkUrgent"},
    {kPage, "comMessagesMarkPrivate"},
    {kPage, "optCallHandlerRecipientDL"},
    {kPage, "txtCallHandlerRecipientDLObjectID"},
    {kPage, "optCallHandlerRecipientSubscriber"},
    {kPage, "txtCallHandlerRecipientSubscriberObjectID"},
};

}  // namespace

std::span<const EngineControl> HandlerChanges::recordEditControls()
{
    return kControls;
}

void HandlerChanges::applyRecordEdits(HandlerEdit& edit)
{
    // Each edit is a step of its own: a failure that is not the database's costs only that edit.
    edit.step([&] { assignObject(edit, kOwner); });
    edit.step([&] { applyLanguage(edit); });
    edit.step([&] { applySchedule(edit); });
    edit.step([&] { applyMaxMessageLength(edit); });
    edit.step([&] { applyEditMessage(edit); });
    for (const MessageMarkingList& marking : messageMarkingLists())
        edit.step([&] {
            if (const auto line = applyMessageMarking(edit.handler(), marking, edit.options, edit.session.languages.stringLookup()))
                edit.writeLine(*line);
        });
    edit.step([&] { assignObject(edit, kRecipient); });
}
