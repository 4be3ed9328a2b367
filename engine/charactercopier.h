#pragma once

#include "db/operationcontext.h"

#include <QHash>
#include <QMap>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Copies one character into another account of the same database, with its rows in the
// related tables, its items, pets, banked pets and pet items, in one transaction on the
// connection it is given. Rows are copied by the server, so every byte of every column stays
// as stored. It reports each step to the operation's context and polls its cancel between
// steps (a cancel rolls the copy back).
class CharacterCopier
{
public:
    // Every table a copy adds rows to: t_char, copiedCharacterTables, the items, pets, banked pets and pet items.
    static QStringList addedTables();
    static constexpr int progressSteps = 21;

    explicit CharacterCopier(QSqlDatabase db, const OperationContext &context = {});
    // A copy writes an undo file inside its transaction (removing the copy again, and setting
    // the counter back while the game has created nobody since), unless this is switched off;
    // undoPath() names the file of the last committed copy.
    void setWriteUndo(bool write) { m_writeUndo = write; }
    QString undoPath() const { return m_undoPath; }

    // Eight letters drawn from a-z and A-Z.
    static QString randomName();
    // A random name that no character of the session's database has, or empty after a few draws.
    static QString freeRandomName(QSqlDatabase &db);

    // Copies `source` to `account` under `newName` (drawn again when taken). On success *newGuid
    // and *usedName hold the copy's id and name; on failure *failure holds the text for the
    // operator, and nothing has changed.
    bool copyCharacter(int source, const QString &account, const QString &newName, int *newGuid,
                       QString *usedName, Message *failure);

private:
    using PetMap = QMap<QPair<qint64, qint64>, QPair<qint64, qint64>>;

    bool copyPets(QSqlDatabase &db, int source, int newGuid, int world, const QStringList &present, Message *error);
    // INSERT INTO table SELECT ... FROM table WHERE <where>, every column but aid, the named ones
    // replaced by bound values (QByteArray values are legacy text bytes). Returns the rows
    // copied, or -1 with *error.
    qint64 copyRows(QSqlDatabase &db, const QString &table, const QMap<QString, QVariant> &replacements,
                    const QString &where, const QVariantList &whereValues, Message *error);

    // Column lists read during one copy; items and pets are copied row by row.
    QHash<QString, QStringList> m_columns;
    QSqlDatabase m_db;
    OperationContext m_context;
    bool m_writeUndo = true;
    QString m_undoPath;
};
