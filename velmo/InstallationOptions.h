#pragma once
// What a simulated Velmo installation is made of. velmo-sim fills it from its command line;
// tests and benchmarks fill it directly.
#include <QString>
#include <QStringList>
#include <QList>
#include <cstdint>

namespace velmo {

enum class DirectoryConnector { ActiveDirectory, Domino, Exchange55 };

struct InstallationOptions {
    // Server version written to the registry.
    int major = 4, minor = 0, release = 3, build = 12;
    // True: the product key layout ("SOFTWARE\Dravo Systems\Dravo Velmo", MajorVersion ...);
    // false: the older "Software\Brennhal\" layout (packed "Version Number" / "Build Number").
    bool productKeyLayout = false;
    DirectoryConnector connector = DirectoryConnector::ActiveDirectory;
    bool restrictedRights = false;
    QList<int> engineeringSpecials;      // numbers recorded as installed
    int switchCount = 2;                 // phone-system integrations
    QStringList languages{"ENU"};        // "TUI Languages Loaded"
    bool notifierPresent = true;         // the server's Notifier component can be bound
    bool alternateGreetingNotice = false;  // "EnabledAlternateGreetingNotice" set to 1
    bool certificateHistory = false;     // the key "Software\Brennhal\CertificateHistory" exists

    // Directory contents.
    int subscriberCount = 200;           // all kinds together
    // Call handlers that are nobody's primary, the three system handlers included; 0 (or less):
    // as many as the subscribers need (3 + max(5, subscriberCount / 20)).
    int nonPrimaryCallHandlerCount = 0;
    std::uint32_t seed = 1;
};

}  // namespace velmo
