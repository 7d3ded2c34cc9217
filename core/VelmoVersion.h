#pragma once
// Which server the tool works on: the installed version (read once at start-up), engineering
// specials, the restricted-rights setting and the directory connector kind.
#include "core/Messages.h"

#include <QString>
#include <QtGlobal>

class RegistryAPI;

struct ServerVersion {
    bool bFromProductKey = false;
    qint16 iMajor = 0;
    qint16 iMinor = 0;
    qint16 iRelease = 0;
    qint16 iBuild = 0;
    QString strDisplay;   // "4.0(3.12)"
};

// Reads the version from the product key, else from the older packed values; zeros when neither
// key exists. An unexpected error is shown through `messages` and reading goes on.
ServerVersion getVersion(const RegistryAPI& registry, const MessageSink& messages = {});

// True when `installed` is the given version or later (major, minor, release, build in that
// order). The fifth number plays no part; callers pass 0.
bool bIsVersionGreaterThanOrEqualTo(const ServerVersion& installed, qint16 major, qint16 minor,
                                    qint16 release, qint16 build, qint16 unused = 0);

// True when engineering special `number` has a backup folder under the server's root path.
bool bIsESInstalled(const RegistryAPI& registry, qint16 number, const MessageSink& messages = {});

// The server's root folder ("Root Path"); empty when none is recorded.
QString serverRootPath(const RegistryAPI& registry);
// The highest number among the engineering specials recorded under `rootPath`, 0 when none: each
// backup subfolder counts by the number its name starts with from the third character after its
// first "_" ("7.0.2_ES12" counts 12, "7.0.2_ES12b" too), where bIsESInstalled asks for an equal name.
double highestESNumber(const QString& rootPath);

bool bRestrictedRightsActive(const RegistryAPI& registry, const MessageSink& messages = {});

// The Domino directory connector; never on servers whose version came from the product key.
bool bIsDominoDirectory(const RegistryAPI& registry, const ServerVersion& installed);

// Sets the priority of the tool's own process from a Windows priority class value
// (16384 below normal); true when it was set.
bool SetProcessPriority(qint32 priorityClass);

// The registry keys and values the server keeps its settings under.
namespace VelmoKeys {
inline const QString ProductKey = QStringLiteral("SOFTWARE\\Dravo Systems\\Dravo Velmo");
inline const QString OlderKey = QStringLiteral("Software\\Brennhal\\");
inline const QString InstallKey = QStringLiteral("SOFTWARE\\Brennhal\\Karrowend\\1.0");
inline const QString RightsKey = QStringLiteral("Software\\Brennhal\\Grantwright\\1.0");
inline const QString SystemParametersKey = QStringLiteral("SOFTWARE\\Brennhal\\SystemParameters\\1.0");
// The time zones the server's machine knows, one subkey each.
inline const QString TimeZonesKey = QStringLiteral("Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones");
inline const QString DominoProgID = QStringLiteral("BhDsDomino.BhIDCDomino.1");
}
