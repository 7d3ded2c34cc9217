#include "handlers/HandlerEngine.h"

#include "core/Criterion.h"
#include "core/Recordset.h"
#include "core/Session.h"

namespace {

// The controls of the handler record edits.
constexpr EngineControl kRecordControls[] = {
    {"frmSelectCallHandlerChanges", "cmbCallHandlerDefaultLanguage"},
    {"frmSelectCallHandlerChanges", "optCallHandlerOwnerChangeSubscriber"},
    {"frmSelectCallHandlerChanges", "optCallHandlerOwnerChangeDL"},
    {"frmSelectCallHandlerChanges", "optCallHandlerRecipientSubscriber"},
    {"frmSelectCallHandlerChanges", "optCallHandlerRecipientDL"},
    {"frmSelectCallHandlerChanges", "txtMessagesMaxMessageLength"},
};

} // namespace

std::span<const HandlerEditSection> handlerEditSections()
{
    static const HandlerEditSection sections[] = {
        {"record", nullptr, kRecordControls},
        {"transfer rules", nullptr},
        {"greeting rules", nullptr},
        {"caller input", nullptr},
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

HandlerEngine::HandlerEngine(Session& session, RunLog& log, const OptionsSnapshot& options)
    : m_session(session), m_log(log), m_snapshot(options)
{
}

RunEnd HandlerEngine::run(const QList<SelectionGridRow>& rows, RunFrame& frame, const Progress& progress)
{
    m_processed = 0;
    m_log.WriteLogLine(QStringLiteral("Starting call handler edits\r\n"));
    if (progress.started)
        progress.started(int(rows.size()));
    return frame.forEachRow(int(rows.size()), [&](int index) {
        updateRow(rows[index], frame);
        if (progress.rowDone)
            progress.rowDone(index + 1, m_processed);
    });
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
            HandlerEdit edit{m_session, m_log, m_options, actions};
            for (const HandlerEditSection& section : handlerEditSections())
                if (section.apply)
                    section.apply(edit);
        },
        [&](const KestraneError& failure) {
            m_log.WriteLogLine(QStringLiteral("(error) Error encountered. Number=") + paddedNumber(failure.number())
                               + QStringLiteral(", Description=") + failure.description()
                               + QStringLiteral(".  None of this handler's changes were kept."));
        });
}
