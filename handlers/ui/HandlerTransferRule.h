#pragma once
// One transfer rule of the call handler options page: the frame `Frame6`(f) on tab t of
// `SSTab4` (HandlerOptionNames::kTransferRules gives f and the labels' elements). The first three
// rules caption their labels in the current language; the Follow-Me rules keep fixed texts.
#include "core/ui/CompositeGroup.h"

class HandlerTransferRule : public CompositeGroup {
public:
    HandlerTransferRule(int rule, QWidget* parent);

    bool isFollowMe() const;

protected:
    QList<Caption> captions() const override;
};
