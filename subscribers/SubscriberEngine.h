#pragma once
// The subscriber change engine. Go on the engine page runs it over the rows of the selection
// grid: for each checked row it finds the subscriber and its primary call handler in the
// directory lists and applies the chosen changes to them, category by category, in one
// transaction per subscriber (RunFrame). It reads the choices only from the snapshot of the
// options page taken at Go, so every subscriber of a run gets the same choices.
//
//     const QString logPath = log.startNewLog(header);   // no log, no run
//     SubscriberEngine engine(session, log, snapshot);
//     RunFrame frame(session, log);
//     engine.run(state.selectionGridRows, frame, progress);
//     ... log.LogErrorCount(), session.bDirectoryWriteThroughPending, ...
#include "core/OptionsSnapshot.h"
#include "core/RunFrame.h"
#include "core/RunLog.h"
#include "core/WizardState.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <span>
#include <utility>
#include <vector>

class Recordset;
class Session;

// A control the engine reads: of the options page or of its conversation style dialog; an
// array of `elements` controls "Name_0" ... when elements > 0.
struct EngineControl {
    const char* form;
    const char* name;
    int elements = 0;
};

// Every control the engine reads, in one list: the controls of every category (EngineOptions
// refuses any other), so that the list can be checked against the real page.
const std::vector<EngineControl>& subscriberEngineControls();
// The names of subscriberEngineControls() of one form, array elements spelt out.
QStringList subscriberEngineControlNames(const QString& form);

// The snapshot as the categories read it. Reading a control that subscriberEngineControls() does
// not list is a fault of the engine (std::logic_error); one the snapshot lacks throws
// OptionsSnapshot::UnknownName.
// A run reads the same controls for every subscriber: each is found (and checked against the
// list) once, and a tri-state list's code worked out once.
class EngineOptions {
public:
    explicit EngineOptions(const OptionsSnapshot& page) : m_page(page) {}

    const ControlState& control(const QString& name) const;
    const ControlState& control(const QString& arrayName, int index) const;
    // A check box of the conversation style dialog.
    const ControlState& styleLimit(const QString& name) const;
    // The code `compute` gives for the tri-state list `list`, worked out on the first call.
    qint16 triStateCode(const ControlState& list, const std::function<qint16()>& compute) const;

private:
    using Key = std::pair<QString, int>;   // name and element index (-1: no array)
    const ControlState& resolve(QHash<Key, const ControlState*>& found, const QString& form, const QString& name,
                                int index, const std::function<const ControlState&()>& find) const;

    const OptionsSnapshot& m_page;
    mutable QHash<Key, const ControlState*> m_pageControls;
    mutable QHash<Key, const ControlState*> m_styleLimits;
    mutable QHash<const ControlState*, qint16> m_triStateCodes;
};

// The engine's scratch recordsets, one per family of rows it queries.
enum class ScratchQuery {
    AccessIDs,            // DTMFAccessID, vw_DTMFAccessID
    ContactRules,         // ContactRule
    MWIs,                 // NotificationMWI, vw_NotificationMWI
    MessagingRules,       // vw_MessagingRule
    MenuEntries,          // MenuEntry
    NotificationDevices,  // vw_NotificationDevice
    NotificationRules,    // vw_NotificationRule
};

// One subscriber being changed: what the categories work with.
class SubscriberEdit {
public:
    SubscriberEdit(Session& session, RunLog& log, const EngineOptions& options, ObjectActions& actions)
        : session(session), log(log), options(options), actions(actions)
    {
    }

    // The subscriber row and its primary call handler row: the current rows of the directory
    // lists. Categories set their columns; the frame writes both rows back at its end.
    Recordset& subscriber();
    Recordset& handler();

    // Writes one line to the run log.
    void writeLine(const QString& line);
    // Resource string `number` of the current language: option lists are matched against it.
    QString string(int number) const;
    // True when an option list's text is resource string `number`, ignoring case.
    bool shows(const QString& text, int number) const;
    // The typical tri-state step: when the tri-state list `control` (of the options page) holds
    // "TRUE" or "FALSE", its code 1 or 0 goes into `column` of `row` as a 16-bit integer and
    // `line` + the code in padded form is logged. True when the column was set.
    bool applyTriState(Recordset& row, const QString& control, const QString& column, const QString& line);
    // The same for element `index` of the tri-state array `arrayName`.
    bool applyTriState(Recordset& row, const QString& arrayName, int index, const QString& column, const QString& line);
    // The code of a tri-state list: 1 "TRUE", 0 "FALSE", 2 "<Don't Change>", 3 any other text.
    qint16 triState(const ControlState& list) const;
    // Runs one step of a category. A failure of the database ends the subscriber (its
    // transaction is rolled back); any other failure is logged as the procedure's error line
    // and ends only this step, so a change line after the failing statement is not written.
    void step(const std::function<void()>& work);
    // Closes the scratch recordset quietly and opens it on `sql` (prepared once per run, the
    // values bound), writable with optimistic concurrency. A failing open throws.
    Recordset& scratch(ScratchQuery which, const QString& sql, const QVariantList& values = {});

    // The run-wide flags (Session): set, never cleared by the engine.
    void requestDirectoryWriteThrough();
    void requestNotifierRestart();

    Session& session;
    RunLog& log;
    const EngineOptions& options;
    ObjectActions& actions;   // on-commit / on-rollback actions (greeting files)

    QString rootPath;           // the server's folder ("Root Path"); empty when not set
    QString alias;              // the subscriber row's Alias
    QString currentExtension;   // the handler row's DTMFAccessID as the subscriber came
    QString workingExtension;   // the extension as the primary extension change leaves it

private:
    bool applyTriStateOf(const ControlState& list, Recordset& row, const QString& column, const QString& line);
};

// The error line of the per-subscriber procedure for a failure, for work that runs outside a
// step (an on-commit action).
QString subscriberEditErrorLine(const KestraneError& failure);

// One change category: a step of the per-subscriber procedure.
struct SubscriberChangeCategory {
    const char* name;
    void (*apply)(SubscriberEdit& edit);   // null: the category is not built yet and is passed over
    std::span<const EngineControl> controls = {};   // every control `apply` reads
};

// The categories in the order they run for each subscriber.
std::span<const SubscriberChangeCategory> subscriberChangeCategories();

class SubscriberEngine {
public:
    struct Progress {
        std::function<void(int maximum)> started;
        // After each grid row: the progress value (rows done) and the subscribers processed.
        std::function<void(int value, qint32 processed)> rowDone;
    };

    SubscriberEngine(Session& session, RunLog& log, const OptionsSnapshot& options,
                     std::span<const SubscriberChangeCategory> categories = subscriberChangeCategories());

    // Writes the whole run into the log, which its header has opened, from "Starting subscriber
    // edits" to "Changes complete at:" (or, when the database broke, to "Run stopped at:");
    // leaves the log open. RunEnd::Stopped: Exit was pressed and the frame's stop handler has run.
    RunEnd run(const QList<SelectionGridRow>& rows, RunFrame& frame, const Progress& progress = {});

    // The subscribers handed to MakeChangesToSubscriber in this run.
    qint32 processedCount() const { return m_processed; }

private:
    void updateRow(const SelectionGridRow& row, RunFrame& frame);
    // Applies the chosen changes to the subscriber at the current rows of the directory lists.
    ObjectOutcome MakeChangesToSubscriber(RunFrame& frame);
    void writeThroughToDirectory(SubscriberEdit& edit);

    Session& m_session;
    RunLog& m_log;
    OptionsSnapshot m_snapshot;   // a copy: the engine may outlive the snapshot it was given
    EngineOptions m_options{m_snapshot};
    std::span<const SubscriberChangeCategory> m_categories;
    qint32 m_processed = 0;
};
