#include "undodialog.h"

#include "base/language.h"
#include "db/databasemanager.h"
#include "db/sessiontask.h"
#include "base/storedtext.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QInputDialog>
#include <QLocale>
#include <QFileInfo>
#include <QVBoxLayout>

UndoDialog::UndoDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("撤销记录 - %1").arg(DatabaseManager::instance()->serverLabel()));
    resize(820, 560);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("撤销文件目录: %1").arg(UndoFile::directory()), this));
    m_total = new QLabel(this);
    layout->addWidget(m_total);
    m_table = new QTableWidget(0, 6, this);
    m_table->setHorizontalHeaderLabels({tr("时间"), tr("操作"), tr("服务器"),
                                        tr("数据库"), tr("记录数"), tr("大小")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    layout->addWidget(m_table, 3);
    m_details = new QTextEdit(this);
    m_details->setReadOnly(true);
    layout->addWidget(m_details, 2);
    auto *buttons = new QDialogButtonBox(this);
    m_applyButton = buttons->addButton(tr("执行撤销"), QDialogButtonBox::ActionRole);
    m_applyButton->setObjectName(QStringLiteral("applyBtn"));
    buttons->addButton(tr("刷新"), QDialogButtonBox::ResetRole)->setObjectName(QStringLiteral("reloadBtn"));
    QPushButton *pruneButton = buttons->addButton(tr("清理旧文件..."), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);
    connect(m_applyButton, &QPushButton::clicked, this, &UndoDialog::onApply);
    connect(pruneButton, &QPushButton::clicked, this, &UndoDialog::onPrune);
    connect(buttons->findChild<QPushButton *>(QStringLiteral("reloadBtn")), &QPushButton::clicked, this, &UndoDialog::reload);
    connect(buttons, &QDialogButtonBox::rejected, this, &UndoDialog::reject);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &UndoDialog::onSelectionChanged);
    reload();
}

void UndoDialog::reload()
{
    m_files = UndoFile::list();
    m_table->setRowCount(int(m_files.size()));
    const QLocale locale;
    qint64 total = 0;
    for (int row = 0; row < m_files.size(); ++row) {
        const UndoFile::Summary &file = m_files.at(row);
        qint64 rows = 0;
        for (const QString &count : file.rows)
            rows += count.section(QLatin1Char(' '), -1).toLongLong();
        const qint64 bytes = QFileInfo(file.path).size();
        total += bytes;
        const QStringList cells{file.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), file.operation,
                                file.server, file.database, locale.toString(rows), locale.formattedDataSize(bytes)};
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    m_table->resizeColumnsToContents();
    m_total->setText(tr("共 %Ln 个撤销文件，%1", nullptr, m_files.size()).arg(locale.formattedDataSize(total)));
    if (!m_files.isEmpty())
        m_table->selectRow(0);
    onSelectionChanged();
}

void UndoDialog::onPrune()
{
    bool ok = false;
    const int days = QInputDialog::getInt(this, tr("清理撤销文件"),
                                          tr("删除已执行的撤销文件，以及早于多少天的撤销文件？\n（每个数据库最新的一个撤销文件总会保留）"), 30, 0,
                                          36500, 1, &ok);
    if (!ok)
        return;
    const QList<UndoFile::Prunable> files = UndoFile::prunable(days);
    if (files.isEmpty()) {
        QMessageBox::information(this, tr("清理撤销文件"), tr("没有要删除的撤销文件"));
        return;
    }
    qint64 bytes = 0;
    QStringList names;
    for (const UndoFile::Prunable &file : files) {
        bytes += file.bytes;
        names << (file.applied ? tr("%1（已执行）").arg(QFileInfo(file.path).fileName()) : QFileInfo(file.path).fileName());
    }
    QMessageBox confirm(QMessageBox::Question, tr("清理撤销文件"),
                        tr("将删除 %Ln 个撤销文件，共 %1。删除后不能再用它们撤销。\n\n确定要继续吗？", nullptr, files.size())
                            .arg(QLocale().formattedDataSize(bytes)),
                        QMessageBox::Yes | QMessageBox::No, this);
    confirm.setDetailedText(names.join(QLatin1Char('\n')));
    confirm.setDefaultButton(QMessageBox::No);
    if (confirm.exec() != QMessageBox::Yes)
        return;
    Message error;
    if (!UndoFile::prune(files, &error))
        QMessageBox::warning(this, tr("失败"), error.shown());
    else
        emit logMessage(STORED_COUNT("已删除 %Ln 个撤销文件").count(files.size()));
    reload();
}

void UndoDialog::onSelectionChanged()
{
    const int row = m_table->currentRow();
    const bool chosen = row >= 0 && row < m_files.size() && m_table->selectionModel()->hasSelection();
    m_applyButton->setEnabled(chosen && !m_task);
    m_details->setPlainText(chosen ? shownLines(UndoFile::describe(m_files.at(row))).join(QLatin1Char('\n')) + QLatin1Char('\n')
                                         + tr("文件: %1").arg(m_files.at(row).path)
                                   : tr("没有撤销文件"));
}

void UndoDialog::onApply()
{
    const int row = m_table->currentRow();
    if (row < 0 || row >= m_files.size())
        return;
    const UndoFile::Summary file = m_files.at(row);
    DatabaseManager *session = DatabaseManager::instance();
    if (const Message refusal = session->busyRefusal(); !refusal.isEmpty() || !session->isConnected()) {
        QMessageBox::warning(this, tr("提示"), refusal.isEmpty() ? tr("请先连接数据库") : refusal.shown());
        return;
    }
    // The file and its checks run before the question (and roll back); the undo runs them again.
    // It acts on the session's server and on the databases of its entry alone.
    UndoFile::ApplyOptions options;
    options.checkOnly = true;
    options.databases = QStringList{session->storedConfig().database, session->storedConfig().accountDatabase};
    options.databases.removeAll(QString());
    UndoFile::Applied check = UndoFile::apply(session->database(), file.path, options);
    if (!check.ok && check.otherServer) {
        QMessageBox moved(QMessageBox::Warning, tr("服务器不同"),
                          tr("这个撤销文件写于另一台服务器。\n\n文件: %1\n当前服务器: %2\n\n"
                             "只有当这确实是同一台服务器（迁移过）时才能继续。它是同一台服务器吗？")
                              .arg(check.fileServer, check.thisServer),
                          QMessageBox::Yes | QMessageBox::No, this);
        moved.setDefaultButton(QMessageBox::No);
        if (moved.exec() != QMessageBox::Yes)
            return;
        options.serverMoved = true;
        check = UndoFile::apply(session->database(), file.path, options);
    }
    if (!check.ok) {
        QMessageBox::warning(this, tr("无法撤销"), check.error.shown());
        return;
    }
    QMessageBox confirm(QMessageBox::Warning, tr("确认撤销"),
                        tr("将在 %1 上执行撤销文件，放回“%2”改动的数据。\n\n%3\n\n确定要继续吗？")
                            .arg(session->serverLabel(), file.operation, shownLines(UndoFile::describe(file)).join(QLatin1Char('\n'))),
                        QMessageBox::Yes | QMessageBox::No, this);
    confirm.setDefaultButton(QMessageBox::No);
    if (confirm.exec() != QMessageBox::Yes)
        return;
    const QString path = file.path;
    auto failure = std::make_shared<QString>();
    Message refusal;
    options.checkOnly = false;
    m_task = SessionTask::start(STORED_TEXT("撤销"), [path, failure, options](QSqlDatabase &db, SessionTask &task) {
        task.log(STORED_TEXT("执行撤销文件: %1").arg(path));
        const UndoFile::Applied applied = UndoFile::apply(db, path, options);
        if (!applied.notice.isEmpty())
            task.log(applied.notice);
        *failure = applied.error;
        return applied.ok;
    }, this, &refusal);
    if (!m_task) {
        QMessageBox::warning(this, tr("提示"), refusal.shown());
        return;
    }
    m_applyButton->setEnabled(false);
    connect(m_task, &SessionTask::logMessage, this, &UndoDialog::logMessage);
    connect(m_task, &SessionTask::finished, this, [this, path, failure](bool ok, bool) {
        m_task->deleteLater();
        m_task = nullptr;
        emit logMessage(ok ? STORED_TEXT("撤销完成: %1").arg(path) : STORED_TEXT("撤销失败: %1").arg(*failure));
        if (m_closeWhenDone) {
            QDialog::reject();
            return;
        }
        if (ok)
            QMessageBox::information(this, tr("完成"), tr("撤销完成，数据已放回。\n\n%1").arg(path));
        else
            QMessageBox::warning(this, tr("失败"), *failure);
        reload();
    });
}

void UndoDialog::reject()
{
    // A running undo is one short transaction: the window closes when it has ended.
    if (m_task) {
        m_closeWhenDone = true;
        return;
    }
    QDialog::reject();
}
