// Times the call handler selection page's "Add Handlers To Grid" on generated installations of
// 10,000 and 50,000 non-primary call handlers (by default): "All call handlers", the switch type
// (one contact rule query per handler) and a CSV file of 10,000 lines, half extensions, half
// aliases. The page runs as in the tool, grid and progress window included.
// Run by hand: build/bench/bench_handler_selection [handler counts...]
#include "bench/BenchInstallations.h"
#include "core/DirectoryLists.h"
#include "core/Session.h"
#include "core/ui/FormRegistry.h"
#include "core/ui/MessageBoxService.h"
#include "core/ui/WizardContext.h"
#include "handlers/ui/HandlerGrid.h"
#include "handlers/ui/frmChooseHandlers.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QTextStream out(stdout);

// Chooses the type, runs the View and reports its time and the rows it left.
void view(frmChooseHandlers& page, int type, const QString& label, int items, const char* unit = "handler")
{
    auto* types = page.findChild<QComboBox*>("cmbHandlerSelectType");
    types->setCurrentIndex(types->findData(type));
    QElapsedTimer timer;
    timer.start();
    page.findChild<QPushButton*>("cmdView")->click();
    const qint64 ms = timer.elapsed();
    out << QString("  %1: %2 ms for %3 %4s (%5 us a %4), %6 rows")
               .arg(label).arg(ms).arg(items).arg(QLatin1String(unit)).arg(ms * 1000.0 / items, 0, 'f', 1)
               .arg(page.grid()->Rows() - 1)
        << Qt::endl;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const int handlers : benchSizes(argc, argv, {10000, 50000})) {
        QTemporaryDir dir;
        QString error;
        if (!createBenchInstallation(dir.path(), 200, &error, handlers)) {
            out << "cannot create installation: " << error << Qt::endl;
            return 1;
        }
        Session session(Installation::at(dir.path()));
        session.loadRegistry();
        session.gServerVersion = getVersion(session.registry);
        session.switchInfo = InitalizeSwitchInfo(session.registry, session.gServerVersion);
        if (!LoadDirectoryLists(session, session.strConnectionString)) {
            out << "LoadDirectoryLists failed" << Qt::endl;
            return 1;
        }
        MessageBoxService messages;
        QStringList shown;
        messages.setAnswerer([&](const MessageBoxService::Request& request) {
            shown << request.text;
            return QMessageBox::Ok;
        });
        FormRegistry forms;
        WizardContext context{session, messages, forms};
        frmChooseHandlers page(context);
        page.show();
        QApplication::processEvents();
        out << QString("%1 non-primary call handlers").arg(handlers) << Qt::endl;

        view(page, 1, "All call handlers", handlers);
        view(page, 1, "All call handlers, again", handlers);
        if (handlers <= 10000) {
            auto* switches = page.findChild<QComboBox*>("comHandlerSwitch");
            switches->setCurrentIndex(0);
            view(page, 7, "Switch \"" + switches->currentText() + "\"", handlers);
        }

        // 10,000 lines spread over the list: extensions where a handler has one, else its alias.
        QStringList extensions, aliases;
        Recordset& list = session.rsNonPrimaryCallHandlers;
        for (list.moveFirst(); !list.eof(); list.moveNext()) {
            extensions << list.value("DTMFAccessID").toString();
            aliases << list.value("Alias").toString();
        }
        QStringList lines;
        for (int i = 0; i < 10000; ++i) {
            const int n = int(qint64(i) * 7919 % aliases.size());
            lines << (i % 2 == 0 && !extensions[n].isEmpty() ? extensions[n] + "," : "," + aliases[n]);
        }
        const QString path = dir.filePath("handlers.csv");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(("Extension,Alias\r\n" + lines.join("\r\n") + "\r\n").toUtf8());
        file.close();
        page.findChild<QLineEdit*>("txtCSVPath")->setText(path);
        shown.clear();
        view(page, 8, "CSV of 10,000 lines", 10000, "line");
        out << "    \"" << shown.value(shown.size() - 1) << "\" (" << shown.size() << " messages)" << Qt::endl;
        CloseServerRecordsets(session);
    }
    return 0;
}
