#include "subscribers/SubscriberEngine.h"

#include "core/ControlNames.h"
#include "core/Criterion.h"
#include "core/EngineStep.h"
#include "core/Errors.h"
#include "core/Recordset.h"
#include "core/Registry.h"
#include "core/Session.h"
#include "core/TriState.h"
#include "core/VelmoVersion.h"
#include "subscribers/changes/DestinationLookup.h"
#include "subscribers/changes/SubscriberChanges.h"

#include <vector>

namespace {

const QString kPageForm = QStringLiteral("frmSelectSubscriberChanges");
const QString kProcedure = QStringLiteral("MakeChangesToSubscriber");
const QString kEngineForm = QStringLiteral("frmMakeSubscriberChanges");

QString stepErrorLine(const KestraneError& error)
{
    return formatProcedureError(error, kProcedure, QStringLiteral("Form"), kEngineForm);
}

}  // namespace

const EngineControlList& subscriberEngineControlList()
{
    static const EngineControlList controls = [] {
        // The destination lookup serves several categories and the check at Go.
        const std::span<const EngineControl> lookup = destinationLookupControls();
        std::vector<EngineControl> all(lookup.begin(), lookup.end());
        for (const SubscriberChangeCategory& category : subscriberChangeCategories())
            all.insert(all.end(), category.controls.begin(), category.controls.end());
        return EngineControlList(kPageForm, std::move(all));
    }();
    return controls;
}

QStringList subscriberEngineControlNames(const QString& form)
{
    return subscriberEngineControlList().names(form);
}

QString subscriberEditErrorLine(const KestraneError& failure)
{
    return stepErrorLine(failure);
}

Recordset& SubscriberEdit::subscriber()
{
    return session.rsSubscribers;
}

Recordset& SubscriberEdit::handler()
{
    return session.rsPrimaryCallHandlers;
}

void SubscriberEdit::writeLine(const QString& line)
{
    log.WriteLogLine(line);
}

QString SubscriberEdit::string(int number) const
{
    return session.languages.mymyLoadString(number);
}

bool SubscriberEdit::shows(const QString& text, int number) const
{
    return text.compare(string(number), Qt::CaseInsensitive) == 0;
}

qint16 SubscriberEdit::triState(const ControlState& list) const
{
    return options.triStateCode(list, [&] { return GetTriStateComboValue(list.text, session.languages.stringLookup()); });
}

bool SubscriberEdit::applyTriState(Recordset& row, const QString& control, const QString& column, const QString& line)
{
    return applyTriStateOf(options.control(control), row, column, line);
}

bool SubscriberEdit::applyTriState(Recordset& row, const QString& arrayName, int index, const QString& column,
                                   const QString& line)
{
    return applyTriStateOf(options.control(arrayName, index), row, column, line);
}

bool SubscriberEdit::applyTriStateOf(const ControlState& list, Recordset& row, const QString& column, const QString& line)
{
    const qint16 code = triState(list);
    if (code != 0 && code != 1)
        return false;
    row.setValue(column, QVariant::fromValue<qint16>(code));
    writeLine(line + paddedNumber(code));
    return true;
}

void SubscriberEdit::step(const std::function<void()>& work)
{
    runEngineStep(work, [this](const KestraneError& failure) { log.WriteLogLine(stepErrorLine(failure)); });
}

Recordset& SubscriberEdit::scratchRecordset(ScratchQuery which)
{
    Recordset* const recordsets[kScratchQueryCount] = {&session.rsDTMFAccessIDs,      &session.rsContactRules,
                                                       &session.rsNotificationMWIs,   &session.rsMessagingRules,
                                                       &session.rsMenuEntries,        &session.rsNotificationDevices,
                                                       &session.rsNotificationRules};
    return *recordsets[std::size_t(which)];
}

Recordset& SubscriberEdit::scratch(ScratchQuery which, const QString& sql, const QVariantList& values)
{
    Recordset& recordset = scratchRecordset(which);
    m_sharedScratchRead.reset(std::size_t(which));
    recordset.close();
    // Read inside the subscriber's transaction: a value set to what it holds needs no write.
    recordset.setEqualValueWrites(EqualValueWrites::Skipped);
    recordset.open(sql, session.database, LockType::Optimistic, values);
    return recordset;
}

Recordset& SubscriberEdit::sharedScratch(ScratchQuery which, const QString& sql, const QVariantList& values)
{
    if (m_sharedScratchRead.test(std::size_t(which)))
        return scratchRecordset(which);
    Recordset& recordset = scratch(which, sql, values);
    m_sharedScratchRead.set(std::size_t(which));
    return recordset;
}

Recordset& SubscriberEdit::contactRules()
{
    return sharedScratch(ScratchQuery::ContactRules, QStringLiteral("SELECT * FROM ContactRule WHERE ParentObjectID=?"),
                         {handler().value(QStringLiteral("CallHandlerObjectID")).toString()});
}

void SubscriberEdit::requestDirectoryWriteThrough()
{
    session.bDirectoryWriteThroughPending = true;
}

void SubscriberEdit::requestNotifierRestart()
{
    session.bNotifierRestartPending = true;
}

std::span<const SubscriberChangeCategory> subscriberChangeCategories()
{
    static const SubscriberChangeCategory categories[] = {
        SubscriberChanges::primaryExtension,
        SubscriberChanges::profileSettings,
        SubscriberChanges::conversationStyleAndTiming,
        SubscriberChanges::languageSwitchTimeZoneAndSchedule,
        SubscriberChanges::accountAndPassword,
        SubscriberChanges::conversationAndPlaybackFlags,
        SubscriberChanges::transferRules,
        SubscriberChanges::enhancedAlternateGreeting,
        SubscriberChanges::greetings,
        SubscriberChanges::callerInputDigits,
        SubscriberChanges::messageWaitingIndicators,
        SubscriberChanges::messageOptions,
        SubscriberChanges::oneKeyMenu,
        SubscriberChanges::afterMessageAction,
        SubscriberChanges::afterGreetingActions,
        SubscriberChanges::notificationDevices,
        SubscriberChanges::alternateExtensions,
        SubscriberChanges::messageStackOrder,
        SubscriberChanges::locationMove,
        SubscriberChanges::features,
        SubscriberChanges::phoneApplications,
    };
    return categories;
}

SubscriberEngine::SubscriberEngine(Session& session, RunLog& log, const OptionsSnapshot& options,
                                   std::span<const SubscriberChangeCategory> categories)
    : m_session(session), m_log(log), m_snapshot(options), m_categories(categories)
{
}

RunEnd SubscriberEngine::run(const QList<SelectionGridRow>& rows, RunFrame& frame, const Progress& progress)
{
    m_processed = 0;
    m_log.WriteLogLine(QStringLiteral("Starting subscriber edits\r\n"));
    if (progress.started)
        progress.started(int(rows.size()));
    const RunEnd end = frame.forEachRow(int(rows.size()), [&](int index) {
        try {
            updateRow(rows[index], frame);
        } catch (const KestraneError& failure) {
            m_log.WriteLogLine(QStringLiteral("(error) in cmdGo_Click routine.  Description=") + failure.description()
                               + QStringLiteral(" Number=") + paddedNumber(failure.number()));
            m_log.WriteLogLine(QStringLiteral("    Pressing ahead"));
        }
        if (progress.rowDone)
            progress.rowDone(index + 1, m_processed);
    });
    switch (end) {
    case RunEnd::Stopped:
    case RunEnd::LogBroken:   // the log takes nothing more
        break;
    case RunEnd::Completed:
        m_log.WriteLogLine(QStringLiteral("\r\nChanges complete at:") + m_log.timeStamp());
        break;
    case RunEnd::DatabaseBroken:
        frame.logDatabaseStop(QStringLiteral("subscriber"));
        break;
    }
    return end;
}

void SubscriberEngine::updateRow(const SelectionGridRow& row, RunFrame& frame)
{
    if (!row.checked)
        return;
    m_log.WriteLogLine(QStringLiteral("** Updating subscriber **"));
    m_log.WriteLogLine(QStringLiteral("    Alias=") + row.alias);
    m_log.WriteLogLine(QStringLiteral("    ObjectID=") + row.objectID);

    Recordset& subscribers = m_session.rsSubscribers;
    subscribers.moveFirst();
    if (!subscribers.find(QStringLiteral("SubscriberObjectID=") + quoteLiteral(row.objectID))) {
        m_log.WriteLogLine(QStringLiteral(
            "(error) No object returned from search for this subscriber by ObjectID.  Skipping user and moving on."));
        return;
    }
    Recordset& handlers = m_session.rsPrimaryCallHandlers;
    handlers.moveFirst();
    if (!handlers.find(QStringLiteral("CallHandlerObjectID=")
                       + quoteLiteral(subscribers.value(QStringLiteral("CallHandlerObjectID")).toString()))) {
        m_log.WriteLogLine(QStringLiteral(
            "(error) No primary call handler found for this mail uers.  Skipping subscriber and moving on."));
        return;
    }
    if (MakeChangesToSubscriber(frame) != ObjectOutcome::AlreadyProcessed)
        ++m_processed;
}

ObjectOutcome SubscriberEngine::MakeChangesToSubscriber(RunFrame& frame)
{
    return frame.applyObject(
        m_session.rsSubscribers.value(QStringLiteral("SubscriberObjectID")).toString(),
        [&](ObjectActions& actions) {
            SubscriberEdit edit(m_session, m_log, m_options, actions);
            // Read at entry, each on its own: a value that cannot be read stays empty.
            edit.step([&] {
                edit.rootPath = m_session.registry
                                    .GetRegValue(HKEY_LOCAL_MACHINE, VelmoKeys::InstallKey, QStringLiteral("Root Path"),
                                                 REG_SZ, QString())
                                    .toString();
            });
            edit.step([&] { edit.alias = edit.subscriber().value(QStringLiteral("Alias")).toString(); });
            edit.step([&] { edit.currentExtension = edit.handler().value(QStringLiteral("DTMFAccessID")).toString(); });
            edit.workingExtension = edit.currentExtension;

            edit.writeLine(QStringLiteral("    Extension=") + edit.currentExtension);
            for (const SubscriberChangeCategory& category : m_categories)
                edit.step([&] { category.apply(edit); });
            edit.step([&] { edit.subscriber().update(); });
            edit.step([&] { edit.handler().update(); });
            if (m_session.bDirectoryWriteThroughPending)
                edit.step([&] { writeThroughToDirectory(edit); });
        },
        [&](const KestraneError& failure) {
            m_log.WriteLogLine(stepErrorLine(failure) + QStringLiteral(".  None of this subscriber's changes were kept."));
        });
}

void SubscriberEngine::writeThroughToDirectory(SubscriberEdit& edit)
{
    ProcedureParameters parameters{
        {QStringLiteral("@SubscriberObjectID"), edit.subscriber().value(QStringLiteral("SubscriberObjectID"))},
        {QStringLiteral("@DirectorySync"), 1},
        {QStringLiteral("@DirectorySyncFlags"), 1}};
    m_session.database.callProcedure(QStringLiteral("sp_ModifySubscriber"), parameters);
}
