// Tab 7 of the options page, Messages: message length and MWI, the after-message options, the
// primary MWI device's settings and the after-message action group.
#include "subscribers/ui/options/OptionsTabs.h"

#include "core/ui/Captions.h"
#include "core/ui/FormBuilding.h"
#include "resources/EnglishStrings.h"
#include "search/ui/CallerInputActionGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace SubscriberOptions {
namespace {

constexpr CaptionRow captionRows[] = {
    {"Label14", 2, 181},
    {"Label21", 0, 12},
    {"chkMessagesMWIDisable", NoIndex, 109},
    {"Frame6", NoIndex, 549},
    {"label11", 54, 86},
    {"label11", 53, 87},
    {"label11", 52, 548},
    {"Frame2", NoIndex, 550},
    {"Label14", 1, 178},
    {"Label21", 1, 12},
    {"Label28", 11, 95},
    {"Label1", NoIndex, 547},
    {"Label28", 10, 95},
    {"Frame1", 12, 29},
};

// Element 12 of the page's `Frame1` array (the notification devices have the others).
const QString afterMessageFrame = QStringLiteral("Frame1_12");

QGroupBox* afterMessageOptions()
{
    auto* frame = named(new QGroupBox, "Frame6");
    auto* rows = new QGridLayout(frame);
    const int labels[] = {54, 53, 52};
    const char* lists[] = {"comMessagesCallersCanEdit", "comMessagesMarkUrgent", "comMessagesMarkPrivate"};
    for (int row = 0; row < 3; ++row) {
        rows->addWidget(namedElement(new QLabel, "label11", labels[row]), row, 0);
        rows->addWidget(named(new QComboBox, lists[row]), row, 1);
    }
    rows->setColumnStretch(1, 1);
    return frame;
}

QGroupBox* primaryMwiDevice()
{
    auto* frame = named(new QGroupBox, "Frame2");
    auto* rows = new QGridLayout(frame);
    rows->addWidget(namedElement(new QLabel, "Label14", 1), 0, 0);
    rows->addWidget(named(new QLineEdit, "txtMessagesMWICode"), 0, 1);
    rows->addWidget(namedElement(new QLabel, "Label21", 1), 0, 2);
    rows->addWidget(namedElement(new QLabel, "Label28", 11), 1, 0);
    rows->addWidget(namedElement(new QComboBox, "comNotificationSwitchID", 10), 1, 1, 1, 2);
    rows->addWidget(named(new QLabel, "Label1"), 2, 0);
    rows->addWidget(named(new QComboBox, "comMessagesSendCounts"), 2, 1, 1, 2);
    rows->setColumnStretch(1, 1);
    return frame;
}

void build(QWidget* page)
{
    auto* layout = new QGridLayout(page);

    auto* lengthRow = new QHBoxLayout;
    lengthRow->addWidget(namedElement(new QLabel, "Label14", 2));
    lengthRow->addWidget(named(new QLineEdit, "txtMessagesMaxMessageLength"));
    lengthRow->addWidget(namedElement(new QLabel, "Label21", 0));
    lengthRow->addSpacing(24);
    lengthRow->addWidget(named(new QCheckBox, "chkMessagesMWIDisable"));
    lengthRow->addStretch(1);
    layout->addLayout(lengthRow, 0, 0, 1, 2);

    QGroupBox* options = afterMessageOptions();
    layout->addWidget(options, 1, 0);
    auto* switchLabel = namedElement(new QLabel, "Label28", 10);
    layout->addWidget(switchLabel, 1, 0, Qt::AlignLeft | Qt::AlignBottom);
    layout->addWidget(primaryMwiDevice(), 1, 1);

    auto* afterMessageAction = new QGroupBox;
    afterMessageAction->setObjectName(afterMessageFrame);
    CallerInputActionGroup::placeIn(afterMessageAction, CallerInputActionGroup::AfterMessage);
    layout->addWidget(afterMessageAction, 2, 0, 1, 2);
    layout->setRowStretch(3, 1);
    applyCaptions(page, captionRows, resources::englishString);

    // Label28(10) belongs to the tab itself yet lies inside Frame6's area: the frame keeps room
    // for it below its rows.
    QMargins inside = options->layout()->contentsMargins();
    switchLabel->setContentsMargins(inside.left(), 0, 0, inside.bottom());
    inside.setBottom(inside.bottom() + switchLabel->sizeHint().height());
    options->layout()->setContentsMargins(inside);
}

void caption(QWidget* page, const StringLookup& text)
{
    applyCaptions(page, captionRows, text);
    if (CallerInputActionGroup* group = CallerInputActionGroup::inFrame(page, afterMessageFrame))
        group->applyCaptions(text);
}

}  // namespace

const TabBuilder messagesTab{build, caption};

}  // namespace SubscriberOptions
