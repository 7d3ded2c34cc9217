#pragma once
// What the free SQL dialogs need of the selection page that opened them: its check-box grid
// `myGrid` and its count box `txtUsersInGrid`. The subscriber selection page
// (frmChooseSubscribers) implements SubscriberGridTarget, the call handler selection page
// (frmChooseHandlers) HandlerGridTarget.

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

class SubscriberGridTarget : public SelectionGridTarget {
public:
    // Adds one checked row for the subscriber at the current record of session.rsSubscribers,
    // whose primary call handler is the current record of session.rsPrimaryCallHandlers; the
    // caller positions both lists first. Adds nothing for a subscriber of another kind than the
    // one chosen on the start page.
    virtual void AddUserToGrid() = 0;
};

class HandlerGridTarget : public SelectionGridTarget {
public:
    // Adds one checked row for the call handler at the current record of
    // session.rsNonPrimaryCallHandlers; the caller positions the list first. Adds nothing for a
    // primary call handler.
    virtual void AddHandlerToGrid() = 0;
};
