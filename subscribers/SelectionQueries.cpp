#include "subscribers/SelectionQueries.h"

#include "core/Criterion.h"
#include "core/Errors.h"
#include "core/ExtensionRules.h"
#include "core/Session.h"

#include <QSet>

namespace {

using Type = SubscriberSelectionType;

// Pieces the statements are joined from, with nothing between them.
const QString kColumns = QStringLiteral(
    "SELECT vw_subscriber.Alias, vw_subscriber.DisplayName, vw_subscriber.FirstName, vw_subscriber.LastName, "
    "vw_Subscriber.DTMFAccessID AS 'Extension', vw_Subscriber.HomeServer, vw_Cos.TextName AS 'COS', ");
const QString kFullColumnsTail = QStringLiteral(
    "vw_Subscriber.SubscriberObjectID, vw_Subscriber.CallHandlerObjectID, vw_Subscriber.RemoteNodeID, "
    "vw_Subscriber.LegacyMailbox ");
const QString kShortColumnsTail = QStringLiteral("vw_Subscriber.SubscriberObjectID, vw_Subscriber.CallHandlerObjectID ");
const QString kFromCos = QStringLiteral("FROM vw_Subscriber INNER JOIN vw_COS ON vw_Subscriber.CosObjectId=vw_COS.CosObjectID ");
const QString kFromListMembers = QStringLiteral(
    "FROM vw_Subscriber INNER JOIN vw_SystemDListMember "
    "ON vw_Subscriber.DirectoryID=vw_SystemDListMember.DirectoryID ");
const QString kLeftJoinCos = QStringLiteral("LEFT OUTER JOIN vw_COS ON vw_Subscriber.CosObjectId=vw_COS.CosObjectID ");
const QString kOrderByAlias = QStringLiteral(" ORDER By vw_Subscriber.Alias");

// Servers from this version on have the subscriber columns RemoteNodeID and LegacyMailbox.
bool hasRemoteNodeColumns(const Session& session)
{
    return session.isVersionAtLeast(4, 0, 2, 22);
}

// Ordinary subscribers are types 1 and 3; any other kind is compared as the quoted number.
QString kindClause(qint16 kind)
{
    if (kind == 1)
        return QStringLiteral("WHERE vw_Subscriber.SubscriberType IN (1,3)");
    return QStringLiteral("WHERE vw_Subscriber.SubscriberType = '%1'").arg(kind);
}

// The extension and handler ID come from the subscriber's call handler here.
QString allSubscribersStatement(bool full, const QString& kind)
{
    return QStringLiteral(
               "SELECT vw_subscriber.Alias, vw_subscriber.DisplayName, vw_subscriber.FirstName, vw_subscriber.LastName, "
               "vw_CallHandler.DTMFAccessID AS 'Extension', vw_Subscriber.HomeServer, vw_Cos.TextName AS 'COS', "
               "vw_Subscriber.SubscriberObjectID, vw_CallHandler.CallHandlerObjectID")
        + (full ? QStringLiteral(", vw_Subscriber.RemoteNodeID, vw_Subscriber.LegacyMailbox ") : QStringLiteral(" "))
        + QStringLiteral("FROM vw_Subscriber INNER JOIN vw_CallHandler "
                         "ON vw_Subscriber.CallHandlerObjectID=vw_CallHandler.CallHandlerObjectID ")
        + kLeftJoinCos + kind + QStringLiteral(" ORDER BY vw_Subscriber.Alias");
}

QString extensionRangeStatement(bool full, const QString& kind, const QString& low, const QString& high)
{
    return QStringLiteral(
               "SELECT DISTINCT vw_Subscriber.Alias, vw_Subscriber.FirstName, vw_Subscriber.LastName, "
               "vw_Subscriber.DisplayName, vw_Subscriber.SubscriberObjectID, "
               "vw_Subscriber.DTMFAccessID as 'Extension', vw_Subscriber.HomeServer, vw_Subscriber.CallHandlerObjectID, ")
        + (full ? QStringLiteral("vw_Subscriber.RemoteNodeID, vw_Subscriber.LegacyMailbox, vw_COS.TextName as 'COS' ")
                : QStringLiteral("vw_COS.TextName as 'COS' "))
        + QStringLiteral("FROM vw_Subscriber INNER JOIN vw_DTMFAccessID "
                         "ON vw_Subscriber.SubscriberObjectID=vw_DTMFAccessID.ParentObjectID ")
        + kLeftJoinCos + kind + QStringLiteral(" AND vw_DTMFAccessID.DTMFAccessID<= CAST(") + quoteLiteral(high.trimmed())
        + QStringLiteral(" as decimal(20)) AND vw_DTMFAccessID.DTMFAccessID>=CAST(") + quoteLiteral(low.trimmed())
        + QStringLiteral(" as decimal(20))");
}

// The class of service with this alias in the directory list, or the empty text.
QString cosObjectIDForAlias(Session& session, const QString& alias)
{
    Recordset& list = session.rsCOS;
    if (!list.isOpen())
        return QString();
    list.moveFirst();
    if (!list.find(QStringLiteral("Alias=") + quoteLiteral(alias)))
        return QString();
    return list.value(QStringLiteral("CosObjectID")).toString();
}

// The message of a failed check of the criteria, or the empty text.
QString criteriaProblem(const Session& session, const SubscriberSelectionCriteria& c)
{
    const auto text = [&](int number) { return session.languages.mymyLoadString(number); };
    switch (c.type) {
    case Type::ExtensionRange: {
        const int message = checkExtensionRange(c.extensionLow, c.extensionHigh).message;
        return message ? text(message) : QString();
    }
    case Type::DistributionList: return c.distributionListName.isEmpty() ? text(334) : QString();
    case Type::Switch: return c.switchName.isEmpty() ? text(331) : QString();
    case Type::MailServer: return c.mailServer.isEmpty() ? text(332) : QString();
    case Type::ClassOfService: return c.cosName.isEmpty() ? text(333) : QString();
    case Type::DeliveryLocation: return c.locationName.isEmpty() ? text(329) : QString();
    default: return QString();
    }
}

QString noRowsMessage(const Session& session, Type type)
{
    switch (type) {
    case Type::AllSubscribers: return session.languages.mymyLoadString(438);
    case Type::ExtensionRange: return QStringLiteral("No subscribers found in that extension range");
    case Type::DistributionList: return QStringLiteral("No subscribers found in that distribution list");
    case Type::Switch: return QStringLiteral("No subscribers found for that switch");
    case Type::MailServer: return QStringLiteral("No subscribers found for that home server");
    case Type::ClassOfService: return QStringLiteral("No subscriber found associated with that class of service");
    case Type::DeliveryLocation: return QStringLiteral("No subscribers associated with that location");
    case Type::RemoteNodeID: return QStringLiteral("No subscribers associated with that Remote node ID");
    case Type::CsvFile: break;
    }
    return QString();
}

// Calls progress.end however the run ends.
struct ProgressEnd {
    const SelectionProgress& progress;
    ~ProgressEnd()
    {
        if (progress.end)
            progress.end();
    }
};

}  // namespace

QString subscriberSelectionStatement(Session& session, const SubscriberSelectionCriteria& c, qint16 iSelectedSubscriberType)
{
    const bool full = hasRemoteNodeColumns(session);
    const QString kind = kindClause(iSelectedSubscriberType);
    const QString columns = kColumns + (full ? kFullColumnsTail : kShortColumnsTail);
    switch (c.type) {
    case Type::AllSubscribers:
        return allSubscribersStatement(full, kind);
    case Type::ExtensionRange:
        return extensionRangeStatement(full, kind, c.extensionLow, c.extensionHigh);
    case Type::DistributionList:
        return columns + kFromListMembers + kLeftJoinCos + kind + QStringLiteral(" AND vw_SystemDlistMember.ParentOBjectID=")
            + quoteLiteral(c.distributionListObjectID) + kOrderByAlias;
    case Type::Switch: {
        const qint16 switchID = static_cast<qint16>(c.switchID);
        const QString condition = switchID == 0 ? QStringLiteral("(SwitchID IS NULL or SwitchID=0)")
                                                : QStringLiteral("SwitchID=%1").arg(switchID);
        return columns + kFromCos + kind + QStringLiteral(" AND ") + condition + kOrderByAlias;
    }
    case Type::MailServer:
        return columns + kFromCos + kind + QStringLiteral(" AND HomeServer=") + quoteLiteral(c.mailServer) + kOrderByAlias;
    case Type::ClassOfService: {
        const QString cosObjectID = cosObjectIDForAlias(session, c.cosAlias);
        if (cosObjectID.isEmpty())
            return QString();
        return columns + kFromCos + kind + QStringLiteral(" AND vw_Subscriber.COSObjectID=") + quoteLiteral(cosObjectID)
            + QStringLiteral(" ORDER BY vw_Subscriber.Alias");
    }
    case Type::DeliveryLocation:
        // Locations are per kind already, so this one statement has no kind clause.
        return columns + kFromCos + QStringLiteral(" WHERE vw_Subscriber.LocationObjectID=") + quoteLiteral(c.locationObjectID)
            + kOrderByAlias;
    case Type::RemoteNodeID:
        return columns + kFromCos + kind + QStringLiteral(" AND RemoteNodeID=") + quoteLiteral(c.remoteNodeID) + kOrderByAlias;
    case Type::CsvFile:
        break;
    }
    return QString();
}

int runSubscriberSelection(Session& session, const SubscriberSelectionCriteria& criteria, qint16 iSelectedSubscriberType,
                           const std::function<void(const SubscriberGridRow&)>& AddUserToGridFAST,
                           const SelectionProgress& progress, const MessageSink& messages)
{
    const ProgressEnd progressEnd{progress};
    if (criteria.type == Type::CsvFile)
        return 0;
    if (const QString problem = criteriaProblem(session, criteria); !problem.isEmpty()) {
        tell(messages, problem);
        return 0;
    }
    // These two types leave the subscriber list on its first row, as the View always has.
    if ((criteria.type == Type::AllSubscribers || criteria.type == Type::RemoteNodeID) && session.rsSubscribers.isOpen())
        session.rsSubscribers.moveFirst();

    const QString sql = subscriberSelectionStatement(session, criteria, iSelectedSubscriberType);
    if (sql.isEmpty())
        return 0;   // a class of service the directory list does not know: nothing to run
    QueryResult result;
    try {
        result = session.database.select(sql);
    } catch (const KestraneError& error) {
        if (criteria.type == Type::ExtensionRange)
            tell(messages, QStringLiteral("SQL query failed for extension range match: \r\n") + sql);
        else
            tell(messages, formatProcedureError(error, QStringLiteral("cmdView_Click"), QStringLiteral("Form"),
                                                QStringLiteral("frmChooseSubscribers")));
        return 0;
    }
    if (result.rows.isEmpty()) {
        tell(messages, noRowsMessage(session, criteria.type));
        return 0;
    }

    // Field positions by name without regard to case; -1 leaves the value empty.
    const auto field = [&](const char* name) {
        for (int i = 0; i < result.fields.size(); ++i)
            if (result.fields[i].compare(QLatin1StringView(name), Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    const int fAlias = field("Alias"), fFirst = field("FirstName"), fLast = field("LastName"),
              fDisplay = field("DisplayName"), fExtension = field("Extension"), fHome = field("HomeServer"),
              fNode = field("RemoteNodeID"), fLegacy = field("LegacyMailbox"), fCos = field("COS"),
              fSubscriber = field("SubscriberObjectID"), fHandler = field("CallHandlerObjectID");

    if (progress.begin)
        progress.begin(int(result.rows.size()));
    QSet<QString> handedOver;
    int added = 0;
    int walked = 0;
    for (const QVector<QVariant>& values : std::as_const(result.rows)) {
        ++walked;
        if (progress.step)
            progress.step(walked);
        const auto text = [&](int index) { return index < 0 ? QString() : values[index].toString(); };
        const SubscriberGridRow row{text(fAlias),     text(fFirst), text(fLast), text(fDisplay),
                                    text(fExtension), text(fHome),  text(fNode), text(fLegacy),
                                    text(fCos),       text(fSubscriber),         text(fHandler)};
        // One grid row per subscriber: a second row would have the engine change it twice.
        if (!row.subscriberObjectID.isEmpty()) {
            const QString key = row.subscriberObjectID.toUpper();
            if (handedOver.contains(key))
                continue;
            handedOver.insert(key);
        }
        AddUserToGridFAST(row);
        ++added;
    }
    return added;
}
