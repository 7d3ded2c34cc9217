#pragma once
// What the benchmarks share: the installation sizes to run (from the command line, else the
// defaults), generated installations of a given size, the wizard a page bench runs its page in
// and the peak memory printed beside the times (and its reset, for a phase's own peak).
#include "core/DirectoryLists.h"
#include "core/Session.h"
#include "core/VelmoVersion.h"
#include "core/ui/FormRegistry.h"
#include "core/ui/MessageBoxService.h"
#include "core/ui/OptionsCapture.h"
#include "core/ui/WizardContext.h"
#include "velmo/ServerStandIns.h"
#include "velmo/Simulator.h"

#include <QFile>
#include <QList>
#include <QString>
#include <QTextStream>
#include <QWidget>

#include <algorithm>
#include <memory>

#include <sys/resource.h>

inline QList<int> benchSizes(int argc, char** argv, const QList<int>& defaults)
{
    if (argc <= 1)
        return defaults;
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QString::fromLocal8Bit(argv[i]).toInt();
    return sizes;
}

// A generated installation of `subscribers` subscribers (always the same seed) in `folder`, with
// `handlers` non-primary call handlers (0: as many as the subscribers bring).
inline bool createBenchInstallation(const QString& folder, int subscribers, QString* error, int handlers = 0)
{
    velmo::InstallationOptions options;
    options.subscriberCount = subscribers;
    options.nonPrimaryCallHandlerCount = handlers;
    options.seed = 42;
    return velmo::createInstallation(folder, options, true, error);
}

// The session's registry, server version and directory lists, as start-up reads them; false
// with `error` set when the lists cannot be loaded.
inline bool loadBenchSession(Session& session, QString* error)
{
    session.loadRegistry();
    session.gServerVersion = getVersion(session.registry);
    return LoadDirectoryLists(session, session.strConnectionString, error);
}

// A generated installation of `subscribers` subscribers (and `handlers` as createBenchInstallation
// takes them) in `folder` and a session on it with the server stand-ins, loaded by
// loadBenchSession; null, with the reason written to `out`, when either fails.
inline std::unique_ptr<Session> openBenchSession(const QString& folder, int subscribers, QTextStream& out, int handlers = 0)
{
    QString error;
    if (!createBenchInstallation(folder, subscribers, &error, handlers)) {
        out << "cannot create installation: " << error << Qt::endl;
        return nullptr;
    }
    auto session = std::make_unique<Session>(Installation::at(folder));
    velmo::registerServerStandIns(*session);
    if (!loadBenchSession(*session, &error)) {
        out << "LoadDirectoryLists failed: " << error << Qt::endl;
        return nullptr;
    }
    return session;
}

// The same session over the SQLite ODBC driver (the ODBC road the tests take); null, with the
// reason written to `out`, when the driver is not installed or either step fails.
inline std::unique_ptr<Session> openBenchSessionOverOdbc(const QString& folder, int subscribers, QTextStream& out,
                                                         int handlers = 0)
{
    const QString driver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so");
    if (!QFile::exists(driver)) {
        out << "the SQLite ODBC driver is not installed (" << driver << ")" << Qt::endl;
        return nullptr;
    }
    qputenv("KESTRANE_ODBC",
            QStringLiteral("Driver=%1;Database=%2;").arg(driver, Installation::at(folder).databaseFile()).toUtf8());
    std::unique_ptr<Session> session = openBenchSession(folder, subscribers, out, handlers);
    qunsetenv("KESTRANE_ODBC");
    if (session && session->database.isEmbedded()) {
        out << "the session did not open over ODBC" << Qt::endl;
        return nullptr;
    }
    return session;
}

// A page bench's wizard: a session on a generated installation, a message-box service that
// answers OK and counts the messages, and the context the page is handed.
struct BenchWizard {
    explicit BenchWizard(std::unique_ptr<Session> opened) : session(std::move(opened))
    {
        messages.setAnswerer([this](const MessageBoxService::Request&) {
            ++messagesShown;
            return QMessageBox::Ok;
        });
    }
    BenchWizard(const BenchWizard&) = delete;
    BenchWizard& operator=(const BenchWizard&) = delete;
    // The page must be gone first.
    ~BenchWizard() { CloseServerRecordsets(*session); }

    std::unique_ptr<Session> session;
    MessageBoxService messages;
    int messagesShown = 0;
    FormRegistry forms;
    WizardContext context{*session, messages, forms};
};

// A wizard on a session that openBenchSession opened; null when it could not.
inline std::unique_ptr<BenchWizard> openBenchWizard(const QString& folder, int subscribers, QTextStream& out)
{
    std::unique_ptr<Session> session = openBenchSession(folder, subscribers, out);
    return session ? std::make_unique<BenchWizard>(std::move(session)) : nullptr;
}

// Page benches run headless unless a display is given (under xvfb-run the page is really drawn);
// before the QApplication is made.
inline void headlessUnlessDisplayed()
{
    if (!qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The page's controls that carry a name the options snapshot records.
inline long namedControlCount(const QWidget& page)
{
    const QList<QWidget*> children = page.findChildren<QWidget*>();
    return std::count_if(children.begin(), children.end(), isNamedControl);
}

// The process's peak resident memory so far, in MiB.
inline long peakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// The process's resident pages mapped from files (the database file that SQLite maps among
// them), in MiB; -1 when the kernel does not tell.
inline long residentFileMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("RssFile:"))
                return line.mid(8).trimmed().split(' ').value(0).toLong() / 1024;
    return -1;
}

// Brings the peak that peakMemoryMiB reads down to the memory resident now, so that the next
// reading is the peak of what runs after this call (Linux resets it on "5" in clear_refs); false,
// with `error` set, when the kernel refuses.
inline bool resetPeakMemory(QString* error)
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && clearRefs.write("5", 1) == 1)
        return true;
    *error = clearRefs.errorString();
    return false;
}
