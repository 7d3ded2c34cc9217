#include "velmo/Simulator.h"
#include "core/Installation.h"
#include "core/Registry.h"
#include "velmo/DemoDirectory.h"
#include "velmo/InstallationRegistry.h"
#include "velmo/Schema.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace velmo {

namespace {

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

}  // namespace

bool createInstallation(const QString& folder, const InstallationOptions& options, bool replace, QString* error)
{
    QDir dir(folder);
    if (dir.exists() && !dir.isEmpty()) {
        if (!replace)
            return fail(error, QStringLiteral("%1 exists and is not empty").arg(folder));
        if (!dir.removeRecursively())
            return fail(error, QStringLiteral("cannot remove %1").arg(folder));
    }
    if (!QDir().mkpath(folder))
        return fail(error, QStringLiteral("cannot create %1").arg(folder));
    const Installation installation = Installation::at(folder);

    RegistryStore registry;
    try {
        writeInstallationRegistry(registry, options, installation.folder);
    } catch (const std::exception& e) {
        return fail(error, QString::fromUtf8(e.what()));
    }
    QString registryError;
    if (!registry.saveAs(installation.registryFile(), &registryError))
        return fail(error, registryError);

    // An empty file is an empty SQLite database; the tool's connection opens only what exists.
    if (!QFile(installation.databaseFile()).open(QIODevice::WriteOnly))
        return fail(error, QStringLiteral("cannot create %1").arg(installation.databaseFile()));
    Database db;
    if (!db.open({installation.databaseFile(), {}}))
        return fail(error, db.lastError());
    try {
        createSchema(db.connection(), options.major, options.minor, options.release, options.build);
        fillDemoDirectory(db, options);
    } catch (const std::exception& e) {
        return fail(error, QString::fromUtf8(e.what()));
    }
    return true;
}

bool parseVersion(const QString& text, InstallationOptions& options)
{
    static const QRegularExpression form(QStringLiteral(R"(^\s*(\d+)\.(\d+)(?:[.(](\d+)(?:\.(\d+))?\)?)?\s*$)"));
    const auto match = form.match(text);
    if (!match.hasMatch())
        return false;
    options.major = match.captured(1).toInt();
    options.minor = match.captured(2).toInt();
    options.release = match.captured(3).toInt();
    options.build = match.captured(4).toInt();
    return true;
}

}  // namespace velmo
