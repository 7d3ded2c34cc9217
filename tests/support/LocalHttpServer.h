#pragma once
// A tiny HTTP server on 127.0.0.1 for tests of downloads: serves one fixed body at one path (404
// elsewhere), or accepts connections and never answers. It runs on the test's own event loop, so
// a download that waits in a local event loop is served meanwhile.
#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

class LocalHttpServer {
public:
    enum class Mode { Answer, NeverAnswer };

    explicit LocalHttpServer(QByteArray body, Mode mode = Mode::Answer,
                             QByteArray path = "/SiteList/AllDownloads/AllDownloads.XML")
        : m_body(std::move(body)), m_mode(mode), m_path(std::move(path))
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())   // owned by the server
                serve(socket);
        });
    }

    bool isListening() const { return m_server.isListening(); }
    // "http://127.0.0.1:<port>"
    QString site() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }
    // The head (request line and headers) of every request received so far.
    const QList<QByteArray>& requests() const { return m_requests; }

    // The site of a port that nothing listens on.
    static QString closedSite()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        return QStringLiteral("http://127.0.0.1:%1").arg(port);
    }

private:
    void serve(QTcpSocket* socket)
    {
        auto received = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
            received->append(socket->readAll());
            const qsizetype headEnd = received->indexOf("\r\n\r\n");
            if (headEnd < 0)
                return;
            const QByteArray head = received->left(headEnd);
            received->clear();
            m_requests << head;
            if (m_mode == Mode::NeverAnswer)
                return;
            const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
            const bool found = requestLine.size() >= 2 && requestLine.at(1) == m_path;
            const QByteArray body = found ? m_body : QByteArray("not here");
            socket->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n")
                          + QByteArray("Content-Type: text/xml\r\nConnection: close\r\nContent-Length: ")
                          + QByteArray::number(body.size()) + "\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
    }

    QTcpServer m_server;
    QByteArray m_body;
    Mode m_mode;
    QByteArray m_path;
    QList<QByteArray> m_requests;
};
