#pragma once
// The local machine's network identity and the logged-on user, as the platform's workstation
// service reports them. The service is an interface so that a host without one (and a failing
// call) can be stood in for; on Linux LinuxWorkStationService answers from the host itself.
#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>

struct WorkstationRecord {
    qint32 platformId = 0;
    QString computerName;
    QString domain;
    qint32 verMajor = 0;
    qint32 verMinor = 0;
    QString lanRoot;
    qint32 loggedOnUsers = 0;
};

struct WorkstationUserRecord {
    QString userName;
    QString logonDomain;
    QString otherDomains;
    QString logonServer;
};

// The platform's workstation service: each call gives nothing when it fails.
class WorkStationService {
public:
    virtual ~WorkStationService() = default;
    virtual std::optional<WorkstationRecord> workstationInfo() const = 0;
    virtual std::optional<WorkstationUserRecord> userInfo() const = 0;
};

// Linux answers:
// - ComputerName: the host name up to its first dot.
// - Domain: the rest of the host name when it is fully qualified; otherwise the DNS domain of
//   resolv.conf (its last "domain" or "search" line; of "search" the first domain).
// - VerMajor, VerMinor: the kernel's release numbers. PlatformId 0 (Linux has no platform
//   identifier of this kind); LanRoot "/".
// - LoggedOnUsers: the distinct users with a login session in the utmp database.
// - UserName: the account of the process's real user id; LogonDomain and LogonServer the computer
//   name (a local logon, as for a local account); OtherDomains empty.
class LinuxWorkStationService : public WorkStationService {
public:
    explicit LinuxWorkStationService(QString resolvConfPath = QStringLiteral("/etc/resolv.conf"));
    std::optional<WorkstationRecord> workstationInfo() const override;
    std::optional<WorkstationUserRecord> userInfo() const override;

    // The DNS domain for a host name: its part after the first dot, else the one that a
    // resolv.conf text names (empty when it names none).
    static QString domainFor(const QString& hostName, const QString& resolvConfText);

private:
    QString m_resolvConfPath;
};

class WorkStationInfo {
public:
    // Asks the host's workstation service (LinuxWorkStationService).
    WorkStationInfo();
    // Asks the given service; without one (nullptr) every property stays empty or 0, also after
    // Refresh.
    explicit WorkStationInfo(std::shared_ptr<const WorkStationService> service);

    QString ComputerName() const { return m_workstation.computerName; }
    QString Domain() const { return m_workstation.domain; }
    QString LanRoot() const { return m_workstation.lanRoot; }
    qint32 LoggedOnUsers() const { return m_workstation.loggedOnUsers; }
    qint32 PlatformId() const { return m_workstation.platformId; }
    qint32 VerMajor() const { return m_workstation.verMajor; }
    qint32 VerMinor() const { return m_workstation.verMinor; }
    QString LogonDomain() const { return m_user.logonDomain; }
    QString LogonServer() const { return m_user.logonServer; }
    QString OtherDomains() const { return m_user.otherDomains; }
    QString UserName() const { return m_user.userName; }

    // Reads both records again; a call that fails leaves its properties as they were.
    void Refresh();

private:
    std::shared_ptr<const WorkStationService> m_service;
    WorkstationRecord m_workstation;
    WorkstationUserRecord m_user;
};
