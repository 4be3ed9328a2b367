#pragma once

#include "db/hostconfig.h"
#include "sampledatabase.h"

#include <QMap>
#include <QString>
#include <QStringList>

// A throw-away MariaDB server on 127.0.0.1, reachable over TCP as root with a password; or a
// server named in QUORVEL_TEST_SERVERS ("PORT" or "HOST:PORT", comma-separated).
struct TestServer
{
    QString dir;   // its data folder, when this process started it
    QString host = QStringLiteral("127.0.0.1");
    int port = 0;
    QString password;

    bool isValid() const { return port > 0; }
    HostConfig hostConfig(const QString &database = QStringLiteral("vexadb_main")) const;
};

// A world's id counter and the first id above it that was taken (by a character or another
// world's counter), 2^31 for none: the ids the game will hand out next lie between the two.
struct WorldIds
{
    qint64 counter = 0;
    qint64 firstTaken = 0;
};

namespace TestServers {

// Server number `index` of the shared servers. The test command starts them and names their
// ports in QUORVEL_TEST_SERVERS; without it this process starts its own, stopped at exit.
TestServer shared(int index = 0);

// The global SQL mode the test servers run with: MySQL 8.0's default in a run with
// QUORVEL_TEST_SQL_MODE (ONLY_FULL_GROUP_BY, the zero-date flags), MariaDB's otherwise.
QByteArray serverSqlMode();
// Whether this run is the one again in MySQL 8.0's SQL mode (QUORVEL_TEST_SQL_MODE): tests of
// what the server's mode cannot change skip it.
bool sqlModeRun();

// A server of this test alone (for tests that stop and start it). Stopped at exit.
TestServer startPrivate();

bool stop(const TestServer &server);
// Kills a private server's process at once, as a crash would.
void kill(const TestServer &server);
bool start(const TestServer &server);

// Runs SQL through the mysql client; false (with the client's output in a warning) on failure.
bool runSql(const TestServer &server, const QByteArray &sql, const QString &database = QString());

// Output of a query through the mysql client in batch mode, or an empty text on failure.
QString querySql(const TestServer &server, const QString &sql, const QString &database = QString());

// The first column of a query's rows as integers.
QList<int> queryInts(const TestServer &server, const QString &sql, const QString &database = QString());

// CHECKSUM TABLE of each table of `database`, keyed by the bare table name, so that two
// databases of the same tables compare equal.
QMap<QString, QString> tableChecksums(const TestServer &server, const QString &database, const QStringList &tables);

// CHECKSUM TABLE of every table of each database, keyed "database.table".
QMap<QString, QString> databaseChecksums(const TestServer &server, const QStringList &databases);

// Connects the session to `database` and applies the undo file `resultText` names (after
// "撤销文件: ", or the whole text as its path) as the program does; the error, empty on success.
QString applyUndo(const TestServer &server, const QString &database, const QString &resultText);

// The 256 byte values in order.
QByteArray allByteValues();

// Creates `target` with `tables` of `source`, less the rows of the characters that `doomed` (a
// query of charguids on `source`) selects and the relations that point at them; t_var whole.
bool copySurvivors(const TestServer &server, const QString &source, const QString &target, const QString &doomed,
                   const QStringList &tables);

// Copies `tables` of `database` (all of them when none are named) from one server to another,
// as a server moved with its data would hold them.
bool copyTables(const TestServer &from, const TestServer &to, const QString &database, const QStringList &tables = {});

QMap<int, WorldIds> worldIds(const TestServer &server, const QString &database);

// What an operation broke in the game's id allocation, compared with `before`: a world in
// which the game's own creation fails (its procedure, rolled back), a counter that moved other
// than `receivingWorld`'s (which may only rise), or a next id now taken. Empty when none.
QStringList idFaults(const TestServer &server, const QString &database, const QMap<int, WorldIds> &before,
                     int receivingWorld = 0);

// Loads a generated sample database into the server.
bool loadSample(const TestServer &server, const SampleOptions &options);

// A small sample: `database` with the account database `database`_web, the given worlds of
// `perWorld` characters each, charguids from 1.
SampleOptions smallSample(const QString &database, const QList<int> &worlds, int perWorld);

// Takes the shared server, loads `options` into it and connects the session to its character
// database, with its first account database as the entry's; false on any failure.
bool loadAndConnect(TestServer *server, const SampleOptions &options);

// Registers the MariaDB ODBC driver under `driverName` in a private odbcinst.ini in `dir`
// and points unixODBC at it (ODBCSYSINI). False when the driver library is not installed.
bool installPrivateOdbcDriver(const QString &dir, const QString &driverName);

// Whether this run goes through the ODBC path (QUORVEL_TEST_ODBC=1): the native plug-in is
// off from the start, with the MariaDB ODBC driver registered under a name the program tries.
bool odbcRun();
// Whether this run is one of the two reruns (ODBC, MySQL's SQL mode). They exist for what differs
// there, the connection rule, text binding and literal writing: a dialog's own behaviour, or a
// file refused before it reaches a driver, is tested once.
bool rerun();
// For tests that choose a driver: in an ODBC run the native plug-in stays off.
void useNativeDriver(bool native);
// In an ODBC run, a qt.conf beside a copied program whose plug-in folder holds the ODBC SQL
// plug-in alone, as a Windows deployment without the native plug-in has it. True otherwise.
bool hideNativeDriver(const QString &programDirectory);

// The files under `directory` (logs, undo files, backups, exports, rename lists; the host list
// aside, which keeps passwords by design) that hold the test servers' password, as typed or
// as an ODBC connection string writes it.
QStringList filesHoldingPassword(const QString &directory);

// The files under `directory` (or that file) that other users of the machine could read: logs, undo files,
// backups, exports and rename lists hold player names, accounts and password hashes.
QStringList filesOthersCanRead(const QString &directory);

// Starts (emptied) or stops recording every statement the server runs, in mysql.general_log.
void recordStatements(const TestServer &server, bool on);
// The recorded statements that name a temporary table (one a recorded statement created) more
// than once, which MySQL refuses ("Can't reopen table", error 1137).
QStringList statementsNamingATemporaryTableTwice(const TestServer &server);

// Folder of this source tree's scripts.
QString scriptsDirectory();

} // namespace TestServers
