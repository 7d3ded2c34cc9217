// Tab 11 of the options page, Exit Dest.: where a caller goes on leaving the subscriber.
#include "subscribers/ui/options/OptionsTabs.h"

#include "core/ui/FormBuilding.h"
#include "search/ui/CallerInputActionGroup.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace SubscriberOptions {
namespace {

// Element 13 of the page's `Frame1` array (the notification devices have the others).
const QString exitDestinationFrame = QStringLiteral("Frame1_13");

void build(QWidget* page)
{
    // PopulateControls captions the frame.
    auto* frame = new QGroupBox(QStringLiteral("Subscriber Exit Destination"));
    frame->setObjectName(exitDestinationFrame);
    CallerInputActionGroup::placeIn(frame, CallerInputActionGroup::ExitDestination);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(frame);
    layout->addStretch(1);
}

void caption(QWidget* page, const StringLookup& text)
{
    if (CallerInputActionGroup* group = CallerInputActionGroup::inFrame(page, exitDestinationFrame))
        group->applyCaptions(text);
}

}  // namespace

const TabBuilder exitDestinationTab{build, caption};

}  // namespace SubscriberOptions
