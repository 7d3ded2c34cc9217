// The Transfer tab: the tab control `tabSubscriberTransfer`, one tab per transfer rule.
#include "subscribers/ui/options/OptionsTabs.h"
#include "subscribers/ui/options/TransferRulePage.h"

#include "core/ui/Captions.h"
#include "resources/EnglishStrings.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

namespace SubscriberOptions {
namespace {

constexpr std::array<CaptionRow, TransferRulePage::RuleCount> ruleTabCaptions{{
    {"tabSubscriberTransfer", 0, 44},
    {"tabSubscriberTransfer", 1, 101},
    {"tabSubscriberTransfer", 2, 250},
    {"tabSubscriberTransfer", 3, 552},
    {"tabSubscriberTransfer", 4, 553},
    {"tabSubscriberTransfer", 5, 554},
}};
// The Closed rule's tab is laid out under its older name.
constexpr int ClosedRule = 1;

void buildTransferTab(QWidget* page)
{
    auto* rules = named(new QTabWidget, "tabSubscriberTransfer");
    for (const CaptionRow& tab : ruleTabCaptions)
        rules->addTab(new TransferRulePage(tab.index, nullptr),
                      tab.index == ClosedRule ? QStringLiteral("Off Hours") : resources::englishString(tab.string));
    (new QVBoxLayout(page))->addWidget(rules);
}

void captionTransferTab(QWidget* page, const StringLookup& text)
{
    auto* rules = page->findChild<QTabWidget*>(QStringLiteral("tabSubscriberTransfer"));
    for (int rule = 0; rules && rule < rules->count(); ++rule)
        if (auto* group = dynamic_cast<CompositeGroup*>(rules->widget(rule)))
            group->applyCaptions(text);
    applyCaptions(page, ruleTabCaptions, text);
}

}  // namespace

const TabBuilder transferTab{buildTransferTab, captionTransferTab};

}  // namespace SubscriberOptions
