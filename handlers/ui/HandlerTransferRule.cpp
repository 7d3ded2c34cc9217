#include "handlers/ui/HandlerTransferRule.h"

#include "handlers/HandlerOptionNames.h"
#include "resources/EnglishStrings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

using namespace HandlerOptionNames;

HandlerTransferRule::HandlerTransferRule(int rule, QWidget* parent) : CompositeGroup(rule, parent)
{
    const TransferRule& names = kTransferRules[rule];
    // A row's label: laid out in English; the Follow-Me rules' labels keep their fixed text.
    const auto label = [&](const char* array, int element, const TransferField& field) {
        return namedElement(new QLabel(isFollowMe() ? QString::fromLatin1(field.followMeCaption)
                                                    : resources::englishString(field.string)),
                            array, element);
    };

    auto* frame = namedElement(new QGroupBox, "Frame6", names.frame);
    auto* rows = new QGridLayout(frame);
    int line = 0;
    rows->addWidget(label("Label1", names.transferToLabel, kTransferToField), line, 0);
    rows->addWidget(element(new QComboBox, kTransferToField.control), line++, 1);
    rows->addWidget(label("Label18", rule, kRingsField), line, 0);
    auto* rings = element(new QLineEdit, kRingsField.control);
    if (names.ringsMaxLength > 0)
        rings->setMaxLength(names.ringsMaxLength);
    rows->addWidget(rings, line, 1);
    rows->addWidget(label("Label19", rule, kRingsHint), line++, 2);
    for (int field = 0; field < int(std::size(kTransferFields)); ++field) {
        rows->addWidget(label("Label10", names.firstFieldLabel + field, kTransferFields[field]), line, 0);
        rows->addWidget(element(new QComboBox, kTransferFields[field].control), line++, 1);
    }
    // Shown by server version on the first three rules (the caption routine).
    rows->addWidget(label("Label10", names.waitPromptLabel, kWaitPromptField), line, 0);
    rows->addWidget(element(new QComboBox, kWaitPromptField.control), line++, 1);
    rows->setColumnStretch(1, 1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(frame, 0, Qt::AlignLeft | Qt::AlignTop);
    page->addStretch(1);
}

bool HandlerTransferRule::isFollowMe() const
{
    return index() >= FirstFollowMe;
}

QList<CompositeGroup::Caption> HandlerTransferRule::captions() const
{
    if (isFollowMe())
        return {};
    const TransferRule& names = kTransferRules[index()];
    // Offsets from the rule's index, as element() numbers them.
    QList<Caption> rows{
        {"Label1", kTransferToField.string, names.transferToLabel - index()},
        {"Label18", kRingsField.string},
        {"Label19", kRingsHint.string},
    };
    for (int field = 0; field < int(std::size(kTransferFields)); ++field)
        rows.push_back({"Label10", kTransferFields[field].string, names.firstFieldLabel + field - index()});
    return rows;
}
