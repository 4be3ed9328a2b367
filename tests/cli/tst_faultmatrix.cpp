// Every operation that changes data against every fault that applies to it, with one
// assertion each: what the operation reports equals what it did. Success comes with the whole
// effect, failure with none (CHECKSUM TABLE of every table before and after), and commands
// name the server they act on. Driven through quorvel-cli where the command exists, through
// the engine (or the editor window) otherwise.
#include "base/debuglog.h"
#include "db/databasemanager.h"
#include "engine/accountstore.h"
#include "engine/characterdeleter.h"
#include "engine/characteroperation.h"
#include "engine/undofile.h"
#include "modalanswer.h"
#include "testservers.h"
#include "ui/characters/charactereditdialog.h"
#include "db/hoststore.h"

#include <QLineEdit>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kDb = QStringLiteral("fault_db");
const QString kWeb = QStringLiteral("fault_db_web");
const QString kSource = QStringLiteral("fault_src");
const int kGuid = 3;  // a character of world 1

// How each operation is blocked mid-way, so that its connection or its program can be killed
// there: a session of the test holds these locks.
const QMap<QString, QByteArray> kLocks = {
    {QStringLiteral("wipe"), "SELECT * FROM fault_db.t_char WHERE zoneworldid = 1 FOR UPDATE"},
    {QStringLiteral("delete"), "SELECT * FROM fault_db.t_char WHERE charguid = 3 FOR UPDATE"},
    {QStringLiteral("transfer"), "SELECT * FROM fault_db.t_char WHERE charguid = 3 FOR UPDATE"},
    {QStringLiteral("copy"), "SELECT * FROM fault_db.t_var FOR UPDATE"},
    {QStringLiteral("repair"), "SELECT * FROM fault_db.t_skill WHERE charguid = 3 FOR UPDATE"},
    {QStringLiteral("editor"), "SELECT * FROM fault_db.t_char WHERE charguid = 3 FOR UPDATE"},
    {QStringLiteral("register"), "SELECT * FROM fault_db_web.account FOR UPDATE"},
    {QStringLiteral("points"), "SELECT * FROM fault_db_web.account FOR UPDATE"},
    {QStringLiteral("batch points"), "SELECT * FROM fault_db_web.account FOR UPDATE"},
    {QStringLiteral("account delete"), "SELECT * FROM fault_db_web.account FOR UPDATE"},
    {QStringLiteral("backup"), "LOCK TABLES fault_db.t_var WRITE"},
    {QStringLiteral("restore"), "LOCK TABLES fault_db.t_xiulian WRITE"},
    {QStringLiteral("merge"), "SELECT * FROM fault_db.t_var WHERE worldid = 1 FOR UPDATE"},
    {QStringLiteral("merge-same"), "SELECT * FROM fault_db.t_char WHERE zoneworldid = 2 FOR UPDATE"},
    {QStringLiteral("undo"), "SELECT * FROM fault_db.t_char FOR UPDATE"},
};
// The sessions that wait for a lock another holds.
const QString kWaiting = QStringLiteral("SELECT ID FROM information_schema.PROCESSLIST WHERE STATE LIKE '%metadata lock%' UNION "
                                        "SELECT trx_mysql_thread_id FROM information_schema.INNODB_TRX WHERE trx_state = 'LOCK WAIT' LIMIT 1");
const QStringList kCommands = {QStringLiteral("wipe"), QStringLiteral("backup"), QStringLiteral("restore"), QStringLiteral("merge"),
                               QStringLiteral("merge-same"), QStringLiteral("undo")};
// Operations that write an undo file (or, the backup, a dump) before they change anything.
const QStringList kWritesFiles = {QStringLiteral("wipe"), QStringLiteral("delete"), QStringLiteral("transfer"), QStringLiteral("copy"),
                                  QStringLiteral("repair"), QStringLiteral("editor"), QStringLiteral("batch points"),
                                  QStringLiteral("account delete"), QStringLiteral("backup"), QStringLiteral("merge"),
                                  QStringLiteral("merge-same")};
// A second session's change while the operation waits for the lock in the first column, after
// it read what it acts on: a character moves out of the wiped zone, a row the transfer will set
// back changes, the copy's confirmed name is taken.
const QMap<QString, QPair<QByteArray, QByteArray>> kMeanwhile = {
    {QStringLiteral("wipe"), {"SELECT * FROM fault_db.t_ability WHERE charguid = 3 FOR UPDATE",
                              "UPDATE fault_db.t_char SET zoneworldid = 2 WHERE charguid = 3"}},
    {QStringLiteral("transfer"), {"SELECT * FROM fault_db.t_iteminfo WHERE charguid = 3 FOR UPDATE",
                                  "UPDATE fault_db.t_char SET zoneworldid = 1, level = level + 1 WHERE charguid = 3"}},
    {QStringLiteral("copy"), {"SELECT * FROM fault_db.t_var FOR UPDATE", "UPDATE fault_db.t_char SET charname = 'Faultcpy' WHERE charguid = 4"}},
};
// What the game may change after an operation in the rows its undo file sets back or removes
// (or puts back, for a deletion: an id taken again).
const QMap<QString, QByteArray> kChangedSince = {
    {QStringLiteral("wipe"), "INSERT INTO fault_db.t_char (charguid, charname, accname, zoneworldid) VALUES (3, 'again', 'again', 1);"},
    {QStringLiteral("delete"), "INSERT INTO fault_db.t_char (charguid, charname, accname, zoneworldid) VALUES (3, 'again', 'again', 1);"},
    {QStringLiteral("transfer"), "UPDATE fault_db.t_iteminfo SET world = 1 WHERE charguid = 3;"},
    {QStringLiteral("copy"), "UPDATE fault_db.t_char SET level = level + 1 WHERE charname = 'Faultcpy';"},
    {QStringLiteral("repair"), "UPDATE fault_db.t_skill SET sktime = sktime + 1 WHERE charguid = 3;"},
    {QStringLiteral("editor"), "UPDATE fault_db.t_char SET level = level + 1 WHERE charguid = 3;"},
    {QStringLiteral("batch points"), "UPDATE fault_db_web.account SET point = point + 100 WHERE name = 'w1u0@qq.com';"},
    {QStringLiteral("account delete"), "INSERT INTO fault_db_web.account (name) VALUES ('w1u0@qq.com');"},
    {QStringLiteral("merge"), "UPDATE fault_db_web.account SET point = point + 100000, password = MD5('new') "
                              "WHERE name IN (SELECT name FROM fault_src_web.account);"},
    {QStringLiteral("merge-same"), "UPDATE fault_db.t_char SET zoneworldid = 2 WHERE charguid = 1000001;"},
};
} // namespace

class TestFaultMatrix : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void reportEqualsEffect_data();
    void reportEqualsEffect();
    void undoFileFitsOnlyItsOwnData_data();
    void undoFileFitsOnlyItsOwnData();
    void secondSessionMeanwhile_data();
    void secondSessionMeanwhile();
    void twoWipesOfOneZone();

private:
    QMap<QString, QString> checksums() { return TestServers::databaseChecksums(m_server, {kDb, kWeb, kSource}); }
    void loadFixture();
    // Runs the operation; true when it reported success. *output holds what a command printed.
    bool run(const QString &operation, const QString &fault, QString *output);
    void startCommand(QProcess &process, const QString &operation);
    bool runCommand(const QString &operation, const QString &fault, QString *output);
    bool runEngine(const QString &operation, const QString &fault);
    QStringList commandArguments(const QString &operation) const;
    // A session of the test holding the locks `statement` takes, until it is killed.
    QProcess *holdLocks(const QByteArray &statement);
    QProcess *killWaitingConnection();
    QString folder(const QString &operation, bool command) const;

    // Applies an undo file through quorvel-cli (with --server-moved when `moved`) and through
    // the stock client; true when either changed anything. *refused: both refused it.
    bool applyUndo(const TestServer &server, const QString &file, bool moved, bool *refused, QString *output = nullptr);

    TestServer m_server;
    TestServer m_other;  // another server, for the undo files
    QTemporaryDir m_dir;
    QString m_program;
    QString m_dump;      // a whole dump of the fixture's character database
    QString m_undoFile;  // the undo file of the row's setup, for "undo"
    QString m_input;     // the file a restore or undo reads
    QByteArray m_holder; // the connection id of the session holding the locks
};

void TestFaultMatrix::initTestCase()
{
    m_server = TestServers::startPrivate();
    QVERIFY(m_server.isValid());
    m_other = TestServers::shared();
    QVERIFY(m_other.isValid());
    m_program = m_dir.filePath(QStringLiteral("quorvel-cli"));
    QVERIFY(QFile::copy(QStringLiteral(QUORVEL_CLI_PATH), m_program));
    QVERIFY(TestServers::hideNativeDriver(m_dir.path()));
    HostConfig main = m_server.hostConfig(kDb);
    main.name = QStringLiteral("主服");
    main.accountDatabase = kWeb;
    HostConfig sub = m_server.hostConfig(kSource);
    sub.name = QStringLiteral("副服");
    sub.accountDatabase = kSource + QStringLiteral("_web");
    QVERIFY(writeHostConfigs(m_dir.filePath(QStringLiteral("host_configs.json")), {main, sub}));
    loadFixture();
    m_dump = m_dir.filePath(QStringLiteral("whole.sql"));
    QProcess dump;
    dump.setProcessEnvironment([this] {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MYSQL_PWD"), m_server.password);
        return env;
    }());
    dump.start(QStringLiteral("mariadb-dump"), {QStringLiteral("--no-defaults"), QStringLiteral("-h127.0.0.1"), QStringLiteral("-P%1").arg(m_server.port),
                                                QStringLiteral("-uroot"), QStringLiteral("--routines"), QStringLiteral("-r") + m_dump, kDb});
    QVERIFY(dump.waitForFinished(60000) && dump.exitCode() == 0);
}

void TestFaultMatrix::cleanupTestCase()
{
    for (const QString &database : {kDb, kWeb, kSource, kSource + QStringLiteral("_web")})
        TestServers::runSql(m_other, "DROP DATABASE IF EXISTS `" + database.toUtf8() + "`;");
    // No log, undo file, backup, export or rename list holds the password, on either driver.
    for (const QString &directory : QStringList{m_dir.path(), applicationDirectory()})
        QCOMPARE(TestServers::filesHoldingPassword(directory), QStringList());
    DatabaseManager::instance()->disconnectFromDatabase();
}

void TestFaultMatrix::loadFixture()
{
    SampleOptions options = TestServers::smallSample(kDb, {1, 2}, 8);
    QVERIFY(TestServers::loadSample(m_server, options));
    options = TestServers::smallSample(kSource, {5}, 6);
    options.firstCharGuid = 5000;
    options.seed += 1;
    QVERIFY(TestServers::loadSample(m_server, options));
    // A duplicated skill for the repair, and GBK bytes in a name.
    QVERIFY(TestServers::runSql(m_server, "INSERT INTO t_skill (charguid, skid, sktime) SELECT charguid, skid, sktime + 1 FROM t_skill "
                                          "WHERE charguid = 3 LIMIT 1; UPDATE t_char SET charname = X'BDA3D0C45C' WHERE charguid = 4;", kDb));
}

void TestFaultMatrix::reportEqualsEffect_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("succeeds");
    for (const QString &operation : kLocks.keys()) {
        QTest::newRow(qPrintable(operation + QStringLiteral(" / none"))) << operation << QStringLiteral("none") << true;
        QTest::newRow(qPrintable(operation + QStringLiteral(" / server stopped"))) << operation << QStringLiteral("stopped") << false;
        QTest::newRow(qPrintable(operation + QStringLiteral(" / connection killed"))) << operation << QStringLiteral("connection") << false;
        if (kCommands.contains(operation))
            QTest::newRow(qPrintable(operation + QStringLiteral(" / program killed"))) << operation << QStringLiteral("program") << false;
        // The editor's row types a name too long for its column, which a lax server would cut.
        QTest::newRow(qPrintable(operation + QStringLiteral(" / sql_mode ''"))) << operation << QStringLiteral("lax")
                                                                                << (operation != QLatin1String("editor"));
        if (kWritesFiles.contains(operation))
            QTest::newRow(qPrintable(operation + QStringLiteral(" / folder unwritable"))) << operation << QStringLiteral("folder") << false;
    }
    for (const QString &operation : {QStringLiteral("restore"), QStringLiteral("undo")}) {
        QTest::newRow(qPrintable(operation + QStringLiteral(" / input cut"))) << operation << QStringLiteral("cut") << false;
        QTest::newRow(qPrintable(operation + QStringLiteral(" / input empty"))) << operation << QStringLiteral("empty") << false;
        QTest::newRow(qPrintable(operation + QStringLiteral(" / input CR LF"))) << operation << QStringLiteral("crlf") << true;
        QTest::newRow(qPrintable(operation + QStringLiteral(" / input of another database"))) << operation << QStringLiteral("other") << false;
    }
}

void TestFaultMatrix::reportEqualsEffect()
{
    QFETCH(QString, operation);
    QFETCH(QString, fault);
    QFETCH(bool, succeeds);
    loadFixture();
    QVERIFY(DatabaseManager::instance()->connectToDatabase(m_server.hostConfig(kDb)));
    QDir(applicationDirectory() + QStringLiteral("/backups")).removeRecursively();
    QDir(m_dir.filePath(QStringLiteral("backups"))).removeRecursively();
    // What a restore and an undo start from: a changed database, and the file that turns it back.
    if (operation == QLatin1String("restore")) {
        QVERIFY(TestServers::runSql(m_server, "UPDATE t_char SET level = level + 1;", kDb));
        m_input = m_dump;
    } else if (operation == QLatin1String("undo")) {
        CharacterDeleter deleter(DatabaseManager::instance()->database());
        Message error;
        QVERIFY2(deleter.deleteCharacter(kGuid, &error), qPrintable(error));
        m_input = m_undoFile = deleter.undoPath();
    }
    if (fault == QLatin1String("cut") || fault == QLatin1String("empty") || fault == QLatin1String("crlf") || fault == QLatin1String("other")) {
        QFile file(m_input);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray text = file.readAll();
        file.close();
        if (fault == QLatin1String("cut"))
            text = text.left(text.size() / 2);
        else if (fault == QLatin1String("empty"))
            text.clear();
        else if (fault == QLatin1String("crlf"))
            text.replace("\n", "\r\n");
        else
            text.replace("fault_db", "fault_xx").prepend(operation == QLatin1String("restore") ? "USE `fault_src`;\n" : "");
        m_input = m_dir.filePath(QStringLiteral("input.sql"));
        QFile out(m_input);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(text) == text.size());
    }
    if (fault == QLatin1String("lax"))
        QVERIFY(TestServers::runSql(m_server, "SET GLOBAL sql_mode = '';"));
    const QMap<QString, QString> before = checksums();
    QString output;
    const bool reported = run(operation, fault, &output);
    if (fault == QLatin1String("stopped"))
        QVERIFY(TestServers::start(m_server));
    if (fault == QLatin1String("lax"))
        QVERIFY(TestServers::runSql(m_server, "SET GLOBAL sql_mode = 'STRICT_TRANS_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION';"));
    QFile::remove(folder(operation, kCommands.contains(operation)));
    const QMap<QString, QString> after = checksums();

    QVERIFY2(reported == succeeds, qPrintable(output));
    if (operation == QLatin1String("backup")) {
        // Only a finished dump takes the backup's name.
        QCOMPARE(after, before);
        QCOMPARE(QFile::exists(m_dir.filePath(QStringLiteral("dumps/dump.sql"))), succeeds);
        QDir(m_dir.filePath(QStringLiteral("dumps"))).removeRecursively();
    } else if (succeeds) {
        QVERIFY(after != before);
    } else if (operation == QLatin1String("restore") && (fault == QLatin1String("connection") || fault == QLatin1String("program"))) {
        // A dump is no transaction: the tables it rewrote before it stopped stay rewritten, which
        // the failure says.
        QVERIFY2(fault == QLatin1String("program") || output.contains(QStringLiteral("部分恢复")), qPrintable(output));
    } else {
        QCOMPARE(after, before);
    }
    // A command names the server it acts on first.
    if (kCommands.contains(operation) && fault != QLatin1String("program"))
        QVERIFY2(output.section(QLatin1Char('\n'), 0, 0).contains(QStringLiteral("127.0.0.1:%1/").arg(m_server.port)), qPrintable(output));
}

void TestFaultMatrix::undoFileFitsOnlyItsOwnData_data()
{
    QTest::addColumn<QString>("operation");
    for (const QString &operation : kChangedSince.keys())
        QTest::newRow(qPrintable(operation)) << operation;
}

void TestFaultMatrix::undoFileFitsOnlyItsOwnData()
{
    // Two more faults for every operation that writes an undo file, applied afterwards:
    // "another server" (the same data, on another server) and "rows changed since" (the game
    // changed what the file would set back or remove). The program and the stock client both
    // refuse and change nothing; the same file then applies where it belongs.
    QFETCH(QString, operation);
    loadFixture();
    QVERIFY(DatabaseManager::instance()->connectToDatabase(m_server.hostConfig(kDb)));
    const QString undoFolder = folder(operation, kCommands.contains(operation));
    QDir(undoFolder).removeRecursively();
    const QMap<QString, QString> before = checksums();
    QString output;
    QVERIFY2(run(operation, QStringLiteral("none"), &output), qPrintable(output));
    const QStringList files = QDir(undoFolder).entryList({QStringLiteral("undo_*.sql")}, QDir::Files, QDir::Time);
    QVERIFY2(!files.isEmpty(), qPrintable(output));
    const QString file = QDir(undoFolder).filePath(files.constFirst());
    const QMap<QString, QString> after = checksums();

    // Another server.
    for (const QString &database : {kDb, kWeb, kSource, kSource + QStringLiteral("_web")})
        QVERIFY(TestServers::copyTables(m_server, m_other, database));
    const auto elsewhere = [this] { return TestServers::databaseChecksums(m_other, {kDb, kWeb, kSource}); };
    const QMap<QString, QString> copied = elsewhere();
    bool refused = false;
    QVERIFY(!applyUndo(m_other, file, false, &refused));
    QVERIFY(refused);
    QCOMPARE(elsewhere(), copied);

    // Rows changed since.
    QCOMPARE(checksums(), after);
    QVERIFY(TestServers::runSql(m_server, kChangedSince.value(operation)));
    const QMap<QString, QString> changed = checksums();
    QVERIFY(!applyUndo(m_server, file, false, &refused, &output));
    QVERIFY(refused);
    QCOMPARE(checksums(), changed);
    // The program names the row that differs.
    if (operation == QLatin1String("editor") || operation == QLatin1String("transfer") || operation == QLatin1String("repair"))
        QVERIFY2(output.contains(QStringLiteral("charguid = 3")) || output.contains(QStringLiteral("aid = ")), qPrintable(output));

    // The other server confirmed as this one, moved: the file applies there, once; the
    // program refuses the applied file, and the stock client stops at its checks.
    QVERIFY(applyUndo(m_other, file, true, &refused));
    QCOMPARE(elsewhere(), before);
    // (A file of the command line's own folder moved to its "applied" folder; one from elsewhere
    // stayed, and the program knows it by its content.)
    const QString applied = QFileInfo(file).absolutePath() + QStringLiteral("/applied/") + QFileInfo(file).fileName();
    QVERIFY(!applyUndo(m_other, QFile::exists(file) ? file : applied, true, &refused));
    QVERIFY(refused);
}

void TestFaultMatrix::secondSessionMeanwhile_data()
{
    QTest::addColumn<QString>("operation");
    for (const QString &operation : kMeanwhile.keys())
        QTest::newRow(qPrintable(operation + QStringLiteral(" / a second session changes the rows meanwhile"))) << operation;
}

void TestFaultMatrix::secondSessionMeanwhile()
{
    // The operation stops at a lock a test session holds; meanwhile another session makes its
    // change (giving up after two seconds of waiting), then the lock goes. Neither may be lost:
    // a change that went through stands, and the operation acted only on what it then held.
    QFETCH(QString, operation);
    loadFixture();
    QVERIFY(DatabaseManager::instance()->connectToDatabase(m_server.hostConfig(kDb)));
    const bool command = kCommands.contains(operation);
    QDir(folder(operation, command)).removeRecursively();
    const QMap<QString, QString> before = checksums();
    const auto [lock, change] = kMeanwhile.value(operation);
    const QString characters = TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_char"), kDb);
    QProcess *holder = holdLocks(lock);
    const QString client = QStringLiteral("mariadb --no-defaults -h127.0.0.1 -P%1 -uroot -N").arg(m_server.port);
    QProcess meanwhile;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MYSQL_PWD"), m_server.password);
    meanwhile.setProcessEnvironment(env);
    meanwhile.start(QStringLiteral("bash"), {QStringLiteral("-c"), QStringLiteral("for i in $(seq 300); do id=$(%1 -e \"%2\"); [ -n \"$id\" ] && break; sleep 0.1; done; "
                                                                                  "%1 -e \"SET SESSION innodb_lock_wait_timeout = 2; %3\" && echo CHANGED; "
                                                                                  "%1 -e \"KILL %4\"")
                                                                   .arg(client, kWaiting, QString::fromUtf8(change), QString::fromLatin1(m_holder))});
    QString output;
    const bool reported = command ? runCommand(operation, QStringLiteral("none"), &output) : runEngine(operation, QStringLiteral("none"));
    QVERIFY(meanwhile.waitForFinished(60000));
    const bool changed = meanwhile.readAllStandardOutput().contains("CHANGED");
    holder->kill();
    holder->waitForFinished(5000);
    delete holder;
    m_holder.clear();
    const auto query = [this](const QString &sql) { return TestServers::querySql(m_server, sql, kDb); };
    if (operation == QLatin1String("wipe")) {
        // The character either moved before the wipe locked the zone, and stays, or the wipe
        // had it locked and deleted it; either way what the wipe deleted is what it reported.
        QVERIFY2(reported, qPrintable(output));
        QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE charguid = 3")), changed ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 1")), QStringLiteral("0"));
    } else if (operation == QLatin1String("transfer")) {
        // The transfer held the character: the change waited in vain, and the undo file puts
        // back exactly what was there.
        QVERIFY(reported && !changed);
        const QStringList files = QDir(folder(operation, false)).entryList({QStringLiteral("undo_*.sql")});
        QCOMPARE(files.size(), 1);
        QCOMPARE(TestServers::applyUndo(m_server, kDb, folder(operation, false) + QLatin1Char('/') + files.constFirst()), QString());
        QCOMPARE(checksums(), before);
    } else {
        // The name confirmed was taken meanwhile: the copy is refused, never made under another.
        QVERIFY(changed && !reported);
        QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM t_char")), characters);
        QCOMPARE(query(QStringLiteral("SELECT GROUP_CONCAT(charguid) FROM t_char WHERE charname = 'Faultcpy'")), QStringLiteral("4"));
    }
}

void TestFaultMatrix::twoWipesOfOneZone()
{
    // A second wipe of the zone started while the first one runs: the first deletes the zone,
    // the second finds it empty when it may look and writes no undo file.
    loadFixture();
    QDir(folder(QStringLiteral("wipe"), true)).removeRecursively();
    const QMap<QString, QString> before = checksums();
    QProcess *holder = holdLocks(kMeanwhile.value(QStringLiteral("wipe")).first);
    // Sessions in a locking read of the zone's rows (INNODB_TRX does not list every waiter).
    const auto waiting = [this] {
        return TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE DB = 'fault_db' AND INFO LIKE '%FOR UPDATE'")).toInt();
    };
    QProcess wipes[2];
    for (int i = 0; i < 2; ++i) {
        startCommand(wipes[i], QStringLiteral("wipe"));
        QVERIFY(QTest::qWaitFor([&] { return waiting() > i; }, 30000));
    }
    TestServers::runSql(m_server, "KILL " + m_holder + ";");
    m_holder.clear();
    for (QProcess &wipe : wipes)
        QVERIFY2(wipe.waitForFinished(60000) && wipe.exitCode() == 0, wipe.readAll().constData());
    holder->kill();
    holder->waitForFinished(5000);
    delete holder;
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 1"), kDb), QStringLiteral("0"));
    // One undo file, and it puts back the whole zone.
    const QStringList files = QDir(folder(QStringLiteral("wipe"), true)).entryList({QStringLiteral("undo_*.sql")});
    QCOMPARE(files.size(), 1);
    QCOMPARE(TestServers::applyUndo(m_server, kDb, folder(QStringLiteral("wipe"), true) + QLatin1Char('/') + files.constFirst()), QString());
    QCOMPARE(checksums(), before);
}

bool TestFaultMatrix::applyUndo(const TestServer &server, const QString &file, bool moved, bool *refused, QString *output)
{
    const QMap<QString, QString> before = TestServers::databaseChecksums(server, {kDb, kWeb, kSource});
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments = {QStringLiteral("undo"), file, QStringLiteral("--server"), QStringLiteral("127.0.0.1:%1").arg(server.port),
                             QStringLiteral("--database"), UndoFile::read(file).database, QStringLiteral("--password-stdin"),
                             QStringLiteral("--yes")};
    if (moved)
        arguments.append(QStringLiteral("--server-moved"));
    process.start(m_program, arguments);
    process.write(server.password.toUtf8() + '\n');
    process.closeWriteChannel();
    process.waitForFinished(60000);
    const bool programApplied = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output)
        *output = QString::fromUtf8(process.readAll());
    bool clientApplied = false;
    if (!programApplied) {
        QFile script(file);
        clientApplied = script.open(QIODevice::ReadOnly) && TestServers::runSql(server, script.readAll());
    }
    *refused = !programApplied && !clientApplied;
    if (*refused && TestServers::databaseChecksums(server, {kDb, kWeb, kSource}) != before)
        qWarning().noquote() << "refused, and yet changed:" << (output ? *output : QString());
    return TestServers::databaseChecksums(server, {kDb, kWeb, kSource}) != before;
}

QString TestFaultMatrix::folder(const QString &operation, bool command) const
{
    const QString base = command ? m_dir.path() : applicationDirectory();
    return operation == QLatin1String("backup") ? m_dir.filePath(QStringLiteral("dumps")) : base + QStringLiteral("/backups/undo");
}

bool TestFaultMatrix::run(const QString &operation, const QString &fault, QString *output)
{
    const bool command = kCommands.contains(operation);
    if (fault == QLatin1String("folder")) {
        // A file where the folder belongs: nothing can be written there.
        const QString path = folder(operation, command);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QDir(path).removeRecursively();
        QFile blocker(path);
        blocker.open(QIODevice::WriteOnly);
    }
    if (fault == QLatin1String("stopped"))
        TestServers::stop(m_server);
    // The sessions open before the operation: not the command's, nor the ones the test kills.
    const QString before = TestServers::querySql(m_server, QStringLiteral("SELECT GROUP_CONCAT(ID) FROM information_schema.PROCESSLIST")).trimmed();
    const QString opened = QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID <> CONNECTION_ID() "
                                          "AND COMMAND <> 'Daemon' AND ID NOT IN (%1)").arg(before.isEmpty() ? QStringLiteral("0") : before);
    QProcess *locks = fault == QLatin1String("connection") || fault == QLatin1String("program") ? holdLocks(kLocks.value(operation)) : nullptr;
    QProcess *killer = fault == QLatin1String("connection") ? killWaitingConnection() : nullptr;
    const bool reported = command ? runCommand(operation, fault, output) : runEngine(operation, fault);
    // The server would hold the locks until the holder's sleep ends: its session goes now.
    if (locks && !m_holder.isEmpty())
        TestServers::runSql(m_server, "KILL " + m_holder + ";");
    m_holder.clear();
    for (QProcess *process : {killer, locks}) {
        if (!process)
            continue;
        process->kill();
        process->waitForFinished(5000);
        delete process;
    }
    // What a killed program started may outlive it (a restore's client runs what it was sent):
    // the row ends when every session opened since the command's start has.
    if (command && locks && !QTest::qWaitFor([&] { return TestServers::querySql(m_server, opened).trimmed() == QLatin1String("0"); }, 60000))
        qWarning() << "sessions of the operation still open:" << TestServers::querySql(m_server, QStringLiteral("SHOW PROCESSLIST"));
    return reported;
}

QStringList TestFaultMatrix::commandArguments(const QString &operation) const
{
    const QStringList server = {QStringLiteral("--server"), QStringLiteral("127.0.0.1:%1").arg(m_server.port), QStringLiteral("--database"), kDb,
                                QStringLiteral("--password-stdin")};
    if (operation == QLatin1String("wipe"))
        return QStringList{operation} + server + QStringList{QStringLiteral("--worlds"), QStringLiteral("1"), QStringLiteral("--accounts"), kWeb, QStringLiteral("--yes")};
    if (operation == QLatin1String("backup"))
        return QStringList{operation} + server + QStringList{QStringLiteral("--file"), m_dir.filePath(QStringLiteral("dumps/dump.sql"))};
    if (operation == QLatin1String("restore"))
        return QStringList{operation} + server + QStringList{QStringLiteral("--file"), m_input, QStringLiteral("--yes")};
    if (operation == QLatin1String("undo"))
        return QStringList{operation} + server + QStringList{m_input, QStringLiteral("--yes")};
    if (operation == QLatin1String("merge-same"))
        return QStringList{operation} + server + QStringList{QStringLiteral("--sub-world"), QStringLiteral("2"), QStringLiteral("--main-world"), QStringLiteral("1"), QStringLiteral("--yes")};
    return {operation, QStringLiteral("--main"), QStringLiteral("主服"), QStringLiteral("--sub"), QStringLiteral("副服"), QStringLiteral("--main-world"),
            QStringLiteral("1"), QStringLiteral("--sub-world"), QStringLiteral("5"), QStringLiteral("--yes")};
}

void TestFaultMatrix::startCommand(QProcess &process, const QString &operation)
{
    process.setWorkingDirectory(m_dir.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(m_program, commandArguments(operation));
    process.write(m_server.password.toUtf8() + '\n');
    process.closeWriteChannel();
}

bool TestFaultMatrix::runCommand(const QString &operation, const QString &fault, QString *output)
{
    QProcess process;
    startCommand(process, operation);
    if (fault == QLatin1String("program")) {
        // Killed while it waits for the locks, in the middle of its work.
        for (int i = 0; i < 300 && TestServers::querySql(m_server, kWaiting).isEmpty(); ++i)
            QTest::qWait(100);
        process.kill();
    }
    process.waitForFinished(120000);
    *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool TestFaultMatrix::runEngine(const QString &operation, const QString &fault)
{
    QSqlDatabase &db = DatabaseManager::instance()->database();
    QString error;
    // The single-character operations as the windows and the command line run them.
    const QMap<QString, CharacterOperation::Kind> kinds = {{QStringLiteral("delete"), CharacterOperation::Kind::Delete},
                                                          {QStringLiteral("transfer"), CharacterOperation::Kind::Transfer},
                                                          {QStringLiteral("repair"), CharacterOperation::Kind::Repair},
                                                          {QStringLiteral("copy"), CharacterOperation::Kind::Copy}};
    if (kinds.contains(operation)) {
        CharacterOperation::Request request;
        request.kind = kinds.value(operation);
        request.charguid = kGuid;
        request.world = 2;
        request.account = QStringLiteral("w1u0@qq.com");
        request.accounts = m_server.hostConfig(kDb);
        request.accounts.accountDatabase = kWeb;
        request.newName = QStringLiteral("Faultcpy");
        const CharacterOperation::Result result = CharacterOperation::run(db, request, {});
        // A failed run names no undo file: nothing it could undo was committed.
        if (!result.ok && !result.undoFile.isEmpty())
            return true;
        return result.ok && (request.kind != CharacterOperation::Kind::Repair || result.removed > 0);
    }
    if (operation == QLatin1String("editor")) {
        // Yes to the question, closed for every other box; the last box says how it ended.
        QList<ModalRecord> boxes;
        answerMessageBoxes({QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Yes}, &boxes);
        CharacterEditDialog editor(kGuid, nullptr);
        if (fault == QLatin1String("lax"))
            editor.findChild<QLineEdit *>(QStringLiteral("charname"))->setText(QStringLiteral("A") + QString(26, QChar(0x4FA0)));
        else
            editor.findChild<QSpinBox *>(QStringLiteral("level"))->setValue(editor.findChild<QSpinBox *>(QStringLiteral("level"))->value() + 1);
        clickButton(&editor, "saveBtn");
        // The save runs on the session's worker.
        const bool ended = QTest::qWaitFor([] { return !DatabaseManager::instance()->isBusy(); }, 10000);
        stopAnsweringModals();
        return ended && boxes.value(boxes.size() - 1).title == QStringLiteral("成功");
    }
    AccountStore store(QStringLiteral("fault_web"));
    if (!store.open(m_server.hostConfig(kWeb)))
        return false;
    if (operation == QLatin1String("register"))
        return store.registerAccount(QStringLiteral("newcomer"), QStringLiteral("pw"));
    if (operation == QLatin1String("points"))
        return store.setPoint(QStringLiteral("w1u0@qq.com"), 777);
    if (operation == QLatin1String("batch points"))
        return store.addPointsToAll(5);
    return store.deleteAccount(QStringLiteral("w1u0@qq.com"));
}

QProcess *TestFaultMatrix::holdLocks(const QByteArray &statement)
{
    auto *process = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MYSQL_PWD"), m_server.password);
    process->setProcessEnvironment(env);
    process->start(QStringLiteral("mariadb"), {QStringLiteral("--no-defaults"), QStringLiteral("-h127.0.0.1"), QStringLiteral("-P%1").arg(m_server.port),
                                               QStringLiteral("-uroot"), QStringLiteral("--unbuffered")});
    process->write("START TRANSACTION; " + statement + "; SELECT CONCAT('held ', CONNECTION_ID()) AS holder; SELECT SLEEP(120);\n");
    QByteArray seen;
    if (!QTest::qWaitFor([&] {
            seen += process->readAll();
            return seen.contains("held ");
        }, 10000))
        qWarning() << "the locks were not taken:" << seen;
    m_holder = seen.mid(seen.indexOf("held ") + 5).split('\n').value(0).trimmed();
    return process;
}

QProcess *TestFaultMatrix::killWaitingConnection()
{
    // Kills the first session that waits for a lock, from outside the operation's own thread.
    const QString client = QStringLiteral("mariadb --no-defaults -h127.0.0.1 -P%1 -uroot -N").arg(m_server.port);
    auto *process = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MYSQL_PWD"), m_server.password);
    process->setProcessEnvironment(env);
    process->start(QStringLiteral("bash"), {QStringLiteral("-c"), QStringLiteral("for i in $(seq 600); do id=$(%1 -e \"%2\"); "
                                                                                 "if [ -n \"$id\" ]; then %1 -e \"KILL $id\"; exit 0; fi; sleep 0.1; done")
                                                                      .arg(client, kWaiting)});
    return process;
}

QTEST_MAIN(TestFaultMatrix)
#include "tst_faultmatrix.moc"
