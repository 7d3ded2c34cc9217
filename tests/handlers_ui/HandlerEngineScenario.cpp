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

::testing::AssertionResult HandlerEngineScenario::open(const QString& section, const QStringList& setup)
{
    this->section = section;
    for (const QString& statement : setup)
        sql(statement);
    return open();
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

void HandlerEngineScenario::make(const QList<std::pair<QString, QString>>& choices)
{
    for (const auto& [name, text] : choices) {
        if (text.startsWith('=') || text.startsWith('@'))
            text[0] == '=' ? chooseString(name, text.mid(1).toInt()) : chooseItem(name, text, text.mid(1).toInt());
        else if (name.startsWith(QStringLiteral("opt")))
            pick(name);
        else
            choose(name, text);
    }
}

QString HandlerEngineScenario::columns(const QString& columns, const QString& from, const QVariantList& values)
{
    QStringList each;
    for (const QString& column : columns.split(','))
        each << "IFNULL(" + column + ",'null')";
    return stored("SELECT " + each.join(QStringLiteral("||'|'||")) + " FROM " + from, values).toString();
}

QString HandlerEngineScenario::columnsOf(const QString& table, int index, const QString& alias, const QString& columns)
{
    return this->columns(columns, table + " WHERE ParentObjectID=? AND Alias=?", {rows.value(index).objectID, alias});
}

void HandlerEngineScenario::refuseUpdates(const QString& table, const QString& objectID, const QString& alias)
{
    QStringList when{QStringLiteral("1")};
    if (!objectID.isEmpty())
        when << QString(table == QLatin1String("CallHandler") ? "OLD.CallHandlerObjectID='" : "OLD.ParentObjectID='") + objectID + "'";
    if (!alias.isEmpty())
        when << "OLD.Alias='" + alias + "'";
    sql("CREATE TRIGGER Refuse" + table + " BEFORE UPDATE ON " + table + " WHEN " + when.join(" AND ")
        + " BEGIN SELECT RAISE(ABORT, 'refused by the server'); END");
}

Recordset& HandlerEngineScenario::listed(const QString& objectID)
{
    Recordset& list = session.rsNonPrimaryCallHandlers;
    list.moveFirst();
    EXPECT_TRUE(list.find("CallHandlerObjectID='" + objectID + "'")) << objectID.toStdString();
    return list;
}
