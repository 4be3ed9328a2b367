#pragma once

#include "base/message.h"

#include <QList>
#include <QMap>
#include <QString>

class QSqlDatabase;

// Character ids as the game hands them out. Each world has a counter in t_var (worldid,
// maxcharguid; the counter itself is the key, so no two worlds share a value) and a range of
// ids of its own; the game creates a character by raising its world's counter by one and
// inserting with that id. Every operation that gives a character a new id takes it here, so
// that the game's own creation keeps working in every world.
//
// Older deployments keep t_var without worldid: one maxcharguid row per world's range, in
// ascending order. A counter then belongs to the world whose characters hold most of the ids
// from the counter below it up to it; a world with no characters there has no counter known.
class CharGuidLedger
{
public:
    static constexpr int kNoLock = -1;
    // Reads every world's counter and how far it may go. With `lockedWorld` that world's
    // counter stays locked until the caller's transaction ends, so the game creates nobody
    // there meanwhile; the other worlds go on creating characters (their counters only move
    // within their own ranges, which bound this world's from outside). False with the reason
    // in *error (no t_var table, no counter of the locked world, or a world with more than one).
    bool read(QSqlDatabase &db, int lockedWorld, Message *error);

    bool hasWorld(int world) const { return m_worlds.contains(world); }
    QList<int> worlds() const { return m_worlds.keys(); }
    // The worlds for a message: "1, 2, 10".
    QString worldList() const;
    qint64 counter(int world) const { return m_worlds.value(world).counter; }

    // Whether some world's counter can still reach `id`: it lies above the counter and below
    // the first id of another world (that world's counter or one of its characters).
    bool isNextId(qint64 id) const;

    // The next `count` ids of the world as the game would hand them out: counter + 1, + 2, ...,
    // skipping ids that its own characters hold. False, with the numbers in *error, when they
    // would run into another world's ids. Writes nothing.
    bool allocate(QSqlDatabase &db, int world, int count, QList<int> *ids, Message *error) const;

    // Sets the world's counter to `value`, which must change exactly one row; by the row the
    // ledger locked, when it locked that world's.
    bool setCounter(QSqlDatabase &db, int world, qint64 value, Message *error);

    // Whether t_var names its worlds (worldid) or keeps one counter per range only.
    bool hasWorldColumn() const { return m_worldColumn; }
    // The statement that sets the world's counter back from `from` to `to` while it still
    // stands at `from` (the game created nobody since), with %1 where t_var stands: for undo files.
    QString counterBack(int world, qint64 from, qint64 to) const;

    // The counters of every world, by the layout the table has; false with *error when t_var
    // cannot be read. `worldColumn` says which layout it is.
    static bool readCounters(QSqlDatabase &db, QMap<int, qint64> *counters, bool *worldColumn, Message *error);

private:
    struct World
    {
        qint64 counter = 0;
        qint64 limit = 0;   // the first id the counter must not reach
        Message limitText;  // what that id is, for messages
    };
    QMap<int, World> m_worlds;
    bool m_worldColumn = true;
    // The unique column the locked world's row was locked by, and its value: a lock on the
    // row alone, never on the gaps beside it, where other worlds' counters move.
    QString m_lockedColumn;
    qint64 m_lockedKey = 0;
};
