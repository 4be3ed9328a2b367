#include "mergeengine.h"

#include "app/debuglog.h"
#include "db/connectionrule.h"
#include "db/legacytext.h"
#include "engine/charactertables.h"
#include "engine/charguidledger.h"
#include "engine/clientoptionfile.h"
#include "mergesql.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <QSqlRecord>
#include <QTemporaryFile>
#include <QThread>

using namespace MergeSql;

namespace {

const QString kMainChar = QStringLiteral("async_main_char");
const QString kMainWeb = QStringLiteral("async_main_web");
const QString kSubChar = QStringLiteral("async_sub_char");
const QString kSubWeb = QStringLiteral("async_sub_web");
const QString kOptions = QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=60;MYSQL_OPT_READ_TIMEOUT=1800;MYSQL_OPT_WRITE_TIMEOUT=1800");
const QString kGuidTable = QStringLiteral("tmp_merge_guids");
const int kMaxAttempts = 3;
const int kAccountBatch = 200;
const int kCharacterCommitEvery = 100;
const int kRowBatch = 500;
const int kRowCommitEvery = 2000;
const int kMaxPlaceholders = 65535;  // the server's limit per prepared statement

// The placeholder of a value read from `source` and written into `target`. Bytes of one
// character set are relabelled, so that the server converts them into the other.
QString placeholder(const Column *source, const Column &target)
{
    static const QRegularExpression plainName(QStringLiteral("^[a-z0-9_]+$"));
    if (source && !source->integer && !source->charset.isEmpty() && !target.charset.isEmpty()
        && source->charset != target.charset && plainName.match(source->charset).hasMatch())
        return QStringLiteral("CONVERT(? USING %1)").arg(source->charset);
    return QStringLiteral("?");
}

QString decodeName(const QByteArray &bytes, const QString &charset)
{
    return isLegacyCharset(charset) ? decodeGbk(bytes) : QString::fromUtf8(bytes);
}

QByteArray encodeName(const QString &text, const QString &charset)
{
    return isLegacyCharset(charset) ? encodeGbk(text) : text.toUtf8();
}

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

// The first column of every row, as bytes: names are compared as stored.
QSet<QByteArray> byteSet(QSqlDatabase &db, const QString &sql, int boundValue = -1)
{
    QSet<QByteArray> values;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(sql);
    if (boundValue >= 0)
        query.addBindValue(boundValue);
    if (query.exec()) {
        while (query.next())
            values.insert(query.value(0).toByteArray());
    }
    return values;
}

QString joinedNames(const QStringList &names)
{
    return names.join(QStringLiteral(", "));
}

} // namespace

namespace MergeNames {

namespace {
// Lengths of the characters of `bytes`, in order.
QList<int> characterSizes(const QByteArray &bytes, bool legacy)
{
    QList<int> sizes;
    for (int i = 0; i < bytes.size();) {
        const uchar c = uchar(bytes.at(i));
        int size = 1;
        if (legacy) {
            if (c >= 0x81 && c <= 0xFE && i + 1 < bytes.size())
                size = 2;
        } else if (c >= 0xF0) {
            size = 4;
        } else if (c >= 0xE0) {
            size = 3;
        } else if (c >= 0xC0) {
            size = 2;
        }
        size = qMin(size, int(bytes.size()) - i);
        sizes.append(size);
        i += size;
    }
    return sizes;
}

int characterCount(const QByteArray &bytes, bool legacy)
{
    return legacy ? int(bytes.size()) : int(characterSizes(bytes, false).size());
}

int findAt(const QByteArray &name, bool legacy)
{
    int position = 0;
    for (int size : characterSizes(name, legacy)) {
        if (size == 1 && name.at(position) == '@')
            return position;
        position += size;
    }
    return -1;
}

// `head` shortened at a character boundary so that head + extra holds at most maxLength.
QByteArray fitted(const QByteArray &head, const QByteArray &extra, bool legacy, int maxLength, bool *shortened)
{
    if (maxLength <= 0 || characterCount(head + extra, legacy) <= maxLength)
        return head + extra;
    const int room = maxLength - characterCount(extra, legacy);
    QByteArray kept;
    int count = 0;
    int position = 0;
    for (int size : characterSizes(head, legacy)) {
        const int weight = legacy ? size : 1;
        if (count + weight > room)
            break;
        kept += head.mid(position, size);
        count += weight;
        position += size;
    }
    if (shortened)
        *shortened = true;
    return kept + extra;
}
} // namespace

QByteArray resolve(const QByteArray &name, const QByteArray &suffix, bool atRule, bool legacy,
                   int maxLength, const std::function<bool(const QByteArray &)> &taken, bool *shortened)
{
    if (shortened)
        *shortened = false;
    const int at = atRule ? findAt(name, legacy) : -1;
    const QByteArray head = at >= 1 ? name.left(at) : name;
    const QByteArray tail = at >= 1 ? name.mid(at) : QByteArray();
    bool cut = false;
    QByteArray candidate = fitted(head, suffix + tail, legacy, maxLength, &cut);
    for (int n = 1; taken(candidate); ++n) {
        cut = false;
        candidate = fitted(head, suffix + '_' + QByteArray::number(n) + tail, legacy, maxLength, &cut);
    }
    if (shortened)
        *shortened = cut;
    return candidate;
}

} // namespace MergeNames

QStringList MergeReport::lossLines() const
{
    QStringList lines;
    if (charactersFailed > 0)
        lines << QStringLiteral("角色插入失败: %1 个").arg(charactersFailed);
    for (auto it = rowsFailed.cbegin(); it != rowsFailed.cend(); ++it)
        lines << QStringLiteral("表 %1 插入失败: %2 条").arg(it.key()).arg(it.value());
    if (!tablesSkipped.isEmpty())
        lines << QStringLiteral("未拷贝的表: %1 个 (%2)").arg(tablesSkipped.size()).arg(tablesSkipped.join(QStringLiteral(", ")));
    if (counterFailed)
        lines << QStringLiteral("t_var.maxcharguid 未能更新");
    return lines;
}

namespace {

class MergeRun
{
public:
    MergeRun(const MergeSettings &settings, const MergeLogFunction &log, const std::atomic_bool *cancel,
             MergeReport *report, const MergeProgressFunction &progress)
        : m_settings(settings), m_log(log), m_cancel(cancel), m_report(report), m_progress(progress)
    {
    }

    bool run();

private:
    void addLogLine(const QString &text) { if (m_log) m_log(text); }
    void stage(int number, const QString &text);
    bool cancelled();
    bool abort();
    void closeAll();

    bool openWithRetry(QSqlDatabase &db, const QString &name, const MergeEndpoint &endpoint,
                       const QString &database, const QString &label);
    bool backupTarget();
    bool dumpMergeDatabase(const MergeEndpoint &endpoint, const QString &database, const QString &file);
    void cleanLowLevel();
    void purgeLowLevel(QSqlDatabase &db, const QString &label, int worldId);
    void statistics();
    void conflictSurvey();
    bool allocateCharguids();
    bool mergeAccounts();
    bool mergeCharacters();
    bool mergeRelatedTables();
    bool copyTable(const QString &table, int index);
    void flushRows(QSqlQuery &insert, qsizetype &preparedRows, QList<QVariantList> &batch, const QString &table, const QStringList &columns,
                   const QString &rowPlaceholder, int &succeeded, int &failed);
    void finish();

    bool commit(QSqlDatabase &db, const QString &failureText);

    MergeSettings m_settings;
    MergeLogFunction m_log;
    const std::atomic_bool *m_cancel;
    MergeReport *m_report;
    MergeReport m_ownReport;
    MergeProgressFunction m_progress;
    MergeProgress m_state;
    QString m_dumpProgram;

    QSqlDatabase m_mainChar;
    QSqlDatabase m_mainWeb;
    QSqlDatabase m_subChar;
    QSqlDatabase m_subWeb;

    QList<int> m_sourceGuids;
    QMap<int, int> m_guidMap;
    int m_lastAllocated = 0;  // the last id handed out through the main world's counter
    QHash<QByteArray, QByteArray> m_accountRenames;
    QList<std::pair<QString, QString>> m_accountRenameRecords;
    QList<std::pair<QString, QString>> m_characterRenameRecords;
    QSet<int> m_merged;
};

void MergeRun::stage(int number, const QString &text)
{
    m_state = MergeProgress();
    m_state.stage = number;
    m_state.text = text;
    if (m_progress)
        m_progress(m_state);
}

bool MergeRun::cancelled()
{
    if (!m_cancel || !m_cancel->load())
        return false;
    addLogLine(QStringLiteral("合区已取消"));
    return true;
}

void MergeRun::closeAll()
{
    for (QSqlDatabase *db : {&m_mainChar, &m_mainWeb, &m_subChar, &m_subWeb}) {
        if (db->isOpen())
            db->close();
        *db = QSqlDatabase();
    }
    for (const QString &name : {kMainChar, kMainWeb, kSubChar, kSubWeb})
        removeNamedConnection(name);
}

bool MergeRun::abort()
{
    closeAll();
    return false;
}

bool MergeRun::commit(QSqlDatabase &db, const QString &failureText)
{
    if (db.commit())
        return true;
    addLogLine(failureText.arg(db.lastError().text()));
    db.rollback();
    return false;
}

bool MergeRun::run()
{
    if (!m_report)
        m_report = &m_ownReport;
    *m_report = MergeReport();

    stage(1, QStringLiteral("连接数据库"));
    addLogLine(QStringLiteral("异步线程开始连接数据库..."));
    if (!openWithRetry(m_mainChar, kMainChar, m_settings.main, m_settings.main.charDatabase, QStringLiteral("主区角色库"))
        || !openWithRetry(m_mainWeb, kMainWeb, m_settings.main, m_settings.main.webDatabase, QStringLiteral("主区账号库"))
        || !openWithRetry(m_subChar, kSubChar, m_settings.sub, m_settings.sub.charDatabase, QStringLiteral("副区角色库"))
        || !openWithRetry(m_subWeb, kSubWeb, m_settings.sub, m_settings.sub.webDatabase, QStringLiteral("副区账号库")))
        return abort();
    addLogLine(QStringLiteral("异步线程数据库连接成功"));

    if (m_settings.backupFirst) {
        stage(2, QStringLiteral("备份主区数据库"));
        if (cancelled() || !backupTarget())
            return abort();
    }
    if (m_settings.cleanLowLevel) {
        stage(3, QStringLiteral("清理低等级角色"));
        if (cancelled())
            return abort();
        cleanLowLevel();
    }
    stage(4, QStringLiteral("数据统计"));
    statistics();
    stage(5, QStringLiteral("冲突检测"));
    conflictSurvey();

    stage(6, QStringLiteral("分配 charguid"));
    if (cancelled() || !allocateCharguids())
        return abort();
    if (m_settings.mergeWeb) {
        stage(7, QStringLiteral("合并账号"));
        if (cancelled())
            return abort();
    }
    if (!mergeAccounts())
        return abort();
    stage(8, QStringLiteral("合并角色"));
    if (cancelled() || !mergeCharacters())
        return abort();
    stage(9, QStringLiteral("合并关联表"));
    if (!mergeRelatedTables())
        return abort();
    stage(10, QStringLiteral("更新 t_var 与冲突记录"));
    finish();

    stage(11, QStringLiteral("完成"));
    closeAll();
    return true;
}

bool MergeRun::openWithRetry(QSqlDatabase &db, const QString &name, const MergeEndpoint &endpoint,
                             const QString &database, const QString &label)
{
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        db = QSqlDatabase();
        removeNamedConnection(name);
        db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        db.setHostName(endpoint.host);
        db.setPort(endpoint.port);
        db.setUserName(endpoint.username);
        db.setPassword(endpoint.password);
        db.setDatabaseName(database);
        db.setConnectOptions(kOptions);
        if (db.open()) {
            if (attempt >= 2)
                addLogLine(QStringLiteral("连接 %1 成功（第%2次尝试）").arg(label).arg(attempt));
            return true;
        }
        addLogLine(QStringLiteral("连接 %1 失败（尝试 %2/%3）：%4").arg(label).arg(attempt).arg(kMaxAttempts).arg(db.lastError().text()));
        if (attempt < kMaxAttempts) {
            addLogLine(QStringLiteral("2秒后重试..."));
            QThread::msleep(2000);
        }
    }
    return false;
}

bool MergeRun::backupTarget()
{
    addLogLine(QStringLiteral("========== 备份主区数据库 =========="));
    const QString directory = applicationDirectory() + QStringLiteral("/backups");
    if (!QDir().mkpath(directory)) {
        addLogLine(QStringLiteral("创建备份目录失败：") + directory);
        return false;
    }
    m_dumpProgram = m_settings.dumpProgram;
    if (m_dumpProgram.isEmpty()) {
        const QString beside = applicationDirectory() + QStringLiteral("/mysqldump");
        if (QFileInfo::exists(beside + QStringLiteral(".exe")))
            m_dumpProgram = beside + QStringLiteral(".exe");
        else if (QFileInfo::exists(beside))
            m_dumpProgram = beside;
        else
            m_dumpProgram = QStringLiteral("mysqldump");
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss"));
    if (!dumpMergeDatabase(m_settings.main, m_settings.main.charDatabase,
                           directory + QStringLiteral("/merge_backup_main_char_%1.sql").arg(stamp))) {
        addLogLine(QStringLiteral("主区角色库备份失败，已中止合区（建议检查 mysqldump.exe 及其依赖 DLL）。"));
        return false;
    }
    if (!dumpMergeDatabase(m_settings.main, m_settings.main.webDatabase,
                           directory + QStringLiteral("/merge_backup_main_web_%1.sql").arg(stamp))) {
        addLogLine(QStringLiteral("主区账号库备份失败，已中止合区（建议检查 mysqldump.exe 及其依赖 DLL）。"));
        return false;
    }
    return true;
}

bool MergeRun::dumpMergeDatabase(const MergeEndpoint &endpoint, const QString &database, const QString &file)
{
    QObject owner;
    QStringList arguments;
    if (!endpoint.password.isEmpty()) {
        QTemporaryFile *optionFile = createClientOptionFile(endpoint.password, &owner);
        if (!optionFile) {
            addLogLine(QStringLiteral("备份失败（%1）：无法写入临时密码文件").arg(database));
            return false;
        }
        arguments << clientOptionFileArgument(optionFile);
    }
    arguments << QStringLiteral("-h") + endpoint.host << QStringLiteral("-P") + QString::number(endpoint.port)
              << QStringLiteral("-u") + endpoint.username << QStringLiteral("--single-transaction")
              << QStringLiteral("--routines") << QStringLiteral("--triggers") << QStringLiteral("-r") + file
              << database;
    addLogLine(QStringLiteral("备份数据库 [%1] -> %2").arg(database, file));

    QProcess process;
    process.start(m_dumpProgram, arguments);
    if (!process.waitForStarted(5000)) {
        addLogLine(QStringLiteral("mysqldump 启动失败：%1").arg(process.errorString()));
        return false;
    }
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString error = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        addLogLine(QStringLiteral("备份失败（%1）：exit=%2 %3").arg(database, QString::number(process.exitCode()), error));
        return false;
    }
    const QFileInfo info(file);
    addLogLine(QStringLiteral("备份完成：%1 (%2 KB)").arg(info.fileName(), QString::number(info.size() / 1024)));
    return true;
}

void MergeRun::cleanLowLevel()
{
    addLogLine(QStringLiteral("========== 清理低等级角色 =========="));
    addLogLine(QStringLiteral("清理等级 ≤ %1 的角色").arg(m_settings.cleanLevel));
    purgeLowLevel(m_mainChar, QStringLiteral("主区"), m_settings.mainWorldId);
    purgeLowLevel(m_subChar, QStringLiteral("副区"), m_settings.subWorldId);
    addLogLine(QStringLiteral("低等级角色清理完成，重新统计数据..."));
}

void MergeRun::purgeLowLevel(QSqlDatabase &db, const QString &label, int worldId)
{
    QList<int> guids;
    QSqlQuery select(db);
    select.prepare(QStringLiteral("SELECT charguid FROM t_char WHERE level <= ? AND isvalid = 1 AND zoneworldid = ?"));
    select.addBindValue(m_settings.cleanLevel);
    select.addBindValue(worldId);
    if (select.exec()) {
        while (select.next())
            guids.append(select.value(0).toInt());
    }
    if (guids.isEmpty()) {
        addLogLine(QStringLiteral("[%1] 未找到等级≤%2的角色").arg(label).arg(m_settings.cleanLevel));
        return;
    }
    addLogLine(QStringLiteral("[%1] 找到 %2 个等级≤%3的角色，开始清理...").arg(label).arg(guids.size()).arg(m_settings.cleanLevel));

    // One transaction for the whole clean-up: a failing statement leaves every character whole.
    QList<QString> slices;
    for (int i = 0; i < guids.size(); i += 500) {
        QStringList ids;
        for (int id : guids.mid(i, 500))
            ids.append(QString::number(id));
        slices.append(ids.join(QLatin1Char(',')));
    }
    struct Step { QString table; QString column; QString shown; };
    QList<Step> steps;
    for (const QString &table : mergeCharacterTables)
        steps.append({table, QStringLiteral("charguid"), table});
    steps.append({QStringLiteral("t_relation"), QStringLiteral("fguid"), QStringLiteral("t_relation (fguid)")});
    steps.append({QStringLiteral("t_char"), QStringLiteral("charguid"), QStringLiteral("t_char")});

    db.transaction();
    QSqlQuery query(db);
    for (const Step &step : std::as_const(steps)) {
        qint64 removed = 0;
        bool missing = false;
        for (const QString &ids : std::as_const(slices)) {
            if (query.exec(QStringLiteral("DELETE FROM %1 WHERE %2 IN (%3)").arg(step.table, step.column, ids))) {
                removed += qMax(0, query.numRowsAffected());
                continue;
            }
            if (errorNumber(query.lastError()) == kErrorNoSuchTable && step.table != QLatin1String("t_char")) {
                missing = true;
                break;
            }
            addLogLine(QStringLiteral("[%1] 清理 %2 失败，已回滚低等级角色清理：%3").arg(label, step.table, query.lastError().text()));
            db.rollback();
            return;
        }
        if (missing)
            addLogLine(QStringLiteral("  表 %1 不存在，跳过").arg(step.table));
        else if (step.table == QLatin1String("t_char"))
            addLogLine(QStringLiteral("  已删除 t_char: %1 条").arg(removed));
        else if (removed > 0)
            addLogLine(QStringLiteral("  已清理 %1: %2 条").arg(step.shown).arg(removed));
    }
    if (!commit(db, QStringLiteral("[") + label + QStringLiteral("] 低等级角色清理提交失败：%1")))
        return;
    addLogLine(QStringLiteral("[%1] 低等级角色清理完成").arg(label));
}

void MergeRun::statistics()
{
    addLogLine(QStringLiteral("========== 数据统计 =========="));
    auto count = [](QSqlDatabase &db, const QString &sql, int worldId = -1, bool rows = false) -> qint64 {
        QSqlQuery query(db);
        query.prepare(sql);
        if (worldId >= 0)
            query.addBindValue(worldId);
        if (!query.exec())
            return 0;
        if (rows) {
            qint64 n = 0;
            while (query.next())
                ++n;
            return n;
        }
        return query.next() ? query.value(0).toLongLong() : 0;
    };
    const QString line = QStringLiteral("【%1】表数量: %2, 账号数量: %3, 角色数量: %4");
    const QString characters = QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = ? AND isvalid = 1");
    addLogLine(line.arg(QStringLiteral("主区"))
                   .arg(count(m_mainChar, QStringLiteral("SHOW TABLES"), -1, true))
                   .arg(count(m_mainWeb, QStringLiteral("SELECT COUNT(*) FROM account")))
                   .arg(count(m_mainChar, characters, m_settings.mainWorldId)));
    addLogLine(line.arg(QStringLiteral("副区"))
                   .arg(count(m_subChar, QStringLiteral("SHOW TABLES"), -1, true))
                   .arg(count(m_subWeb, QStringLiteral("SELECT COUNT(*) FROM account")))
                   .arg(count(m_subChar, characters, m_settings.subWorldId)));
}

void MergeRun::conflictSurvey()
{
    addLogLine(QStringLiteral("========== 冲突检测 =========="));
    addLogLine(QStringLiteral("开始检测冲突..."));
    QStringList characterConflicts;
    QStringList accountConflicts;
    {
        QSet<QByteArray> names = byteSet(m_mainChar, QStringLiteral("SELECT CAST(charname AS BINARY) FROM t_char"));
        addLogLine(QStringLiteral("主区角色名总数（含UNIQUE索引）: %1").arg(names.size()));
        QSqlQuery source(m_subChar);
        source.setForwardOnly(true);
        source.prepare(QStringLiteral("SELECT CAST(charname AS BINARY) FROM t_char WHERE zoneworldid = ? AND isvalid = 1"));
        source.addBindValue(m_settings.subWorldId);
        if (source.exec()) {
            while (source.next()) {
                const QByteArray name = source.value(0).toByteArray();
                if (names.contains(name))
                    characterConflicts.append(decodeGbk(name));
            }
        }
    }
    {
        QSqlError ignored;
        const Column *nameColumn = nullptr;
        const QList<Column> columns = readColumns(m_mainWeb, QStringLiteral("account"), &ignored);
        nameColumn = findColumn(columns, QStringLiteral("name"));
        const QString charset = nameColumn ? nameColumn->charset : QString();
        const QSet<QByteArray> names = byteSet(m_mainWeb, QStringLiteral("SELECT CAST(name AS BINARY) FROM account"));
        QSqlQuery source(m_subWeb);
        source.setForwardOnly(true);
        if (source.exec(QStringLiteral("SELECT CAST(name AS BINARY) FROM account"))) {
            while (source.next()) {
                const QByteArray name = source.value(0).toByteArray();
                if (names.contains(name))
                    accountConflicts.append(decodeName(name, charset));
            }
        }
    }
    addLogLine(QStringLiteral("冲突检测完成!"));
    addLogLine(QStringLiteral("【冲突统计】角色名冲突: %1 个, 账号名冲突: %2 个").arg(characterConflicts.size()).arg(accountConflicts.size()));
    auto list = [this](const QStringList &names, const QString &kind, const QString &suffix) {
        if (names.isEmpty())
            return;
        if (names.size() > 20)
            addLogLine(QStringLiteral("冲突%1名(前20个): %2 ...").arg(kind, joinedNames(names.mid(0, 20))));
        else
            addLogLine(QStringLiteral("冲突%1名: ").arg(kind) + joinedNames(names));
        addLogLine(QStringLiteral("冲突%1将添加后缀: %2").arg(kind, suffix));
    };
    list(characterConflicts, QStringLiteral("角色"), m_settings.charNameSuffix);
    list(accountConflicts, QStringLiteral("账号"), m_settings.accountNameSuffix);
}

bool MergeRun::allocateCharguids()
{
    const bool sameWorld = m_settings.mainWorldId == m_settings.subWorldId;
    addLogLine(QStringLiteral("========== 开始合并数据 =========="));
    addLogLine(sameWorld ? QStringLiteral("WorldID相同，准备重新分配charguid...")
                         : QStringLiteral("WorldID不同，检查charguid冲突..."));
    CharGuidLedger ledger;
    QString error;
    if (!ledger.read(m_mainChar, true, &error)) {
        addLogLine(error);
        return false;
    }
    if (!ledger.hasWorld(m_settings.mainWorldId)) {
        addLogLine(QStringLiteral("主区 WorldID %1 在 t_var 中没有计数器（已有: %2）").arg(m_settings.mainWorldId).arg(ledger.worldList()));
        return false;
    }
    addLogLine(QStringLiteral("主区 WorldID %1 的 maxcharguid: %2").arg(m_settings.mainWorldId).arg(ledger.counter(m_settings.mainWorldId)));

    QSqlQuery source(m_subChar);
    source.setForwardOnly(true);
    source.prepare(QStringLiteral("SELECT charguid FROM t_char WHERE zoneworldid = ? AND isvalid = 1"));
    source.addBindValue(m_settings.subWorldId);
    if (!source.exec()) {
        addLogLine(QStringLiteral("获取副区 charguid 失败：%1").arg(source.lastError().text()));
        return false;
    }
    while (source.next())
        m_sourceGuids.append(source.value(0).toInt());
    addLogLine(QStringLiteral("副区待合并角色数: %1").arg(m_sourceGuids.size()));
    if (m_sourceGuids.isEmpty())
        return true;

    // A character keeps its id only in another world, where the id is free and no world's
    // counter will reach it; every other one gets what the game would give the main world's
    // next character.
    QList<int> renumbered;
    if (sameWorld) {
        renumbered = m_sourceGuids;
    } else {
        QSet<int> taken;
        for (int i = 0; i < m_sourceGuids.size(); i += 1000) {
            const QList<int> chunk = m_sourceGuids.mid(i, 1000);
            QSqlQuery check(m_mainChar);
            check.prepare(QStringLiteral("SELECT charguid FROM t_char WHERE charguid IN (%1)")
                              .arg(QStringList(chunk.size(), QStringLiteral("?")).join(QLatin1Char(','))));
            for (int guid : chunk)
                check.addBindValue(guid);
            if (!check.exec()) {
                addLogLine(QStringLiteral("检测 charguid 冲突失败：%1").arg(check.lastError().text()));
                return false;
            }
            while (check.next())
                taken.insert(check.value(0).toInt());
        }
        int reserved = 0;
        for (int guid : std::as_const(m_sourceGuids)) {
            if (taken.contains(guid)) {
                renumbered.append(guid);
            } else if (ledger.isNextId(guid)) {
                renumbered.append(guid);
                ++reserved;
            }
        }
        addLogLine(QStringLiteral("charguid冲突: %1 个，需要重新分配").arg(renumbered.size()));
        if (reserved > 0)
            addLogLine(QStringLiteral("其中 %1 个是主区某个 WorldID 之后要分配的角色ID").arg(reserved));
    }
    if (renumbered.isEmpty())
        return true;
    QList<int> ids;
    if (!ledger.allocate(m_mainChar, m_settings.mainWorldId, int(renumbered.size()), &ids, &error)) {
        addLogLine(error);
        return false;
    }
    for (int k = 0; k < renumbered.size(); ++k)
        m_guidMap.insert(renumbered.at(k), ids.at(k));
    m_lastAllocated = ids.last();
    addLogLine(QStringLiteral("需要重新分配 %1 个 charguid，新范围: %2 - %3").arg(ids.size()).arg(ids.first()).arg(ids.last()));
    return true;
}

bool MergeRun::mergeAccounts()
{
    if (!m_settings.mergeWeb) {
        addLogLine(QStringLiteral("跳过web库合并（用户未勾选）"));
        return true;
    }
    addLogLine(QStringLiteral("合并账号数据..."));
    QSqlError error;
    const QList<Column> targetColumns = readColumns(m_mainWeb, QStringLiteral("account"), &error);
    const QList<Column> sourceColumns = readColumns(m_subWeb, QStringLiteral("account"), &error);
    const Column *targetName = findColumn(targetColumns, QStringLiteral("name"));
    const Column *sourceName = findColumn(sourceColumns, QStringLiteral("name"));
    if (!targetName || !sourceName) {
        addLogLine(QStringLiteral("查询副区账号失败：") + (error.isValid() ? error.text() : QStringLiteral("account 表缺少 name 列")));
        return false;
    }

    QSet<QByteArray> names = byteSet(m_mainWeb, QStringLiteral("SELECT CAST(name AS BINARY) FROM account"));
    addLogLine(QStringLiteral("主区已有 %1 个账号").arg(names.size()));

    // Every column both tables have, but the id that the target assigns; is_online starts at 0.
    QStringList insertColumns;
    QStringList placeholders;
    QStringList selectList;
    int nameIndex = -1;
    for (const Column &column : targetColumns) {
        if (column.lower == QLatin1String("id"))
            continue;
        const Column *source = findColumn(sourceColumns, column.lower);
        if (column.lower == QLatin1String("is_online")) {
            insertColumns << quoted(column.name);
            placeholders << QStringLiteral("0");
            continue;
        }
        if (!source)
            continue;
        if (column.lower == QLatin1String("name"))
            nameIndex = int(selectList.size());
        insertColumns << quoted(column.name);
        placeholders << placeholder(source, column);
        selectList << selectExpression(*source);
    }
    QSqlQuery source(m_subWeb);
    source.setForwardOnly(true);
    if (!source.exec(QStringLiteral("SELECT %1 FROM account").arg(selectList.join(QStringLiteral(", "))))) {
        addLogLine(QStringLiteral("查询副区账号失败：") + source.lastError().text());
        return false;
    }
    const QString rowPlaceholder = QLatin1Char('(') + placeholders.join(QStringLiteral(", ")) + QLatin1Char(')');
    const QString insertHead = QStringLiteral("INSERT INTO account (%1) VALUES ").arg(insertColumns.join(QStringLiteral(", ")));
    const QByteArray suffix = encodeName(m_settings.accountNameSuffix, targetName->charset);
    const bool legacy = isLegacyCharset(targetName->charset);

    QSqlQuery(m_mainWeb).exec(QStringLiteral("SET FOREIGN_KEY_CHECKS = 0"));
    auto restoreChecks = [this]() { QSqlQuery(m_mainWeb).exec(QStringLiteral("SET FOREIGN_KEY_CHECKS = 1")); };
    m_mainWeb.transaction();
    QList<QVariantList> batch;
    int read = 0;
    int inserted = 0;
    int renameCount = 0;
    auto insertBatch = [&]() {
        if (batch.isEmpty())
            return true;
        QSqlQuery insert(m_mainWeb);
        insert.prepare(insertHead + QStringList(batch.size(), rowPlaceholder).join(QStringLiteral(", ")));
        for (const QVariantList &row : std::as_const(batch)) {
            for (const QVariant &value : row)
                insert.addBindValue(value);
        }
        if (!insert.exec()) {
            addLogLine(QStringLiteral("账号批量插入失败：%1").arg(insert.lastError().text()));
            m_mainWeb.rollback();
            restoreChecks();
            return false;
        }
        inserted += int(batch.size());
        batch.clear();
        return true;
    };
    while (source.next()) {
        QVariantList row;
        row.reserve(selectList.size());
        for (int i = 0; i < selectList.size(); ++i)
            row.append(source.value(i));
        const QByteArray name = row.at(nameIndex).toByteArray();
        QByteArray newName = name;
        if (names.contains(name)) {
            bool shortened = false;
            newName = MergeNames::resolve(name, suffix, true, legacy, targetName->maxLength,
                                          [&](const QByteArray &n) { return names.contains(n); }, &shortened);
            if (shortened) {
                ++m_report->namesShortened;
                addLogLine(QStringLiteral("账号名过长，已截短后改名：%1 -> %2")
                               .arg(decodeName(name, targetName->charset), decodeName(newName, targetName->charset)));
            }
        }
        if (newName != name) {
            ++renameCount;
            m_accountRenameRecords.append({decodeName(name, sourceName->charset), decodeName(newName, targetName->charset)});
        }
        names.insert(newName);
        m_accountRenames.insert(name, newName);
        row[nameIndex] = newName;
        batch.append(row);
        ++read;
        if (batch.size() == kAccountBatch) {
            if (!insertBatch())
                return false;
            if (!commit(m_mainWeb, QStringLiteral("账号合并提交失败：%1"))) {
                restoreChecks();
                return false;
            }
            m_mainWeb.transaction();
            addLogLine(QStringLiteral("已处理 %1 个账号...").arg(read));
        }
    }
    if (!insertBatch())
        return false;
    if (!commit(m_mainWeb, QStringLiteral("账号合并提交失败：%1"))) {
        restoreChecks();
        return false;
    }
    restoreChecks();
    addLogLine(QStringLiteral("账号合并完成：成功 %1 个，冲突改名 %2 个").arg(inserted).arg(renameCount));
    return true;
}

bool MergeRun::mergeCharacters()
{
    addLogLine(QStringLiteral("合并角色数据..."));
    QSqlError error;
    const QList<Column> columns = withoutColumn(readColumns(m_subChar, QStringLiteral("t_char"), &error), QStringLiteral("aid"));
    if (columns.isEmpty()) {
        addLogLine(QStringLiteral("无法获取 t_char 表结构"));
        return false;
    }
    addLogLine(QStringLiteral("获取到 t_char 表 %1 个字段").arg(columns.size()));
    const QList<Column> targetColumns = readColumns(m_mainChar, QStringLiteral("t_char"), &error);
    const Column *targetName = findColumn(targetColumns, QStringLiteral("charname"));
    const int nameLength = targetName ? targetName->maxLength : 0;
    const bool legacyNames = !targetName || isLegacyCharset(targetName->charset);

    QSet<QByteArray> names = byteSet(m_mainChar, QStringLiteral("SELECT CAST(charname AS BINARY) FROM t_char"));
    addLogLine(QStringLiteral("主区角色名总数（含UNIQUE索引）: %1").arg(names.size()));

    QStringList selectList;
    QStringList insertColumns;
    QStringList placeholders;
    for (const Column &column : columns) {
        selectList << selectExpression(column);
        insertColumns << quoted(column.name);
        const Column *target = findColumn(targetColumns, column.lower);
        placeholders << (target ? placeholder(&column, *target) : QStringLiteral("?"));
    }
    QSqlQuery source(m_subChar);
    source.setForwardOnly(true);
    source.prepare(QStringLiteral("SELECT %1 FROM t_char WHERE zoneworldid = ? AND isvalid = 1").arg(selectList.join(QStringLiteral(", "))));
    source.addBindValue(m_settings.subWorldId);
    if (!source.exec()) {
        addLogLine(QStringLiteral("查询副区角色失败：") + source.lastError().text());
        return false;
    }

    QSqlQuery insert(m_mainChar);
    insert.prepare(QStringLiteral("INSERT INTO t_char (%1) VALUES (%2)")
                       .arg(insertColumns.join(QStringLiteral(", ")), placeholders.join(QStringLiteral(", "))));
    const QByteArray suffix = encodeGbk(m_settings.charNameSuffix);
    m_mainChar.transaction();
    int processed = 0;
    int succeeded = 0;
    int renameCount = 0;
    int failed = 0;
    while (source.next()) {
        QVariantList values;
        values.reserve(columns.size());
        int sourceGuid = 0;
        QByteArray name;
        QByteArray newName;
        for (int i = 0; i < columns.size(); ++i) {
            const QString &lower = columns.at(i).lower;
            QVariant value = source.value(i);
            if (lower == QLatin1String("charguid")) {
                sourceGuid = value.toInt();
                value = m_guidMap.value(sourceGuid, sourceGuid);
            } else if (lower == QLatin1String("zoneworldid")) {
                value = m_settings.mainWorldId;
            } else if (lower == QLatin1String("charname") && !value.isNull()) {
                name = newName = value.toByteArray();
                if (names.contains(name)) {
                    bool shortened = false;
                    newName = MergeNames::resolve(name, suffix, false, legacyNames, nameLength,
                                                  [&](const QByteArray &n) { return names.contains(n); }, &shortened);
                    if (shortened) {
                        ++m_report->namesShortened;
                        addLogLine(QStringLiteral("角色名过长，已截短后改名：%1 -> %2").arg(decodeGbk(name), decodeGbk(newName)));
                    }
                    ++renameCount;
                    m_characterRenameRecords.append({decodeGbk(name), decodeGbk(newName)});
                }
                value = newName;
            } else if (lower == QLatin1String("accname") && !value.isNull()) {
                const auto renamed = m_accountRenames.constFind(value.toByteArray());
                if (renamed != m_accountRenames.constEnd())
                    value = renamed.value();
            } else if (lower == QLatin1String("title") && !value.isNull()) {
                value = cutTitle(value.toByteArray());
            }
            values.append(value);
        }
        for (int i = 0; i < values.size(); ++i)
            insert.bindValue(i, values.at(i));
        if (insert.exec()) {
            ++succeeded;
            if (!newName.isNull())
                names.insert(newName);
            m_merged.insert(sourceGuid);
        } else {
            ++failed;
            if (failed <= 3)
                addLogLine(QStringLiteral("角色插入失败[%1]: %2").arg(decodeGbk(name), insert.lastError().text()));
        }
        ++processed;
        if (processed % kCharacterCommitEvery == 0) {
            if (!commit(m_mainChar, QStringLiteral("角色合并提交失败：%1")))
                return false;
            m_mainChar.transaction();
            addLogLine(QStringLiteral("已处理 %1 个角色...").arg(processed));
            m_state.rows = processed;
            if (m_progress)
                m_progress(m_state);
        }
    }
    if (!commit(m_mainChar, QStringLiteral("角色合并提交失败：%1")))
        return false;
    m_report->charactersMerged = succeeded;
    m_report->charactersFailed = failed;
    addLogLine(QStringLiteral("角色合并完成：成功 %1 个，角色名冲突 %2 个，失败 %3 个").arg(succeeded).arg(renameCount).arg(failed));
    return true;
}

bool MergeRun::mergeRelatedTables()
{
    QSqlQuery(m_mainChar).exec(QStringLiteral("SET FOREIGN_KEY_CHECKS = 0"));
    auto restoreChecks = [this]() { QSqlQuery(m_mainChar).exec(QStringLiteral("SET FOREIGN_KEY_CHECKS = 1")); };
    if (m_merged.isEmpty()) {
        addLogLine(QStringLiteral("未合并任何角色，跳过关联表合并。"));
        restoreChecks();
        return true;
    }
    QSqlQuery query(m_subChar);
    query.exec(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS %1").arg(kGuidTable));
    if (!query.exec(QStringLiteral("CREATE TEMPORARY TABLE %1 (charguid INT PRIMARY KEY)").arg(kGuidTable))) {
        addLogLine(QStringLiteral("创建临时表失败：%1").arg(query.lastError().text()));
        return false;
    }
    QList<int> ids = m_merged.values();
    std::sort(ids.begin(), ids.end());
    for (int i = 0; i < ids.size(); i += 1000) {
        const QList<int> chunk = ids.mid(i, 1000);
        QSqlQuery fill(m_subChar);
        fill.prepare(QStringLiteral("INSERT IGNORE INTO %1 (charguid) VALUES %2")
                         .arg(kGuidTable, QStringList(chunk.size(), QStringLiteral("(?)")).join(QStringLiteral(", "))));
        for (int id : chunk)
            fill.addBindValue(id);
        if (!fill.exec()) {
            addLogLine(QStringLiteral("写入临时表失败：%1").arg(fill.lastError().text()));
            return false;
        }
    }
    addLogLine(QStringLiteral("已筛选 %1 个成功合并的角色用于关联表拷贝").arg(ids.size()));
    for (int i = 0; i < mergeCharacterTables.size(); ++i) {
        if (cancelled() || !copyTable(mergeCharacterTables.at(i), i + 1))
            return false;
    }
    query.exec(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS %1").arg(kGuidTable));
    restoreChecks();
    return true;
}

bool MergeRun::copyTable(const QString &table, int index)
{
    m_state.tableIndex = index;
    m_state.tableCount = int(mergeCharacterTables.size());
    m_state.rows = 0;
    m_state.text = table;
    if (m_progress)
        m_progress(m_state);
    addLogLine(QStringLiteral("合并表 %1...").arg(table));

    // Rows of the merged characters in the source, for telling a harmless skip from a loss.
    auto sourceRows = [&]() -> qint64 {
        QSqlQuery count(m_subChar);
        if (count.exec(QStringLiteral("SELECT COUNT(*) FROM %1 r INNER JOIN %2 g ON r.charguid = g.charguid").arg(table, kGuidTable))
            && count.next())
            return count.value(0).toLongLong();
        return errorNumber(count.lastError()) == kErrorNoSuchTable ? 0 : -1;
    };
    auto skip = [&](qint64 rows) {
        if (rows == 0)
            return true;
        m_report->tablesSkipped.append(table);
        if (rows > 0)
            addLogLine(QStringLiteral("警告：表 %1 的 %2 条副区数据未拷贝").arg(table).arg(rows));
        return true;
    };

    QSqlError error;
    const QList<Column> targetColumns = withoutColumn(readColumns(m_mainChar, table, &error), QStringLiteral("aid"));
    if (targetColumns.isEmpty()) {
        if (error.isValid())
            addLogLine(QStringLiteral("警告：获取主区表 %1 结构失败：%2").arg(table, error.text()));
        addLogLine(QStringLiteral("警告：无法获取表 %1 结构，跳过").arg(table));
        return skip(sourceRows());
    }
    error = QSqlError();
    const QList<Column> sourceColumns = readColumns(m_subChar, table, &error);
    if (sourceColumns.isEmpty()) {
        if (errorNumber(error) == kErrorNoSuchTable) {
            addLogLine(QStringLiteral("副区缺少表 %1，跳过").arg(table));
            return true;
        }
        addLogLine(QStringLiteral("警告：查询副区表 %1 失败：%2").arg(table, error.text()));
        return skip(-1);
    }
    {
        QSqlQuery indexQuery(m_subChar);
        if (indexQuery.exec(QStringLiteral("SHOW INDEX FROM %1 WHERE Column_name = 'charguid'").arg(table)) && !indexQuery.next())
            addLogLine(QStringLiteral("提示：副区表 %1 缺少 charguid 索引，关联表拷贝可能很慢（建议为 charguid 建索引）").arg(table));
    }

    // One value per target column: its position in the source result, or -1 for NULL.
    enum class Role { Copy, Guid, Partner, World };
    QStringList columnNames;
    QStringList placeholders;
    QStringList selectList;
    QList<int> positions;
    QList<Role> roles;
    const bool worldTable = worldColumnTables.contains(table);
    const bool relationTable = table == QLatin1String("t_relation");
    for (const Column &column : targetColumns) {
        const Column *source = findColumn(sourceColumns, column.lower);
        columnNames << quoted(column.name);
        placeholders << placeholder(source, column);
        if (source) {
            positions << int(selectList.size());
            selectList << selectExpression(*source, QStringLiteral("r"));
        } else {
            positions << -1;
        }
        if (column.lower == QLatin1String("charguid"))
            roles << Role::Guid;
        else if (relationTable && column.lower == QLatin1String("fguid"))
            roles << Role::Partner;
        else if (worldTable && column.lower == QLatin1String("world"))
            roles << Role::World;
        else
            roles << Role::Copy;
    }
    if (selectList.isEmpty())
        selectList << QStringLiteral("r.charguid");

    QSqlQuery source(m_subChar);
    source.setForwardOnly(true);
    addLogLine(QStringLiteral("读取副区表 %1 数据中...").arg(table));
    if (!source.exec(QStringLiteral("SELECT %1 FROM %2 r INNER JOIN %3 g ON r.charguid = g.charguid")
                         .arg(selectList.join(QStringLiteral(", ")), table, kGuidTable))) {
        addLogLine(QStringLiteral("警告：查询副区表 %1 失败：%2").arg(table, source.lastError().text()));
        return skip(sourceRows());
    }

    const QString rowPlaceholder = QLatin1Char('(') + placeholders.join(QStringLiteral(", ")) + QLatin1Char(')');
    const int batchSize = qBound(1, kMaxPlaceholders / int(qMax<qsizetype>(1, columnNames.size())), kRowBatch);
    int processed = 0;
    int succeeded = 0;
    int failed = 0;
    int dropped = 0;
    QElapsedTimer timer;
    timer.start();
    qint64 lastLine = 0;
    QList<QVariantList> batch;
    // Full batches reuse one prepared statement; parsing thousands of placeholders is not free.
    QSqlQuery insert(m_mainChar);
    qsizetype preparedRows = 0;
    m_mainChar.transaction();
    while (source.next()) {
        QVariantList row;
        row.reserve(positions.size());
        bool keep = true;
        for (int i = 0; i < positions.size(); ++i) {
            const int position = positions.at(i);
            QVariant value = position >= 0 ? source.value(position) : QVariant();
            switch (roles.at(i)) {
            case Role::Guid: {
                const int guid = value.toInt();
                value = m_guidMap.value(guid, guid);
                break;
            }
            case Role::Partner: {
                // A partner outside the merge is a stranger, or nobody, in the target.
                const int guid = value.toInt();
                if (!m_merged.contains(guid))
                    keep = false;
                value = m_guidMap.value(guid, guid);
                break;
            }
            case Role::World:
                value = m_settings.mainWorldId;
                break;
            case Role::Copy:
                break;
            }
            row.append(value);
        }
        if (!keep) {
            ++dropped;
            continue;
        }
        batch.append(row);
        ++processed;
        if (batch.size() >= batchSize) {
            flushRows(insert, preparedRows, batch, table, columnNames, rowPlaceholder, succeeded, failed);
            m_state.rows = processed;
            if (m_progress)
                m_progress(m_state);
        }
        if (processed % kRowCommitEvery == 0) {
            flushRows(insert, preparedRows, batch, table, columnNames, rowPlaceholder, succeeded, failed);
            if (!commit(m_mainChar, QStringLiteral("表 ") + table + QStringLiteral(" 提交失败：%1")))
                return false;
            m_mainChar.transaction();
        }
        if (timer.elapsed() - lastLine >= 3000) {
            lastLine = timer.elapsed();
            addLogLine(QStringLiteral("表 %1 处理中：已处理 %2，成功 %3，失败 %4，速度 %5 条/秒")
                           .arg(table).arg(processed).arg(succeeded).arg(failed)
                           .arg(oneDecimal(processed / (qMax<qint64>(1, timer.elapsed()) / 1000.0))));
        }
    }
    flushRows(insert, preparedRows, batch, table, columnNames, rowPlaceholder, succeeded, failed);
    if (!commit(m_mainChar, QStringLiteral("表 ") + table + QStringLiteral(" 提交失败：%1")))
        return false;
    if (failed > 0)
        m_report->rowsFailed.insert(table, failed);
    if (dropped > 0) {
        m_report->relationsDropped += dropped;
        addLogLine(QStringLiteral("表 %1：%2 条关系的对方角色未合并，未拷贝").arg(table).arg(dropped));
    }
    addLogLine(QStringLiteral("表 %1 合并完成：成功 %2，失败 %3，耗时 %4 秒")
                   .arg(table).arg(succeeded).arg(failed).arg(oneDecimal(timer.elapsed() / 1000.0)));
    return true;
}

void MergeRun::flushRows(QSqlQuery &insert, qsizetype &preparedRows, QList<QVariantList> &batch, const QString &table,
                         const QStringList &columns, const QString &rowPlaceholder, int &succeeded, int &failed)
{
    if (batch.isEmpty())
        return;
    const QString head = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table, columns.join(QStringLiteral(", ")));
    if (preparedRows != batch.size()) {
        insert.prepare(head + QStringList(batch.size(), rowPlaceholder).join(QStringLiteral(", ")));
        preparedRows = batch.size();
    }
    int position = 0;
    for (const QVariantList &row : std::as_const(batch)) {
        for (const QVariant &value : row)
            insert.bindValue(position++, value);
    }
    if (insert.exec()) {
        succeeded += int(batch.size());
        batch.clear();
        return;
    }
    // Only the bad rows are lost: the others go in one by one.
    QSqlQuery single(m_mainChar);
    single.prepare(head + rowPlaceholder);
    for (const QVariantList &row : std::as_const(batch)) {
        for (int i = 0; i < row.size(); ++i)
            single.bindValue(i, row.at(i));
        if (single.exec()) {
            ++succeeded;
        } else if (++failed <= 3) {
            addLogLine(QStringLiteral("警告：插入表 %1 失败：%2").arg(table, single.lastError().text()));
        }
    }
    batch.clear();
}

void MergeRun::finish()
{
    // The counter ends on the last id handed out, as if the game had created the characters.
    if (m_lastAllocated > 0) {
        QString error;
        if (CharGuidLedger::setCounter(m_mainChar, m_settings.mainWorldId, m_lastAllocated, &error)) {
            addLogLine(QStringLiteral("已更新 t_var.maxcharguid = %1").arg(m_lastAllocated));
        } else {
            m_report->counterFailed = true;
            addLogLine(error);
        }
    }

    if (!m_accountRenameRecords.isEmpty() || !m_characterRenameRecords.isEmpty())
        addLogLine(QStringLiteral("========== 冲突处理记录 =========="));
    auto records = [this](const QList<std::pair<QString, QString>> &list, const QString &header) {
        if (list.isEmpty())
            return;
        addLogLine(header.arg(list.size()));
        for (int i = 0; i < list.size() && i < 20; ++i)
            addLogLine(QStringLiteral("  %1 -> %2").arg(list.at(i).first, list.at(i).second));
        if (list.size() > 20)
            addLogLine(QStringLiteral("  ... 还有 %1 个未显示").arg(list.size() - 20));
    };
    records(m_accountRenameRecords, QStringLiteral("【账号改名】共 %1 个："));
    records(m_characterRenameRecords, QStringLiteral("【角色改名】共 %1 个："));
    if (m_report->relationsDropped > 0)
        addLogLine(QStringLiteral("对方角色未合并而未拷贝的关系: %1 条").arg(m_report->relationsDropped));
    if (m_report->namesShortened > 0)
        addLogLine(QStringLiteral("为放入字段而截短的名字: %1 个").arg(m_report->namesShortened));
    if (m_report->hasLosses()) {
        addLogLine(QStringLiteral("========== 未完整合并 =========="));
        for (const QString &line : m_report->lossLines())
            addLogLine(line);
    }
}

} // namespace

bool runMerge(const MergeSettings &settings, const MergeLogFunction &log, const std::atomic_bool *cancel,
              MergeReport *report, const MergeProgressFunction &progress)
{
    MergeRun run(settings, log, cancel, report, progress);
    return run.run();
}
