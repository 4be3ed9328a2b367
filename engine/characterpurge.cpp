#include "characterpurge.h"

#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace CharacterPurge {

namespace {
// Runs the statement template (one "%1" for the placeholders) over the ids in slices: the
// affected rows, or -1 with *error.
qint64 inSlices(QSqlDatabase &db, const QString &statement, const QList<int> &ids, const Hooks &hooks,
                QString *error, bool *cancelled)
{
    qint64 affected = 0;
    QSqlQuery query(db);
    qsizetype preparedSize = -1;
    for (qsizetype start = 0; start < ids.size(); start += kSliceSize) {
        if (hooks.cancelled && hooks.cancelled()) {
            *cancelled = true;
            return -1;
        }
        const qsizetype size = qMin<qsizetype>(kSliceSize, ids.size() - start);
        if (size != preparedSize) {
            if (!query.prepare(statement.arg(QStringList(size, QStringLiteral("?")).join(QLatin1Char(','))))) {
                *error = query.lastError().text();
                return -1;
            }
            preparedSize = size;
        }
        for (qsizetype i = 0; i < size; ++i)
            query.bindValue(int(i), ids.at(start + i));
        if (!query.exec()) {
            *error = query.lastError().text();
            return -1;
        }
        affected += query.numRowsAffected();
    }
    return affected;
}
} // namespace

bool existingTables(QSqlDatabase &db, const QStringList &tables, QStringList *existing, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = DATABASE()"))) {
        *error = query.lastError().text();
        return false;
    }
    // Servers on Windows fold table names to lower case.
    QSet<QString> present;
    while (query.next())
        present.insert(query.value(0).toString().toLower());
    existing->clear();
    for (const QString &table : tables) {
        if (present.contains(table.toLower()))
            existing->append(table);
    }
    return true;
}

bool deleteCharacters(QSqlDatabase &db, const QList<int> &ids, const QStringList &tables, const Hooks &hooks,
                      Outcome *outcome)
{
    *outcome = Outcome();
    QStringList present;
    if (!existingTables(db, tables + QStringList{QStringLiteral("t_relation")}, &present, &outcome->error))
        return false;
    struct Item
    {
        Step kind;
        QString table;
        QString statement;
    };
    QList<Item> steps;
    for (const QString &table : tables)
        steps.append({Step::Table, table, QStringLiteral("DELETE FROM %1 WHERE charguid IN (%2)").arg(table, QStringLiteral("%1"))});
    steps.append({Step::ReverseRelations, QStringLiteral("t_relation"), QStringLiteral("DELETE FROM t_relation WHERE fguid IN (%1)")});
    steps.append({Step::Characters, QStringLiteral("t_char"), QStringLiteral("DELETE FROM t_char WHERE charguid IN (%1)")});

    for (int i = 0; i < steps.size(); ++i) {
        const Item &item = steps.at(i);
        if (hooks.starting)
            hooks.starting(i + 1, int(steps.size()), item.kind, item.table);
        if (item.kind != Step::Characters && !present.contains(item.table)) {
            // A missing t_relation is reported once, as a table of the list.
            if (hooks.done && item.kind == Step::Table)
                hooks.done(item.kind, item.table, 0, true);
            continue;
        }
        const qint64 rows = inSlices(db, item.statement, ids, hooks, &outcome->error, &outcome->cancelled);
        if (rows < 0) {
            outcome->failedStep = item.kind;
            outcome->failedTable = item.table;
            return false;
        }
        outcome->rows += rows;
        if (item.kind == Step::Characters)
            outcome->characters = rows;
        if (hooks.done)
            hooks.done(item.kind, item.table, rows, false);
    }
    return true;
}

} // namespace CharacterPurge
