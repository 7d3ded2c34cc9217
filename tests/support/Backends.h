#pragma once
// The two ways the tool reaches a database file: the embedded SQLite connection, and ODBC
// through the SQLite ODBC driver (the test path of the ODBC code). Tests that run on both take
// the backend as their parameter and skip the ODBC one when the driver is not installed.
#include "core/Database.h"

#include <QFile>
#include <gtest/gtest.h>

enum class Backend { Embedded, Odbc };

inline const QString& sqliteOdbcDriver()
{
    static const QString driver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so");
    return driver;
}

inline bool backendAvailable(Backend backend)
{
    return backend == Backend::Embedded || QFile::exists(sqliteOdbcDriver());
}

inline DatabaseTarget databaseTarget(Backend backend, const QString& file)
{
    if (backend == Backend::Embedded)
        return {file, {}};
    return {{}, QStringLiteral("Driver=%1;Database=%2;").arg(sqliteOdbcDriver(), file)};
}

inline std::string backendName(const ::testing::TestParamInfo<Backend>& info)
{
    return info.param == Backend::Embedded ? "Embedded" : "Odbc";
}
