#include "velmo/DemoDirectory.h"

#include "core/Errors.h"
#include "velmo/DemoNames.h"
#include "velmo/Schema.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QSet>
#include <QVariant>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace velmo {

namespace {

// splitmix64: small, fast and the same everywhere, so a seed always gives the same directory.
class Random {
public:
    explicit Random(quint64 seed) : m_state(seed * 0xD1B54A32D192ED03ull + 0x2545F4914F6CDD1Dull) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 1 ? 0 : static_cast<int>(next() % static_cast<quint64>(n)); }
    bool percent(int p) { return below(100) < p; }
    template <typename List>
    const auto& pick(const List& list) { return list[below(static_cast<int>(list.size()))]; }
    template <typename List>
    void shuffle(List& list)
    {
        for (int i = static_cast<int>(list.size()) - 1; i > 0; --i)
            std::swap(list[i], list[below(i + 1)]);
    }
    QString objectId()
    {
        const quint64 a = next();
        const quint64 b = next();
        return QString::asprintf("%08llX-%04llX-%04llX-%04llX-%012llX", a >> 32, (a >> 16) & 0xFFFF, a & 0xFFFF,
                                 b >> 48, b & 0xFFFFFFFFFFFFull);
    }
    QString hex(int bytes)
    {
        QString text;
        while (text.size() < bytes * 2)
            text += QString::asprintf("%016llX", next());
        return text.left(bytes * 2);
    }

private:
    quint64 m_state;
};

// One prepared INSERT into a base table, filled by column name. Columns and tables the schema
// lacks on this server version are left out; a name the schema never had is a programming error.
// A directory of 50,000 subscribers is some 2.5 million rows: they go in through BulkInsert.
class RowInserter {
public:
    RowInserter(Database& db, const char* table, const ServerVersion& version)
    {
        const TableDefinition* definition = findTable(QLatin1StringView(table));
        if (!definition)
            throw std::logic_error(std::string("unknown table ") + table);
        QSet<QString> present;
        for (const QString& column : db.columnsOf(QString::fromLatin1(table)))
            present.insert(column.toLower());

        QStringList names;
        for (const ColumnDefinition& column : definition->columns) {
            const bool has = present.contains(QString::fromLatin1(column.name).toLower());
            m_slot.emplace(column.name, has ? int(names.size()) : -1);
            if (has)
                names << QString::fromLatin1(column.name);
        }
        m_values.resize(names.size());
        if (names.isEmpty() && presentOn(version, definition->since))
            throw KestraneError(ErrorNumber::DatabaseError,
                                QStringLiteral("VelmoDb has no table %1: create the schema first").arg(QLatin1StringView(table)));
        if (!names.isEmpty())
            m_insert = std::make_unique<BulkInsert>(db, QString::fromLatin1(table), names);
    }

    RowInserter& set(const char* column, const QVariant& value)
    {
        const auto found = m_slot.find(column);
        if (found == m_slot.end())
            throw std::logic_error(std::string("unknown column ") + column);
        if (found->second >= 0)
            m_values[found->second] = value;
        return *this;
    }

    void insert()
    {
        if (m_insert) {
            m_insert->insert(m_values);
            ++m_count;
        }
        std::fill(m_values.begin(), m_values.end(), QVariant());
    }

    int count() const { return m_count; }

private:
    std::unique_ptr<BulkInsert> m_insert;
    std::unordered_map<std::string_view, int> m_slot;   // column -> value slot, -1 absent
    std::vector<QVariant> m_values;
    int m_count = 0;
};

// Unique, increasing extensions of `digits` digits from `first` on, spread over the range.
class ExtensionPlan {
public:
    ExtensionPlan(qint64 first, qint64 end, int needed, Random& rng)
        : m_first(first), m_stride(std::max<qint64>(1, (end - first) / std::max(1, needed))), m_rng(rng) {}
    QString next() { return QString::number(m_first + m_next++ * m_stride + m_rng.below(static_cast<int>(m_stride))); }

private:
    qint64 m_first;
    qint64 m_stride;
    qint64 m_next = 0;
    Random& m_rng;
};

// The kind of a DTMFAccessID row's owner (ParentObjectIDType), as the tool's conflict search reads it.
enum OwnerType : int { OwnerSubscriber = 1, OwnerList = 2, OwnerHandler = 3, OwnerInterview = 5, OwnerNameLookup = 6, OwnerLocation = 9 };
constexpr int kDestinationHandler = 3;

const QStringList kContactRules{"Alternate", "Standard", "Off Hours", "Follow-Me Here", "Follow-Me Home", "Follow-Me Mobile"};
const QStringList kMessagingRules{"Standard", "Off Hours", "Busy", "Alternate", "Internal", "Error"};
const QStringList kMenuKeys{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "#"};
const QStringList kNotificationDevices{"Home Phone", "Work Phone", "Pager", "Spare Phone", "Pager 2", "Phone 2", "Phone 3",
                                       "Phone 4", "Phone 5", "Phone 6", "Text Pager 1", "Text Pager 2", "Text for VMI", "SMS"};
constexpr int kFirstTextDevice = 10;

// 25 December 1990 08:00, the date a disabled rule expires at ("12/25/1990 8:00:00 AM").
const QString kDisabledDate = QStringLiteral("1990-12-25T08:00:00.000");

// Dates are stored as the text Qt's SQLite driver writes for a QDateTime, without any time
// zone conversion, so the content does not depend on the machine's time zone.
QString dbDateTime(const QDate& date, int hour, int minute, int second)
{
    return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02d.000", date.year(), date.month(), date.day(), hour, minute, second);
}

int languageId(const QString& code)
{
    static const QHash<QString, int> ids{
        {"ENU", 1033}, {"ENG", 2057}, {"ENA", 3081}, {"ENX", 33801}, {"DEU", 1031}, {"FRA", 1036}, {"FRC", 3084},
        {"ESP", 3082}, {"ESO", 2058}, {"ITA", 1040}, {"NLD", 1043}, {"NOR", 1044}, {"SVE", 1053}, {"DAN", 1030},
        {"PTB", 1046}, {"JPN", 1041}, {"KOR", 1042}, {"CHS", 2052}, {"CHT", 1028}, {"ARA", 1025}};
    return ids.value(code.trimmed().toUpper(), 1033);
}

// A time zone code as the tool builds it: bias in minutes in the high word, the sum of the
// standard name's character codes in the low word.
qint32 timeZoneCode(const QString& standardName, int biasMinutes)
{
    int sum = 0;
    for (QChar c : standardName)
        sum += c.unicode();
    return static_cast<qint32>((static_cast<quint32>(biasMinutes & 0xFFFF) << 16) | static_cast<quint32>(sum & 0xFFFF));
}

QByteArray triggerList(std::initializer_list<int> codes)
{
    QByteArray bytes;
    for (int code : codes)
        bytes.append(static_cast<char>(code)).append(3, '\0');
    return bytes;
}

QString aliasWord(const QString& text)
{
    QString word;
    for (QChar c : text.toLower())
        if (c.isLetterOrNumber())
            word += c;
        else if (c == u' ' && !word.endsWith(u'_'))
            word += u'_';
    return word;
}

struct Person {
    QString id;
    QString handlerId;
    QString directoryId;
    QString alias;
    QString extension;
    qint16 switchId = 0;
};

class DirectoryBuilder {
public:
    DirectoryBuilder(Database& db, const InstallationOptions& options)
        : m_options(options), m_rng(options.seed), m_version(makeServerVersion(options.major, options.minor, options.release, options.build)),
          m_subscriber(db, "Subscriber", m_version), m_subscriberEx(db, "SubscriberEx", m_version),
          m_globalSubscriber(db, "GlobalSubscriber", m_version), m_handler(db, "CallHandler", m_version),
          m_contactRule(db, "ContactRule", m_version), m_messagingRule(db, "MessagingRule", m_version),
          m_menuEntry(db, "MenuEntry", m_version), m_device(db, "NotificationDevice", m_version),
          m_rule(db, "NotificationRule", m_version), m_mwi(db, "NotificationMWI", m_version),
          m_dtmf(db, "DTMFAccessID", m_version), m_cos(db, "COS", m_version), m_location(db, "Location", m_version),
          m_globalLocation(db, "GlobalLocation", m_version), m_list(db, "DistributionList", m_version),
          m_member(db, "SystemDListMember", m_version), m_interview(db, "InterviewHandler", m_version),
          m_nameLookup(db, "NameLookupHandler", m_version), m_schedule(db, "Schedule", m_version)
    {
        m_baseDate = QDate(2006, 1, 2).addDays(options.seed % 1000);
        for (const QString& code : options.languages)
            m_languages << languageId(code);
        if (m_languages.isEmpty())
            m_languages << 1033;
    }

    DemoDirectoryStats build();

private:
    bool atLeast(qint16 major, qint16 minor, qint16 release, qint16 build) const
    {
        return bIsVersionGreaterThanOrEqualTo(m_version, major, minor, release, build);
    }
    QString uniqueAlias(const QString& base);
    // Most objects are on the first integration; 0 when the installation has none.
    qint16 randomSwitch()
    {
        const int count = demoIntegrationCount(m_options);
        if (count < 1)
            return 0;
        return demoIntegrationId(count > 1 && m_rng.percent(15) ? 1 + m_rng.below(count) : 1);
    }
    QString randomDate(int maxDaysBack)
    {
        // One draw per statement: the order of arguments' evaluation is the compiler's choice.
        const QDate date = m_baseDate.addDays(-m_rng.below(maxDaysBack + 1));
        const int hour = 8 + m_rng.below(10);
        const int minute = m_rng.below(60);
        return dbDateTime(date, hour, minute, m_rng.below(60));
    }

    void makeSites();
    void makeSchedulesAndClasses();
    void makeLocations();
    Person makeSubscriber(int type, const QString& first, const QString& last, bool systemAccount = false);
    void makeDistributionLists();
    void makeCallHandlers();
    void makeOtherHandlers();
    void makeRemoteSubscribers();

    void addExtension(const QString& extension, const QString& owner, int ownerType, bool primary,
                      const QVariant& alias = {}, const QVariant& type = 0);
    void addHandler(const QString& id, const QString& alias, const QString& name, bool primary,
                    const QString& owner, int ownerType, const QString& recipient, int recipientType);
    void addHandlerRules(const QString& handlerId, const QString& extension, qint16 switchId,
                         const QString& streamPrefix, bool subscriberHandler);
    void addNotification(const Person& person);

    const InstallationOptions& m_options;
    Random m_rng;
    ServerVersion m_version;
    QDate m_baseDate;
    QList<int> m_languages;

    RowInserter m_subscriber, m_subscriberEx, m_globalSubscriber, m_handler, m_contactRule, m_messagingRule,
        m_menuEntry, m_device, m_rule, m_mwi, m_dtmf, m_cos, m_location, m_globalLocation, m_list, m_member,
        m_interview, m_nameLookup, m_schedule;

    QSet<QString> m_usedAliases;   // lower case
    QStringList m_sites;           // [0] this server, [1] [2] other servers of the domain, [3..] partners
    QString m_serverName;
    QString m_dialingDomain;
    QStringList m_mailServers;
    QStringList m_remoteNodes;
    QString m_defaultLocation;
    QHash<int, QList<QPair<QString, QString>>> m_deliveryLocations;   // kind -> (object ID, DTMF ID)
    QStringList m_remoteLocations;
    QStringList m_classes;   // object IDs, the default class first
    QStringList m_scheduleNames;
    std::unique_ptr<ExtensionPlan> m_extensions;
    int m_extensionDigits = 4;
    QString m_altPrefix;

    // Objects that others point at, made before the rows that point at them.
    QString m_openingGreeting, m_operator, m_goodbye;
    QStringList m_nonPrimaryHandlers;
    QStringList m_nameLookupHandlers;
    QStringList m_interviewHandlers;
    Person m_installer;
    std::vector<Person> m_ordinary;
    QStringList m_publicLists;
    DemoDirectoryStats m_stats;
};

QString DirectoryBuilder::uniqueAlias(const QString& base)
{
    QString alias = base;
    for (int suffix = 2; m_usedAliases.contains(alias.toLower()); ++suffix)
        alias = base + QString::number(suffix);
    m_usedAliases.insert(alias.toLower());
    return alias;
}

void DirectoryBuilder::makeSites()
{
    m_sites = demo::siteNames();
    m_rng.shuffle(m_sites);
    m_serverName = QStringLiteral("VELMO-") + m_sites[0].toUpper();
    m_dialingDomain = m_sites[0].toLower() + QStringLiteral("-dd");
    m_mailServers = {QStringLiteral("MAIL-%1-01").arg(m_sites[0].toUpper()), QStringLiteral("MAIL-%1-02").arg(m_sites[0].toUpper()),
                     QStringLiteral("MAIL-%1-01").arg(m_sites[3].toUpper())};
    for (int i = 0; i < 3; ++i)
        m_remoteNodes << QString::number(61000 + 100 * i + m_rng.below(100));
    m_altPrefix = QString::number(200 + m_rng.below(700));
}

void DirectoryBuilder::makeSchedulesAndClasses()
{
    const QStringList schedules{"All Hours", "Weekdays", "Extended Hours", "Holiday Season"};
    for (const QString& name : schedules) {
        m_schedule.set("ScheduleObjectID", m_rng.objectId()).set("Alias", aliasWord(name)).set("DisplayName", name).insert();
        m_scheduleNames << name;
    }
    const QList<QPair<QString, QString>> classes{{"defaultsubscriber", "Default Subscriber"},
                                                 {"defaultadministrator", "Default Administrator"},
                                                 {"executive", "Executives"},
                                                 {"restricted", "Restricted Users"},
                                                 {"guest", "Guest Accounts"}};
    for (const auto& [alias, name] : classes) {
        const QString id = m_rng.objectId();
        m_cos.set("COSObjectID", id).set("Alias", alias).set("TextName", name).insert();
        m_classes << id;
    }
}

void DirectoryBuilder::makeLocations()
{
    auto addLocation = [&](RowInserter& rows, const QString& id, const QString& alias, const QString& name, int destinationType,
                           const QString& homeServer) {
        rows.set("LocationObjectID", id).set("Alias", alias).set("TextName", name).set("DestinationType", destinationType)
            .set("DialingDomainName", m_dialingDomain).set("HomeServer", homeServer).insert();
    };
    int dialId = 700;
    m_defaultLocation = m_rng.objectId();
    addLocation(m_location, m_defaultLocation, QStringLiteral("default"), m_sites[0] + QStringLiteral(" Headquarters"), 1, m_serverName);
    addExtension(QString::number(dialId++), m_defaultLocation, OwnerLocation, true);

    const QList<QPair<int, QString>> kinds{{5, "AMIS"}, {7, "Bridge"}, {8, "VPIM"}, {9, "Trusted"}};
    int partner = 3;   // the sites after this server and the domain's other two
    for (const auto& [kind, label] : kinds)
        for (int i = 0; i < 2; ++i) {
            const QString site = m_sites[partner++];
            const QString id = m_rng.objectId();
            const QString dtmf = QString::number(dialId++);
            addLocation(m_location, id, aliasWord(label) + u'_' + site.toLower(), label + QStringLiteral(" - ") + site + QStringLiteral(" Office"),
                        kind, m_serverName);
            addExtension(dtmf, id, OwnerLocation, true);
            m_deliveryLocations[kind].append({id, dtmf});
        }
    for (int i = 1; i <= 2; ++i) {
        const QString id = m_rng.objectId();
        addLocation(m_globalLocation, id, m_sites[i].toLower() + QStringLiteral("_primary"), m_sites[i] + QStringLiteral(" Headquarters"), 1,
                    QStringLiteral("VELMO-") + m_sites[i].toUpper());
        m_remoteLocations << id;
    }
}

void DirectoryBuilder::addExtension(const QString& extension, const QString& owner, int ownerType, bool primary,
                                    const QVariant& alias, const QVariant& type)
{
    m_dtmf.set("DTMFAccessID", extension).set("ParentObjectID", owner).set("ParentObjectIDType", ownerType)
        .set("IsPrimaryID", primary ? 1 : 0).set("Alias", alias).set("DtmfAccessIDType", type).insert();
}

void DirectoryBuilder::addHandler(const QString& id, const QString& alias, const QString& name, bool primary,
                                  const QString& owner, int ownerType, const QString& recipient, int recipientType)
{
    m_handler.set("CallHandlerObjectID", id).set("Alias", alias).set("TextName", name).set("IsPrimary", primary ? 1 : 0)
        .set("AdministratorObjectID", owner).set("AdministratorObjectIDType", ownerType)
        .set("RecipientObjectID", recipient).set("RecipientObjectIDType", recipientType)
        .set("Language", m_rng.percent(90) ? QVariant() : QVariant(m_rng.pick(m_languages)))
        .set("ScheduleObjectName", m_rng.percent(70) ? m_scheduleNames[1] : m_rng.pick(m_scheduleNames))
        .set("MaxMsgLen", m_rng.percent(80) ? 300 : 60 * (1 + m_rng.below(10)))
        .set("EditMsg", 1).set("SendUrgentMsg", m_rng.percent(70) ? 2 : 0).set("SendPrivateMsg", 0)
        .set("OneKeyDelay", 1500).set("PrePendDigits", QVariant()).set("PostPendDigits", QVariant())
        .set("AfterMessageAction", 2).set("AfterMessageConversation", QStringLiteral("PHGreeting"))
        .set("AfterMessageObjectID", m_goodbye).set("AfterMessageObjectIDType", kDestinationHandler)
        .insert();
}

void DirectoryBuilder::addHandlerRules(const QString& handlerId, const QString& extension, qint16 switchId,
                                       const QString& streamPrefix, bool subscriberHandler)
{
    const QVariant transferTo = extension.isEmpty() ? QVariant() : QVariant(extension);
    for (const QString& alias : kContactRules) {
        const bool standard = alias == QLatin1String("Standard");
        const bool enabled = standard || (alias == QLatin1String("Alternate") && m_rng.percent(10));
        m_contactRule.set("ParentObjectID", handlerId).set("Alias", alias)
            .set("Action", subscriberHandler && !alias.startsWith(QLatin1String("Follow")) && !transferTo.isNull() ? 1 : 0)
            .set("TimeExpires", enabled ? QVariant() : QVariant(kDisabledDate)).set("SwitchID", switchId)
            .set("PlayTransferWaitPrompt", 1).set("Extension", alias.startsWith(QLatin1String("Follow")) ? QVariant() : transferTo)
            .set("TransferType", m_rng.percent(70) ? 1 : 0).set("TransferHoldingMode", 0).set("TransferAnnounce", 0)
            .set("TransferIntroduce", 0).set("TransferConfirm", 0).set("TransferScreening", 0).set("TransferRings", 4)
            .set("Rule", 0).insert();
    }
    for (const QString& alias : kMessagingRules) {
        const bool error = alias == QLatin1String("Error");
        const bool enabled = error || alias == QLatin1String("Standard") || (alias == QLatin1String("Alternate") && m_rng.percent(10));
        const bool recorded = !error && m_rng.percent(15);
        m_messagingRule.set("ParentObjectID", handlerId).set("Alias", alias)
            .set("TimeExpires", enabled ? QVariant() : QVariant(kDisabledDate)).set("IgnoreDigits", 0).set("Reprompts", 0)
            .set("RepromptDelay", 2).set("PlayWhat", recorded ? 1 : 0)
            .set("StreamPath", recorded ? QVariant(QStringLiteral("%1_%2_CustomGreeting_%3.WAV").arg(streamPrefix, alias).arg(1100000000 + m_rng.below(100000000)))
                                        : QVariant())
            .set("PlayPleaseRecordPrompt", 1)
            .set("Action", error ? 2 : (subscriberHandler ? 4 : (m_rng.percent(50) ? 4 : 2)))
            .set("ConversationName", error || !subscriberHandler ? QStringLiteral("PHGreeting") : QString())
            .set("DestinationObjectID", error ? QVariant(m_openingGreeting) : (subscriberHandler ? QVariant() : QVariant(m_goodbye)))
            .set("DestinationObjectIDType", error || !subscriberHandler ? kDestinationHandler : 0)
            .insert();
    }
    for (const QString& key : kMenuKeys) {
        QVariant action = 0;
        QString conversation;
        QVariant destination;
        int destinationType = 0;
        if (key == QLatin1String("0")) {
            action = 2, conversation = QStringLiteral("PHTransfer"), destination = m_operator, destinationType = kDestinationHandler;
        } else if (key == QLatin1String("*")) {
            action = 2, conversation = QStringLiteral("SubSignIn");
        } else if (key == QLatin1String("#")) {
            action = 5;
        } else if (key == QLatin1String("9") && m_rng.percent(3)) {
            action = QVariant();   // as some servers leave it; the tool reads it as 0
        } else if (m_rng.percent(subscriberHandler ? 3 : 40)) {
            action = 2, conversation = QStringLiteral("PHTransfer"), destination = m_rng.pick(m_nonPrimaryHandlers),
            destinationType = kDestinationHandler;
        }
        m_menuEntry.set("ParentObjectID", handlerId).set("Alias", key).set("Locked", m_rng.percent(5) ? 1 : 0)
            .set("Action", action).set("ConversationName", conversation).set("DestinationObjectID", destination)
            .set("DestinationObjectIDType", destinationType).insert();
    }
}

void DirectoryBuilder::addNotification(const Person& person)
{
    const int active = m_rng.percent(20) ? m_rng.below(3) : -1;   // Home Phone, Work Phone or Pager
    const int repeatChoice = m_rng.below(20);
    const QVariant repeat = repeatChoice == 0 ? QVariant() : QVariant(repeatChoice < 3 ? 1 : 0);
    for (int index = 0; index < kNotificationDevices.size(); ++index) {
        const QString& alias = kNotificationDevices[index];
        const bool text = index >= kFirstTextDevice;
        const bool isActive = index == active;
        m_device.set("ParentObjectID", person.id).set("Alias", alias).set("DLVDeviceActive", isActive ? 1 : 0)
            .set("SwitchID", text ? QVariant() : QVariant(person.switchId))
            .set("PhoneNumber", isActive ? QVariant(QStringLiteral("9%1555%2").arg(m_altPrefix).arg(1000 + m_rng.below(9000))) : QVariant())
            .set("DlvdeviceSendCallerInfo", text ? QVariant(m_rng.percent(30) ? 1 : 0) : QVariant())
            .set("DlvdeviceSendCount", text ? QVariant(m_rng.percent(30) ? 1 : 0) : QVariant())
            .insert();

        // Schedules in the text form of the schedule dialog: day code, start, end.
        QString schedule;
        const int kind = m_rng.below(3);
        if (kind == 1)
            for (const char* day : {"01", "02", "04", "08", "10"})
                schedule += QLatin1StringView(day) + QStringLiteral("08001700");
        else if (kind == 2)
            for (const char* day : {"40", "01", "02", "04", "08", "10", "20"})
                schedule += QLatin1StringView(day) + QStringLiteral("00002400");
        const bool repeatOn = !repeat.isNull() && repeat.toInt() == 1;
        m_rule.set("ParentObjectID", person.id).set("Alias", alias + QStringLiteral(" Rule")).set("dlvRuleDevice", alias)
            .set("DlvruleRepeatNotify", repeat)
            .set("dlvruleCriteriaID", isActive ? QVariant(triggerList({7})) : QVariant())
            .set("dlvruleevent", isActive ? QVariant(triggerList({repeatOn ? 13 : 15})) : QVariant())
            .set("DlvRuleSchedule", schedule).insert();
    }
    m_mwi.set("ParentObjectID", person.id).set("Alias", QStringLiteral("MWI-1")).set("MWIExtension", person.extension)
        .set("SwitchID", person.switchId).set("MWIUpdateDisplay", m_rng.percent(20) ? 1 : 0).insert();
    if (m_rng.percent(10))
        m_mwi.set("ParentObjectID", person.id).set("Alias", QStringLiteral("MWI-2"))
            .set("MWIExtension", QStringLiteral("8") + person.extension).set("SwitchID", person.switchId)
            .set("MWIUpdateDisplay", 0).insert();
}

Person DirectoryBuilder::makeSubscriber(int type, const QString& first, const QString& last, bool systemAccount)
{
    Person person;
    person.id = m_rng.objectId();
    person.handlerId = m_rng.objectId();
    person.directoryId = m_rng.objectId();
    person.switchId = randomSwitch();
    const bool ordinary = type == 1 || type == 3;
    const bool delivered = !systemAccount && !ordinary && type != 2;   // AMIS, Bridge, VPIM, trusted
    person.alias = uniqueAlias(systemAccount ? aliasWord(last).remove(u'_') : (first.left(1) + last).toLower());
    if (!systemAccount)
        person.extension = m_extensions->next();
    const QString displayName = first.isEmpty() ? last : first + u' ' + last;

    // Remote kinds live at a delivery location of their kind and carry an address there.
    QVariant location = m_defaultLocation;
    QVariant remoteAddress;
    if (delivered) {
        static const QHash<int, QString> prefixes{{5, "AMIS:"}, {7, "OMNI:"}, {8, "VPIM:"}, {9, "VOICE:"}};
        const auto& [locationId, locationDtmf] = m_rng.pick(m_deliveryLocations[type]);
        location = locationId;
        remoteAddress = prefixes[type] + locationDtmf + u'_' + (type == 9 ? QString::number(2000 + m_rng.below(8000)) : person.extension);
    } else if (type == 2) {
        remoteAddress = QStringLiteral("SMTP:%1.%2@%3.example").arg(first.toLower(), last.toLower(), m_sites[4].toLower());
    }

    int classIndex = systemAccount ? 1 : 4;
    if (ordinary) {
        const int roll = m_rng.below(100);
        classIndex = roll < 75 ? 0 : roll < 80 ? 1 : roll < 90 ? 2 : roll < 97 ? 3 : 4;
    }
    const bool legacy = ordinary && m_rng.percent(15);
    static const QList<QPair<QString, int>> zones{
        {"Eastern Standard Time", 300}, {"Central Standard Time", 360}, {"Pacific Standard Time", 480}, {"W. Europe Standard Time", -60}};
    const auto& zone = m_rng.pick(zones);
    const bool newServer = atLeast(5, 0, 0, 10);   // DCR time-outs in minutes rather than milliseconds

    static const std::pair<const char*, int> defaults[] = {
        {"NewMailUser", 0}, {"ListInDirectory", 1}, {"HiddenInDirectory", 0}, {"SayAltGreetWarning", 1},
        {"SayFollowMeRuleWarning", 1}, {"PromptSpeed", 100}, {"Speed", 100}, {"AllowedConversations", 507},
        {"ExcludeReceipts", 0}, {"EncryptPrivateMessages", 0}, {"SendMessageConvFlow", 0}, {"ConstantLookup", 0},
        {"SendMessageOnHangup", 1}, {"PWLocked", 0}, {"PWCantChange", 0}, {"PWMustChange", 0}, {"PWDoesntExpire", 0},
        {"SkipPWForKnownDevice", 0}, {"JumpToMessagesOnLogin", 0}, {"SayANI", 0}, {"SaySenderExtension", 0},
        {"GreetByName", 1}, {"UseBriefPrompts", 0}, {"AddressMode", 0}, {"SendConv", 0}, {"SayTotalNew", 1},
        {"SayTotalSaved", 0}, {"SayTotalNewVoice", 0}, {"SayTotalNewFax", 0}, {"SayTotalNewEmail", 0}, {"SaySender", 1},
        {"SayMessageDuration", 0}, {"SayMsgNumber", 0}, {"SayTimestampAfter", 0}, {"SayTimestampBefore", 1},
        {"Volume", 50}, {"MsgStatusOnHangup", 0}, {"NameConfWhenAddressing", 1}, {"MsgConfBeforeDelete", 0},
        {"ContinuousAdd", 0}, {"CollectDigitsViaSpeech", 0}, {"DCREnabled", 0}, {"DCRReviewEnabled", 0},
        {"DCRSendEnabled", 0}, {"AllowVUI", 0}, {"EnAltGreetDontRingPhone", 0}, {"EnAltGreetPreventMsg", 0},
        {"EnAltGreetPreventSkip", 0}, {"DeletedStackOrderType", 0}, {"encryptmessages", 0}, {"SendBroadcastMsg", 0},
        {"SendBroadcastMsgMultiSvr", 0}, {"UpdateBroadcastMsg", 0}, {"EnableMsgLocator", 1}, {"MsgLocatorReceipts", 0},
        {"PhoneAppsEnabled", 0}};
    RowInserter& row = m_subscriber;
    for (const auto& [column, value] : defaults)
        row.set(column, value);
    row.set("SubscriberObjectID", person.id).set("CallHandlerObjectID", person.handlerId).set("DirectoryID", person.directoryId)
        .set("Alias", person.alias).set("FirstName", first.isEmpty() ? QVariant() : QVariant(first)).set("LastName", last)
        .set("DisplayName", displayName).set("SubscriberType", type).set("COSObjectID", m_classes[classIndex])
        .set("LocationObjectID", location)
        .set("HomeServer", ordinary ? QVariant(m_rng.pick(m_mailServers)) : systemAccount ? QVariant(m_mailServers[0]) : QVariant())
        .set("RemoteNodeID", legacy ? QVariant(m_rng.pick(m_remoteNodes)) : QVariant())
        .set("LegacyMailbox", legacy ? QVariant(QString::number(30000 + m_rng.below(70000))) : QVariant())
        .set("RemoteAddress", remoteAddress).set("SwitchID", person.switchId)
        .set("XFerString", ordinary && m_rng.percent(85) ? QVariant(person.extension) : QVariant())
        .set("Language", m_rng.percent(85) ? m_languages[0] : m_rng.pick(m_languages))
        .set("TimeZoneID", m_rng.percent(85) ? 0 : timeZoneCode(zone.first, zone.second))
        .set("NewMailUser", ordinary && m_rng.percent(10) ? 1 : 0).set("HiddenInDirectory", m_rng.percent(3) ? 1 : 0)
        .set("FirstDigitTimeOut", m_rng.percent(90) ? QVariant() : QVariant(5000.0))
        .set("InterdigitDelay", m_rng.percent(90) ? QVariant() : QVariant(3000.0))
        .set("RepeatMenu", m_rng.percent(90) ? QVariant() : QVariant(1.0))
        .set("ConversationName", m_rng.percent(85) ? QStringLiteral("SubMenu")
                                 : m_rng.pick(QStringList{"SubMenuOpt1", "ConvHotel", "SubMenu_AlternateN", "SubMenu_AlternateX"}))
        .set("ClockMode", m_rng.percent(80) ? QVariant() : QVariant(m_rng.below(2)))
        .set("BillingID", m_rng.percent(30) ? QVariant(QString::number(100000 + m_rng.below(900000))) : QVariant())
        .set("PWMustChange", m_rng.percent(10) ? 1 : 0)
        .set("PWDTMF", ordinary || systemAccount ? QVariant(m_rng.hex(16)) : QVariant())
        .set("PWTimeChanged", ordinary || systemAccount ? QVariant(randomDate(400)) : QVariant())
        .set("UseBriefPrompts", m_rng.percent(10) ? 1 : 0).set("AddressMode", m_rng.pick(QList<int>{0, 0, 0, 1, 2}))
        .set("DirectoryHandlerObjectID", ordinary && m_rng.percent(5) ? QVariant(m_rng.pick(m_nameLookupHandlers)) : QVariant())
        .set("Volume", m_rng.pick(QList<int>{0, 50, 50, 50, 100}))
        .set("SkipAheadTime", QStringLiteral("5000")).set("SkipBackTime", QStringLiteral("5000"))
        .set("DCREnabled", m_rng.percent(20) ? 1 : 0)
        .set("DCRReviewTimeout", newServer ? QStringLiteral(" 10") : QStringLiteral(" 600000"))
        .set("DCRSendTimeout", newServer ? QStringLiteral(" 10") : QStringLiteral(" 600000"))
        .set("ExitAction", 2).set("ExitConversation", QStringLiteral("PHGreeting"))
        .set("ExitObjectID", m_openingGreeting).set("ExitObjectIDType", kDestinationHandler)
        .set("StackOrder", QStringLiteral("YN:F1234567:O:L1234567"))
        .insert();
    m_subscriberEx.set("SubscriberObjectID", person.id).set("PhoneAppsEnabled", 0).insert();

    addHandler(person.handlerId, QStringLiteral("ch_") + person.alias, displayName, true, person.id, OwnerSubscriber,
               person.id, OwnerSubscriber);
    addHandlerRules(person.handlerId, ordinary ? person.extension : QString(), person.switchId, person.alias, true);
    ++m_stats.primaryCallHandlers;
    ++m_stats.subscribersByType[type];

    if (!person.extension.isEmpty())
        addExtension(person.extension, person.id, OwnerSubscriber, true);
    if (ordinary && m_rng.percent(25)) {
        // Servers from 4.0(3).120 on keep alternates in numbered slots; some subscribers still
        // have the older, unordered kind (no alias), which the tool converts.
        const bool ordered = atLeast(4, 0, 3, 120) && m_rng.percent(90);
        const int count = 1 + m_rng.below(3);
        for (int slot = 1; slot <= count; ++slot) {
            addExtension(m_altPrefix + QString::number(500 + slot) + person.extension, person.id, OwnerSubscriber, false,
                         ordered ? QVariant(QStringLiteral("SYSTEM_DEFINED_ALT_EXT_%1").arg(slot)) : QVariant(),
                         ordered ? QVariant(1) : QVariant());
            ++m_stats.alternateExtensions;
        }
    }
    if (ordinary)
        addNotification(person);
    return person;
}

void DirectoryBuilder::makeDistributionLists()
{
    auto addList = [&](const QString& alias, const QString& name, bool withExtension) {
        const QString id = m_rng.objectId();
        const QString directoryId = m_rng.objectId();
        m_list.set("SystemDListObjectID", id).set("DirectoryID", directoryId).set("Alias", alias).set("DisplayName", name).insert();
        if (withExtension)
            addExtension(m_extensions->next(), id, OwnerList, true);
        return QPair<QString, QString>(id, directoryId);
    };
    auto addMember = [&](const QString& list, const QString& member) {
        m_member.set("ParentObjectID", list).set("DirectoryID", member).insert();
    };

    const QString everybody = addList(QStringLiteral("allsubscribers"), QStringLiteral("All Subscribers"), false).first;
    for (const Person& person : m_ordinary)
        addMember(everybody, person.directoryId);
    for (const auto& [alias, name] : {QPair<QString, QString>("unaddressedmessages", "Unaddressed Messages"),
                                      QPair<QString, QString>("systemeventmessages", "System Event Messages")})
        addMember(addList(alias, name, false).first, m_installer.directoryId);

    const int count = std::max(3, m_options.subscriberCount / 25);
    const QStringList& departments = demo::departments();
    QStringList listDirectoryIds;
    for (int i = 0; i < count; ++i) {
        QString name = departments[i % departments.size()] + QStringLiteral(" Team");
        if (i >= departments.size())
            name += u' ' + QString::number(i / departments.size() + 1);
        const auto [id, directoryId] = addList(aliasWord(name), name, i % 2 == 0);
        QSet<int> chosen;
        const int members = std::min(static_cast<int>(m_ordinary.size()), 5 + m_rng.below(36));
        while (chosen.size() < members) {
            const int index = m_rng.below(static_cast<int>(m_ordinary.size()));
            if (!chosen.contains(index)) {
                chosen.insert(index);
                addMember(id, m_ordinary[index].directoryId);
            }
        }
        if (!listDirectoryIds.isEmpty() && m_rng.percent(10))
            addMember(id, m_rng.pick(listDirectoryIds));   // a list within the list
        listDirectoryIds << directoryId;
        m_publicLists << id;
    }
}

void DirectoryBuilder::makeCallHandlers()
{
    auto owner = [&]() -> QPair<QString, int> {
        if (!m_publicLists.isEmpty() && m_rng.percent(30))
            return {m_rng.pick(m_publicLists), OwnerList};
        return {m_ordinary.empty() ? m_installer.id : m_rng.pick(m_ordinary).id, OwnerSubscriber};
    };
    const QStringList systemNames{"Opening Greeting", "Operator", "Goodbye"};
    for (int i = 0; i < systemNames.size(); ++i) {
        const QString alias = aliasWord(systemNames[i]).remove(u'_') + QStringLiteral("ch");
        addHandler(m_nonPrimaryHandlers[i], alias, systemNames[i], false, m_installer.id, OwnerSubscriber, m_installer.id,
                   OwnerSubscriber);
        addHandlerRules(m_nonPrimaryHandlers[i], QString(), demoIntegrationCount(m_options) > 0 ? demoIntegrationId(1) : 0, alias, false);
        ++m_stats.nonPrimaryCallHandlers;
    }
    const QStringList& departments = demo::departments();
    const QStringList suffixes{"Main Menu", "After Hours", "Holiday Greeting", "Information Line", "Hotline"};
    const int perRound = static_cast<int>(departments.size() * suffixes.size());
    for (int i = 0; i < m_nonPrimaryHandlers.size() - systemNames.size(); ++i) {
        QString name = departments[i % departments.size()] + u' ' + suffixes[(i / departments.size()) % suffixes.size()];
        if (i >= perRound)
            name += u' ' + QString::number(i / perRound + 1);
        const QString& id = m_nonPrimaryHandlers[i + systemNames.size()];
        const QString extension = i % 5 != 4 ? m_extensions->next() : QString();
        const auto [ownerId, ownerType] = owner();
        const auto [recipientId, recipientType] = owner();
        addHandler(id, aliasWord(name), name, false, ownerId, ownerType, recipientId, recipientType);
        if (!extension.isEmpty())
            addExtension(extension, id, OwnerHandler, true);
        addHandlerRules(id, extension, randomSwitch(), aliasWord(name), false);
        ++m_stats.nonPrimaryCallHandlers;
    }
}

void DirectoryBuilder::makeOtherHandlers()
{
    const QStringList& departments = demo::departments();
    auto numbered = [&](int i, const QString& suffix) {
        QString name = departments[i % departments.size()] + u' ' + suffix;
        if (i >= departments.size())
            name += u' ' + QString::number(i / departments.size() + 1);
        return name;
    };
    for (int i = 0; i < m_interviewHandlers.size(); ++i) {
        const QString name = numbered(i, QStringLiteral("Questionnaire"));
        const QString recipient = m_ordinary.empty() ? m_installer.id : m_rng.pick(m_ordinary).id;
        m_interview.set("InterviewHandlerObjectID", m_interviewHandlers[i]).set("Alias", aliasWord(name)).set("TextName", name)
            .set("RecipientObjectID", recipient).set("RecipientObjectIDType", OwnerSubscriber).insert();
        if (i % 2 == 0)
            addExtension(m_extensions->next(), m_interviewHandlers[i], OwnerInterview, true);
    }
    for (int i = 0; i < m_nameLookupHandlers.size(); ++i) {
        const QString name = i == 0 ? QStringLiteral("Alpha Directory") : numbered(i - 1, QStringLiteral("Directory"));
        m_nameLookup.set("NameLookupHandlerObjectID", m_nameLookupHandlers[i]).set("Alias", aliasWord(name).remove(u'_'))
            .set("TextName", name).insert();
        addExtension(m_extensions->next(), m_nameLookupHandlers[i], OwnerNameLookup, true);
    }
}

void DirectoryBuilder::makeRemoteSubscribers()
{
    const int count = std::max(2, std::min(400, m_options.subscriberCount / 10));
    qint64 first = 9;
    for (int i = 1; i < m_extensionDigits; ++i)
        first *= 10;
    ExtensionPlan plan(first, first / 9 * 10, count, m_rng);
    for (int i = 0; i < count; ++i) {
        const QString firstName = m_rng.pick(demo::firstNames());
        const QString lastName = m_rng.pick(demo::lastNames());
        const QString id = m_rng.objectId();
        m_globalSubscriber.set("SubscriberObjectID", id).set("LocationObjectID", m_remoteLocations[i % m_remoteLocations.size()])
            .set("Alias", uniqueAlias((firstName.left(1) + lastName).toLower())).set("FirstName", firstName)
            .set("LastName", lastName).set("DisplayName", firstName + u' ' + lastName).set("SubscriberType", 1).insert();
        addExtension(plan.next(), id, OwnerSubscriber, true);
    }
}

DemoDirectoryStats DirectoryBuilder::build()
{
    const int n = std::max(0, m_options.subscriberCount);
    makeSites();
    makeSchedulesAndClasses();

    // Objects that subscribers' rows point at get their IDs first.
    m_openingGreeting = m_rng.objectId();
    m_operator = m_rng.objectId();
    m_goodbye = m_rng.objectId();
    m_nonPrimaryHandlers = {m_openingGreeting, m_operator, m_goodbye};
    const int asked = m_options.nonPrimaryCallHandlerCount;
    for (int i = asked > 0 ? asked - 3 : std::max(5, n / 20); i > 0; --i)
        m_nonPrimaryHandlers << m_rng.objectId();
    for (int i = 1 + std::max(1, n / 500); i > 0; --i)
        m_nameLookupHandlers << m_rng.objectId();
    for (int i = std::max(2, n / 200); i > 0; --i)
        m_interviewHandlers << m_rng.objectId();

    // Local extensions: as many digits as the objects need (at least 4), spread over the range
    // from 1 followed by zeros up to 9 followed by zeros; the 9... range is the other servers'.
    const int needed = n + static_cast<int>(m_nonPrimaryHandlers.size() + m_nameLookupHandlers.size() + m_interviewHandlers.size())
                       + std::max(3, n / 25);
    qint64 first = 1000;
    while (8 * first < needed) {
        first *= 10;
        ++m_extensionDigits;
    }
    m_extensions = std::make_unique<ExtensionPlan>(first, 9 * first, needed, m_rng);

    makeLocations();

    makeSubscriber(0, QString(), QStringLiteral("Velmo Messaging System"), true);
    m_installer = makeSubscriber(6, QString(), QStringLiteral("Velmo Installer"), true);

    // Kinds in a shuffled order, so that no kind owns a block of IDs or extensions.
    const int ordinaryType = m_options.connector == DirectoryConnector::Domino ? 3 : 1;
    std::vector<int> kinds;
    if (n >= 6) {
        for (int kind : {5, 7, 8, 9})
            kinds.insert(kinds.end(), std::max(1, (n * 25 + 500) / 1000), kind);
        kinds.insert(kinds.end(), std::max(1, (n * 4 + 50) / 100), 2);
    }
    kinds.insert(kinds.end(), n - static_cast<int>(kinds.size()), ordinaryType);
    m_rng.shuffle(kinds);
    for (int kind : kinds) {
        const QString first = m_rng.pick(demo::firstNames());
        const QString last = m_rng.pick(demo::lastNames());
        Person person = makeSubscriber(kind, first, last);
        if (kind == ordinaryType)
            m_ordinary.push_back(std::move(person));
    }

    makeDistributionLists();
    makeCallHandlers();
    makeOtherHandlers();
    makeRemoteSubscribers();

    DemoDirectoryStats& stats = m_stats;
    stats.subscribers = m_subscriber.count();
    stats.interviewHandlers = m_interview.count();
    stats.nameLookupHandlers = m_nameLookup.count();
    stats.distributionLists = m_list.count();
    stats.distributionListMembers = m_member.count();
    stats.classesOfService = m_cos.count();
    stats.schedules = m_schedule.count();
    stats.locations = m_location.count();
    stats.globalLocations = m_location.count() + m_globalLocation.count();   // Location rows are mirrored
    stats.globalSubscribers = m_subscriber.count() + m_globalSubscriber.count();
    stats.dtmfAccessIds = m_dtmf.count();
    stats.contactRules = m_contactRule.count();
    stats.messagingRules = m_messagingRule.count();
    stats.menuEntries = m_menuEntry.count();
    stats.notificationDevices = m_device.count();
    stats.notificationRules = m_rule.count();
    stats.notificationMwis = m_mwi.count();
    stats.subscriberExRows = m_subscriberEx.count();
    stats.serverName = m_serverName;
    stats.dialingDomainName = m_dialingDomain;
    stats.defaultLocationObjectID = m_defaultLocation;
    return stats;
}

}  // namespace

int demoIntegrationCount(const InstallationOptions& options)
{
    const bool listed = std::tie(options.major, options.minor, options.release, options.build) >= std::make_tuple(4, 2, 0, 27);
    return std::max(0, listed ? options.switchCount : std::min(options.switchCount, 2));
}

DemoDirectoryStats fillDemoDirectory(Database& db, const InstallationOptions& options)
{
    if (!db.isOpen() || !db.isEmbedded())
        throw KestraneError(ErrorNumber::DatabaseError, QStringLiteral("The demo directory needs an open embedded database"));
    // A fresh database in rollback-journal mode writes its new pages once; WAL would write them
    // twice (log, then checkpoint). The installation runs in WAL mode afterwards.
    db.execute(QStringLiteral("PRAGMA journal_mode = MEMORY"));
    db.execute(QStringLiteral("PRAGMA synchronous = NORMAL"));
    db.execute(QStringLiteral("PRAGMA temp_store = MEMORY"));
    // A larger page cache while the rows go in; the connection's own size comes back after.
    const QString restoreCacheSize =
        QStringLiteral("PRAGMA cache_size = %1").arg(db.select(QStringLiteral("PRAGMA cache_size")).rows.value(0).value(0).toInt());
    db.execute(QStringLiteral("PRAGMA cache_size = -262144"));

    db.beginTransaction();
    try {
        // The schema's indexes are dropped and built again once the rows are in, which is
        // faster than keeping them up to date row by row.
        const QueryResult indexes =
            db.select(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL"));
        for (const auto& index : indexes.rows)
            db.execute(QStringLiteral("DROP INDEX \"%1\"").arg(index[0].toString()));
        const DemoDirectoryStats stats = DirectoryBuilder(db, options).build();
        for (const auto& index : indexes.rows)
            db.execute(index[1].toString());
        db.commit();
        db.execute(QStringLiteral("PRAGMA journal_mode = WAL"));
        db.execute(restoreCacheSize);
        return stats;
    } catch (...) {
        db.rollback();
        db.execute(restoreCacheSize);
        throw;
    }
}

}  // namespace velmo
