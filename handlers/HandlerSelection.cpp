#include "handlers/HandlerSelection.h"

#include "core/Criterion.h"
#include "core/Errors.h"
#include "core/ExtensionRules.h"
#include "core/Session.h"

#include <optional>

namespace {

using Type = HandlerSelectionType;

// Clears the list's filter however the selection ends.
class FilterCleared {
public:
    explicit FilterCleared(Recordset& list) : m_list(list) {}
    ~FilterCleared()
    {
        if (m_list.isOpen())
            m_list.setFilter(QString());
    }
    FilterCleared(const FilterCleared&) = delete;
    FilterCleared& operator=(const FilterCleared&) = delete;

private:
    Recordset& m_list;
};

class Walk {
public:
    Walk(Session& session, const std::function<void()>& addHandlerToGrid, const std::function<void(int)>& handlerAdded)
        : m_handlers(session.rsNonPrimaryCallHandlers), m_addHandlerToGrid(addHandlerToGrid), m_handlerAdded(handlerAdded)
    {
    }

    // Visits every non-primary row of the list in order and adds those `matches` takes. A row
    // whose test fails is passed over.
    template <typename Matches> void run(Matches&& matches)
    {
        for (m_handlers.moveFirst(); !m_handlers.eof(); m_handlers.moveNext()) {
            try {
                if (m_handlers.value(QStringLiteral("IsPrimary")).toInt() != 0 || !matches())
                    continue;
            } catch (const KestraneError&) {
                continue;
            }
            ++m_added;
            if (m_handlerAdded)
                m_handlerAdded(m_added);
            m_addHandlerToGrid();
        }
    }

private:
    Recordset& m_handlers;
    const std::function<void()>& m_addHandlerToGrid;
    const std::function<void(int)>& m_handlerAdded;
    int m_added = 0;
};

// The first contact rule's switch of the current handler; nothing when it has no rules.
std::optional<int> firstRuleSwitch(Session& session)
{
    static const QString kRules = QStringLiteral("SELECT * FROM vw_ContactRule WHERE ParentObjectID=?");
    const QString handlerID = session.rsNonPrimaryCallHandlers.value(QStringLiteral("CallHandlerObjectID")).toString();
    const QueryResult rules = session.database.select(kRules, {handlerID});
    if (rules.rows.isEmpty())
        return std::nullopt;
    for (qsizetype column = 0; column < rules.fields.size(); ++column)
        if (rules.fields[column].compare(QLatin1String("SwitchID"), Qt::CaseInsensitive) == 0)
            return qint16(rules.rows.first()[column].toInt());   // null reads as 0
    throw KestraneError(ErrorNumber::ItemNotFound, QStringLiteral("SwitchID"));
}

}  // namespace

void runHandlerSelection(Session& session, const HandlerSelectionCriteria& criteria,
                         const std::function<void()>& addHandlerToGrid, const std::function<void(int added)>& handlerAdded,
                         const MessageSink& messages)
{
    const auto text = [&](int number) { return session.languages.mymyLoadString(number); };
    Recordset& handlers = session.rsNonPrimaryCallHandlers;
    Walk walk(session, addHandlerToGrid, handlerAdded);
    try {
        switch (criteria.type) {
        case Type::AllHandlers:
            walk.run([] { return true; });
            return;
        case Type::ExtensionRange: {
            const ExtensionRangeCheck range = checkExtensionRange(criteria.extensionLow, criteria.extensionHigh);
            if (range.message)
                return tell(messages, text(range.message));
            walk.run([&] {
                const QVariant extension = handlers.value(QStringLiteral("DTMFAccessID"));
                const double value = extension.isNull() ? -1.0 : leadingNumber(extension.toString());
                return range.low <= value && value <= range.high;
            });
            return;
        }
        case Type::Switch: {
            if (criteria.switchName.isEmpty())
                return tell(messages, text(331));
            const qint16 chosen = qint16(criteria.switchID);
            walk.run([&] { return firstRuleSwitch(session) == chosen; });
            return;
        }
        case Type::OwnerSubscriber:
        case Type::OwnerDistributionList:
        case Type::RecipientSubscriber:
        case Type::RecipientDistributionList: {
            const bool ofList = criteria.type == Type::OwnerDistributionList || criteria.type == Type::RecipientDistributionList;
            if (criteria.pickedName.isEmpty())
                return tell(messages, text(ofList ? 334 : 335));
            const bool owner = criteria.type == Type::OwnerSubscriber || criteria.type == Type::OwnerDistributionList;
            const FilterCleared unfilter(handlers);
            handlers.setFilter(QString());
            handlers.setFilter((owner ? QStringLiteral("AdministratorObjectID=") : QStringLiteral("RecipientObjectID="))
                               + quoteLiteral(criteria.pickedObjectID));
            walk.run([] { return true; });
            return;
        }
        case Type::CsvFile:
            return;
        }
    } catch (const KestraneError&) {
        // A failure outside a handler's own test ends the walk without a message; the handlers
        // added so far stay.
    }
}
