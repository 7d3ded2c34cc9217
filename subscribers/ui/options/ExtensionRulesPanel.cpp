#include "subscribers/ui/options/ExtensionRulesPanel.h"

#include "subscribers/ui/options/OptionRows.h"

#include "core/ExtensionRules.h"
#include "resources/EnglishStrings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

using namespace SubscriberOptions;

namespace {

// Laid-out captions, the same on both tabs: the check boxes of the count rules and of the value
// rules, in the order of Names.
constexpr int CountRuleCaptions[] = {252, 251, 218, 219};
constexpr int ValueRuleCaptions[] = {59, 60, 25, 257};
constexpr int DigitsCaption = 106;
constexpr int TestNumberCaption = 262;
constexpr int TestCaption = 261;
constexpr int ResultCaption = 190;

constexpr int TestNumberMaxLength = 30;

QString english(int string)
{
    return resources::englishString(string);
}

// A count box with its spin control at its right edge, and its "Digits" label.
QWidget* countWithSpin(const ExtensionRulesPanel::CountRule& rule)
{
    auto* pair = new QWidget;
    auto* row = new QHBoxLayout(pair);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    QLineEdit* count = textBox(rule.count);
    count->setReadOnly(true);
    count->setText(QStringLiteral("1"));
    auto* spin = named(new QScrollBar(Qt::Vertical), rule.spin);
    spin->setRange(0, ExtensionRulesPanel::SpinMaximum);
    spin->setSingleStep(1);
    spin->setPageStep(1);
    spin->setValue(ExtensionRulesPanel::SpinMaximum);
    // The top of the spin control is the largest count: 10 at position 0, 1 at the bottom.
    QObject::connect(spin, &QScrollBar::valueChanged, count,
                     [count](int position) { count->setText(signedCount(ExtensionRulesPanel::SpinMaximum - position + 1)); });
    spin->setFixedHeight(count->sizeHint().height());
    // Wide enough for the largest count, 10.
    count->setFixedWidth(count->fontMetrics().horizontalAdvance(QStringLiteral(" 100")) + count->sizeHint().height());
    row->addWidget(count);
    row->addWidget(spin);
    row->addSpacing(count->sizeHint().height() / 2);
    row->addWidget(label(rule.digitsArray, rule.digits, english(DigitsCaption)));
    row->addStretch(1);
    return pair;
}

}  // namespace

ExtensionRulesPanel::ExtensionRulesPanel(const Names& names, QWidget* parent) : QWidget(parent)
{
    OptionRows rows(this);
    for (int i = 0; i < 4; ++i) {
        const CountRule& rule = names.counts[i];
        rows.row({checkBox(rule.check, english(CountRuleCaptions[i])), countWithSpin(rule)});
    }
    for (int i = 0; i < 4; ++i) {
        const ValueRule& rule = names.values[i];
        rows.row({checkBox(rule.check, english(ValueRuleCaptions[i])), textBox(rule.value, rule.maxLength)});
    }
    QLineEdit* result = textBox(names.result);
    result->setReadOnly(true);
    auto* testRow = new QWidget;
    auto* test = new QHBoxLayout(testRow);
    test->setContentsMargins(0, 0, 0, 0);
    test->addWidget(label(names.testLabelArray, names.testNumberLabel, english(TestNumberCaption)));
    test->addWidget(textBox(names.testNumber, TestNumberMaxLength));
    test->addWidget(button(names.test, english(TestCaption)));
    test->addWidget(label(names.testLabelArray, names.resultLabel, english(ResultCaption)));
    test->addWidget(result);
    test->addStretch(1);
    rows.wide(testRow).end();
}
