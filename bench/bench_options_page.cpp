// Times the subscriber options page on generated installations (50,000 subscribers by default):
// its first showing as the selection page's first Next makes it (the page built, captioned and
// filled by its load, filled again, shown and painted), and a later entry's PopulateControls; the
// process's peak memory beside them.
// Run by hand: build/bench/bench_options_page [subscriber counts...]
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
    headlessUnlessDisplayed();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    for (const int size : benchSizes(argc, argv, {50000})) {
        QTemporaryDir dir;
        const std::unique_ptr<BenchWizard> wizard = openBenchWizard(dir.path(), size, out);
        if (!wizard)
            return 1;

        QElapsedTimer timer;
        timer.start();
        auto page = std::make_unique<frmSelectSubscriberChanges>(wizard->context);
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
        out << QString("%1 subscribers: first show %2 ms (load %3 ms); re-entry PopulateControls mean %4 ms, "
                       "slowest %5 ms over %6 entries; %7 messages, %8 named controls; peak memory %9 MiB")
                   .arg(size).arg(firstShowMs).arg(loadMs).arg(total / 1000.0 / kEntries, 0, 'f', 2)
                   .arg(slowest / 1000.0, 0, 'f', 2).arg(kEntries).arg(wizard->messagesShown)
                   .arg(namedControlCount(*page)).arg(peakMemoryMiB())
            << Qt::endl;
    }
    return 0;
}
