#include "subscribers/ui/options/GreetingPage.h"

#include "search/ui/CallerInputActionGroup.h"

#include "core/ui/Captions.h"
#include "core/ui/GreetingSourceControls.h"
#include "resources/EnglishStrings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// Elements of `label11` and `Label23` that a greeting g has besides element g.
constexpr int RecordPromptLabel = 20;         // label11(20 + g)
constexpr int StandardCannotBeDisabled = 35;  // label11(35), on the Standard greeting only
constexpr int SourceLabel = 6;                // Label23(6 + g)

// The Alternate greeting's check boxes, top to bottom. The first governs the other three.
constexpr CaptionRow alternateGreetingBoxes[] = {
    {"chkGreetingsAlternateApplyEnhancedAlternateGreetingSettings", NoIndex, 364},
    {"chkGreetingAlternateDontRingPhone", NoIndex, 361},
    {"chkGreetingAlternatePreventSkip", NoIndex, 363},
    {"chkGreetingAlternatePreventMessage", NoIndex, 362},
};

}  // namespace

GreetingPage::GreetingPage(int greeting, QWidget* parent) : CompositeGroup(greeting, parent)
{
    auto* rows = new QGridLayout;
    rows->addWidget(element(new QLabel, "label11"), 0, 0);
    rows->addWidget(element(new QComboBox, "comGreetingEnabled"), 0, 1);
    if (greeting == Standard)
        rows->addWidget(element(new QLabel, "label11", StandardCannotBeDisabled), 0, 2, 1, 2);
    rows->addWidget(element(new QLabel, "Label23"), 1, 0);
    rows->addWidget(element(new QComboBox, "comGreetingAllowInput"), 1, 1);

    addGreetingSourceRow(*rows, 2, qint16(greeting), element(new QLabel, "Label23", SourceLabel));

    // Shown and captioned by server version on the page: laid out with the English string.
    rows->addWidget(element(new QLabel(resources::englishString(489)), "label11", RecordPromptLabel), 3, 0);
    rows->addWidget(element(new QComboBox, "comGreetingPlayPleaseRecord"), 3, 1);
    rows->setColumnStretch(3, 1);
    // Height the Alternate greeting's check boxes need beyond the rows goes below them: the rows
    // keep their spacing, whichever of them the server version hides.
    rows->setRowStretch(4, 1);

    auto* reprompts = element(new QGroupBox, "frmReprompts");
    auto* replayRows = new QGridLayout(reprompts);
    replayRows->addWidget(element(new QLabel, "Label34"), 0, 0);
    replayRows->addWidget(element(new QLineEdit, "txtGreetingReplayTimes"), 0, 1);
    replayRows->addWidget(element(new QLabel, "Label35"), 0, 2);
    replayRows->addWidget(element(new QLabel, "Label36"), 1, 0);
    replayRows->addWidget(element(new QLineEdit, "txtGreetingSecondsBetweenReplays"), 1, 1);
    replayRows->addWidget(element(new QLabel, "Label37"), 1, 2);

    auto* afterGreeting = element(new QGroupBox, "Frame3");
    m_afterGreetingAction = new CallerInputActionGroup(CallerInputActionGroup::FirstAfterGreeting + greeting, afterGreeting);
    (new QVBoxLayout(afterGreeting))->addWidget(m_afterGreetingAction);

    auto* top = new QHBoxLayout;
    top->addLayout(rows, 1);
    if (greeting == Alternate) {
        // Laid out hidden, the three governed boxes also disabled: the page shows them by
        // server version and the first box enables the others.
        auto* boxes = new QVBoxLayout;
        for (const CaptionRow& row : alternateGreetingBoxes) {
            auto* box = named(new QCheckBox, row.control);
            const bool governing = &row == &alternateGreetingBoxes[0];
            box->setEnabled(governing);
            box->hide();
            boxes->addWidget(box);
        }
        boxes->addStretch(1);
        top->addLayout(boxes);
    }
    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(reprompts, 0, Qt::AlignLeft);
    page->addWidget(afterGreeting);
    page->addStretch(1);

    applyPageCaptions(resources::englishString);
}

void GreetingPage::applyPageCaptions(const StringLookup& text)
{
    applyCaptions(text);
    if (index() == Alternate)
        ::applyCaptions(this, alternateGreetingBoxes, text);
    m_afterGreetingAction->applyCaptions(text);
}

QList<CompositeGroup::Caption> GreetingPage::captions() const
{
    QList<Caption> rows{
        {"label11", 119},
        {"Label23", 43},
        {"Label23", 456, SourceLabel},
        {"cmdGreetingsourceWAVSelect", 69},
        {"frmReprompts", 222},
        {"Label34", 220},
        {"Label35", 272},
        {"Label36", 228},
        {"Label37", 11},
        {"Frame3", 27},
    };
    if (index() == Standard)
        rows.push_back({"label11", 10, StandardCannotBeDisabled});
    return rows;
}
