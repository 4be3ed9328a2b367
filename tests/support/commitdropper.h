#pragma once

#include <QString>

#include <memory>

// A TCP proxy in front of a MySQL server that loses one COMMIT's answer, as a network that
// breaks at the wrong moment does. Everything else passes through unchanged. It runs on a
// thread of its own, so that a test can block in a database call while it works.
class CommitDropper
{
public:
    enum class Mode {
        AfterServer,   // the COMMIT reaches the server, then both sides are closed: it commits
        BeforeServer,  // both sides are closed instead of forwarding it: it never commits
        InFlight,      // the program's side is closed at once, and the COMMIT reaches the server
                       // half a second later, as one slow on the way: it commits
    };

    CommitDropper(const QString &host, int port);
    ~CommitDropper();
    CommitDropper(const CommitDropper &) = delete;
    CommitDropper &operator=(const CommitDropper &) = delete;

    int port() const;
    // The next COMMIT sent through the proxy is lost so; with `thenUnreachable` the proxy takes
    // no connection afterwards, as a server out of reach.
    void arm(Mode mode, bool thenUnreachable = false);
    // Whether the armed COMMIT came by.
    bool fired() const;

private:
    class Worker;
    std::unique_ptr<Worker> m_worker;
};
