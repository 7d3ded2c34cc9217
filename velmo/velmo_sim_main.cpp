// velmo-sim: creates a simulated Velmo installation (registry store + VelmoDb).
#include "velmo/Simulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Creates a simulated Velmo installation in FOLDER."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Installation folder to create."));
    const QCommandLineOption version(QStringLiteral("server-version"), "Server version, e.g. 4.0(3.12) or 5.0.0.10.", "version", "4.0(3.12)");
    const QCommandLineOption productKey(QStringLiteral("product-key"), "Write the version under the product key (newer layout).");
    const QCommandLineOption connector(QStringLiteral("connector"), "Directory connector: ad, domino or exchange.", "kind", "ad");
    const QCommandLineOption restricted(QStringLiteral("restricted-rights"), "Turn the restricted-rights setting on.");
    const QCommandLineOption specials(QStringLiteral("es"), "Installed engineering specials, comma separated.", "numbers");
    const QCommandLineOption switches(QStringLiteral("switches"), "Number of phone-system integrations.", "count", "2");
    const QCommandLineOption languages(QStringLiteral("languages"), "Telephone languages loaded, comma separated.", "codes", "ENU");
    const QCommandLineOption noNotifier(QStringLiteral("no-notifier"), "The server's Notifier component is missing.");
    const QCommandLineOption subscribers(QStringLiteral("subscribers"), "Number of subscribers of all kinds.", "count", "200");
    const QCommandLineOption handlers(QStringLiteral("handlers"),
                                      "Number of call handlers that are nobody's primary (0: as the subscribers need).",
                                      "count", "0");
    const QCommandLineOption seed(QStringLiteral("seed"), "Seed of the generated directory.", "number", "1");
    const QCommandLineOption replace(QStringLiteral("replace"), "Replace an existing installation in FOLDER.");
    parser.addOptions({version, productKey, connector, restricted, specials, switches, languages, noNotifier,
                       subscribers, handlers, seed, replace});
    parser.process(app);

    QTextStream err(stderr);
    if (parser.positionalArguments().size() != 1) {
        err << "velmo-sim: give exactly one installation folder (see --help)." << Qt::endl;
        return 2;
    }
    velmo::InstallationOptions options;
    if (!velmo::parseVersion(parser.value(version), options)) {
        err << "velmo-sim: cannot read the server version " << parser.value(version) << Qt::endl;
        return 2;
    }
    options.productKeyLayout = parser.isSet(productKey);
    const QString kind = parser.value(connector).toLower();
    if (kind == "ad")
        options.connector = velmo::DirectoryConnector::ActiveDirectory;
    else if (kind == "domino")
        options.connector = velmo::DirectoryConnector::Domino;
    else if (kind == "exchange")
        options.connector = velmo::DirectoryConnector::Exchange55;
    else {
        err << "velmo-sim: unknown connector " << kind << Qt::endl;
        return 2;
    }
    options.restrictedRights = parser.isSet(restricted);
    for (const QString& number : parser.value(specials).split(u',', Qt::SkipEmptyParts))
        options.engineeringSpecials << number.trimmed().toInt();
    options.languages = parser.value(languages).split(u',', Qt::SkipEmptyParts);
    options.notifierPresent = !parser.isSet(noNotifier);
    bool countsOk = true, ok = false;
    options.switchCount = parser.value(switches).toInt(&ok);
    countsOk &= ok && options.switchCount >= 0;
    options.subscriberCount = parser.value(subscribers).toInt(&ok);
    countsOk &= ok && options.subscriberCount >= 0;
    options.nonPrimaryCallHandlerCount = parser.value(handlers).toInt(&ok);
    countsOk &= ok && options.nonPrimaryCallHandlerCount >= 0;
    options.seed = parser.value(seed).toUInt(&ok);
    countsOk &= ok;
    if (!countsOk) {
        err << "velmo-sim: switches, subscribers, handlers and seed take whole numbers." << Qt::endl;
        return 2;
    }

    QElapsedTimer timer;
    timer.start();
    QString error;
    const QString folder = parser.positionalArguments().first();
    if (!velmo::createInstallation(folder, options, parser.isSet(replace), &error)) {
        err << "velmo-sim: " << error << Qt::endl;
        return 1;
    }
    QTextStream(stdout) << "Created Velmo " << parser.value(version) << " installation with "
                        << options.subscriberCount << " subscribers in " << folder << " ("
                        << timer.elapsed() << " ms)" << Qt::endl;
    return 0;
}
