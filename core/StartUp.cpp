#include "core/StartUp.h"

#include "core/DirectoryLists.h"
#include "core/Errors.h"
#include "core/Session.h"

#include <cstdio>

namespace {

const QString kActiveDirectoryConnector = QStringLiteral("BhIDCADSvr.BhIDCAD.1");

// A failure that ends start-up and says where and why, also for whoever started the tool from a
// shell and may never see the message box: stderr first, since the box waits for its OK.
void tellEverywhere(const MessageSink& messages, const QString& text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::fflush(stderr);
    tell(messages, text);
}

int directoryTypeOf(const QString& progId)
{
    if (progId.compare(VelmoKeys::DominoProgID, Qt::CaseInsensitive) == 0)
        return 1;
    if (progId.compare(kActiveDirectoryConnector, Qt::CaseInsensitive) == 0)
        return 3;
    return 2;
}

void bindNotifier(Session& session, const MessageSink& messages)
{
    try {
        if (!session.objInterfaceBroker)
            session.objInterfaceBroker = InterfaceBroker::create(session);
        session.objNotifier = session.objInterfaceBroker->GetInterface(QStringLiteral("Notifier"));
    } catch (const KestraneError&) {
        session.objNotifier.reset();
        tell(messages, QStringLiteral("Failed to bind to notifier interface.  Any changes to MWI or notification data "
                                      "will not take effect until you restart Velmo."));
    }
}

}  // namespace

bool runStartUp(Session& session, const QStringList& commandLine, StartUpPage& page, const ToolVersion& version)
{
    const MessageSink messages = page.startUpMessages();
    Languages& languages = session.languages;
    session.bDebugMode = commandLine.join(u' ').contains(QLatin1String("/debug"), Qt::CaseInsensitive);
    if (page.bStartUpDone)
        return true;
    page.bStartUpDone = true;

    const auto progress = [&](const char* text) {
        if (session.bDebugMode)
            tell(messages, QLatin1String(text));
    };
    const auto endWith = [&](const QString& text) {
        tell(messages, text);
        page.exitWithoutAsking();
        return false;
    };

    // The server's registry is the installation's registry file.
    QString registryFailure;
    if (!session.loadRegistry(&registryFailure)) {
        tellEverywhere(messages, registryFailure);
        page.exitWithoutAsking();
        return false;
    }

    try {
        SetProcessPriority(16384);
        progress("Loading version info");
        session.gServerVersion = getVersion(session.registry, messages);
        progress("Loading language info");
        languages.setMessageSink(messages);
        languages.InitalizeLanguages();
        if (session.gServerVersion.iMajor < 4)
            return endWith(languages.mymyLoadString(271));

        session.strConnectionString = QStringLiteral("Driver={SQL Server};server=;database=VelmoDb");
        QString databaseFailure;
        if (!LoadDirectoryLists(session, session.strConnectionString, &databaseFailure)) {
            tellEverywhere(messages, languages.mymyLoadString(135) + u'\n' + databaseFailure);
            page.exitWithoutAsking();
            return false;
        }

        Recordset& locations = session.rsLocations;
        locations.moveFirst();
        if (!locations.find(QStringLiteral("Alias='default'")))
            return endWith(languages.mymyLoadString(319));
        session.strDialingDomainName = locations.value(QStringLiteral("DialingDomainName")).toString();

        session.iDirectoryType = directoryTypeOf(
            session.registry
                .GetRegValue(HKEY_LOCAL_MACHINE, VelmoKeys::SystemParametersKey, QStringLiteral("IDCProgID"), REG_SZ,
                             QString())
                .toString());

        progress("Checking for restricted access rights");
        session.bRestrictedRights = bRestrictedRightsActive(session.registry, messages);
        progress("Initalizing switch info");
        session.switchInfo = InitalizeSwitchInfo(session.registry, session.gServerVersion, messages,
                                                 languages.stringLookup());
        page.frmMain_Auto_Init();
        session.bDirectoryWriteThroughPending = false;
        page.placeStartPage();
    } catch (const KestraneError& error) {
        tell(messages, languages.mymyLoadString(124) + error.description() + languages.mymyLoadString(1)
                           + QString::number(error.number()));
        return endWith(languages.mymyLoadString(133));
    }

    bindNotifier(session, messages);
    RunBatchCommand(homePageAddress(), QString(), version);
    return true;
}
