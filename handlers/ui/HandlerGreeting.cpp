#include "handlers/ui/HandlerGreeting.h"

#include "core/ui/GreetingSourceControls.h"
#include "handlers/HandlerOptionNames.h"
#include "resources/EnglishStrings.h"
#include "search/ui/CallerInputActionGroup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace HandlerOptionNames;

HandlerGreeting::HandlerGreeting(int greeting, QWidget* parent) : CompositeGroup(greeting, parent)
{
    auto* rows = new QGridLayout;
    rows->addWidget(element(new QLabel, "label11"), 0, 0);
    rows->addWidget(element(new QComboBox, "comGreetingEnabled"), 0, 1);
    if (greeting == 0)   // the Standard greeting cannot be disabled
        rows->addWidget(named(new QLabel, "Label12"), 0, 2, 1, 2);
    rows->addWidget(element(new QLabel, "Label23"), 1, 0);
    rows->addWidget(element(new QComboBox, "comGreetingAllowInput"), 1, 1);

    // Browse has no caption in the string table: its text is fixed.
    addGreetingSourceRow(*rows, 2, qint16(greeting), element(new QLabel, "Label23", SourceLabel))->setText(QStringLiteral("Browse"));

    // Shown and captioned by server version (the page's caption routine).
    rows->addWidget(element(new QLabel(resources::englishString(489)), "Label23", RecordPromptLabel), 3, 0);
    rows->addWidget(element(new QComboBox, "comGreetingPlayPleaseRecord"), 3, 1);
    rows->setColumnStretch(3, 1);

    auto* reprompts = element(new QGroupBox, "frmReprompts");
    auto* replayRows = new QGridLayout(reprompts);
    const char* const replayRowNames[][3] = {{"Label34", "txtGreetingReplayTimes", "Label35"},
                                             {"Label36", "txtGreetingSecondsBetweenReplays", "Label37"}};
    for (int line = 0; line < 2; ++line) {
        replayRows->addWidget(element(new QLabel, replayRowNames[line][0]), line, 0);
        auto* box = element(new QLineEdit, replayRowNames[line][1]);
        box->setMaxLength(ReplayMaxLength);
        replayRows->addWidget(box, line, 1);
        replayRows->addWidget(element(new QLabel, replayRowNames[line][2]), line, 2);
    }

    auto* afterGreeting = element(new QGroupBox, "Frame3");
    m_afterGreetingAction = CallerInputActionGroup::placeIn(afterGreeting, FirstAfterGreetingInput + greeting, {.numberToDial = false});

    auto* page = new QVBoxLayout(this);
    page->addLayout(rows);
    page->addWidget(reprompts, 0, Qt::AlignLeft);
    page->addWidget(afterGreeting);
    page->addStretch(1);

    applyCaptions(resources::englishString);
}

QList<CompositeGroup::Caption> HandlerGreeting::captions() const
{
    return {
        {"label11", 119},         {"Label23", 43},  {"Label23", 456, SourceLabel}, {"frmReprompts", 222},
        {"Label34", 220},         {"Label35", 272}, {"Label36", 228},              {"Label37", 11},
        {"Frame3", 27},
    };
}
