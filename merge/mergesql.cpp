#include "mergesql.h"

namespace MergeSql {

ConnectionOutcome openEndpoint(const QString &name, const MergeEndpoint &endpoint, const QString &database, const QString &nativeOptions)
{
    ConnectionRequest request;
    request.host = endpoint.host;
    request.port = endpoint.port;
    request.user = endpoint.username;
    request.password = endpoint.password;
    request.database = database;
    request.nativeOptions = nativeOptions;
    return openMysqlConnection(name, request);
}

} // namespace MergeSql
