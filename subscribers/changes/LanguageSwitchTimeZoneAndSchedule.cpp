// The profile tab's lists of installed things: the language the subscriber hears and the one
// callers hear, the phone-system integration (which also moves the subscriber's message-waiting
// devices and its handler's contact rules), the time zone and the schedule. The lists carrying
// item data are read by their selected entry, never by their text.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/Errors.h"
#include "core/ExtensionRules.h"
#include "core/Recordset.h"

#include <optional>

namespace {

constexpr int kDontChange = 20;
constexpr int kInheritedLanguage = 1;   // the callers' "Inherited" entry
constexpr int kServerTimeZone = 0;      // "<Default To Time Zone On Velmo Server>"

void applySubscriberLanguage(SubscriberEdit& edit)
{
    const std::optional<qint32> language =
        selectedItemData<qint32>(edit.options.control(QStringLiteral("cmbSubscriberProfileDefaultLanguage")));
    if (!language || *language <= 0)
        return;
    edit.subscriber().setValue(QStringLiteral("Language"), QVariant::fromValue(*language));
    edit.writeLine(QStringLiteral("   Language subscriber hears set to langID: ") + paddedNumber(*language));
}

void applyCallerLanguage(SubscriberEdit& edit)
{
    const std::optional<qint32> language =
        selectedItemData<qint32>(edit.options.control(QStringLiteral("cmbSubscriberProfileOutsideCallerLanguage")));
    if (!language || *language <= 0)
        return;
    if (*language == kInheritedLanguage) {
        edit.handler().setValue(QStringLiteral("Language"), QVariant());
        edit.writeLine(QStringLiteral("   Language callers hear set to Inherited"));
        return;
    }
    edit.handler().setValue(QStringLiteral("Language"), QVariant::fromValue(*language));
    edit.writeLine(QStringLiteral("   Language callers hear set to LangID:") + paddedNumber(*language));
}

// Puts `switchId` into every row of `rows`, each saved at once; `line` + the row's alias + the
// ID ends each row's change line. False when there was no row.
bool moveRowsToSwitch(SubscriberEdit& edit, Recordset& rows, qint16 switchId, const QString& line,
                      const std::function<void()>& afterEachRow = {})
{
    if (rows.recordCount() < 1)
        return false;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        rows.setValue(QStringLiteral("SwitchID"), QVariant::fromValue(switchId));
        rows.update();
        edit.writeLine(line + rows.value(QStringLiteral("Alias")).toString() + QStringLiteral(" to switchId=")
                       + paddedNumber(switchId));
        if (afterEachRow)
            afterEachRow();
    }
    return true;
}

void applySwitch(SubscriberEdit& edit)
{
    const ControlState& list = edit.options.control(QStringLiteral("cmbSubscriberProfileSwitchAssignment"));
    if (list.currentIndex <= 0)   // entry 0 is "<Don't Change>"
        return;
    const std::optional<qint16> switchId = selectedItemData<qint16>(list);

    edit.step([&] {
        edit.subscriber().setValue(QStringLiteral("SwitchID"), QVariant::fromValue(*switchId));
        edit.writeLine(QStringLiteral("   Switch assignment set to: ") + paddedNumber(*switchId));
    });
    edit.step([&] {
        Recordset& devices =
            edit.scratch(ScratchQuery::MWIs, QStringLiteral("SELECT * FROM NotificationMWI WHERE ParentObjectID=?"),
                         {edit.subscriber().value(QStringLiteral("SubscriberObjectID"))});
        if (!moveRowsToSwitch(edit, devices, *switchId, QStringLiteral("        Updating MWI device with alias="),
                              [&] { edit.requestNotifierRestart(); }))
            edit.writeLine(QStringLiteral("(error) no MWI devices found for this subscriber!  This is a serious issue, "
                                          "you should contact Norwick."));
        devices.close();
    });
    edit.step([&] {
        Recordset& rules = edit.contactRules();
        if (!moveRowsToSwitch(edit, rules, *switchId, QStringLiteral("        Updating contact rule with alias=")))
            edit.writeLine(QStringLiteral("(error) no contact rules found for this subscriber!  This is a serious "
                                          "issue, you should contact Norwick."));
    });
}

void applyTimeZone(SubscriberEdit& edit)
{
    const ControlState& zones = edit.options.control(QStringLiteral("cmbSubscriberProfileTimeZoneDisplayNames"));
    const std::optional<qint32> zone = selectedItemData<qint32>(zones);
    if (!zone || *zone < kServerTimeZone)   // "<Don't Change>" carries -1
        return;
    if (*zone == kServerTimeZone) {
        edit.subscriber().setValue(QStringLiteral("TimeZoneID"), QVariant::fromValue(qint32(0)));
    } else {
        // Entry k of the hidden list is the standard name of the zone whose entry carries k.
        const QList<ListItem>& names = edit.options.control(QStringLiteral("cmbSubscribersProfileTimeZoneIDs")).items;
        if (*zone >= names.size())
            throw KestraneError(ErrorNumber::ItemNotFound,
                                QStringLiteral("The time zone list has no standard name at position %1").arg(*zone));
        edit.subscriber().setValue(QStringLiteral("TimeZoneID"),
                                   QVariant::fromValue(TimeZoneCaptionToCode(names[*zone].text, zones.current.text)));
    }
    edit.writeLine(QStringLiteral("   Time zone set to:") + zones.current.text);
}

void applySchedule(SubscriberEdit& edit)
{
    const QString schedule = edit.options.control(QStringLiteral("cmbSubscriberProfileSchedule")).text;
    // An empty text names no schedule: writing it would leave the handler without one.
    if (schedule.isEmpty() || edit.shows(schedule, kDontChange))
        return;
    edit.handler().setValue(QStringLiteral("ScheduleObjectName"), schedule);
    edit.writeLine(QStringLiteral("    Schedule set to:") + schedule);
}

void applyLanguageSwitchTimeZoneAndSchedule(SubscriberEdit& edit)
{
    edit.step([&] { applySubscriberLanguage(edit); });
    edit.step([&] { applyCallerLanguage(edit); });
    edit.step([&] { applySwitch(edit); });
    edit.step([&] { applyTimeZone(edit); });
    edit.step([&] { applySchedule(edit); });
}

constexpr char kPage[] = "frmSelectSubscriberChanges";
constexpr EngineControl kControls[] = {
    {kPage, "cmbSubscriberProfileDefaultLanguage"},      {kPage, "cmbSubscriberProfileOutsideCallerLanguage"},
    {kPage, "cmbSubscriberProfileSwitchAssignment"},     {kPage, "cmbSubscriberProfileTimeZoneDisplayNames"},
    {kPage, "cmbSubscribersProfileTimeZoneIDs"},         {kPage, "cmbSubscriberProfileSchedule"},
};

}  // namespace

constinit const SubscriberChangeCategory SubscriberChanges::languageSwitchTimeZoneAndSchedule{
    "language, switch, time zone and schedule", applyLanguageSwitchTimeZoneAndSchedule, kControls};
