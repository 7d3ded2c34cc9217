#pragma once
// The server components the tool binds to: the interface broker and, through it, the Notifier.
// The broker can be created when the installation registers its class; the interfaces behind
// it are whatever the installation's stand-ins put into the session's ServerInterfaces (the
// simulated installation's Notifier records every call it gets, see velmo/ServerStandIns.h).
#include <QString>
#include <functional>
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

// What the installation provides behind the broker.
struct ServerInterfaces {
    std::function<std::shared_ptr<Notifier>()> notifier;   // empty: no Notifier is installed
};

class InterfaceBroker {
public:
    // Throws KestraneError when the installation does not provide the component.
    static std::unique_ptr<InterfaceBroker> create(const Session& session);
    // The interface of that name; throws KestraneError for a name the broker does not provide.
    std::shared_ptr<Notifier> GetInterface(const QString& name) const;

private:
    explicit InterfaceBroker(ServerInterfaces interfaces) : m_interfaces(std::move(interfaces)) {}
    ServerInterfaces m_interfaces;
};
