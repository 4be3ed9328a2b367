#pragma once

#include <QList>
#include <QString>

// The mail domain the game's account names carry, offered wherever an account name is typed
// (registration, the copy's target account).
inline const QString &accountNameSuffix()
{
    static const QString suffix = QStringLiteral("@qq.com");
    return suffix;
}

// Connection data of one game server: its character database and its account database.
struct HostConfig
{
    QString name;
    QString host;
    int port = 3306;
    QString username;
    QString password;
    QString database;
    QString webHost;
    int webPort = 3306;
    QString webUsername;
    QString webPassword;
    QString webDatabase = QStringLiteral("web");

    // The configuration used wherever nobody has entered one: local server, user root, no password.
    static HostConfig initial(const QString &name = QString())
    {
        HostConfig c;
        c.name = name;
        c.host = QStringLiteral("localhost");
        c.username = QStringLiteral("root");
        c.database = QStringLiteral("vexadb_main");
        c.webHost = QStringLiteral("localhost");
        c.webUsername = QStringLiteral("root");
        return c;
    }

    friend bool operator==(const HostConfig &a, const HostConfig &b)
    {
        return a.name == b.name && a.host == b.host && a.port == b.port && a.username == b.username
            && a.password == b.password && a.database == b.database && a.webHost == b.webHost
            && a.webPort == b.webPort && a.webUsername == b.webUsername
            && a.webPassword == b.webPassword && a.webDatabase == b.webDatabase;
    }
};

using HostConfigList = QList<HostConfig>;

// The account database of a host entry, as a connection of its own: the entry's account
// server fields, each falling back to the character server's.
inline HostConfig accountDatabaseConfig(const HostConfig &entry)
{
    HostConfig web;
    web.name = entry.name;
    web.host = entry.webHost.isEmpty() ? entry.host : entry.webHost;
    web.port = entry.webPort == 0 ? entry.port : entry.webPort;
    web.username = entry.webUsername.isEmpty() ? entry.username : entry.webUsername;
    web.password = entry.webPassword.isEmpty() ? entry.password : entry.webPassword;
    web.database = entry.webDatabase.isEmpty() ? QStringLiteral("web") : entry.webDatabase;
    return web;
}
