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
    QString accountHost;
    int accountPort = 3306;
    QString accountUsername;
    QString accountPassword;
    QString accountDatabase = QStringLiteral("web");

    // The configuration used wherever nobody has entered one: local server, user root, no password.
    static HostConfig initial(const QString &name = QString())
    {
        HostConfig c;
        c.name = name;
        c.host = QStringLiteral("localhost");
        c.username = QStringLiteral("root");
        c.database = QStringLiteral("vexadb_main");
        c.accountHost = QStringLiteral("localhost");
        c.accountUsername = QStringLiteral("root");
        return c;
    }

    friend bool operator==(const HostConfig &a, const HostConfig &b)
    {
        return a.name == b.name && a.host == b.host && a.port == b.port && a.username == b.username
            && a.password == b.password && a.database == b.database && a.accountHost == b.accountHost
            && a.accountPort == b.accountPort && a.accountUsername == b.accountUsername
            && a.accountPassword == b.accountPassword && a.accountDatabase == b.accountDatabase;
    }
};

using HostConfigList = QList<HostConfig>;

// The account database of a host entry, as a connection of its own: the entry's account
// server fields, each falling back to the character server's.
inline HostConfig accountDatabaseConfig(const HostConfig &entry)
{
    HostConfig web;
    web.name = entry.name;
    web.host = entry.accountHost.isEmpty() ? entry.host : entry.accountHost;
    web.port = entry.accountPort == 0 ? entry.port : entry.accountPort;
    web.username = entry.accountUsername.isEmpty() ? entry.username : entry.accountUsername;
    web.password = entry.accountPassword.isEmpty() ? entry.password : entry.accountPassword;
    web.database = entry.accountDatabase.isEmpty() ? QStringLiteral("web") : entry.accountDatabase;
    return web;
}
