// Times the call handler options page on generated installations (50,000 subscribers by
// default): its first showing as the selection page's Next makes it (the page built, captioned
// and filled by its load, shown and painted), and its showing again after Previous; the
// process's peak memory beside them.
// Run by hand: build/bench/bench_handler_options_page [subscriber counts...]
#include "handlers/ui/frmSelectCallHandlerChanges.h"
#include "bench/PageBench.h"

int main(int argc, char** argv)
{
    return runPageBench(argc, argv, [](BenchWizard& wizard, int size, QTextStream& out) {
        QElapsedTimer timer;
        timer.start();
        auto page = std::make_unique<frmSelectCallHandlerChanges>(wizard.context);
        page->show();
        QApplication::processEvents();
        const qint64 firstShowMs = timer.elapsed();

        // Previous hides the page; the selection page's Next shows the same page again.
        constexpr int kShowings = 20;
        const RepeatedTimes shown = timeRepeatedly(
            kShowings,
            [&] {
                page->hide();
                QApplication::processEvents();
            },
            [&] {
                page->show();
                QApplication::processEvents();
            });
        out << QString("%1 subscribers: first show %2 ms; shown again mean %3 ms, slowest %4 ms over %5 "
                       "showings; %6 messages, %7 named controls; peak memory %8 MiB")
                   .arg(size).arg(firstShowMs).arg(shown.totalUs / 1000.0 / kShowings, 0, 'f', 2)
                   .arg(shown.slowestUs / 1000.0, 0, 'f', 2).arg(kShowings).arg(wizard.messagesShown)
                   .arg(namedControlCount(*page)).arg(peakMemoryMiB())
            << Qt::endl;
    });
}
