#include "tests/subscribers_ui/EngineScenario.h"

#include "core/Recordset.h"
#include "core/RunFrame.h"
#include "core/ui/OptionsCapture.h"
#include "subscribers/SubscriberEngine.h"
#include "subscribers/ui/frmSelectSubscriberChanges.h"
#include "subscribers/ui/frmSetConversationStyleLimits.h"


EngineScenario::EngineScenario(const velmo::InstallationOptions& options, qint16 kind)
    : WizardRun(options), SnapshotChoices(session.languages)
{
    context.state.iSelectedSubscriberType = kind;
}

EngineScenario::~EngineScenario()
{
    delete page;
}

::testing::AssertionResult EngineScenario::open()
{
    ::testing::AssertionResult started = start();
    if (!started)
        return started;
    page = new frmSelectSubscriberChanges(context);
    options = captureOptions(page, {frmSetConversationStyleLimits::instance(context, page)});
    log = std::make_unique<RunLog>(programFolder.path(), messages.sink());
    return started;
}

void EngineScenario::limit(const QString& name, int checkState)
{
    options.dialog(QStringLiteral("frmSetConversationStyleLimits")).control(name).checkState = checkState;
}

QStringList EngineScenario::run(int count)
{
    QList<SelectionGridRow> first;
    Recordset& subscribers = session.rsSubscribers;
    for (subscribers.moveFirst(); !subscribers.eof() && first.size() < count; subscribers.moveNext())
        first << SelectionGridRow{true, subscribers.value(QStringLiteral("Alias")).toString(),
                                  subscribers.value(QStringLiteral("SubscriberObjectID")).toString()};
    EXPECT_EQ(first.size(), count) << "the installation holds fewer subscribers";
    return run(first);
}

QStringList EngineScenario::run(const QList<SelectionGridRow>& gridRows)
{
    rows = gridRows;
    SubscriberEngine engine(session, *log, options);
    const QString path = log->startNewLog({});
    RunFrame frame(session, *log);
    EXPECT_EQ(engine.run(rows, frame), RunEnd::Completed);
    log->Close();
    lines = runLogLines(path, QStringLiteral("Starting subscriber edits"));
    return lines;
}

QStringList EngineScenario::changesOf(int index) const
{
    qsizetype line = -1;
    for (int block = 0; block <= index; ++block) {
        line = lines.indexOf(QStringLiteral("** Updating subscriber **"), line + 1);
        if (line < 0)
            return {};
    }
    while (line < lines.size() && !lines[line].startsWith(QStringLiteral("    Extension=")))
        ++line;
    QStringList changes;
    for (++line; line < lines.size(); ++line) {
        if (lines[line] == QStringLiteral("** Updating subscriber **") || lines[line].startsWith(QStringLiteral("Changes complete at:")))
            break;
        changes << lines[line];
    }
    while (!changes.isEmpty() && changes.last().isEmpty())
        changes.removeLast();
    return changes;
}
