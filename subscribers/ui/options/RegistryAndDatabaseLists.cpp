// The option lists whose items come from the installation: the languages installed on the
// server, its schedules, its phone-system integrations and the time zones the machine knows.
#include "subscribers/ui/options/PopulateSteps.h"

#include "core/ControlNames.h"
#include "core/Registry.h"
#include "core/Session.h"
#include "core/VelmoVersion.h"
#include "core/ui/ControlValues.h"
#include "core/ui/SwitchCombo.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <utility>

namespace SubscriberOptions {

namespace {


const QString kDefaultLanguage = QStringLiteral("cmbSubscriberProfileDefaultLanguage");
const QString kOutsideCallerLanguage = QStringLiteral("cmbSubscriberProfileOutsideCallerLanguage");
const QString kZoneNames = QStringLiteral("cmbSubscriberProfileTimeZoneDisplayNames");
const QString kZoneKeys = QStringLiteral("cmbSubscribersProfileTimeZoneIDs");

// Fills `list` with fixed texts, each carrying the item data paired with it, the first selected.
void fillCodedFixedTexts(FormStatements& run, const QString& list, const QList<std::pair<int, int>>& stringsAndCodes)
{
    QList<int> strings;
    for (const auto& [string, code] : stringsAndCodes)
        strings << string;
    run.fillFixedTexts(list, strings);
    run.run([&] {
        auto* combo = run.control<QComboBox>(list);
        for (int position = 0; position < stringsAndCodes.size(); ++position)
            combo->setItemData(position, stringsAndCodes[position].second, ListRole::ItemData);
    });
}

// One statement: appends an item of the installation's own text with its code.
void addCodedItem(FormStatements& run, const QString& list, const QString& text, const QVariant& code)
{
    run.run([&] {
        auto* combo = run.control<QComboBox>(list);
        const QSignalBlocker quiet(combo);
        combo->addItem(text, code);
    });
}

void selectItem(FormStatements& run, const QString& list, int position)
{
    run.run([&] {
        auto* combo = run.control<QComboBox>(list);
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(position);
    });
}

// A switch list: "<Don't Change>" (no item data) selected, then one item per integration.
void fillSwitchList(PopulateRun& populate, const QString& list)
{
    FormStatements& run = populate.run;
    run.fillFixedTexts(list, {20});
    run.run([&] {
        auto* combo = run.control<QComboBox>(list);
        const QSignalBlocker quiet(combo);
        PopulateListControlWithSwitchInfo(combo, populate.session.switchInfo);
    });
}

}  // namespace

void fillOutsideCallerLanguageStart(PopulateRun& populate)
{
    fillCodedFixedTexts(populate.run, kOutsideCallerLanguage, {{20, 0}, {159, 1}});
}

void fillInstalledLanguages(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    QString loaded;
    run.run([&] {
        loaded = populate.session.registry
                     .GetRegValue(HKEY_LOCAL_MACHINE, VelmoKeys::SystemParametersKey, QStringLiteral("TUI Languages Loaded"), REG_SZ, QString())
                     .toString();
    });
    // The parts are taken as they stand: " DEU" is no code the language table knows.
    const QStringList codes = loaded.isEmpty() ? QStringList() : loaded.split(QLatin1Char(','));
    for (const QString& code : codes) {
        const qint32 language = GetLanguageIDFromCode(code);
        const QString name = GetLanguageNameFromCode(code);
        addCodedItem(run, kDefaultLanguage, name, language);
        addCodedItem(run, kOutsideCallerLanguage, name, language);
    }
    selectItem(run, kOutsideCallerLanguage, 0);
    selectItem(run, kDefaultLanguage, 0);
}

void fillSchedules(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    const QString list = QStringLiteral("cmbSubscriberProfileSchedule");
    run.fillFixedTexts(list, {20});
    bool read = false;
    QueryResult schedules;
    run.run([&] {
        schedules = populate.session.database.select(QStringLiteral("Select DisplayName from Schedule"));
        read = true;
    });
    if (!read)
        return;
    // A schedule is known to the engine by its name: the items carry no item data.
    for (const QVector<QVariant>& row : schedules.rows) {
        run.run([&] {
            const QString name = itemTextOf(row.value(0));
            auto* combo = run.control<QComboBox>(list);
            const QSignalBlocker quiet(combo);
            combo->addItem(name);
        });
    }
}

void fillSwitchAssignment(PopulateRun& populate)
{
    fillSwitchList(populate, QStringLiteral("cmbSubscriberProfileSwitchAssignment"));
}

void fillNotificationSwitchLists(PopulateRun& populate)
{
    for (int device = 0; device <= 10; ++device)
        fillSwitchList(populate, elementName(QStringLiteral("comNotificationSwitchID"), device));
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
