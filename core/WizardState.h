#pragma once
// What the wizard's pages hand each other, kept apart from their widgets so that an engine reads
// it without a window: the kind of object chosen on the start page, the rows of the selection
// grid as the selection page's Next left them, and the run log while an engine has one.
#include "core/RunLog.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <memory>

// One data row of a selection grid, as an engine reads it: the state of its "Selected" check
// box and its "Alias" and "ObjectID" cells.
struct SelectionGridRow {
    bool checked = false;
    QString alias;
    QString objectID;

    bool operator==(const SelectionGridRow&) const = default;
};

struct WizardState {
    // The kind chosen on the start page: 1 subscribers, 2 Internet, 5 AMIS, 7 Bridge, 8 VPIM,
    // 9 trusted, -1 call handlers.
    qint16 iSelectedSubscriberType = 1;

    // Every data row of the selection grid in grid order, checked or not: an engine steps its
    // progress for each of them and changes the checked ones.
    QList<SelectionGridRow> selectionGridRows;
    // The grid's row count as a grid counts it, the heading row included (1: no data rows).
    int selectionGridRowCount() const { return int(selectionGridRows.size()) + 1; }

    // The engines' run log, from the first run on; ExitApplication closes it.
    std::unique_ptr<RunLog> runLog;
};
