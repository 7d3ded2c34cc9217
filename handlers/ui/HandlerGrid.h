#pragma once
// The check-box grid of the call handler selection page (`myGrid`, see KeyedCheckGrid): one
// call handler per row, with the columns
//
//   0 (no key, hidden: the row's number when it was added), 1 selected (check box), 2 Alias,
//   3 DisplayName, 4 Extension, 5 MessageRecipient, 6 HandlerOwner, 7 ObjectID (hidden).
//
// A click on the header row changes nothing.
#include "core/ui/KeyedCheckGrid.h"
#include "handlers/HandlerRows.h"

class HandlerGrid : public KeyedCheckGrid {
    Q_OBJECT
public:
    explicit HandlerGrid(QWidget* parent = nullptr);

    using KeyedCheckGrid::appendRow;
    // Adds a checked row at the end; column 0 gets the new row's index ("1" for the first).
    void appendRow(const HandlerGridRow& row);
};
