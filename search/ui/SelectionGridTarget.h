#pragma once
// The two kinds of selection page the free SQL dialogs fill: the subscriber selection page
// (frmChooseSubscribers) implements SubscriberGridTarget, the call handler selection page
// (frmChooseHandlers) HandlerGridTarget. The base is virtual, so that the grid functions a page
// gets from SelectionPage (core/ui/SelectionPage.h) serve it.
#include "core/ui/SelectionGridTarget.h"

class SubscriberGridTarget : public virtual SelectionGridTarget {
public:
    // Adds one checked row for the subscriber at the current record of session.rsSubscribers,
    // whose primary call handler is the current record of session.rsPrimaryCallHandlers; the
    // caller positions both lists first. Adds nothing for a subscriber of another kind than the
    // one chosen on the start page.
    virtual void AddUserToGrid() = 0;
};

class HandlerGridTarget : public virtual SelectionGridTarget {
public:
    // Adds one checked row for the call handler at the current record of
    // session.rsNonPrimaryCallHandlers; the caller positions the list first. Adds nothing for a
    // primary call handler.
    virtual void AddHandlerToGrid() = 0;
};
