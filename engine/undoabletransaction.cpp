#include "undoabletransaction.h"

#include "base/debuglog.h"
#include "commitcheck.h"
#include "base/storedtext.h"

#include <QSqlError>

UndoableTransaction::UndoableTransaction(QSqlDatabase db)
    : m_db(db)
{
}

UndoableTransaction::~UndoableTransaction()
{
    rollback();
}

bool UndoableTransaction::begin(const QString &operation, bool writeUndo, Message *error)
{
    m_path.clear();
    m_connection = CommitCheck::connectionId(m_db);
    if (!m_db.transaction()) {
        *error = STORED_TEXT("开启事务失败: %1").arg(m_db.lastError().text());
        return false;
    }
    m_active = true;
    m_withUndo = writeUndo;
    if (writeUndo && !m_undo.begin(m_db, operation, error)) {
        *error = STORED_TEXT("撤销文件无法写入，未做任何修改: %1").arg(*error);
        rollback();
        return false;
    }
    return true;
}

bool UndoableTransaction::commit(Message *error)
{
    if (!m_active) {
        *error = STORED_TEXT("事务未开始");
        return false;
    }
    if (m_withUndo && !m_undo.finish(m_db, error)) {
        *error = STORED_TEXT("撤销文件写入失败，已回滚，未做任何修改: %1").arg(*error);
        rollback();
        return false;
    }
    if (m_db.commit()) {
        m_active = false;
        if (m_withUndo)
            m_path = m_undo.path();
        return true;
    }
    // The COMMIT may have reached the server and its answer been lost: what the server holds
    // now decides, never the error alone.
    m_active = false;
    const QString lost = m_db.lastError().text();
    QString detail;
    const CommitCheck::Outcome outcome = CommitCheck::settle(m_db, m_connection, m_withUndo ? m_undo.identity() : UndoScript::ServerIdentity(),
                                                             m_withUndo ? m_undo.probes() : QList<CommitCheck::Probe>(), &detail);
    QString line;
    bool ok = false;
    switch (outcome) {
    case CommitCheck::Outcome::Committed:
        ok = true;
        m_path = m_undo.path();
        line = STORED_TEXT("提交时连接中断（%1）；重新连接后核对：已提交").arg(lost);
        break;
    case CommitCheck::Outcome::RolledBack:
        m_undo.discard();
        *error = line = STORED_TEXT("提交事务失败（%1）；核对结果：未提交，数据没有改动（%2）").arg(lost, detail);
        break;
    case CommitCheck::Outcome::Unknown:
        *error = line = m_withUndo ? STORED_TEXT("提交时连接中断（%1），结果未知：无法确认操作是否已提交（%2）。撤销文件保留在 %3；"
                                                 "服务器恢复后用 quorvel-cli undo %3 预演（不加 --yes）：检查通过说明操作已提交，"
                                                 "需要时再加 --yes 撤销；检查未通过说明操作没有提交或数据已被改动")
                                         .arg(lost, detail, m_undo.path())
                                   : STORED_TEXT("提交时连接中断（%1），结果未知：无法确认操作是否已提交（%2）。请重新连接后查看数据")
                                         .arg(lost, detail);
        break;
    }
    debugLog(line);
    if (ok && m_log)
        m_log(line);
    return ok;
}

void UndoableTransaction::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    m_db.rollback();
    m_undo.discard();
}
