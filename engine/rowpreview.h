#pragma once

#include "base/message.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class QSqlDatabase;

// What an operation will touch, counted on the server before its confirmation. The windows'
// confirmations and the command line's rehearsals show these same numbers, and the
// operations delete, change or add exactly these rows.
namespace RowPreview {

struct Count
{
    Message table;  // the table's name, or a message naming what is counted ("t_var(计数器)")
    qint64 rows = 0;
    bool missing = false;  // the table does not exist here
    Message error;         // the count failed
};

// The rows of every character-owned table, the relations pointing at them (when asked) and
// t_char that belong to the characters `owners` selects (a sub-select of charguids).
QList<Count> characterRows(QSqlDatabase &db, const QString &owners, bool reverseRelations);

// One statement per table: "SELECT COUNT(*) FROM <table> WHERE <where>" for each given table.
QList<Count> tableRows(QSqlDatabase &db, const QList<QPair<QString, QString>> &tablesAndWhere);

// The rows a copy of the character adds (t_char, its tables, items and pets).
QList<Count> copyRows(QSqlDatabase &db, int charguid);
// The rows a transfer of the character to another world changes.
QList<Count> transferRows(QSqlDatabase &db, int charguid);
// What the repair of the character does to each table where it has duplicates (a row with a
// twin of a lower aid): "table(删除)" all its rows, "table(重新写入)" the survivors.
QList<Count> repairRows(QSqlDatabase &db, int charguid);

// "  t_skill: 40 条记录" per table, "  跳过 t_x: 表不存在" for a missing one; `nonEmptyOnly`
// leaves out the tables without rows.
QList<Message> lines(const QList<Count> &counts, bool nonEmptyOnly = false);

// Whether the game seems to be running on the databases an operation is about to change: other
// client sessions on them (other users or hosts than the program's own, as the server's process
// list shows them) and accounts of `accountDatabases` marked online. A warning line with both
// numbers, or empty when there are none; a warning that it cannot tell when the program's user
// may not see other users' sessions (no PROCESS privilege).
Message liveGameWarning(QSqlDatabase &db, const QStringList &databases, const QStringList &accountDatabases);

// Whether one transaction that deletes or changes `rows` rows will find room for its row locks.
// InnoDB keeps them in the buffer pool and fails the statement that runs out (error 1206) after
// all the work before it. A warning line with the estimate, the pool and what to do, or empty
// when they fit. `where` names the server in the line ("主区" ...), empty for the session's.
Message lockWarning(QSqlDatabase &db, qint64 rows, const Message &where = Message());

// The sum of the rows of the tables that exist.
qint64 total(const QList<Count> &counts);

} // namespace RowPreview
