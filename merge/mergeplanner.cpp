#include "mergerun.h"
#include "base/storedtext.h"

#include <QScopeGuard>
#include <QSemaphore>

using namespace Sql;
using MergeSql::openEndpoint;

namespace MergeRunning {

// ---- The plan ----

void MergeRun::checkIdentity()
{
    // The same server answers with the same host name, port and data folder through any address.
    auto identity = [](QSqlDatabase &db) {
        QSqlQuery query(db);
        return query.exec(QStringLiteral("SELECT CONCAT(@@hostname, ':', @@port, ':', @@datadir)")) && query.next()
            ? query.value(0).toString() : QString();
    };
    const QString main = identity(m_target);
    if (main.isEmpty() || main != identity(m_sourceChar))
        return;
    if (m_settings.target.charDatabase.compare(m_settings.source.charDatabase, Qt::CaseInsensitive) == 0)
        m_plan.preflight.refusals << STORED_TEXT("主区和副区是同一个角色库 %1，不能把它合并到自身").arg(m_settings.target.charDatabase);
    if (m_settings.mergeWeb && m_settings.target.accountDatabase.compare(m_settings.source.accountDatabase, Qt::CaseInsensitive) == 0)
        m_plan.preflight.refusals << STORED_TEXT("主区和副区是同一个账号库 %1，不能把它合并到自身（不合并账号时可取消“合并web库”）")
                               .arg(m_settings.target.accountDatabase);
}

QString MergeRun::excludedLowLevel() const
{
    if (!m_settings.cleanLowLevel)
        return QString();
    return QStringLiteral("zoneworldid = %1 AND isvalid = 1 AND level <= %2").arg(m_settings.targetWorldId).arg(m_settings.cleanLevel);
}

bool MergeRun::lowLevel(QSqlDatabase &db, int world, QList<int> *ids)
{
    ids->clear();
    if (!m_settings.cleanLowLevel)
        return true;
    // The one comparison of every count and every deletion: this level and below.
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT charguid FROM t_char WHERE level <= ? AND isvalid = 1 AND zoneworldid = ? ORDER BY charguid"));
    query.addBindValue(m_settings.cleanLevel);
    query.addBindValue(world);
    if (!query.exec()) {
        addLogLine(STORED_TEXT("查询低等级角色失败：%1").arg(query.lastError().text()));
        return false;
    }
    while (query.next())
        ids->append(query.value(0).toInt());
    return true;
}

bool MergeRun::readSource()
{
    QSqlError error;
    const QList<Column> columns = readColumns(m_sourceChar, QStringLiteral("t_char"), &error);
    m_plan.hasCreateTime = findColumn(columns, QStringLiteral("createtime"))
        && findColumn(readColumns(m_target, QStringLiteral("t_char"), &error), QStringLiteral("createtime"));
    QSqlQuery query(m_sourceChar);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT charguid, CAST(charname AS BINARY), CAST(accname AS BINARY), %1, level, isvalid "
                                 "FROM t_char WHERE zoneworldid = ? ORDER BY charguid")
                      .arg(m_plan.hasCreateTime ? QStringLiteral("createtime") : QStringLiteral("0")));
    query.addBindValue(m_settings.sourceWorldId);
    if (!query.exec()) {
        addLogLine(STORED_TEXT("获取副区 charguid 失败：%1").arg(query.lastError().text()));
        return false;
    }
    while (query.next()) {
        if (query.value(5).toInt() != 1) {
            ++m_plan.preflight.invalidLeftBehind;
            continue;
        }
        const int guid = query.value(0).toInt();
        if (m_settings.cleanLowLevel && query.value(4).toInt() <= m_settings.cleanLevel) {
            m_plan.lowSub.append(guid);
            continue;
        }
        m_plan.characters.append({guid, query.value(1).isNull() ? QByteArray() : query.value(1).toByteArray(),
                             query.value(2).toByteArray(), query.value(3).toLongLong()});
    }
    m_plan.preflight.characters = int(m_plan.characters.size());
    m_plan.preflight.lowLevelSource = int(m_plan.lowSub.size());
    return true;
}

bool MergeRun::planColumns()
{
    auto describe = [this](QSqlDatabase &target, const QString &table, QSqlDatabase &source, const QString &database,
                           const QString &sourceDatabase) {
        QSqlError error;
        const QList<Column> targetColumns = readColumns(target, table, &error, database);
        const QList<Column> sourceColumns = readColumns(source, table, &error, sourceDatabase);
        m_plan.columns.insert(table, {targetColumns, sourceColumns});
        if (targetColumns.isEmpty() || sourceColumns.isEmpty())
            return;
        QStringList missing;
        for (const Column &column : targetColumns) {
            if (column.needsValue() && column.lower != QLatin1String("aid") && !findColumn(sourceColumns, column.lower))
                missing.append(column.name);
        }
        if (!missing.isEmpty())
            m_plan.preflight.missingColumns.insert(table, missing);
    };
    describe(m_target, QStringLiteral("t_char"), m_sourceChar, QString(), QString());
    if (m_plan.columns.value(QStringLiteral("t_char")).first.isEmpty() || m_plan.columns.value(QStringLiteral("t_char")).second.isEmpty()) {
        addLogLine(STORED_TEXT("无法获取 t_char 表结构"));
        return false;
    }
    if (m_settings.mergeWeb) {
        describe(m_target, QStringLiteral("account"), m_sourceChar, m_settings.target.accountDatabase, m_settings.source.accountDatabase);
        if (m_plan.columns.value(QStringLiteral("account")).first.isEmpty() || m_plan.columns.value(QStringLiteral("account")).second.isEmpty()) {
            addLogLine(STORED_TEXT("无法获取 account 表结构"));
            return false;
        }
    }
    for (const QString &table : mergeCharacterTables) {
        describe(m_target, table, m_sourceChar, QString(), QString());
        const auto &columns = m_plan.columns.value(table);
        if (!columns.first.isEmpty() && !columns.second.isEmpty())
            m_plan.copyTables.append(table);
    }
    for (auto it = m_plan.preflight.missingColumns.cbegin(); it != m_plan.preflight.missingColumns.cend(); ++it) {
        for (const QString &name : it.value()) {
            const Column *column = findColumn(m_plan.columns.value(it.key()).first, name.toLower());
            if (!m_settings.fillMissingColumns || newRowValue(*column).isEmpty()) {
                m_plan.preflight.refusals << STORED_TEXT("主区表 %1 的字段 %2 必须有值，但副区没有这些字段%3")
                                       .arg(it.key(), it.value().join(QStringLiteral(", ")),
                                            m_settings.fillMissingColumns ? Message() : STORED_TEXT("（可选择用游戏为新角色写入的值填充）"));
                break;
            }
        }
    }
    return true;
}

bool MergeRun::planIds()
{
    CharGuidLedger ledger;
    Message error;
    if (!ledger.read(m_target, CharGuidLedger::kNoLock, &error)) {
        m_plan.preflight.refusals << error;
        return true;
    }
    if (!ledger.hasWorld(m_settings.targetWorldId)) {
        m_plan.preflight.refusals << STORED_TEXT("主区 WorldID %1 在 t_var 中没有计数器（已有: %2）").arg(m_settings.targetWorldId).arg(ledger.worldList());
        return true;
    }
    // A character keeps its id only in another world, where the id is free and no world's
    // counter will reach it; every other one gets what the game would give the main world's
    // next character.
    QSet<int> taken;
    if (m_settings.targetWorldId != m_settings.sourceWorldId) {
        // The ids are numbers the program read as numbers: written out, 10,000 to a statement.
        for (qsizetype i = 0; i < m_plan.characters.size(); i += 10000) {
            QStringList chunk;
            for (const SourceCharacter &character : m_plan.characters.mid(i, 10000))
                chunk.append(QString::number(character.guid));
            QSqlQuery check(m_target);
            check.setForwardOnly(true);
            if (!check.exec(QStringLiteral("SELECT charguid FROM t_char WHERE charguid IN (%1)").arg(chunk.join(QLatin1Char(','))))) {
                addLogLine(STORED_TEXT("检测 charguid 冲突失败：%1").arg(check.lastError().text()));
                return false;
            }
            while (check.next())
                taken.insert(check.value(0).toInt());
        }
    }
    for (const SourceCharacter &character : std::as_const(m_plan.characters)) {
        if (m_settings.targetWorldId == m_settings.sourceWorldId || taken.contains(character.guid) || ledger.isNextId(character.guid))
            m_plan.renumbered.append(character.guid);
    }
    m_plan.preflight.renumbered = int(m_plan.renumbered.size());
    if (!ledger.allocate(m_target, m_settings.targetWorldId, int(m_plan.renumbered.size()), &m_plan.newIds, &error))
        m_plan.preflight.refusals << error;
    return true;
}

bool MergeRun::planAccounts()
{
    if (!m_settings.mergeWeb)
        return true;
    Message error;
    if (!m_accountKeys.describe(m_target, m_settings.target.accountDatabase, QStringLiteral("account"), QStringLiteral("name"), &error)) {
        addLogLine(STORED_TEXT("读取主区账号表失败：%1").arg(error));
        return false;
    }
    QSet<QByteArray> taken;
    if (!m_accountKeys.keysInColumn(m_target, &taken, &error)) {
        addLogLine(STORED_TEXT("读取主区账号失败：%1").arg(error));
        return false;
    }
    QList<QByteArray> names;
    QSqlQuery source(m_sourceChar);
    source.setForwardOnly(true);
    if (!source.exec(QStringLiteral("SELECT CAST(name AS BINARY) FROM %1").arg(m_sourceAccounts))) {
        addLogLine(STORED_TEXT("查询副区账号失败：") + source.lastError().text());
        return false;
    }
    while (source.next())
        names.append(source.value(0).toByteArray());
    QList<QByteArray> keys;
    if (!m_accountKeys.keysOf(m_target, names, &keys, &error)) {
        addLogLine(STORED_TEXT("比较账号名失败：%1").arg(error));
        return false;
    }
    m_plan.preflight.accounts = int(names.size());
    // Compared as the target's name column compares: "Bob" and "bob" clash on a
    // case-insensitive column. Names chosen here are taken for the accounts that follow.
    const QByteArray suffix = m_accountKeys.encode(m_settings.accountNameSuffix);
    QHash<QByteArray, QByteArray> renamedByKey;
    bool failed = false;
    auto isTaken = [&](const QByteArray &candidate) {
        QByteArray key;
        failed = failed || !m_accountKeys.keyOf(m_target, candidate, &key, &error);
        return taken.contains(key);
    };
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QByteArray &name = names.at(i);
        if (!taken.contains(keys.at(i))) {
            taken.insert(keys.at(i));
            continue;
        }
        m_plan.accountConflicts.append(m_accountKeys.decode(name));
        bool shortened = false;
        const QByteArray newName = MergeNames::resolve(name, suffix, true, m_accountKeys.isLegacy(), m_accountKeys.maxLength(),
                                                       isTaken, &shortened);
        if (failed) {
            addLogLine(STORED_TEXT("比较账号名失败：%1").arg(error));
            return false;
        }
        if (shortened) {
            ++m_report->namesShortened;
            addLogLine(STORED_TEXT("账号名过长，已截短后改名：%1 -> %2").arg(m_accountKeys.decode(name), m_accountKeys.decode(newName)));
        }
        QByteArray newKey;
        m_accountKeys.keyOf(m_target, newName, &newKey, &error);  // asked just before, when resolve tried it
        taken.insert(newKey);
        m_plan.accountNames.insert(name, newName);
        renamedByKey.insert(keys.at(i), newName);
        m_plan.accountRecords.append({m_accountKeys.decode(name), m_accountKeys.decode(newName)});
    }
    m_plan.preflight.accountRenames = int(m_plan.accountRecords.size());

    // A character follows its renamed account when its accname is that account to the name
    // column's collation: the comparison that found the clash.
    QSet<QByteArray> distinct;
    for (const SourceCharacter &character : std::as_const(m_plan.characters))
        distinct.insert(character.account);
    const QList<QByteArray> accnames = distinct.values();
    QList<QByteArray> accnameKeys;
    if (!m_accountKeys.keysOf(m_target, accnames, &accnameKeys, &error)) {
        addLogLine(STORED_TEXT("比较账号名失败：%1").arg(error));
        return false;
    }
    for (qsizetype i = 0; i < accnames.size(); ++i) {
        if (m_plan.accountNames.contains(accnames.at(i)))
            m_plan.accnames.insert(accnames.at(i), m_plan.accountNames.value(accnames.at(i)));
        else if (renamedByKey.contains(accnameKeys.at(i)) && !names.contains(accnames.at(i)))
            m_plan.accnames.insert(accnames.at(i), renamedByKey.value(accnameKeys.at(i)));
    }
    return true;
}

bool MergeRun::planNames()
{
    Message error;
    if (!m_nameKeys.describe(m_target, QString(), QStringLiteral("t_char"), QStringLiteral("charname"), &error)) {
        addLogLine(STORED_TEXT("读取主区角色表失败：%1").arg(error));
        return false;
    }
    // The names of characters the clean-up deletes are free for the merged ones.
    QSet<QByteArray> taken;
    if (!m_nameKeys.keysInColumn(m_target, &taken, &error, excludedLowLevel())) {
        addLogLine(STORED_TEXT("读取主区角色名失败：%1").arg(error));
        return false;
    }
    addLogLine(STORED_TEXT("主区角色名总数（含UNIQUE索引）: %1").arg(taken.size()));
    QList<QByteArray> names;
    for (const SourceCharacter &character : std::as_const(m_plan.characters))
        names.append(character.name.isNull() ? QByteArray("") : character.name);
    QList<QByteArray> keys;
    if (!m_nameKeys.keysOf(m_target, names, &keys, &error)) {
        addLogLine(STORED_TEXT("比较角色名失败：%1").arg(error));
        return false;
    }
    const QByteArray suffix = m_nameKeys.encode(m_settings.charNameSuffix);
    bool failed = false;
    auto isTaken = [&](const QByteArray &candidate) {
        QByteArray key;
        failed = failed || !m_nameKeys.keyOf(m_target, candidate, &key, &error);
        return taken.contains(key);
    };
    for (qsizetype i = 0; i < m_plan.characters.size(); ++i) {
        const SourceCharacter &character = m_plan.characters.at(i);
        if (character.name.isNull())
            continue;
        if (!taken.contains(keys.at(i))) {
            taken.insert(keys.at(i));
            continue;
        }
        m_plan.characterConflicts.append(m_nameKeys.decode(character.name));
        bool shortened = false;
        const QByteArray newName = MergeNames::resolve(character.name, suffix, false, m_nameKeys.isLegacy(),
                                                       m_nameKeys.maxLength(), isTaken, &shortened);
        if (failed) {
            addLogLine(STORED_TEXT("比较角色名失败：%1").arg(error));
            return false;
        }
        if (shortened) {
            ++m_report->namesShortened;
            addLogLine(STORED_TEXT("角色名过长，已截短后改名：%1 -> %2").arg(m_nameKeys.decode(character.name), m_nameKeys.decode(newName)));
        }
        QByteArray newKey;
        m_nameKeys.keyOf(m_target, newName, &newKey, &error);  // asked just before, when resolve tried it
        taken.insert(newKey);
        m_plan.newNames.insert(character.guid, newName);
        m_plan.characterRecords.append({m_nameKeys.decode(character.name), m_nameKeys.decode(newName)});
    }
    m_plan.preflight.characterRenames = int(m_plan.characterRecords.size());
    return true;
}

bool MergeRun::createGuidTables(QSqlDatabase &db, Message *error)
{
    QSqlQuery query(db);
    for (const QString &table : {kGuidTable, kPartnerTable}) {
        query.exec(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS %1").arg(table));
        if (!query.exec(QStringLiteral("CREATE TEMPORARY TABLE %1 (charguid INT PRIMARY KEY)").arg(table))) {
            *error = STORED_TEXT("创建临时表失败：%1").arg(query.lastError().text());
            return false;
        }
    }
    return true;
}

bool MergeRun::fillGuidTable(QSqlDatabase &db, Message *error) const
{
    QSqlQuery query(db);
    for (qsizetype i = 0; i < m_plan.characters.size(); i += 10000) {
        QStringList ids;
        for (const SourceCharacter &character : m_plan.characters.mid(i, 10000))
            ids.append(QStringLiteral("(%1)").arg(character.guid));
        if (!query.exec(QStringLiteral("INSERT INTO %1 (charguid) VALUES %2").arg(kGuidTable, ids.join(QLatin1Char(','))))) {
            *error = STORED_TEXT("写入临时表失败：%1").arg(query.lastError().text());
            return false;
        }
    }
    if (!query.exec(QStringLiteral("INSERT INTO %1 (charguid) SELECT charguid FROM %2").arg(kPartnerTable, kGuidTable))) {
        *error = STORED_TEXT("写入临时表失败：%1").arg(query.lastError().text());
        return false;
    }
    return true;
}

bool MergeRun::countSourceRows(QSqlDatabase &source, SourceRows *counted, Message *error)
{
    for (const QString &table : mergeCharacterTables) {
        const QString join = QStringLiteral("FROM %1 r INNER JOIN %2 g ON r.charguid = g.charguid").arg(table, kGuidTable);
        QSqlQuery count(source);
        if (!count.exec(QStringLiteral("SELECT COUNT(*) ") + join) || !count.next()) {
            if (errorNumber(count.lastError()) == kErrorNoSuchTable)
                continue;  // nothing to copy
            *error = STORED_TEXT("统计副区表 %1 失败：%2").arg(table, count.lastError().text());
            return false;
        }
        qint64 rows = count.value(0).toLongLong();
        if (table == QLatin1String("t_relation") && rows > 0) {
            // A partner outside the merge is a stranger, or nobody, in the target.
            if (!count.exec(QStringLiteral("SELECT COUNT(*) ") + join + QStringLiteral(" WHERE r.fguid NOT IN (SELECT charguid FROM %1)")
                                                                            .arg(kPartnerTable))
                || !count.next()) {
                *error = STORED_TEXT("统计副区表 %1 失败：%2").arg(table, count.lastError().text());
                return false;
            }
            counted->relationsDropped = count.value(0).toInt();
            rows -= counted->relationsDropped;
        }
        counted->rows.insert(table, rows);
    }
    return true;
}

void MergeRun::takeRowCounts(const SourceRows &counted)
{
    m_plan.preflight.rows.insert(QStringLiteral("t_char"), m_plan.characters.size());
    if (m_settings.mergeWeb)
        m_plan.preflight.rows.insert(QStringLiteral("account"), m_plan.preflight.accounts);
    m_plan.preflight.relationsDropped = counted.relationsDropped;
    for (auto it = counted.rows.cbegin(); it != counted.rows.cend(); ++it) {
        if (m_plan.copyTables.contains(it.key()))
            m_plan.preflight.rows.insert(it.key(), it.value());
        else if (it.value() > 0)
            m_plan.preflight.tablesSkipped.append(it.key());
    }
}

bool MergeRun::countAlreadyMerged()
{
    // A merged character arrives with its account, renamed or not, and its creation time.
    if (!m_plan.hasCreateTime || m_plan.characters.isEmpty())
        return true;
    QMultiHash<qint64, const SourceCharacter *> byTime;
    for (const SourceCharacter &character : std::as_const(m_plan.characters))
        byTime.insert(character.created, &character);
    const QList<qint64> times = byTime.uniqueKeys();
    const QByteArray nameSuffix = m_nameKeys.encode(m_settings.charNameSuffix);
    const QByteArray accountSuffix = m_settings.mergeWeb ? m_accountKeys.encode(m_settings.accountNameSuffix)
                                                         : m_settings.accountNameSuffix.toUtf8();
    QSet<int> found;
    // Without an index on createtime each statement reads the whole table: the times go in as
    // few statements as the packet allows (numbers the program writes, nothing of the data).
    for (qsizetype start = 0; start < times.size(); start += 40000) {
        QStringList slice;
        for (qint64 time : times.mid(start, 40000))
            slice.append(QString::number(time));
        QSqlQuery query(m_target);
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT createtime, CAST(charname AS BINARY), CAST(accname AS BINARY) FROM t_char WHERE createtime IN (%1)")
                            .arg(slice.join(QLatin1Char(','))))) {
            addLogLine(STORED_TEXT("检查是否已合并失败：%1").arg(query.lastError().text()));
            return false;
        }
        while (query.next()) {
            const QByteArray name = query.value(1).toByteArray();
            const QByteArray account = query.value(2).toByteArray();
            for (const SourceCharacter *character : byTime.values(query.value(0).toLongLong())) {
                const bool sameName = !character->name.isNull()
                    && (name == character->name || name.startsWith(character->name + nameSuffix));
                const bool sameAccount = account == character->account
                    || (accountTail(account) == accountTail(character->account)
                        && accountHead(account).startsWith(accountHead(character->account) + accountSuffix));
                if (sameName && sameAccount)
                    found.insert(character->guid);
            }
        }
    }
    m_plan.preflight.alreadyMerged = int(found.size());
    return true;
}

void MergeRun::statistics()
{
    addLogLine(STORED_TEXT("========== 数据统计 =========="));
    auto count = [](QSqlDatabase &db, const QString &sql, int worldId = -1) -> qint64 {
        QSqlQuery query(db);
        query.prepare(sql);
        if (worldId >= 0)
            query.addBindValue(worldId);
        return query.exec() && query.next() ? query.value(0).toLongLong() : 0;
    };
    const QString tables = QStringLiteral("SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = DATABASE()");
    const QString characters = QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = ? AND isvalid = 1");
    const Message line = STORED_TEXT("【%1】表数量: %2, 账号数量: %3, 角色数量: %4");
    addLogLine(line.arg(STORED_TEXT("主区"))
                   .arg(count(m_target, tables))
                   .arg(count(m_target, QStringLiteral("SELECT COUNT(*) FROM ") + m_targetWeb))
                   .arg(count(m_target, characters, m_settings.targetWorldId)));
    addLogLine(line.arg(STORED_TEXT("副区"))
                   .arg(count(m_sourceChar, tables))
                   .arg(count(m_sourceChar, QStringLiteral("SELECT COUNT(*) FROM ") + m_sourceAccounts))
                   .arg(count(m_sourceChar, characters, m_settings.sourceWorldId)));
}

void MergeRun::conflictSurvey()
{
    addLogLine(STORED_TEXT("========== 冲突检测 =========="));
    addLogLine(STORED_TEXT("【冲突统计】角色名冲突: %1 个, 账号名冲突: %2 个").arg(m_plan.characterConflicts.size()).arg(m_plan.accountConflicts.size()));
    auto list = [this](const QStringList &names, const Message &kind, const QString &suffix) {
        if (names.isEmpty())
            return;
        if (names.size() > kShownRecords)
            addLogLine(STORED_TEXT("冲突%1名(前20个): %2 ...").arg(kind, names.mid(0, kShownRecords).join(QStringLiteral(", "))));
        else
            addLogLine(STORED_TEXT("冲突%1名: ").arg(kind) + names.join(QStringLiteral(", ")));
        addLogLine(STORED_TEXT("冲突%1将添加后缀: %2").arg(kind, suffix));
    };
    list(m_plan.characterConflicts, STORED_TEXT("角色"), m_settings.charNameSuffix);
    list(m_plan.accountConflicts, STORED_TEXT("账号"), m_settings.accountNameSuffix);
}

bool MergeRun::makePlan()
{
    stage(4, STORED_TEXT("数据统计"));
    statistics();
    checkIdentity();
    if (m_settings.cleanLowLevel && !isCleanLevel(m_settings.cleanLevel))
        m_plan.preflight.refusals << cleanLevelRefusal();
    if (!readSource() || !lowLevel(m_target, m_settings.targetWorldId, &m_plan.lowMain))
        return false;
    m_plan.preflight.lowLevelTarget = int(m_plan.lowMain.size());
    stage(5, STORED_TEXT("冲突检测"));
    if (!planColumns())
        return false;
    // The reader counts the source's rows while this thread plans on the target. The job reads
    // the plan's characters: it ends before this function does, whatever happens here.
    struct Pending
    {
        SourceRows rows;
        Message error;
        bool ok = false;
        QSemaphore done;
    };
    auto pending = std::make_shared<Pending>();
    bool waiting = false;
    if (m_reader) {
        waiting = true;
        m_reader->post([this, pending](QSqlDatabase &db) {
            pending->ok = fillGuidTable(db, &pending->error) && countSourceRows(db, &pending->rows, &pending->error);
            pending->done.release();
        });
    }
    const auto joinReader = qScopeGuard([&waiting, pending] {
        if (waiting)
            pending->done.acquire();
    });
    if (!planIds() || !planAccounts() || !planNames())
        return false;
    m_plan.accountCharset = m_accountKeys.charset();
    Message error;
    if (!fillGuidTable(m_sourceChar, &error)) {
        addLogLine(error);
        return false;
    }
    for (const SourceCharacter &character : std::as_const(m_plan.characters))
        m_plan.merged.insert(character.guid);
    if (!countAlreadyMerged())
        return false;
    if (waiting) {
        pending->done.acquire();
        waiting = false;
        m_readerHasIds = pending->ok;
        if (!pending->ok) {
            addLogLine(STORED_TEXT("副区读取连接出错（%1），改为单连接读取").arg(pending->error));
            m_reader.reset();
        }
    }
    SourceRows counted;
    if (m_readerHasIds) {
        counted = pending->rows;
    } else if (!countSourceRows(m_sourceChar, &counted, &error)) {
        addLogLine(error);
        return false;
    }
    takeRowCounts(counted);
    conflictSurvey();
    if (m_settings.cleanLowLevel) {
        // Rows the merge inserts take no lock memory; the low-level deletions on either server do.
        const auto warn = [this](QSqlDatabase &db, int world, const Message &where) {
            const QString lowLevel = QStringLiteral("SELECT charguid FROM t_char WHERE level <= %1 AND isvalid = 1 AND zoneworldid = %2")
                                         .arg(m_settings.cleanLevel).arg(world);
            const Message warning = RowPreview::lockWarning(db, RowPreview::total(RowPreview::characterRows(db, lowLevel, true)), where);
            if (!warning.isEmpty())
                m_plan.preflight.lockWarnings << warning;
        };
        warn(m_target, m_settings.targetWorldId, STORED_TEXT("主区"));
        warn(m_sourceChar, m_settings.sourceWorldId, STORED_TEXT("副区"));
    }
    m_plan.preflight.liveGame = RowPreview::liveGameWarning(m_target, {m_settings.target.charDatabase},
                                                 m_settings.mergeWeb ? QStringList{m_settings.target.accountDatabase} : QStringList());
    m_plan.preflight.plan = fingerprint();
    for (const Message &line : m_plan.preflight.lines())
        addLogLine(line);
    return true;
}

QByteArray MergeRun::fingerprint() const
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const auto add = [&hash](const QByteArray &part) {
        hash.addData(QByteArray::number(part.size()) + ':' + part);
    };
    for (const SourceCharacter &character : m_plan.characters) {
        add(QByteArray::number(character.guid));
        add(character.name);
        add(character.account);
        add(m_plan.newNames.value(character.guid));
    }
    for (const QList<int> &ids : {m_plan.renumbered, m_plan.newIds, m_plan.lowMain, m_plan.lowSub}) {
        add("ids");
        for (int id : ids)
            add(QByteArray::number(id));
    }
    QList<QByteArray> accounts = m_plan.accountNames.keys();
    std::sort(accounts.begin(), accounts.end());
    for (const QByteArray &account : std::as_const(accounts)) {
        add(account);
        add(m_plan.accountNames.value(account));
    }
    add(QByteArray::number(m_plan.preflight.accounts));
    for (auto it = m_plan.preflight.rows.cbegin(); it != m_plan.preflight.rows.cend(); ++it) {
        add(it.key().toUtf8());
        add(QByteArray::number(it.value()));
    }
    return hash.result().toHex();
}

bool MergeRun::isConfirmedPlan()
{
    const QByteArray &confirmed = m_settings.confirmedPlan;
    if (confirmed.isEmpty() || m_plan.preflight.plan.startsWith(confirmed.toLower()))
        return true;
    addLogLine(STORED_TEXT("拒绝合区：服务器在确认之后有了变化，这次合区不再是确认的那个计划（确认的计划 %1，现在 %2），未做任何修改。请重新预览后再确认。")
                   .arg(QString::fromLatin1(confirmed.left(16)), QString::fromLatin1(m_plan.preflight.plan.left(16))));
    const MergePreflight &was = m_settings.confirmed;
    const MergePreflight &now = m_plan.preflight;
    const auto compare = [this](const Message &what, qint64 before, qint64 after) {
        if (before != after)
            addLogLine(STORED_TEXT("  %1: 确认时 %2，现在 %3").arg(what, QString::number(before), QString::number(after)));
    };
    if (!was.plan.isEmpty()) {
        compare(STORED_TEXT("合并的角色"), was.characters, now.characters);
        compare(STORED_TEXT("换新ID的角色"), was.renumbered, now.renumbered);
        compare(STORED_TEXT("改名的角色"), was.characterRenames, now.characterRenames);
        compare(STORED_TEXT("合并的账号"), was.accounts, now.accounts);
        compare(STORED_TEXT("改名的账号"), was.accountRenames, now.accountRenames);
        compare(STORED_TEXT("主区先清理的角色"), was.lowLevelTarget, now.lowLevelTarget);
        compare(STORED_TEXT("副区先清理的角色"), was.lowLevelSource, now.lowLevelSource);
        for (auto it = now.rows.cbegin(); it != now.rows.cend(); ++it)
            compare(it.key(), was.rows.value(it.key()), it.value());
    }
    addLogLine(STORED_TEXT("  （数目相同时，变的是角色或账号的名字，或主区 WorldID %1 的角色ID计数器：游戏在这期间创建了角色）").arg(m_settings.targetWorldId));
    return false;
}

} // namespace MergeRunning
