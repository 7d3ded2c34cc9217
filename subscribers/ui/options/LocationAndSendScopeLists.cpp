// The steps of PopulateControls for the two lists with a hidden list of object IDs beside them:
// the delivery locations of the kind being edited and the name lookup handlers that limit
// message addressing. Each visible item carries the position of its ID in the hidden list.
#include "subscribers/ui/options/PopulateSteps.h"

#include "core/RunLog.h"
#include "core/Session.h"
#include "core/WizardState.h"
#include "core/ui/ControlValues.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <functional>

namespace SubscriberOptions {

namespace {

const QString kLocations = QStringLiteral("cmbLocationNewLocation");
const QString kLocationIDs = QStringLiteral("cmbLocationHiddenLocationObjectID");
const QString kSendScopes = QStringLiteral("cmbConversationSendScopeLimit");
const QString kSendScopeIDs = QStringLiteral("cmbConversationSendScopeLimitObjectID");

// A list and its hidden twin, filled together with their signals blocked.
struct ListPair {
    ListPair(FormStatements& run, const QString& visible, const QString& hidden)
        : shown(run.control<QComboBox>(visible)), ids(run.control<QComboBox>(hidden)), quietShown(shown), quietIDs(ids)
    {
    }
    void clear()
    {
        ids->clear();
        shown->clear();
    }

    QComboBox* shown;
    QComboBox* ids;
    QSignalBlocker quietShown;
    QSignalBlocker quietIDs;
};

// A field's text; a null value cannot become one.
QString textOf(const Recordset& rows, const QString& field)
{
    return itemTextOf(rows.value(field));
}

// Runs `addRow` for each row from the current one on, each row a statement of its own. The loop
// is left when its end-of-rows test (which a closed recordset fails) or the move to the next row
// fails.
void forEachRow(FormStatements& run, Recordset& rows, const std::function<void()>& addRow)
{
    for (;;) {
        bool more = false;
        run.run([&] {
            if (!rows.isOpen())
                throw KestraneError(ErrorNumber::OperationNotAllowedWhenClosed,
                                    QStringLiteral("Operation is not allowed when the object is closed."));
            more = !rows.eof();
        });
        if (!more)
            return;
        run.run(addRow);
        bool moved = false;
        run.run([&] {
            rows.moveNext();
            moved = true;
        });
        if (!moved)
            return;
    }
}

// Without locations of the kind neither list may keep an earlier kind's choice, which the engine
// would apply to these subscribers.
void emptyLocations(FormStatements& run)
{
    run.run([&] { ListPair(run, kLocations, kLocationIDs).clear(); });
}

}  // namespace

void fillDeliveryLocations(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    const qint16 kind = populate.state.iSelectedSubscriberType;
    if (!hasDeliveryLocations(kind)) {
        emptyLocations(run);
        return;
    }
    Recordset& locations = populate.session.rsLocations;
    const FilterGuard unfilter(locations);
    int matching = 0;
    run.run([&] {
        locations.setFilter(QString());
        // The kind as the platform writes a number; the filter compares it as a number.
        locations.setFilter(QStringLiteral("DestinationType='") + paddedNumber(kind) + u'\'');
        matching = locations.recordCount();
    });
    if (matching <= 0) {
        emptyLocations(run);
        return;
    }
    run.run([&] { locations.moveFirst(); });
    run.run([&] {
        ListPair pair(run, kLocations, kLocationIDs);
        pair.clear();
        addFixedTextItem(pair.shown, 20, run.text());
        pair.shown->setItemData(0, 0, ListRole::ItemData);
        pair.ids->addItem(QStringLiteral(" "));
        forEachRow(run, locations, [&] {
            const QString id = textOf(locations, QStringLiteral("LocationObjectID"));
            const QString name = textOf(locations, QStringLiteral("TextName"));
            pair.ids->addItem(id);
            pair.shown->addItem(name, int(pair.ids->count() - 1));
        });
        pair.shown->setCurrentIndex(0);
    });
}

void fillSendScopes(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    Recordset handlers;
    run.run([&] {
        handlers.open(QStringLiteral("SELECT TextName, NameLookupHandlerObjectID from NameLookupHandler"),
                      populate.session.database);
    });
    run.run([&] { handlers.moveFirst(); });
    run.run([&] {
        ListPair pair(run, kSendScopes, kSendScopeIDs);
        pair.clear();
        // "<Don't Change>" (0) and "<Set to empty>" (1), each with an empty ID.
        for (int fixed : {20, 514}) {
            addFixedTextItem(pair.shown, fixed, run.text());
            pair.shown->setItemData(pair.shown->count() - 1, pair.shown->count() - 1, ListRole::ItemData);
            pair.ids->addItem(QString(), pair.ids->count());
        }
        forEachRow(run, handlers, [&] {
            const QString name = textOf(handlers, QStringLiteral("TextName"));
            const QString id = textOf(handlers, QStringLiteral("NameLookupHandlerObjectID"));
            const int position = int(pair.ids->count());
            pair.shown->addItem(name, position);
            pair.ids->addItem(id, position);
        });
        pair.shown->setCurrentIndex(0);
    });
}

}  // namespace SubscriberOptions
