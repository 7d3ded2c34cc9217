#include "core/UpdateCheck.h"

#include "core/Errors.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

const QString defaultToolsSite = QStringLiteral("http://tools.brennhal.example");
const QString homePagePath = QStringLiteral("/Applications/Velmo/Kestrane/Kestrane.html");
const QString toolListPath = QStringLiteral("/SiteList/AllDownloads/AllDownloads.XML");

constexpr long InvalidProcedureCall = 5;

// The proxies the system is set up with (environment variables such as http_proxy / no_proxy),
// except for this machine itself, which no proxy can reach.
class SystemProxies : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override
    {
        const QString host = query.peerHostName();
        if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback())
            return {QNetworkProxy(QNetworkProxy::NoProxy)};
        return systemProxyForQuery(query);
    }
};

bool isAsciiDigits(const QString& text)
{
    return !text.isEmpty()
           && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// A run of digits widened to at least four digits ("0###"); other text is left as it is.
QString padPart(const QString& part)
{
    if (!isAsciiDigits(part))
        return part;
    qsizetype firstSignificant = 0;
    while (firstSignificant < part.size() - 1 && part.at(firstSignificant) == u'0')
        ++firstSignificant;
    return part.mid(firstSignificant).rightJustified(4, u'0');
}

// Index of the first "/" after the scheme and host, or -1 when the address has no path.
qsizetype pathStart(const QString& address)
{
    const qsizetype schemeEnd = address.indexOf(QStringLiteral("://"));
    return address.indexOf(u'/', schemeEnd < 0 ? 0 : schemeEnd + 3);
}

} // namespace

QString ToolVersion::text() const
{
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString toolsSiteAddress()
{
    QString site = qEnvironmentVariable("KESTRANE_TOOLS_SITE").trimmed();
    while (site.endsWith(u'/'))
        site.chop(1);
    return site.isEmpty() ? defaultToolsSite : site;
}

QString homePageAddress(const QString& toolsSite)
{
    return toolsSite + homePagePath;
}

QString siteOfAddress(const QString& address)
{
    const qsizetype start = pathStart(address);
    return start < 0 ? address : address.left(start);
}

QString pathOfAddress(const QString& address)
{
    const qsizetype start = pathStart(address);
    return start < 0 ? QString() : address.mid(start);
}

QString DownloadUrlText(const QString& address, int timeoutMs)
{
    QNetworkAccessManager manager;
    manager.setProxyFactory(new SystemProxies);   // the manager owns it
    QNetworkRequest request{QUrl(address)};
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("HTTP Generic"));
    QNetworkReply* reply = manager.get(request);   // deleted with the manager

    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (!reply->isFinished()) {
        reply->abort();
        return {};
    }
    if (reply->error() != QNetworkReply::NoError)
        return {};
    return QString::fromLocal8Bit(reply->readAll());
}

QString PadVersionString(const QString& version, const MessageSink& messages)
{
    if (version.size() < 4)
        return {};
    if (!version.contains(u'.')) {
        tell(messages, formatProcedureError(InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument"),
                                            QStringLiteral("PadVersionString"), QStringLiteral("Module"),
                                            QStringLiteral("modUpdateCheck")));
        return {};
    }
    QStringList parts = version.split(u'.');
    for (QString& part : parts)
        part = padPart(part);
    return parts.join(u'.');
}

QString publishedVersionInList(const QString& list, const QString& homePage, const QString& toolName,
                               const MessageSink& messages)
{
    if (list.size() < 10)
        return {};
    QString marker = QStringLiteral("^") + pathOfAddress(homePage) + QStringLiteral("^ifram_a");
    if (toolName.size() >= 2)
        marker.prepend(toolName);
    const qsizetype entry = list.indexOf(marker, 0, Qt::CaseInsensitive);
    if (entry < 0)
        return {};
    const QString cellTag = QStringLiteral("<cell>");
    const qsizetype cell = list.indexOf(cellTag, entry, Qt::CaseInsensitive);
    if (cell < 0)
        return {};

    const qsizetype start = cell + cellTag.size();
    qsizetype end = start;
    while (end < list.size() && ((list.at(end) >= u'0' && list.at(end) <= u'9') || list.at(end) == u'.'))
        ++end;
    return PadVersionString(list.mid(start, end - start), messages);
}

QString GetPublishedVersion(const QString& homePage, const QString& toolName, const MessageSink& messages,
                            int timeoutMs)
{
    // Without a path after the site there is no entry to look for.
    if (pathOfAddress(homePage).isEmpty())
        return {};
    const QString list = DownloadUrlText(siteOfAddress(homePage) + toolListPath, timeoutMs);
    return publishedVersionInList(list, homePage, toolName, messages);
}

void RunBatchCommand(const QString& first, const QString& second, const ToolVersion& version,
                     const QString& programFolder)
{
    const QString batchFile = QDir(programFolder).filePath(QStringLiteral("test.bat"));
    if (!QFileInfo(batchFile).isFile())
        return;
    // An argument list: blanks inside an argument keep it whole, no quoting needed.
    QStringList arguments{batchFile, version.text(), first};
    if (second.size() >= 2)
        arguments << second;
    QProcess::startDetached(QStringLiteral("/bin/sh"), arguments, programFolder);
}
