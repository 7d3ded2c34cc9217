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

// The cases run in turn on one project copy: the first creates the demo installation.
TEST_F(RunScript, CreatesOnlyTheDemoChecksAnyOtherInstallationAndNeedsADisplay)
{
    const QString site = QDir(outside.path()).filePath("site");   // the administrator's
    const QString bare = QDir(outside.path()).filePath("bare");
    ASSERT_TRUE(QDir().mkpath(site) && QDir().mkpath(bare));
    write(site + "/registry.reg", "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n");
    write(site + "/notes.txt", "the administrator's own file");
    write(bare + "/notes.txt", "nothing else here");
    const auto before = snapshot(outside.path());

    struct Case {
        std::map<QString, QString> variables;
        QStringList arguments;
        QStringList calls;         // empty: refused, with every text of `told` on stderr
        QStringList told;
    };
    const QString sim = "velmo-sim --replace --subscribers 500 " + demo();
    const Case cases[] = {
        {{{"DISPLAY", ":7"}}, {"Advanced", "/debug"}, {"build", sim, "kestrane " + demo() + " Advanced /debug"}, {}},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, {}, {"build", "kestrane " + demo() + " "}, {}},
        {{{"DISPLAY", ":7"}, {"KESTRANE_INSTALLATION", demo() + "/../velmo-demo"}}, {}, {"build", "kestrane " + demo() + " "}, {}},
        {{{"DISPLAY", ":7"}, {"KESTRANE_INSTALLATION", site}}, {}, {}, {site, "VelmoDb.sqlite"}},
        {{{"DISPLAY", ":7"}, {"KESTRANE_INSTALLATION", "site"}}, {}, {}, {site, "VelmoDb.sqlite"}},   // the caller's folder
        {{{"DISPLAY", ":7"}, {"KESTRANE_INSTALLATION", bare}}, {}, {}, {"registry.reg", "VelmoDb.sqlite"}},
        {{{"DISPLAY", ":7"}, {"KESTRANE_INSTALLATION", site + "/nowhere"}}, {}, {}, {"no installation folder"}},
        {{{"DISPLAY", ":7"}, {"KESTRANE_INSTALLATION", site}, {"KESTRANE_ODBC", "Driver=x;Database=y;"}}, {},
         {"build", "kestrane " + site + " "}, {}},
        {{}, {}, {}, {"needs a display", "DISPLAY", "Xvfb"}},
        {{{"KESTRANE_INSTALLATION", site}}, {}, {}, {"needs a display"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        QFile::remove(project.filePath("calls"));
        const int exitCode = run(c.variables, c.arguments);
        EXPECT_EQ(exitCode == 0, !c.calls.isEmpty()) << errors.toStdString();
        EXPECT_EQ(calls(), c.calls);
        for (const QString& text : c.told)
            EXPECT_TRUE(errors.contains(text)) << text.toStdString() << " not in: " << errors.toStdString();
        EXPECT_EQ(snapshot(outside.path()), before);
    }
}
