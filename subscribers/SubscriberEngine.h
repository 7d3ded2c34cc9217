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
#include "core/EngineOptions.h"
#include "core/RunFrame.h"
#include "core/RunLog.h"
#include "core/WizardState.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <bitset>
#include <functional>
#include <span>

class Recordset;
class Session;

// Every control the engine reads, in one list: the controls of every category (the engine's
// EngineOptions refuses any other), so that the list can be checked against the real page.
const EngineControlList& subscriberEngineControlList();
// The names of the list's controls of one form, array elements spelt out.
QStringList subscriberEngineControlNames(const QString& form);

// The options page (and its conversation style dialog) as the categories read it: a type of its
// own, so that the handler engine's reader cannot be handed to the subscriber engine's functions.
class SubscriberOptions : public EngineOptions {
public:
    explicit SubscriberOptions(const OptionsSnapshot& page) : EngineOptions(page, subscriberEngineControlList()) {}
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
constexpr std::size_t kScratchQueryCount = 7;

// One subscriber being changed: what the categories work with.
class SubscriberEdit {
public:
    SubscriberEdit(Session& session, RunLog& log, const SubscriberOptions& options, ObjectActions& actions)
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
    // The same for a list already looked up (a name of a category's constant table, say).
    bool applyTriStateOf(const ControlState& list, Recordset& row, const QString& column, const QString& line);
    // The code of a tri-state list: 1 "TRUE", 0 "FALSE", 2 "<Don't Change>", 3 any other text.
    qint16 triState(const ControlState& list) const;
    // Runs one step of a category (runEngineStep). A failure of the database ends the subscriber
    // (its transaction is rolled back); any other failure is logged as the procedure's error line
    // and ends only this step, so a change line after the failing statement is not written.
    void step(const std::function<void()>& work);
    // Closes the scratch recordset quietly and opens it on `sql` (prepared once per run, the
    // values bound), writable with optimistic concurrency. A failing open throws.
    Recordset& scratch(ScratchQuery which, const QString& sql, const QVariantList& values = {});
    // The same for rows that several categories work on: read at the first call for this
    // subscriber, then handed on as the earlier categories left it (they write through it).
    Recordset& sharedScratch(ScratchQuery which, const QString& sql, const QVariantList& values = {});
    // Every contact rule of the primary call handler, in the shared scratch recordset.
    Recordset& contactRules();

    // The run-wide flags (Session): set, never cleared by the engine.
    void requestDirectoryWriteThrough();
    void requestNotifierRestart();

    Session& session;
    RunLog& log;
    const SubscriberOptions& options;
    ObjectActions& actions;   // on-commit / on-rollback actions (greeting files)

    QString rootPath;           // the server's folder ("Root Path"); empty when not set
    QString alias;              // the subscriber row's Alias
    QString currentExtension;   // the handler row's DTMFAccessID as the subscriber came
    QString workingExtension;   // the extension as the primary extension change leaves it

private:
    Recordset& scratchRecordset(ScratchQuery which);
    std::bitset<kScratchQueryCount> m_sharedScratchRead;   // sharedScratch's rows read, by ScratchQuery
};

// The error line of the per-subscriber procedure for a failure, for work that runs outside a
// step (an on-commit action).
QString subscriberEditErrorLine(const KestraneError& failure);

// One change category: a step of the per-subscriber procedure.
struct SubscriberChangeCategory {
    const char* name;
    void (*apply)(SubscriberEdit& edit);
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
    SubscriberOptions m_options{m_snapshot};
    std::span<const SubscriberChangeCategory> m_categories;
    qint32 m_processed = 0;
};
