// scripts/run.sh, run from a copy of the project whose build step, simulator and program are
// stand-ins that record their calls: nothing is built and no window opens.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

namespace {

// Each stand-in appends one line to "calls" in the project copy.
const char* const kBuildStandIn = "echo build >> calls\n";
const char* const kSimulatorStandIn = "echo \"velmo-sim $*\" >> calls\n"
                                      "folder=\"${!#}\"; mkdir -p \"$folder\"\n"
                                      "touch \"$folder/registry.reg\" \"$folder/VelmoDb.sqlite\"\n";
const char* const kProgramStandIn = "echo \"kestrane $KESTRANE_INSTALLATION $*\" >> calls\n";

class RunScript : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(project.isValid() && outside.isValid());
        ASSERT_TRUE(QDir(project.path()).mkpath("scripts"));
        ASSERT_TRUE(QFile::copy(KESTRANE_SOURCE_DIR "/scripts/run.sh", project.filePath("scripts/run.sh")));
        write(project.filePath("scripts/build.sh"), kBuildStandIn);
        write(project.filePath("build/velmo/velmo-sim"), kSimulatorStandIn, true);
        write(project.filePath("build/app/kestrane"), kProgramStandIn, true);
    }

    static void write(const QString& path, const QByteArray& content, bool executable = false)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(executable ? "#!/usr/bin/env bash\ncd \"$(dirname \"$0\")/../..\"\n" + content : content);
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }

    // Runs the script with only the given variables set (and PATH, HOME), from `outside`.
    int run(const std::map<QString, QString>& variables, const QStringList& arguments = {})
    {
        QProcessEnvironment environment;
        environment.insert("PATH", qEnvironmentVariable("PATH"));
        environment.insert("HOME", outside.path());
        for (const auto& [name, value] : variables)
            environment.insert(name, value);
        QProcess script;
        script.setProcessEnvironment(environment);
        script.setWorkingDirectory(outside.path());
        script.start("bash", QStringList{project.filePath("scripts/run.sh")} + arguments);
        EXPECT_TRUE(script.waitForFinished(10000));
        errors = QString::fromUtf8(script.readAllStandardError());
        return script.exitCode();
    }

    QStringList calls() const
    {
        QFile file(project.filePath("calls"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    // Every file below a folder with its content.
    static std::map<QString, QByteArray> snapshot(const QString& folder)
    {
        std::map<QString, QByteArray> files;
        for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            QFile file(it.next());
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            files[it.filePath()] = file.readAll();
        }
        return files;
    }

    QString demo() const { return QFileInfo(project.filePath("build/velmo-demo")).absoluteFilePath(); }

    QTemporaryDir project;
    QTemporaryDir outside;   // the caller's folder and the administrator's installations
    QString errors;
};

}  // namespace

TEST_F(RunScript, TheDemoIsCreatedOnlyAtItsDefaultPathAndOnlyOnce)
{
    const std::map<QString, QString> display{{"DISPLAY", ":7"}};
    EXPECT_EQ(run(display, {"Advanced", "/debug"}), 0) << errors.toStdString();
    EXPECT_EQ(calls(), (QStringList{"build", "velmo-sim --replace --subscribers 500 " + demo(),
                                    "kestrane " + demo() + " Advanced /debug"}));

    QFile::remove(project.filePath("calls"));
    EXPECT_EQ(run({{"WAYLAND_DISPLAY", "wayland-0"}}), 0) << errors.toStdString();
    EXPECT_EQ(calls(), (QStringList{"build", "kestrane " + demo() + " "}));

    // The default path named outright is still the demo's.
    QDir(demo()).removeRecursively();
    QFile::remove(project.filePath("calls"));
    EXPECT_EQ(run({{"DISPLAY", ":7"}, {"KESTRANE_INSTALLATION", project.filePath("build/../build/velmo-demo")}}), 0);
    EXPECT_EQ(calls().value(1), "velmo-sim --replace --subscribers 500 " + demo());
}

TEST_F(RunScript, AnotherInstallationIsCheckedAndNeverChanged)
{
    const QString folder = QDir(outside.path()).filePath("site");
    ASSERT_TRUE(QDir().mkpath(folder));
    write(folder + "/registry.reg", "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n");
    write(folder + "/notes.txt", "the administrator's own file");
    const auto before = snapshot(outside.path());

    struct Case {
        std::map<QString, QString> variables;
        QStringList toldMissing;   // empty: the program starts
    };
    const Case cases[] = {
        {{{"KESTRANE_INSTALLATION", folder}}, {"VelmoDb.sqlite"}},
        {{{"KESTRANE_INSTALLATION", "site"}}, {"VelmoDb.sqlite"}},   // relative to the caller's folder
        {{{"KESTRANE_INSTALLATION", folder + "/nowhere"}}, {"no installation folder"}},
        {{{"KESTRANE_INSTALLATION", folder}, {"KESTRANE_ODBC", "Driver=x;Database=y;"}}, {}},
    };
    for (const Case& c : cases) {
        std::map<QString, QString> variables = c.variables;
        variables["DISPLAY"] = ":7";
        SCOPED_TRACE(variables["KESTRANE_INSTALLATION"].toStdString());
        QFile::remove(project.filePath("calls"));
        const int exitCode = run(variables);
        if (c.toldMissing.isEmpty()) {
            EXPECT_EQ(exitCode, 0) << errors.toStdString();
            EXPECT_EQ(calls(), (QStringList{"build", "kestrane " + folder + " "}));
        } else {
            EXPECT_NE(exitCode, 0);
            for (const QString& what : c.toldMissing)
                EXPECT_TRUE(errors.contains(what)) << errors.toStdString();
            EXPECT_TRUE(calls().isEmpty()) << calls().join(" | ").toStdString();
        }
        EXPECT_EQ(snapshot(outside.path()), before);
    }

    // A folder without its registry file is told both files it lacks.
    QFile::remove(folder + "/registry.reg");
    EXPECT_NE(run({{"DISPLAY", ":7"}, {"KESTRANE_INSTALLATION", folder}}), 0);
    EXPECT_TRUE(errors.contains("registry.reg") && errors.contains("VelmoDb.sqlite")) << errors.toStdString();
    EXPECT_FALSE(QDir(demo()).exists());
}

TEST_F(RunScript, WithoutADisplayNothingStarts)
{
    for (const QString& installation : {QString(), QDir(outside.path()).filePath("site")}) {
        SCOPED_TRACE(installation.toStdString());
        std::map<QString, QString> variables;
        if (!installation.isEmpty())
            variables["KESTRANE_INSTALLATION"] = installation;
        EXPECT_NE(run(variables), 0);
        EXPECT_TRUE(errors.contains("needs a display") && errors.contains("DISPLAY") && errors.contains("Xvfb"))
            << errors.toStdString();
        EXPECT_TRUE(calls().isEmpty()) << calls().join(" | ").toStdString();
        EXPECT_FALSE(QDir(demo()).exists());
        EXPECT_FALSE(QDir(installation).exists() && !installation.isEmpty());
    }
}
