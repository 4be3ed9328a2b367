#pragma once

#include "base/message.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The statements of an undo file, as the program writes them and as it accepts them back.
//
// A statement is taken apart into tokens the way the server reads them (identifiers in
// backquotes, hexadecimal and numeric literals, the few quoted texts the program writes,
// which hold no quote, backslash or comment), and it is accepted only when it has exactly one
// of the shapes below, ends in its only ";" and holds no comment. Nothing else reaches the
// server: a file with any other statement, or with a statement in a section where the program
// does not write it, is refused whole before anything runs.
namespace UndoScript {

enum class Shape {
    Session,           // SET SESSION sql_mode/time_zone/foreign_key_checks to the file's fixed values
    StartTransaction,  // START TRANSACTION
    ServerCheck,       // the server the file was written on, or stop
    CheckValue,        // SET @quorvel_check = (SELECT <aggregate> FROM <table> WHERE <keys>)
    CheckCompare,      // the value the check must have, or stop
    Delete,            // DELETE FROM <table> WHERE <column> IN (<literals>)
    Insert,            // INSERT INTO <table> (<columns>) VALUES (<literals>), ...
    SetBack,           // UPDATE <table> AS u JOIN (<rows of literals>) AS v ON <key> SET <columns>
    CounterBack,       // UPDATE <table> SET maxcharguid = N WHERE worldid = N AND maxcharguid = N
    ValuePiece,        // SET @quorvel_vN = X'..' or CONCAT(@quorvel_vN, X'..')
    ValueCheck,        // the assembled value's digest (older files: its length), or stop
    ValueFree,         // SET @quorvel_vN = NULL
    Commit,            // COMMIT
};

struct Statement
{
    Shape shape = Shape::Commit;
    // CheckValue: the query whose value is checked, and its parts; CheckCompare: the value
    // expected and the check's number; ServerCheck: the check's number.
    QByteArray query;
    QByteArray table;       // `database`.`table`
    QByteArray key;         // the key column, in backquotes; empty for other conditions
    QByteArray aggregate;
    QByteArray keys;        // the literals of the IN list, comma-separated
    QByteArray expected;
    int check = 0;
};

// Parses one statement (its text up to and including the ";"). False with *why when it is not
// one of the shapes.
bool parse(const QByteArray &text, Statement *statement, Message *why);

// Where a statement may stand in the file: before the "-- changes" line (the setup and the
// checks, all of which a rehearsal runs and rolls back) or after it (the changes).
bool belongsToChecks(Shape shape);

// The identity of a server as the file names it, and the expression that gives it on the
// server: @@server_uuid where the server has one (MySQL), else its host name, port and data
// folder (MariaDB has no server id of its own).
struct ServerIdentity
{
    QString kind;   // "uuid" or "host"
    QByteArray value;
    bool isValid() const { return !kind.isEmpty(); }
    QString text() const { return kind + QLatin1Char(' ') + QString::fromUtf8(value); }
    static ServerIdentity fromText(const QString &text);
};
QByteArray identityExpression(const QString &kind);

// The statement that stops a file on any other server than `identity`'s.
QByteArray serverCheck(const ServerIdentity &identity, int number);
// The statement that stops a file when @quorvel_check is not `expected`.
QByteArray checkCompare(const QByteArray &expected, int number);

} // namespace UndoScript
