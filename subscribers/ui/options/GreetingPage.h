#pragma once
// One greeting of the Greetings tab: the tab of `tabGreetings` for greeting 0 to 5 (Standard,
// Closed, Busy, Alternate, Internal, Error), with its reprompts frame `frmReprompts`(g) and, in
// `Frame3`(g), the caller-input action group that runs after the greeting (index 13 + g).
#include "core/ui/CompositeGroup.h"

class CallerInputActionGroup;

class GreetingPage : public CompositeGroup {
public:
    static constexpr int GreetingCount = 6;
    static constexpr int Standard = 0;
    static constexpr int Alternate = 3;

    GreetingPage(int greeting, QWidget* parent);

    CallerInputActionGroup* afterGreetingAction() const { return m_afterGreetingAction; }

    // The captions of the whole page: the greeting's own, the Alternate greeting's check boxes
    // and the after-greeting action group's.
    void applyPageCaptions(const StringLookup& text);

protected:
    QList<Caption> captions() const override;

private:
    CallerInputActionGroup* m_afterGreetingAction;
};
