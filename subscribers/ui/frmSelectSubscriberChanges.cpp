#include "subscribers/ui/frmSelectSubscriberChanges.h"

#include "core/ui/Captions.h"
#include "core/ui/FormBuilding.h"
#include "core/ui/FormStatements.h"
#include "core/ui/GreetingSourceControls.h"
#include "core/ui/LanguageFonts.h"
#include "core/ui/OptionsCapture.h"
#include "core/ui/WizardContext.h"
#include "resources/EnglishStrings.h"
#include "search/ui/CallerInputActionGroup.h"
#include "subscribers/ui/options/DependentControls.h"
#include "subscribers/ui/options/ExtensionTests.h"
#include "subscribers/ui/options/PickersAndGreetingFiles.h"
#include "subscribers/ui/options/EntryCheckTable.h"
#include "subscribers/ui/options/OptionsTabs.h"
#include "subscribers/ui/options/PopulateSteps.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

using namespace SubscriberOptions;

namespace {

const QString kFormName = QStringLiteral("frmSelectSubscriberChanges");

// The tabs of tabMain, in tab order (SubscriberOptions::Tab).
const TabBuilder* const kTabs[TabCount] = {
    &profileTab,   &accountTab,       &passwordsTab,       &conversationTab,     &transferTab,
    &greetingsTab, &callerInputTab,   &messagesTab,        &notificationTab,     &extensionTab,
    &altExtensionsTab, &exitDestinationTab, &deliveryLocationTab, &featuresTab,
};

constexpr CaptionRow kFormCaptions[] = {
    {"frmSelectSubscriberChanges", NoIndex, 76},
    {"cmdHelp", NoIndex, 153},
    {"cmdPrevious", NoIndex, 18},
    {"cmdExit", NoIndex, 132},
    {"cmdNext", NoIndex, 191},
    {"tabMain", ProfileTab, 211},
    {"tabMain", AccountTab, 22},
    {"tabMain", PasswordsTab, 203},
    {"tabMain", ConversationTab, 103},
    {"tabMain", TransferTab, 275},
    {"tabMain", GreetingsTab, 148},
    {"tabMain", CallerInputTab, 85},
    {"tabMain", MessagesTab, 186},
    {"tabMain", NotificationTab, 194},
    {"tabMain", ExtensionTab, 134},
    {"tabMain", AltExtensionsTab, 303},
    {"tabMain", ExitDestinationTab, 304},
    {"tabMain", DeliveryLocationTab, 380},
    {"tabMain", FeaturesTab, 452},
    {"label11", 44, 236},
    {"label11", 43, 239},
};

// The steps of PopulateControls, in their order.
constexpr PopulateStep kPopulateSteps[] = {
    enableLanguageLists,
    gateSwitchAssignment,
    enableNotificationSwitchLists,
    fillDefaultLanguageStart,
    gateConversationStyleRow,
    gatePromptSpeeds,
    gateMessageSpeedRow,
    gateLoginShortcuts,
    fillDisplayNames,
    applyRestrictedRights,
    fillTimeFormats,
    fillConversationStyles,
    fillOutsideCallerLanguageStart,
    fillInstalledLanguages,
    fillSchedules,
    fillSwitchAssignment,
    fillNotificationSwitchLists,
    fillTimeZones,
    fillProfileYesNoLists,
    fillPasswordLists,
    gateAnnouncementRows,
    fillConversationYesNoLists,
    fillPromptAndAddressModes,
    gateSendModeRow,
    fillConversationOptions,
    fillSendTimestampAndVolumeLists,
    fillTransferRuleLists,
    gateEnhancedAlternateGreeting,
    fillGreetingLists,
    fillAfterGreetingAndExitActions,
    fillKeyActionsAndLockKeys,
    fillAfterMessageActions,
    fillMessageLists,
    fillDisableDeviceLists,
    gateSmsDevice,
    fillTextNotificationLists,
    gateAlternateExtensionRemoval,
    captionAlternateExtensionTab,
    fillAlternateExtensionSlots,
    captionAlternateExtensionActions,
    fillMessagePlayOrders,
    captionDeliveryLocationTab,
    gateDeletedItemsPlayOrder,
    captionConversationTabs,
    applySubscriberKindToTabs,
    gateDeliveryLocationTab,
    fillDeliveryLocations,
    prepareFeaturesTab,
    fillFeaturesEncryptionList,
    gateFeaturesPhoneView,
    gateMenuTiming,
    gateMenuCommandTiming,
    gateVoiceNavigationAndTransferRules,
    gateFollowMeRules,
    gateMessageReviewSkipTimes,
    gateDroppedCallRecovery,
    gateCallerInputDigitsAndSplitRecovery,
    keepDependentControls,
    fillSendScopes,
};

QString element(const char* arrayName, int index)
{
    return elementName(QLatin1String(arrayName), index);
}

// The message of a caller-input group whose chosen destination is missing.
int missingDestinationMessage(int group)
{
    if (group < CallerInputActionGroup::KeyGroups)
        return 337;
    if (group == CallerInputActionGroup::AfterMessage)
        return 338;
    if (group < CallerInputActionGroup::ExitDestination)
        return 339;
    return 340;
}

constexpr int kGreetingCount = 6;

}  // namespace

frmSelectSubscriberChanges::frmSelectSubscriberChanges(WizardContext& context, QWidget* parent)
    : WizardOptionsPage(context, kFormName, parent)
{
    buildPage();
    installEntryChecks(this, m_context);
    connectDependentControls(this, m_context);
    connectPickersAndGreetingFiles(*this, m_context);
    connectExtensionTests(*this, m_context);

    m_context.forms.add(this, [this] { frmSelectSubscriberChanges_Auto_Init(); });
    Form_Load();
}

void frmSelectSubscriberChanges::buildPage()
{
    label11_44 = namedElement(new QLabel, "label11", 44);
    label11_43 = namedElement(new QLabel, "label11", 43);
    tabMain = named(new QTabWidget, "tabMain");
    for (const TabBuilder* tab : kTabs) {
        auto* controls = new QWidget;
        tab->build(controls);
        addScrolledTab(tabMain, controls);
    }
    // Wide enough for the fourteen tab captions in one strip, within a 1366 x 768 screen.
    layOutPage(label11_44, label11_43, tabMain, {1280, 720});
    applyCaptions(this, kFormCaptions, resources::englishString);   // the laid-out captions
}

void frmSelectSubscriberChanges::frmSelectSubscriberChanges_Auto_Init()
{
    Languages& languages = m_context.session.languages;
    const Session& session = m_context.session;
    const StringLookup text = languages.stringLookup();
    FormStatements run(this, text);   // a statement that fails is passed over silently

    SetFormFontForLanguage(this, languages.lngLanguageID);
    applyCaptions(this, kFormCaptions, text);
    for (int tab = 0; tab < TabCount; ++tab)
        kTabs[tab]->caption(tabMain->widget(tab), text);

    // The greetings' "record your message" rows.
    const bool prompts = session.isVersionAtLeast(4, 1, 0, 0);
    for (int greeting = 0; greeting < kGreetingCount; ++greeting) {
        const QString label = element("label11", 20 + greeting);
        run.setShown(label, prompts);
        if (prompts)
            run.setCaption(label, 489);
    }
    // The transfer rules' "wait while I transfer" rows: those of the Alternate, Closed and
    // Standard rules are shown by version; the Follow-Me rules' rows are always shown.
    for (int label : {7, 8, 16}) {
        run.setShown(element("Label10", label), prompts);
        if (prompts)
            run.setCaption(element("Label10", label), 488);
    }
    if (prompts)
        for (int label : {35, 36, 45})
            run.setCaption(element("Label10", label), 488);

    // The receipt options: filled, though their row is hidden on every version.
    run.fillFixedTexts(QStringLiteral("comConversationReceiptOptions"), {20, 528, 529, 530});

    const QString encrypt = QStringLiteral("cmbConversationSendEncryptAllPrivate");
    if (session.isVersionAtLeast(5, 0, 0, 20)) {
        run.setShown(element("Label9", 47), false);
        run.setCaption(element("Label9", 47), 527);
        run.setShown(QStringLiteral("comConversationReceiptOptions"), false);
        run.setCaption(element("Label9", 48), 531);
        run.setCaption(element("Label9", 49), 532);
        run.setCaption(element("Label9", 50), 533);
        run.setShown({element("Label9", 48), element("Label9", 50)}, true);
        for (const QString& list : {QStringLiteral("cmbConversationSendOnHangup"), QStringLiteral("cmbConversationAddressThenRecord")}) {
            run.setShown(list, true);
            run.fillTriState(list);
        }
        if (session.isVersionAtLeast(5, 0, 1, 0)) {
            run.setShown({element("Label9", 49), encrypt}, false);
        } else {
            // Encryption needs the server's certificates.
            run.setShown(element("Label9", 49), true);
            run.fillTriState(encrypt);
            run.setShown(encrypt, true);
            run.setEnabled(encrypt, session.registry.RegKeyExists(HKEY_LOCAL_MACHINE,
                                                                  QStringLiteral("Software\\Brennhal\\CertificateHistory")));
        }
        run.setEnabled(QStringLiteral("cmdSetSubscriberConversationLimits"), true);
        run.setCaption(QStringLiteral("cmdSetSubscriberConversationLimits"), 540);
    } else {
        run.setShown({element("Label9", 47), QStringLiteral("comConversationReceiptOptions"),
                      QStringLiteral("cmbConversationSendOnHangup"), QStringLiteral("cmbConversationAddressThenRecord"), encrypt,
                      element("Label9", 48), element("Label9", 49), element("Label9", 50)},
                     false);
        run.setEnabled(QStringLiteral("cmdSetSubscriberConversationLimits"), false);
    }

    const bool nameSuggest = session.isVersionAtLeast(7, 0, 0, 111);
    if (nameSuggest) {
        run.setCaption(element("Label9", 55), 557);
        run.fillTriState(QStringLiteral("cmbConversationConstantLookup"));
    }
    run.setShown({element("Label9", 55), QStringLiteral("cmbConversationConstantLookup")}, nameSuggest);
}

void frmSelectSubscriberChanges::PopulateControls()
{
    Languages& languages = m_context.session.languages;
    FormStatements run(this, languages.stringLookup(), [&](const KestraneError& error) {
        // The number as the platform writes it: a leading blank for a number that is not negative.
        const QString number = (error.number() >= 0 ? QStringLiteral(" ") : QString()) + QString::number(error.number());
        m_context.messages.show(languages.mymyLoadString(48) + error.description() + languages.mymyLoadString(1) + number);
    });
    PopulateRun populate{run, m_context.session, m_context.state};
    for (PopulateStep step : kPopulateSteps)
        step(populate);
    // The lists were filled with their signals blocked.
    for (qint16 greeting = 0; greeting < kGreetingCount; ++greeting)
        UpdateGreetingSourceControls(*this, greeting);
}

void frmSelectSubscriberChanges::Form_Load()
{
    FormStatements load(this, m_context.session.languages.stringLookup(), [this](const KestraneError& error) {
        m_context.messages.show(formatProcedureError(error, QStringLiteral("Form_Load"), QStringLiteral("Form"), kFormName));
    });
    load.run([this] { frmSelectSubscriberChanges_Auto_Init(); });
    load.run([this] { PopulateControls(); });
    m_freshlyFilled = captureOptions(this);
    show();
    const QString focus = m_context.state.iSelectedSubscriberType == 1 ? QStringLiteral("comProfileSubscriberEnrollment")
                                                                        : QStringLiteral("comProfileDirList");
    load.run([&] { load.control<QWidget>(focus)->setFocus(); });
}

OptionsSnapshot frmSelectSubscriberChanges::snapshot(std::initializer_list<const QWidget*> subDialogs) const
{
    OptionsSnapshot options = captureOptions(this, subDialogs);
    handOverUnreachableControls(*tabMain, m_context.state.iSelectedSubscriberType, m_freshlyFilled, options);
    return options;
}

QString frmSelectSubscriberChanges::firstEntryFault() const
{
    const Languages& languages = m_context.session.languages;
    // Each destination kind's option button and name box, in the order they are looked at.
    static const std::pair<const char*, const char*> kinds[] = {
        {"optCallerInputGoToDirectoryHandler", "txtCallerInputGoToDirectoryHandler"},
        {"optCallerInputGoToCallHandler", "txtCallerInputGoToCallHandler"},
        {"optCallerInputGoToSubscriber", "txtCallerInputGoToSubscriber"},
        {"optCallerInputgoToInterviewHandler", "txtCallerInputGoToInterview"},
    };
    for (int group = 0; group < CallerInputActionGroup::GroupCount; ++group)
        for (const auto& [option, name] : kinds) {
            const auto* chosen = findChild<QRadioButton*>(element(option, group));
            const auto* destination = findChild<QLineEdit*>(element(name, group));
            if (chosen && destination && chosen->isChecked() && destination->text().isEmpty())
                return languages.mymyLoadString(missingDestinationMessage(group));
        }
    for (qint16 greeting = 0; greeting < kGreetingCount; ++greeting)
        if (greetingLacksFile(*this, greeting))
            return languages.mymyLoadString(457);
    return {};
}

void frmSelectSubscriberChanges::cmdNext_Click()
{
    showEnginePageUnless(firstEntryFault(), m_context.subscriberEnginePage);
}

void frmSelectSubscriberChanges::cmdPrevious_Click()
{
    showSelectionPage(m_context.subscriberSelectionPage);
}
