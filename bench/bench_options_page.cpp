// Times the subscriber options page on generated installations (50,000 subscribers by default):
// its first showing as the selection page's first Next makes it (the page built, captioned and
// filled by its load, filled again, shown and painted), and a later entry's PopulateControls; the
// process's peak memory beside them.
// Run by hand: build/bench/bench_options_page [subscriber counts...]
#include "subscribers/ui/frmSelectSubscriberChanges.h"
#include "bench/PageBench.h"

int main(int argc, char** argv)
{
    return runPageBench(argc, argv, [](BenchWizard& wizard, int size, QTextStream& out) {
        QElapsedTimer timer;
        timer.start();
        auto page = std::make_unique<frmSelectSubscriberChanges>(wizard.context);
        const qint64 loadMs = timer.elapsed();
        page->PopulateControls();
        page->show();
        QApplication::processEvents();
        const qint64 firstShowMs = timer.elapsed();

        constexpr int kEntries = 20;
        const RepeatedTimes entered = timeRepeatedly(kEntries, [] {}, [&] { page->PopulateControls(); });
        out << QString("%1 subscribers: first show %2 ms (load %3 ms); re-entry PopulateControls mean %4 ms, "
                       "slowest %5 ms over %6 entries; %7 messages, %8 named controls; peak memory %9 MiB")
                   .arg(size).arg(firstShowMs).arg(loadMs).arg(entered.totalUs / 1000.0 / kEntries, 0, 'f', 2)
                   .arg(entered.slowestUs / 1000.0, 0, 'f', 2).arg(kEntries).arg(wizard.messagesShown)
                   .arg(namedControlCount(*page)).arg(peakMemoryMiB())
            << Qt::endl;
    });
}
