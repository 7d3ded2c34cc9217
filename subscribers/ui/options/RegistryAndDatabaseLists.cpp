// The option lists whose items come from the installation: the languages installed on the
// server, its schedules, its phone-system integrations and the time zones the machine knows.
#include "subscribers/ui/options/PopulateSteps.h"

#include "core/ControlNames.h"
#include "core/Registry.h"
#include "core/Session.h"
#include "core/VelmoVersion.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace SubscriberOptions {

namespace {

const QString kDefaultLanguage = QStringLiteral("cmbSubscriberProfileDefaultLanguage");
const QString kOutsideCallerLanguage = QStringLiteral("cmbSubscriberProfileOutsideCallerLanguage");
const QString kZoneNames = QStringLiteral("cmbSubscriberProfileTimeZoneDisplayNames");
const QString kZoneKeys = QStringLiteral("cmbSubscribersProfileTimeZoneIDs");

}  // namespace

void fillOutsideCallerLanguageStart(PopulateRun& populate)
{
    fillCodedFixedTexts(populate.run, kOutsideCallerLanguage, {{20, 0}, {159, 1}});
}

void fillInstalledLanguages(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    appendInstalledLanguages(run, populate.session.registry, {kDefaultLanguage, kOutsideCallerLanguage});
    selectItem(run, kOutsideCallerLanguage, 0);
    selectItem(run, kDefaultLanguage, 0);
}

void fillSchedules(PopulateRun& populate)
{
    fillScheduleList(populate.run, populate.session.database, QStringLiteral("cmbSubscriberProfileSchedule"));
}

void fillSwitchAssignment(PopulateRun& populate)
{
    fillSwitchList(populate.run, populate.session.switchInfo, QStringLiteral("cmbSubscriberProfileSwitchAssignment"));
}

void fillNotificationSwitchLists(PopulateRun& populate)
{
    for (int device = 0; device <= 10; ++device)
        fillSwitchList(populate.run, populate.session.switchInfo, elementName(QStringLiteral("comNotificationSwitchID"), device));
}

void fillTimeZones(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    run.setEnabled(kZoneNames, true);
    fillCodedFixedTexts(run, kZoneNames, {{20, -1}, {19, 0}});
    run.run([&] {
        auto* keys = run.control<QComboBox>(kZoneKeys);
        const QSignalBlocker quiet(keys);
        keys->clear();
        // Position 0 of the key list holds no zone, so that no zone item carries the 0 that
        // stands for the server's own time zone.
        keys->addItem(QString(), 0);
    });
    const RegistryAPI& registry = populate.session.registry;
    const QStringList zones = registry.EnumRegKeys(HKEY_LOCAL_MACHINE, VelmoKeys::TimeZonesKey);
    for (int zone = 0; zone < zones.size(); ++zone) {
        const int position = zone + 1;
        QString display;
        run.run([&] {
            display = registry
                          .GetRegValue(HKEY_LOCAL_MACHINE, VelmoKeys::TimeZonesKey + QLatin1Char('\\') + zones[zone],
                                       QStringLiteral("Display"), REG_SZ, QString())
                          .toString();
        });
        addCodedItem(run, kZoneNames, display, position);
        addCodedItem(run, kZoneKeys, zones[zone], position);
    }
    // The key list only follows the display list: nothing in it is selected.
    selectItem(run, kZoneKeys, -1);
}

}  // namespace SubscriberOptions
