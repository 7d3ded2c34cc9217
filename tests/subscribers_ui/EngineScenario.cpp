#include "tests/subscribers_ui/EngineScenario.h"

#include "core/Recordset.h"
#include "core/RunFrame.h"
#include "core/ui/OptionsCapture.h"
#include "subscribers/SubscriberEngine.h"
#include "subscribers/ui/frmSelectSubscriberChanges.h"
#include "subscribers/ui/frmSetConversationStyleLimits.h"

#include <QFile>

EngineScenario::EngineScenario(const velmo::InstallationOptions& options, qint16 kind) : WizardRun(options)
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

ControlState& EngineScenario::control(const QString& name)
{
    return options.control(name);
}

void EngineScenario::choose(const QString& name, const QString& text)
{
    ControlState& list = control(name);
    list.text = text;
    list.currentIndex = -1;
    list.current = {text, {}, -1};
    for (int index = 0; index < list.items.size(); ++index)
        if (list.items[index].text == text) {
            list.currentIndex = index;
            list.current = list.items[index];
            return;
        }
}

void EngineScenario::chooseString(const QString& name, int number)
{
    choose(name, string(number));
}

void EngineScenario::chooseItem(const QString& name, const QString& text, const QVariant& data, int index)
{
    ControlState& list = control(name);
    const ListItem item{text, data, -1};
    while (list.items.size() <= index)
        list.items << ListItem{};
    list.items[index] = item;
    list.text = text;
    list.currentIndex = index;
    list.current = item;
}

void EngineScenario::tick(const QString& name, int checkState)
{
    control(name).checkState = checkState;
}

void EngineScenario::type(const QString& name, const QString& text)
{
    control(name).text = text;
}

void EngineScenario::pick(const QString& name, bool selected)
{
    control(name).selected = selected;
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
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    lines = lines.mid(qMax<qsizetype>(0, lines.indexOf(QStringLiteral("Starting subscriber edits"))));
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

QVariant EngineScenario::stored(const QString& query, const QVariantList& values)
{
    return session.database.select(query, values).rows.value(0).value(0);
}

QString EngineScenario::string(int number) const
{
    return session.languages.mymyLoadString(number);
}
