// Tabs 9 and 10 of the options page, Extension and Alt. Extensions: the arithmetic that derives
// a subscriber's new primary extension, and an alternate extension, from the primary one.
#include "subscribers/ui/options/ExtensionRulesPanel.h"
#include "subscribers/ui/options/OptionRows.h"
#include "subscribers/ui/options/OptionsTabs.h"

#include "core/ui/Captions.h"
#include "resources/EnglishStrings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace SubscriberOptions {
namespace {

constexpr int AppendMaxLength = 10;
constexpr int NumberMaxLength = 9;

const ExtensionRulesPanel::Names primaryRules{
    {{"chkSubscriberExtensionStripAllButRightMost", "txtSubscriberExtensionStripAllButrightMost",
      "scrollSubscriberExtensionStripAllButRightMost", "Label31", 5},
     {"chkSubscriberExtensionStripAllButLeftMost", "txtSubscriberExtensionStripAllButLeftMost",
      "scrollSubscriberExtensionStripAllButLeftMost", "Label31", 4},
     {"chkSubscriberExtensionRemoveLeftMost", "txtSubscriberExtensionRemoveLeftMost", "scrollSubscriberExtensionRemoveLeftMost",
      "Label31", 0},
     {"chkSubscriberExtensionRemoveRightMost", "txtSubscriberExtensionRemoveRightMost", "scrollSubsciberExtensionRemoveRightMost",
      "Label31", 1}},
    {{"chkSubscriberExtensionAppendToLeft", "txtSubscriberExtensionAppendToLeft", AppendMaxLength},
     {"chkSubscriberExtensionAppendToRight", "txtSubscriberExtensionAppendToRight", AppendMaxLength},
     {"chkSubscriberExtensionAddValue", "txtSubscriberExtensionAdd", NumberMaxLength},
     {"chkSubscriberExtensionSubtractValue", "txtSubscriberExtensionSubtract", NumberMaxLength}},
    "Label31", 2, "txtSubscriberExtensionTestNumber", "cmdSubscriberExtensionTest", 3, "txtSubscriberExtensionTestResult",
};

const ExtensionRulesPanel::Names alternateRules{
    {{"chkAltExtStripAllButRightMost", "txtAltExtStripAllButRightMost", "scrollAltExtStripAllButrightMost", "lblDigits", 0},
     {"chkAltExtStripAllButLeftMost", "txtAltExtStripAllButLeftMost", "scrollAltExtStripAllButLeftMost", "lblDigits", 1},
     {"chkAltExtRemoveLeftMost", "txtAltExtRemoveLeftMost", "scrollAltExtRemoveLeftMost", "lblDigits", 2},
     {"chkAltExtRemoveRightMost", "txtAltExtRemoveRightMost", "scrollAltExtRemoveRightMost", "lblDigits", 3}},
    {{"chkAltExtAppendToLeft", "txtAltExtAppendToLeft", AppendMaxLength},
     {"chkAltExtAppendToRight", "txtAltExtAppendToRight", AppendMaxLength},
     {"chkAltExtAddValue", "txtAltExtAddValue", NumberMaxLength},
     {"chkAltExtSubtractValue", "txtAltExtSubtractValue", NumberMaxLength}},
    "label11", 39, "txtAltExtTestExtension", "cmdAltExtTest", 40, "txtAltExtTestExtensionResult",
};

const CaptionRow extensionCaptions[] = {
    {"label11", 45, 294},
    {"chkSubscriberExtensionStripAllButRightMost", NoIndex, 252},
    {"chkSubscriberExtensionStripAllButLeftMost", NoIndex, 251},
    {"chkSubscriberExtensionRemoveLeftMost", NoIndex, 218},
    {"chkSubscriberExtensionRemoveRightMost", NoIndex, 219},
    {"chkSubscriberExtensionAppendToLeft", NoIndex, 59},
    {"chkSubscriberExtensionAppendToRight", NoIndex, 60},
    {"chkSubscriberExtensionAddValue", NoIndex, 25},
    {"chkSubscriberExtensionSubtractValue", NoIndex, 257},
    {"Label31", 5, 106}, {"Label31", 4, 106}, {"Label31", 0, 106}, {"Label31", 1, 106},
    {"Label31", 2, 262},
    {"cmdSubscriberExtensionTest", NoIndex, 261},
    {"Label31", 3, 190},
};

void captionExtension(QWidget* page, const StringLookup& text)
{
    applyCaptions(page, extensionCaptions, text);
}

void buildExtension(QWidget* page)
{
    auto* column = new QVBoxLayout(page);
    column->addWidget(note("label11", 45));
    column->addWidget(new ExtensionRulesPanel(primaryRules));
    column->addStretch(1);
    captionExtension(page, resources::englishString);
}

// Laid out in English; PopulateControls captions them.
void buildAltExtensions(QWidget* page)
{
    auto* column = new QVBoxLayout(page);
    auto* slotRow = new QHBoxLayout;
    slotRow->addWidget(list("cmbSubscriberAlternateExtensionSlot"));
    slotRow->addWidget(checkBox("chkSubscriberAlternateExtensionsRemoveAll",
                                QStringLiteral("Remove all alternate extensions for selected subscribers")));
    slotRow->addWidget(checkBox("chkSubscriberAlternateExtensionRemoveSelected", QStringLiteral("Delete selected alternate extension")));
    slotRow->addStretch(1);
    column->addLayout(slotRow);
    column->addWidget(note("label11", 41,
                           QStringLiteral("WARNING!  This will delete ALL alternate extensions for selected subscribers!  Proceed "
                                          "with caution!")));
    column->addWidget(note("label11", 38,
                           QStringLiteral("Starting with the subscriber's primary extension you can create an alternate extension by "
                                          "manipulating that value using the following actions.  More than one action can be "
                                          "selected, they are processed from the top down. If the resulting extension is invalid "
                                          "or a duplicate in the system, an error will be logged and processing will continue.")));
    column->addWidget(new ExtensionRulesPanel(alternateRules));
    column->addStretch(1);
}

// Every caption of the tab is PopulateControls' (a few "Digits" labels nobody's): the caption
// routine leaves the tab as laid out.
void captionAltExtensions(QWidget*, const StringLookup&) {}

}  // namespace

const TabBuilder extensionTab{buildExtension, captionExtension};
const TabBuilder altExtensionsTab{buildAltExtensions, captionAltExtensions};

}  // namespace SubscriberOptions
