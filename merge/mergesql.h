#pragma once

#include "db/sqlcolumns.h"
#include "mergesettings.h"

#include <QSqlDatabase>
#include <QString>

namespace MergeSql {

// A native connection under `name` (an older one of that name released) to `database` on the
// endpoint's server, not yet open.
QSqlDatabase addConnection(const QString &name, const MergeEndpoint &endpoint, const QString &database, const QString &options);

} // namespace MergeSql
