#include "velmo/Schema.h"

#include "core/Database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace velmo {

namespace {

using T = ColumnType;

// Server versions at which objects of the schema appear or go.
constexpr Version kRemoteNodeColumns{4, 0, 2, 22};
constexpr Version kPrimaryHandlerViews{4, 0, 2, 111};
constexpr Version kDeletedStackOrder{4, 0, 3, 60};
constexpr Version kSpeedColumns{4, 0, 4, 145};
constexpr Version kSendCallerInfo{4, 2, 0, 38};
constexpr Version kConversationLimits{5, 0, 0, 10};
constexpr Version kSubscriberEx{5, 0, 0, 179};

// A new object ID, for rows inserted without one (the demo generator always supplies them).
const char* const kNewObjectId =
    "(upper(hex(randomblob(4))) || '-' || upper(hex(randomblob(2))) || '-' || "
    "upper(hex(randomblob(2))) || '-' || upper(hex(randomblob(2))) || '-' || upper(hex(randomblob(6))))";

// The primary extension of the object whose ID the SQL expression `owner` gives.
#define PRIMARY_EXTENSION(owner)                                                                  \
    "(SELECT d.\"DTMFAccessID\" FROM \"DTMFAccessID\" AS d WHERE d.\"ParentObjectID\" = " owner \
    " AND d.\"IsPrimaryID\" = 1 LIMIT 1) COLLATE NOCASE"

std::vector<TableDefinition> buildTables()
{
    return {
        {"Subscriber", "SubscriberObjectID",
         {
             {"SubscriberObjectID", T::Text},
             {"CallHandlerObjectID", T::Text},
             {"DirectoryID", T::Text},
             {"Alias", T::Text},
             {"FirstName", T::Text},
             {"LastName", T::Text},
             {"DisplayName", T::Text},
             {"SubscriberType", T::Int16},
             {"COSObjectID", T::Text},
             {"LocationObjectID", T::Text},
             {"HomeServer", T::Text},
             {"RemoteNodeID", T::Text, kRemoteNodeColumns},
             {"LegacyMailbox", T::Text, kRemoteNodeColumns},
             {"RemoteAddress", T::Text},
             {"SwitchID", T::Int16},
             {"XFerString", T::Text},
             {"ReferralExtension", T::Text},
             {"Language", T::Int32},
             {"TimeZoneID", T::Int32},
             {"NewMailUser", T::Int16},
             {"ListInDirectory", T::Int16},
             {"HiddenInDirectory", T::Int16},
             {"SayAltGreetWarning", T::Int16},
             {"SayFollowMeRuleWarning", T::Int16},
             {"PromptSpeed", T::Int16, kSpeedColumns},
             {"Speed", T::Int16, kSpeedColumns},
             {"FirstDigitTimeOut", T::Float},
             {"InterdigitDelay", T::Float},
             {"CommandInterdigitDelay", T::Float},
             {"RepeatMenu", T::Float},
             {"ConversationName", T::Text},
             {"AllowedConversations", T::Int32, kConversationLimits},
             {"ExcludeReceipts", T::Int16},
             {"EncryptPrivateMessages", T::Int16},
             {"SendMessageConvFlow", T::Int16},
             {"ConstantLookup", T::Int16},
             {"SendMessageOnHangup", T::Int16},
             {"ClockMode", T::Int16},
             {"BillingID", T::Text},
             {"PWLocked", T::Int16},
             {"PWTimeLockout", T::DateTime},
             {"PWCantChange", T::Int16},
             {"PWMustChange", T::Int16},
             {"PWDoesntExpire", T::Int16},
             {"PWDTMF", T::Text},
             {"PWTimeChanged", T::DateTime},
             {"SkipPWForKnownDevice", T::Int16},
             {"JumpToMessagesOnLogin", T::Int16},
             {"SayANI", T::Int16},
             {"SaySenderExtension", T::Int16},
             {"GreetByName", T::Int16},
             {"UseBriefPrompts", T::Int16},
             {"AddressMode", T::Int16},
             {"DirectoryHandlerObjectID", T::Text},
             {"SendConv", T::Int16},
             {"SayTotalNew", T::Int16},
             {"SayTotalSaved", T::Int16},
             {"SayTotalNewVoice", T::Int16},
             {"SayTotalNewFax", T::Int16},
             {"SayTotalNewEmail", T::Int16},
             {"SaySender", T::Int16},
             {"SayMessageDuration", T::Int16},
             {"SayMsgNumber", T::Int16},
             {"SayTimestampAfter", T::Int16},
             {"SayTimestampBefore", T::Int16},
             {"Volume", T::Int16},
             {"SkipAheadTime", T::Text},
             {"SkipBackTime", T::Text},
             {"MsgStatusOnHangup", T::Int16},
             {"NameConfWhenAddressing", T::Int16},
             {"MsgConfBeforeDelete", T::Int16},
             {"ContinuousAdd", T::Int16},
             {"CollectDigitsViaSpeech", T::Int16},
             {"DCREnabled", T::Int16},
             {"DCRReviewEnabled", T::Int16},
             {"DCRSendEnabled", T::Int16},
             {"AllowVUI", T::Int16},
             {"DCRReviewTimeout", T::Text},
             {"DCRSendTimeout", T::Text},
             {"EnAltGreetDontRingPhone", T::Bool},
             {"EnAltGreetPreventMsg", T::Bool},
             {"EnAltGreetPreventSkip", T::Bool},
             {"ExitAction", T::Int16},
             {"ExitConversation", T::Text},
             {"ExitObjectID", T::Text},
             {"ExitObjectIDType", T::Int16},
             {"StackOrder", T::Text},
             {"DeletedStackOrderType", T::Bool, kDeletedStackOrder},
             {"encryptmessages", T::Int16, kConversationLimits},
             {"SendBroadcastMsg", T::Int16},
             {"SendBroadcastMsgMultiSvr", T::Int16},
             {"UpdateBroadcastMsg", T::Int16},
             {"EnableMsgLocator", T::Int16},
             {"MsgLocatorReceipts", T::Int16},
             // Newer servers keep it in SubscriberEx.
             {"PhoneAppsEnabled", T::Int16, {}, kSubscriberEx},
         },
         {{"CallHandlerObjectID"}, {"Alias"}, {"DirectoryID"}}},
        {"SubscriberEx", nullptr,
         {{"SubscriberObjectID", T::Text}, {"PhoneAppsEnabled", T::Int16}},
         {{"SubscriberObjectID"}},
         kSubscriberEx},
        {"GlobalSubscriber", "SubscriberObjectID",
         {
             {"SubscriberObjectID", T::Text},
             {"LocationObjectID", T::Text},
             {"Alias", T::Text},
             {"FirstName", T::Text},
             {"LastName", T::Text},
             {"DisplayName", T::Text},
             {"SubscriberType", T::Int16},
         },
         {{"LocationObjectID"}}},
        {"CallHandler", "CallHandlerObjectID",
         {
             {"CallHandlerObjectID", T::Text},
             {"Alias", T::Text},
             {"TextName", T::Text},
             {"IsPrimary", T::Bool},
             {"AdministratorObjectID", T::Text},
             {"AdministratorObjectIDType", T::Int16},
             {"RecipientObjectID", T::Text},
             {"RecipientObjectIDType", T::Int16},
             {"Language", T::Int32},
             {"ScheduleObjectName", T::Text},
             {"MaxMsgLen", T::Int32},
             {"EditMsg", T::Int16},
             {"SendUrgentMsg", T::Int16},
             {"SendPrivateMsg", T::Int16},
             {"OneKeyDelay", T::Int32},
             {"PrePendDigits", T::Text},
             {"PostPendDigits", T::Text},
             {"AfterMessageAction", T::Int16},
             {"AfterMessageConversation", T::Text},
             {"AfterMessageObjectID", T::Text},
             {"AfterMessageObjectIDType", T::Int16},
         },
         {{"Alias"}}},
        {"ContactRule", nullptr,
         {
             {"ParentObjectID", T::Text},
             {"Alias", T::Text},
             {"Action", T::Int16},
             {"TimeExpires", T::DateTime},
             {"SwitchID", T::Int16},
             {"PlayTransferWaitPrompt", T::Bool},
             {"Extension", T::Text},
             {"TransferType", T::Int16},
             {"TransferHoldingMode", T::Int16},
             {"TransferAnnounce", T::Int16},
             {"TransferIntroduce", T::Int16},
             {"TransferConfirm", T::Int16},
             {"TransferScreening", T::Int16},
             {"TransferRings", T::Int32},
             {"Rule", T::Int16},
         },
         {{"ParentObjectID", "Alias"}}},
        {"MessagingRule", nullptr,
         {
             {"ParentObjectID", T::Text},
             {"Alias", T::Text},
             {"TimeExpires", T::DateTime},
             {"IgnoreDigits", T::Int16},
             {"Reprompts", T::Int16},
             {"RepromptDelay", T::Int16},
             {"PlayWhat", T::Int16},
             {"StreamPath", T::Text},
             {"PlayPleaseRecordPrompt", T::Bool},
             {"Action", T::Int16},
             {"ConversationName", T::Text},
             {"DestinationObjectID", T::Text},
             {"DestinationObjectIDType", T::Int16},
         },
         {{"ParentObjectID", "Alias"}}},
        {"MenuEntry", nullptr,
         {
             {"ParentObjectID", T::Text},
             {"Alias", T::Text},
             {"Locked", T::Int16},
             {"Action", T::Int16},
             {"ConversationName", T::Text},
             {"DestinationObjectID", T::Text},
             {"DestinationObjectIDType", T::Int16},
         },
         {{"ParentObjectID", "Alias"}}},
        {"NotificationDevice", nullptr,
         {
             {"ParentObjectID", T::Text},
             {"Alias", T::Text},
             {"DLVDeviceActive", T::Int16},
             {"SwitchID", T::Int16},
             {"PhoneNumber", T::Text},
             {"DlvdeviceSendCallerInfo", T::Int16, kSendCallerInfo},
             {"DlvdeviceSendCount", T::Int16},
         },
         {{"ParentObjectID", "Alias"}}},
        {"NotificationRule", nullptr,
         {
             {"ParentObjectID", T::Text},
             {"Alias", T::Text},
             {"dlvRuleDevice", T::Text},
             {"DlvruleRepeatNotify", T::Bool},
             {"dlvruleCriteriaID", T::Binary},
             {"dlvruleevent", T::Binary},
             {"DlvRuleSchedule", T::Text},
         },
         {{"ParentObjectID", "Alias"}}},
        {"NotificationMWI", nullptr,
         {
             {"ParentObjectID", T::Text},
             {"Alias", T::Text},
             {"MWIExtension", T::Text},
             {"SwitchID", T::Int16},
             {"MWIUpdateDisplay", T::Int16},
         },
         {{"ParentObjectID", "Alias"}}},
        {"DTMFAccessID", nullptr,
         {
             {"DTMFAccessID", T::Text},
             {"ParentObjectID", T::Text},
             {"ParentObjectIDType", T::Int16},
             {"IsPrimaryID", T::Bool},
             {"Alias", T::Text},
             {"DtmfAccessIDType", T::Int16},
         },
         {{"ParentObjectID", "IsPrimaryID"}, {"DTMFAccessID"}}},
        {"COS", "COSObjectID",
         {{"COSObjectID", T::Text}, {"Alias", T::Text}, {"TextName", T::Text}},
         {}},
        {"Location", "LocationObjectID",
         {
             {"LocationObjectID", T::Text},
             {"Alias", T::Text},
             {"TextName", T::Text},
             {"DestinationType", T::Int16},
             {"DialingDomainName", T::Text},
             {"HomeServer", T::Text},
         },
         {}},
        {"GlobalLocation", "LocationObjectID",
         {
             {"LocationObjectID", T::Text},
             {"Alias", T::Text},
             {"TextName", T::Text},
             {"DestinationType", T::Int16},
             {"DialingDomainName", T::Text},
             {"HomeServer", T::Text},
         },
         {}},
        {"DistributionList", "SystemDListObjectID",
         {
             {"SystemDListObjectID", T::Text},
             {"DirectoryID", T::Text},
             {"Alias", T::Text},
             {"DisplayName", T::Text},
         },
         {{"DirectoryID"}}},
        {"SystemDListMember", nullptr,
         {{"ParentObjectID", T::Text}, {"DirectoryID", T::Text}},
         {{"ParentObjectID"}, {"DirectoryID"}}},
        {"InterviewHandler", "InterviewHandlerObjectID",
         {
             {"InterviewHandlerObjectID", T::Text},
             {"Alias", T::Text},
             {"TextName", T::Text},
             {"RecipientObjectID", T::Text},
             {"RecipientObjectIDType", T::Int16},
         },
         {}},
        {"NameLookupHandler", "NameLookupHandlerObjectID",
         {{"NameLookupHandlerObjectID", T::Text}, {"Alias", T::Text}, {"TextName", T::Text}},
         {}},
        {"Schedule", "ScheduleObjectID",
         {{"ScheduleObjectID", T::Text}, {"Alias", T::Text}, {"DisplayName", T::Text}},
         {}},
        // Written by sp_ModifySubscriber: one row per requested directory write-through.
        {"DirectorySyncRequest", nullptr,
         {{"SubscriberObjectID", T::Text}, {"DirectorySync", T::Int32}, {"DirectorySyncFlags", T::Int32}},
         {}},
    };
}

std::vector<ViewDefinition> buildViews()
{
    const std::vector<JoinedColumn> handlerExtension{
        {"DTMFAccessID", T::Text,
         PRIMARY_EXTENSION("COALESCE((SELECT s.\"SubscriberObjectID\" FROM \"Subscriber\" AS s "
                           "WHERE s.\"CallHandlerObjectID\" = t.\"CallHandlerObjectID\" LIMIT 1), "
                           "t.\"CallHandlerObjectID\")")}};
    return {
        {"vw_Subscriber", "Subscriber", nullptr, 0,
         {{"DTMFAccessID", T::Text, PRIMARY_EXTENSION("t.\"SubscriberObjectID\"")}}},
        {"vw_CallHandler", "CallHandler", nullptr, 0, handlerExtension},
        {"vw_CallHandler_Primary", "CallHandler", "IsPrimary", 1, handlerExtension, kPrimaryHandlerViews},
        {"vw_CallHandler_NonPrimary", "CallHandler", "IsPrimary", 0, handlerExtension, kPrimaryHandlerViews},
        {"vw_COS", "COS", nullptr, 0, {}},
        {"vw_Location", "Location", nullptr, 0,
         {{"DTMFAccessID", T::Text, PRIMARY_EXTENSION("t.\"LocationObjectID\"")}}},
        {"vw_DistributionList", "DistributionList", nullptr, 0,
         {{"DTMFAccessID", T::Text, PRIMARY_EXTENSION("t.\"SystemDListObjectID\"")}}},
        {"vw_SystemDListMember", "SystemDListMember", nullptr, 0, {}},
        {"vw_InterviewHandler", "InterviewHandler", nullptr, 0,
         {{"DTMFAccessID", T::Text, PRIMARY_EXTENSION("t.\"InterviewHandlerObjectID\"")}}},
        {"vw_NameLookupHandler", "NameLookupHandler", nullptr, 0,
         {{"DTMFAccessID", T::Text, PRIMARY_EXTENSION("t.\"NameLookupHandlerObjectID\"")}}},
        {"vw_DTMFAccessID", "DTMFAccessID", nullptr, 0, {}},
        {"vw_ContactRule", "ContactRule", nullptr, 0, {}},
        {"vw_MessagingRule", "MessagingRule", nullptr, 0, {}},
        {"vw_MenuEntry", "MenuEntry", nullptr, 0, {}},
        {"vw_NotificationDevice", "NotificationDevice", nullptr, 0, {}},
        {"vw_NotificationRule", "NotificationRule", nullptr, 0, {}},
        {"vw_NotificationMWI", "NotificationMWI", nullptr, 0, {}},
    };
}

#undef PRIMARY_EXTENSION

// Tables whose rows the server copies into the dialing domain's directory.
struct Mirror {
    const char* source;
    const char* target;
};
constexpr Mirror kMirrors[] = {{"Subscriber", "GlobalSubscriber"}, {"Location", "GlobalLocation"}};

QString quoted(const QString& name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString quoted(const char* name)
{
    return quoted(QString::fromLatin1(name));
}

QString sqlType(ColumnType type)
{
    switch (type) {
    case T::Text: return QStringLiteral("TEXT COLLATE NOCASE");
    case T::Int16:
    case T::Int32: return QStringLiteral("INTEGER");
    case T::Bool: return QStringLiteral("BOOLEAN");
    case T::DateTime: return QStringLiteral("DATETIME");
    case T::Float: return QStringLiteral("FLOAT");
    case T::Binary: return QStringLiteral("BLOB");
    }
    return QString();
}

bool sameName(const char* a, const QString& b)
{
    return b.compare(QLatin1StringView(a), Qt::CaseInsensitive) == 0;
}

std::vector<const ColumnDefinition*> presentColumns(const TableDefinition& table, const ServerVersion& version)
{
    std::vector<const ColumnDefinition*> columns;
    for (const ColumnDefinition& column : table.columns)
        if (presentOn(version, column.since, column.until))
            columns.push_back(&column);
    return columns;
}

QString createTableSql(const TableDefinition& table, const ServerVersion& version)
{
    QStringList lines;
    for (const ColumnDefinition* column : presentColumns(table, version)) {
        QString line = quoted(column->name) + QLatin1Char(' ') + sqlType(column->type);
        if (table.key && sameName(table.key, QLatin1StringView(column->name)))
            line += QStringLiteral(" NOT NULL PRIMARY KEY DEFAULT ") + QLatin1StringView(kNewObjectId);
        lines << line;
    }
    return QStringLiteral("CREATE TABLE %1 (\n  %2\n)").arg(quoted(table.name), lines.join(QStringLiteral(",\n  ")));
}

QStringList createIndexSql(const TableDefinition& table)
{
    QStringList statements;
    for (const auto& index : table.indexes) {
        QStringList names;
        QStringList columns;
        for (const char* column : index) {
            names << QLatin1StringView(column);
            columns << quoted(column);
        }
        statements << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                          .arg(quoted(QStringLiteral("IX_%1_%2").arg(QLatin1StringView(table.name), names.join(u'_'))),
                               quoted(table.name), columns.join(QStringLiteral(", ")));
    }
    return statements;
}

// The condition that finds, in the base table, the row a view row (OLD) was read from: its
// key, or for tables without one, the first row holding all of its values.
QString matchOldRow(const TableDefinition& table, const std::vector<const ColumnDefinition*>& columns)
{
    if (table.key)
        return QStringLiteral("%1 = OLD.%1").arg(quoted(table.key));
    QStringList conditions;
    for (const ColumnDefinition* column : columns)
        conditions << QStringLiteral("%1 IS OLD.%1").arg(quoted(column->name));
    return QStringLiteral("rowid = (SELECT rowid FROM %1 WHERE %2 LIMIT 1)")
        .arg(quoted(table.name), conditions.join(QStringLiteral(" AND ")));
}

QStringList createViewSql(const ViewDefinition& view, const TableDefinition& table, const ServerVersion& version)
{
    const auto columns = presentColumns(table, version);
    QStringList select;
    QStringList names;
    QStringList assignments;
    QStringList newValues;
    for (const ColumnDefinition* column : columns) {
        const QString name = quoted(column->name);
        select << QStringLiteral("t.%1 AS %1").arg(name);
        names << name;
        assignments << QStringLiteral("%1 = NEW.%1").arg(name);
        QString value = QStringLiteral("NEW.") + name;
        if (table.key && sameName(table.key, QLatin1StringView(column->name)))
            value = QStringLiteral("COALESCE(%1, %2)").arg(value, QLatin1StringView(kNewObjectId));
        else if (view.filterColumn && sameName(view.filterColumn, QLatin1StringView(column->name)))
            value = QStringLiteral("COALESCE(%1, %2)").arg(value).arg(view.filterValue);
        newValues << value;
    }
    for (const JoinedColumn& joined : view.joined)
        select << QStringLiteral("%1 AS %2").arg(QLatin1StringView(joined.expression), quoted(joined.name));

    QString createView = QStringLiteral("CREATE VIEW %1 AS SELECT %2 FROM %3 AS t")
                             .arg(quoted(view.name), select.join(QStringLiteral(", ")), quoted(table.name));
    if (view.filterColumn)
        createView += QStringLiteral(" WHERE t.%1 = %2").arg(quoted(view.filterColumn)).arg(view.filterValue);

    const QString match = matchOldRow(table, columns);
    const QString trigger = QStringLiteral("CREATE TRIGGER %1 INSTEAD OF %2 ON %3 BEGIN %4; END");
    auto triggerName = [&](const QString& operation) {
        return quoted(QStringLiteral("%1_%2").arg(QLatin1StringView(view.name), operation));
    };
    const QString updateRow = QStringLiteral("UPDATE %1 SET %2 WHERE %3");
    QStringList statements{
        createView,
        trigger.arg(triggerName(QStringLiteral("insert")), QStringLiteral("INSERT"), quoted(view.name),
                    QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(quoted(table.name), names.join(QStringLiteral(", ")), newValues.join(QStringLiteral(", ")))),
        trigger.arg(triggerName(QStringLiteral("delete")), QStringLiteral("DELETE"), quoted(view.name),
                    QStringLiteral("DELETE FROM %1 WHERE %2").arg(quoted(table.name), match)),
    };
    if (!table.key) {
        // The row is found by all its old values: one statement must write them all.
        statements << trigger.arg(triggerName(QStringLiteral("update")), QStringLiteral("UPDATE"), quoted(view.name),
                                  updateRow.arg(quoted(table.name), assignments.join(QStringLiteral(", ")), match));
        return statements;
    }
    // As the server writes, a changed column costs what it changes: one trigger per column. A
    // changed key writes the whole row, so the row is right whichever trigger runs first.
    statements << trigger.arg(triggerName(QStringLiteral("update")), QStringLiteral("UPDATE OF ") + quoted(table.key),
                              quoted(view.name),
                              updateRow.arg(quoted(table.name), assignments.join(QStringLiteral(", ")), match));
    for (size_t i = 0; i < columns.size(); ++i)
        if (!sameName(table.key, QLatin1StringView(columns[i]->name)))
            statements << trigger.arg(triggerName(QStringLiteral("update_") + QLatin1StringView(columns[i]->name)),
                                      QStringLiteral("UPDATE OF ") + names[i], quoted(view.name),
                                      updateRow.arg(quoted(table.name), assignments[i], match));
    // The joined columns are read-only: writing them changes nothing, as before.
    QStringList joined;
    for (const JoinedColumn& column : view.joined)
        joined << quoted(column.name);
    if (!joined.isEmpty())
        statements << trigger.arg(triggerName(QStringLiteral("update_joined")),
                                  QStringLiteral("UPDATE OF ") + joined.join(QStringLiteral(", ")), quoted(view.name),
                                  QStringLiteral("SELECT 1"));
    return statements;
}

QStringList createMirrorSql(const Mirror& mirror, const ServerVersion& version)
{
    const TableDefinition& source = *findTable(QLatin1StringView(mirror.source));
    const TableDefinition& target = *findTable(QLatin1StringView(mirror.target));
    const auto columns = presentColumns(target, version);
    QStringList names;
    QStringList newValues;
    QStringList assignments;
    for (const ColumnDefinition* column : columns) {
        const QString name = quoted(column->name);
        names << name;
        newValues << QStringLiteral("NEW.") + name;
        assignments << QStringLiteral("%1 = NEW.%1").arg(name);
    }
    const QString key = quoted(source.key);
    const QString prefix = QStringLiteral("CREATE TRIGGER %1 AFTER %2 ON %3 BEGIN %4; END");
    auto name = [&](const QString& operation) {
        return quoted(QStringLiteral("%1_mirror_%2").arg(QLatin1StringView(mirror.source), operation));
    };
    const QString updateRow = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = OLD.%3");
    QStringList statements{
        prefix.arg(name(QStringLiteral("insert")), QStringLiteral("INSERT"), quoted(source.name),
                   QStringLiteral("INSERT OR REPLACE INTO %1 (%2) VALUES (%3)")
                       .arg(quoted(target.name), names.join(QStringLiteral(", ")), newValues.join(QStringLiteral(", ")))),
        prefix.arg(name(QStringLiteral("delete")), QStringLiteral("DELETE"), quoted(source.name),
                   QStringLiteral("DELETE FROM %1 WHERE %2 = OLD.%2").arg(quoted(target.name), key)),
        // A changed key copies the whole row; any other column is copied alone.
        prefix.arg(name(QStringLiteral("update")), QStringLiteral("UPDATE OF ") + key, quoted(source.name),
                   updateRow.arg(quoted(target.name), assignments.join(QStringLiteral(", ")), key)),
    };
    for (size_t i = 0; i < columns.size(); ++i)
        if (!sameName(source.key, QLatin1StringView(columns[i]->name)))
            statements << prefix.arg(name(QStringLiteral("update_") + QLatin1StringView(columns[i]->name)),
                                     QStringLiteral("UPDATE OF ") + names[i], quoted(source.name),
                                     updateRow.arg(quoted(target.name), assignments[i], key));
    return statements;
}

}  // namespace

ServerVersion makeServerVersion(int major, int minor, int release, int build)
{
    ServerVersion version;
    version.iMajor = static_cast<qint16>(major);
    version.iMinor = static_cast<qint16>(minor);
    version.iRelease = static_cast<qint16>(release);
    version.iBuild = static_cast<qint16>(build);
    return version;
}

bool presentOn(const ServerVersion& installed, const Version& since, const Version& until)
{
    if (!bIsVersionGreaterThanOrEqualTo(installed, since.major, since.minor, since.release, since.build))
        return false;
    return !until.isSet() || !bIsVersionGreaterThanOrEqualTo(installed, until.major, until.minor, until.release, until.build);
}

const std::vector<TableDefinition>& tableDefinitions()
{
    static const std::vector<TableDefinition> tables = buildTables();
    return tables;
}

const std::vector<ViewDefinition>& viewDefinitions()
{
    static const std::vector<ViewDefinition> views = buildViews();
    return views;
}

const TableDefinition* findTable(const QString& name)
{
    for (const TableDefinition& table : tableDefinitions())
        if (sameName(table.name, name))
            return &table;
    return nullptr;
}

const ViewDefinition* findView(const QString& name)
{
    for (const ViewDefinition& view : viewDefinitions())
        if (sameName(view.name, name))
            return &view;
    return nullptr;
}

std::optional<ColumnType> columnType(const QString& tableOrView, const QString& column)
{
    const TableDefinition* table = findTable(tableOrView);
    if (const ViewDefinition* view = findView(tableOrView)) {
        for (const JoinedColumn& joined : view->joined)
            if (sameName(joined.name, column))
                return joined.type;
        table = findTable(QLatin1StringView(view->table));
    }
    if (table)
        for (const ColumnDefinition& definition : table->columns)
            if (sameName(definition.name, column))
                return definition.type;
    return std::nullopt;
}

void createSchema(QSqlDatabase& db, int major, int minor, int release, int build)
{
    const ServerVersion version = makeServerVersion(major, minor, release, build);
    QStringList statements;
    for (const TableDefinition& table : tableDefinitions()) {
        if (!presentOn(version, table.since))
            continue;
        statements << createTableSql(table, version) << createIndexSql(table);
    }
    for (const ViewDefinition& view : viewDefinitions())
        if (presentOn(version, view.since))
            statements << createViewSql(view, *findTable(QLatin1StringView(view.table)), version);
    for (const Mirror& mirror : kMirrors)
        statements << createMirrorSql(mirror, version);

    if (!db.transaction())
        throwDatabaseError(QStringLiteral("BEGIN TRANSACTION"), db.lastError());
    QSqlQuery query(db);
    for (const QString& statement : statements) {
        if (!query.exec(statement)) {
            const QSqlError error = query.lastError();
            db.rollback();
            throwDatabaseError(statement, error);
        }
    }
    if (!db.commit())
        throwDatabaseError(QStringLiteral("COMMIT"), db.lastError());
}

}  // namespace velmo
