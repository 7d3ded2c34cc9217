#include "handlers/HandlerCsv.h"

#include "core/Criterion.h"
#include "core/Errors.h"
#include "core/ExtensionRules.h"
#include "core/SelectionCsv.h"
#include "core/Session.h"

#include <QHash>

namespace {

// Value of `field` (as Find compares it) -> object ID of the first handler in list order holding
// it. Built once per file: without it every line would walk the whole list; the list's own
// index is on the object ID.
QHash<QString, QString> firstObjectIDByValue(Recordset& handlers, const QString& field)
{
    QHash<QString, QString> objectIDs;
    for (handlers.moveFirst(); !handlers.eof(); handlers.moveNext()) {
        const QVariant value = handlers.value(field);
        if (value.isNull())   // Find never matches a null
            continue;
        const QString key = Criterion::indexKey(value);
        if (!objectIDs.contains(key))   // Find stops at the first
            objectIDs.insert(key, handlers.value(QStringLiteral("CallHandlerObjectID")).toString());
    }
    return objectIDs;
}

class HandlerCsvReader {
public:
    HandlerCsvReader(Session& session, const std::function<void()>& addHandlerToGrid, const MessageSink& messages)
        : m_session(session), m_handlers(session.rsNonPrimaryCallHandlers), m_addHandlerToGrid(addHandlerToGrid),
          m_messages(messages)
    {
    }

    // The resource string number of the message that ends the reading early, 0 when none does.
    int read(const QString& path)
    {
        const SelectionCsvFile csv = readSelectionCsv(path, m_session.languages.mymyLoadString(300));
        if (csv.failure)
            return csv.failure;
        try {
            if (csv.extensionColumn >= 0)
                m_byExtension = firstObjectIDByValue(m_handlers, QStringLiteral("DTMFAccessID"));
            if (csv.aliasColumn >= 0)
                m_byAlias = firstObjectIDByValue(m_handlers, QStringLiteral("Alias"));
        } catch (const KestraneError&) {
            // A list that cannot be read finds nothing; the lines are still counted.
        }
        for (const QString& line : csv.dataLines) {
            ++m_linesRead;
            const QStringList fields = line.isEmpty() ? QStringList() : line.split(u',');
            const auto field = [&](int column) { return column >= 0 && column < fields.size() ? &fields[column] : nullptr; };
            const QString* extension = field(csv.extensionColumn);
            if (extension && isCsvNumber(*extension) && add(m_byExtension, *extension))
                continue;
            if (const QString* alias = field(csv.aliasColumn); alias && !add(m_byAlias, *alias))
                tell(m_messages, m_session.languages.mymyLoadString(126) + *alias + m_session.languages.mymyLoadString(9));
        }
        return 0;
    }

    int linesRead() const { return m_linesRead; }

private:
    // Positions the list on the handler holding `value` and adds it; false when none does.
    bool add(const QHash<QString, QString>& objectIDs, const QString& value)
    {
        const auto found = objectIDs.constFind(Criterion::indexKey(value));
        if (found == objectIDs.cend())
            return false;
        try {
            m_handlers.moveFirst();
            if (!m_handlers.find(QStringLiteral("CallHandlerObjectID=") + quoteLiteral(*found)))
                return false;
        } catch (const KestraneError&) {
            return false;
        }
        m_addHandlerToGrid();
        return true;
    }

    Session& m_session;
    Recordset& m_handlers;
    const std::function<void()>& m_addHandlerToGrid;
    const MessageSink& m_messages;
    QHash<QString, QString> m_byExtension;
    QHash<QString, QString> m_byAlias;
    int m_linesRead = 0;
};

}  // namespace

HandlerCsvResult LoadHandlersFromCSV(Session& session, const QString& path, const std::function<void()>& AddHandlerToGrid,
                                     const std::function<int()>& gridDataRows, const MessageSink& messages)
{
    const int startingRows = gridDataRows();
    HandlerCsvReader reader(session, AddHandlerToGrid, messages);
    const Languages& languages = session.languages;
    if (const int failure = reader.read(path))
        tell(messages, languages.mymyLoadString(failure));
    const HandlerCsvResult result{reader.linesRead(), gridDataRows() - startingRows};
    tell(messages, languages.mymyLoadString(308) + signedCount(result.linesRead) + languages.mymyLoadString(309)
                       + signedCount(result.handlersAdded) + languages.mymyLoadString(349));
    return result;
}
