#pragma once
// What Go does on either engine page around the page's own engine: the run log created if
// missing and started (no log, no run: its failure is shown and Go stays available), Previous and
// Go disabled, the wait cursor, the engine on a RunFrame whose deferred Exit ends the program, its
// progress on the page's bar and counter; then the database closed (nothing needs it after a run:
// the file alone holds the run) and, unless Exit ended the program, the cursor back, the log
// closed, the page's closing messages (or, when the run stopped early, the one message that says
// why and what was kept), the page's notices of the work its kept changes asked for (unless the
// database failed), and the offer to open the log when it holds the whole run.
#include "core/Errors.h"
#include "core/RunFrame.h"
#include "core/ui/RunLogOffer.h"

#include <QString>
#include <functional>

class Languages;
class QWidget;
class RunLog;
struct RunPageControls;
struct WizardContext;

// How a page writes its counts (the processed count, the closing message's): padded with a
// leading blank, as the subscriber run does, or plain, as the call handler run does.
enum class CountForm { Padded, Plain };
QString countText(qint64 count, CountForm form);

// How a page words its run: its count form, and its objects ("subscriber", "call handler").
struct RunWording {
    CountForm countForm;
    const char* noun;
};

// What a run shows while it goes, in the shape both engines report it.
struct RunProgress {
    std::function<void(int maximum)> started;
    std::function<void(int value, qint32 processed)> rowDone;
};

class EngineRun {
public:
    // The page's engine over the grid rows on `frame`, writing into the started `log`.
    using Engine = std::function<RunEnd(RunLog& log, RunFrame& frame, const RunProgress& progress)>;
    // The page's messages after a run over every row; the log is closed.
    using Closing = std::function<void(const RunLog& log)>;
    // The page's notices of the work that its kept changes asked for (none when empty).
    using Notices = std::function<void()>;

    EngineRun(WizardContext& context, QWidget& page, const RunPageControls& controls, RunWording wording)
        : m_context(context), m_page(page), m_controls(controls), m_wording(wording)
    {
    }

    // How the log is opened after the run (the desktop's handler by default).
    void setLogOpener(HelpFiles::Opener opener) { m_logOffer.setOpener(std::move(opener)); }
    // Exit during a run: the object under way commits or rolls back, then the program ends.
    // False when no run is under way.
    bool requestStop();
    void go(const Engine& engine, const Closing& closing, const Notices& notices = {});

private:
    WizardContext& m_context;
    QWidget& m_page;
    const RunPageControls& m_controls;
    const RunWording m_wording;
    RunLogOffer m_logOffer;
    RunFrame* m_frame = nullptr;   // while a run is under way
};

// The message after a run that stopped before its last row: why (`cause` and the failure's
// description), the objects of the kind `noun` changed before it and what became of their
// changes (`kept`, from keptChanges), the one under way rolled back, the selected ones not
// touched, and `advice`.
QString runStoppedEarly(const QString& cause, const KestraneError& failure, const RunFrame& frame, int untouched,
                        const QString& noun, const QString& kept, const QString& advice);
// What became of the changes of the objects the frame kept: kept, or written to the database file
// that was let go of (Database::fileLetGo) and not in the file now at its path; nothing to say
// of that file when no object was kept.
QString keptChanges(const RunFrame& frame, const QString& fileLetGo = QString());
// The advice after a run whose log broke: where a log whose file is gone was written again (or
// that it is lost, and why), room to make when the disk is full.
QString afterBrokenLog(RunLog& log);

// Message 115 / 5 / 8: the errors and warnings the run logged (the page adds its line ending).
QString runSummary(const Languages& languages, const RunLog& log, CountForm form);
