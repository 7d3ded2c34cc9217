#include "handlers/HandlerRows.h"

#include "core/Criterion.h"
#include "core/Errors.h"
#include "core/Session.h"

namespace {

const QString kNotFound = QStringLiteral("(none) - Error!");

// The display name of the owner or recipient `id` of `type`, or kNotFound.
QString displayNameOf(Session& session, const QVariant& type, const QVariant& id)
{
    if (id.isNull())
        return kNotFound;
    const bool subscriber = type.toInt() == 1;
    Recordset& list = subscriber ? session.rsSubscribers : session.rsDistributionLists;
    const QString key = subscriber ? QStringLiteral("SubscriberObjectID=") : QStringLiteral("SystemDListObjectID=");
    list.moveFirst();
    if (!list.find(key + quoteLiteral(id.toString())))
        return kNotFound;
    return list.value(QStringLiteral("DisplayName")).toString();
}

// Runs one step of the row; a step that fails is skipped.
template <typename Step> void tryStep(Step&& step)
{
    try {
        step();
    } catch (const KestraneError&) {
    }
}

}  // namespace

std::optional<HandlerGridRow> handlerRowOfCurrentRecord(Session& session)
{
    const Recordset& handler = session.rsNonPrimaryCallHandlers;
    bool primary = false;
    tryStep([&] { primary = handler.value(QStringLiteral("IsPrimary")).toInt() != 0; });
    if (primary)
        return std::nullopt;

    HandlerGridRow row;
    const auto text = [&](const char* field) { return handler.value(QLatin1String(field)).toString(); };
    tryStep([&] { row.alias = text("Alias"); });
    tryStep([&] { row.displayName = text("TextName"); });
    tryStep([&] { row.extension = text("DTMFAccessID"); });
    tryStep([&] { row.objectID = text("CallHandlerObjectID"); });
    row.handlerOwner = kNotFound;
    tryStep([&] {
        row.handlerOwner = displayNameOf(session, handler.value(QStringLiteral("AdministratorObjectIDType")),
                                         handler.value(QStringLiteral("AdministratorObjectID")));
    });
    row.messageRecipient = kNotFound;
    tryStep([&] {
        row.messageRecipient = displayNameOf(session, handler.value(QStringLiteral("RecipientObjectIDType")),
                                             handler.value(QStringLiteral("RecipientObjectID")));
    });
    return row;
}
