// The first steps of PopulateControls: the language and switch lists' availability, the
// version-dependent conversation rows and the profile lists of fixed texts.
#include "subscribers/ui/options/PopulateSteps.h"

#include "core/ControlNames.h"
#include "core/Session.h"
#include "core/WizardState.h"
#include "core/ui/ControlValues.h"

#include <QComboBox>

namespace SubscriberOptions {

namespace {

QString element(const char* arrayName, int index)
{
    return elementName(QLatin1String(arrayName), index);
}

// Speeds from "100% faster" to "10% faster", "<Don't Change>", "normal", then "10% slower" to
// "50% slower"; "<Don't Change>" (position 10) is the default.
const QList<int> kSpeeds{464, 465, 466, 467, 468, 469, 470, 471, 472, 473, 20, 474, 475, 476, 477, 478, 479};
constexpr int kSpeedsDontChange = 10;

}  // namespace

bool PopulateRun::versionAtLeast(qint16 major, qint16 minor, qint16 release, qint16 build) const
{
    return session.isVersionAtLeast(major, minor, release, build);
}

void enableLanguageLists(PopulateRun& populate)
{
    populate.run.setEnabled({QStringLiteral("cmbSubscriberProfileDefaultLanguage"),
                             QStringLiteral("cmbSubscriberProfileOutsideCallerLanguage")},
                            true);
}

void gateSwitchAssignment(PopulateRun& populate)
{
    populate.run.setEnabled(QStringLiteral("cmbSubscriberProfileSwitchAssignment"), !populate.versionAtLeast(4, 2, 0, 1));
}

void enableNotificationSwitchLists(PopulateRun& populate)
{
    for (int device = 0; device <= 10; ++device)
        populate.run.setEnabled(element("comNotificationSwitchID", device), true);
}

void fillDefaultLanguageStart(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    run.fillFixedTexts(QStringLiteral("cmbSubscriberProfileDefaultLanguage"), {20});
    run.run([&] {
        run.control<QComboBox>(QStringLiteral("cmbSubscriberProfileDefaultLanguage"))->setItemData(0, 0, ListRole::ItemData);
    });
}

void gateConversationStyleRow(PopulateRun& populate)
{
    populate.run.setShown({QStringLiteral("comProfileConversationStyle"), element("Label9", 22)},
                          populate.versionAtLeast(4, 0, 2, 66));
}

void gatePromptSpeeds(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    if (populate.versionAtLeast(4, 0, 4, 145)) {
        run.fillFixedTexts(QStringLiteral("comConversationSpeed"), kSpeeds, kSpeedsDontChange);
        run.fillFixedTexts(QStringLiteral("comConversationMessageSpeed"), kSpeeds, kSpeedsDontChange);
        run.setShown({QStringLiteral("comConversationSpeed"), QStringLiteral("comConversationMessageSpeed"),
                      element("Label9", 11), element("Label9", 32)},
                     true);
    } else {
        // The message speed row is left as it is: the next step decides it.
        run.setShown({QStringLiteral("comConversationSpeed"), element("Label9", 11)}, false);
    }
}

void gateMessageSpeedRow(PopulateRun& populate)
{
    if (!populate.versionAtLeast(4, 2, 0, 39))
        populate.run.setShown({element("Label9", 32), QStringLiteral("comConversationMessageSpeed"), element("Label9", 33),
                               element("cmbConversationOptions", 3)},
                              false);
}

void gateLoginShortcuts(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    const QStringList rows{element("Label9", 20), element("Label9", 21), QStringLiteral("comConversationSkipPWForKnownDevice"),
                           QStringLiteral("comConversationJumpToNewMessages")};
    const bool shown = populate.versionAtLeast(4, 1, 0, 14);
    if (shown) {
        run.setCaption(element("Label9", 20), 560);
        run.setCaption(element("Label9", 21), 559);
    }
    for (const QString& name : rows)
        run.setShown(name, shown);
}

void fillDisplayNames(PopulateRun& populate)
{
    populate.run.fillFixedTexts(QStringLiteral("comProfileForceDisplayName"), {20, 367, 368});
}

void applyRestrictedRights(PopulateRun& populate)
{
    populate.run.setEnabled({QStringLiteral("comProfileForceDisplayName"), QStringLiteral("comProfileShowInAddressBook")},
                            !populate.session.bRestrictedRights);
}

void fillTimeFormats(PopulateRun& populate)
{
    populate.run.fillFixedTexts(QStringLiteral("comProfileTimeFormat"), {20, 449, 450, 451});
}

void fillConversationStyles(PopulateRun& populate)
{
    QList<int> styles{20, 354, 355, 356};
    if (populate.versionAtLeast(4, 0, 4, 144))
        styles += {459, 460, 461, 462};
    if (populate.versionAtLeast(4, 1, 0, 27))
        styles += {493, 494};
    populate.run.fillFixedTexts(QStringLiteral("comProfileConversationStyle"), styles);
}

}  // namespace SubscriberOptions
