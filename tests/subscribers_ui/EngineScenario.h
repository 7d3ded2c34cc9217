#pragma once
// A run of the subscriber engine as Go starts it: the real options page loaded on a generated
// installation, its snapshot (with the conversation style dialog) changed by the choices a test
// makes, and the engine over the first subscribers of the directory list. Choices are made in
// the snapshot by control name, so a test does not depend on how a list was filled, and every
// name the engine reads is one the real page has (a missing one is logged as an error).
#include "core/OptionsSnapshot.h"
#include "core/RunLog.h"
#include "core/WizardState.h"
#include "tests/support/widgets/PageHarness.h"

#include <QTemporaryDir>

#include <memory>

class frmSelectSubscriberChanges;

class EngineScenario : public WizardRun {
public:
    explicit EngineScenario(const velmo::InstallationOptions& options = TempInstallation::smallOptions(),
                            qint16 kind = 1);
    ~EngineScenario();

    // Starts the run, loads the options page and takes its snapshot.
    ::testing::AssertionResult open();

    // Choices, made in the snapshot. `name` is a control's name or "Array_i" (elementName).
    // A list shows `text`; when one of its items has that text, that item is selected (its
    // position and item data), else the text stands alone as typed into the box.
    void choose(const QString& name, const QString& text);
    // A list shows resource string `number` of the current language.
    void chooseString(const QString& name, int number);
    // A list's selected item is this one (a list filled from the database or the registry).
    void chooseItem(const QString& name, const QString& text, const QVariant& data, int index = 1);
    void tick(const QString& name, int checkState = CheckValue::Ticked);
    void type(const QString& name, const QString& text);
    void pick(const QString& name, bool selected = true);
    // A check box of the conversation style dialog.
    void limit(const QString& name, int checkState);

    // Runs the engine over the first `count` subscribers of the directory list; the log's lines
    // (CR LF split) from "Starting subscriber edits" on.
    QStringList run(int count = 1);
    // Runs the engine over these rows of the selection grid.
    QStringList run(const QList<SelectionGridRow>& gridRows);
    // The lines subscriber `index` of the last run got after its "    Extension=" line.
    QStringList changesOf(int index = 0) const;
    // A value read straight from the database: the first column of the first row.
    QVariant stored(const QString& query, const QVariantList& values = {});
    QString string(int number) const;

    frmSelectSubscriberChanges* page = nullptr;
    OptionsSnapshot options;
    QList<SelectionGridRow> rows;   // the rows of the last run
    QStringList lines;              // the log of the last run
    std::unique_ptr<RunLog> log;
    QTemporaryDir programFolder;

private:
    ControlState& control(const QString& name);
};
