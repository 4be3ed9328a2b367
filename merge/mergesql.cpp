#include "mergesql.h"

#include "db/connectionrule.h"

namespace MergeSql {

QSqlDatabase addConnection(const QString &name, const MergeEndpoint &endpoint, const QString &database, const QString &options)
{
    removeNamedConnection(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
    db.setHostName(endpoint.host);
    db.setPort(endpoint.port);
    db.setUserName(endpoint.username);
    db.setPassword(endpoint.password);
    db.setDatabaseName(database);
    db.setConnectOptions(options);
    return db;
}

} // namespace MergeSql
