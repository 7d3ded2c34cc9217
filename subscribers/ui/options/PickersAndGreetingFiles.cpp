#include "subscribers/ui/options/PickersAndGreetingFiles.h"

#include "subscribers/ui/frmSelectSubscriberChanges.h"
#include "subscribers/ui/frmSetConversationStyleLimits.h"
#include "subscribers/ui/frmSetNotificationSchedule.h"
#include "search/ui/CallerInputActionGroup.h"
#include "subscribers/ui/options/GreetingPage.h"
#include "subscribers/ui/options/NotificationDevicePage.h"

#include "core/Registry.h"
#include "core/VelmoVersion.h"
#include "core/ui/ControlValues.h"
#include "core/ui/FormBuilding.h"
#include "core/ui/GreetingSourceControls.h"
#include "core/ui/WizardContext.h"
#include "search/ui/FindButtons.h"

#include <QComboBox>
#include <QPushButton>

namespace SubscriberOptions {
namespace {

constexpr int AlternateGreetingNoticeMessage = 492;

template <typename Control> Control* element(QWidget& page, const char* arrayName, int index)
{
    return qobject_cast<Control*>(findControl(&page, elementName(QLatin1String(arrayName), index)));
}

// The server's alternate greeting notices would not follow a change made here: a warning only,
// the registry read on every choice, also of the item already chosen.
void comGreetingEnabled_Click(WizardContext& context, int position)
{
    if (position == 0)
        return;
    const qint32 notices = context.session.registry
                               .GetRegValue(HKEY_LOCAL_MACHINE, VelmoKeys::SystemParametersKey,
                                            QStringLiteral("EnabledAlternateGreetingNotice"), REG_DWORD, 0)
                               .toInt();
    if (notices > 0)
        context.messages.show(context.session.languages.mymyLoadString(AlternateGreetingNoticeMessage));
}

void connectGreetings(frmSelectSubscriberChanges& page, WizardContext& context)
{
    for (int greeting = 0; greeting < GreetingPage::GreetingCount; ++greeting)
        connectGreetingFileControls(page, page.CommonDialog1, context.session.languages, qint16(greeting));
    onEveryChoice(element<QComboBox>(page, "comGreetingEnabled", GreetingPage::Alternate), &page,
                  [&context](int position) { comGreetingEnabled_Click(context, position); });
}

void connectDialogButtons(frmSelectSubscriberChanges& page, WizardContext& context)
{
    for (int device = 0; device < NotificationDevicePage::DeviceCount; ++device)
        QObject::connect(element<QPushButton>(page, "cmdSetNotificationSchedule", device), &QPushButton::clicked, &page,
                         [&page, device] { frmSetNotificationSchedule::showFor(&page, qint16(device)); });
    auto* limits = qobject_cast<QPushButton*>(findControl(&page, QStringLiteral("cmdSetSubscriberConversationLimits")));
    QObject::connect(limits, &QPushButton::clicked, &page, [&page, &context] { frmSetConversationStyleLimits::showFor(context, &page); });
}

}  // namespace

void connectPickersAndGreetingFiles(frmSelectSubscriberChanges& page, WizardContext& context)
{
    connectCallerInputFindButtons(page, context, CallerInputActionGroup::GroupCount);
    connectGreetings(page, context);
    connectDialogButtons(page, context);
}

}  // namespace SubscriberOptions
