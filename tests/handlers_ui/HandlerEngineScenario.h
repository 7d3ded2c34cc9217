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
    // The same for the runs of `section` alone, on an installation that `setup` changed first.
    ::testing::AssertionResult open(const QString& section, const QStringList& setup = {});

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

    // Choices by control name: "=N" shows resource string N, "@N" selects a list item whose data
    // is N, an option button ("opt...") is set, any other text is shown as typed.
    void make(const QList<std::pair<QString, QString>>& choices);
    // Columns "A,B" of the first row of `from` ("Table WHERE ..."), as "a|b" (null: "null").
    QString columns(const QString& columns, const QString& from, const QVariantList& values = {});
    // The same of the rule or menu entry `alias` in `table` of handler `index` of the last run.
    QString columnsOf(const QString& table, int index, const QString& alias, const QString& columns);
    // The database refuses each update of `table`'s rows of handler `objectID` (of every handler
    // when empty) and, when given, of `alias`.
    void refuseUpdates(const QString& table, const QString& objectID, const QString& alias = {});
    // The list of non-primary call handlers at handler `objectID`.
    Recordset& listed(const QString& objectID);

    // The one section the runs apply (by name), so that a test of a section sees its lines only;
    // empty: every section.
    QString section;
    QList<SelectionGridRow> rows;   // the rows of the last run
    QStringList lines;              // the log of the last run
    std::unique_ptr<RunLog> log;
    QTemporaryDir programFolder;
};
