// Times the subscriber options page on generated installations (50,000 subscribers by default):
// its first showing as the selection page's first Next makes it (the page built, captioned and
// filled by its load, filled again, shown and painted), and a later entry's PopulateControls; the
// process's peak memory beside them.
// Run by hand: build/bench/bench_options_page [subscriber counts...]
#include "core/DirectoryLists.h"
#include "core/Session.h"
#include "core/ui/FormRegistry.h"
#include "core/ui/MessageBoxService.h"
#include "core/ui/OptionsCapture.h"
#include "core/ui/WizardContext.h"
#include "subscribers/ui/frmSelectSubscriberChanges.h"
#include "bench/BenchInstallations.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <memory>

int main(int argc, char** argv)
{
    // Headless unless a display is given (under xvfb-run the page is really drawn).
    if (!qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    for (const int size : benchSizes(argc, argv, {50000})) {
        QTemporaryDir dir;
        const std::unique_ptr<Session> opened = openBenchSession(dir.path(), size, out);
        if (!opened)
            return 1;
        Session& session = *opened;
        MessageBoxService messages;
        int messagesShown = 0;
        messages.setAnswerer([&](const MessageBoxService::Request&) {
            ++messagesShown;
            return QMessageBox::Ok;
        });
        FormRegistry forms;
        WizardContext context{session, messages, forms};

        QElapsedTimer timer;
        timer.start();
        auto page = std::make_unique<frmSelectSubscriberChanges>(context);
        const qint64 loadMs = timer.elapsed();
        page->PopulateControls();
        page->show();
        QApplication::processEvents();
        const qint64 firstShowMs = timer.elapsed();

        constexpr int kEntries = 20;
        qint64 slowest = 0;
        qint64 total = 0;
        for (int entry = 0; entry < kEntries; ++entry) {
            timer.restart();
            page->PopulateControls();
            const qint64 ms = timer.nsecsElapsed() / 1000;
            slowest = std::max(slowest, ms);
            total += ms;
        }
        const QList<QWidget*> children = page->findChildren<QWidget*>();
        out << QString("%1 subscribers: first show %2 ms (load %3 ms); re-entry PopulateControls mean %4 ms, "
                       "slowest %5 ms over %6 entries; %7 messages, %8 named controls; peak memory %9 MiB")
                   .arg(size).arg(firstShowMs).arg(loadMs).arg(total / 1000.0 / kEntries, 0, 'f', 2)
                   .arg(slowest / 1000.0, 0, 'f', 2).arg(kEntries).arg(messagesShown)
                   .arg(std::count_if(children.begin(), children.end(), isNamedControl)).arg(peakMemoryMiB())
            << Qt::endl;
        page.reset();
        CloseServerRecordsets(session);
    }
    return 0;
}
