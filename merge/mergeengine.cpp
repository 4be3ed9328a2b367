#include "mergeengine.h"

#include "app/atomicfile.h"
#include "app/debuglog.h"
#include "db/connectionrule.h"
#include "db/legacytext.h"
#include "engine/characterpurge.h"
#include "engine/charactertables.h"
#include "engine/charguidledger.h"
#include "engine/rowpreview.h"
#include "engine/undoabletransaction.h"
#include "mergebackup.h"
#include "mergesql.h"
#include "rowcopier.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

using namespace Sql;
using MergeSql::openEndpoint;

namespace {

const QString kTarget = QStringLiteral("async_main");
const QString kSubChar = QStringLiteral("async_sub_char");
const QString kSubWeb = QStringLiteral("async_sub_web");
const QString kSubReader = QStringLiteral("async_sub_reader");
const QString kOptions = QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=60;MYSQL_OPT_READ_TIMEOUT=1800;MYSQL_OPT_WRITE_TIMEOUT=1800");
const QString kGuidTable = QStringLiteral("tmp_merge_guids");
// The same ids again: MySQL cannot name one temporary table twice in a statement.
const QString kPartnerTable = QStringLiteral("tmp_merge_partners");
const int kMaxAttempts = 3;
const int kShownRecords = 20;

QString oneDecimal(double value)
{
    return QString::number(value, 'f', 1);
}

// Cuts a GBK title to 50 bytes without leaving half a character at the end.
QByteArray cutTitle(const QByteArray &title)
{
    if (title.size() <= 50)
        return title;
    QByteArray cut = title.left(50);
    const uchar last = uchar(cut.back());
    if (last >= 0x81 && last <= 0xFE)
        cut.chop(1);
    return cut;
}

// The part of an account name before its first "@" (one that is not the first character).
QByteArray accountHead(const QByteArray &name)
{
    const qsizetype at = name.indexOf('@');
    return at >= 1 ? name.left(at) : name;
}

QByteArray accountTail(const QByteArray &name)
{
    const qsizetype at = name.indexOf('@');
    return at >= 1 ? name.mid(at) : QByteArray();
}

struct SourceCharacter
{
    int guid = 0;
    QByteArray name;  // null when the name is NULL
    QByteArray account;
    qint64 created = 0;
};

struct Rename
{
    QString from;
    QString to;
};

class MergeRun
{
public:
    MergeRun(const MergeSettings &settings, const MergeLogFunction &log, const std::atomic_bool *cancel,
             MergeReport *report, const MergeProgressFunction &progress)
        : m_settings(settings), m_log(log), m_cancel(cancel), m_report(report ? report : &m_ownReport), m_progress(progress)
    {
    }

    bool run();
    bool preflight(MergePreflight *result);

private:
    void addLogLine(const QString &text) { if (m_log) m_log(text); }
    void stage(int number, const QString &text);
    bool cancelled() const { return m_cancel && m_cancel->load(); }
    bool stopped();
    bool abort();
    void closeAll();
    bool openWithRetry(QSqlDatabase &db, const QString &name, const MergeEndpoint &endpoint, const QString &database,
                       const QString &label);
    bool connectAll();

    // What the run will do, read on both servers; changes nothing but temporary tables.
    bool plan();
    void checkIdentity();
    bool readSource();
    bool lowLevel(QSqlDatabase &db, int world, QList<int> *ids);
    bool planColumns();
    bool planIds();
    bool planAccounts();
    bool planNames();
    static bool createGuidTables(QSqlDatabase &db, QString *error);
    bool fillGuidTable(QSqlDatabase &db, QString *error) const;
    void startReader();
    bool beginSourceSnapshot();
    bool countRows();
    bool countAlreadyMerged();
    void statistics();
    void conflictSurvey();
    QString excludedLowLevel() const;

    void cleanSource();
    bool writeTarget();
    bool writeUndo(QString *error);
    bool purgeLowLevel(QSqlDatabase &db, const QString &label, const QList<int> &ids);
    bool copyAccounts();
    bool copyCharacters();
    bool copyRelatedTables();
    std::unique_ptr<RowCopier> startTable(const QString &table);
    bool copyTable(const QString &table, int index, RowCopier *copier);
    void finish();
    QString writeRenameFile();

    MergeSettings m_settings;
    MergeLogFunction m_log;
    const std::atomic_bool *m_cancel;
    MergeReport m_ownReport;
    MergeReport *m_report;
    MergeProgressFunction m_progress;
    MergeProgress m_state;

    // The target server's character and account databases on one connection, for one transaction.
    QSqlDatabase m_target;
    QSqlDatabase m_subChar;
    QSqlDatabase m_subWeb;
    std::unique_ptr<SourceReader> m_reader;  // reads the character tables while the target writes
    QString m_targetWeb;  // the target account table, qualified
    QString m_sourceAccounts;  // the source's, read through the character connection's snapshot

    MergePreflight m_plan;
    QList<SourceCharacter> m_characters;  // merged, by charguid
    QList<int> m_lowMain;
    QList<int> m_lowSub;
    QList<int> m_renumbered;              // source ids that get a new id, in charguid order
    QMap<int, int> m_guidMap;
    int m_lastAllocated = 0;
    QSet<int> m_merged;
    QHash<int, QByteArray> m_newNames;           // source charguid -> its new name
    QHash<QByteArray, QByteArray> m_accountNames; // source account -> new name, renamed ones only
    QHash<QByteArray, QByteArray> m_accnames;     // a character's accname -> its renamed account
    QList<Rename> m_accountRecords;
    QList<Rename> m_characterRecords;
    QStringList m_characterConflicts;
    QStringList m_accountConflicts;
    CollationKeys m_nameKeys;
    CollationKeys m_accountKeys;
    QHash<QString, QPair<QList<Column>, QList<Column>>> m_columns;  // table -> target, source
    QStringList m_copyTables;  // related tables both servers have
    bool m_hasCreateTime = false;
    std::unique_ptr<CharacterPurge::IdTable> m_targetIds;  // outlives the transaction
    std::unique_ptr<UndoableTransaction> m_transaction;  // the target's, while it writes
    UndoFile *m_undo = nullptr;         // when the operator wants the file
    QList<QByteArray> m_insertedAccounts;  // the target names of the accounts copied
    QMap<QString, qint64> m_copiedRows;    // table -> rows copied into the target
    qint64 m_counterBefore = 0;
};

void MergeRun::stage(int number, const QString &text)
{
    m_state = MergeProgress();
    m_state.stage = number;
    m_state.text = text;
    if (m_progress)
        m_progress(m_state);
}

bool MergeRun::stopped()
{
    if (!cancelled())
        return false;
    addLogLine(QStringLiteral("合区已取消"));
    return true;
}

void MergeRun::closeAll()
{
    m_reader.reset();
    for (QSqlDatabase *db : {&m_target, &m_subChar, &m_subWeb}) {
        if (db->isOpen())
            db->close();
        *db = QSqlDatabase();
    }
    for (const QString &name : {kTarget, kSubChar, kSubWeb})
        removeNamedConnection(name);
}

bool MergeRun::abort()
{
    // An open transaction on the target ends with its connection: the server rolls it back.
    m_transaction.reset();
    m_targetIds.reset();
    closeAll();
    return false;
}

bool MergeRun::openWithRetry(QSqlDatabase &db, const QString &name, const MergeEndpoint &endpoint,
                             const QString &database, const QString &label)
{
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        db = QSqlDatabase();
        const ConnectionOutcome outcome = openEndpoint(name, endpoint, database, kOptions);
        db = QSqlDatabase::database(name, false);
        // TIMESTAMPs travel as seconds and are stored back in a zone without daylight saving,
        // whatever zones the servers run in.
        if (outcome.ok && !QSqlQuery(db).exec(QStringLiteral("SET time_zone = '+00:00'"))) {
            addLogLine(QStringLiteral("连接 %1 失败：无法设置时区").arg(label));
            return false;
        }
        if (outcome.ok) {
            if (attempt >= 2)
                addLogLine(QStringLiteral("连接 %1 成功（第%2次尝试）").arg(label).arg(attempt));
            if (outcome.viaOdbc)
                addLogLine(QStringLiteral("%1 通过 ODBC 驱动 [%2] 连接").arg(label, outcome.odbcDriver));
            return true;
        }
        addLogLine(QStringLiteral("连接 %1 失败（尝试 %2/%3）：%4").arg(label).arg(attempt).arg(kMaxAttempts).arg(outcome.failureReason()));
        if (attempt < kMaxAttempts) {
            addLogLine(QStringLiteral("2秒后重试..."));
            QThread::msleep(2000);
        }
    }
    return false;
}

bool MergeRun::connectAll()
{
    stage(1, QStringLiteral("连接数据库"));
    addLogLine(QStringLiteral("异步线程开始连接数据库..."));
    // The target's account database lives on the same server: one connection serves both, so
    // that one transaction holds everything the merge writes.
    if (!openWithRetry(m_target, kTarget, m_settings.main, m_settings.main.charDatabase, QStringLiteral("主区角色库"))
        || !openWithRetry(m_subChar, kSubChar, m_settings.sub, m_settings.sub.charDatabase, QStringLiteral("副区角色库"))
        || !openWithRetry(m_subWeb, kSubWeb, m_settings.sub, m_settings.sub.webDatabase, QStringLiteral("副区账号库")))
        return false;
    m_targetWeb = quoted(m_settings.main.webDatabase) + QStringLiteral(".account");
    m_sourceAccounts = quoted(m_settings.sub.webDatabase) + QStringLiteral(".account");
    addLogLine(QStringLiteral("异步线程数据库连接成功"));
    return true;
}

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
    if (main.isEmpty() || main != identity(m_subChar))
        return;
    if (m_settings.main.charDatabase.compare(m_settings.sub.charDatabase, Qt::CaseInsensitive) == 0)
        m_plan.refusals << QStringLiteral("主区和副区是同一个角色库 %1，不能把它合并到自身").arg(m_settings.main.charDatabase);
    if (m_settings.mergeWeb && m_settings.main.webDatabase.compare(m_settings.sub.webDatabase, Qt::CaseInsensitive) == 0)
        m_plan.refusals << QStringLiteral("主区和副区是同一个账号库 %1，不能把它合并到自身（不合并账号时可取消“合并web库”）")
                               .arg(m_settings.main.webDatabase);
}

QString MergeRun::excludedLowLevel() const
{
    if (!m_settings.cleanLowLevel)
        return QString();
    return QStringLiteral("zoneworldid = %1 AND isvalid = 1 AND level <= %2").arg(m_settings.mainWorldId).arg(m_settings.cleanLevel);
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
        addLogLine(QStringLiteral("查询低等级角色失败：%1").arg(query.lastError().text()));
        return false;
    }
    while (query.next())
        ids->append(query.value(0).toInt());
    return true;
}

bool MergeRun::readSource()
{
    QSqlError error;
    const QList<Column> columns = readColumns(m_subChar, QStringLiteral("t_char"), &error);
    m_hasCreateTime = findColumn(columns, QStringLiteral("createtime"))
        && findColumn(readColumns(m_target, QStringLiteral("t_char"), &error), QStringLiteral("createtime"));
    QSqlQuery query(m_subChar);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT charguid, CAST(charname AS BINARY), CAST(accname AS BINARY), %1, level, isvalid "
                                 "FROM t_char WHERE zoneworldid = ? ORDER BY charguid")
                      .arg(m_hasCreateTime ? QStringLiteral("createtime") : QStringLiteral("0")));
    query.addBindValue(m_settings.subWorldId);
    if (!query.exec()) {
        addLogLine(QStringLiteral("获取副区 charguid 失败：%1").arg(query.lastError().text()));
        return false;
    }
    while (query.next()) {
        if (query.value(5).toInt() != 1) {
            ++m_plan.invalidLeftBehind;
            continue;
        }
        const int guid = query.value(0).toInt();
        if (m_settings.cleanLowLevel && query.value(4).toInt() <= m_settings.cleanLevel) {
            m_lowSub.append(guid);
            continue;
        }
        m_characters.append({guid, query.value(1).isNull() ? QByteArray() : query.value(1).toByteArray(),
                             query.value(2).toByteArray(), query.value(3).toLongLong()});
    }
    m_plan.characters = int(m_characters.size());
    m_plan.lowLevelSub = int(m_lowSub.size());
    return true;
}

bool MergeRun::planColumns()
{
    auto describe = [this](QSqlDatabase &target, const QString &table, QSqlDatabase &source, const QString &database,
                           const QString &sourceDatabase) {
        QSqlError error;
        const QList<Column> targetColumns = readColumns(target, table, &error, database);
        const QList<Column> sourceColumns = readColumns(source, table, &error, sourceDatabase);
        m_columns.insert(table, {targetColumns, sourceColumns});
        if (targetColumns.isEmpty() || sourceColumns.isEmpty())
            return;
        QStringList missing;
        for (const Column &column : targetColumns) {
            if (column.needsValue() && column.lower != QLatin1String("aid") && !findColumn(sourceColumns, column.lower))
                missing.append(column.name);
        }
        if (!missing.isEmpty())
            m_plan.missingColumns.insert(table, missing);
    };
    describe(m_target, QStringLiteral("t_char"), m_subChar, QString(), QString());
    if (m_columns.value(QStringLiteral("t_char")).first.isEmpty() || m_columns.value(QStringLiteral("t_char")).second.isEmpty()) {
        addLogLine(QStringLiteral("无法获取 t_char 表结构"));
        return false;
    }
    if (m_settings.mergeWeb) {
        describe(m_target, QStringLiteral("account"), m_subChar, m_settings.main.webDatabase, m_settings.sub.webDatabase);
        if (m_columns.value(QStringLiteral("account")).first.isEmpty() || m_columns.value(QStringLiteral("account")).second.isEmpty()) {
            addLogLine(QStringLiteral("无法获取 account 表结构"));
            return false;
        }
    }
    for (const QString &table : mergeCharacterTables) {
        describe(m_target, table, m_subChar, QString(), QString());
        const auto &columns = m_columns.value(table);
        if (!columns.first.isEmpty() && !columns.second.isEmpty())
            m_copyTables.append(table);
    }
    for (auto it = m_plan.missingColumns.cbegin(); it != m_plan.missingColumns.cend(); ++it) {
        for (const QString &name : it.value()) {
            const Column *column = findColumn(m_columns.value(it.key()).first, name.toLower());
            if (!m_settings.fillMissingColumns || newRowValue(*column).isEmpty()) {
                m_plan.refusals << QStringLiteral("主区表 %1 的字段 %2 必须有值，但副区没有这些字段%3")
                                       .arg(it.key(), it.value().join(QStringLiteral(", ")),
                                            m_settings.fillMissingColumns ? QString() : QStringLiteral("（可选择用游戏为新角色写入的值填充）"));
                break;
            }
        }
    }
    return true;
}

bool MergeRun::planIds()
{
    CharGuidLedger ledger;
    QString error;
    if (!ledger.read(m_target, CharGuidLedger::kNoLock, &error)) {
        m_plan.refusals << error;
        return true;
    }
    if (!ledger.hasWorld(m_settings.mainWorldId)) {
        m_plan.refusals << QStringLiteral("主区 WorldID %1 在 t_var 中没有计数器（已有: %2）").arg(m_settings.mainWorldId).arg(ledger.worldList());
        return true;
    }
    // A character keeps its id only in another world, where the id is free and no world's
    // counter will reach it; every other one gets what the game would give the main world's
    // next character.
    QSet<int> taken;
    if (m_settings.mainWorldId != m_settings.subWorldId) {
        for (qsizetype i = 0; i < m_characters.size(); i += 1000) {
            const QList<SourceCharacter> chunk = m_characters.mid(i, 1000);
            QSqlQuery check(m_target);
            check.prepare(QStringLiteral("SELECT charguid FROM t_char WHERE charguid IN (%1)")
                              .arg(QStringList(chunk.size(), QStringLiteral("?")).join(QLatin1Char(','))));
            for (const SourceCharacter &character : chunk)
                check.addBindValue(character.guid);
            if (!check.exec()) {
                addLogLine(QStringLiteral("检测 charguid 冲突失败：%1").arg(check.lastError().text()));
                return false;
            }
            while (check.next())
                taken.insert(check.value(0).toInt());
        }
    }
    for (const SourceCharacter &character : std::as_const(m_characters)) {
        if (m_settings.mainWorldId == m_settings.subWorldId || taken.contains(character.guid) || ledger.isNextId(character.guid))
            m_renumbered.append(character.guid);
    }
    m_plan.renumbered = int(m_renumbered.size());
    QList<int> ids;
    if (!ledger.allocate(m_target, m_settings.mainWorldId, int(m_renumbered.size()), &ids, &error))
        m_plan.refusals << error;
    return true;
}

bool MergeRun::planAccounts()
{
    if (!m_settings.mergeWeb)
        return true;
    QString error;
    if (!m_accountKeys.describe(m_target, m_settings.main.webDatabase, QStringLiteral("account"), QStringLiteral("name"), &error)) {
        addLogLine(QStringLiteral("读取主区账号表失败：%1").arg(error));
        return false;
    }
    QSet<QByteArray> taken;
    if (!m_accountKeys.keysInColumn(m_target, &taken, &error)) {
        addLogLine(QStringLiteral("读取主区账号失败：%1").arg(error));
        return false;
    }
    QList<QByteArray> names;
    QSqlQuery source(m_subChar);
    source.setForwardOnly(true);
    if (!source.exec(QStringLiteral("SELECT CAST(name AS BINARY) FROM %1").arg(m_sourceAccounts))) {
        addLogLine(QStringLiteral("查询副区账号失败：") + source.lastError().text());
        return false;
    }
    while (source.next())
        names.append(source.value(0).toByteArray());
    QList<QByteArray> keys;
    if (!m_accountKeys.keysOf(m_target, names, &keys, &error)) {
        addLogLine(QStringLiteral("比较账号名失败：%1").arg(error));
        return false;
    }
    m_plan.accounts = int(names.size());
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
        m_accountConflicts.append(m_accountKeys.decode(name));
        bool shortened = false;
        const QByteArray newName = MergeNames::resolve(name, suffix, true, m_accountKeys.isLegacy(), m_accountKeys.maxLength(),
                                                       isTaken, &shortened);
        if (failed) {
            addLogLine(QStringLiteral("比较账号名失败：%1").arg(error));
            return false;
        }
        if (shortened) {
            ++m_report->namesShortened;
            addLogLine(QStringLiteral("账号名过长，已截短后改名：%1 -> %2").arg(m_accountKeys.decode(name), m_accountKeys.decode(newName)));
        }
        QByteArray newKey;
        m_accountKeys.keyOf(m_target, newName, &newKey, &error);  // asked just before, when resolve tried it
        taken.insert(newKey);
        m_accountNames.insert(name, newName);
        renamedByKey.insert(keys.at(i), newName);
        m_accountRecords.append({m_accountKeys.decode(name), m_accountKeys.decode(newName)});
    }
    m_plan.accountRenames = int(m_accountRecords.size());

    // A character follows its renamed account when its accname is that account to the name
    // column's collation: the comparison that found the clash.
    QSet<QByteArray> distinct;
    for (const SourceCharacter &character : std::as_const(m_characters))
        distinct.insert(character.account);
    const QList<QByteArray> accnames = distinct.values();
    QList<QByteArray> accnameKeys;
    if (!m_accountKeys.keysOf(m_target, accnames, &accnameKeys, &error)) {
        addLogLine(QStringLiteral("比较账号名失败：%1").arg(error));
        return false;
    }
    for (qsizetype i = 0; i < accnames.size(); ++i) {
        if (m_accountNames.contains(accnames.at(i)))
            m_accnames.insert(accnames.at(i), m_accountNames.value(accnames.at(i)));
        else if (renamedByKey.contains(accnameKeys.at(i)) && !names.contains(accnames.at(i)))
            m_accnames.insert(accnames.at(i), renamedByKey.value(accnameKeys.at(i)));
    }
    return true;
}

bool MergeRun::planNames()
{
    QString error;
    if (!m_nameKeys.describe(m_target, QString(), QStringLiteral("t_char"), QStringLiteral("charname"), &error)) {
        addLogLine(QStringLiteral("读取主区角色表失败：%1").arg(error));
        return false;
    }
    // The names of characters the clean-up deletes are free for the merged ones.
    QSet<QByteArray> taken;
    if (!m_nameKeys.keysInColumn(m_target, &taken, &error, excludedLowLevel())) {
        addLogLine(QStringLiteral("读取主区角色名失败：%1").arg(error));
        return false;
    }
    addLogLine(QStringLiteral("主区角色名总数（含UNIQUE索引）: %1").arg(taken.size()));
    QList<QByteArray> names;
    for (const SourceCharacter &character : std::as_const(m_characters))
        names.append(character.name.isNull() ? QByteArray("") : character.name);
    QList<QByteArray> keys;
    if (!m_nameKeys.keysOf(m_target, names, &keys, &error)) {
        addLogLine(QStringLiteral("比较角色名失败：%1").arg(error));
        return false;
    }
    const QByteArray suffix = m_nameKeys.encode(m_settings.charNameSuffix);
    bool failed = false;
    auto isTaken = [&](const QByteArray &candidate) {
        QByteArray key;
        failed = failed || !m_nameKeys.keyOf(m_target, candidate, &key, &error);
        return taken.contains(key);
    };
    for (qsizetype i = 0; i < m_characters.size(); ++i) {
        const SourceCharacter &character = m_characters.at(i);
        if (character.name.isNull())
            continue;
        if (!taken.contains(keys.at(i))) {
            taken.insert(keys.at(i));
            continue;
        }
        m_characterConflicts.append(m_nameKeys.decode(character.name));
        bool shortened = false;
        const QByteArray newName = MergeNames::resolve(character.name, suffix, false, m_nameKeys.isLegacy(),
                                                       m_nameKeys.maxLength(), isTaken, &shortened);
        if (failed) {
            addLogLine(QStringLiteral("比较角色名失败：%1").arg(error));
            return false;
        }
        if (shortened) {
            ++m_report->namesShortened;
            addLogLine(QStringLiteral("角色名过长，已截短后改名：%1 -> %2").arg(m_nameKeys.decode(character.name), m_nameKeys.decode(newName)));
        }
        QByteArray newKey;
        m_nameKeys.keyOf(m_target, newName, &newKey, &error);  // asked just before, when resolve tried it
        taken.insert(newKey);
        m_newNames.insert(character.guid, newName);
        m_characterRecords.append({m_nameKeys.decode(character.name), m_nameKeys.decode(newName)});
    }
    m_plan.characterRenames = int(m_characterRecords.size());
    return true;
}

bool MergeRun::createGuidTables(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    for (const QString &table : {kGuidTable, kPartnerTable}) {
        query.exec(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS %1").arg(table));
        if (!query.exec(QStringLiteral("CREATE TEMPORARY TABLE %1 (charguid INT PRIMARY KEY)").arg(table))) {
            *error = QStringLiteral("创建临时表失败：%1").arg(query.lastError().text());
            return false;
        }
    }
    return true;
}

bool MergeRun::fillGuidTable(QSqlDatabase &db, QString *error) const
{
    QSqlQuery query(db);
    for (qsizetype i = 0; i < m_characters.size(); i += 1000) {
        QStringList ids;
        for (const SourceCharacter &character : m_characters.mid(i, 1000))
            ids.append(QStringLiteral("(%1)").arg(character.guid));
        for (const QString &table : {kGuidTable, kPartnerTable}) {
            if (!query.exec(QStringLiteral("INSERT INTO %1 (charguid) VALUES %2").arg(table, ids.join(QStringLiteral(", "))))) {
                *error = QStringLiteral("写入临时表失败：%1").arg(query.lastError().text());
                return false;
            }
        }
    }
    return true;
}

bool MergeRun::beginSourceSnapshot()
{
    // Every read of the source sees one moment, though players may still be on it: the
    // character connection and the reader start their snapshots under a short global read lock.
    // The temporary tables exist before: no CREATE inside the snapshots' transactions.
    QString error;
    if (!createGuidTables(m_subChar, &error)) {
        addLogLine(error);
        return false;
    }
    startReader();
    QSqlQuery query(m_subChar);
    const bool locked = query.exec(QStringLiteral("SET SESSION lock_wait_timeout = 10")) && query.exec(QStringLiteral("FLUSH TABLES WITH READ LOCK"));
    if (!locked) {
        addLogLine(QStringLiteral("无法短暂锁定副区（%1）：改为在一个连接的一个快照中读取副区，不并行读取").arg(query.lastError().text()));
        m_reader.reset();
    }
    const QString snapshot = QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT");
    bool ok = query.exec(snapshot);
    if (!ok)
        error = query.lastError().text();
    if (ok && m_reader && !m_reader->call([&snapshot](QSqlDatabase &db) { return QSqlQuery(db).exec(snapshot); })) {
        addLogLine(QStringLiteral("副区读取连接无法开始快照，改为单连接读取"));
        m_reader.reset();
    }
    if (locked)
        query.exec(QStringLiteral("UNLOCK TABLES"));
    if (!ok)
        addLogLine(QStringLiteral("副区无法开始一致的读取：%1").arg(error));
    else if (locked)
        addLogLine(QStringLiteral("副区的所有读取都在同一时刻的快照中进行"));
    return ok;
}

void MergeRun::startReader()
{
    // A second connection to the source, so that reading and writing overlap. Without it the
    // copy reads through the first one: slower, the same rows.
    m_reader = std::make_unique<SourceReader>([this](QSqlDatabase &db, QString *error) {
        const ConnectionOutcome outcome = openEndpoint(kSubReader, m_settings.sub, m_settings.sub.charDatabase, kOptions);
        db = QSqlDatabase::database(kSubReader, false);
        if (!outcome.ok) {
            *error = outcome.failureReason();
            return false;
        }
        return QSqlQuery(db).exec(QStringLiteral("SET time_zone = '+00:00'")) && createGuidTables(db, error);
    });
    QString error;
    if (!m_reader->begin(&error)) {
        m_reader.reset();
        addLogLine(QStringLiteral("副区读取连接失败（%1），改为单连接读取").arg(error));
    }
}

bool MergeRun::countRows()
{
    m_plan.rows.insert(QStringLiteral("t_char"), m_characters.size());
    if (m_settings.mergeWeb)
        m_plan.rows.insert(QStringLiteral("account"), m_plan.accounts);
    for (const QString &table : mergeCharacterTables) {
        const QString join = QStringLiteral("FROM %1 r INNER JOIN %2 g ON r.charguid = g.charguid").arg(table, kGuidTable);
        QSqlQuery count(m_subChar);
        if (!count.exec(QStringLiteral("SELECT COUNT(*) ") + join) || !count.next()) {
            if (errorNumber(count.lastError()) == kErrorNoSuchTable)
                continue;  // nothing to copy
            addLogLine(QStringLiteral("统计副区表 %1 失败：%2").arg(table, count.lastError().text()));
            return false;
        }
        qint64 rows = count.value(0).toLongLong();
        if (table == QLatin1String("t_relation") && rows > 0) {
            // A partner outside the merge is a stranger, or nobody, in the target.
            if (!count.exec(QStringLiteral("SELECT COUNT(*) ") + join + QStringLiteral(" WHERE r.fguid NOT IN (SELECT charguid FROM %1)")
                                                                            .arg(kPartnerTable))
                || !count.next()) {
                addLogLine(QStringLiteral("统计副区表 %1 失败：%2").arg(table, count.lastError().text()));
                return false;
            }
            m_plan.relationsDropped = count.value(0).toInt();
            rows -= m_plan.relationsDropped;
        }
        if (m_copyTables.contains(table))
            m_plan.rows.insert(table, rows);
        else if (rows > 0)
            m_plan.tablesSkipped.append(table);
    }
    return true;
}

bool MergeRun::countAlreadyMerged()
{
    // A merged character arrives with its account, renamed or not, and its creation time.
    if (!m_hasCreateTime || m_characters.isEmpty())
        return true;
    QMultiHash<qint64, const SourceCharacter *> byTime;
    for (const SourceCharacter &character : std::as_const(m_characters))
        byTime.insert(character.created, &character);
    const QList<qint64> times = byTime.uniqueKeys();
    const QByteArray nameSuffix = m_nameKeys.encode(m_settings.charNameSuffix);
    const QByteArray accountSuffix = m_settings.mergeWeb ? m_accountKeys.encode(m_settings.accountNameSuffix)
                                                         : m_settings.accountNameSuffix.toUtf8();
    QSet<int> found;
    for (qsizetype start = 0; start < times.size(); start += 500) {
        const QList<qint64> slice = times.mid(start, 500);
        QSqlQuery query(m_target);
        query.setForwardOnly(true);
        query.prepare(QStringLiteral("SELECT createtime, CAST(charname AS BINARY), CAST(accname AS BINARY) FROM t_char WHERE createtime IN (%1)")
                          .arg(QStringList(slice.size(), QStringLiteral("?")).join(QLatin1Char(','))));
        for (qint64 time : slice)
            query.addBindValue(time);
        if (!query.exec()) {
            addLogLine(QStringLiteral("检查是否已合并失败：%1").arg(query.lastError().text()));
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
    m_plan.alreadyMerged = int(found.size());
    return true;
}

void MergeRun::statistics()
{
    addLogLine(QStringLiteral("========== 数据统计 =========="));
    auto count = [](QSqlDatabase &db, const QString &sql, int worldId = -1) -> qint64 {
        QSqlQuery query(db);
        query.prepare(sql);
        if (worldId >= 0)
            query.addBindValue(worldId);
        return query.exec() && query.next() ? query.value(0).toLongLong() : 0;
    };
    const QString tables = QStringLiteral("SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = DATABASE()");
    const QString characters = QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = ? AND isvalid = 1");
    const QString line = QStringLiteral("【%1】表数量: %2, 账号数量: %3, 角色数量: %4");
    addLogLine(line.arg(QStringLiteral("主区"))
                   .arg(count(m_target, tables))
                   .arg(count(m_target, QStringLiteral("SELECT COUNT(*) FROM ") + m_targetWeb))
                   .arg(count(m_target, characters, m_settings.mainWorldId)));
    addLogLine(line.arg(QStringLiteral("副区"))
                   .arg(count(m_subChar, tables))
                   .arg(count(m_subChar, QStringLiteral("SELECT COUNT(*) FROM ") + m_sourceAccounts))
                   .arg(count(m_subChar, characters, m_settings.subWorldId)));
}

void MergeRun::conflictSurvey()
{
    addLogLine(QStringLiteral("========== 冲突检测 =========="));
    addLogLine(QStringLiteral("【冲突统计】角色名冲突: %1 个, 账号名冲突: %2 个").arg(m_characterConflicts.size()).arg(m_accountConflicts.size()));
    auto list = [this](const QStringList &names, const QString &kind, const QString &suffix) {
        if (names.isEmpty())
            return;
        if (names.size() > kShownRecords)
            addLogLine(QStringLiteral("冲突%1名(前20个): %2 ...").arg(kind, names.mid(0, kShownRecords).join(QStringLiteral(", "))));
        else
            addLogLine(QStringLiteral("冲突%1名: ").arg(kind) + names.join(QStringLiteral(", ")));
        addLogLine(QStringLiteral("冲突%1将添加后缀: %2").arg(kind, suffix));
    };
    list(m_characterConflicts, QStringLiteral("角色"), m_settings.charNameSuffix);
    list(m_accountConflicts, QStringLiteral("账号"), m_settings.accountNameSuffix);
}

bool MergeRun::plan()
{
    stage(4, QStringLiteral("数据统计"));
    statistics();
    checkIdentity();
    if (m_settings.cleanLowLevel && (m_settings.cleanLevel < kMinCleanLevel || m_settings.cleanLevel > kMaxCleanLevel))
        m_plan.refusals << QStringLiteral("清理等级必须为%1-%2之间的数字").arg(kMinCleanLevel).arg(kMaxCleanLevel);
    if (!readSource() || !lowLevel(m_target, m_settings.mainWorldId, &m_lowMain))
        return false;
    m_plan.lowLevelMain = int(m_lowMain.size());
    stage(5, QStringLiteral("冲突检测"));
    if (!planColumns() || !planIds() || !planAccounts() || !planNames())
        return false;
    QString error;
    if (!fillGuidTable(m_subChar, &error)) {
        addLogLine(error);
        return false;
    }
    for (const SourceCharacter &character : std::as_const(m_characters))
        m_merged.insert(character.guid);
    if (!countRows() || !countAlreadyMerged())
        return false;
    conflictSurvey();
    if (m_settings.cleanLowLevel) {
        // Rows the merge inserts take no lock memory; the low-level deletions on either server do.
        const auto warn = [this](QSqlDatabase &db, int world, const QString &where) {
            const QString lowLevel = QStringLiteral("SELECT charguid FROM t_char WHERE level <= %1 AND isvalid = 1 AND zoneworldid = %2")
                                         .arg(m_settings.cleanLevel).arg(world);
            const QString warning = RowPreview::lockWarning(db, RowPreview::total(RowPreview::characterRows(db, lowLevel, true)), where);
            if (!warning.isEmpty())
                m_plan.lockWarnings << warning;
        };
        warn(m_target, m_settings.mainWorldId, QStringLiteral("主区"));
        warn(m_subChar, m_settings.subWorldId, QStringLiteral("副区"));
    }
    m_plan.liveGame = RowPreview::liveGameWarning(m_target, {m_settings.main.charDatabase},
                                                 m_settings.mergeWeb ? QStringList{m_settings.main.webDatabase} : QStringList());
    for (const QString &line : m_plan.lines())
        addLogLine(line);
    return true;
}

// ---- The run ----

bool MergeRun::purgeLowLevel(QSqlDatabase &db, const QString &label, const QList<int> &ids)
{
    if (ids.isEmpty()) {
        addLogLine(QStringLiteral("[%1] 未找到等级≤%2的角色").arg(label).arg(m_settings.cleanLevel));
        return true;
    }
    addLogLine(QStringLiteral("[%1] 找到 %2 个等级≤%3的角色，开始清理...").arg(label).arg(ids.size()).arg(m_settings.cleanLevel));
    CharacterPurge::Hooks hooks;
    hooks.done = [this](CharacterPurge::Step kind, const QString &table, qint64 rows, bool missing) {
        if (missing)
            addLogLine(QStringLiteral("  表 %1 不存在，跳过").arg(table));
        else if (kind == CharacterPurge::Step::Characters)
            addLogLine(QStringLiteral("  已删除 t_char: %1 条").arg(rows));
        else if (rows > 0)
            addLogLine(QStringLiteral("  已清理 %1: %2 条").arg(kind == CharacterPurge::Step::ReverseRelations ? QStringLiteral("t_relation (fguid)") : table)
                           .arg(rows));
    };
    hooks.cancelled = [this] { return cancelled(); };
    hooks.undo = m_undo;
    CharacterPurge::Outcome outcome;
    if (!CharacterPurge::deleteCharacters(db, ids, mergeCharacterTables, hooks, &outcome)) {
        if (!outcome.cancelled)
            addLogLine(QStringLiteral("[%1] 清理 %2 失败：%3").arg(label, outcome.failedTable, outcome.error));
        return false;
    }
    addLogLine(QStringLiteral("[%1] 低等级角色清理完成").arg(label));
    return true;
}

void MergeRun::cleanSource()
{
    if (!m_settings.cleanLowLevel)
        return;
    stage(3, QStringLiteral("清理低等级角色"));
    addLogLine(QStringLiteral("========== 清理副区低等级角色 =========="));
    addLogLine(QStringLiteral("清理等级 ≤ %1 的角色").arg(m_settings.cleanLevel));
    // After the target has committed: the characters are never merged, so the plan stands
    // either way, and a merge that fails leaves the source whole. Its own undo file.
    QString error;
    CharacterPurge::IdTable ids(m_subChar);
    if (!ids.create(&error)) {
        m_report->sourceCleanupFailure = error;
        return;
    }
    UndoableTransaction transaction(m_subChar);
    if (!transaction.begin(QStringLiteral("跨服合区 清理副区 %1:%2/%3 WorldID %4 等级≤%5的角色")
                               .arg(m_settings.sub.host).arg(m_settings.sub.port).arg(m_settings.sub.charDatabase)
                               .arg(m_settings.subWorldId).arg(m_settings.cleanLevel),
                           m_settings.writeUndo, &error)) {
        m_report->sourceCleanupFailure = error;
        return;
    }
    // Only characters that were low-level when the plan left them behind, and still are.
    QList<int> now;
    if (!lowLevel(m_subChar, m_settings.subWorldId, &now)) {
        m_report->sourceCleanupFailure = QStringLiteral("无法读取副区低等级角色");
        return;
    }
    const QSet<int> planned(m_lowSub.cbegin(), m_lowSub.cend());
    now.removeIf([&](int id) { return !planned.contains(id); });
    m_undo = transaction.undo();
    const bool purged = purgeLowLevel(m_subChar, QStringLiteral("副区"), now);
    m_undo = nullptr;
    if (!purged) {
        m_report->sourceCleanupFailure = QStringLiteral("清理失败，已回滚");
        return;
    }
    if (!transaction.commit(&error)) {
        m_report->sourceCleanupFailure = error;
        return;
    }
    m_report->sourceUndoFile = transaction.undoPath();
    if (!m_report->sourceUndoFile.isEmpty())
        addLogLine(QStringLiteral("副区撤销文件: %1").arg(m_report->sourceUndoFile));
}

bool MergeRun::copyAccounts()
{
    if (!m_settings.mergeWeb) {
        addLogLine(QStringLiteral("跳过web库合并（用户未勾选）"));
        return true;
    }
    stage(7, QStringLiteral("合并账号"));
    addLogLine(QStringLiteral("合并账号数据..."));
    const auto columns = m_columns.value(QStringLiteral("account"));
    RowCopier copier(m_subChar, m_target, m_targetWeb);
    copier.setColumns(columns.first, columns.second, m_settings.fillMissingColumns, {QStringLiteral("id")});
    copier.setFixed(QStringLiteral("is_online"), QStringLiteral("0"));
    const int name = copier.position(QStringLiteral("name"));
    qint64 copied = 0;
    QString error;
    const bool ok = copier.copy(QStringLiteral("SELECT %1 FROM %2 a").arg(copier.selectList(QStringLiteral("a")), m_sourceAccounts), {},
                                [&](QVariantList &row) {
                                    const auto renamed = m_accountNames.constFind(row.at(name).toByteArray());
                                    if (renamed != m_accountNames.cend())
                                        row[name] = renamed.value();
                                    m_insertedAccounts.append(row.at(name).toByteArray());
                                    return true;
                                },
                                [this] { return cancelled(); }, &copied, &error);
    if (!ok) {
        addLogLine(QStringLiteral("账号批量插入失败：%1").arg(error));
        return false;
    }
    m_report->accountsMerged = int(copied);
    m_copiedRows.insert(QStringLiteral("account"), copied);
    addLogLine(QStringLiteral("账号合并完成：成功 %1 个，冲突改名 %2 个").arg(copied).arg(m_accountRecords.size()));
    return true;
}

bool MergeRun::copyCharacters()
{
    stage(8, QStringLiteral("合并角色"));
    addLogLine(QStringLiteral("合并角色数据..."));
    const auto columns = m_columns.value(QStringLiteral("t_char"));
    RowCopier copier(m_subChar, m_target, QStringLiteral("t_char"));
    copier.setReader(m_reader.get());
    copier.setColumns(columns.first, columns.second, m_settings.fillMissingColumns, {QStringLiteral("aid")});
    addLogLine(QStringLiteral("获取到 t_char 表 %1 个字段").arg(columns.second.size()));
    const int guid = copier.position(QStringLiteral("charguid"));
    const int world = copier.position(QStringLiteral("zoneworldid"));
    const int name = copier.position(QStringLiteral("charname"));
    const int account = copier.position(QStringLiteral("accname"));
    const int title = copier.position(QStringLiteral("title"));
    qint64 copied = 0;
    QString error;
    const bool ok = copier.copy(
        QStringLiteral("SELECT %1 FROM t_char r INNER JOIN %2 g ON r.charguid = g.charguid ORDER BY r.charguid")
            .arg(copier.selectList(QStringLiteral("r")), kGuidTable),
        {},
        [&](QVariantList &row) {
            const int source = row.at(guid).toInt();
            row[guid] = m_guidMap.value(source, source);
            if (world >= 0)
                row[world] = m_settings.mainWorldId;
            if (name >= 0 && m_newNames.contains(source))
                row[name] = m_newNames.value(source);
            if (account >= 0 && m_accnames.contains(row.at(account).toByteArray()))
                row[account] = m_accnames.value(row.at(account).toByteArray());
            if (title >= 0 && !row.at(title).isNull())
                row[title] = cutTitle(row.at(title).toByteArray());
            return true;
        },
        [this] { return cancelled(); }, &copied, &error);
    if (!ok) {
        addLogLine(QStringLiteral("角色插入失败: %1").arg(error));
        return false;
    }
    m_report->charactersMerged = int(copied);
    m_copiedRows.insert(QStringLiteral("t_char"), copied);
    addLogLine(QStringLiteral("角色合并完成：成功 %1 个，角色名冲突 %2 个").arg(copied).arg(m_characterRecords.size()));
    return true;
}

std::unique_ptr<RowCopier> MergeRun::startTable(const QString &table)
{
    const auto columns = m_columns.value(table);
    auto copier = std::make_unique<RowCopier>(m_subChar, m_target, table);
    copier->setReader(m_reader.get());
    copier->setColumns(columns.first, columns.second, m_settings.fillMissingColumns, {QStringLiteral("aid")});
    const int guid = copier->position(QStringLiteral("charguid"));
    const bool relation = table == QLatin1String("t_relation");
    const int partner = relation ? copier->position(QStringLiteral("fguid")) : -1;
    const int partnerName = relation ? copier->position(QStringLiteral("fname")) : -1;
    const int world = worldColumnTables.contains(table) ? copier->position(QStringLiteral("world")) : -1;
    copier->start(
        QStringLiteral("SELECT %1 FROM %2 r INNER JOIN %3 g ON r.charguid = g.charguid").arg(copier->selectList(QStringLiteral("r")), table, kGuidTable),
        {},
        [this, guid, partner, partnerName, world](QVariantList &row) {
            const int owner = row.at(guid).toInt();
            row[guid] = m_guidMap.value(owner, owner);
            if (partner >= 0) {
                const int other = row.at(partner).toInt();
                if (!m_merged.contains(other))
                    return false;  // counted by the plan
                row[partner] = m_guidMap.value(other, other);
                // The friend list shows the partner under the name it has in the target.
                if (partnerName >= 0 && m_newNames.contains(other))
                    row[partnerName] = m_newNames.value(other);
            }
            if (world >= 0)
                row[world] = m_settings.mainWorldId;
            return true;
        },
        [this] { return cancelled(); });
    return copier;
}

bool MergeRun::copyTable(const QString &table, int index, RowCopier *copier)
{
    m_state.tableIndex = index;
    m_state.tableCount = int(mergeCharacterTables.size());
    m_state.rows = 0;
    m_state.text = table;
    if (m_progress)
        m_progress(m_state);
    addLogLine(QStringLiteral("合并表 %1...").arg(table));
    if (!copier) {
        if (m_plan.tablesSkipped.contains(table))
            addLogLine(QStringLiteral("警告：主区没有表 %1，副区的 %1 数据未拷贝").arg(table));
        else
            addLogLine(QStringLiteral("表 %1 不存在，跳过").arg(table));
        return true;
    }
    {
        QSqlQuery indexQuery(m_subChar);
        if (indexQuery.exec(QStringLiteral("SHOW INDEX FROM %1 WHERE Column_name = 'charguid'").arg(table)) && !indexQuery.next())
            addLogLine(QStringLiteral("提示：副区表 %1 缺少 charguid 索引，关联表拷贝可能很慢（建议为 charguid 建索引）").arg(table));
    }
    QElapsedTimer timer;
    timer.start();
    qint64 copied = 0;
    QString error;
    if (!copier->finish(&copied, &error)) {
        addLogLine(QStringLiteral("表 %1 合并失败：%2").arg(table, error));
        return false;
    }
    m_state.rows = copied;
    m_copiedRows.insert(table, copied);
    addLogLine(QStringLiteral("表 %1 合并完成：成功 %2，耗时 %3 秒").arg(table).arg(copied).arg(oneDecimal(timer.elapsed() / 1000.0)));
    return true;
}

bool MergeRun::copyRelatedTables()
{
    stage(9, QStringLiteral("合并关联表"));
    if (m_characters.isEmpty()) {
        addLogLine(QStringLiteral("未合并任何角色，跳过关联表合并。"));
        return true;
    }
    addLogLine(QStringLiteral("已筛选 %1 个合并的角色用于关联表拷贝").arg(m_characters.size()));
    // Every read is queued at once: the reader goes on to the next table while this one is written.
    std::vector<std::unique_ptr<RowCopier>> copiers;
    for (const QString &table : mergeCharacterTables)
        copiers.push_back(m_copyTables.contains(table) ? startTable(table) : nullptr);
    for (int i = 0; i < mergeCharacterTables.size(); ++i) {
        if (stopped() || !copyTable(mergeCharacterTables.at(i), i + 1, copiers.at(i).get())) {
            // The reader reads in order: stop every read before waiting for any.
            for (const auto &copier : copiers) {
                if (copier)
                    copier->stop();
            }
            return false;
        }
    }
    return true;
}

bool MergeRun::writeTarget()
{
    addLogLine(QStringLiteral("========== 开始合并数据 =========="));
    addLogLine(m_settings.mainWorldId == m_settings.subWorldId ? QStringLiteral("WorldID相同，准备重新分配charguid...")
                                                              : QStringLiteral("WorldID不同，检查charguid冲突..."));
    // Created before the transaction: servers that enforce GTID consistency refuse it inside one.
    m_targetIds = std::make_unique<CharacterPurge::IdTable>(m_target);
    QString undoError;
    if (m_settings.cleanLowLevel && !m_targetIds->create(&undoError)) {
        addLogLine(QStringLiteral("主区未做任何修改：无法建立临时表：%1").arg(undoError));
        return false;
    }
    m_transaction = std::make_unique<UndoableTransaction>(m_target);
    if (!m_transaction->begin(QStringLiteral("跨服合区 %1:%2/%3 WorldID %4 → WorldID %5")
                                  .arg(m_settings.sub.host).arg(m_settings.sub.port).arg(m_settings.sub.charDatabase)
                                  .arg(m_settings.subWorldId).arg(m_settings.mainWorldId),
                              m_settings.writeUndo, &undoError)) {
        addLogLine(QStringLiteral("主区未做任何修改：%1").arg(undoError));
        return false;
    }
    m_undo = m_transaction->undo();
    addLogLine(QStringLiteral("主区事务已开始：合区完成前主区不会有任何改动"));
    QSqlQuery(m_target).exec(QStringLiteral("SET FOREIGN_KEY_CHECKS = 0"));

    // The ids again, now with the counters locked: the game creates nobody until the commit.
    stage(6, QStringLiteral("分配 charguid"));
    CharGuidLedger ledger;
    QString error;
    QList<int> ids;
    if (!ledger.read(m_target, m_settings.mainWorldId, &error)
        || !ledger.allocate(m_target, m_settings.mainWorldId, int(m_renumbered.size()), &ids, &error)) {
        addLogLine(error);
        return false;
    }
    m_counterBefore = ledger.counter(m_settings.mainWorldId);
    addLogLine(QStringLiteral("主区 WorldID %1 的 maxcharguid: %2").arg(m_settings.mainWorldId).arg(m_counterBefore));
    addLogLine(QStringLiteral("副区待合并角色数: %1").arg(m_characters.size()));
    for (qsizetype k = 0; k < m_renumbered.size(); ++k)
        m_guidMap.insert(m_renumbered.at(k), ids.at(k));
    if (!ids.isEmpty()) {
        m_lastAllocated = ids.last();
        addLogLine(QStringLiteral("需要重新分配 %1 个 charguid，新范围: %2 - %3").arg(ids.size()).arg(ids.first()).arg(ids.last()));
    }

    if (m_settings.cleanLowLevel && !purgeLowLevel(m_target, QStringLiteral("主区"), m_lowMain))
        return false;
    if (stopped() || !copyAccounts())
        return false;
    if (m_reader && !m_reader->call([this](QSqlDatabase &db) {
            QString readerError;
            return fillGuidTable(db, &readerError);
        })) {
        addLogLine(QStringLiteral("副区读取连接出错，改为单连接读取"));
        m_reader.reset();
    }
    if (stopped() || !copyCharacters() || stopped() || !copyRelatedTables() || stopped())
        return false;
    m_reader.reset();

    stage(10, QStringLiteral("更新 t_var 与冲突记录"));
    // The counter ends on the last id handed out, as if the game had created the characters.
    if (m_lastAllocated > 0) {
        if (!ledger.setCounter(m_target, m_settings.mainWorldId, m_lastAllocated, &error)) {
            addLogLine(error);
            return false;
        }
        addLogLine(QStringLiteral("已更新 t_var.maxcharguid = %1").arg(m_lastAllocated));
    }
    QSqlQuery(m_target).exec(QStringLiteral("SET FOREIGN_KEY_CHECKS = 1"));
    if (stopped())
        return false;
    if (m_undo && !writeUndo(&undoError)) {
        addLogLine(QStringLiteral("撤销文件写入失败，主区已回滚：%1").arg(undoError));
        return false;
    }
    if (!m_transaction->commit(&undoError)) {
        addLogLine(QStringLiteral("主区：%1").arg(undoError));
        return false;
    }
    addLogLine(QStringLiteral("主区事务已提交"));
    m_report->undoFile = m_transaction->undoPath();
    m_transaction.reset();
    m_targetIds.reset();
    if (!m_report->undoFile.isEmpty())
        addLogLine(QStringLiteral("撤销文件: %1").arg(m_report->undoFile));
    return true;
}

bool MergeRun::writeUndo(QString *error)
{
    // What the merge added goes first, by the ids and names it was stored under, once the undo
    // has checked that they are still the characters and accounts the merge wrote, so that the
    // target's own deleted characters come back under the names merged ones took over; the
    // counter goes back only while the game has created nobody since.
    QList<qint64> ids;
    for (const SourceCharacter &character : std::as_const(m_characters))
        ids.append(m_guidMap.value(character.guid, character.guid));
    const int slice = 1000;
    for (qsizetype start = 0; start < ids.size(); start += slice) {
        QStringList list;
        for (qint64 id : ids.mid(start, slice))
            list.append(QString::number(id));
        if (m_undo->saveAdded(m_target, QStringLiteral("t_char"), QStringLiteral("charguid"), {QStringLiteral("charname"), QStringLiteral("accname")},
                              QStringLiteral("charguid IN (%1)").arg(list.join(QLatin1Char(','))), {}, error) < 0)
            return false;
    }
    for (const QString &table : mergeCharacterTables) {
        if (m_copiedRows.contains(table))
            m_undo->addRemoval(table, QStringLiteral("charguid"), ids, m_copiedRows.value(table));
    }
    const QByteArray introducer = m_accountKeys.charset().isEmpty() ? QByteArray() : '_' + m_accountKeys.charset().toLatin1() + ' ';
    for (qsizetype start = 0; start < m_insertedAccounts.size(); start += slice) {
        QStringList names;
        for (const QByteArray &name : m_insertedAccounts.mid(start, slice))
            names.append(QString::fromLatin1(introducer + "X'" + name.toHex() + '\''));
        if (m_undo->saveAdded(m_target, QStringLiteral("account"), QStringLiteral("name"), {QStringLiteral("id")},
                              QStringLiteral("name IN (%1)").arg(names.join(QLatin1Char(','))), {}, error, m_settings.main.webDatabase)
            < 0)
            return false;
    }
    return m_lastAllocated <= 0
        || m_undo->addStatement(QStringLiteral("UPDATE %1 SET maxcharguid = %2 WHERE worldid = %3 AND maxcharguid = %4")
                                    .arg(QStringLiteral("%1"), QString::number(m_counterBefore), QString::number(m_settings.mainWorldId),
                                         QString::number(m_lastAllocated)),
                                QStringLiteral("t_var"), 1, error);
}

QString MergeRun::writeRenameFile()
{
    const QString directory = applicationDirectory() + QStringLiteral("/Log");
    QDir().mkpath(directory);
    const QString path = directory + QStringLiteral("/merge_renames_%1.txt").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss")));
    QString text = QStringLiteral("副区 %1:%2/%3 WorldID %4 -> 主区 %5:%6/%7 WorldID %8\n")
                       .arg(m_settings.sub.host, QString::number(m_settings.sub.port), m_settings.sub.charDatabase,
                            QString::number(m_settings.subWorldId), m_settings.main.host, QString::number(m_settings.main.port),
                            m_settings.main.charDatabase, QString::number(m_settings.mainWorldId));
    auto section = [&text](const QString &title, const QList<Rename> &records) {
        text += QStringLiteral("\n%1（%2 个）\n").arg(title).arg(records.size());
        for (const Rename &record : records)
            text += QStringLiteral("%1 -> %2\n").arg(record.from, record.to);
    };
    section(QStringLiteral("账号改名"), m_accountRecords);
    section(QStringLiteral("角色改名"), m_characterRecords);
    AtomicFile file(path);
    if (!file.open() || !file.write(text.toUtf8()) || !file.commit()) {
        addLogLine(QStringLiteral("警告：改名记录文件写入失败：%1").arg(file.errorString()));
        return QString();
    }
    return path;
}

void MergeRun::finish()
{
    if (!m_accountRecords.isEmpty() || !m_characterRecords.isEmpty()) {
        addLogLine(QStringLiteral("========== 冲突处理记录 =========="));
        auto records = [this](const QList<Rename> &list, const QString &header) {
            if (list.isEmpty())
                return;
            addLogLine(header.arg(list.size()));
            for (int i = 0; i < list.size() && i < kShownRecords; ++i)
                addLogLine(QStringLiteral("  %1 -> %2").arg(list.at(i).from, list.at(i).to));
            if (list.size() > kShownRecords)
                addLogLine(QStringLiteral("  ... 还有 %1 个未显示").arg(list.size() - kShownRecords));
        };
        records(m_accountRecords, QStringLiteral("【账号改名】共 %1 个："));
        records(m_characterRecords, QStringLiteral("【角色改名】共 %1 个："));
        m_report->renameFile = writeRenameFile();
        if (!m_report->renameFile.isEmpty())
            addLogLine(QStringLiteral("全部改名记录: %1").arg(m_report->renameFile));
    }
    m_report->invalidLeftBehind = m_plan.invalidLeftBehind;
    m_report->relationsDropped = m_plan.relationsDropped;
    m_report->tablesSkipped = m_plan.tablesSkipped;
    if (m_plan.invalidLeftBehind > 0)
        addLogLine(QStringLiteral("无效角色（isvalid ≠ 1）未合并: %1 个").arg(m_plan.invalidLeftBehind));
    if (m_plan.relationsDropped > 0)
        addLogLine(QStringLiteral("对方角色未合并而未拷贝的关系: %1 条").arg(m_plan.relationsDropped));
    if (m_report->namesShortened > 0)
        addLogLine(QStringLiteral("为放入字段而截短的名字: %1 个").arg(m_report->namesShortened));
    if (m_report->hasLosses()) {
        addLogLine(QStringLiteral("========== 未完整合并 =========="));
        for (const QString &line : m_report->lossLines())
            addLogLine(line);
    }
}

bool MergeRun::run()
{
    *m_report = MergeReport();
    if (!connectAll() || !beginSourceSnapshot())
        return abort();
    if (!plan() || stopped())
        return abort();
    if (!m_plan.refusals.isEmpty()) {
        for (const QString &refusal : std::as_const(m_plan.refusals))
            addLogLine(QStringLiteral("拒绝合区：%1").arg(refusal));
        return abort();
    }
    if (m_plan.alreadyMerged > 0 && !m_settings.again) {
        addLogLine(QStringLiteral("拒绝合区：主区已有 %1 个副区角色（账号与创建时间相同），这次合区似乎已经做过").arg(m_plan.alreadyMerged));
        return abort();
    }
    if (m_settings.backupFirst) {
        stage(2, QStringLiteral("备份主区数据库"));
        if (stopped() || !backupMergeTarget(m_settings, m_log))
            return abort();
    }
    if (stopped() || !writeTarget())
        return abort();
    cleanSource();
    finish();
    stage(11, QStringLiteral("完成"));
    closeAll();
    return true;
}

bool MergeRun::preflight(MergePreflight *result)
{
    QString error;
    const bool ok = connectAll() && createGuidTables(m_subChar, &error) && plan();
    *result = m_plan;
    closeAll();
    return ok;
}

} // namespace

QStringList MergePreflight::lines() const
{
    QStringList lines;
    if (!liveGame.isEmpty())
        lines << liveGame;
    lines << lockWarnings;
    lines << QStringLiteral("将合并 %1 个角色，其中 %2 个获得新的角色ID").arg(characters).arg(renumbered);
    if (invalidLeftBehind > 0)
        lines << QStringLiteral("无效角色（isvalid ≠ 1）不合并，留在副区: %1 个").arg(invalidLeftBehind);
    if (lowLevelMain > 0 || lowLevelSub > 0)
        lines << QStringLiteral("先删除低等级角色: 主区 %1 个，副区 %2 个").arg(lowLevelMain).arg(lowLevelSub);
    lines << QStringLiteral("账号: %1 个，其中 %2 个重名将改名；角色名冲突: %3 个").arg(accounts).arg(accountRenames).arg(characterRenames);
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        lines << QStringLiteral("  %1: %2 条记录").arg(it.key()).arg(it.value());
    if (relationsDropped > 0)
        lines << QStringLiteral("对方角色不在合并范围内的关系不拷贝: %1 条").arg(relationsDropped);
    if (!tablesSkipped.isEmpty())
        lines << QStringLiteral("主区没有的表，副区数据不拷贝: %1").arg(tablesSkipped.join(QStringLiteral(", ")));
    for (auto it = missingColumns.cbegin(); it != missingColumns.cend(); ++it)
        lines << QStringLiteral("副区缺少主区必填的字段 %1: %2").arg(it.key(), it.value().join(QStringLiteral(", ")));
    if (alreadyMerged > 0)
        lines << QStringLiteral("注意: 主区已有 %1 个副区角色（账号与创建时间相同），这次合区似乎已经做过").arg(alreadyMerged);
    for (const QString &refusal : refusals)
        lines << QStringLiteral("无法合区: %1").arg(refusal);
    return lines;
}

QStringList MergeReport::lossLines() const
{
    QStringList lines;
    if (!tablesSkipped.isEmpty())
        lines << QStringLiteral("主区没有、因而未拷贝的表: %1 个 (%2)").arg(tablesSkipped.size()).arg(tablesSkipped.join(QStringLiteral(", ")));
    if (!sourceCleanupFailure.isEmpty())
        lines << QStringLiteral("合区已提交，但副区的低等级角色没有删除（副区未改动）: %1").arg(sourceCleanupFailure);
    return lines;
}

bool runMerge(const MergeSettings &settings, const MergeLogFunction &log, const std::atomic_bool *cancel,
              MergeReport *report, const MergeProgressFunction &progress)
{
    MergeRun run(settings, log, cancel, report, progress);
    return run.run();
}

bool preflightMerge(const MergeSettings &settings, const MergeLogFunction &log, MergePreflight *preflight)
{
    MergeRun run(settings, log, nullptr, nullptr, {});
    return run.preflight(preflight);
}
