#pragma once
// What the free SQL dialogs need of the selection page that opened them: its check-box grid
// `myGrid` and its count box `txtUsersInGrid`. SelectionPage (core/ui/SelectionPage.h) is the
// one implementation; the kinds of target that add their own row are in search/ui.

class QString;

class SelectionGridTarget {
public:
    virtual ~SelectionGridTarget() = default;

    // Sets the grid's row count to 1: only the header row stays.
    virtual void clearGrid() = 0;
    // The grid's row count, header row included.
    virtual int gridRowCount() const = 0;
    // Sets the text of txtUsersInGrid.
    virtual void setUsersInGridText(const QString& text) = 0;
};
