// The Features tab's steps of PopulateControls: whether the tab opens, its captions and seven
// lists, the options the directory connector or the server lacks, the encryption choices and the
// phone view option.
#include "subscribers/ui/options/PopulateSteps.h"

#include "core/ControlNames.h"
#include "core/Session.h"
#include "core/WizardState.h"
#include "subscribers/ui/options/OptionsTabs.h"

#include <QComboBox>

namespace SubscriberOptions {

namespace {

constexpr int kFeatureCount = 7;
constexpr int kActiveDirectory = 3;

QString featureList(int feature) { return elementName(QStringLiteral("cmbSubscriberFeatures"), feature); }
QString featureLabel(int feature) { return elementName(QStringLiteral("lblSubscriberFeatures"), feature); }
QString heading(int index) { return elementName(QStringLiteral("lblSubscriberProfile"), index); }

// From 5.0(0).10 on the first feature chooses how messages are encrypted, not only whether the
// private ones are.
bool offersEncryptionChoices(const PopulateRun& populate) { return populate.versionAtLeast(5, 0, 0, 10); }

// Design widths are in twips; 1440 twips make an inch.
int pixels(const QWidget* widget, int twips) { return twips * widget->logicalDpiX() / 1440; }

}  // namespace

void prepareFeaturesTab(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    const bool opens = populate.versionAtLeast(4, 0, 4, 40) && populate.state.iSelectedSubscriberType == 1;
    run.setTabVersionFlag(QStringLiteral("tabMain"), FeaturesTab, opens);
    if (!opens)
        return;   // captions and lists keep what an earlier run gave them

    const bool encryptionChoices = offersEncryptionChoices(populate);
    run.setCaption(featureLabel(0), encryptionChoices ? 543 : 439);
    const int featureCaptions[] = {440, 441, 446, 448, 490};
    for (int feature = 1; feature <= 5; ++feature)
        run.setCaption(featureLabel(feature), featureCaptions[feature - 1]);
    run.setCaption(heading(10), encryptionChoices ? 542 : 442);
    run.setCaption(heading(11), 443);
    run.setCaption(heading(12), 447);
    for (int feature = 0; feature < kFeatureCount; ++feature)
        run.fillTriState(featureList(feature));

    // Only hidden here, never shown: the directory connector and the version stay the same for
    // the whole run, so what this hides is the same on every run.
    if (populate.session.iDirectoryType != kActiveDirectory)
        run.setShown({heading(10), heading(12), featureLabel(0), featureLabel(3), featureList(0), featureList(3),
                      featureLabel(5), featureList(5), featureList(4), featureLabel(4)},
                     false);
    if (!populate.versionAtLeast(4, 1, 0, 20))
        run.setShown({featureList(5), featureLabel(5)}, false);
}

void fillFeaturesEncryptionList(PopulateRun& populate)
{
    if (!offersEncryptionChoices(populate))
        return;   // the first list stays the tri-state list
    FormStatements& run = populate.run;
    run.run([&] {
        // 3000 twips wide, or wider where its longest text needs it.
        auto* list = run.control<QComboBox>(featureList(0));
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        list->setMinimumWidth(pixels(list, 3000));
    });
    run.fillFixedTexts(featureList(0), {20, 544, 545, 546});
}

void gateFeaturesPhoneView(PopulateRun& populate)
{
    populate.run.setCaption(featureLabel(6), 538);
    const Session& session = populate.session;
    const bool shown = populate.versionAtLeast(5, 0, 0, 1) && !bIsDominoDirectory(session.registry, session.gServerVersion);
    populate.run.setShown({featureList(6), featureLabel(6)}, shown);
}

}  // namespace SubscriberOptions
