#include "commitdropper.h"

#include <QHostAddress>
#include <QMetaObject>
#include <QMutex>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <atomic>

class CommitDropper::Worker : public QObject
{
public:
    Worker(const QString &host, int port)
        : m_host(host)
        , m_port(port)
    {
        m_thread.start();
        moveToThread(&m_thread);
        QMetaObject::invokeMethod(this, [this] { listen(); }, Qt::BlockingQueuedConnection);
    }
    ~Worker() override
    {
        QMetaObject::invokeMethod(this, [this] {
            delete m_server;
            m_server = nullptr;
            moveToThread(QThread::currentThread()->thread());
        }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }

    int port() const { return m_listening.load(); }
    void arm(Mode mode, bool thenUnreachable)
    {
        m_mode = mode;
        m_unreachable = thenUnreachable;
        m_fired = false;
        m_armed = true;
    }
    bool fired() const { return m_fired.load(); }

private:
    void listen()
    {
        m_server = new QTcpServer;
        m_server->listen(QHostAddress::LocalHost);
        m_listening = m_server->serverPort();
        connect(m_server, &QTcpServer::newConnection, m_server, [this] {
            while (QTcpSocket *client = m_server->nextPendingConnection())
                pass(client);
        });
    }

    void pass(QTcpSocket *client)
    {
        auto *server = new QTcpSocket(client);
        auto *pending = new QByteArray;  // client bytes not yet split into packets
        connect(client, &QObject::destroyed, [pending] { delete pending; });
        server->connectToHost(m_host, quint16(m_port));
        // Statement after statement waits for its answer: no delay for small packets.
        client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(server, &QTcpSocket::connected, server, [server] { server->setSocketOption(QAbstractSocket::LowDelayOption, 1); });
        connect(server, &QTcpSocket::readyRead, client, [client, server] { client->write(server->readAll()); });
        connect(server, &QTcpSocket::disconnected, client, [client] { client->disconnectFromHost(); });
        connect(client, &QTcpSocket::disconnected, client, [client, server] {
            server->disconnectFromHost();
            client->deleteLater();
        });
        connect(client, &QTcpSocket::readyRead, client, [this, client, server, pending] {
            pending->append(client->readAll());
            // Packets: three bytes of length, a sequence number, the payload. A command starts
            // a sequence; COM_QUERY is 0x03 followed by the statement.
            while (pending->size() >= 4) {
                const qsizetype length = uchar(pending->at(0)) | uchar(pending->at(1)) << 8 | uchar(pending->at(2)) << 16;
                if (pending->size() < 4 + length)
                    break;
                const QByteArray packet = pending->left(4 + length);
                pending->remove(0, 4 + length);
                const bool commit = pending->isEmpty() && packet.at(3) == 0 && length > 1 && packet.at(4) == 0x03
                    && packet.mid(5).trimmed().toUpper() == "COMMIT";
                if (commit && m_armed.exchange(false)) {
                    m_fired = true;
                    if (m_unreachable)
                        m_server->close();
                    server->disconnect(client);
                    QObject::disconnect(client, &QTcpSocket::disconnected, nullptr, nullptr);
                    if (m_mode == Mode::InFlight) {
                        server->setParent(nullptr);
                        QTimer::singleShot(500, server, [server, packet] {
                            server->write(packet);
                            server->flush();
                            server->waitForBytesWritten(1000);
                            server->abort();
                            server->deleteLater();
                        });
                        client->abort();
                        client->deleteLater();
                        return;
                    }
                    if (m_mode == Mode::AfterServer) {
                        server->write(packet);
                        server->flush();
                        server->waitForBytesWritten(1000);
                    }
                    server->abort();
                    client->abort();
                    client->deleteLater();
                    return;
                }
                server->write(packet);
            }
        });
    }

    const QString m_host;
    const int m_port;
    QThread m_thread;
    QTcpServer *m_server = nullptr;
    std::atomic_int m_listening{0};
    std::atomic_bool m_armed{false};
    std::atomic_bool m_fired{false};
    std::atomic<Mode> m_mode{Mode::AfterServer};
    std::atomic_bool m_unreachable{false};
};

CommitDropper::CommitDropper(const QString &host, int port)
    : m_worker(std::make_unique<Worker>(host, port))
{
}

CommitDropper::~CommitDropper() = default;

int CommitDropper::port() const
{
    return m_worker->port();
}

void CommitDropper::arm(Mode mode, bool thenUnreachable)
{
    m_worker->arm(mode, thenUnreachable);
}

bool CommitDropper::fired() const
{
    return m_worker->fired();
}
