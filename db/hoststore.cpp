#include "hoststore.h"

#include "base/atomicfile.h"
#include "base/debuglog.h"
#include "base/storedtext.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
QString stringOf(const QJsonObject &object, const QString &key, const QString &fallback)
{
    return object.contains(key) ? object.value(key).toString() : fallback;
}

HostConfig fromJson(const QJsonObject &o)
{
    HostConfig c;
    c.name = o.value(QStringLiteral("name")).toString();
    c.host = o.value(QStringLiteral("host")).toString();
    c.port = o.value(QStringLiteral("port")).toInt(3306);
    c.username = o.value(QStringLiteral("username")).toString();
    c.password = o.value(QStringLiteral("password")).toString();
    c.database = o.value(QStringLiteral("database")).toString();
    c.accountHost = stringOf(o, QStringLiteral("web_host"), c.host);
    c.accountPort = o.contains(QStringLiteral("web_port"))
        ? o.value(QStringLiteral("web_port")).toInt(c.port)
        : c.port;
    c.accountUsername = stringOf(o, QStringLiteral("web_username"), c.username);
    c.accountPassword = stringOf(o, QStringLiteral("web_password"), c.password);
    c.accountDatabase = stringOf(o, QStringLiteral("web_database"), QStringLiteral("web"));
    return c;
}

QJsonObject toJson(const HostConfig &c)
{
    QJsonObject o;
    o.insert(QStringLiteral("name"), c.name);
    o.insert(QStringLiteral("host"), c.host);
    o.insert(QStringLiteral("port"), c.port);
    o.insert(QStringLiteral("username"), c.username);
    o.insert(QStringLiteral("password"), c.password);
    o.insert(QStringLiteral("database"), c.database);
    o.insert(QStringLiteral("web_host"), c.accountHost);
    o.insert(QStringLiteral("web_port"), c.accountPort);
    o.insert(QStringLiteral("web_username"), c.accountUsername);
    o.insert(QStringLiteral("web_password"), c.accountPassword);
    o.insert(QStringLiteral("web_database"), c.accountDatabase);
    return o;
}
} // namespace

QString hostConfigFilePath()
{
    return applicationDirectory() + QStringLiteral("/host_configs.json");
}

HostConfigList readHostConfigs(const QString &path)
{
    HostConfigList configs;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
        file.close();
        const QJsonArray array = doc.array();
        for (const QJsonValue &value : array)
            configs.append(fromJson(value.toObject()));
    }
    if (configs.isEmpty())
        configs.append(HostConfig::initial(STORED_TEXT_IN("HostStore", "本地数据库")));
    return configs;
}

Message hostFileExposure(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return QString();
#else
    const QFileInfo info(path);
    if (!info.exists() || !(info.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther)))
        return QString();
    return STORED_TEXT_IN("HostStore", "警告: 主机配置文件 %1 含有密码，但其他用户也能读取它；请执行 chmod 600 %1，或在主机配置中保存一次").arg(path);
#endif
}

bool writeHostConfigs(const QString &path, const HostConfigList &configs, Message *error)
{
    QJsonArray array;
    for (const HostConfig &config : configs)
        array.append(toJson(config));
    // The file holds passwords, so it is private (an older one may have been readable by
    // others); a failure keeps the old list whole.
    AtomicFile file(path);
    if (file.open(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        && file.write(QJsonDocument(array).toJson(QJsonDocument::Indented)) && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
