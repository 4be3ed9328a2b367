#pragma once

#include "base/message.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

class QSqlDatabase;

// The character editor's writes, on any connection. A change is a t_char column and its new
// value: a text as its GBK bytes (QByteArray), a number as an int.
namespace CharacterEdit {

using Changes = QList<QPair<QString, QVariant>>;

// The t_char columns the editor changes, in the order a save writes them.
const QStringList &editableColumns();
// Those of them that hold text: accname, charname and title.
bool isTextColumn(const QString &column);

// One save of the editor: the character and its changed columns.
struct Request
{
    int charguid = 0;
    Changes changes;
};

struct Preview
{
    Message refusal;  // what the operator must correct first ("角色名过长：…")
    Message failure;  // the server could not be asked
    int newWorld = 0; // a changed zoneworldid: the save moves the character there
};

// Whether the changes may be saved: texts not empty and within their column (in bytes where the
// column holds legacy text, never cutting a GBK character), a new name not taken as the name's
// unique index compares it, a new world that exists.
Preview preview(QSqlDatabase &db, const Request &request);

struct Result
{
    bool ok = false;
    Message failure;   // why it was rolled back
    QString undoPath;  // sets the changed columns back
};

// Saves the changes in one transaction with an undo file that sets the changed columns back;
// a changed world moves the character as the transfer does, its items with it.
Result save(QSqlDatabase &db, const Request &request);

// The smaller edits of the editor's tabs. False with *error.
bool setBanEnd(QSqlDatabase &db, int charguid, qint64 until, Message *error);
bool deleteBuff(QSqlDatabase &db, int charguid, qint64 aid, Message *error);
// The number of buffs removed, or -1 with *error.
int clearBuffs(QSqlDatabase &db, int charguid, Message *error);
// Sets the xinfa row's id and level; a value of -1 stays as it is.
bool setXinfa(QSqlDatabase &db, qint64 aid, int id, int level, Message *error);

} // namespace CharacterEdit
