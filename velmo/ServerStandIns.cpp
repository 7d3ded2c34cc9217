#include "velmo/ServerStandIns.h"

#include "core/Errors.h"
#include "core/Session.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace velmo {

namespace {

class RecordingNotifier : public Notifier {
public:
    explicit RecordingNotifier(QString path) : m_path(std::move(path)) {}

    void RefreshSubscriber(const QString& subscriberObjectID) override
    {
        QFile log(m_path);
        if (!log.open(QIODevice::Append | QIODevice::Text))
            throw KestraneError(ErrorNumber::ComponentUnavailable,
                                QStringLiteral("The Notifier could not be reached: %1").arg(log.errorString()));
        log.write("RefreshSubscriber " + subscriberObjectID.toUtf8() + '\n');
    }

private:
    QString m_path;
};

// The parameter of that name (without regard to case), as the server looks it up; a missing
// one fails the call the way the server reports it.
ProcedureParameter& parameter(ProcedureParameters& parameters, const QString& procedure, const QString& name)
{
    for (ProcedureParameter& candidate : parameters)
        if (candidate.name.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    throw KestraneError(ErrorNumber::DatabaseError,
                        QStringLiteral("Procedure or function '%1' expects parameter '%2', which was not supplied.")
                            .arg(procedure, name));
}

void sp_MD5(Database&, ProcedureParameters& parameters)
{
    const QString raw = parameter(parameters, QStringLiteral("sp_MD5"), QStringLiteral("@RawText")).value.toString();
    ProcedureParameter& hashed = parameter(parameters, QStringLiteral("sp_MD5"), QStringLiteral("@MD5Text"));
    hashed.value = QString::fromLatin1(QCryptographicHash::hash(raw.toUtf8(), QCryptographicHash::Md5).toHex().toUpper());
}

void sp_ModifySubscriber(Database& db, ProcedureParameters& parameters)
{
    const QString procedure = QStringLiteral("sp_ModifySubscriber");
    db.execute(QStringLiteral("INSERT INTO DirectorySyncRequest (SubscriberObjectID, DirectorySync, DirectorySyncFlags) "
                              "VALUES (?, ?, ?)"),
               {parameter(parameters, procedure, QStringLiteral("@SubscriberObjectID")).value,
                parameter(parameters, procedure, QStringLiteral("@DirectorySync")).value,
                parameter(parameters, procedure, QStringLiteral("@DirectorySyncFlags")).value});
}

}  // namespace

void registerServerStandIns(Session& session)
{
    session.database.registerProcedure(QStringLiteral("sp_MD5"), sp_MD5,
                                       {{QStringLiteral("@RawText"), {}}, {QStringLiteral("@MD5Text"), {}, true}});
    session.database.registerProcedure(QStringLiteral("sp_ModifySubscriber"), sp_ModifySubscriber,
                                       {{QStringLiteral("@SubscriberObjectID"), {}}, {QStringLiteral("@DirectorySync"), {}},
                                        {QStringLiteral("@DirectorySyncFlags"), {}}});
    const QString callLog = notifierCallLogPath(session.installation.folder);
    session.serverInterfaces.notifier = [callLog] { return std::make_shared<RecordingNotifier>(callLog); };
}

QString notifierCallLogPath(const QString& installationFolder)
{
    return QDir(installationFolder).filePath(QStringLiteral("notifier-calls.log"));
}

}  // namespace velmo
