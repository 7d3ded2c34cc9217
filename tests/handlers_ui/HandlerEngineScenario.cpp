#include "tests/handlers_ui/HandlerEngineScenario.h"

#include "core/Recordset.h"
#include "core/RunFrame.h"
#include "handlers/HandlerEngine.h"

namespace {

velmo::InstallationOptions withHandlers(velmo::InstallationOptions options, int handlers)
{
    options.nonPrimaryCallHandlerCount = handlers;
    return options;
}

const QString kHeading = QStringLiteral("** Updating handler **");

}  // namespace

HandlerEngineScenario::HandlerEngineScenario(int handlers, velmo::InstallationOptions options)
    : HandlerOptionsPage(withHandlers(std::move(options), handlers)), SnapshotChoices(session.languages)
{
}

::testing::AssertionResult HandlerEngineScenario::open()
{
    ::testing::AssertionResult opened = HandlerOptionsPage::open();
    if (!opened)
        return opened;
    options = page->snapshot();
    log = std::make_unique<RunLog>(programFolder.path(), messages.sink());
    return opened;
}

QList<SelectionGridRow> HandlerEngineScenario::firstHandlers(int count)
{
    QList<SelectionGridRow> first;
    Recordset& handlers = session.rsNonPrimaryCallHandlers;
    for (handlers.moveFirst(); !handlers.eof() && first.size() < count; handlers.moveNext())
        first << SelectionGridRow{true, handlers.value(QStringLiteral("Alias")).toString(),
                                  handlers.value(QStringLiteral("CallHandlerObjectID")).toString()};
    EXPECT_EQ(first.size(), count) << "the installation holds fewer handlers";
    return first;
}

QStringList HandlerEngineScenario::run(int count)
{
    return run(firstHandlers(count));
}

QStringList HandlerEngineScenario::run(const QList<SelectionGridRow>& gridRows)
{
    rows = gridRows;
    std::vector<HandlerEditSection> sections;
    for (const HandlerEditSection& each : handlerEditSections())
        if (section.isEmpty() || section == QLatin1String(each.name))
            sections.push_back(each);
    EXPECT_FALSE(sections.empty()) << "no section " << section.toStdString();
    HandlerEngine engine(session, *log, options, sections);
    const QString path = log->startNewLog({});
    RunFrame frame(session, *log);
    EXPECT_EQ(engine.run(rows, frame), RunEnd::Completed);
    log->Close();
    lines = runLogLines(path, QStringLiteral("Starting call handler edits"));
    return lines;
}

QStringList HandlerEngineScenario::changesOf(int index) const
{
    qsizetype line = -1;
    for (int block = 0; block <= index; ++block) {
        line = lines.indexOf(kHeading, line + 1);
        if (line < 0)
            return {};
    }
    while (line < lines.size() && !lines[line].startsWith(QStringLiteral("Extension=")))
        ++line;
    QStringList changes;
    for (++line; line < lines.size() && lines[line] != kHeading; ++line)
        changes << lines[line];
    while (!changes.isEmpty() && changes.last().isEmpty())
        changes.removeLast();
    if (!changes.isEmpty() && changes.last() == QStringLiteral("   Hanlder updates complete"))
        changes.removeLast();
    return changes;
}
