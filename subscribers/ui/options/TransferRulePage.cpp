#include "subscribers/ui/options/TransferRulePage.h"

#include "resources/EnglishStrings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <iterator>

namespace {

// The rows of a rule that pair a `Label10` label with a list, top to bottom; the rings-to-wait
// row, with labels of its own, stands before the wait prompt.
struct LabelledList {
    const char* list;
    int string;
};
constexpr LabelledList labelledLists[] = {
    {"comTransferRuleEnabled", 513}, {"comTransferEnabled", 118},    {"comTransferType", 277},
    {"comTransferPlayPleaseWaitPrompt", 488}, {"comTransferBusyAction", 157}, {"comTransferAnnounce", 58},
    {"comTransferIntroduce", 163},   {"comTransferConfirm", 102},    {"comTransferAskCallersName", 66},
};
constexpr int RingsToWaitBefore = 3;
// The wait prompt's label is captioned by the server version, not with the other labels.
constexpr int WaitPromptRow = 3;

// The `Label10` element of each row's label, per rule: the array numbers them apart from the rule.
constexpr int label10Element[TransferRulePage::RuleCount][std::size(labelledLists)] = {
    {24, 0, 3, 7, 2, 1, 5, 4, 6},
    {25, 9, 12, 8, 11, 10, 14, 13, 15},
    {26, 17, 20, 16, 19, 18, 22, 21, 23},
    {27, 34, 31, 35, 32, 33, 29, 30, 28},
    {44, 37, 40, 36, 39, 38, 42, 41, 43},
    {53, 46, 49, 45, 48, 47, 51, 50, 52},
};

}  // namespace

TransferRulePage::TransferRulePage(int rule, QWidget* parent) : CompositeGroup(rule, parent)
{
    auto* rows = new QGridLayout;
    int line = 0;
    for (int row = 0; row < int(std::size(labelledLists)); ++row) {
        if (row == RingsToWaitBefore) {
            rows->addWidget(element(new QLabel, "Label18"), line, 0);
            auto* rings = new QHBoxLayout;
            rings->addWidget(element(new QLineEdit, "txtTransferRingsToWait"));
            rings->addWidget(element(new QLabel, "Label19"));
            rows->addLayout(rings, line++, 1);
        }
        auto* label = namedElement(new QLabel, "Label10", label10Element[rule][row]);
        rows->addWidget(label, line, 0);
        rows->addWidget(element(new QComboBox, labelledLists[row].list), line++, 1);
        if (row == WaitPromptRow)
            label->setText(isFollowMe() ? QStringLiteral("Play 'please wait' prompt:")
                                        : resources::englishString(labelledLists[row].string));
    }

    auto* editNumber = element(new QGroupBox, "Frame5");
    auto* numberRows = new QGridLayout(editNumber);
    numberRows->addWidget(element(new QCheckBox, "chkTransferForceToSubscribersExtension"), 0, 0, 1, 2);
    numberRows->addWidget(element(new QCheckBox, "chkTransferAppendDigitsToLeft"), 1, 0);
    numberRows->addWidget(element(new QLineEdit, "txtTransferAppendDigitsToLeft"), 1, 1);
    numberRows->addWidget(element(new QCheckBox, "chkTransferAppendDigitsToRight"), 2, 0);
    numberRows->addWidget(element(new QLineEdit, "txtTransferAppendDigitsToRight"), 2, 1);

    auto* columns = new QHBoxLayout;
    if (isFollowMe()) {
        auto* frame = namedElement(new QGroupBox, "frameTransferRule", rule - FirstFollowMe);
        frame->setLayout(rows);
        columns->addWidget(frame, 0, Qt::AlignTop);
    } else {
        columns->addLayout(rows);
    }
    columns->addWidget(editNumber, 0, Qt::AlignTop);
    columns->addStretch(1);
    auto* page = new QVBoxLayout(this);
    page->addLayout(columns);
    page->addStretch(1);

    applyCaptions(resources::englishString);
}

QList<CompositeGroup::Caption> TransferRulePage::captions() const
{
    QList<Caption> rows{
        {"Frame5", 117},
        {"chkTransferForceToSubscribersExtension", 246},
        {"chkTransferAppendDigitsToLeft", 59},
        {"chkTransferAppendDigitsToRight", 60},
        {"Label18", 2},
        {"Label19", 12},
    };
    for (int row = 0; row < int(std::size(labelledLists)); ++row)
        if (row != WaitPromptRow)
            rows.push_back({"Label10", labelledLists[row].string, label10Element[index()][row] - index()});
    return rows;
}
