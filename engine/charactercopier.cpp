#include "charactercopier.h"

#include "characterpurge.h"
#include "charactertables.h"
#include "charguidledger.h"
#include "db/characterqueries.h"
#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "db/sqlcolumns.h"
#include "base/storedtext.h"
#include "undoabletransaction.h"

#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

using namespace Sql;

QStringList CharacterCopier::addedTables()
{
    return QStringList{QStringLiteral("t_char")} + copiedCharacterTables
        + QStringList{QStringLiteral("t_iteminfo"), QStringLiteral("t_pet"), QStringLiteral("t_pet_bank"), QStringLiteral("t_pet_iteminfo")};
}

namespace {
// A legacy text replacement: its GBK bytes, which copyRows binds as hexadecimal through UNHEX(?).
QVariant legacy(const QString &text)
{
    return QVariant(encodeGbk(text));
}

// The first column of the first row, or `fallback`.
qint64 scalar(QSqlDatabase &db, const QString &sql, const QVariantList &values, qint64 fallback, bool *found = nullptr)
{
    QSqlQuery query(db);
    const bool ok = Sql::execBound(&query, sql, values) && query.next() && !query.value(0).isNull();
    if (found)
        *found = ok;
    return ok ? query.value(0).toLongLong() : fallback;
}
} // namespace

CharacterCopier::CharacterCopier(QSqlDatabase db, const OperationContext &context)
    : m_db(db)
    , m_context(context)
{
}

QString CharacterCopier::randomName()
{
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    QString name;
    for (int i = 0; i < 8; ++i)
        name.append(letters.at(QRandomGenerator::global()->bounded(int(letters.size()))));
    return name;
}

QString CharacterCopier::freeRandomName(QSqlDatabase &db)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QString name = randomName();
        if (CharacterQueries::charactersNamed(db, name) == 0)
            return name;
    }
    return QString();
}

qint64 CharacterCopier::copyRows(QSqlDatabase &db, const QString &table, const QMap<QString, QVariant> &replacements,
                                 const QString &where, const QVariantList &whereValues, Message *error)
{
    auto known = m_columns.constFind(table);
    if (known == m_columns.cend()) {
        QSqlError readError;
        QStringList read;
        // The server computes generated columns itself and refuses values for them; it numbers
        // the copy's rows itself too (aid, or a key it generated: MySQL's invisible my_row_id).
        for (const Column &column : withoutColumn(readColumns(db, table, &readError), QStringLiteral("aid"))) {
            if (!column.generated && !column.autoIncrement)
                read.append(column.name);
        }
        if (read.isEmpty()) {
            *error = readError.text();
            return -1;
        }
        known = m_columns.insert(table, read);
    }
    QStringList names;
    QStringList expressions;
    QVariantList values;
    for (const QString &column : *known) {
        names.append(quoted(column));
        const auto it = replacements.constFind(column.toLower());
        if (it == replacements.cend()) {
            expressions.append(quoted(column));
        } else if (it->typeId() == QMetaType::QByteArray) {
            expressions.append(QStringLiteral("UNHEX(?)"));
            values.append(textParameter(db, QString::fromLatin1(it->toByteArray().toHex().toUpper())));
        } else {
            expressions.append(QStringLiteral("?"));
            values.append(*it);
        }
    }
    QSqlQuery query(db);
    if (!Sql::execBound(&query, QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %1 WHERE %4")
                                    .arg(quoted(table), names.join(QLatin1Char(',')), expressions.join(QLatin1Char(',')), where),
                        values + whereValues, error))
        return -1;
    return query.numRowsAffected();
}

bool CharacterCopier::copyCharacter(int source, const QString &account, const QString &newName, int *newGuid,
                                    QString *usedName, Message *failure)
{
    m_columns.clear();
    m_context.log(STORED_TEXT("========== 开始复制角色 =========="));
    m_context.log(STORED_TEXT("源CharGUID=%1, 目标账号=%2, 新名称=%3").arg(source).arg(account, newName));
    QSqlDatabase &db = m_db;

    Message error;
    QStringList present;
    if (!CharacterPurge::existingTables(db, addedTables().mid(1), &present, &error)) {
        m_context.log(STORED_TEXT("错误: 读取表清单失败: %1").arg(error));
        *failure = STORED_TEXT("读取表清单失败: %1").arg(error);
        return false;
    }
    m_undoPath.clear();
    UndoableTransaction transaction(db);
    if (!transaction.begin(STORED_TEXT("复制角色 CharGUID %1").arg(source), m_writeUndo, &error)) {
        *failure = error;
        m_context.log(STORED_TEXT("错误: ") + *failure);
        return false;
    }
    auto fail = [&](const Message &logLine, const Message &message) {
        m_context.log(logLine);
        transaction.rollback();
        *failure = message;
        return false;
    };
    const Message cancelText = STORED_TEXT("已取消，复制已回滚");
    auto cancelled = [this] { return m_context.cancelled(); };

    bool found = false;
    const qint64 world = scalar(db, QStringLiteral("SELECT zoneworldid FROM t_char WHERE charguid = ?"), {source}, 0, &found);
    if (!found)
        return fail(STORED_TEXT("错误: 获取源角色信息失败"), STORED_TEXT("获取源角色信息失败"));
    m_context.log(STORED_TEXT("源角色 zoneworldid: %1").arg(world));

    // The new id is the one the game would give the world's next character, and the counter
    // moves on to it, so that the game's own next creation finds a free id again.
    CharGuidLedger ledger;
    QList<int> newIds;
    if (!ledger.read(db, int(world), &error) || !ledger.allocate(db, int(world), 1, &newIds, &error))
        return fail(STORED_TEXT("错误: 获取新charguid失败: %1").arg(error), STORED_TEXT("获取新charguid失败: %1").arg(error));
    const int guid = newIds.first();
    const qint64 oldCounter = ledger.counter(int(world));
    if (!ledger.setCounter(db, int(world), guid, &error))
        return fail(STORED_TEXT("错误: %1").arg(error), STORED_TEXT("更新maxcharguid失败: %1").arg(error));
    m_context.log(STORED_TEXT("分配新CharGUID: %1").arg(guid));

    // The name the operator confirmed, or none: one taken since is refused, never replaced.
    const QString name = newName.isEmpty() ? freeRandomName(db) : newName;
    if (name.isEmpty() || CharacterQueries::charactersNamed(db, name) != 0)
        return fail(STORED_TEXT("错误: 角色名 %1 已被占用").arg(name), STORED_TEXT("角色名 %1 已被占用（确认之后被占用），未做任何修改").arg(name));
    if (copyRows(db, QStringLiteral("t_char"),
                 {{QStringLiteral("charguid"), guid}, {QStringLiteral("accname"), legacy(account)},
                  {QStringLiteral("charname"), legacy(name)}},
                 QStringLiteral("charguid = ?"), {source}, &error) != 1) {
        return fail(STORED_TEXT("错误: 复制t_char失败: %1").arg(error), STORED_TEXT("复制角色基础数据失败: %1").arg(error));
    }
    m_context.log(STORED_TEXT("t_char 复制成功"));

    for (int i = 0; i < copiedCharacterTables.size(); ++i) {
        const QString &table = copiedCharacterTables.at(i);
        m_context.progress(table, i + 1, progressSteps);
        if (cancelled())
            return fail(cancelText, cancelText);
        if (!present.contains(table)) {
            m_context.log(STORED_TEXT("警告: 表 %1 不存在，跳过").arg(table));
            continue;
        }
        const qint64 copied = copyRows(db, table, {{QStringLiteral("charguid"), guid}}, QStringLiteral("charguid = ?"),
                                       {source}, &error);
        if (copied < 0)
            return fail(STORED_TEXT("错误: 复制%1失败: %2").arg(table, error), STORED_TEXT("复制%1失败: %2").arg(table, error));
        if (copied > 0)
            m_context.log(STORED_COUNT("%1: 复制了 %Ln 条记录").count(copied).arg(table));
    }

    m_context.progress(QStringLiteral("t_iteminfo"), 20, progressSteps);
    if (cancelled())
        return fail(cancelText, cancelText);
    if (!present.contains(QStringLiteral("t_iteminfo"))) {
        m_context.log(STORED_TEXT("警告: 表 t_iteminfo 不存在，跳过"));
    } else {
        qint64 maxGuid = scalar(db, QStringLiteral("SELECT MAX(guid) FROM t_iteminfo"), {}, 0);
        m_context.log(STORED_TEXT("t_iteminfo 全局最大 guid: %1").arg(maxGuid));
        QList<qint64> rows;
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT aid FROM t_iteminfo WHERE charguid = ? ORDER BY aid"));
        query.addBindValue(source);
        if (!query.exec())
            return fail(STORED_TEXT("错误: 查询t_iteminfo失败: %1").arg(query.lastError().text()),
                        STORED_TEXT("查询t_iteminfo失败: %1").arg(query.lastError().text()));
        while (query.next())
            rows.append(query.value(0).toLongLong());
        m_context.log(STORED_TEXT("从源角色读取到 %1 条装备记录").arg(rows.size()));
        for (qint64 aid : std::as_const(rows)) {
            ++maxGuid;
            if (copyRows(db, QStringLiteral("t_iteminfo"), {{QStringLiteral("charguid"), guid}, {QStringLiteral("guid"), maxGuid}},
                         QStringLiteral("aid = ?"), {aid}, &error) != 1)
                return fail(STORED_TEXT("错误: 复制t_iteminfo失败: %1").arg(error), STORED_TEXT("复制t_iteminfo失败: %1").arg(error));
        }
        m_context.log(STORED_TEXT("t_iteminfo: 复制了 %1 条装备记录，新 guid 范围: %2-%3")
                            .arg(rows.size()).arg(maxGuid - rows.size() + 1).arg(maxGuid));
    }

    if (cancelled())
        return fail(cancelText, cancelText);
    if (!copyPets(db, source, guid, int(world), present, &error))
        return fail(STORED_TEXT("错误: %1").arg(error), error);
    if (cancelled())
        return fail(cancelText, cancelText);

    if (UndoFile *undo = transaction.undo()) {
        // The undo removes the copy again, once it has checked that the copy is still the
        // character it wrote; the counter goes back only while nobody was created since.
        if (undo->saveAdded(db, QStringLiteral("t_char"), QStringLiteral("charguid"),
                            QStringLiteral("charguid = ?"), {guid}, &error) < 0)
            return fail(STORED_TEXT("错误: %1").arg(error), error);
        for (const QString &table : addedTables().mid(1)) {
            if (present.contains(table))
                undo->addRemoval(table, QStringLiteral("charguid"), {guid},
                                 scalar(db, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE charguid = ?").arg(table), {guid}, 0));
        }
        if (!undo->addStatement(ledger.counterBack(int(world), guid, oldCounter), QStringLiteral("t_var"), 1, &error))
            return fail(STORED_TEXT("错误: %1").arg(error), error);
    }
    if (!transaction.commit(&error)) {
        m_context.log(STORED_TEXT("错误: %1").arg(error));
        *failure = error;
        return false;
    }
    m_undoPath = transaction.undoPath();
    if (!m_undoPath.isEmpty())
        m_context.log(STORED_TEXT("撤销文件: %1").arg(m_undoPath));
    m_context.progress(QString(), progressSteps, progressSteps);
    m_context.log(STORED_TEXT("========== 角色复制完成 =========="));
    m_context.log(STORED_TEXT("新CharGUID=%1, 新角色名=%2").arg(guid).arg(name));
    *newGuid = guid;
    *usedName = name;
    return true;
}

bool CharacterCopier::copyPets(QSqlDatabase &db, int source, int newGuid, int world, const QStringList &present, Message *error)
{
    m_context.log(STORED_TEXT("开始复制宠物数据..."));
    qint64 last = 0;
    for (const QString &table : {QStringLiteral("t_pet"), QStringLiteral("t_pet_bank")}) {
        if (present.contains(table))
            last = qMax(last, scalar(db, QStringLiteral("SELECT MAX(lpetguid) FROM %1").arg(table), {}, 0));
    }
    m_context.log(STORED_TEXT("宠物当前最大 lpetguid: %1").arg(last));

    // Reads the aid and the pet's id pair of each of the character's rows of a table.
    auto readRows = [&](const QString &table, QList<std::tuple<qint64, qint64, qint64>> *rows) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT aid, hpetguid, lpetguid FROM %1 WHERE charguid = ? ORDER BY aid").arg(table));
        query.addBindValue(source);
        if (!query.exec()) {
            *error = STORED_TEXT("查询%1失败: %2").arg(table, query.lastError().text());
            return false;
        }
        while (query.next())
            rows->append({query.value(0).toLongLong(), query.value(1).toLongLong(), query.value(2).toLongLong()});
        return true;
    };

    PetMap petIds;
    for (const QString &table : {QStringLiteral("t_pet"), QStringLiteral("t_pet_bank")}) {
        if (!present.contains(table)) {
            m_context.log(STORED_TEXT("警告: 表 %1 不存在，跳过").arg(table));
            continue;
        }
        QList<std::tuple<qint64, qint64, qint64>> rows;
        if (!readRows(table, &rows))
            return false;
        for (const auto &[aid, high, low] : std::as_const(rows)) {
            ++last;
            const QString name = randomName();
            petIds.insert({high, low}, {world, last});
            Message copyError;
            if (copyRows(db, table,
                         {{QStringLiteral("charguid"), newGuid}, {QStringLiteral("hpetguid"), world},
                          {QStringLiteral("lpetguid"), last}, {QStringLiteral("hspetguid"), world},
                          {QStringLiteral("lspetguid"), last}, {QStringLiteral("petname"), legacy(name)},
                          {QStringLiteral("petnick"), legacy(name)}},
                         QStringLiteral("aid = ?"), {aid}, &copyError) != 1) {
                *error = STORED_TEXT("复制%1失败: %2").arg(table, copyError);
                return false;
            }
        }
        if (!rows.isEmpty())
            m_context.log(STORED_TEXT("%1: 复制了 %2 只宠物").arg(table).arg(rows.size()));
    }

    const QString petItems = QStringLiteral("t_pet_iteminfo");
    if (!present.contains(petItems)) {
        m_context.log(STORED_TEXT("警告: 表 t_pet_iteminfo 不存在，跳过"));
    } else {
        qint64 maxGuid = scalar(db, QStringLiteral("SELECT MAX(guid) FROM t_pet_iteminfo"), {}, 0);
        m_context.log(STORED_TEXT("t_pet_iteminfo 最大 guid: %1").arg(maxGuid));
        QList<std::tuple<qint64, qint64, qint64>> rows;
        if (!readRows(petItems, &rows))
            return false;
        for (const auto &[aid, high, low] : std::as_const(rows)) {
            ++maxGuid;
            // An item of a pet that was not copied keeps its pet ids.
            const QPair<qint64, qint64> pet = petIds.value({high, low}, {high, low});
            Message copyError;
            if (copyRows(db, petItems,
                         {{QStringLiteral("charguid"), newGuid}, {QStringLiteral("hpetguid"), pet.first},
                          {QStringLiteral("lpetguid"), pet.second}, {QStringLiteral("guid"), maxGuid}},
                         QStringLiteral("aid = ?"), {aid}, &copyError) != 1) {
                *error = STORED_TEXT("复制t_pet_iteminfo失败: %1").arg(copyError);
                return false;
            }
        }
        if (!rows.isEmpty())
            m_context.log(STORED_TEXT("t_pet_iteminfo: 复制了 %1 条宠物装备记录").arg(rows.size()));
    }
    m_context.log(STORED_TEXT("宠物数据复制完成"));
    return true;
}
