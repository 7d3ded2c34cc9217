#include "handlers/ui/HandlerOptionsLists.h"

#include "core/ControlNames.h"
#include "core/Session.h"
#include "core/ui/InstallationLists.h"
#include "handlers/HandlerOptionNames.h"

#include <QTabWidget>

using namespace HandlerOptionNames;

namespace {

QString element(const char* array, int index)
{
    return elementName(QString::fromLatin1(array), index);
}

// The profile lists exist from 2.5 on; only the major and minor numbers count.
bool hasProfileLists(const ServerVersion& version)
{
    return version.iMajor > 2 || (version.iMajor == 2 && version.iMinor >= 5);
}

void fillProfileLists(FormStatements& run, Session& session)
{
    const QString language = QStringLiteral("cmbCallHandlerDefaultLanguage");
    const QString switches = QStringLiteral("cmbCallHandlerSwitchAssignment");
    run.setEnabled({language, switches}, true);
    fillCodedFixedTexts(run, language, {{20, 0}, {159, 1}});
    appendInstalledLanguages(run, session.registry, {language});
    fillScheduleList(run, session.database, QStringLiteral("cmbCallHandlerSchedule"));
    fillSwitchList(run, session.switchInfo, switches);
}

void fillTransferRuleLists(FormStatements& run, const Session& session)
{
    const bool prompt = session.isVersionAtLeast(4, 1, 0, 0);
    for (int rule = 0; rule < TransferRuleCount; ++rule) {
        for (const char* list : {"comTransferEnabled", "comTransferAnnounce", "comTransferIntroduce", "comTransferConfirm",
                                 "comTransferAskCallersName", "comVoiceTransferPrompt"})
            run.fillTriState(element(list, rule));
        run.setShown(element("comVoiceTransferPrompt", rule), prompt);
        run.fillFixedTexts(element("comTransferType", rule), {20, 217, 258});
        run.fillFixedTexts(element("comTransferBusyAction", rule), {20, 46, 192, 65});
        run.fillFixedTexts(element("comTransferTo", rule), {20, 83, 216});
    }
    const bool followMe = session.isVersionAtLeast(7, 0, 0, 1);
    for (int rule = FirstFollowMe; rule < TransferRuleCount; ++rule)
        run.run([&] { run.control<QTabWidget>(QStringLiteral("SSTab4"))->setTabEnabled(rule, followMe); });
}

void fillGreetingLists(FormStatements& run, const Session& session)
{
    const bool prompt = session.isVersionAtLeast(4, 1, 0, 0);
    for (int greeting = 0; greeting < GreetingCount; ++greeting) {
        for (const char* list : {"comGreetingEnabled", "comGreetingAllowInput", "comGreetingPlayPleaseRecord"})
            run.fillTriState(element(list, greeting));
        run.setShown(element("comGreetingPlayPleaseRecord", greeting), prompt);
        run.fillFixedTexts(element("comGreetingSource", greeting), {20, 453, 454, 455});
    }
}

// The action lists have no "<Don't Change>": their option buttons choose whether to change.
void fillCallerInputLists(FormStatements& run, const Session& session)
{
    QList<int> laterActions;
    if (session.isVersionAtLeast(4, 0, 3, 60))
        laterActions += {365, 366};
    if (session.isVersionAtLeast(4, 0, 4, 40))
        laterActions += 444;
    const QString actions = QStringLiteral("cmbCallerInputTakeAction");
    for (int k = FirstAfterGreetingInput; k < CallerInputCount; ++k)
        run.fillFixedTexts(elementName(actions, k), QList<int>{260, 152, 247, 175, 149} + laterActions);
    for (int key = 0; key < KeyCount; ++key) {
        run.fillFixedTexts(elementName(actions, key), QList<int>{158, 248, 260, 152, 247, 175, 149} + laterActions);
        run.fillTriState(element("cmbCallerInputLockKey", key));
    }
    run.fillFixedTexts(elementName(actions, AfterMessageInput), QList<int>{152, 247, 175, 149} + laterActions);
}

void fillMessageLists(FormStatements& run)
{
    run.fillTriState(QStringLiteral("comMessagesCallersCanEdit"));
    run.fillFixedTexts(QStringLiteral("comMessagesMarkUrgent"), {20, 45, 189, 65});
    run.fillFixedTexts(QStringLiteral("comMessagesMarkPrivate"), {20, 45, 189, 65});
}

// Digits dialled before and after a transfer number came with 4.3(0).31, or with engineering
// special 8 on 4.2.
void gateDigitRows(FormStatements& run, const Session& session)
{
    const QString labels[] = {element("label11", PrependLabel), element("label11", PostpendLabel),
                              element("label11", PrependHint), element("label11", PostpendHint)};
    run.setCaption(labels[0], 520);
    run.setCaption(labels[1], 521);
    run.setCaption(labels[2], 12);
    run.setCaption(labels[3], 12);
    const bool digits = session.isVersionAtLeast(4, 3, 0, 31)
                        || (session.isVersionAtLeast(4, 2, 0, 0) && bIsESInstalled(session.registry, 8));
    for (const QString& label : labels)
        run.setShown(label, digits);
    run.setEnabled({QStringLiteral("txtCallerInputPrependDigits"), QStringLiteral("txtCallerInputPostPendDigits")}, digits);
    run.setShown({QStringLiteral("chkCallerInputPostPendDigitsClear"), QStringLiteral("chkCallerInputPrependDigitsClear")}, digits);
}

}  // namespace

void fillHandlerOptionLists(FormStatements& run, Session& session)
{
    if (hasProfileLists(session.gServerVersion))
        fillProfileLists(run, session);
    fillTransferRuleLists(run, session);
    fillGreetingLists(run, session);
    fillCallerInputLists(run, session);
    fillMessageLists(run);
    gateDigitRows(run, session);
}
