#pragma once
// One greeting of the call handler options page: tab g of `SSTab2` (Standard, Closed, Busy,
// Alternate, Internal, Error), with its reprompts frame `frmReprompts`(g) and, in `Frame3`(g),
// the caller-input action group that runs after the greeting (index 13 + g).
#include "core/ui/CompositeGroup.h"

class CallerInputActionGroup;

class HandlerGreeting : public CompositeGroup {
public:
    HandlerGreeting(int greeting, QWidget* parent);

    // A group of its own: the page captions it with the other caller-input groups.
    CallerInputActionGroup* afterGreetingAction() const { return m_afterGreetingAction; }

protected:
    QList<Caption> captions() const override;

private:
    CallerInputActionGroup* m_afterGreetingAction;
};
