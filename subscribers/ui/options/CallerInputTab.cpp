// Tab 6 of the options page, Caller Input: the wait and digit-editing rows of the caller's input,
// and one key tab per key "0" to "9", "*", "#", each holding that key's action group.
#include "subscribers/ui/options/OptionsTabs.h"

#include "core/ui/Captions.h"
#include "core/ui/FormBuilding.h"
#include "resources/EnglishStrings.h"
#include "search/ui/CallerInputActionGroup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include <iterator>

namespace SubscriberOptions {
namespace {

// The key tabs' captions are fixed, in every language.
constexpr const char* keyTabCaptions[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "#"};
static_assert(std::size(keyTabCaptions) == CallerInputActionGroup::KeyGroups);

constexpr CaptionRow captionRows[] = {
    {"label11", 26, 187},
    {"label11", 27, 12},
};

QString keyFrameName(int key)
{
    return elementName(QStringLiteral("Frame4"), key);
}

void build(QWidget* page)
{
    auto* rows = new QGridLayout;
    rows->addWidget(namedElement(new QLabel, "label11", 26), 0, 0);
    rows->addWidget(named(new QLineEdit, "txtCallerInputMilisecondsToWait"), 0, 1);
    rows->addWidget(namedElement(new QLabel, "label11", 27), 0, 3);

    // The digit-editing rows: PopulateControls captions them.
    struct DigitsRow {
        int label;
        const char* labelText;
        const char* box;
        const char* clear;
        int hint;
    };
    const DigitsRow digitsRows[] = {
        {48, "Prepend digits with:", "txtCallerInputPrependDigits", "chkCallerInputPrependDigitsClear", 50},
        {49, "Postpend digits with:", "txtCallerInputPostPendDigits", "chkCallerInputPostPendDigitsClear", 51},
    };
    int row = 1;
    for (const DigitsRow& digits : digitsRows) {
        rows->addWidget(namedElement(new QLabel(QLatin1String(digits.labelText)), "label11", digits.label), row, 0);
        rows->addWidget(named(new QLineEdit, digits.box), row, 1);
        rows->addWidget(named(new QCheckBox(QStringLiteral("Clear")), digits.clear), row, 2);
        rows->addWidget(namedElement(new QLabel(QStringLiteral("(blank skips field)")), "label11", digits.hint), row, 3);
        ++row;
    }
    rows->setColumnStretch(4, 1);

    auto* keys = namedElement(new QTabWidget, "tabCallerInput", 0);
    for (int key = 0; key < CallerInputActionGroup::KeyGroups; ++key) {
        auto* keyPage = new QWidget;
        auto* frame = new QGroupBox;
        frame->setObjectName(keyFrameName(key));
        CallerInputActionGroup::placeIn(frame, key);
        auto* keyLayout = new QVBoxLayout(keyPage);
        keyLayout->addWidget(frame);
        keyLayout->addStretch(1);
        keys->addTab(keyPage, QLatin1String(keyTabCaptions[key]));
    }

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(rows);
    layout->addWidget(keys);
    layout->addStretch(1);
    applyCaptions(page, captionRows, resources::englishString);
}

void caption(QWidget* page, const StringLookup& text)
{
    applyCaptions(page, captionRows, text);
    for (int key = 0; key < CallerInputActionGroup::KeyGroups; ++key)
        if (CallerInputActionGroup* group = CallerInputActionGroup::inFrame(page, keyFrameName(key)))
            group->applyCaptions(text);
}

}  // namespace

const TabBuilder callerInputTab{build, caption};

}  // namespace SubscriberOptions
