#include "handlers/HandlerEngine.h"

#include "core/Criterion.h"
#include "core/EngineStep.h"
#include "core/Recordset.h"
#include "core/Session.h"
#include "core/TriState.h"
#include "core/VelmoVersion.h"
#include "handlers/changes/CallerInputEdits.h"
#include "handlers/changes/GreetingRules.h"
#include "handlers/changes/RecordEdits.h"
#include "handlers/changes/TransferRules.h"

std::span<const HandlerEditSection> handlerEditSections()
{
    static const HandlerEditSection sections[] = {
        {"record", HandlerChanges::applyRecordEdits, HandlerChanges::recordEditControls()},
        {"transfer rules", HandlerChanges::applyTransferRules, HandlerChanges::transferRuleControls()},
        {"greeting rules", HandlerChanges::applyGreetingRules, HandlerChanges::greetingRuleControls()},
        {"caller input", HandlerChanges::applyCallerInputEdits, HandlerChanges::callerInputEditControls()},
    };
    return sections;
}

const EngineControlList& handlerEngineControlList()
{
    static const EngineControlList list = [] {
        std::vector<EngineControl> controls;
        for (const HandlerEditSection& section : handlerEditSections())
            controls.insert(controls.end(), section.controls.begin(), section.controls.end());
        return EngineControlList(QStringLiteral("frmSelectCallHandlerChanges"), std::move(controls));
    }();
    return list;
}

Recordset& HandlerEdit::handler()
{
    return session.rsNonPrimaryCallHandlers;
}

void HandlerEdit::writeLine(const QString& line)
{
    log.WriteLogLine(line);
}

QString HandlerEdit::string(int number) const
{
    return session.languages.mymyLoadString(number);
}

bool HandlerEdit::shows(const QString& text, int number) const
{
    return text.compare(string(number), Qt::CaseInsensitive) == 0;
}

qint16 HandlerEdit::triState(const ControlState& list) const
{
    return options.triStateCode(list, [&] { return GetTriStateComboValue(list.text, session.languages.stringLookup()); });
}

QString handlerEditErrorLine(const KestraneError& failure)
{
    return QStringLiteral("Error encountered. Number=") + QString::number(failure.number())
           + QStringLiteral(", Description=") + failure.description();
}

QString handlerEditErrorMessage(const Languages& languages, const KestraneError& failure)
{
    return languages.mymyLoadString(121) + QString::number(failure.number()) + languages.mymyLoadString(17)
           + failure.description();
}

void HandlerEdit::step(const std::function<void()>& work)
{
    runEngineStep(work, [this](const KestraneError& failure) {
        if (failure.number() == ErrorNumber::ComponentObjectNotFound)
            return;
        // Counted, although its wording holds no "(error)": the closing message must show it.
        log.writeErrorLine(handlerEditErrorLine(failure));
        tell(log.messages(), handlerEditErrorMessage(session.languages, failure));
    });
}

Recordset& HandlerEdit::reopen(Recordset& recordset, const QString& sql, const QVariantList& values)
{
    recordset.close();
    // Read inside the handler's transaction: a value set to what it holds needs no write.
    recordset.setEqualValueWrites(EqualValueWrites::Skipped);
    recordset.open(sql, session.database, LockType::Optimistic, values);
    return recordset;
}

HandlerEngine::HandlerEngine(Session& session, RunLog& log, const OptionsSnapshot& options,
                             std::span<const HandlerEditSection> sections)
    : m_session(session), m_log(log), m_snapshot(options), m_sections(sections)
{
}

RunEnd HandlerEngine::run(const QList<SelectionGridRow>& rows, RunFrame& frame, const Progress& progress)
{
    m_processed = 0;
    m_log.WriteLogLine(QStringLiteral("Starting call handler edits\r\n"));
    if (progress.started)
        progress.started(int(rows.size()));
    const RunEnd end = frame.forEachRow(int(rows.size()), [&](int index) {
        updateRow(rows[index], frame);
        if (progress.rowDone)
            progress.rowDone(index + 1, m_processed);
    });
    if (end == RunEnd::DatabaseBroken)
        frame.logDatabaseStop(QStringLiteral("call handler"));
    return end;
}

void HandlerEngine::updateRow(const SelectionGridRow& row, RunFrame& frame)
{
    if (!row.checked)
        return;
    m_log.WriteLogLine(QStringLiteral("** Updating handler **"));
    m_log.WriteLogLine(QStringLiteral("    Alias=") + row.alias);
    m_log.WriteLogLine(QStringLiteral("    ObjectID=") + row.objectID);

    Recordset& handlers = m_session.rsNonPrimaryCallHandlers;
    handlers.moveFirst();
    if (!handlers.find(QStringLiteral("CallHandlerObjectID=") + quoteLiteral(row.objectID))) {
        m_log.WriteLogLine(QStringLiteral(
            "(error) No object returned from search for this object.  Skipping handler and moving on."));
        return;
    }
    ++m_processed;
    ApplyHandlerChanges(frame);
}

void HandlerEngine::ApplyHandlerChanges(RunFrame& frame)
{
    frame.applyObject(
        m_session.rsNonPrimaryCallHandlers.value(QStringLiteral("CallHandlerObjectID")).toString(),
        [&](ObjectActions& actions) {
            HandlerEdit edit(m_session, m_log, m_options, actions);
            edit.step([&] { edit.rootPath = serverRootPath(m_session.registry); });
            edit.lastTransferRule = m_session.isVersionAtLeast(7, 0, 0, 1) ? 5 : 2;
            writeHeading(edit);
            for (const HandlerEditSection& section : m_sections)
                edit.step([&] { section.apply(edit); });
            // The handler row, with everything the sections set on it, is written once.
            edit.step([&] { edit.handler().update(); });
            edit.writeLine(QStringLiteral("   Hanlder updates complete\r\n"));
        },
        [&](const KestraneError& failure) {
            m_log.WriteLogLine(QStringLiteral("(error) ") + handlerEditErrorLine(failure)
                               + QStringLiteral(".  None of this handler's changes were kept."));
            tell(m_log.messages(), handlerEditErrorMessage(m_session.languages, failure));
        });
}

void HandlerEngine::writeHeading(HandlerEdit& edit)
{
    Recordset& handler = edit.handler();
    edit.step([&] { edit.writeLine(QStringLiteral("\r\n") + handler.value(QStringLiteral("TextName")).toString()); });
    edit.step([&] { edit.writeLine(QStringLiteral("Alias=") + handler.value(QStringLiteral("Alias")).toString()); });
    edit.step([&] {
        const QVariant extension = handler.value(QStringLiteral("DTMFAccessID"));
        edit.writeLine(QStringLiteral("Extension=")
                       + (extension.isNull() ? QStringLiteral("(empty)") : extension.toString()));
    });
}
