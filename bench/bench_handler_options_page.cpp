// Times the call handler options page on generated installations (50,000 subscribers by
// default): its first showing as the selection page's Next makes it (the page built, captioned
// and filled by its load, shown and painted), and its showing again after Previous; the
// process's peak memory beside them.
// Run by hand: build/bench/bench_handler_options_page [subscriber counts...]
#include "core/DirectoryLists.h"
#include "core/Session.h"
#include "core/ui/FormRegistry.h"
#include "core/ui/MessageBoxService.h"
#include "core/ui/OptionsCapture.h"
#include "core/ui/WizardContext.h"
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
        auto page = std::make_unique<frmSelectCallHandlerChanges>(context);
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
        const QList<QWidget*> children = page->findChildren<QWidget*>();
        out << QString("%1 subscribers: first show %2 ms; shown again mean %3 ms, slowest %4 ms over %5 "
                       "showings; %6 messages, %7 named controls; peak memory %8 MiB")
                   .arg(size).arg(firstShowMs).arg(total / 1000.0 / kShowings, 0, 'f', 2)
                   .arg(slowest / 1000.0, 0, 'f', 2).arg(kShowings).arg(messagesShown)
                   .arg(std::count_if(children.begin(), children.end(), isNamedControl)).arg(peakMemoryMiB())
            << Qt::endl;
        page.reset();
        CloseServerRecordsets(session);
    }
    return 0;
}
