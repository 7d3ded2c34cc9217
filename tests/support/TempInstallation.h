#pragma once
// A simulated installation in a temporary folder, for tests.
#include "core/Installation.h"
#include "core/Messages.h"
#include "tests/support/QtPrinters.h"
#include "velmo/InstallationOptions.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class Database;
class Session;

class TempInstallation {
public:
    explicit TempInstallation(const velmo::InstallationOptions& options = smallOptions());
    bool ok() const { return m_ok; }
    const QString& error() const { return m_error; }
    Installation installation() const { return Installation::at(m_dir.path()); }
    QString folder() const { return m_dir.path(); }

    static velmo::InstallationOptions smallOptions();
    // A small installation of a server of the given version.
    static velmo::InstallationOptions smallServer(int major, int minor, int release, int build);

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
    QString m_error;
};

// The tool's start-up (runStartUp) on a session, without a start page: `messages` gets its
// message boxes (they are also recorded). Fails, naming what start-up showed, when start-up
// ended the tool.
::testing::AssertionResult startSession(Session& session, const QStringList& commandLine = {},
                                        const MessageSink& messages = {});

// Every row of a table in stored order, each as its values joined by "|": for comparing a table
// before and after.
QStringList tableRows(Database& database, const QString& table);
