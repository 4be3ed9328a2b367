#include "mergerun.h"
#include "base/storedtext.h"


using namespace Sql;
using MergeSql::openEndpoint;

namespace MergeRunning {

// ---- The run ----

bool MergeRun::purgeLowLevel(QSqlDatabase &db, const Message &label, const QList<int> &ids)
{
    if (ids.isEmpty()) {
        addLogLine(STORED_TEXT("[%1] 未找到等级≤%2的角色").arg(label).arg(m_settings.cleanLevel));
        return true;
    }
    addLogLine(STORED_TEXT("[%1] 找到 %2 个等级≤%3的角色，开始清理...").arg(label).arg(ids.size()).arg(m_settings.cleanLevel));
    // The clean-up is one stage of the merge's bar: its tables are lines of the log only.
    OperationContext purge = m_context;
    purge.onProgress = nullptr;
    CharacterPurge::Outcome outcome;
    if (!CharacterPurge::deleteCharacters(db, ids, mergeCharacterTables, m_undo, purge, &outcome)) {
        if (!outcome.cancelled)
            addLogLine(STORED_TEXT("[%1] 清理 %2 失败：%3").arg(label, outcome.failedTable, outcome.error));
        return false;
    }
    addLogLine(STORED_TEXT("[%1] 低等级角色清理完成").arg(label));
    return true;
}

void MergeRun::cleanSource(const MergePlan &plan)
{
    if (!m_settings.cleanLowLevel)
        return;
    stage(3, STORED_TEXT("清理低等级角色"));
    addLogLine(STORED_TEXT("========== 清理副区低等级角色 =========="));
    addLogLine(STORED_TEXT("清理等级 ≤ %1 的角色").arg(m_settings.cleanLevel));
    // After the target has committed: the characters are never merged, so the plan stands
    // either way, and a merge that fails leaves the source whole. Its own undo file. The
    // source's snapshot ends first: MySQL with GTID consistency (5.7) or statement binlogs (8.0)
    // refuses a temporary table inside an open transaction.
    Message error;
    QSqlQuery(m_sourceChar).exec(QStringLiteral("ROLLBACK"));
    CharacterPurge::IdTable ids(m_sourceChar);
    if (!ids.create(&error)) {
        m_report->sourceCleanupFailure = error;
        return;
    }
    UndoableTransaction transaction(m_sourceChar);
    if (!transaction.begin(STORED_TEXT("跨服合区 清理副区 %1:%2/%3 WorldID %4 等级≤%5的角色")
                               .arg(m_settings.source.host).arg(m_settings.source.port).arg(m_settings.source.charDatabase)
                               .arg(m_settings.sourceWorldId).arg(m_settings.cleanLevel),
                           m_settings.writeUndo, &error)) {
        m_report->sourceCleanupFailure = error;
        return;
    }
    // Only characters that were low-level when the plan left them behind, and still are.
    QList<int> now;
    if (!lowLevel(m_sourceChar, m_settings.sourceWorldId, &now)) {
        m_report->sourceCleanupFailure = STORED_TEXT("无法读取副区低等级角色");
        return;
    }
    const QSet<int> planned(plan.lowSub.cbegin(), plan.lowSub.cend());
    now.removeIf([&](int id) { return !planned.contains(id); });
    m_undo = transaction.undo();
    const bool purged = purgeLowLevel(m_sourceChar, STORED_TEXT("副区"), now);
    m_undo = nullptr;
    if (!purged) {
        m_report->sourceCleanupFailure = STORED_TEXT("清理失败，已回滚");
        return;
    }
    if (!transaction.commit(&error)) {
        m_report->sourceCleanupFailure = error;
        return;
    }
    m_report->sourceUndoFile = transaction.undoPath();
    if (!m_report->sourceUndoFile.isEmpty())
        addLogLine(STORED_TEXT("副区撤销文件: %1").arg(m_report->sourceUndoFile));
}

bool MergeRun::copyAccounts(const MergePlan &plan)
{
    if (!m_settings.mergeWeb) {
        addLogLine(STORED_TEXT("跳过web库合并（用户未勾选）"));
        return true;
    }
    stage(7, STORED_TEXT("合并账号"));
    addLogLine(STORED_TEXT("合并账号数据..."));
    const auto columns = plan.columns.value(QStringLiteral("account"));
    RowCopier copier(m_sourceChar, m_target, m_targetWeb);
    copier.setColumns(columns.first, columns.second, m_settings.fillMissingColumns, {QStringLiteral("id")});
    copier.setFixed(QStringLiteral("is_online"), QStringLiteral("0"));
    const int name = copier.position(QStringLiteral("name"));
    qint64 copied = 0;
    Message error;
    const bool ok = copier.copy(QStringLiteral("SELECT %1 FROM %2 a").arg(copier.selectList(QStringLiteral("a")), m_sourceAccounts), {},
                                [&](QVariantList &row) {
                                    const auto renamed = plan.accountNames.constFind(row.at(name).toByteArray());
                                    if (renamed != plan.accountNames.cend())
                                        row[name] = renamed.value();
                                    m_insertedAccounts.append(row.at(name).toByteArray());
                                    return true;
                                },
                                [this] { return cancelled(); }, &copied, &error);
    if (!ok) {
        addLogLine(STORED_TEXT("账号批量插入失败：%1").arg(error));
        return false;
    }
    m_report->accountsMerged = int(copied);
    m_copiedRows.insert(QStringLiteral("account"), copied);
    addLogLine(STORED_TEXT("账号合并完成：成功 %1 个，冲突改名 %2 个").arg(copied).arg(plan.accountRecords.size()));
    return true;
}

bool MergeRun::copyCharacters(const MergePlan &plan)
{
    stage(8, STORED_TEXT("合并角色"));
    addLogLine(STORED_TEXT("合并角色数据..."));
    const auto columns = plan.columns.value(QStringLiteral("t_char"));
    RowCopier copier(m_sourceChar, m_target, QStringLiteral("t_char"));
    copier.setReader(m_reader.get());
    copier.setFileLoading(fileLoading());
    copier.setColumns(columns.first, columns.second, m_settings.fillMissingColumns, {QStringLiteral("aid")});
    addLogLine(STORED_TEXT("获取到 t_char 表 %1 个字段").arg(columns.second.size()));
    const int guid = copier.position(QStringLiteral("charguid"));
    const int world = copier.position(QStringLiteral("zoneworldid"));
    const int name = copier.position(QStringLiteral("charname"));
    const int account = copier.position(QStringLiteral("accname"));
    const int title = copier.position(QStringLiteral("title"));
    qint64 copied = 0;
    Message error;
    const bool ok = copier.copy(
        QStringLiteral("SELECT %1 FROM t_char r INNER JOIN %2 g ON r.charguid = g.charguid ORDER BY r.charguid")
            .arg(copier.selectList(QStringLiteral("r")), kGuidTable),
        {},
        [&](QVariantList &row) {
            const int source = row.at(guid).toInt();
            row[guid] = m_guidMap.value(source, source);
            if (world >= 0)
                row[world] = m_settings.targetWorldId;
            if (name >= 0 && plan.newNames.contains(source))
                row[name] = plan.newNames.value(source);
            if (account >= 0 && plan.accnames.contains(row.at(account).toByteArray()))
                row[account] = plan.accnames.value(row.at(account).toByteArray());
            if (title >= 0 && !row.at(title).isNull())
                row[title] = cutTitle(row.at(title).toByteArray());
            return true;
        },
        [this] { return cancelled(); }, &copied, &error);
    if (!ok) {
        addLogLine(STORED_TEXT("角色插入失败: %1").arg(error));
        return false;
    }
    m_report->charactersMerged = int(copied);
    m_copiedRows.insert(QStringLiteral("t_char"), copied);
    if (m_undo && !saveAddedCharacters(&error)) {
        addLogLine(STORED_TEXT("撤销文件写入失败，主区已回滚：%1").arg(error));
        return false;
    }
    addLogLine(STORED_TEXT("角色合并完成：成功 %1 个，角色名冲突 %2 个").arg(copied).arg(plan.characterRecords.size()));
    return true;
}

FileLoading *MergeRun::fileLoading()
{
    // Only the native driver hands the client library's file requests through.
    return m_target.driverName() == QLatin1String("QMYSQL") ? &m_fileLoading : nullptr;
}

std::unique_ptr<RowCopier> MergeRun::startTable(const MergePlan &plan, const QString &table)
{
    const auto columns = plan.columns.value(table);
    auto copier = std::make_unique<RowCopier>(m_sourceChar, m_target, table);
    copier->setReader(m_reader.get());
    copier->setFileLoading(fileLoading());
    copier->setColumns(columns.first, columns.second, m_settings.fillMissingColumns, {QStringLiteral("aid")});
    const int guid = copier->position(QStringLiteral("charguid"));
    const bool relation = table == QLatin1String("t_relation");
    const int partner = relation ? copier->position(QStringLiteral("fguid")) : -1;
    const int partnerName = relation ? copier->position(QStringLiteral("fname")) : -1;
    const int world = worldColumnTables.contains(table) ? copier->position(QStringLiteral("world")) : -1;
    copier->start(
        QStringLiteral("SELECT %1 FROM %2 r INNER JOIN %3 g ON r.charguid = g.charguid").arg(copier->selectList(QStringLiteral("r")), table, kGuidTable),
        {},
        [this, &plan, guid, partner, partnerName, world](QVariantList &row) {
            const int owner = row.at(guid).toInt();
            row[guid] = m_guidMap.value(owner, owner);
            if (partner >= 0) {
                const int other = row.at(partner).toInt();
                if (!plan.merged.contains(other))
                    return false;  // counted by the plan
                row[partner] = m_guidMap.value(other, other);
                // The friend list shows the partner under the name it has in the target.
                if (partnerName >= 0 && plan.newNames.contains(other))
                    row[partnerName] = plan.newNames.value(other);
            }
            if (world >= 0)
                row[world] = m_settings.targetWorldId;
            return true;
        },
        [this] { return cancelled(); });
    return copier;
}

bool MergeRun::copyTable(const MergePlan &plan, const QString &table, RowCopier *copier)
{
    m_context.progress(table, 0, plan.preflight.rows.value(table));
    addLogLine(STORED_TEXT("合并表 %1...").arg(table));
    if (!copier) {
        if (plan.preflight.tablesSkipped.contains(table))
            addLogLine(STORED_TEXT("警告：主区没有表 %1，副区的 %1 数据未拷贝").arg(table));
        else
            addLogLine(STORED_TEXT("表 %1 不存在，跳过").arg(table));
        return true;
    }
    {
        QSqlQuery indexQuery(m_sourceChar);
        if (indexQuery.exec(QStringLiteral("SHOW INDEX FROM %1 WHERE Column_name = 'charguid'").arg(table)) && !indexQuery.next())
            addLogLine(STORED_TEXT("提示：副区表 %1 缺少 charguid 索引，关联表拷贝可能很慢（建议为 charguid 建索引）").arg(table));
    }
    QElapsedTimer timer;
    timer.start();
    qint64 copied = 0;
    Message error;
    if (!copier->finish(&copied, &error)) {
        addLogLine(STORED_TEXT("表 %1 合并失败：%2").arg(table, error));
        return false;
    }
    m_context.progress(table, copied, plan.preflight.rows.value(table));
    m_copiedRows.insert(table, copied);
    if (m_undo) {
        m_undo->addRemoval(table, QStringLiteral("charguid"), m_mergedIds, copied);
        checkWritten(table);
    }
    addLogLine(STORED_TEXT("表 %1 合并完成：成功 %2，耗时 %3 秒").arg(table).arg(copied).arg(oneDecimal(timer.elapsed() / 1000.0)));
    return true;
}

bool MergeRun::copyRelatedTables(const MergePlan &plan)
{
    stage(9, STORED_TEXT("合并关联表"));
    if (plan.characters.isEmpty()) {
        addLogLine(STORED_TEXT("未合并任何角色，跳过关联表合并。"));
        return true;
    }
    addLogLine(STORED_TEXT("已筛选 %1 个合并的角色用于关联表拷贝").arg(plan.characters.size()));
    // Every read is queued at once: the reader goes on to the next table while this one is written.
    std::vector<std::unique_ptr<RowCopier>> copiers;
    for (const QString &table : mergeCharacterTables)
        copiers.push_back(plan.copyTables.contains(table) ? startTable(plan, table) : nullptr);
    for (int i = 0; i < mergeCharacterTables.size(); ++i) {
        if (stopped() || !copyTable(plan, mergeCharacterTables.at(i), copiers.at(i).get())) {
            // The reader reads in order: stop every read before waiting for any.
            for (const auto &copier : copiers) {
                if (copier)
                    copier->stop();
            }
            return false;
        }
    }
    if (fileLoading() && m_fileLoading.refused)
        addLogLine(STORED_TEXT("主区不接受本地文件导入（LOAD DATA LOCAL INFILE），各表改用 INSERT 语句写入"));
    return true;
}

bool MergeRun::writeTarget(const MergePlan &plan)
{
    addLogLine(STORED_TEXT("========== 开始合并数据 =========="));
    addLogLine(m_settings.targetWorldId == m_settings.sourceWorldId ? STORED_TEXT("WorldID相同，准备重新分配charguid...")
                                                              : STORED_TEXT("WorldID不同，检查charguid冲突..."));
    // Created before the transaction: servers that enforce GTID consistency refuse it inside one.
    m_targetIds = std::make_unique<CharacterPurge::IdTable>(m_target);
    Message undoError;
    if (m_settings.cleanLowLevel && !m_targetIds->create(&undoError)) {
        addLogLine(STORED_TEXT("主区未做任何修改：无法建立临时表：%1").arg(undoError));
        return false;
    }
    m_transaction = std::make_unique<UndoableTransaction>(m_target);
    if (!m_transaction->begin(STORED_TEXT("跨服合区 %1:%2/%3 WorldID %4 → WorldID %5")
                                  .arg(m_settings.source.host).arg(m_settings.source.port).arg(m_settings.source.charDatabase)
                                  .arg(m_settings.sourceWorldId).arg(m_settings.targetWorldId),
                              m_settings.writeUndo, &undoError)) {
        addLogLine(STORED_TEXT("主区未做任何修改：%1").arg(undoError));
        return false;
    }
    m_undo = m_transaction->undo();
    if (m_undo)
        startChecker();
    addLogLine(STORED_TEXT("主区事务已开始：合区完成前主区不会有任何改动"));
    QSqlQuery(m_target).exec(QStringLiteral("SET FOREIGN_KEY_CHECKS = 0"));

    // The ids again, now with the counters locked: the game creates nobody until the commit.
    stage(6, STORED_TEXT("分配 charguid"));
    CharGuidLedger ledger;
    Message error;
    QList<int> ids;
    if (!ledger.read(m_target, m_settings.targetWorldId, &error)
        || !ledger.allocate(m_target, m_settings.targetWorldId, int(plan.renumbered.size()), &ids, &error)) {
        addLogLine(error);
        return false;
    }
    // The ids the plan showed, or none: the game created a character there since.
    if (ids != plan.newIds) {
        addLogLine(STORED_TEXT("主区 WorldID %1 的角色ID计数器在计划之后变了（游戏创建了角色），未做任何修改，请重试").arg(m_settings.targetWorldId));
        return false;
    }
    m_counterBefore = ledger.counter(m_settings.targetWorldId);
    m_counterBack = ledger.counterBack(m_settings.targetWorldId, ids.isEmpty() ? m_counterBefore : ids.last(), m_counterBefore);
    addLogLine(STORED_TEXT("主区 WorldID %1 的 maxcharguid: %2").arg(m_settings.targetWorldId).arg(m_counterBefore));
    addLogLine(STORED_TEXT("副区待合并角色数: %1").arg(plan.characters.size()));
    for (qsizetype k = 0; k < plan.renumbered.size(); ++k)
        m_guidMap.insert(plan.renumbered.at(k), ids.at(k));
    for (const SourceCharacter &character : plan.characters)
        m_mergedIds.append(m_guidMap.value(character.guid, character.guid));
    if (!ids.isEmpty()) {
        m_lastAllocated = ids.last();
        addLogLine(STORED_TEXT("需要重新分配 %1 个 charguid，新范围: %2 - %3").arg(ids.size()).arg(ids.first()).arg(ids.last()));
    }

    if (m_settings.cleanLowLevel && !purgeLowLevel(m_target, STORED_TEXT("主区"), plan.lowMain))
        return false;
    if (stopped() || !copyAccounts(plan))
        return false;
    if (m_reader && !m_readerHasIds && !m_reader->call([this](QSqlDatabase &db) {
            Message readerError;
            return fillGuidTable(db, &readerError);
        })) {
        addLogLine(STORED_TEXT("副区读取连接出错，改为单连接读取"));
        m_reader.reset();
    }
    if (stopped() || !copyCharacters(plan) || stopped() || !copyRelatedTables(plan) || stopped())
        return false;
    m_reader.reset();

    stage(10, STORED_TEXT("更新 t_var 与冲突记录"));
    // The counter ends on the last id handed out, as if the game had created the characters.
    if (m_lastAllocated > 0) {
        if (!ledger.setCounter(m_target, m_settings.targetWorldId, m_lastAllocated, &error)) {
            addLogLine(error);
            return false;
        }
        addLogLine(STORED_TEXT("已更新 t_var.maxcharguid = %1").arg(m_lastAllocated));
    }
    QSqlQuery(m_target).exec(QStringLiteral("SET FOREIGN_KEY_CHECKS = 1"));
    if (stopped())
        return false;
    if (m_undo && !writeUndo(plan, &undoError)) {
        addLogLine(STORED_TEXT("撤销文件写入失败，主区已回滚：%1").arg(undoError));
        return false;
    }
    if (!m_transaction->commit(&undoError)) {
        addLogLine(STORED_TEXT("主区：%1").arg(undoError));
        return false;
    }
    m_checker.reset();
    addLogLine(STORED_TEXT("主区事务已提交"));
    m_report->undoFile = m_transaction->undoPath();
    m_transaction.reset();
    m_targetIds.reset();
    if (!m_report->undoFile.isEmpty())
        addLogLine(STORED_TEXT("撤销文件: %1").arg(m_report->undoFile));
    return true;
}

void MergeRun::startChecker()
{
    // It reads the rows the merge's transaction wrote and holds locked until its commit.
    m_checker = std::make_unique<SourceReader>(openOnThread(kTargetChecker, m_settings.target, [](QSqlDatabase &db, Message *) {
        return QSqlQuery(db).exec(QStringLiteral("SET SESSION TRANSACTION ISOLATION LEVEL READ UNCOMMITTED"));
    }));
    Message error;
    if (!m_checker->begin(&error)) {
        debugLog(QStringLiteral("merge: no second target connection for the undo file's checks (%1); they are read before the commit").arg(error));
        m_checker.reset();
    }
}

void MergeRun::checkWritten(const QString &table)
{
    if (m_checker)
        m_undo->takeFingerprintsElsewhere(table, [this](auto job) { m_checker->post(std::move(job)); });
}

bool MergeRun::saveAddedCharacters(Message *error)
{
    // What the merge added goes first, by the ids and names it was stored under, once the undo
    // has checked that they are still the characters and accounts the merge wrote, so that the
    // target's own deleted characters come back under the names merged ones took over.
    const int slice = 1000;
    for (qsizetype start = 0; start < m_mergedIds.size(); start += slice) {
        QStringList list;
        for (qint64 id : m_mergedIds.mid(start, slice))
            list.append(QString::number(id));
        if (m_undo->saveAdded(m_target, QStringLiteral("t_char"), QStringLiteral("charguid"),
                              QStringLiteral("charguid IN (%1)").arg(list.join(QLatin1Char(','))), {}, error) < 0)
            return false;
    }
    checkWritten(QStringLiteral("t_char"));
    return true;
}

bool MergeRun::writeUndo(const MergePlan &plan, Message *error)
{
    // The accounts the merge added; the characters and their rows were saved as each table was
    // written. The counter goes back only while the game has created nobody since.
    const int slice = 1000;
    const QByteArray introducer = plan.accountCharset.isEmpty() ? QByteArray() : '_' + plan.accountCharset.toLatin1() + ' ';
    for (qsizetype start = 0; start < m_insertedAccounts.size(); start += slice) {
        QStringList names;
        for (const QByteArray &name : m_insertedAccounts.mid(start, slice))
            names.append(QString::fromLatin1(introducer + "X'" + name.toHex() + '\''));
        if (m_undo->saveAdded(m_target, QStringLiteral("account"), QStringLiteral("name"),
                              QStringLiteral("name IN (%1)").arg(names.join(QLatin1Char(','))), {}, error, m_settings.target.accountDatabase)
            < 0)
            return false;
    }
    return m_lastAllocated <= 0 || m_undo->addStatement(m_counterBack, QStringLiteral("t_var"), 1, error);
}

QString MergeRun::writeRenameFile(const MergePlan &plan)
{
    const QString directory = applicationDirectory() + QStringLiteral("/Log");
    QDir().mkpath(directory);
    const QString path = directory + QStringLiteral("/merge_renames_%1.txt").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss")));
    QString text = STORED_TEXT("副区 %1:%2/%3 WorldID %4 -> 主区 %5:%6/%7 WorldID %8\n")
                       .arg(m_settings.source.host, QString::number(m_settings.source.port), m_settings.source.charDatabase,
                            QString::number(m_settings.sourceWorldId), m_settings.target.host, QString::number(m_settings.target.port),
                            m_settings.target.charDatabase, QString::number(m_settings.targetWorldId));
    auto section = [&text](const QString &title, const QList<Rename> &records) {
        text += STORED_TEXT("\n%1（%2 个）\n").arg(title).arg(records.size());
        for (const Rename &record : records)
            text += QStringLiteral("%1 -> %2\n").arg(record.from, record.to);
    };
    section(STORED_TEXT("账号改名"), plan.accountRecords);
    section(STORED_TEXT("角色改名"), plan.characterRecords);
    AtomicFile file(path);
    if (!file.open(QFileDevice::ReadOwner | QFileDevice::WriteOwner) || !file.write(text.toUtf8()) || !file.commit()) {
        addLogLine(STORED_TEXT("警告：改名记录文件写入失败：%1").arg(file.errorString()));
        return QString();
    }
    return path;
}

void MergeRun::finish(const MergePlan &plan)
{
    if (!plan.accountRecords.isEmpty() || !plan.characterRecords.isEmpty()) {
        addLogLine(STORED_TEXT("========== 冲突处理记录 =========="));
        auto records = [this](const QList<Rename> &list, const QString &header) {
            if (list.isEmpty())
                return;
            addLogLine(header.arg(list.size()));
            for (int i = 0; i < list.size() && i < kShownRecords; ++i)
                addLogLine(QStringLiteral("  %1 -> %2").arg(list.at(i).from, list.at(i).to));
            if (list.size() > kShownRecords)
                addLogLine(STORED_TEXT("  ... 还有 %1 个未显示").arg(list.size() - kShownRecords));
        };
        records(plan.accountRecords, STORED_TEXT("【账号改名】共 %1 个："));
        records(plan.characterRecords, STORED_TEXT("【角色改名】共 %1 个："));
        m_report->renameFile = writeRenameFile(plan);
        if (!m_report->renameFile.isEmpty())
            addLogLine(STORED_TEXT("全部改名记录: %1").arg(m_report->renameFile));
    }
    m_report->invalidLeftBehind = plan.preflight.invalidLeftBehind;
    m_report->relationsDropped = plan.preflight.relationsDropped;
    m_report->tablesSkipped = plan.preflight.tablesSkipped;
    if (plan.preflight.invalidLeftBehind > 0)
        addLogLine(STORED_TEXT("无效角色（isvalid ≠ 1）未合并: %1 个").arg(plan.preflight.invalidLeftBehind));
    if (plan.preflight.relationsDropped > 0)
        addLogLine(STORED_TEXT("对方角色未合并而未拷贝的关系: %1 条").arg(plan.preflight.relationsDropped));
    if (m_report->namesShortened > 0)
        addLogLine(STORED_TEXT("为放入字段而截短的名字: %1 个").arg(m_report->namesShortened));
    if (m_report->hasLosses()) {
        addLogLine(STORED_TEXT("========== 未完整合并 =========="));
        for (const Message &line : m_report->lossLines())
            addLogLine(line);
    }
}

bool MergeRun::run()
{
    *m_report = MergeReport();
    if (!connectAll() || !beginSourceSnapshot())
        return abort();
    if (!makePlan() || stopped() || !isConfirmedPlan())
        return abort();
    if (!m_plan.preflight.refusals.isEmpty()) {
        for (const Message &refusal : std::as_const(m_plan.preflight.refusals))
            addLogLine(STORED_TEXT("拒绝合区：%1").arg(refusal));
        return abort();
    }
    if (m_plan.preflight.alreadyMerged > 0 && !m_settings.again) {
        addLogLine(STORED_TEXT("拒绝合区：主区已有 %1 个副区角色（账号与创建时间相同），这次合区似乎已经做过").arg(m_plan.preflight.alreadyMerged));
        return abort();
    }
    if (m_settings.backupFirst) {
        stage(2, STORED_TEXT("备份主区数据库"));
        if (stopped() || !backupMergeTarget(m_settings, [this](const Message &line) { addLogLine(line); }))
            return abort();
    }
    if (stopped() || !writeTarget(m_plan))
        return abort();
    cleanSource(m_plan);
    finish(m_plan);
    stage(11, STORED_TEXT("完成"));
    closeAll();
    return true;
}

bool MergeRun::preflight(MergePreflight *result)
{
    Message error;
    bool ok = connectAll() && createGuidTables(m_sourceChar, &error);
    if (ok)
        startReader();
    ok = ok && makePlan();
    *result = m_plan.preflight;
    closeAll();
    return ok;
}

} // namespace MergeRunning
