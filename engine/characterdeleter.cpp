#include "characterdeleter.h"

#include "charactertables.h"
#include "db/databasemanager.h"

#include <QSqlError>
#include <QSqlQuery>

CharacterDeleter::CharacterDeleter(QObject *parent)
    : QObject(parent)
{
}

QStringList CharacterDeleter::relatedTables()
{
    return characterDeleteTables;
}

qint64 CharacterDeleter::deleteInSlices(QSqlDatabase &db, const QString &statement,
                                        const QList<int> &ids, QString *error)
{
    qint64 affected = 0;
    QSqlQuery query(db);
    qsizetype preparedSize = -1;
    for (qsizetype start = 0; start < ids.size(); start += deleteBatchSize) {
        const qsizetype size = qMin<qsizetype>(deleteBatchSize, ids.size() - start);
        if (size != preparedSize) {
            const QStringList marks(size, QStringLiteral("?"));
            if (!query.prepare(statement.arg(marks.join(QLatin1Char(','))))) {
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

void CharacterDeleter::fail(QSqlDatabase &db, const QString &message)
{
    emit errorOccurred(message);
    db.rollback();
    emit deleteCompleted(false, 0);
}

void CharacterDeleter::deleteByZoneWorldIds(const QList<int> &worldIds)
{
    DatabaseManager *manager = DatabaseManager::instance();
    if (!manager->isConnected()) {
        emit errorOccurred(QStringLiteral("未连接到数据库"));
        emit deleteCompleted(false, 0);
        return;
    }

    emit logMessage(QStringLiteral("开始删除 zoneworldid IN (%1) 的角色数据...").arg(idListText(worldIds)));

    const QList<int> guids = manager->getCharGuids(worldIds);
    if (guids.isEmpty()) {
        emit logMessage(QStringLiteral("没有找到符合条件的角色"));
        emit deleteCompleted(true, 0);
        return;
    }
    emit logMessage(QStringLiteral("找到 %1 个角色需要删除").arg(guids.size()));

    QSqlDatabase &db = manager->database();
    if (!db.transaction()) {
        emit errorOccurred(QStringLiteral("无法开启事务: ") + db.lastError().text());
        emit deleteCompleted(false, 0);
        return;
    }

    const int total = int(characterDeleteTables.size()) + 2;
    qint64 deletedRows = 0;
    QString error;
    for (int i = 0; i < characterDeleteTables.size(); ++i) {
        const QString &table = characterDeleteTables.at(i);
        emit progressChanged(i + 1, total, table);
        const qint64 count = deleteInSlices(db, QStringLiteral("DELETE FROM %1 WHERE charguid IN (%2)")
                                                    .arg(table, QStringLiteral("%1")), guids, &error);
        if (count < 0) {
            fail(db, QStringLiteral("删除 %1 失败: %2").arg(table, error));
            return;
        }
        deletedRows += count;
        emit logMessage(QStringLiteral("  删除 %1: %2 条记录").arg(table).arg(count));
    }

    emit progressChanged(total - 1, total, QStringLiteral("t_relation(反向)"));
    qint64 count = deleteInSlices(db, QStringLiteral("DELETE FROM t_relation WHERE fguid IN (%1)"), guids, &error);
    if (count < 0) {
        fail(db, QStringLiteral("清理 t_relation 反向关系失败: %1").arg(error));
        return;
    }
    deletedRows += count;
    emit logMessage(QStringLiteral("  清理 t_relation(反向关系): %1 条记录").arg(count));

    emit progressChanged(total, total, QStringLiteral("t_char"));
    count = deleteInSlices(db, QStringLiteral("DELETE FROM t_char WHERE charguid IN (%1)"), guids, &error);
    if (count < 0) {
        fail(db, QStringLiteral("删除 t_char 失败: %1").arg(error));
        return;
    }
    deletedRows += count;
    emit logMessage(QStringLiteral("  删除 t_char: %1 条记录").arg(count));

    if (!db.commit()) {
        fail(db, QStringLiteral("提交事务失败: ") + db.lastError().text());
        return;
    }
    emit logMessage(QStringLiteral("删除完成！共删除 %1 条记录").arg(deletedRows));
    emit deleteCompleted(true, int(guids.size()));
}
