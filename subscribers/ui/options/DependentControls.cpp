#include "subscribers/ui/options/DependentControls.h"

#include "core/Errors.h"
#include "core/ui/FormStatements.h"
#include "core/ui/WizardContext.h"
#include "search/ui/CallerInputActionGroup.h"
#include "subscribers/ui/options/NotificationDevicePage.h"
#include "subscribers/ui/options/PopulateSteps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <iterator>
#include <vector>

namespace SubscriberOptions {

namespace {

QString element(const char* arrayName, int index)
{
    return elementName(QLatin1String(arrayName), index);
}

// Which tick states of a governing box let the controls it governs take input. The rules test
// for ticked or for clear exactly; the dimmed state tells them apart.
enum class Opens { Unchanged, WhenTicked, UnlessTicked, UnlessClear };

struct GoverningBox {
    QString governor;
    Opens opens;
    bool emptiesWhenTicked;   // the governed text boxes
    QStringList governed;
};

const GoverningBox kFixedGoverningBoxes[] = {
    // A new ID can still be typed while it is ticked.
    {"chkAccountForceBillingIDBlank", Opens::Unchanged, true, {"txtAccountBillingID"}},
    {"chkCallerInputPrependDigitsClear", Opens::UnlessTicked, true, {"txtCallerInputPrependDigits"}},
    {"chkCallerInputPostPendDigitsClear", Opens::UnlessTicked, true, {"txtCallerInputPostPendDigits"}},
    {"chkMessagesMWIDisable", Opens::UnlessTicked, true, {"txtMessagesMWICode"}},
    {"chkConversationAccessibilityUpdate", Opens::WhenTicked, false,
     {"txtConversationAccessibility_0", "txtConversationAccessibility_1", "txtConversationAccessibility_2",
      "txtConversationAccessibility_3"}},
    {"chkFlexStackMakeChange", Opens::UnlessClear, false,
     {"upDownFlexStackNewMessagePlayOrder", "upDownFlexStackOldMessage", "chkFlexStackMessageTypeMenu",
      "cmbFlexStackNewMessagesLIFOFIFO", "cmbFlexStackSavedMessagesLIFOFIFO", "cmbFlexStackDeletedItemsLIFOFIFO",
      "listFlexStackOrderNewMessages", "listFlexStackOrderOldMessages"}},
    {"chkGreetingsAlternateApplyEnhancedAlternateGreetingSettings", Opens::WhenTicked, false,
     {"chkGreetingAlternateDontRingPhone", "chkGreetingAlternatePreventMessage", "chkGreetingAlternatePreventSkip"}},
    // The operations keep their ticks, so the alternate extension's Test still applies them.
    {"chkSubscriberAlternateExtensionRemoveSelected", Opens::UnlessTicked, false,
     {"chkAltExtStripAllButRightMost", "chkAltExtAddValue", "chkAltExtAppendToLeft", "chkAltExtAppendToRight",
      "chkAltExtRemoveLeftMost", "chkAltExtRemoveRightMost", "chkAltExtStripAllButLeftMost", "chkAltExtSubtractValue"}},
};

// The fixed boxes, then each notification device's schedule box with its "Set schedule" button.
const std::vector<GoverningBox>& governingBoxes()
{
    static const std::vector<GoverningBox> boxes = [] {
        std::vector<GoverningBox> all(std::begin(kFixedGoverningBoxes), std::end(kFixedGoverningBoxes));
        for (int device = 0; device < NotificationDevicePage::DeviceCount; ++device)
            all.push_back({element("chkUpdateNotificationSchedule", device), Opens::WhenTicked, false,
                           {element("cmdSetNotificationSchedule", device)}});
        return all;
    }();
    return boxes;
}

Qt::CheckState tickState(FormStatements& run, const QString& box)
{
    return run.control<QCheckBox>(box)->checkState();
}

// `emptying` false: the enabled states alone.
void applyGoverningBox(FormStatements& run, const GoverningBox& box, bool emptying = true)
{
    const Qt::CheckState state = tickState(run, box.governor);
    const bool ticked = state == Qt::Checked;
    for (const QString& name : box.governed) {
        if (ticked && box.emptiesWhenTicked && emptying)
            run.run([&] { run.control<QLineEdit>(name)->clear(); });
        if (box.opens == Opens::WhenTicked || box.opens == Opens::UnlessTicked)
            run.setEnabled(name, ticked == (box.opens == Opens::WhenTicked));
        else if (box.opens == Opens::UnlessClear)
            run.setEnabled(name, state != Qt::Unchecked);
    }
}

// A trigger box with its "Only if Urgent" box: All Messages, and the three message types in the
// order the rule opens them.
struct Trigger {
    const char* type;
    const char* urgent;
};
constexpr Trigger kAllMessages{"chkNotificationTriggerAllMessages", "chkNotificationTriggerAllMessagesUrgent"};
constexpr Trigger kMessageTypes[] = {
    {"chkNotificationTriggerEmail", "chkNotificationTriggerEmailUrgent"},
    {"chkNotificationTriggerFaxes", "chkNotificationTriggerFaxesUrgent"},
    {"chkNotificationTriggerVoiceMail", "chkNotificationTriggerVoiceMailUrgent"},
};

// The seven trigger boxes of a device besides All Messages.
QStringList dependentTriggers(int device)
{
    QStringList boxes{element(kAllMessages.urgent, device)};
    for (const Trigger& trigger : kMessageTypes)
        boxes << element(trigger.type, device) << element(trigger.urgent, device);
    return boxes;
}

// All Messages always takes input; with it ticked only its urgent box besides it, else the three
// message types, each type's urgent box while the type is ticked. No tick state changes.
void UpdateNotificationTriggerCheckBoxes(FormStatements& run, int device)
{
    const auto ticked = [&](const char* box) {
        bool result = false;
        run.run([&] { result = tickState(run, element(box, device)) == Qt::Checked; });
        return result;
    };
    run.setEnabled(element(kAllMessages.type, device), true);
    for (const QString& box : dependentTriggers(device))
        run.setEnabled(box, false);
    if (ticked(kAllMessages.type)) {
        run.setEnabled(element(kAllMessages.urgent, device), true);
        return;
    }
    for (const Trigger& trigger : kMessageTypes)
        run.setEnabled(element(trigger.type, device), true);
    for (const Trigger& trigger : kMessageTypes)
        if (ticked(trigger.type))
            run.setEnabled(element(trigger.urgent, device), true);
}

// Positions of the tri-state feature lists.
enum FeaturePosition { NoChange = 0, True = 1, False = 2 };
constexpr int kSendHere = 1, kUpdateHere = 2, kSendToServers = 4;

// Neither updating broadcasts (2) nor sending them to several servers (4) while sending on this
// server (1) is false, and (1) not left at no change while (2) or (4) is true. A position set
// here runs that list's rules in turn, which find themselves met.
void UpdateBroadcastFeatureCombos(FormStatements& run, int changed)
{
    const auto list = [&](int feature) { return run.control<QComboBox>(element("cmbSubscriberFeatures", feature)); };
    const auto at = [&](int feature) { return list(feature)->currentIndex(); };
    const auto set = [&](int feature, FeaturePosition position) { list(feature)->setCurrentIndex(position); };
    run.run([&] {
        if (changed == kSendHere) {
            if (at(kSendHere) == False) {
                set(kUpdateHere, False);
                set(kSendToServers, False);
            }
            if (at(kUpdateHere) == True && at(kSendHere) == NoChange)
                set(kSendHere, True);
            if (at(kSendToServers) == True && at(kSendHere) == NoChange)
                set(kSendHere, True);
        } else if (changed == kUpdateHere) {
            if (at(kUpdateHere) == True)
                set(kSendHere, True);
            if (at(kSendHere) == False && at(kUpdateHere) == NoChange)
                set(kUpdateHere, False);
        } else if (changed == kSendToServers) {
            if (at(kSendToServers) == True)
                set(kSendHere, True);
            if (at(kSendToServers) == NoChange && at(kSendHere) == False)
                set(kSendToServers, False);
        }
    });
}

// A key's number to dial, with its two labels, is shown while "Alternate Contact Number" is its
// action.
void showNumberToDial(FormStatements& run, int key)
{
    run.run([&] {
        const QString action = run.control<QComboBox>(element("cmbCallerInputTakeAction", key))->currentText();
        run.setShown({element("txtSubscriberCallerInputNumbertoDial", key),
                      element("Label34", key + CallerInputActionGroup::NumberToDialLabel),
                      element("Label34", key + CallerInputActionGroup::BlankLeavesNumberLabel)},
                     action.compare(run.text()(504), Qt::CaseInsensitive) == 0);
    });
}

template <typename Control>
Control* find(QWidget* page, const QString& name)
{
    return qobject_cast<Control*>(findControl(page, name));
}

// Runs `rule` whenever the check box is clicked (by the administrator, or by code through
// click()); a tick state set in code is no click.
template <typename Rule>
void onClick(QWidget* page, const QString& box, Rule rule)
{
    if (auto* governor = find<QCheckBox>(page, box))
        QObject::connect(governor, &QCheckBox::clicked, page, rule);
}

}  // namespace

void connectDependentControls(QWidget* page, WizardContext& context)
{
    const StringLookup text = context.session.languages.stringLookup();
    // The rules have no error report of their own: a control they miss is passed over.
    const auto statements = [page, text] { return FormStatements(page, text); };

    for (const GoverningBox& box : governingBoxes())
        onClick(page, box.governor, [statements, &box] {
            FormStatements run = statements();
            applyGoverningBox(run, box);
        });

    MessageBoxService& messages = context.messages;
    for (int device = 0; device < NotificationDevicePage::DeviceCount; ++device) {
        const auto update = [page, text, &messages, device] {
            FormStatements run(page, text, [&messages](const KestraneError& error) {
                messages.show(formatProcedureError(error, QStringLiteral("UpdateNotificationTriggerCheckBoxes"),
                                                   QStringLiteral("Form"), QStringLiteral("frmSelectSubscriberChanges")));
            });
            UpdateNotificationTriggerCheckBoxes(run, device);
        };
        const QString modify = element("chkUpdateNotificationTriggers", device);
        const QStringList triggers = QStringList{element(kAllMessages.type, device)} + dependentTriggers(device);
        onClick(page, modify, [page, statements, update, modify, triggers] {
            if (find<QCheckBox>(page, modify)->checkState() == Qt::Checked) {
                update();
                return;
            }
            FormStatements run = statements();
            for (const QString& box : triggers)
                run.setEnabled(box, false);
        });
        for (const QString& box : triggers)
            onClick(page, box, update);
    }

    // Every way a list's position changes (a click, the keys, code) shows as one change.
    for (int feature : {kSendHere, kUpdateHere, kSendToServers})
        if (auto* list = find<QComboBox>(page, element("cmbSubscriberFeatures", feature)))
            QObject::connect(list, &QComboBox::currentIndexChanged, page, [statements, feature] {
                FormStatements run = statements();
                UpdateBroadcastFeatureCombos(run, feature);
            });

    for (int key = 0; key < CallerInputActionGroup::KeyGroups; ++key)
        if (auto* actions = find<QComboBox>(page, element("cmbCallerInputTakeAction", key)))
            QObject::connect(actions, &QComboBox::currentIndexChanged, page, [statements, key] {
                FormStatements run = statements();
                showNumberToDial(run, key);
            });
}

void keepDependentControls(PopulateRun& populate)
{
    // A control the page lacks has cost its message in the fill already.
    FormStatements run = populate.run.silently();
    for (int key = 0; key < CallerInputActionGroup::KeyGroups; ++key)
        showNumberToDial(run, key);
    // The version gates and the subscriber kind enable boxes whatever governs them: a ticked
    // box keeps what it locks locked.
    for (const GoverningBox& box : governingBoxes())
        run.run([&] {
            if (tickState(run, box.governor) == Qt::Checked)
                applyGoverningBox(run, box, false);
        });
}

}  // namespace SubscriberOptions
