#include "core/WorkStationInfo.h"

#include <QFile>
#include <QSet>
#include <QStringList>

#include <utility>
#include <vector>

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>
#include <utmpx.h>

namespace {

QString withoutTrailingDot(QString name)
{
    if (name.endsWith(u'.'))
        name.chop(1);
    return name;
}

// resolv.conf: "domain" and "search" exclude each other and the last one wins; of a search list
// the first domain is the machine's own.
QString domainFromResolvConf(const QString& text)
{
    QString domain;
    const auto lines = text.split(u'\n');
    for (const QString& line : lines) {
        const QStringList words = line.simplified().split(u' ', Qt::SkipEmptyParts);
        if (words.size() >= 2 && (words[0] == u"domain" || words[0] == u"search"))
            domain = withoutTrailingDot(words[1]);
    }
    return domain;
}

int leadingInt(const QString& text)
{
    qsizetype digits = 0;
    while (digits < text.size() && text[digits].unicode() >= u'0' && text[digits].unicode() <= u'9')
        ++digits;
    return text.left(digits).toInt();
}

QString hostName()
{
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0)
        return QString();
    return QString::fromLocal8Bit(buffer);
}

qint32 loggedOnUserCount()
{
    QSet<QString> users;
    setutxent();
    while (const utmpx* entry = getutxent()) {
        if (entry->ut_type != USER_PROCESS)
            continue;
        // ut_user is a fixed field, null-terminated only when shorter than the field.
        QByteArray name(entry->ut_user, sizeof entry->ut_user);
        if (const qsizetype end = name.indexOf('\0'); end >= 0)
            name.truncate(end);
        users.insert(QString::fromLocal8Bit(name));
    }
    endutxent();
    return static_cast<qint32>(users.size());
}

QString accountName()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    passwd entry {};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    // An id without a passwd entry (as in some containers): the login name of the environment.
    const QString fromEnvironment = qEnvironmentVariable("USER");
    return fromEnvironment.isEmpty() ? qEnvironmentVariable("LOGNAME") : fromEnvironment;
}

} // namespace

LinuxWorkStationService::LinuxWorkStationService(QString resolvConfPath)
    : m_resolvConfPath(std::move(resolvConfPath))
{
}

QString LinuxWorkStationService::domainFor(const QString& hostName, const QString& resolvConfText)
{
    const qsizetype dot = hostName.indexOf(u'.');
    if (dot > 0) {
        const QString rest = withoutTrailingDot(hostName.mid(dot + 1));
        if (!rest.isEmpty())
            return rest;
    }
    return domainFromResolvConf(resolvConfText);
}

std::optional<WorkstationRecord> LinuxWorkStationService::workstationInfo() const
{
    const QString host = hostName();
    if (host.isEmpty())
        return std::nullopt;
    WorkstationRecord record;
    record.computerName = host.section(u'.', 0, 0);
    QFile resolvConf(m_resolvConfPath);
    const QString resolvText = resolvConf.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(resolvConf.readAll())
                                                                     : QString();
    record.domain = domainFor(host, resolvText);
    utsname system {};
    if (uname(&system) == 0) {
        const QStringList release = QString::fromLocal8Bit(system.release).split(u'.');
        record.verMajor = leadingInt(release.value(0));
        record.verMinor = leadingInt(release.value(1));
    }
    record.lanRoot = QStringLiteral("/");
    record.loggedOnUsers = loggedOnUserCount();
    return record;
}

std::optional<WorkstationUserRecord> LinuxWorkStationService::userInfo() const
{
    const QString user = accountName();
    if (user.isEmpty())
        return std::nullopt;
    WorkstationUserRecord record;
    record.userName = user;
    record.logonDomain = hostName().section(u'.', 0, 0);
    record.logonServer = record.logonDomain;
    return record;
}

WorkStationInfo::WorkStationInfo()
    : WorkStationInfo(std::make_shared<LinuxWorkStationService>())
{
}

WorkStationInfo::WorkStationInfo(std::shared_ptr<const WorkStationService> service)
    : m_service(std::move(service))
{
    Refresh();
}

void WorkStationInfo::Refresh()
{
    if (!m_service)
        return;
    if (auto workstation = m_service->workstationInfo())
        m_workstation = std::move(*workstation);
    if (auto user = m_service->userInfo())
        m_user = std::move(*user);
}
