#include "subscribers/SelectionRows.h"

#include "core/Criterion.h"
#include "core/Errors.h"
#include "core/Session.h"

namespace {

// A field of the current record as text; empty when it is null or cannot be read.
QString fieldText(const Recordset& list, const char* field)
{
    try {
        return list.value(QLatin1String(field)).toString();
    } catch (const KestraneError&) {
        return {};
    }
}

}  // namespace

std::optional<SubscriberGridRow> gridRowOfCurrentRecords(Session& session, qint16 iSelectedSubscriberType)
{
    const Recordset& subscriber = session.rsSubscribers;
    const Recordset& handler = session.rsPrimaryCallHandlers;
    bool typeRead = false;
    const int type = fieldText(subscriber, "SubscriberType").toInt(&typeRead);
    if (!typeRead)
        return std::nullopt;
    const bool ofKind = iSelectedSubscriberType == 1 ? (type == 1 || type == 3)
                                                     : !(type == 0 || type == 1 || type == 3 || type == 6);
    if (!ofKind)
        return std::nullopt;

    SubscriberGridRow row;
    row.alias = fieldText(subscriber, "Alias");
    row.firstName = fieldText(subscriber, "FirstName");
    row.lastName = fieldText(subscriber, "LastName");
    row.displayName = fieldText(subscriber, "DisplayName");
    row.extension = fieldText(handler, "DTMFAccessID");
    row.homeServer = fieldText(subscriber, "HomeServer");
    row.remoteNodeID = fieldText(subscriber, "RemoteNodeID");
    row.legacyMailbox = fieldText(subscriber, "LegacyMailbox");
    try {
        Recordset& classes = session.rsCOS;
        classes.moveFirst();
        if (classes.find(QStringLiteral("CosObjectID=") + quoteLiteral(fieldText(subscriber, "COSObjectID"))))
            row.cosTextName = fieldText(classes, "TextName");
    } catch (const KestraneError&) {
        // No class of service to name: the row keeps an empty COS cell.
    }
    row.subscriberObjectID = fieldText(subscriber, "SubscriberObjectID");
    row.callHandlerObjectID = fieldText(handler, "CallHandlerObjectID");
    return row;
}
