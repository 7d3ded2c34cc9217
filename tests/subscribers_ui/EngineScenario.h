#pragma once
// A run of the subscriber engine as Go starts it: the real options page loaded on a generated
// installation, its snapshot (with the conversation style dialog) changed by the choices a test
// makes (SnapshotChoices), and the engine over the first subscribers of the directory list.
#include "core/OptionsSnapshot.h"
#include "core/RunLog.h"
#include "core/WizardState.h"
#include "tests/support/widgets/PageHarness.h"
#include "tests/support/widgets/SnapshotChoices.h"

#include <QTemporaryDir>

#include <memory>

class frmSelectSubscriberChanges;

class EngineScenario : public WizardRun, public SnapshotChoices {
public:
    explicit EngineScenario(const velmo::InstallationOptions& options = TempInstallation::smallOptions(),
                            qint16 kind = 1);
    ~EngineScenario();

    // Starts the run, loads the options page and takes its snapshot.
    ::testing::AssertionResult open();

    // A check box of the conversation style dialog.
    void limit(const QString& name, int checkState);

    // Runs the engine over the first `count` subscribers of the directory list; the log's lines
    // (CR LF split) from "Starting subscriber edits" on.
    QStringList run(int count = 1);
    // Runs the engine over these rows of the selection grid.
    QStringList run(const QList<SelectionGridRow>& gridRows);
    // The lines subscriber `index` of the last run got after its "    Extension=" line.
    QStringList changesOf(int index = 0) const;

    frmSelectSubscriberChanges* page = nullptr;
    QList<SelectionGridRow> rows;   // the rows of the last run
    QStringList lines;              // the log of the last run
    std::unique_ptr<RunLog> log;
    QTemporaryDir programFolder;
};
