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
#include <QString>
#include <QVariant>

#include <functional>
#include <span>

class Languages;
class Recordset;
class Session;

// Every control the engine's sections read, in one list, checked against the real page.
const EngineControlList& handlerEngineControlList();

// The options page as the sections read it: a type of its own, as the subscriber engine's is.
class HandlerOptions : public EngineOptions {
public:
    explicit HandlerOptions(const OptionsSnapshot& page) : EngineOptions(page, handlerEngineControlList()) {}
};

// One handler being changed: what the sections work with.
class HandlerEdit {
public:
    HandlerEdit(Session& session, RunLog& log, const HandlerOptions& options, ObjectActions& actions)
        : session(session), log(log), options(options), actions(actions)
    {
    }

    // The handler row: the current row of the list of non-primary call handlers. Sections set its
    // columns; the record section writes it back, and the procedure once more at its end.
    Recordset& handler();

    // Writes one line to the run log.
    void writeLine(const QString& line);
    // Resource string `number` of the current language: option lists are matched against it.
    QString string(int number) const;
    // True when an option list's text is resource string `number`, ignoring case.
    bool shows(const QString& text, int number) const;
    // The code of a tri-state list: 1 "TRUE", 0 "FALSE", 2 "<Don't Change>", 3 any other text.
    qint16 triState(const ControlState& list) const;
    // Runs one step of a section (runEngineStep). A failure of the database ends the handler (its
    // transaction is rolled back). Any other failure is logged as the counted line "Error
    // encountered. Number=..." and shown (message 121), and ends only this step: a change line
    // after the failing statement is not written. ComponentObjectNotFound is passed over.
    void step(const std::function<void()>& work);
    // Closes `recordset` quietly and opens it on `sql` (prepared once per run, the values bound),
    // writable with optimistic concurrency. A failing open throws.
    Recordset& reopen(Recordset& recordset, const QString& sql, const QVariantList& values = {});

    Session& session;
    RunLog& log;
    const HandlerOptions& options;
    ObjectActions& actions;   // on-commit / on-rollback actions (greeting files)

    QString rootPath;               // the server's folder ("Root Path"); empty when not set
    qint16 lastTransferRule = 2;    // 5 on a server of 7.0.0.1 or later, else 2; set before the sections run
};

// "Error encountered. Number=" + number + ", Description=" + description: the per-handler
// procedure's error line.
QString handlerEditErrorLine(const KestraneError& failure);
// Its message: resource string 121 + number + resource string 17 + description.
QString handlerEditErrorMessage(const Languages& languages, const KestraneError& failure);

// One section of the per-handler procedure.
struct HandlerEditSection {
    const char* name;
    void (*apply)(HandlerEdit& edit);
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

    HandlerEngine(Session& session, RunLog& log, const OptionsSnapshot& options,
                  std::span<const HandlerEditSection> sections = handlerEditSections());

    // Writes the run into the log, which its header has opened, from "Starting call handler
    // edits" on (when the database broke, to "Run stopped at:"); leaves the log open.
    // RunEnd::Stopped: Exit was pressed and the program ended.
    RunEnd run(const QList<SelectionGridRow>& rows, RunFrame& frame, const Progress& progress = {});

    qint32 processedCount() const { return m_processed; }

private:
    void updateRow(const SelectionGridRow& row, RunFrame& frame);
    void ApplyHandlerChanges(RunFrame& frame);
    static void writeHeading(HandlerEdit& edit);

    Session& m_session;
    RunLog& m_log;
    OptionsSnapshot m_snapshot;   // a copy: the engine may outlive the snapshot it was given
    HandlerOptions m_options{m_snapshot};
    std::span<const HandlerEditSection> m_sections;
    qint32 m_processed = 0;
};
