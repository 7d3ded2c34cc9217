// The steps of PopulateControls for the Alt. Extensions tab, the Flex Stack play orders, the
// inner conversation tabs and the tabs the kind being edited can open.
#include "subscribers/ui/options/PopulateSteps.h"

#include "core/ControlNames.h"
#include "core/Session.h"
#include "core/WizardState.h"
#include "core/ui/ControlValues.h"
#include "core/ui/OptionsCapture.h"
#include "core/ui/TabFlags.h"
#include "subscribers/ui/options/MessagePlayOrderLists.h"
#include "subscribers/ui/options/OptionsTabs.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTabWidget>

namespace SubscriberOptions {

namespace {

QString element(const char* arrayName, int index)
{
    return elementName(QLatin1String(arrayName), index);
}

const QString kTabMain = QStringLiteral("tabMain");
const QString kSlotList = QStringLiteral("cmbSubscriberAlternateExtensionSlot");
constexpr int kAlternateExtensionSlots = 9;
constexpr int kDigitLabels = 4;

// The main tabs that only subscribers (kind 1) can open.
constexpr int kSubscriberOnlyTabs[] = {AccountTab, PasswordsTab, ConversationTab, NotificationTab, ExitDestinationTab,
                                       FeaturesTab};

// The controls of the open tabs that only subscribers can change, in the order they are set.
const QStringList& subscriberOnlyControls()
{
    static const QStringList names{QStringLiteral("comProfileSubscriberEnrollment"),
                                   QStringLiteral("cmbSubscriberProfileDefaultLanguage"),
                                   QStringLiteral("txtMessagesMWICode"),
                                   QStringLiteral("chkMessagesMWIDisable"),
                                   element("comNotificationSwitchID", 10),
                                   QStringLiteral("comMessagesSendCounts"),
                                   QStringLiteral("comProfileWarnForAlternateGreeting"),
                                   QStringLiteral("comProfileWarnFollowMeRuleActive")};
    return names;
}

bool editsSubscribers(qint16 kind)
{
    return kind == 1;
}

// Hands over a control's value as `fresh` has it. Lists too: a closed tab's lists are not all
// refilled (the Features tab's keep the choices made while it was open).
void handOverFresh(const QString& name, const OptionsSnapshot& fresh, OptionsSnapshot& snapshot)
{
    ControlState& state = snapshot.control(name);
    if (state.kind == ControlKind::TabControl)
        return;
    const ControlState& laidOut = fresh.control(name);
    state.text = laidOut.text;
    state.checkState = laidOut.checkState;
    state.selected = laidOut.selected;
    state.value = laidOut.value;
    state.currentIndex = laidOut.currentIndex;
    state.current = laidOut.current;
    state.items = laidOut.items;
}

}  // namespace

bool hasDeliveryLocations(qint16 kind)
{
    return kind != 1 && kind != 2;
}

void gateAlternateExtensionRemoval(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    run.setCaption(QStringLiteral("chkSubscriberAlternateExtensionsRemoveAll"), 306);
    run.setCaption(QStringLiteral("chkSubscriberAlternateExtensionRemoveSelected"), 371);
    // Newer servers write or delete one slot; older ones can only remove them all.
    const bool bySlot = populate.versionAtLeast(4, 0, 3, 120);
    run.setCaption(element("label11", 41), bySlot ? 370 : 307);
    run.setShown(QStringLiteral("chkSubscriberAlternateExtensionsRemoveAll"), !bySlot);
    run.setShown({kSlotList, QStringLiteral("chkSubscriberAlternateExtensionRemoveSelected")}, bySlot);
}

void captionAlternateExtensionTab(PopulateRun& populate)
{
    populate.run.setCaption(element("label11", 38), 402);
    populate.run.setCaption(element("Frame1", 13), 305);
}

void fillAlternateExtensionSlots(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    run.run([&] {
        auto* slotList = run.control<QComboBox>(kSlotList);
        const QSignalBlocker quiet(slotList);
        slotList->clear();
        addFixedTextItem(slotList, 20, run.text());
        // The engine takes the item's last character as the slot number.
        for (int slot = 1; slot <= kAlternateExtensionSlots; ++slot)
            slotList->addItem(run.text()(403) + QString::number(slot));
        slotList->setCurrentIndex(0);
    });
}

void captionAlternateExtensionActions(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    static const std::pair<const char*, int> captions[] = {
        {"chkAltExtStripAllButRightMost", 252}, {"chkAltExtStripAllButLeftMost", 251}, {"chkAltExtRemoveLeftMost", 218},
        {"chkAltExtRemoveRightMost", 219},      {"chkAltExtAppendToLeft", 59},         {"chkAltExtAppendToRight", 60},
        {"chkAltExtAddValue", 25},              {"chkAltExtSubtractValue", 404},
    };
    for (const auto& [name, string] : captions)
        run.setCaption(QLatin1String(name), string);
    run.setCaption(element("label11", 39), 262);
    run.setCaption(element("label11", 40), 190);
    run.setCaption(QStringLiteral("cmdAltExtTest"), 261);
    // The digit labels are captioned with errors passed over silently.
    for (int digits = 0; digits < kDigitLabels; ++digits) {
        try {
            run.control<QLabel>(element("lblDigits", digits))->setText(run.text()(106));
        } catch (const KestraneError&) {
        }
    }
}

void fillMessagePlayOrders(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    for (const QString& list : {QStringLiteral("listFlexStackOrderNewMessages"), QStringLiteral("listFlexStackOrderOldMessages")})
        run.run([&] {
            auto* order = run.control<QListWidget>(list);
            const QSignalBlocker quiet(order);
            FillFlexStackOrderList(order, run.text());
        });
    // "Oldest first" and "Newest first"; the engine reads the position chosen.
    const QList<int> directions{327, 328};
    run.fillFixedTexts(QStringLiteral("cmbFlexStackNewMessagesLIFOFIFO"), directions, 0);
    run.fillFixedTexts(QStringLiteral("cmbFlexStackSavedMessagesLIFOFIFO"), directions, 1);
    run.fillFixedTexts(QStringLiteral("cmbFlexStackDeletedItemsLIFOFIFO"), directions, 1);
}

void captionDeliveryLocationTab(PopulateRun& populate)
{
    populate.run.setCaption(element("label11", 42), 515);
}

void gateDeletedItemsPlayOrder(PopulateRun& populate)
{
    // The Domino directory keeps no deleted items.
    const bool shown = populate.versionAtLeast(4, 0, 3, 60) && populate.session.iDirectoryType != 1;
    populate.run.setShown({QStringLiteral("cmbFlexStackDeletedItemsLIFOFIFO"), element("Label9", 28)}, shown);
}

void captionConversationTabs(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    static const int captions[] = {375, 376, 377, 381, 498};
    constexpr int optionsTab = 4;
    run.run([&] {
        auto* tabs = run.control<QTabWidget>(QStringLiteral("tabSubscriberConversationOptions"));
        for (int tab = 0; tab < int(std::size(captions)); ++tab)
            tabs->setTabText(tab, run.text()(captions[tab]));
        TabFlags::setVersionFlag(tabs, optionsTab, populate.versionAtLeast(4, 2, 0, 38));
    });
}

void applySubscriberKindToTabs(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    const bool subscribers = editsSubscribers(populate.state.iSelectedSubscriberType);
    run.run([&] {
        auto* tabs = run.control<QTabWidget>(kTabMain);
        if (subscribers) {
            for (int tab = 0; tab < tabs->count(); ++tab)
                TabFlags::setTypeFlag(tabs, tab, true);
        } else {
            for (int tab : kSubscriberOnlyTabs)
                TabFlags::setTypeFlag(tabs, tab, false);
        }
    });
    for (const QString& name : subscriberOnlyControls())
        run.setEnabled(name, subscribers);
}

void gateDeliveryLocationTab(PopulateRun& populate)
{
    populate.run.setTabVersionFlag(kTabMain, DeliveryLocationTab, hasDeliveryLocations(populate.state.iSelectedSubscriberType));
}

void handOverUnreachableControls(const QTabWidget& tabMain, qint16 kind, const OptionsSnapshot& freshlyFilled,
                                 OptionsSnapshot& snapshot)
{
    const QWidget* form = ownerForm(&tabMain);
    for (int tab = 0; tab < tabMain.count(); ++tab) {
        if (TabFlags::typeFlag(&tabMain, tab))
            continue;
        for (const QWidget* control : tabMain.widget(tab)->findChildren<const QWidget*>())
            if (isNamedControl(control) && ownerForm(control) == form)
                handOverFresh(control->objectName(), freshlyFilled, snapshot);
    }
    if (!editsSubscribers(kind))
        for (const QString& name : subscriberOnlyControls())
            handOverFresh(name, freshlyFilled, snapshot);
}

}  // namespace SubscriberOptions
