#pragma once
// The call handler change engine. Go on the engine page runs it over the rows of the selection
// grid: for each checked row it finds the handler in the list of non-primary call handlers and
// applies the chosen changes to it, section by section, in one transaction per handler
// (RunFrame). It reads the choices only from the snapshot of the options page taken at Go.
//
//     const QString logPath = log.startNewLog(header);   // no log, no run
//     HandlerEngine engine(session, log, snapshot);
//     RunFrame frame(session, log);
//     engine.run(state.selectionGridRows, frame, progress);
#include "core/EngineOptions.h"
#include "core/RunFrame.h"
#include "core/RunLog.h"
#include "core/WizardState.h"

#include <QList>

#include <functional>
#include <span>

class Session;

// Every control the engine's sections read, in one list, checked against the real page.
const EngineControlList& handlerEngineControlList();

// The options page as the sections read it: a type of its own, as the subscriber engine's is.
class HandlerOptions : public EngineOptions {
public:
    explicit HandlerOptions(const OptionsSnapshot& page) : EngineOptions(page, handlerEngineControlList()) {}
};

// One handler being changed: what the sections work with.
struct HandlerEdit {
    Session& session;
    RunLog& log;
    const HandlerOptions& options;
    ObjectActions& actions;
};

// One section of the per-handler procedure.
struct HandlerEditSection {
    const char* name;
    void (*apply)(HandlerEdit& edit);   // null: the section is not built yet and is passed over
    std::span<const EngineControl> controls = {};   // every control `apply` reads
};

// The sections in the order they run for each handler.
std::span<const HandlerEditSection> handlerEditSections();

class HandlerEngine {
public:
    struct Progress {
        std::function<void(int maximum)> started;
        // After each grid row: the progress value (rows done) and the handlers found.
        std::function<void(int value, qint32 processed)> rowDone;
    };

    HandlerEngine(Session& session, RunLog& log, const OptionsSnapshot& options);

    // Writes the run into the log, which its header has opened, from "Starting call handler
    // edits" on; leaves the log open. RunEnd::Stopped: Exit was pressed and the program ended.
    RunEnd run(const QList<SelectionGridRow>& rows, RunFrame& frame, const Progress& progress = {});

    qint32 processedCount() const { return m_processed; }

private:
    void updateRow(const SelectionGridRow& row, RunFrame& frame);
    void ApplyHandlerChanges(RunFrame& frame);

    Session& m_session;
    RunLog& m_log;
    OptionsSnapshot m_snapshot;   // a copy: the engine may outlive the snapshot it was given
    HandlerOptions m_options{m_snapshot};
    qint32 m_processed = 0;
};
