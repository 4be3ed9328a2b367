#include "mergesql.h"

#include "db/hostconfig.h"

namespace MergeSql {

ConnectionOutcome openEndpoint(const QString &name, const MergeEndpoint &endpoint, const QString &database, const QString &nativeOptions)
{
    HostConfig config = HostConfig::initial();
    config.host = endpoint.host;
    config.port = endpoint.port;
    config.username = endpoint.username;
    config.password = endpoint.password;
    config.database = database;
    return openMysqlConnection(name, config, nativeOptions);
}

} // namespace MergeSql
