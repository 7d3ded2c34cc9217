// Times the subscriber selection grid and the CSV selection file on generated installations:
// filling the grid with every subscriber (10,000 and 50,000 by default) in one batch and row by
// row, reading it back, clearing it, and reading CSV files of 10,000 lines by extension and by
// alias. Run by hand: build/bench/bench_subscriber_selection [subscriber counts...]
#include "core/DirectoryLists.h"
#include "core/Session.h"
#include "subscribers/SelectionQueries.h"
#include "subscribers/SubscriberCsv.h"
#include "subscribers/ui/SubscriberGrid.h"
#include "core/ui/frmSubscriberLoadProgress.h"
#include "bench/BenchInstallations.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTextStream>
#include <vector>

namespace {

QTextStream out(stdout);

// The grid row of the subscriber at the current record of rsSubscribers, as the selection page
// builds it; the extension and handler come from rsPrimaryCallHandlers when `handlers` is set.
SubscriberGridRow currentRow(Session& session, const QHash<QString, QString>& cosNames, bool handlers)
{
    const Recordset& s = session.rsSubscribers;
    const auto text = [&](const char* field) { return s.value(field).toString(); };
    SubscriberGridRow row{text("Alias"), text("FirstName"), text("LastName"), text("DisplayName"),
                          text("DTMFAccessID"), text("HomeServer"), text("RemoteNodeID"), text("LegacyMailbox"),
                          cosNames.value(text("COSObjectID").toUpper()), text("SubscriberObjectID"),
                          text("CallHandlerObjectID")};
    if (handlers) {
        row.extension = session.rsPrimaryCallHandlers.value("DTMFAccessID").toString();
        row.callHandlerObjectID = session.rsPrimaryCallHandlers.value("CallHandlerObjectID").toString();
    }
    return row;
}

qint64 fill(SubscriberGrid& grid, frmSubscriberLoadProgress& window, const std::vector<SubscriberGridRow>& rows, bool batch)
{
    QElapsedTimer timer;
    timer.start();
    grid.setRows(1);
    const SelectionProgress progress = window.rowProgress();
    progress.begin(int(rows.size()));
    if (batch)
        grid.beginFill();
    int done = 0;
    for (const SubscriberGridRow& row : rows) {
        progress.step(++done);
        grid.appendRow(row);
    }
    if (batch)
        grid.endFill();
    progress.end();
    grid.repaint();
    return timer.elapsed();
}

void benchCsv(Session& session, const QHash<QString, QString>& cosNames, const QString& folder, const char* column,
              const QStringList& values)
{
    const QString path = folder + "/selection.csv";
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write((QString(column) + "\r\n" + values.join("\r\n") + "\r\n").toUtf8());
    file.close();

    SubscriberGrid grid;
    frmSubscriberLoadProgress window;
    grid.show();
    window.show();
    QString closing;
    QElapsedTimer timer;
    timer.start();
    grid.beginFill();
    const CsvImportResult result = LoadSubscribersFromCSV(
        session, path, 1, [&] { grid.appendRow(currentRow(session, cosNames, true)); }, window.lineProgress(),
        [&](const QString& text) { closing = text; }, [&](int users) { window.showUsersAdded(users); });
    grid.endFill();
    const qint64 ms = timer.elapsed();
    out << QString("  CSV of %1 lines by %2: %3 ms (%4 us a line), %5 rows; \"%6\"")
               .arg(result.linesRead).arg(column).arg(ms).arg(result.linesRead ? ms * 1000.0 / result.linesRead : 0, 0, 'f', 1)
               .arg(grid.Rows() - 1).arg(closing)
        << Qt::endl;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const int size : benchSizes(argc, argv, {10000, 50000})) {
        QTemporaryDir dir;
        const std::unique_ptr<Session> opened = openBenchSession(dir.path(), size, out);
        if (!opened)
            return 1;
        Session& session = *opened;
        QHash<QString, QString> cosNames;
        for (session.rsCOS.moveFirst(); !session.rsCOS.eof(); session.rsCOS.moveNext())
            cosNames.insert(session.rsCOS.value("COSObjectID").toString().toUpper(), session.rsCOS.value("TextName").toString());

        QElapsedTimer timer;
        timer.start();
        std::vector<SubscriberGridRow> rows;
        QStringList aliases;
        QStringList extensions;
        Recordset& subscribers = session.rsSubscribers;
        for (subscribers.moveFirst(); !subscribers.eof(); subscribers.moveNext()) {
            rows.push_back(currentRow(session, cosNames, false));
            const int type = subscribers.value("SubscriberType").toInt();
            if ((type == 1 || type == 3) && !rows.back().extension.isEmpty()) {
                aliases << rows.back().alias;
                extensions << rows.back().extension;
            }
        }
        const qint64 readMs = timer.elapsed();
        out << QString("%1 subscribers (%2 rows read from rsSubscribers in %3 ms)").arg(size).arg(rows.size()).arg(readMs)
            << Qt::endl;

        SubscriberGrid grid;
        grid.resize(1000, 600);
        frmSubscriberLoadProgress window;
        grid.show();
        window.show();
        QApplication::processEvents();
        const qint64 batchMs = fill(grid, window, rows, true);
        timer.restart();
        const int checked = int(grid.checkedSubscribers().size());
        const qint64 checkedMs = timer.elapsed();
        timer.restart();
        grid.setAllChecked(false);
        grid.setAllChecked(true);
        const qint64 allMs = timer.elapsed();
        timer.restart();
        grid.setRows(1);
        const qint64 clearMs = timer.elapsed();
        const qint64 singleMs = fill(grid, window, rows, false);
        out << QString("  grid fill in one batch %1 ms, row by row %2 ms; checkedSubscribers %3 ms (%4 rows); "
                       "Unselect + Select All %5 ms; setRows(1) %6 ms")
                   .arg(batchMs).arg(singleMs).arg(checkedMs).arg(checked).arg(allMs).arg(clearMs)
            << Qt::endl;

        // What View does for "All subscribers": the query, then every row into the grid.
        grid.setRows(1);
        timer.restart();
        grid.beginFill();
        SubscriberSelectionCriteria all;
        all.type = SubscriberSelectionType::AllSubscribers;
        const int viewed = runSubscriberSelection(session, all, 1, [&](const SubscriberGridRow& row) { grid.appendRow(row); },
                                                  window.rowProgress(), {});
        grid.endFill();
        out << QString("  View \"All subscribers\": %1 rows in %2 ms").arg(viewed).arg(timer.elapsed()) << Qt::endl;

        // 10,000 lines, spread over the whole list (subscribers repeat on small installations).
        const auto tenThousand = [](const QStringList& values) {
            QStringList lines;
            for (int i = 0; i < 10000; ++i)
                lines << values[int(qint64(i) * 7919 % values.size())];
            return lines;
        };
        benchCsv(session, cosNames, dir.path(), "Extension", tenThousand(extensions));
        benchCsv(session, cosNames, dir.path(), "Alias", tenThousand(aliases));
        CloseServerRecordsets(session);
    }
    return 0;
}
