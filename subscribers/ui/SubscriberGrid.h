#pragma once
// The check-box grid of the subscriber selection page (`myGrid`, see KeyedCheckGrid): one
// subscriber per row, with the columns
//
//   0 (no key, hidden: the row's number when it was added), 1 Selected (check box), 2 Alias,
//   3 DisplayName, 4 FirstName, 5 LastName, 6 Extension, 7 HomeServer, 8 COS, 9 LegacyMailbox,
//   10 RemoteNodeID, 11 HandlerObjectID (hidden), 12 ObjectID (hidden).
//
// Clicking a column header sorts the rows by that column.
#include "core/ui/KeyedCheckGrid.h"
#include "subscribers/SelectionRows.h"

class SubscriberGrid : public KeyedCheckGrid {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 13;

    explicit SubscriberGrid(QWidget* parent = nullptr);

    // Column of a key ("selected" finds "Selected"); -1 for an unknown key.
    static int columnOfKey(const QString& key);

    using KeyedCheckGrid::appendRow;
    // Adds a checked row at the end; column 0 gets the new row's index ("1" for the first).
    void appendRow(const SubscriberGridRow& row);

    QList<SelectionGridRow> checkedSubscribers() const { return checkedRows(); }
};
