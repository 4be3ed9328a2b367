#include "base/debuglog.h"
#include "db/databasemanager.h"
#include "engine/accountstore.h"
#include "engine/charactercopier.h"
#include "commitdropper.h"
#include "db/connectionrule.h"
#include "engine/characterdeleter.h"
#include "engine/characteredit.h"
#include "engine/charactertransfer.h"
#include "engine/characteroperation.h"
#include "engine/undoabletransaction.h"
#include "engine/zonewipe.h"
#include "modalanswer.h"
#include "testservers.h"
#include "ui/main/undodialog.h"

#include <QSqlQuery>
#include <QtTest>

namespace {
const QString kDb = QStringLiteral("undo_db");
const QString kWeb = QStringLiteral("undo_db_web");

// Every kind of column a deployment may add, with values at the edges of each type.
const char *const kTypedColumns =
    "ADD f FLOAT NULL, ADD fmax FLOAT NULL, ADD fmin FLOAT NULL, ADD d DOUBLE NULL, ADD dec1 DECIMAL(30,10) NULL, "
    "ADD tiny TINYINT NULL, ADD small SMALLINT UNSIGNED NULL, ADD big BIGINT UNSIGNED NULL, ADD b BIT(64) NULL, ADD y YEAR NULL, "
    "ADD y0 YEAR NULL, ADD dt DATETIME(6) NULL, ADD dz DATETIME NULL, ADD ts TIMESTAMP(6) NULL DEFAULT NULL, "
    "ADD tz TIMESTAMP NULL DEFAULT NULL, ADD da DATE NULL, ADD ti TIME(3) NULL, ADD ch CHAR(10) CHARACTER SET latin1 NULL, "
    "ADD vb VARBINARY(300) NULL, ADD tx TEXT CHARACTER SET utf8mb4 NULL, ADD bl LONGBLOB NULL, "
    "ADD en ENUM('a','b','剑') CHARACTER SET utf8mb4 NULL, ADD st SET('x','y','z') NULL, ADD js JSON NULL, "
    "ADD gen INT AS (tiny + 1) VIRTUAL, ADD reg DATETIME NOT NULL DEFAULT CURRENT_TIMESTAMP";

QByteArray typedValues(int guid)
{
    const QByteArray all = TestServers::allByteValues().toHex();
    return "SET time_zone = '+08:00'; UPDATE t_charextra SET f = 16777218, fmax = 3.4028234663852886e38, fmin = 1.1754943508222875e-38, "
           "d = 123456.7890625, dec1 = -12345678901234567890.0123456789, tiny = -128, small = 65535, big = 18446744073709551615, "
           "b = b'1000000000000000000000000000000000000000000000000000000000000001', y = 2155, y0 = 0, "
           "dt = '2024-02-29 23:59:59.999999', dz = '0000-00-00 00:00:00', ts = '2038-01-19 11:14:07.999999', "
           "tz = '0000-00-00 00:00:00', da = '1000-01-01', ti = '-838:59:59.000', ch = UNHEX('B6ADC0CF5C'), vb = UNHEX('" + all
        + "'), tx = '剑心 \\n ; -- */', bl = REPEAT(UNHEX('" + all + "'), 35157), en = '剑', st = 'x,z', js = '{\"a\": [1, 2.5, \"剑\"]}', "
          "reg = '2001-01-01 01:01:01' WHERE charguid = " + QByteArray::number(guid) + ";";
}

// The trailer as the program checks it, computed again over a changed file: what anyone who
// can write the file can do. SHA-256 is the digest of files written by earlier versions.
QByteArray withTrailer(QByteArray text, bool sha256 = false)
{
    text.truncate(text.indexOf("\n-- end: ") + 1);
    qint64 statements = 0;
    bool header = true;
    for (const QByteArray &line : text.split('\n')) {
        header = header && line.startsWith("--");
        if (!header && !line.startsWith("--") && line.endsWith(';'))
            ++statements;
    }
    return text + "-- end: " + QByteArray::number(statements) + (sha256 ? " statements, sha256 " : " statements, blake2b-256 ")
        + QCryptographicHash::hash(text, sha256 ? QCryptographicHash::Sha256 : QCryptographicHash::Blake2b_256).toHex() + "\nCOMMIT;\n";
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}
} // namespace

class TestUndoFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyValueComesBackExactly_data();
    void everyValueComesBackExactly();
    void damagedFilesChangeNothing_data();
    void damagedFilesChangeNothing();
    void reappliedUndoLeavesNewCharactersAlone();
    void fingerprintsTakenElsewhere_data();
    void fingerprintsTakenElsewhere();
    void pruneKeepsTheNewestOfEachDatabase();
    void headerCarriesNoSql();
    void filesActOnlyWhereTheyWereWritten_data();
    void filesActOnlyWhereTheyWereWritten();
    void smuggledStatementsNeverRun_data();
    void smuggledStatementsNeverRun();
    void swappedPiecesStopTheClient();
    void lostCommitAnswerIsSettled_data();
    void lostCommitAnswerIsSettled();

private:
    QMap<QString, QString> checksums()
    {
        return TestServers::tableChecksums(m_server, kDb, {QStringLiteral("t_char"), QStringLiteral("t_charextra"), QStringLiteral("t_var"),
                                                           QStringLiteral("t_iteminfo"), QStringLiteral("t_skill")});
    }
    QString query(const QString &sql) { return TestServers::querySql(m_server, sql, kDb); }
    // Deletes the character (the one with every kind of value by default); its undo file.
    QString deleteWithUndo(int guid = 0);
    bool stockClient(const QString &path);
    QString editLevel(int level);
    void connectSession(int port = 0);

    TestServer m_server;
    TestServer m_other;  // another server with the same databases
    int m_guid = 0;
    int m_plain = 0;  // a character of world 2 without large values
    QTemporaryDir m_files;
};

void TestUndoFile::initTestCase()
{
    // World 1 is large enough for the wipe's joined deletion, whose rows a second connection reads.
    SampleOptions sample = TestServers::smallSample(kDb, {1, 2}, 0);
    sample.worldSizes = {600, 10};
    QVERIFY(TestServers::loadAndConnect(&m_server, sample));
    m_guid = query(QStringLiteral("SELECT MIN(charguid) FROM t_char WHERE zoneworldid = 1")).toInt();
    m_plain = query(QStringLiteral("SELECT MIN(charguid) FROM t_char WHERE zoneworldid = 2")).toInt();
    QVERIFY(m_guid > 0 && m_plain > 0);
    // A value over half of max_allowed_packet, which a server-side HEX() turns into NULL.
    QVERIFY(TestServers::runSql(m_server, "SET GLOBAL max_allowed_packet = 16777216;"));
    QVERIFY(TestServers::runSql(m_server, QByteArray("ALTER TABLE t_charextra ") + kTypedColumns + ";" + typedValues(m_guid), kDb));
    QCOMPARE(query(QStringLiteral("SELECT LENGTH(bl) FROM t_charextra WHERE charguid = %1").arg(m_guid)), QStringLiteral("9000192"));
    connectSession();
    m_other = TestServers::shared(1);
    QVERIFY(m_other.isValid() && m_other.port != m_server.port);
}

void TestUndoFile::connectSession(int port)
{
    HostConfig config = m_server.hostConfig(kDb);
    if (port > 0)
        config.port = port;
    QVERIFY(DatabaseManager::instance()->connectToDatabase(config));
    // The program's session in another zone than the file: TIMESTAMPs must not move.
    QSqlQuery(DatabaseManager::instance()->database()).exec(QStringLiteral("SET time_zone = '-05:00'"));
}

QString TestUndoFile::editLevel(int level)
{
    const CharacterEdit::Result saved = CharacterEdit::save(DatabaseManager::instance()->database(), {m_guid, {{QStringLiteral("level"), level}}});
    return saved.ok ? saved.undoPath : saved.failure.stored();
}

void TestUndoFile::cleanupTestCase()
{
    // No log, undo file, backup, export or rename list holds the password, on either driver.
    for (const QString &directory : QStringList{applicationDirectory()})
        QCOMPARE(TestServers::filesHoldingPassword(directory), QStringList());
    DatabaseManager::instance()->disconnectFromDatabase();
    TestServers::runSql(m_server, "DROP DATABASE IF EXISTS undo_db; DROP DATABASE IF EXISTS undo_db_web; DROP DATABASE IF EXISTS undo_victim;");
    TestServers::runSql(m_other, "DROP DATABASE IF EXISTS undo_db;");
}

QString TestUndoFile::deleteWithUndo(int guid)
{
    CharacterDeleter deleter(DatabaseManager::instance()->database());
    Message error;
    return deleter.deleteCharacter(guid > 0 ? guid : m_guid, &error) ? deleter.undoPath() : QString();
}

bool TestUndoFile::stockClient(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && TestServers::runSql(m_server, file.readAll());
}

void TestUndoFile::everyValueComesBackExactly_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("stock");
    for (const char *operation : {"delete", "transfer", "set back", "wipe"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1, program").arg(QLatin1String(operation)))) << QString::fromLatin1(operation) << false;
        QTest::newRow(qPrintable(QStringLiteral("%1, mysql client").arg(QLatin1String(operation)))) << QString::fromLatin1(operation) << true;
    }
}

void TestUndoFile::everyValueComesBackExactly()
{
    QFETCH(QString, operation);
    QFETCH(bool, stock);
    QSqlDatabase &db = DatabaseManager::instance()->database();
    const QMap<QString, QString> before = checksums();
    QString path;
    Message error;
    if (operation == QLatin1String("delete")) {
        path = deleteWithUndo();
    } else if (operation == QLatin1String("wipe")) {
        const ZoneWipe::Result result = ZoneWipe::run(db, {{1}, {}, {}, {}, true}, {});
        QVERIFY(result.ok);
        QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM t_char WHERE zoneworldid = 1")), QStringLiteral("0"));
        path = result.undoPath;
    } else if (operation == QLatin1String("transfer")) {
        QVERIFY2(CharacterTransfer::transfer(db, m_guid, 2, true, {}, &path, &error), qPrintable(error));
        // What the player does meanwhile stays: the undo sets the world back, nothing else.
        QVERIFY(TestServers::runSql(m_server, QByteArray("UPDATE t_char SET level = level + 50 WHERE charguid = ") + QByteArray::number(m_guid), kDb));
    } else {
        UndoableTransaction transaction(db);
        const QStringList columns = {QStringLiteral("f"), QStringLiteral("fmax"), QStringLiteral("fmin"), QStringLiteral("d"), QStringLiteral("dec1"),
                                     QStringLiteral("big"), QStringLiteral("b"), QStringLiteral("y"), QStringLiteral("y0"), QStringLiteral("dt"),
                                     QStringLiteral("dz"), QStringLiteral("ts"), QStringLiteral("tz"), QStringLiteral("ti"), QStringLiteral("ch"),
                                     QStringLiteral("vb"), QStringLiteral("tx"), QStringLiteral("bl"), QStringLiteral("en"), QStringLiteral("st"),
                                     QStringLiteral("js"), QStringLiteral("reg")};
        QVERIFY(transaction.begin(QStringLiteral("set back"), true, &error));
        QVERIFY2(transaction.undo()->saveColumns(db, QStringLiteral("t_charextra"), QStringLiteral("aid"), columns, QStringLiteral("charguid = ?"),
                                                 {m_guid}, &error) == 1, qPrintable(error));
        QSqlQuery change(db);
        QVERIFY(change.exec(QStringLiteral("UPDATE t_charextra SET f = 1, fmax = 2, fmin = 3, d = 4, dec1 = 5, big = 6, b = 7, y = 2001, y0 = 2002, "
                                           "dt = NOW(), dz = NOW(), ts = NOW(), tz = NOW(), ti = '01:00', ch = 'c', vb = 'v', tx = 't', bl = 'b', "
                                           "en = 'a', st = 'y', js = '[]', reg = NOW() WHERE charguid = %1").arg(m_guid)));
        QVERIFY2(transaction.commit(&error), qPrintable(error));
        path = transaction.undoPath();
    }
    QVERIFY2(QFile::exists(path), qPrintable(path));
    QVERIFY(checksums() != before);
    const QString level = query(QStringLiteral("SELECT level FROM t_char WHERE charguid = %1").arg(m_guid));
    if (stock)
        QVERIFY(stockClient(path));
    else
        QVERIFY2(UndoFile::apply(db, path, &error), qPrintable(error));
    if (operation == QLatin1String("transfer")) {
        QCOMPARE(query(QStringLiteral("SELECT CONCAT(zoneworldid, ' ', level) FROM t_char WHERE charguid = %1").arg(m_guid)), QStringLiteral("1 ") + level);
        QVERIFY(TestServers::runSql(m_server, QByteArray("UPDATE t_char SET level = level - 50 WHERE charguid = ") + QByteArray::number(m_guid), kDb));
    }
    QCOMPARE(checksums(), before);
}

void TestUndoFile::damagedFilesChangeNothing_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("applies");
    QTest::newRow("cut in half") << QStringLiteral("cut") << false;
    QTest::newRow("cut before COMMIT") << QStringLiteral("no commit") << false;
    QTest::newRow("a line added") << QStringLiteral("edited") << false;
    QTest::newRow("CR LF line ends") << QStringLiteral("crlf") << true;
}

void TestUndoFile::damagedFilesChangeNothing()
{
    QFETCH(QString, damage);
    QFETCH(bool, applies);
    const QMap<QString, QString> before = checksums();
    const QString path = deleteWithUndo();
    QVERIFY(!path.isEmpty());
    const QMap<QString, QString> deleted = checksums();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    file.close();
    if (damage == QLatin1String("cut"))
        text = text.left(text.size() / 2);
    else if (damage == QLatin1String("no commit"))
        text.chop(QByteArray("COMMIT;\n").size());
    else if (damage == QLatin1String("edited"))
        text.replace("-- changes\n", "-- changes\nDELETE FROM `undo_db`.`t_skill` WHERE charguid > 0;\n");
    else
        text.replace("\n", "\r\n");
    const QString damaged = m_files.filePath(QStringLiteral("damaged.sql"));
    QFile out(damaged);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(text) == text.size());
    out.close();

    Message error;
    QCOMPARE(UndoFile::apply(DatabaseManager::instance()->database(), damaged, &error), applies);
    QCOMPARE(checksums(), applies ? before : deleted);
    if (applies) {
        QVERIFY(!deleteWithUndo().isEmpty());
        QVERIFY(stockClient(damaged));  // the client restores it too
    } else if (damage != QLatin1String("edited")) {
        QVERIFY(!stockClient(damaged) || checksums() == deleted);  // the client commits nothing either
        QCOMPARE(checksums(), deleted);
    }
    if (!applies)
        QVERIFY2(UndoFile::apply(DatabaseManager::instance()->database(), path, &error), qPrintable(error));
    QCOMPARE(checksums(), before);
}

void TestUndoFile::reappliedUndoLeavesNewCharactersAlone()
{
    QSqlDatabase &db = DatabaseManager::instance()->database();
    CharacterCopier copier(db);
    int copy = 0;
    QString name;
    Message error;
    QVERIFY2(copier.copyCharacter(m_guid, QStringLiteral("again@qq.com"), QStringLiteral("Againabc"), &copy, &name, &error), qPrintable(error));
    const QString path = copier.undoPath();
    QVERIFY2(UndoFile::apply(db, path, &error), qPrintable(error));
    const QString applied = QFileInfo(path).absolutePath() + QStringLiteral("/applied/") + QFileInfo(path).fileName();
    QVERIFY(QFile::exists(applied));
    // The counter went back, so the game hands the same id out again, to another character.
    QCOMPARE(query(QStringLiteral("START TRANSACTION; CALL create_char(1, @g); COMMIT; SELECT @g;")).toInt(), copy);
    const QMap<QString, QString> created = checksums();
    // The program refuses a file it applied, and a copy of it; the client stops at the check.
    const QString copied = m_files.filePath(QStringLiteral("copied.sql"));
    QVERIFY(QFile::copy(applied, copied));
    for (const QString &file : {applied, copied}) {
        QVERIFY(!UndoFile::apply(db, file, &error, true));
        QVERIFY(!UndoFile::apply(db, file, &error));
        QVERIFY2(error.stored().contains(QStringLiteral("已经执行过")), qPrintable(error));
    }
    QVERIFY(!stockClient(copied));
    QCOMPARE(checksums(), created);

    // A prune removes the applied file; its copy is still refused.
    const QList<UndoFile::Prunable> pruned = UndoFile::prunable(-1);
    QVERIFY(std::any_of(pruned.cbegin(), pruned.cend(), [&applied](const UndoFile::Prunable &file) {
        return file.applied && file.path == QFileInfo(applied).absoluteFilePath();
    }));
    QVERIFY(std::all_of(pruned.cbegin(), pruned.cend(), [](const UndoFile::Prunable &file) { return file.applied; }));
    QVERIFY2(UndoFile::prune(pruned, &error), qPrintable(error));
    QVERIFY(!QFile::exists(applied));
    QVERIFY(!UndoFile::apply(db, copied, &error));
    QVERIFY2(error.stored().contains(QStringLiteral("已经执行过")), qPrintable(error));
    QCOMPARE(checksums(), created);
    QVERIFY(TestServers::runSql(m_server, QByteArray("DELETE FROM t_char WHERE charguid = ") + QByteArray::number(copy), kDb));
}

void TestUndoFile::fingerprintsTakenElsewhere_data()
{
    QTest::addColumn<bool>("reachable");
    QTest::newRow("by a second connection") << true;
    QTest::newRow("at the commit, the second one failing") << false;
}

// A merge has a second connection take the fingerprints of what it added while it writes on:
// the file checks the rows as the commit leaves them, however they were taken.
void TestUndoFile::fingerprintsTakenElsewhere()
{
    QFETCH(bool, reachable);
    QSqlDatabase &db = DatabaseManager::instance()->database();
    const QString name = QStringLiteral("undo_elsewhere");
    {
        QSqlDatabase other;
        if (reachable) {
            QVERIFY(openMysqlConnection(name, m_server.hostConfig(kDb), QString()).ok);
            other = QSqlDatabase::database(name);
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("SET SESSION TRANSACTION ISOLATION LEVEL READ UNCOMMITTED")));
        }
        UndoableTransaction transaction(db);
        Message error;
        QVERIFY2(transaction.begin(QStringLiteral("test"), true, &error), qPrintable(error));
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("INSERT INTO t_skill (charguid, skid, sktime) VALUES (2100000007, 1, 5), (2100000007, 2, 6), (2100000008, 1, 7)")));
        transaction.undo()->addRemoval(QStringLiteral("t_skill"), QStringLiteral("charguid"), {2100000007, 2100000008}, 3);
        transaction.undo()->takeFingerprintsElsewhere(QStringLiteral("t_skill"), [&other](auto job) { job(other); });
        QVERIFY2(transaction.commit(&error), qPrintable(error));
        const QString path = transaction.undoPath();
        other.close();

        // A row changed since: the file refuses; as the merge left them: it removes them.
        const QByteArray change = "UPDATE t_skill SET sktime = %1 WHERE charguid = 2100000007 AND skid = 2;";
        QVERIFY(TestServers::runSql(m_server, QByteArray(change).replace("%1", "60"), kDb));
        QVERIFY(!UndoFile::apply(db, path, &error, true));
        QVERIFY(TestServers::runSql(m_server, QByteArray(change).replace("%1", "6"), kDb));
        QVERIFY2(UndoFile::apply(db, path, &error), qPrintable(error));
        QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM t_skill WHERE charguid >= 2100000007")), QStringLiteral("0"));
    }
    QSqlDatabase::removeDatabase(name);
}

// By age: files older than the limit go, except the newest of each database, unless named.
void TestUndoFile::pruneKeepsTheNewestOfEachDatabase()
{
    const QDir folder(UndoFile::directory());
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    for (const QFileInfo &old : folder.entryInfoList({QStringLiteral("undo_*.sql")}, QDir::Files))
        QVERIFY(QFile::remove(old.absoluteFilePath()));
    auto write = [&folder](const QString &name, const QString &database, int daysAgo) {
        QFile file(folder.filePath(name));
        const QByteArray time = QDateTime::currentDateTime().addDays(-daysAgo).toString(Qt::ISODateWithMs).toUtf8();
        return file.open(QIODevice::WriteOnly)
            && file.write("-- Quorvel undo file\n-- operation: x\n-- time: " + time + "\n-- server: h:1\n-- database: " + database.toUtf8() + "\n") > 0;
    };
    QVERIFY(write(QStringLiteral("undo_a1.sql"), QStringLiteral("a"), 10));
    QVERIFY(write(QStringLiteral("undo_a2.sql"), QStringLiteral("a"), 9));
    QVERIFY(write(QStringLiteral("undo_a3.sql"), QStringLiteral("a"), 1));
    QVERIFY(write(QStringLiteral("undo_b1.sql"), QStringLiteral("b"), 20));
    auto names = [](const QList<UndoFile::Prunable> &files) {
        QStringList found;
        for (const UndoFile::Prunable &file : files) {
            if (!file.applied)
                found << QFileInfo(file.path).fileName();
        }
        found.sort();
        return found;
    };
    QCOMPARE(names(UndoFile::prunable(5)), QStringList({QStringLiteral("undo_a1.sql"), QStringLiteral("undo_a2.sql")}));
    QCOMPARE(names(UndoFile::prunable(0)), QStringList({QStringLiteral("undo_a1.sql"), QStringLiteral("undo_a2.sql")}));
    QCOMPARE(names(UndoFile::prunable(-1)), QStringList());
    QCOMPARE(names(UndoFile::prunable(30, {folder.filePath(QStringLiteral("undo_b1.sql"))})), QStringList({QStringLiteral("undo_b1.sql")}));
    Message error;
    QVERIFY(UndoFile::prune(UndoFile::prunable(5), &error));
    QCOMPARE(folder.entryList({QStringLiteral("undo_*.sql")}, QDir::Files, QDir::Name),
             QStringList({QStringLiteral("undo_a3.sql"), QStringLiteral("undo_b1.sql")}));
    for (const QString &left : folder.entryList({QStringLiteral("undo_*.sql")}, QDir::Files))
        QVERIFY(QFile::remove(folder.filePath(left)));
}

void TestUndoFile::headerCarriesNoSql()
{
    QVERIFY(TestServers::runSql(m_server, "CREATE DATABASE IF NOT EXISTS undo_victim; CREATE TABLE IF NOT EXISTS undo_victim.t (i INT);"));
    const QString name = QStringLiteral("evil\nDROP DATABASE undo_victim; -- \r*/; -- x");
    QVERIFY(TestServers::runSql(m_server, "INSERT INTO account (name, password, reg_time, reg_ip) VALUES ('evil\\nDROP DATABASE undo_victim; -- \\r*/; -- x', "
                                          "'0123456789abcdef0123456789abcdef', NOW(), '');", kWeb));
    const QMap<QString, QString> before = TestServers::databaseChecksums(m_server, {kWeb});
    AccountStore store(QStringLiteral("undo_test_web"));
    QVERIFY(store.open(m_server.hostConfig(kWeb)));
    QVERIFY2(store.deleteAccount(name), qPrintable(store.error()));
    QVERIFY(TestServers::databaseChecksums(m_server, {kWeb}) != before);
    QCOMPARE(UndoFile::read(store.undoPath()).operation, QStringLiteral("删除账号 %1").arg(name));
    QVERIFY(stockClient(store.undoPath()));
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM undo_victim.t")), QStringLiteral("0"));
    QCOMPARE(TestServers::databaseChecksums(m_server, {kWeb}), before);
}

void TestUndoFile::filesActOnlyWhereTheyWereWritten_data()
{
    QTest::addColumn<QString>("how");
    // The program and the stock client on another server, and the program on a server confirmed
    // as moved, for every operation: tst_faultmatrix.
    QTest::newRow("program, another database chosen") << QStringLiteral("database");
    QTest::newRow("window on another server, then confirmed as moved") << QStringLiteral("window");
}

void TestUndoFile::filesActOnlyWhereTheyWereWritten()
{
    if (TestServers::sqlModeRun())
        QSKIP("the file sets its own SQL mode; the server's does not reach these checks");
    // The other server holds the same rows as this one after the edit, as a copy or a moved
    // server would: only the file's check of the server tells them apart.
    QFETCH(QString, how);
    QSqlDatabase &db = DatabaseManager::instance()->database();
    const QString level = query(QStringLiteral("SELECT level FROM t_char WHERE charguid = %1").arg(m_guid));
    const QString path = editLevel(level.toInt() + 1);
    QVERIFY2(QFile::exists(path), qPrintable(path));
    QVERIFY(TestServers::copyTables(m_server, m_other, kDb, {QStringLiteral("t_char"), QStringLiteral("t_var")}));
    const auto other = [this] { return TestServers::tableChecksums(m_other, kDb, {QStringLiteral("t_char"), QStringLiteral("t_var")}); };
    const QMap<QString, QString> edited = other();
    const QMap<QString, QString> here = checksums();
    if (how == QLatin1String("window")) {
        // The undo history on a session of the other server: it shows both servers and asks;
        // No changes nothing, Yes (and Yes to the undo) applies the file there.
        QVERIFY(DatabaseManager::instance()->connectToDatabase(m_other.hostConfig(kDb)));
        UndoDialog records;
        QList<ModalRecord> answers;
        answerMessageBoxes({QMessageBox::No}, &answers);
        QVERIFY(clickButton(&records, "applyBtn"));
        QTRY_COMPARE(answers.size(), 1);
        QVERIFY2(answers.at(0).text.contains(QString::number(m_other.port)) && answers.at(0).text.contains(QString::number(m_server.port)),
                 qPrintable(answers.at(0).text));
        QCOMPARE(other(), edited);
        answers.clear();
        answerMessageBoxes({QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok}, &answers);
        QVERIFY(clickButton(&records, "applyBtn"));
        QTRY_COMPARE_WITH_TIMEOUT(answers.size(), 3, 20000);
        QVERIFY2(answers.at(2).text.startsWith(QStringLiteral("撤销完成")), qPrintable(answers.at(2).text));
        connectSession();
    } else {
        UndoFile::ApplyOptions options;
        options.databases = {QStringLiteral("vexadb_main")};
        const UndoFile::Applied applied = UndoFile::apply(db, path, options);
        QVERIFY(!applied.ok && !applied.otherServer);
    }
    QCOMPARE(other() != edited, how == QLatin1String("window"));
    QCOMPARE(checksums(), here);
    Message error;
    if (how == QLatin1String("window"))  // applied there, so kept in "applied"; the client still takes it here
        QVERIFY(stockClient(QFileInfo(path).absolutePath() + QStringLiteral("/applied/") + QFileInfo(path).fileName()));
    else
        QVERIFY2(UndoFile::apply(db, path, &error), qPrintable(error));
    QCOMPARE(query(QStringLiteral("SELECT level FROM t_char WHERE charguid = %1").arg(m_guid)), level);
}

void TestUndoFile::smuggledStatementsNeverRun_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("beforeChanges");
    QTest::newRow("a server setting among the checks") << QByteArray("SET @quorvel_x = 1, GLOBAL max_connections = 77;") << true;
    QTest::newRow("a second statement on a line")
        << QByteArray("DELETE FROM `undo_db`.`t_var` WHERE 0; CREATE DATABASE pwned_by_undo;") << true;
    QTest::newRow("a change among the checks") << QByteArray("DELETE FROM `undo_db`.`t_var` WHERE `worldid` IN (1);") << true;
    QTest::newRow("a check reading another table")
        << QByteArray("SET @quorvel_check = (SELECT COUNT(*) FROM `undo_db`.`t_var` WHERE `worldid` IN ((SELECT 1 FROM mysql.user)));") << true;
    QTest::newRow("a system table") << QByteArray("DELETE FROM `mysql`.`user` WHERE `User` IN (X'00');") << false;
    QTest::newRow("an executable comment") << QByteArray("INSERT INTO `undo_db`.`t_var` (`worldid`) VALUES (/*!50000 1), (2 */ 3);") << false;
    QTest::newRow("a database the header does not list") << QByteArray("DELETE FROM `undo_victim`.`t_var` WHERE `worldid` IN (1);") << false;
}

void TestUndoFile::smuggledStatementsNeverRun()
{
    if (TestServers::rerun())
        QSKIP("the file is refused before any statement reaches a driver or a server's SQL mode");
    // Each line added to a real file, its trailer computed again: the rehearsal runs nothing
    // of it and the run refuses it, before anything changes.
    QFETCH(QByteArray, line);
    QFETCH(bool, beforeChanges);
    const QString path = deleteWithUndo(m_plain);
    QVERIFY(!path.isEmpty());
    QByteArray text = contentOf(path);
    if (beforeChanges)
        text.replace("-- changes\n", line + "\n-- changes\n");
    else
        text.replace("-- changes\n", "-- changes\n" + line + "\n");
    const QString smuggled = m_files.filePath(QStringLiteral("smuggled.sql"));
    QVERIFY(writeFile(smuggled, withTrailer(text)));
    const QString connections = query(QStringLiteral("SELECT @@max_connections"));
    const QMap<QString, QString> deleted = checksums();
    QSqlDatabase &db = DatabaseManager::instance()->database();
    Message error;
    QVERIFY(!UndoFile::apply(db, smuggled, &error, true));
    QVERIFY(!UndoFile::apply(db, smuggled, &error));
    QVERIFY2(error.stored().contains(QStringLiteral("程序不会写出")), qPrintable(error));
    QCOMPARE(query(QStringLiteral("SELECT @@max_connections")), connections);
    QCOMPARE(query(QStringLiteral("SHOW DATABASES LIKE 'pwned_by_undo'")), QString());
    QCOMPARE(checksums(), deleted);
    // The file as an earlier version sealed it still applies.
    QVERIFY(writeFile(path, withTrailer(contentOf(path), true)));
    QVERIFY2(UndoFile::apply(db, path, &error), qPrintable(error));
}

void TestUndoFile::swappedPiecesStopTheClient()
{
    if (TestServers::rerun())
        QSKIP("the stock client's run, the same on every driver and mode");
    // The large value is put together from pieces of equal length; two swapped give a value of
    // the right length and the wrong bytes, which its digest stops.
    QVERIFY(TestServers::runSql(m_server, "UPDATE t_charextra SET bl = CONCAT(REPEAT(X'00', 200000), REPEAT(X'FF', 200000)) WHERE charguid = "
                                              + QByteArray::number(m_guid), kDb));
    const QMap<QString, QString> before = checksums();
    const QString path = deleteWithUndo();
    QVERIFY(!path.isEmpty());
    QList<QByteArray> lines = contentOf(path).split('\n');
    QList<qsizetype> pieces;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).startsWith("SET @quorvel_v") && lines.at(i).contains("CONCAT("))
            pieces.append(i);
    }
    QVERIFY(pieces.size() >= 3 && lines.at(pieces.at(0)).size() == lines.at(pieces.at(1)).size()
            && lines.at(pieces.at(0)) != lines.at(pieces.at(1)));
    lines.swapItemsAt(pieces.at(0), pieces.at(1));
    const QString swapped = m_files.filePath(QStringLiteral("swapped.sql"));
    QVERIFY(writeFile(swapped, withTrailer(lines.join('\n'))));
    const QMap<QString, QString> deleted = checksums();
    QVERIFY(!stockClient(swapped));
    QCOMPARE(checksums(), deleted);
    Message error;
    QVERIFY(!UndoFile::apply(DatabaseManager::instance()->database(), swapped, &error));
    QCOMPARE(checksums(), deleted);
    QVERIFY2(UndoFile::apply(DatabaseManager::instance()->database(), path, &error), qPrintable(error));
    QCOMPARE(checksums(), before);
}

void TestUndoFile::lostCommitAnswerIsSettled_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("unreachable");
    QTest::addColumn<bool>("committed");
    QTest::addColumn<bool>("reported");
    QTest::newRow("answer lost after the commit") << int(CommitDropper::Mode::AfterServer) << false << true << true;
    QTest::newRow("commit lost before the server") << int(CommitDropper::Mode::BeforeServer) << false << false << false;
    QTest::newRow("server out of reach afterwards") << int(CommitDropper::Mode::AfterServer) << true << true << false;
    QTest::newRow("commit slow on its way") << int(CommitDropper::Mode::InFlight) << false << true << true;
}

void TestUndoFile::lostCommitAnswerIsSettled()
{
    if (TestServers::sqlModeRun())
        QSKIP("the file sets its own SQL mode; the server's does not reach these checks");
    // A delete and then its undo, each through a proxy that loses the answer to its COMMIT:
    // the program reports what the server holds, keeps the undo file of a change that took
    // place, and says when it cannot tell.
    QFETCH(int, mode);
    QFETCH(bool, unreachable);
    QFETCH(bool, committed);
    QFETCH(bool, reported);
    const QMap<QString, QString> before = checksums();
    const QStringList files = QDir(UndoFile::directory()).entryList({QStringLiteral("undo_*.sql")});
    {
        CommitDropper proxy(m_server.host, m_server.port);
        connectSession(proxy.port());
        proxy.arm(CommitDropper::Mode(mode), unreachable);
        CharacterOperation::Request request;
        request.kind = CharacterOperation::Kind::Delete;
        request.charguid = m_plain;
        const CharacterOperation::Result result = CharacterOperation::run(DatabaseManager::instance()->database(), request, {});
        QVERIFY(proxy.fired());
        QVERIFY2(result.ok == reported, qPrintable(result.failure));
    }
    connectSession();
    QCOMPARE(checksums() != before, committed);
    QStringList added = QDir(UndoFile::directory()).entryList({QStringLiteral("undo_*.sql")});
    for (const QString &file : files)
        added.removeAll(file);
    QCOMPARE(added.size(), committed ? 1 : 0);
    if (!committed)
        return;
    const QString path = UndoFile::directory() + QLatin1Char('/') + added.constFirst();
    UndoFile::Applied applied;
    {
        // The undo's own answer lost: it is found to have taken place.
        CommitDropper proxy(m_server.host, m_server.port);
        connectSession(proxy.port());
        proxy.arm(CommitDropper::Mode(mode));
        applied = UndoFile::apply(DatabaseManager::instance()->database(), path, UndoFile::ApplyOptions());
        QVERIFY(proxy.fired());
    }
    connectSession();
    QVERIFY2(applied.ok && !applied.notice.isEmpty(), qPrintable(applied.error));
    QCOMPARE(checksums(), before);
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(TestUndoFile)
#include "tst_undofile.moc"
