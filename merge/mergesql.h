#pragma once

#include "db/connectionrule.h"
#include "db/sqlcolumns.h"
#include "mergesettings.h"

#include <QString>

namespace MergeSql {

// Opens `name` to `database` on the endpoint's server by the program's connection rule: the
// native plug-in with `nativeOptions`, else ODBC. The connection stays registered either way.
ConnectionOutcome openEndpoint(const QString &name, const MergeEndpoint &endpoint, const QString &database, const QString &nativeOptions);

} // namespace MergeSql
