#pragma once
// A run of the call handler engine as Go starts it: the real options page loaded on a generated
// installation with `handlers` non-primary call handlers, its snapshot changed by the choices a
// test makes (SnapshotChoices), and the engine over the first handlers of the directory list.
#include "core/RunLog.h"
#include "core/WizardState.h"
#include "tests/handlers_ui/HandlerOptionsPageFixture.h"
#include "tests/support/widgets/SnapshotChoices.h"

#include <QTemporaryDir>

#include <memory>

class HandlerEngineScenario : public HandlerOptionsPage, public SnapshotChoices {
public:
    explicit HandlerEngineScenario(int handlers = 3, velmo::InstallationOptions options = TempInstallation::smallOptions());

    // Starts the run, loads the options page and takes its snapshot.
    ::testing::AssertionResult open();

    // The grid rows of the first `count` handlers of the list of non-primary call handlers.
    QList<SelectionGridRow> firstHandlers(int count);
    // Runs the engine over the first `count` handlers; the log's lines (CR LF split) from
    // "Starting call handler edits" on.
    QStringList run(int count = 1);
    // Runs the engine over these rows of the selection grid.
    QStringList run(const QList<SelectionGridRow>& gridRows);
    // The lines handler `index` of the last run got after its "Extension=" line, without the
    // closing "   Hanlder updates complete" and the empty lines after it.
    QStringList changesOf(int index = 0) const;

    // The one section the runs apply (by name), so that a test of a section sees its lines only;
    // empty: every section.
    QString section;
    QList<SelectionGridRow> rows;   // the rows of the last run
    QStringList lines;              // the log of the last run
    std::unique_ptr<RunLog> log;
    QTemporaryDir programFolder;
};
