#pragma once
// The Velmo installation the tool works on: a folder with the registry store and VelmoDb.
// Found through KESTRANE_INSTALLATION, else the demo installation beside the program.
// KESTRANE_ODBC, when set, is an ODBC connection string used for VelmoDb instead of the
// installation's embedded database.
#include "core/Database.h"

#include <QString>

struct Installation {
    QString folder;

    QString registryFile() const;
    QString databaseFile(const QString& databaseName = QStringLiteral("VelmoDb")) const;

    static Installation at(const QString& folder);
    // KESTRANE_INSTALLATION, else "velmo-demo" in the program's folder.
    static Installation locate();
};

// The tool's connection string names the server's database; this is where it leads here.
DatabaseTarget resolveConnectionString(const QString& connectionString, const Installation& installation);
// Where a target leads, for messages: the database file, or the ODBC data source with any
// password hidden.
QString describeDatabaseTarget(const DatabaseTarget& target);
