#include "base/debuglog.h"
#include "db/databasemanager.h"
#include "engine/backupmanager.h"
#include "engine/gzipfile.h"
#include "engine/clientoptionfile.h"
#include "engine/restorepreview.h"
#include "modalanswer.h"
#include "testservers.h"
#include "db/hoststore.h"
#include "ui/main/mainwindow.h"

#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QBuffer>
#include <QtTest>

namespace {
const QString kDb = QStringLiteral("backup_db");

struct Run
{
    QStringList log;      // logMessage and errorOccurred, in order
    QList<int> progress;
    bool done = false;
    bool success = false;
    QString result;

    explicit Run(BackupManager *m)
    {
        QObject::connect(m, &BackupManager::logMessage, m, [this](const QString &s) { log.append(s); });
        QObject::connect(m, &BackupManager::errorOccurred, m, [this](const QString &s) { log.append(QStringLiteral("ERROR ") + s); });
        QObject::connect(m, &BackupManager::backupProgress, m, [this](int p) { progress.append(p); });
        QObject::connect(m, &BackupManager::restoreProgress, m, [this](int p) { progress.append(p); });
        auto finish = [this](bool ok, const QString &text) { done = true; success = ok; result = text; };
        QObject::connect(m, &BackupManager::backupCompleted, m, finish);
        QObject::connect(m, &BackupManager::restoreCompleted, m, finish);
    }
    QString text() const { return log.join(QLatin1Char('\n')); }
    bool wait(int milliseconds = 120000) { return QTest::qWaitFor([this] { return done; }, milliseconds) && done; }
    // From 0 to 100 without falling, with at least three steps between the fixed marks.
    bool rose() const
    {
        const auto between = std::count_if(progress.cbegin(), progress.cend(), [](int p) { return p > 30 && p < 90; });
        return std::is_sorted(progress.cbegin(), progress.cend()) && progress.first() == 0 && progress.last() == 100 && between >= 3;
    }
};
} // namespace

class TestBackupManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void backupAndRestoreKeepEveryByte();
    void passwordStaysOffTheCommandLine();
    void localhostMeansItsPort();
    void failuresAreReported();
    void refusedDumpsChangeNothing_data();
    void refusedDumpsChangeNothing();
    void compressedDumpsReadAsWritten();
    void rehearsalListsWhatTheDumpRemoves();
    void clientRunsNoShellCommands();
    void progressAndBusyTools();
    void backupAndRestoreThroughMainWindow();

private:
    QMap<QString, QString> checksums();
    QString fakeTool(const QString &script);
    // Starts a backup (or a restore) of the test database as root and waits for its end.
    std::unique_ptr<Run> finished(BackupManager &manager, bool backup, const QString &password, const QString &file);

    TestServer m_server;
    QTemporaryDir m_dir;
};

void TestBackupManager::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    SampleOptions options = TestServers::smallSample(kDb, {1, 2}, 400);
    options.accountDatabases = {QStringLiteral("backup_web")};
    QVERIFY(TestServers::loadSample(m_server, options));
    // Every byte value in a latin1 column, and a trigger the dump must carry.
    const QByteArray all = TestServers::allByteValues();
    QVERIFY(TestServers::runSql(m_server,
        "CREATE TABLE every_byte (id INT PRIMARY KEY, raw VARBINARY(300), text VARCHAR(300) CHARACTER SET latin1) DEFAULT CHARSET=latin1;"
        "INSERT INTO every_byte VALUES (1, X'" + all.toHex() + "', X'" + all.toHex() + "');"
        "CREATE TRIGGER t_char_touch BEFORE UPDATE ON t_char FOR EACH ROW SET NEW.logouttime = NEW.logouttime;"
        "CREATE OR REPLACE USER 'bk'@'127.0.0.1' IDENTIFIED BY 'a\"b\\\\c#d; e';"
        "GRANT ALL ON *.* TO 'bk'@'127.0.0.1';"
        "CREATE DATABASE IF NOT EXISTS backup_victim; CREATE TABLE IF NOT EXISTS backup_victim.t (id INT); INSERT INTO backup_victim.t VALUES (1);", kDb));
    QDir(applicationDirectory() + QStringLiteral("/backups")).removeRecursively();
}

void TestBackupManager::cleanupTestCase()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    QFile::remove(hostConfigFilePath());
    TestServers::runSql(m_server, "DROP DATABASE backup_db; DROP DATABASE backup_web; DROP DATABASE backup_victim; DROP USER 'bk'@'127.0.0.1';");
}

QMap<QString, QString> TestBackupManager::checksums()
{
    return TestServers::databaseChecksums(m_server, {kDb});
}

QString TestBackupManager::fakeTool(const QString &script)
{
    const QString path = m_dir.filePath(QStringLiteral("tool-%1.sh").arg(qHash(script)));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write("#!/bin/sh\n" + script.toUtf8() + "\n");
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

std::unique_ptr<Run> TestBackupManager::finished(BackupManager &manager, bool backup, const QString &password, const QString &file)
{
    auto run = std::make_unique<Run>(&manager);
    if (backup)
        manager.backupDatabase(m_server.host, m_server.port, QStringLiteral("root"), password, kDb, file);
    else
        manager.restoreDatabase(m_server.host, m_server.port, QStringLiteral("root"), password, kDb, file);
    run->wait();
    QTest::qWait(100);  // a late second report would show here
    return run;
}

void TestBackupManager::backupAndRestoreKeepEveryByte()
{
    const QMap<QString, QString> original = checksums();
    QCOMPARE(original.size(), 28);
    BackupManager manager;
    const QString file = manager.defaultBackupPath();
    auto backup = finished(manager, true, m_server.password, file);
    QVERIFY2(backup->success && backup->result == file, qPrintable(backup->text()));
    QVERIFY(!manager.isBusy());
    // The dump holds password hashes and player data.
    QCOMPARE(QFile(file).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());

    QVERIFY(TestServers::runSql(m_server, "DROP TABLE t_skill; DROP TRIGGER t_char_touch; UPDATE t_char SET level = 0;"
                                          "DELETE FROM t_iteminfo LIMIT 10; UPDATE every_byte SET text = 'x';", kDb));
    QVERIFY(checksums() != original);

    auto restore = finished(manager, false, m_server.password, file);
    QVERIFY2(restore->success && restore->result == kDb, qPrintable(restore->text()));
    QCOMPARE(checksums(), original);
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SHOW TRIGGERS"), kDb).section(QLatin1Char('\t'), 0, 0),
             QStringLiteral("t_char_touch"));
    // The bar moves with the bytes sent.
    QVERIFY2(restore->rose(), qPrintable(QString::number(restore->progress.size())));
}

void TestBackupManager::passwordStaysOffTheCommandLine()
{
    BackupManager manager;
    const QString password = QStringLiteral("a\"b\\c#d; e");
    const QString file = m_dir.filePath(QStringLiteral("bk.sql"));
    Run run(&manager);
    manager.backupDatabase(m_server.host, m_server.port, QStringLiteral("bk"), password, kDb, file);
    const QStringList arguments = manager.lastArguments();
    QVERIFY(arguments.first().startsWith(QStringLiteral("--defaults-extra-file=")));
    const QString optionFile = arguments.first().section(QLatin1Char('='), 1);
    QCOMPARE(QFile(optionFile).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());
    QVERIFY(!arguments.join(QLatin1Char(' ')).contains(QStringLiteral("c#d")));
    QVERIFY(run.wait());
    QVERIFY2(run.success, qPrintable(run.text()));
    QVERIFY(!QFile::exists(optionFile));
    QVERIFY(!run.text().contains(QStringLiteral("c#d")));
    // The log shows what runs: the option file, not a password.
    QVERIFY(run.log.at(1).contains(QStringLiteral("--defaults-extra-file=%1 -h%2 -P%3 --protocol=TCP -ubk --single-transaction")
                                       .arg(optionFile, m_server.host, QString::number(m_server.port))));

    // Without a password nothing asks for one.
    Run empty(&manager);
    manager.backupDatabase(m_server.host, m_server.port, QStringLiteral("nobody"), QString(), kDb, file);
    for (const QString &argument : manager.lastArguments())
        QVERIFY2(!argument.startsWith(QStringLiteral("-p")) && !argument.startsWith(QStringLiteral("--password")), qPrintable(argument));
    QVERIFY(empty.wait() && !empty.success);

    // A program killed while its tool ran leaves its file behind: the next start removes it.
    QTemporaryFile *stale = createClientOptionFile(password);
    QTemporaryFile *fresh = createClientOptionFile(password);
    stale->setAutoRemove(false);
    QFile staleFile(stale->fileName());
    QVERIFY(staleFile.open(QIODevice::ReadWrite));
    QVERIFY(staleFile.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    staleFile.close();
    removeStaleClientOptionFiles();
    QVERIFY(!QFile::exists(stale->fileName()));
    QVERIFY(QFile::exists(fresh->fileName()));
    delete stale;
    delete fresh;
}

void TestBackupManager::localhostMeansItsPort()
{
    // An entry "localhost" with the test server's port: the session and the dump both reach that
    // server over TCP, not whatever listens on the default local socket (here: nothing).
    HostConfig config = m_server.hostConfig(kDb);
    config.host = QStringLiteral("localhost");
    QVERIFY(DatabaseManager::instance()->connectToDatabase(config));
    QSqlQuery port(DatabaseManager::instance()->database());
    QVERIFY(port.exec(QStringLiteral("SELECT @@port")) && port.next());
    QCOMPARE(port.value(0).toInt(), m_server.port);
    DatabaseManager::instance()->disconnectFromDatabase();
    BackupManager manager;
    const QString file = m_dir.filePath(QStringLiteral("localhost.sql"));
    auto run = std::make_unique<Run>(&manager);
    manager.backupDatabase(QStringLiteral("localhost"), m_server.port, QStringLiteral("root"), m_server.password, kDb, file);
    QVERIFY(run->wait());
    QVERIFY2(run->success, qPrintable(run->text()));
    QFile dump(file);
    QVERIFY(dump.open(QIODevice::ReadOnly) && dump.readAll().contains("CREATE TABLE `every_byte`"));
}

void TestBackupManager::failuresAreReported()
{
    BackupManager manager;
    auto wrong = finished(manager, true, QStringLiteral("wrong"), m_dir.filePath(QStringLiteral("w.sql")));
    QVERIFY(!wrong->success && wrong->result.isEmpty());
    // A failed dump leaves no file that the restore list would offer.
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("w.sql*")}), QStringList());
    QVERIFY2(wrong->log.at(wrong->log.size() - 2).contains(QStringLiteral("Access denied")), qPrintable(wrong->text()));
    QCOMPARE(wrong->log.last(), QStringLiteral("ERROR 备份失败，退出码: 2"));

    QFile small(m_dir.filePath(QStringLiteral("small.sql")));
    QVERIFY(small.open(QIODevice::WriteOnly) && small.write("SET @x = 1;\n-- Dump completed on 2026-12-08\n") > 0);
    small.close();
    auto restore = finished(manager, false, QStringLiteral("wrong"), small.fileName());
    QVERIFY(!restore->success);
    QVERIFY(restore->log.last().startsWith(QStringLiteral("ERROR 恢复失败，退出码: 1")));
    auto gone = finished(manager, false, m_server.password, m_dir.filePath(QStringLiteral("gone.sql")));
    QVERIFY(!gone->success && !manager.isBusy());
    QVERIFY(gone->log.last().startsWith(QStringLiteral("ERROR 备份文件不存在: ")));
    // Nowhere to put the password file (the temporary folder is a file): the tool is not
    // started, and the log says why.
    const QByteArray temp = qgetenv("TMPDIR");
    qputenv("TMPDIR", small.fileName().toLocal8Bit());
    auto noFile = finished(manager, true, m_server.password, m_dir.filePath(QStringLiteral("p.sql")));
    temp.isEmpty() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", temp);
    QVERIFY(!noFile->success && !manager.isBusy());
    QVERIFY2(noFile->log.last().startsWith(QStringLiteral("ERROR 无法在临时目录 ")), qPrintable(noFile->text()));
    QVERIFY(!noFile->text().contains(QStringLiteral("-p********")));

    manager.setToolPaths(m_dir.filePath(QStringLiteral("no-such-mysqldump")), m_dir.filePath(QStringLiteral("no-such-mysql")));
    auto missing = finished(manager, true, m_server.password, m_dir.filePath(QStringLiteral("n.sql")));
    QVERIFY(!missing->success && !manager.isBusy());
    QCOMPARE(missing->log.filter(QStringLiteral("ERROR ")),
             QStringList{QStringLiteral("ERROR 无法启动 mysqldump，请确保程序目录下存在 mysqldump.exe 及其依赖 DLL")});

    // Warnings on the error channel are dropped; the error itself is logged.
    manager.setToolPaths(fakeTool(QStringLiteral("echo 'mysqldump: [WaRnInG] Using a password on the command line' >&2; sleep 0.3;"
                                                 "echo 'Got error: 1049: Unknown database' >&2; exit 2")), QString());
    auto warned = finished(manager, true, QString(), m_dir.filePath(QStringLiteral("f.sql")));
    QVERIFY(warned->log.filter(QStringLiteral("arning"), Qt::CaseInsensitive).isEmpty());
    QCOMPARE(warned->log.at(warned->log.size() - 2), QStringLiteral("mysqldump: Got error: 1049: Unknown database\n"));
}

void TestBackupManager::refusedDumpsChangeNothing_data()
{
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<int>("keep");  // percent of the dump kept
    QTest::addColumn<int>("rows");  // rows the rehearsal counts in t_var beyond the dump's own; -1: refused
    QTest::newRow("another database named") << QByteArray("CREATE DATABASE /*!32312 IF NOT EXISTS*/ `backup_other`;\nUSE `backup_other`;\n") << 100 << -1;
    QTest::newRow("cut in half") << QByteArray() << 50 << -1;
    QTest::newRow("empty") << QByteArray() << 0 << -1;
    QTest::newRow("its own database named, rows replaced")
        << QByteArray("CREATE DATABASE IF NOT EXISTS `backup_db`;\nUSE `backup_db`;\nREPLACE INTO `t_var` VALUES (1,2,3,4),\n(5,6,7,8);\n") << 100 << 2;
    // What a careless or hostile colleague may put into a dump: each refused before the client runs.
    QTest::newRow("use of another database, lower case") << QByteArray("use backup_victim;\nDROP TABLE IF EXISTS t; CREATE TABLE t (id int);\n") << 100 << -1;
    QTest::newRow("a database dropped") << QByteArray("DROP DATABASE IF EXISTS backup_victim;\n") << 100 << -1;
    QTest::newRow("a database dropped in an executable comment") << QByteArray("/*!40000 DROP DATABASE backup_victim */;\n") << 100 << -1;
    QTest::newRow("a table of another database") << QByteArray("DELETE FROM `backup_victim`.`t`;\n") << 100 << -1;
    QTest::newRow("a shell command") << QByteArray("\\! touch HACKED\n") << 100 << -1;
    QTest::newRow("a shell command, long form") << QByteArray("system touch HACKED\n") << 100 << -1;
    QTest::newRow("a shell command in an executable comment") << QByteArray("/*!40101 \\! touch HACKED */;\n") << 100 << -1;
    QTest::newRow("another file sourced") << QByteArray("\\. victim.sql\n") << 100 << -1;
    QTest::newRow("another file sourced, long form") << QByteArray("SOURCE victim.sql\n") << 100 << -1;
    QTest::newRow("another database connected") << QByteArray("connect backup_victim\n") << 100 << -1;
    QTest::newRow("another database by \\u") << QByteArray("\\u backup_victim\n") << 100 << -1;
    QTest::newRow("a server setting") << QByteArray("SET GLOBAL max_connections = 77;\n") << 100 << -1;
}

void TestBackupManager::refusedDumpsChangeNothing()
{
    if (TestServers::sqlModeRun())
        QSKIP("the dump is read before any server sees it");
    QFETCH(QByteArray, prefix);
    QFETCH(int, keep);
    QFETCH(int, rows);
    BackupManager manager;
    const QString good = m_dir.filePath(QStringLiteral("good.sql"));
    std::unique_ptr<Run> backup;
    if (!QFile::exists(good)) {
        backup = finished(manager, true, m_server.password, good);
        QVERIFY(backup->success);
    }
    QFile file(good);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray dump = file.readAll();
    RestorePreview::Dump original;
    Message error;
    QVERIFY(RestorePreview::scan(good, kDb, &original, &error));
    QVERIFY2(RestorePreview::refusal(original, good).isEmpty(), qPrintable(RestorePreview::refusal(original, good)));
    const QString damaged = m_dir.filePath(QStringLiteral("damaged.sql"));
    QFile out(damaged);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(prefix + dump.left(dump.size() * keep / 100));
    out.close();
    QFile(m_dir.filePath(QStringLiteral("victim.sql"))).open(QIODevice::WriteOnly);

    RestorePreview::Dump scanned;
    QVERIFY(RestorePreview::scan(damaged, kDb, &scanned, &error));
    if (rows >= 0)
        QCOMPARE(scanned.rows.value(QStringLiteral("t_var")), original.rows.value(QStringLiteral("t_var")) + rows);
    const bool refused = !RestorePreview::refusal(scanned, damaged).isEmpty();
    QCOMPARE(refused, rows < 0);
    if (!refused)
        return;
    // The tables a dump rewrites first, and another database.
    const auto state = [this] {
        return TestServers::querySql(m_server, QStringLiteral("CHECKSUM TABLE backup_db.every_byte, backup_db.t_ability, backup_db.t_var, backup_victim.t"));
    };
    const QString before = state();
    QDir::setCurrent(m_dir.path());
    auto restore = finished(manager, false, m_server.password, damaged);
    QVERIFY(!restore->success && !manager.isBusy());
    QCOMPARE(state(), before);
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SHOW DATABASES LIKE 'backup_other'")), QString());
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("HACKED"))));
}

// A compressed dump reads back as the plain one; cut, damaged or written by another program,
// it is refused before anything runs.
void TestBackupManager::compressedDumpsReadAsWritten()
{
    BackupManager manager;
    const QString plain = m_dir.filePath(QStringLiteral("plain.sql"));
    const QString packed = m_dir.filePath(QStringLiteral("packed.sql.gz"));
    const auto first = finished(manager, true, m_server.password, plain);
    const auto second = finished(manager, true, m_server.password, packed);
    QVERIFY(first->success && second->success);
    QFile file(packed);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\x1f\x8b") && !bytes.contains("CREATE TABLE"));
    RestorePreview::Dump expected;
    RestorePreview::Dump read;
    Message error;
    QVERIFY(RestorePreview::scan(plain, kDb, &expected, &error));
    QVERIFY2(RestorePreview::scan(packed, kDb, &read, &error), qPrintable(error));
    QVERIFY(read.complete && RestorePreview::refusal(read, packed).isEmpty());
    QCOMPARE(read.rows, expected.rows);
    QByteArray flipped = bytes;
    flipped[flipped.size() / 2] = char(flipped.at(flipped.size() / 2) ^ 0x5A);
    QByteArray foreign;
    {
        QBuffer buffer(&foreign);
        buffer.open(QIODevice::WriteOnly);
        Gzip::Writer writer(&buffer);
        QVERIFY(writer.write("x") && writer.finish());
        foreign[3] = 0;  // no extra field: as gzip itself writes
    }
    for (const QByteArray &bad : {bytes.left(bytes.size() - 100), flipped, foreign}) {
        QFile out(packed);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bad) == bad.size());
        out.close();
        RestorePreview::Dump scanned;
        QVERIFY(!RestorePreview::scan(packed, kDb, &scanned, &error) || !RestorePreview::refusal(scanned, packed).isEmpty());
    }
}

void TestBackupManager::rehearsalListsWhatTheDumpRemoves()
{
    if (TestServers::sqlModeRun())
        QSKIP("what the file does is read before any server sees it");
    // A dump that drops a table it does not recreate and empties another: the preview names
    // both with their rows, and the restore does what it said.
    const QString path = m_dir.filePath(QStringLiteral("removing.sql"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("-- MariaDB dump\nDROP TABLE IF EXISTS `t_crc32`;\ndelete from t_seckill;\n-- Dump completed on 2026-12-09 10:00:00\n");
    file.close();
    QVERIFY(TestServers::runSql(m_server, "CREATE TABLE IF NOT EXISTS t_crc32_keep AS SELECT * FROM t_crc32; "
                                          "CREATE TABLE IF NOT EXISTS t_seckill_keep AS SELECT * FROM t_seckill;", kDb));
    const QString crc = TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_crc32"), kDb);
    const QString seckill = TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_seckill"), kDb);
    QVERIFY(crc.toInt() > 0 && seckill.toInt() > 0);
    HostConfig config = m_server.hostConfig(kDb);
    QVERIFY(DatabaseManager::instance()->connectToDatabase(config));
    Message error;
    const QList<RestorePreview::Table> tables = RestorePreview::compare(DatabaseManager::instance()->database(), path, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QStringList lines = storedLines(RestorePreview::lines(RestorePreview::changed(tables)));
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.at(0).contains(QStringLiteral("t_crc32: 现有 %1 条，文件删除此表").arg(crc)), qPrintable(lines.at(0)));
    QVERIFY2(lines.at(1).contains(QStringLiteral("t_seckill: 现有 %1 条，文件清空或删除此表的行").arg(seckill)), qPrintable(lines.at(1)));
    BackupManager manager;
    QVERIFY(finished(manager, false, m_server.password, path)->success);
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SHOW TABLES LIKE 't_crc32'"), kDb), QString());
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_seckill"), kDb), QStringLiteral("0"));
    QVERIFY(TestServers::runSql(m_server, "RENAME TABLE t_crc32_keep TO t_crc32; INSERT INTO t_seckill SELECT * FROM t_seckill_keep; "
                                          "DROP TABLE t_seckill_keep;", kDb));
    DatabaseManager::instance()->disconnectFromDatabase();
}

void TestBackupManager::clientRunsNoShellCommands()
{
    if (TestServers::sqlModeRun())
        QSKIP("the client's options do not depend on the server");
    // The options the restore starts the client with keep it from running a shell, should a
    // command ever get past the check of the file.
    BackupManager manager;
    const QStringList options = RestorePreview::clientSafetyOptions(manager.clientToolPath());
    QVERIFY(!options.isEmpty());
    QProcess client;
    client.setWorkingDirectory(m_dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MYSQL_PWD"), m_server.password);
    client.setProcessEnvironment(env);
    client.start(manager.clientToolPath(), QStringList{QStringLiteral("--no-defaults"), QStringLiteral("-h127.0.0.1"),
                                                       QStringLiteral("-P%1").arg(m_server.port), QStringLiteral("-uroot")}
                                               + options + QStringList{kDb});
    client.write("\\! touch HACKED\nsystem touch HACKED\nSELECT 1;\n");
    client.closeWriteChannel();
    QVERIFY(client.waitForFinished(20000));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("HACKED"))));
}

void TestBackupManager::progressAndBusyTools()
{
    // A dump tool that writes its file in steps, as a large dump grows.
    const QString slowTool = fakeTool(QStringLiteral(
        "for a in \"$@\"; do case \"$a\" in -r*) f=\"${a#-r}\";; esac; done\n"
        "for i in 1 2 3 4 5 6; do head -c 300000 /dev/zero >> \"$f\"; sleep 0.3; done; printf '\\n-- Dump completed\\n' >> \"$f\""));
    BackupManager manager;
    manager.setToolPaths(slowTool, QString());
    Run run(&manager);
    manager.backupDatabase(m_server.host, m_server.port, QStringLiteral("root"), m_server.password, kDb,
                           m_dir.filePath(QStringLiteral("growing.sql")));
    // A second start is refused and leaves the running tool alone.
    QSignalSpy refused(&manager, &BackupManager::restoreCompleted);
    manager.restoreDatabase(m_server.host, m_server.port, QStringLiteral("root"), QString(), kDb, m_dir.filePath(QStringLiteral("growing.sql")));
    QCOMPARE(refused.count(), 1);
    run.done = false;
    QVERIFY(run.wait(20000) && run.success);
    QVERIFY2(run.rose(), qPrintable(QString::number(run.progress.size())));

    // The window's backup: restoring waits for it, and closing the window asks.
    QVERIFY(writeHostConfigs(hostConfigFilePath(), {m_server.hostConfig(kDb)}));
    MainWindow window;
    window.show();
    window.backupManager()->setToolPaths(slowTool, QString());
    withNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(m_dir.filePath(QStringLiteral("window.sql")));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::No}, &boxes);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("backupBtn")), Qt::LeftButton);
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("restoreBtn"))->isEnabled());
    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    answerMessageBoxes({QMessageBox::Ok}, &boxes);
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 2, 20000);
    QCOMPARE(boxes.at(1).text, QStringLiteral("备份完成: ") + m_dir.filePath(QStringLiteral("window.sql")));
    QVERIFY(window.close());  // nothing runs: no question
}

void TestBackupManager::backupAndRestoreThroughMainWindow()
{
    const QString dir = applicationDirectory() + QStringLiteral("/backups");
    QDir(dir).removeRecursively();
    QVERIFY(writeHostConfigs(hostConfigFilePath(), {m_server.hostConfig(kDb)}));
    MainWindow window;
    QString proposed;
    withNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        proposed = dialog->selectedFiles().value(0);
        // Two earlier backups of the same entry and database, named as the window names them.
        for (const char *day : {"20200101", "20200102"}) {
            QFile earlier(QString(proposed).replace(QRegularExpression(QStringLiteral("\\d{8}_\\d{6}.*$")),
                                                     QLatin1String(day) + QStringLiteral("_000000.sql")));
            QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("--") == 2 && earlier.flush());
            earlier.setFileTime(QDateTime::currentDateTime().addDays(-3), QFileDevice::FileModificationTime);
        }
        // Typed into the name field, as an operator would; the dialog's directory may still be loading.
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(proposed);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::Ok}, &boxes);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("backupBtn")), Qt::LeftButton);
    // The proposal is in the backups folder, which it created, named after the entry and compressed;
    // restoring waits for the backup.
    QCOMPARE(QFileInfo(proposed).absolutePath(), dir);
    QVERIFY2(proposed.endsWith(QStringLiteral(".sql.gz")) && QFileInfo(proposed).fileName().startsWith(m_server.hostConfig(kDb).name),
             qPrintable(proposed));
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("restoreBtn"))->isEnabled());
    int offered = 0;
    withNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        QVERIFY(dialog);
        offered = dialog->intMaximum();
        dialog->setIntValue(2);
        dialog->accept();
    }, "QInputDialog");
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 1, 120000);
    QCOMPARE(boxes.first().text, QStringLiteral("备份完成: ") + proposed);
    QCOMPARE(window.findChild<QProgressBar *>()->value(), 100);
    // Three whole backups of the entry; the oldest goes, the other two stay.
    QTRY_COMPARE(offered, 3);
    QStringList kept = QDir(dir).entryList(QDir::Files);
    QCOMPARE(kept.size(), 2);
    QVERIFY2(kept.join(QLatin1Char(' ')).contains(QStringLiteral("20200102_000000.sql")), qPrintable(kept.join(QLatin1Char(' '))));

    // An older backup and a file that is no backup; the list offers the newest first.
    QFile older(dir + QStringLiteral("/older.sql"));
    QVERIFY(older.open(QIODevice::WriteOnly) && older.write("--") == 2 && older.flush());
    older.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime);
    older.close();
    QFile(dir + QStringLiteral("/notes.txt")).open(QIODevice::WriteOnly);
    QVERIFY(TestServers::runSql(m_server, "UPDATE t_char SET level = 0;", kDb));
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("connectBtn")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(DatabaseManager::instance()->isConnected(), 10000);
    QStringList items;
    boxes.clear();
    withNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        QVERIFY(dialog);
        auto *combo = dialog->findChild<QComboBox *>();
        for (int i = 0; i < combo->count(); ++i)
            items.append(combo->itemText(i));
        answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
        dialog->setTextValue(items.first());
        dialog->accept();
    });
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("restoreBtn")), Qt::LeftButton);
    QCOMPARE(items.size(), 4);
    QVERIFY2(items.at(0).startsWith(QFileInfo(proposed).fileName() + QStringLiteral(" (")) && items.at(1).startsWith(QStringLiteral("older.sql (0 KB) - ")),
             qPrintable(items.join(QLatin1Char('\n'))));
    QVERIFY2(boxes.value(0).text.contains(QStringLiteral("服务器: ")), qPrintable(boxes.value(0).text));
    QVERIFY(DatabaseManager::instance()->isBusy());  // the restore holds the session
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 2, 120000);
    QCOMPARE(boxes.at(1).title, QStringLiteral("成功"));
    QVERIFY(!DatabaseManager::instance()->isBusy());
    QVERIFY(!DatabaseManager::instance()->isConnected());
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_char WHERE level = 0"), kDb), QStringLiteral("0"));
}

QTEST_MAIN(TestBackupManager)
#include "tst_backupmanager.moc"
