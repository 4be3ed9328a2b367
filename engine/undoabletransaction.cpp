#include "undoabletransaction.h"

#include "db/storedtext.h"


#include <QSqlError>

UndoableTransaction::UndoableTransaction(QSqlDatabase db)
    : m_db(db)
{
}

UndoableTransaction::~UndoableTransaction()
{
    rollback();
}

bool UndoableTransaction::begin(const QString &operation, bool writeUndo, QString *error)
{
    m_path.clear();
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

bool UndoableTransaction::commit(QString *error)
{
    if (!m_active) {
        *error = STORED_TEXT("事务未开始");
        return false;
    }
    if (m_withUndo && !m_undo.finish(error)) {
        *error = STORED_TEXT("撤销文件写入失败，已回滚，未做任何修改: %1").arg(*error);
        rollback();
        return false;
    }
    if (!m_db.commit()) {
        *error = STORED_TEXT("提交事务失败，已回滚: %1").arg(m_db.lastError().text());
        m_undo.discard();
        rollback();
        return false;
    }
    m_active = false;
    if (m_withUndo)
        m_path = m_undo.path();
    return true;
}

void UndoableTransaction::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    m_db.rollback();
    m_undo.discard();
}
