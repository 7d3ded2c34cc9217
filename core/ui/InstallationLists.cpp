#include "core/ui/InstallationLists.h"

#include "core/Database.h"
#include "core/Errors.h"
#include "core/Languages.h"
#include "core/Registry.h"
#include "core/SwitchInfo.h"
#include "core/VelmoVersion.h"
#include "core/ui/ControlValues.h"
#include "core/ui/SwitchCombo.h"

#include <QComboBox>
#include <QSignalBlocker>

QString itemTextOf(const QVariant& value)
{
    if (value.isNull())
        throw KestraneError(ErrorNumber::InvalidUseOfNull, QStringLiteral("Invalid use of Null"));
    return value.toString();
}

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

void appendInstalledLanguages(FormStatements& run, const RegistryAPI& registry, const QStringList& lists)
{
    QString loaded;
    run.run([&] {
        loaded = registry
                     .GetRegValue(HKEY_LOCAL_MACHINE, VelmoKeys::SystemParametersKey, QStringLiteral("TUI Languages Loaded"), REG_SZ, QString())
                     .toString();
    });
    // The parts are taken as they stand: " DEU" is no code the language table knows.
    const QStringList codes = loaded.isEmpty() ? QStringList() : loaded.split(QLatin1Char(','));
    for (const QString& code : codes) {
        const qint32 language = GetLanguageIDFromCode(code);
        const QString name = GetLanguageNameFromCode(code);
        for (const QString& list : lists)
            addCodedItem(run, list, name, language);
    }
}

void fillScheduleList(FormStatements& run, Database& database, const QString& list)
{
    run.fillFixedTexts(list, {20});
    bool read = false;
    QueryResult schedules;
    run.run([&] {
        schedules = database.select(QStringLiteral("Select DisplayName from Schedule"));
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

void fillSwitchList(FormStatements& run, const SwitchInfo& switches, const QString& list)
{
    run.fillFixedTexts(list, {20});
    run.run([&] {
        auto* combo = run.control<QComboBox>(list);
        const QSignalBlocker quiet(combo);
        PopulateListControlWithSwitchInfo(combo, switches);
    });
}
