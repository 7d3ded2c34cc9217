// Times the call handler options page on generated installations (50,000 subscribers by
// default): its first showing as the selection page's Next makes it (the page built, captioned
// and filled by its load, shown and painted), and its showing again after Previous; the
// process's peak memory beside them.
// Run by hand: build/bench/bench_handler_options_page [subscriber counts...]
#include "handlers/ui/frmSelectCallHandlerChanges.h"
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
        auto page = std::make_unique<frmSelectCallHandlerChanges>(wizard->context);
        page->show();
        QApplication::processEvents();
        const qint64 firstShowMs = timer.elapsed();

        // Previous hides the page; the selection page's Next shows the same page again.
        constexpr int kShowings = 20;
        qint64 slowest = 0;
        qint64 total = 0;
        for (int showing = 0; showing < kShowings; ++showing) {
            page->hide();
            QApplication::processEvents();
            timer.restart();
            page->show();
            QApplication::processEvents();
            const qint64 us = timer.nsecsElapsed() / 1000;
            slowest = std::max(slowest, us);
            total += us;
        }
        out << QString("%1 subscribers: first show %2 ms; shown again mean %3 ms, slowest %4 ms over %5 "
                       "showings; %6 messages, %7 named controls; peak memory %8 MiB")
                   .arg(size).arg(firstShowMs).arg(total / 1000.0 / kShowings, 0, 'f', 2)
                   .arg(slowest / 1000.0, 0, 'f', 2).arg(kShowings).arg(wizard->messagesShown)
                   .arg(namedControlCount(*page)).arg(peakMemoryMiB())
            << Qt::endl;
    }
    return 0;
}
