#pragma once
// One transfer rule of the Transfer tab: the tab of `tabSubscriberTransfer` for rule 0 to 5
// (Alternate, Closed, Standard, Follow-Me Here, Follow-Me Home, Follow-Me Mobile). The rule's
// lists stand in rows beside the frame `Frame5`(r) that edits the transfer number; the Follow-Me
// rules hold their rows in a frame `frameTransferRule`(r - 3) of their own.
#include "core/ui/CompositeGroup.h"

class TransferRulePage : public CompositeGroup {
public:
    static constexpr int RuleCount = 6;
    static constexpr int FirstFollowMe = 3;

    TransferRulePage(int rule, QWidget* parent);

    bool isFollowMe() const { return index() >= FirstFollowMe; }

protected:
    QList<Caption> captions() const override;
};
