#include "core/Installation.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

QString Installation::registryFile() const
{
    return QDir(folder).filePath(QStringLiteral("registry.reg"));
}

QString Installation::databaseFile(const QString& databaseName) const
{
    return QDir(folder).filePath(databaseName + QStringLiteral(".sqlite"));
}

Installation Installation::at(const QString& folder)
{
    return Installation{QDir(folder).absolutePath()};
}

Installation Installation::locate()
{
    const QString configured = qEnvironmentVariable("KESTRANE_INSTALLATION");
    if (!configured.isEmpty())
        return at(configured);
    return at(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("velmo-demo")));
}

DatabaseTarget resolveConnectionString(const QString& connectionString, const Installation& installation)
{
    // Only the database the connection string names matters; server and driver are the host's.
    QString databaseName = QStringLiteral("VelmoDb");
    for (const QString& part : connectionString.split(u';', Qt::SkipEmptyParts)) {
        const int equals = part.indexOf(u'=');
        if (equals > 0 && part.left(equals).trimmed().compare(QLatin1String("database"), Qt::CaseInsensitive) == 0)
            databaseName = part.mid(equals + 1).trimmed();
    }
    DatabaseTarget target;
    target.embeddedPath = installation.databaseFile(databaseName);
    target.odbcConnectionString = qEnvironmentVariable("KESTRANE_ODBC");
    return target;
}

QString describeDatabaseTarget(const DatabaseTarget& target)
{
    if (target.odbcConnectionString.isEmpty())
        return target.embeddedPath;
    QString source = target.odbcConnectionString;
    static const QRegularExpression password(QStringLiteral("((?:^|;)\\s*(?:PWD|Password)\\s*=)[^;]*"),
                                             QRegularExpression::CaseInsensitiveOption);
    source.replace(password, QStringLiteral("\\1***"));
    return QStringLiteral("ODBC data source ") + source;
}
