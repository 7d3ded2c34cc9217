#include "core/AlternateExtensions.h"

#include <QSet>

#include "core/Errors.h"
#include "core/Recordset.h"
#include "core/RunLog.h"
#include "core/Session.h"

namespace {

QString moduleError(const KestraneError& error, const QString& procedure)
{
    return formatProcedureError(error, procedure, QStringLiteral("Module"), QStringLiteral("modVelmoDB"));
}

namespace Strings {
constexpr int LocalPrimary = 341;       // "Subscribers primary Id on the local Velmo server"
constexpr int LocalAlternate = 342;     // "Subscribers alternate ID on the local Velmo server"
constexpr int DomainPrimary = 343;      // "Subscribers primary ID in the dialing domain on Velmo server="
constexpr int DomainAlternate = 344;    // "... alternate ID in the dialing domain on the Velmo server="
}

// How the owner of a DTMFAccessID row is looked up, by its ParentObjectIDType.
struct OwnerKind {
    qint16 parentObjectIDType;
    qint16 objectTypeCode;
    const char* description;
    const char* query;         // followed by the ID condition
    const char* idCondition;   // followed by the ID's marker
    const char* nameField;
    const char* idField;
};

constexpr OwnerKind kOwnerKinds[] = {
    {2, DTMFIDObjectType::PublicDistributionList, "Public Distribution List",
     "Select Alias, DisplayName, SystemDListObjectID from DistributionList WHERE ", "SystemDListObjectID=",
     "Displayname", "SystemDListObjectID"},
    {3, DTMFIDObjectType::CallHandler, "Call Handler",
     "Select Alias, TextName, CallHandlerObjectID from CallHandler WHERE ", "CallHandlerObjectID=",
     "Textname", "CallHandlerObjectID"},
    {5, DTMFIDObjectType::InterviewHandler, "Interview Handler",
     "Select Alias, TextName, InterviewHandlerObjectID from InterviewHandler WHERE ", "InterviewHandlerObjectID=",
     "Textname", "InterviewHandlerObjectID"},
    {6, DTMFIDObjectType::NameLookupHandler, "Name Lookup Handler",
     "Select Alias, TextName, NameLookupHandlerObjectID from NameLookupHandler WHERE ", "NameLookupHandlerObjectID=",
     "Textname", "NameLookupHandlerObjectID"},
    {9, DTMFIDObjectType::Location, "Location Object",
     "Select Alias, TextName, LocationObjectID from GlobalLocation WHERE ", "LocationObjectID=",
     "textname", "LocationObjectID"},
};

const OwnerKind* ownerKind(const QVariant& parentObjectIDType)
{
    if (parentObjectIDType.isNull())
        return nullptr;
    for (const OwnerKind& kind : kOwnerKinds)
        if (parentObjectIDType.toInt() == kind.parentObjectIDType)
            return &kind;
    return nullptr;
}

// The values are bound, so that each query is prepared once per run, not per extension.
QString subscriberQuery(const QString& dialingDomain)
{
    if (dialingDomain.isEmpty())
        return QStringLiteral("SELECT DTMFAccessID.DTMFAccessID, DTMFAccessID.IsPRimaryID, Subscriber.Alias, "
                              "Subscriber.DisplayName, Subscriber.SubscriberObjectID "
                              "FROM DTMFAccessID INNER JOIN Subscriber "
                              "ON dtmfaccessid.parentobjectid=subscriber.subscriberobjectid "
                              "WHERE SubscriberType NOT IN (0,6) AND DTMFAccessID.DTMFAccessid=?");
    return QStringLiteral("SELECT DTMFAccessID.DTMFAccessID, DTMFAccessID.ISPRimaryID, GlobalSubscriber.Alias, "
                          "GlobalSubscriber.DisplayName, GlobalSubscriber.SubscriberObjectID, GlobalLocation.HomeServer "
                          "FROM DTMFAccessID INNER JOIN GlobalSubscriber "
                          "ON dtmfaccessid.parentobjectid=globalsubscriber.subscriberobjectid "
                          "INNER JOIN globallocation ON globallocation.locationobjectid=globalsubscriber.locationobjectid "
                          "WHERE SubscriberType NOT IN (0,6) AND GlobalLocation.DialingDomainName=? "
                          "AND DTMFAccessID.DTMFAccessid=?");
}

// Adds one entry per subscriber using the extension.
void findSubscribers(Session& session, const QString& extension, QList<DTMFIDMatch>& matches,
                     const MessageSink& messages)
{
    const Languages& language = session.languages;
    const QString& domain = session.strDialingDomainName;
    Recordset rows;
    try {
        rows.open(subscriberQuery(domain), session.database, LockType::ReadOnly,
                  domain.isEmpty() ? QVariantList{extension} : QVariantList{domain, extension});
    } catch (const KestraneError& error) {
        tell(messages, moduleError(error, QStringLiteral("findAllDTMFIDMatchesInTAble")));
        return;
    }
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        DTMFIDMatch& match = matches.emplace_back();
        match.ObjectTypeCode = DTMFIDObjectType::Subscriber;
        try {
            match.Alias = rows.value(QStringLiteral("alias")).toString();
            match.DisplayName = rows.value(QStringLiteral("displayname")).toString();
            const bool primary = rows.value(QStringLiteral("IsPrimaryID")).toBool();   // null counts as false
            if (domain.isEmpty()) {
                match.Description = language.mymyLoadString(primary ? Strings::LocalPrimary : Strings::LocalAlternate);
            } else {
                // A server without a name is listed as such, not as a failed search.
                match.Description = language.mymyLoadString(primary ? Strings::DomainPrimary : Strings::DomainAlternate)
                                    + rows.value(QStringLiteral("HomeServer")).toString();
            }
            match.ObjectID = rows.value(QStringLiteral("SubscriberObjectID")).toString();
        } catch (const KestraneError& error) {
            tell(messages, moduleError(error, QStringLiteral("findAllDTMFIDMatchesInTAble")));
        }
    }
}

// Adds one entry per owner of another kind using the extension.
void findOtherOwners(Session& session, const QString& extension, QList<DTMFIDMatch>& matches,
                     const MessageSink& messages)
{
    Recordset rows;
    try {
        rows.open(QStringLiteral("SELECT * from DTMFAccessID WHERE DTMFAccessID=? AND ParentObjectIDType<>'1'"),
                  session.database, LockType::ReadOnly, {extension});
    } catch (const KestraneError& error) {
        tell(messages, moduleError(error, QStringLiteral("findAllDTMFIDMatchesInTAble")));
        return;
    }
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        DTMFIDMatch& match = matches.emplace_back();
        try {
            const OwnerKind* kind = ownerKind(rows.value(QStringLiteral("ParentObjectIDTYpe")));
            if (!kind)
                continue;
            match.ObjectTypeCode = kind->objectTypeCode;
            match.Description = QLatin1String(kind->description);
            Recordset owner;
            owner.open(QLatin1String(kind->query) + QLatin1String(kind->idCondition) + u'?', session.database,
                       LockType::ReadOnly, {rows.value(QStringLiteral("ParentObjectID")).toString()});
            if (!owner.eof()) {   // an owner that no longer exists leaves the entry's names empty
                match.Alias = owner.value(QStringLiteral("alias")).toString();
                match.DisplayName = owner.value(QLatin1String(kind->nameField)).toString();
                match.ObjectID = owner.value(QLatin1String(kind->idField)).toString();
            }
        } catch (const KestraneError& error) {
            tell(messages, moduleError(error, QStringLiteral("findAllDTMFIDMatchesInTAble")));
        }
    }
}

}  // namespace

qint16 ConvertOldAltExtsToOrderedAltExts(Session& session, RunLog& log, const QString& strObjectID)
{
    const QString procedure = QStringLiteral("ConvertOldAltExtsToOrderedAltExts");
    Recordset rows;
    try {
        rows.open(QStringLiteral("SELECT * FROM DTMFAccessID WHERE ParentOBjectID=? AND IsPrimaryID='0'"),
                  session.database, LockType::Optimistic, {strObjectID});
    } catch (const KestraneError& error) {
        log.WriteLogLine(moduleError(error, procedure));
        return 0;
    }
    // Slots the object already holds stay taken: numbering them again would give two rows the
    // same ordered alias. A row that cannot be written keeps its null alias, gets an "(error)"
    // line under its "Converting" line and still uses up its number.
    QSet<QString> taken;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext())
        taken.insert(rows.value(QStringLiteral("Alias")).toString().toCaseFolded());
    qint16 numbered = 0;
    qint16 converted = 0;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        if (!rows.value(QStringLiteral("Alias")).isNull())
            continue;   // already ordered
        QString alias;
        do
            alias = OrderedAltExtAliasPrefix + QString::number(++numbered);
        while (taken.contains(alias.toCaseFolded()));
        log.WriteLogLine(QStringLiteral("    Converting unordered alternate extension to - ") + alias
                         + QStringLiteral("= ") + rows.value(QStringLiteral("DTMFAccessID")).toString());
        try {
            rows.setValue(QStringLiteral("Alias"), alias);
            rows.setValue(QStringLiteral("DtmfAccessIDType"), 1);
            rows.update();
            ++converted;
        } catch (const KestraneError& error) {
            rows.cancelUpdate();
            log.WriteLogLine(moduleError(error, procedure));
        }
    }
    return converted;
}

QList<DTMFIDMatch> findAllDTMFIDMatchesInTAble(Session& session, const QString& strDTMFID,
                                               const MessageSink& messages)
{
    QList<DTMFIDMatch> matches;
    findSubscribers(session, strDTMFID, matches, messages);
    findOtherOwners(session, strDTMFID, matches, messages);
    return matches;
}
