#pragma once
// The server components the tool binds to: the interface broker and, through it, the Notifier.
// Here they are those of the simulated installation: the broker can be created when the
// installation registers its class, and the Notifier records every call it gets in the
// installation's "notifier-calls.log", one line per call, so that tests and administrators see
// what the tool asked of the server.
#include <QString>
#include <memory>

class Session;

// The class the tool creates to reach the server's interfaces.
inline constexpr char kInterfaceBrokerClassKey[] =
    "SOFTWARE\\Classes\\CLSID\\{60EB7702-6A7A-11D1-8029-00C04FAD610B}";

class Notifier {
public:
    virtual ~Notifier() = default;
    // Makes the server pick up the changed message-waiting extension of a subscriber.
    virtual void RefreshSubscriber(const QString& subscriberObjectID) = 0;
};

class InterfaceBroker {
public:
    // Throws KestraneError when the installation does not provide the component.
    static std::unique_ptr<InterfaceBroker> create(const Session& session);
    // The interface of that name; throws KestraneError for a name the broker does not know.
    std::shared_ptr<Notifier> GetInterface(const QString& name) const;

private:
    explicit InterfaceBroker(QString callLogPath) : m_callLogPath(std::move(callLogPath)) {}
    QString m_callLogPath;
};

// The file in which the simulated Notifier records its calls.
QString notifierCallLogPath(const QString& installationFolder);
