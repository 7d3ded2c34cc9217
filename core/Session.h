#pragma once
// The state of one run of the tool: what start-up reads and opens, and the directory lists.
// main() creates one Session and hands it to the forms and services that need it.
#include "core/Database.h"
#include "core/Installation.h"
#include "core/Languages.h"
#include "core/Recordset.h"
#include "core/Registry.h"
#include "core/ServerComponents.h"
#include "core/SwitchInfo.h"
#include "core/VelmoVersion.h"

#include <QString>

class Session {
public:
    explicit Session(const Installation& installation);
    // A session whose language libraries are looked for in `programFolder`, beside the
    // program `programName` (the running program's by default).
    Session(const Installation& installation, const QString& programFolder, const QString& programName);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Loads the installation's registry store; false when the file is missing or cannot be read,
    // with `error` naming the file and the reason.
    bool loadRegistry(QString* error = nullptr);

    bool isVersionAtLeast(qint16 major, qint16 minor, qint16 release, qint16 build) const
    {
        return bIsVersionGreaterThanOrEqualTo(gServerVersion, major, minor, release, build);
    }

    Installation installation;
    RegistryStore registryStore;
    RegistryAPI registry;
    Database database;
    Languages languages;   // current language, its library and the string look-up

    // Start-up state.
    QString strConnectionString = QStringLiteral("Driver={SQL Server};server=;database=VelmoDb");
    ServerVersion gServerVersion;
    QString strDialingDomainName;
    int iDirectoryType = 2;          // 1 Domino connector, 3 Active Directory connector, 2 other
    bool bRestrictedRights = false;
    bool bDirectoryWriteThroughPending = false;
    // Set when MWI device data changed; never cleared: the engine's closing notice tells that the
    // notifier service may need a restart.
    bool bNotifierRestartPending = false;
    bool bDebugMode = false;
    ServerInterfaces serverInterfaces;   // registered by the installation's stand-ins
    std::unique_ptr<InterfaceBroker> objInterfaceBroker;
    std::shared_ptr<Notifier> objNotifier;   // null when binding failed
    SwitchInfo switchInfo;           // phone-system integrations, read by InitalizeSwitchInfo

    // Directory lists, loaded once by LoadDirectoryLists.
    Recordset rsNonPrimaryCallHandlers;
    Recordset rsPrimaryCallHandlers;
    Recordset rsSubscribers;
    Recordset rsCOS;
    Recordset rsInterviewHandlers;
    Recordset rsDistributionLists;
    Recordset rsLocations;
    Recordset rsNameLookupHandlers;

    // Work recordsets, opened per object by the engines.
    Recordset rsMenuEntries;
    Recordset rsMessagingRules;
    Recordset rsContactRules;
    Recordset rsNotificationDevices;
    Recordset rsNotificationRules;
    Recordset rsNotificationMWIs;
    Recordset rsDTMFAccessIDs;
};
