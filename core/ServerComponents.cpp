#include "core/ServerComponents.h"
#include "core/Errors.h"
#include "core/Session.h"

#include <QDir>
#include <QFile>

namespace {

class RecordingNotifier : public Notifier {
public:
    explicit RecordingNotifier(QString path) : m_path(std::move(path)) {}

    void RefreshSubscriber(const QString& subscriberObjectID) override
    {
        QFile log(m_path);
        if (!log.open(QIODevice::Append | QIODevice::Text))
            throw KestraneError(ErrorNumber::DatabaseError,
                                QStringLiteral("The Notifier could not be reached: %1").arg(log.errorString()));
        log.write("RefreshSubscriber " + subscriberObjectID.toUtf8() + '\n');
    }

private:
    QString m_path;
};

}  // namespace

QString notifierCallLogPath(const QString& installationFolder)
{
    return QDir(installationFolder).filePath(QStringLiteral("notifier-calls.log"));
}

std::unique_ptr<InterfaceBroker> InterfaceBroker::create(const Session& session)
{
    if (!session.registry.RegKeyExists(HKEY_LOCAL_MACHINE, QLatin1String(kInterfaceBrokerClassKey)))
        throw KestraneError(429, QStringLiteral("ActiveX component can't create object"));
    return std::unique_ptr<InterfaceBroker>(new InterfaceBroker(notifierCallLogPath(session.installation.folder)));
}

std::shared_ptr<Notifier> InterfaceBroker::GetInterface(const QString& name) const
{
    if (name.compare(QLatin1String("Notifier"), Qt::CaseInsensitive) != 0)
        throw KestraneError(ErrorNumber::DatabaseError, QStringLiteral("No such interface: %1").arg(name));
    return std::make_shared<RecordingNotifier>(m_callLogPath);
}
