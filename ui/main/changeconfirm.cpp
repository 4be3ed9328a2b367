#include "changeconfirm.h"
#include <QCoreApplication>

bool confirmChange(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &question,
                   const QList<Message> &shown, const QList<Message> &details, bool undoFile)
{
    QString text = question + QCoreApplication::translate("ChangeConfirm", "\n\n将改动的数据（服务器上统计）:\n");
    text += shown.isEmpty() ? QCoreApplication::translate("ChangeConfirm", "  无") : shownLines(shown).join(QLatin1Char('\n'));
    if (undoFile)
        text += QCoreApplication::translate("ChangeConfirm", "\n\n改动前先写撤销文件，可在“撤销记录”中撤销。");
    text += QCoreApplication::translate("ChangeConfirm", "\n\n确定要继续吗？");
    QMessageBox box(icon, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    if (!details.isEmpty())
        box.setDetailedText(shownLines(details).join(QLatin1Char('\n')));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString undoFileLine(const QString &path)
{
    return path.isEmpty() ? QString() : QCoreApplication::translate("ChangeConfirm", "\n\n撤销文件: %1").arg(path);
}
