// Tab 13 of the options page, Features: broadcast messages, the message locator and message
// encryption, one list per feature under three headings.
#include "subscribers/ui/options/OptionsTabs.h"

#include "core/ui/FormBuilding.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace SubscriberOptions {
namespace {

// The tab's rows from top to bottom: a heading (`lblSubscriberProfile`(index)) or a feature
// (`lblSubscriberFeatures`(index) beside `cmbSubscriberFeatures`(index)). PopulateControls
// captions every label; these are the laid-out texts.
struct FeatureRow {
    bool heading;
    int index;
    const char* laidOut;
};
constexpr FeatureRow featureRows[] = {
    {true, 11, "Broadcast messages:"},
    {false, 1, "Subscriber can send broadcast messages to subscribers on this server"},
    {false, 4, "Subscriber can send broadcast messages to subscribers on multiple servers"},
    {false, 2, "Subscriber can update broadcast messages stored on this server"},
    {true, 12, "Finding messages by phone:"},
    {false, 3, "Subscribers can use Message Locator "},
    {false, 5, "Include receipts in searches "},
    {false, 6, "Enable visual message locator feature "},
    {true, 10, "When sending a message by phone:"},
    {false, 0, "Encrypt all messages marked private"},
};

void build(QWidget* page)
{
    auto* layout = new QGridLayout(page);
    int row = 0;
    for (const FeatureRow& feature : featureRows) {
        const QString text = QLatin1String(feature.laidOut);
        if (feature.heading) {
            layout->addWidget(namedElement(new QLabel(text), "lblSubscriberProfile", feature.index), row, 0, 1, 2);
        } else {
            layout->addWidget(namedElement(new QLabel(text), "lblSubscriberFeatures", feature.index), row, 0);
            layout->addWidget(namedElement(new QComboBox, "cmbSubscriberFeatures", feature.index), row, 1);
        }
        ++row;
    }
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(row, 1);
}

// PopulateControls sets every caption of the tab.
void caption(QWidget*, const StringLookup&) {}

}  // namespace

const TabBuilder featuresTab{build, caption};

}  // namespace SubscriberOptions
