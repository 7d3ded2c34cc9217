// The steps of PopulateControls that offer the options of later servers, or of servers with
// engineering special 8: menu response timing, voice navigation and the send-scope limit, the
// transfer rules beyond the Alternate rule, the message review skip times, dropped call recovery
// and the caller-input digits. They fill no list; a hidden list keeps its items and a disabled
// box its text.
#include "subscribers/ui/options/PopulateSteps.h"

#include "core/ControlNames.h"
#include "core/Session.h"

#include <QTabBar>
#include <QTabWidget>

namespace SubscriberOptions {

namespace {

QString element(const char* arrayName, int index)
{
    return elementName(QLatin1String(arrayName), index);
}

void setLabelsShown(FormStatements& run, const char* arrayName, int first, int last, bool shown)
{
    for (int index = first; index <= last; ++index)
        run.setShown(element(arrayName, index), shown);
}

// The transfer rules' tabs.
const QString kTransferRules = QStringLiteral("tabSubscriberTransfer");
enum TransferRuleTab { AlternateRule, ClosedRule, StandardRule, FollowMeHereRule, FollowMeHomeRule, FollowMeMobileRule };

}  // namespace

void gateMenuTiming(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    const bool offered = populate.versionAtLeast(4, 0, 4, 145);
    run.setShown(QStringLiteral("chkConversationAccessibilityUpdate"), offered);
    for (int box = 0; box <= 2; ++box)
        run.setEnabled(element("txtConversationAccessibility", box), offered);
    setLabelsShown(run, "Label9", 14, 19, offered);
}

void gateMenuCommandTiming(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    const bool offered = populate.versionAtLeast(4, 2, 0, 98);
    run.setEnabled(element("txtConversationAccessibility", 3), offered);
    run.setShown({element("Label9", 35), element("Label9", 34)}, offered);
}

void gateVoiceNavigationAndTransferRules(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    const bool offered = populate.versionAtLeast(4, 3, 0, 9);
    run.setEnabled(element("comTransferRuleEnabled", AlternateRule), offered);
    run.setShown({element("Label9", 36), element("Label9", 37), element("cmbConversationOptions", 4),
                  QStringLiteral("cmbConversationSendScopeLimit")},
                 offered);
    run.setTabVersionFlag(kTransferRules, ClosedRule, offered);
    run.setTabVersionFlag(kTransferRules, StandardRule, offered);
    // Older servers have the Alternate rule alone: its page shows without a tab strip.
    run.run([&] {
        auto* rules = run.control<QTabWidget>(kTransferRules);
        if (!offered)
            rules->setTabText(AlternateRule, QString());
        rules->tabBar()->setVisible(offered);
    });
}

void gateFollowMeRules(PopulateRun& populate)
{
    const bool offered = populate.versionAtLeast(7, 0, 0, 1);
    for (int rule : {FollowMeHereRule, FollowMeHomeRule, FollowMeMobileRule})
        populate.run.setTabVersionFlag(kTransferRules, rule, offered);
}

void gateMessageReviewSkipTimes(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    run.setCaption(element("Label9", 43), 525);
    run.setCaption(element("Label9", 44), 11);
    run.setCaption(element("Label9", 45), 11);
    run.setCaption(element("Label9", 46), 526);
    const bool offered = populate.versionAtLeast(4, 3, 0, 31);
    run.setEnabled({QStringLiteral("txtSubscriberMessageReviewSkipAheadTime"), QStringLiteral("txtSubscriberMessageReviewSkipBackTime")},
                   offered);
    setLabelsShown(run, "Label9", 43, 46, offered);
}

void gateDroppedCallRecovery(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    const int captions[] = {517, 518, 519, 12, 12};
    for (int label = 38; label <= 42; ++label)
        run.setCaption(element("Label9", label), captions[label - 38]);
    const bool offered = populate.versionAtLeast(5, 0, 0, 31);
    run.setShown(element("cmbConversationOptions", 5), offered);
    setLabelsShown(run, "Label9", 38, 42, offered);
    run.setEnabled({QStringLiteral("txtDCRMessageReviewTimeout"), QStringLiteral("txtDCRSendTimeout")}, offered);
}

// Engineering special 8 brings these options to servers from 4.2(0).0 on; from 5.0(0).31 on every
// server has them. The split recovery lists then take the place of the single one.
void gateCallerInputDigitsAndSplitRecovery(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    const int digitCaptions[] = {520, 521, 12, 12};
    for (int label = 48; label <= 51; ++label)
        run.setCaption(element("label11", label), digitCaptions[label - 48]);
    run.setCaption(element("Label9", 51), 535);
    run.setCaption(element("Label9", 52), 536);

    const bool everyServer = populate.versionAtLeast(5, 0, 0, 31);
    const bool specialServer = populate.versionAtLeast(4, 2, 0, 0);
    const bool special8 = bIsESInstalled(populate.session.registry, 8);
    const bool offered = everyServer || (specialServer && special8);

    setLabelsShown(run, "label11", 48, 51, offered);
    run.setEnabled({QStringLiteral("txtCallerInputPrependDigits"), QStringLiteral("txtCallerInputPostPendDigits")}, offered);
    for (const QString& clear : {QStringLiteral("chkCallerInputPostPendDigitsClear"), QStringLiteral("chkCallerInputPrependDigitsClear")}) {
        run.setShown(clear, offered);
        if (offered)
            run.setCaption(clear, 563);
    }
    run.setShown({element("cmbConversationOptions", 6), element("cmbConversationOptions", 7), element("Label9", 51),
                  element("Label9", 52)},
                 offered);
    run.setShown({element("Label9", 40), element("cmbConversationOptions", 5)}, !offered);
    if (offered)
        run.setCaption(element("Label9", 53), 539);
    run.setShown({element("Label9", 53), element("cmbConversationOptions", 8)}, offered);
}

}  // namespace SubscriberOptions
