// Tab 12 of the options page, Delivery Location: the location the subscribers are moved to.
#include "subscribers/ui/options/OptionsTabs.h"

#include "core/ui/FormBuilding.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

namespace SubscriberOptions {
namespace {

void build(QWidget* page)
{
    // PopulateControls captions the label.
    auto* instructions = namedElement(
        new QLabel(QStringLiteral("You can change the delivery location that all selected subscribers are assigned to by "
                                  "choosing a new location from the list box below.")),
        "label11", 42);
    instructions->setWordWrap(true);
    // The hidden list holds the object ID of each location, item for item beside the names.
    auto* locationIds = named(new QComboBox, "cmbLocationHiddenLocationObjectID");
    locationIds->hide();

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(instructions);
    layout->addWidget(named(new QComboBox, "cmbLocationNewLocation"));
    layout->addWidget(locationIds);
    layout->addStretch(1);
}

// PopulateControls sets the tab's only caption.
void caption(QWidget*, const StringLookup&) {}

}  // namespace

const TabBuilder deliveryLocationTab{build, caption};

}  // namespace SubscriberOptions
