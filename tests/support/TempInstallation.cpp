#include "tests/support/TempInstallation.h"

#include "core/Database.h"
#include "core/Session.h"
#include "velmo/ServerStandIns.h"
#include "core/StartUp.h"
#include "velmo/Simulator.h"

TempInstallation::TempInstallation(const velmo::InstallationOptions& options)
{
    m_ok = m_dir.isValid() && velmo::createInstallation(m_dir.path(), options, true, &m_error);
}

velmo::InstallationOptions TempInstallation::smallOptions()
{
    velmo::InstallationOptions options;
    options.subscriberCount = 40;
    options.seed = 7;
    return options;
}

velmo::InstallationOptions TempInstallation::smallServer(int major, int minor, int release, int build)
{
    velmo::InstallationOptions options = smallOptions();
    options.major = major;
    options.minor = minor;
    options.release = release;
    options.build = build;
    return options;
}

namespace {

// Start-up without a window: its messages are recorded, captions and placing have no page.
class RecordingStartUp : public StartUpPage {
public:
    explicit RecordingStartUp(MessageSink forward) : m_forward(std::move(forward)) {}

    MessageSink startUpMessages() override
    {
        // Kept by the session's services after start-up: shares the record instead of this object.
        return [shown = m_shown, forward = m_forward](const QString& text) {
            *shown << text;
            tell(forward, text);
        };
    }
    void frmMain_Auto_Init() override {}
    void placeStartPage() override {}
    void exitWithoutAsking() override { ended = true; }

    QStringList shown() const { return *m_shown; }
    bool ended = false;

private:
    std::shared_ptr<QStringList> m_shown = std::make_shared<QStringList>();
    MessageSink m_forward;
};

}  // namespace

::testing::AssertionResult startSession(Session& session, const QStringList& commandLine, const MessageSink& messages)
{
    velmo::registerServerStandIns(session);
    RecordingStartUp page(messages);
    if (!runStartUp(session, commandLine, page, ToolVersion{}) || page.ended)
        return ::testing::AssertionFailure() << "start-up ended the tool: " << page.shown().join(u'|').toStdString();
    return ::testing::AssertionSuccess();
}

QStringList tableRows(Database& database, const QString& table)
{
    QStringList rows;
    for (const auto& row : database.select(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" ORDER BY rowid")).rows) {
        QStringList values;
        for (const QVariant& value : row)
            values << value.toString();
        rows << values.join(u'|');
    }
    return rows;
}
