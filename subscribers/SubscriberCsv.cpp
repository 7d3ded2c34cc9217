// Reading the subscriber CSV selection file.
#include "subscribers/SubscriberCsv.h"

#include "core/Criterion.h"
#include "core/Errors.h"
#include "core/ExtensionRules.h"
#include "core/SelectionCsv.h"
#include "core/Session.h"

#include <QHash>

#include <algorithm>
#include <optional>

namespace {

// The extension is bound to the one marker, so the query is prepared once for the whole file.
QString extensionQuery(qint16 kind)
{
    QString sql = QStringLiteral("SELECT vw_Subscriber.Alias, vw_Subscriber.SubscriberObjectID, vw_DTMFAccessID.DTMFAccessID "
                                 "FROM vw_Subscriber INNER JOIN vw_DTMFAccessID "
                                 "ON vw_Subscriber.SubscriberObjectID=vw_DTMFAccessID.ParentObjectID "
                                 "WHERE vw_DTMFAccessID.DTMFAccessID=?");
    if (kind == 1)
        return sql + QStringLiteral(" AND vw_Subscriber.SubscriberType IN (1,3) ORDER BY vw_Subscriber.Alias");
    return sql + QStringLiteral(" AND vw_Subscriber.SubscriberType = '") + QString::number(kind)
           + QStringLiteral("' ORDER BY vw_Subscriber.Alias");
}

class CsvReader {
public:
    CsvReader(Session& session, qint16 kind, const std::function<void()>& addUserToGrid,
              const std::function<void(int)>& usersAddedChanged)
        : m_session(session), m_kind(kind), m_addUserToGrid(addUserToGrid), m_usersAddedChanged(usersAddedChanged)
    {
    }

    // The resource string number of the message that ends the run early, 0 when none does.
    int read(const QString& path, const SelectionProgress& progress);
    const CsvImportResult& result() const { return m_result; }

private:
    void readLine(const QString& line);
    bool addByExtension(const QString& extension);
    bool addByAlias(const QString& alias);
    // rsSubscribers stands on the subscriber: positions rsPrimaryCallHandlers on its primary
    // call handler and adds the row. False when the handler is not in the list.
    bool addCurrentSubscriber();
    const QHash<QString, QString>& aliasIndex();

    Session& m_session;
    qint16 m_kind;
    const std::function<void()>& m_addUserToGrid;
    const std::function<void(int)>& m_usersAddedChanged;
    int m_aliasColumn = -1;
    int m_extensionColumn = -1;
    // Alias (as Find compares it) -> object ID of the first subscriber in the list with that
    // alias. The list's own index is on the object ID; without this every alias line would
    // walk the whole list.
    std::optional<QHash<QString, QString>> m_aliasIndex;
    CsvImportResult m_result;
};

int CsvReader::read(const QString& path, const SelectionProgress& progress)
{
    const SelectionCsvFile csv = readSelectionCsv(path, m_session.languages.mymyLoadString(300));
    if (csv.failure)
        return csv.failure;
    m_aliasColumn = csv.aliasColumn;
    m_extensionColumn = csv.extensionColumn;

    for (const QString& line : csv.dataLines) {
        ++m_result.linesRead;
        if (progress.step)
            progress.step(m_result.linesRead);
        readLine(line);
    }
    return 0;
}

void CsvReader::readLine(const QString& line)
{
    const QStringList fields = line.split(u',');
    if (m_extensionColumn >= 0 && m_extensionColumn < fields.size() && isCsvNumber(fields[m_extensionColumn])
        && addByExtension(fields[m_extensionColumn].trimmed()))
        return;
    if (m_aliasColumn >= 0 && m_aliasColumn < fields.size())
        addByAlias(fields[m_aliasColumn]);
}

bool CsvReader::addByExtension(const QString& extension)
{
    QueryResult matches;
    try {
        matches = m_session.database.select(extensionQuery(m_kind), {extension});
    } catch (const KestraneError&) {
        return false;   // a failed query counts as no match
    }
    const auto idField = std::find_if(matches.fields.cbegin(), matches.fields.cend(), [](const QString& name) {
        return name.compare(QLatin1String("SubscriberObjectID"), Qt::CaseInsensitive) == 0;
    });
    if (idField == matches.fields.cend())
        return false;
    const qsizetype idColumn = idField - matches.fields.cbegin();
    Recordset& subscribers = m_session.rsSubscribers;
    for (const auto& row : matches.rows) {
        try {
            subscribers.moveFirst();
            if (!subscribers.find(QStringLiteral("SubscriberObjectID=") + quoteLiteral(row[idColumn].toString())))
                continue;
        } catch (const KestraneError&) {
            continue;
        }
        if (addCurrentSubscriber())
            return true;
    }
    return false;
}

const QHash<QString, QString>& CsvReader::aliasIndex()
{
    if (!m_aliasIndex) {
        m_aliasIndex.emplace();
        Recordset& subscribers = m_session.rsSubscribers;
        for (subscribers.moveFirst(); !subscribers.eof(); subscribers.moveNext()) {
            const QVariant alias = subscribers.value(QStringLiteral("Alias"));
            if (alias.isNull())
                continue;   // Find never matches a null
            const QString key = Criterion::indexKey(alias.toString());
            if (!m_aliasIndex->contains(key))   // Find stops at the first
                m_aliasIndex->insert(key, subscribers.value(QStringLiteral("SubscriberObjectID")).toString());
        }
    }
    return *m_aliasIndex;
}

bool CsvReader::addByAlias(const QString& alias)
{
    Recordset& subscribers = m_session.rsSubscribers;
    try {
        const auto found = aliasIndex().constFind(Criterion::indexKey(alias));
        if (found == aliasIndex().cend())
            return false;
        subscribers.moveFirst();
        if (!subscribers.find(QStringLiteral("SubscriberObjectID=") + quoteLiteral(*found)))
            return false;
        const int type = subscribers.value(QStringLiteral("SubscriberType")).toInt();
        if (m_kind == 1 ? type != 1 && type != 3 : type != m_kind)
            return false;
    } catch (const KestraneError&) {
        return false;
    }
    return addCurrentSubscriber();
}

bool CsvReader::addCurrentSubscriber()
{
    Recordset& handlers = m_session.rsPrimaryCallHandlers;
    try {
        const QString handlerID = m_session.rsSubscribers.value(QStringLiteral("CallHandlerObjectID")).toString();
        handlers.moveFirst();
        if (!handlers.find(QStringLiteral("CallHandlerObjectID=") + quoteLiteral(handlerID)))
            return false;
    } catch (const KestraneError&) {
        return false;
    }
    m_addUserToGrid();
    ++m_result.usersAdded;
    if (m_usersAddedChanged)
        m_usersAddedChanged(m_result.usersAdded);
    return true;
}

}  // namespace

CsvImportResult LoadSubscribersFromCSV(Session& session, const QString& path, qint16 iSelectedSubscriberType,
                                       const std::function<void()>& AddUserToGrid,
                                       const SelectionProgress& progress, const MessageSink& messages,
                                       const std::function<void(int usersAdded)>& usersAddedChanged)
{
    if (progress.begin)
        progress.begin(0);
    CsvReader reader(session, iSelectedSubscriberType, AddUserToGrid, usersAddedChanged);
    const int failure = reader.read(path, progress);
    if (progress.end)
        progress.end();

    const Languages& languages = session.languages;
    if (failure)
        tell(messages, languages.mymyLoadString(failure));
    // Every subscriber offered to AddUserToGrid has passed a kind test at least as strict as
    // the one AddUserToGrid makes, so each call adds one grid row.
    const CsvImportResult& result = reader.result();
    tell(messages, languages.mymyLoadString(308) + signedCount(result.linesRead) + languages.mymyLoadString(309)
                       + signedCount(result.usersAdded) + languages.mymyLoadString(310));
    return result;
}
