#include "app/debuglog.h"
#include "db/databasemanager.h"
#include "engine/backupmanager.h"
#include "modalanswer.h"
#include "testservers.h"
#include "ui/main/hoststore.h"
#include "ui/main/mainwindow.h"

#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
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
    void wrongPasswordFails();
    void missingToolCannotStart();
    void warningsAreDropped();
    void secondStartIsRefused();
    void backupProgressFollowsTheGrowingFile();
    void closingTheWindowAsksWhileAToolRuns();
    void missingRestoreFile();
    void backupFlowThroughMainWindow();
    void restoreFlowThroughMainWindow();

private:
    QMap<QString, QString> checksums();
    QString fakeTool(const QString &script);

    TestServer m_server;
    QTemporaryDir m_dir;
};

void TestBackupManager::initTestCase()
{
    m_server = TestServers::shared();
    QVERIFY(m_server.isValid());
    SampleOptions options;
    options.characterDatabase = kDb;
    options.accountDatabases = {QStringLiteral("backup_web")};
    options.worldIds = {1, 2};
    options.charactersPerWorld = 400;
    QVERIFY(TestServers::loadSample(m_server, options));
    // Every byte value in a latin1 column, and a trigger the dump must carry.
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    QVERIFY(TestServers::runSql(m_server,
        "CREATE TABLE every_byte (id INT PRIMARY KEY, raw VARBINARY(300), text VARCHAR(300) CHARACTER SET latin1) DEFAULT CHARSET=latin1;"
        "INSERT INTO every_byte VALUES (1, X'" + all.toHex() + "', X'" + all.toHex() + "');"
        "CREATE TRIGGER t_char_touch BEFORE UPDATE ON t_char FOR EACH ROW SET NEW.logouttime = NEW.logouttime;"
        "CREATE OR REPLACE USER 'bk'@'127.0.0.1' IDENTIFIED BY 'a\"b\\\\c#d; e';"
        "GRANT ALL ON *.* TO 'bk'@'127.0.0.1';", kDb));
    QDir(applicationDirectory() + QStringLiteral("/backups")).removeRecursively();
}

void TestBackupManager::cleanupTestCase()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    QFile::remove(hostConfigFilePath());
    TestServers::runSql(m_server, "DROP DATABASE backup_db; DROP DATABASE backup_web; DROP USER 'bk'@'127.0.0.1';");
}

QMap<QString, QString> TestBackupManager::checksums()
{
    const QString tables = TestServers::querySql(m_server, QStringLiteral("SHOW TABLES"), kDb).split(QLatin1Char('\n')).join(QStringLiteral(", "));
    QMap<QString, QString> result;
    for (const QString &line : TestServers::querySql(m_server, QStringLiteral("CHECKSUM TABLE ") + tables, kDb).split(QLatin1Char('\n')))
        result.insert(line.section(QLatin1Char('\t'), 0, 0), line.section(QLatin1Char('\t'), 1, 1));
    return result;
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

static bool rising(const QList<int> &values)
{
    return std::is_sorted(values.cbegin(), values.cend()) && values.first() == 0 && values.last() == 100;
}

void TestBackupManager::backupAndRestoreKeepEveryByte()
{
    const QMap<QString, QString> original = checksums();
    QCOMPARE(original.size(), 28);
    BackupManager manager;
    QVERIFY(manager.dumpToolPath().endsWith(QStringLiteral("/mysqldump")));
    const QString file = manager.getDefaultBackupPath();
    QVERIFY(QFileInfo(file).fileName().startsWith(QStringLiteral("backup_")));

    Run backup(&manager);
    manager.backupDatabase(QStringLiteral("127.0.0.1"), m_server.port, QStringLiteral("root"), m_server.password, kDb, file);
    QVERIFY(manager.isBusy());
    QTRY_VERIFY_WITH_TIMEOUT(backup.done, 120000);
    QVERIFY2(backup.success, qPrintable(backup.log.join(QLatin1Char('\n'))));
    QCOMPARE(backup.result, file);
    QVERIFY(rising(backup.progress));
    QCOMPARE(backup.log.first(), QStringLiteral("开始备份数据库: backup_db"));
    QCOMPARE(backup.log.last(), QStringLiteral("备份完成: %1 (%2 KB)").arg(file).arg(QFileInfo(file).size() / 1024));
    QVERIFY(!manager.isBusy());

    QVERIFY(TestServers::runSql(m_server, "DROP TABLE t_skill; DROP TRIGGER t_char_touch; UPDATE t_char SET level = 0;"
                                          "DELETE FROM t_iteminfo LIMIT 10; UPDATE every_byte SET text = 'x';", kDb));
    QVERIFY(checksums() != original);

    Run restore(&manager);
    manager.restoreDatabase(QStringLiteral("127.0.0.1"), m_server.port, QStringLiteral("root"), m_server.password, kDb, file);
    QTRY_VERIFY_WITH_TIMEOUT(restore.done, 120000);
    QVERIFY2(restore.success, qPrintable(restore.log.join(QLatin1Char('\n'))));
    QCOMPARE(restore.result, kDb);
    QCOMPARE(checksums(), original);
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SHOW TRIGGERS"), kDb).section(QLatin1Char('\t'), 0, 0),
             QStringLiteral("t_char_touch"));

    // The bar moves with the bytes sent between the fixed marks.
    QVERIFY(rising(restore.progress));
    QVERIFY(restore.progress.contains(10) && restore.progress.contains(30) && restore.progress.contains(90));
    const auto between = std::count_if(restore.progress.cbegin(), restore.progress.cend(), [](int p) { return p > 30 && p < 90; });
    QVERIFY2(between >= 3, qPrintable(QString::number(between)));
    QCOMPARE(restore.log.at(1), QStringLiteral("备份文件: %1 (%2 KB)").arg(file).arg(QFileInfo(file).size() / 1024));
    QCOMPARE(restore.log.last(), QStringLiteral("恢复完成: backup_db"));
}

void TestBackupManager::passwordStaysOffTheCommandLine()
{
    BackupManager manager;
    const QString password = QStringLiteral("a\"b\\c#d; e");
    const QString file = m_dir.filePath(QStringLiteral("bk.sql"));
    Run run(&manager);
    manager.backupDatabase(QStringLiteral("127.0.0.1"), m_server.port, QStringLiteral("bk"), password, kDb, file);
    const QStringList arguments = manager.lastArguments();
    QVERIFY(arguments.first().startsWith(QStringLiteral("--defaults-extra-file=")));
    const QString optionFile = arguments.first().section(QLatin1Char('='), 1);
    QVERIFY(QFile::exists(optionFile));
    QCOMPARE(QFile(optionFile).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());
    for (const QString &argument : arguments)
        QVERIFY(!argument.contains(QStringLiteral("c#d")));
    QTRY_VERIFY_WITH_TIMEOUT(run.done, 120000);
    QVERIFY2(run.success, qPrintable(run.log.join(QLatin1Char('\n'))));
    QVERIFY(!QFile::exists(optionFile));

    const QString command = run.log.at(1);
    QCOMPARE(command, QStringLiteral("执行命令: %1 -h127.0.0.1 -P%2 -ubk -p******** --single-transaction --routines --triggers -r%3 backup_db")
                          .arg(manager.dumpToolPath()).arg(m_server.port).arg(file));
    for (const QString &line : run.log)
        QVERIFY(!line.contains(QStringLiteral("c#d")));

    // Without a password nothing asks for one.
    Run empty(&manager);
    manager.backupDatabase(QStringLiteral("127.0.0.1"), m_server.port, QStringLiteral("nobody"), QString(), kDb, file);
    QVERIFY(!manager.lastArguments().join(QLatin1Char(' ')).contains(QStringLiteral("-p")));
    QVERIFY(!manager.lastArguments().first().startsWith(QStringLiteral("--defaults-extra-file")));
    QTRY_VERIFY_WITH_TIMEOUT(empty.done, 60000);
    QVERIFY(!empty.success);
}

void TestBackupManager::wrongPasswordFails()
{
    BackupManager manager;
    Run run(&manager);
    manager.backupDatabase(QStringLiteral("127.0.0.1"), m_server.port, QStringLiteral("root"), QStringLiteral("wrong"), kDb,
                           m_dir.filePath(QStringLiteral("wrong.sql")));
    QTRY_VERIFY_WITH_TIMEOUT(run.done, 60000);
    QVERIFY(!run.success);
    QCOMPARE(run.result, QString());
    QCOMPARE(run.progress.last(), 90);
    const int error = int(run.log.indexOf(QRegularExpression(QStringLiteral("^mysqldump: .*Access denied.*"), QRegularExpression::DotMatchesEverythingOption)));
    QVERIFY2(error > 0, qPrintable(run.log.join(QLatin1Char('\n'))));
    QCOMPARE(run.log.last(), QStringLiteral("ERROR 备份失败，退出码: 2"));
    QCOMPARE(error, run.log.size() - 2);

    Run restore(&manager);
    const QString file = m_dir.filePath(QStringLiteral("small.sql"));
    QFile small(file);
    QVERIFY(small.open(QIODevice::WriteOnly));
    small.write("SELECT 1;\n");
    small.close();
    manager.restoreDatabase(QStringLiteral("127.0.0.1"), m_server.port, QStringLiteral("root"), QStringLiteral("wrong"), kDb, file);
    QTRY_VERIFY_WITH_TIMEOUT(restore.done, 60000);
    QVERIFY(!restore.success);
    QCOMPARE(restore.result, kDb);
    QVERIFY(restore.log.at(restore.log.size() - 2).startsWith(QStringLiteral("mysql: ")));
    QCOMPARE(restore.log.last(), QStringLiteral("ERROR 恢复失败，退出码: 1"));
}

void TestBackupManager::missingToolCannotStart()
{
    BackupManager manager;
    manager.setToolPaths(m_dir.filePath(QStringLiteral("no-such-mysqldump")), m_dir.filePath(QStringLiteral("no-such-mysql")));
    Run backup(&manager);
    manager.backupDatabase(QStringLiteral("127.0.0.1"), m_server.port, QStringLiteral("root"), m_server.password, kDb,
                           m_dir.filePath(QStringLiteral("never.sql")));
    QTRY_VERIFY_WITH_TIMEOUT(backup.done, 10000);
    QTest::qWait(100);
    QVERIFY(!backup.success);
    QCOMPARE(backup.log.filter(QStringLiteral("ERROR ")),
             QStringList{QStringLiteral("ERROR 无法启动 mysqldump，请确保程序目录下存在 mysqldump.exe 及其依赖 DLL")});
    QVERIFY(backup.log.filter(QStringLiteral("退出码")).isEmpty());
    QVERIFY(!manager.isBusy());

    const QString file = m_dir.filePath(QStringLiteral("exists.sql"));
    QFile(file).open(QIODevice::WriteOnly);
    Run restore(&manager);
    manager.restoreDatabase(QStringLiteral("127.0.0.1"), m_server.port, QStringLiteral("root"), m_server.password, kDb, file);
    QTRY_VERIFY_WITH_TIMEOUT(restore.done, 10000);
    QTest::qWait(100);
    QCOMPARE(restore.log.filter(QStringLiteral("ERROR ")),
             QStringList{QStringLiteral("ERROR 无法启动 mysql，请确保程序目录下存在 mysql.exe 及其依赖 DLL")});
    QCOMPARE(restore.result, kDb);
}

void TestBackupManager::warningsAreDropped()
{
    BackupManager manager;
    manager.setToolPaths(fakeTool(QStringLiteral("echo 'mysqldump: [WaRnInG] Using a password on the command line' >&2; sleep 0.3;"
                                                 "echo 'Got error: 1049: Unknown database' >&2; exit 2")),
                         QString());
    Run run(&manager);
    manager.backupDatabase(QStringLiteral("127.0.0.1"), m_server.port, QStringLiteral("root"), QString(), kDb,
                           m_dir.filePath(QStringLiteral("fake.sql")));
    QTRY_VERIFY_WITH_TIMEOUT(run.done, 10000);
    QVERIFY(run.log.filter(QStringLiteral("arning"), Qt::CaseInsensitive).isEmpty());
    QCOMPARE(run.log.at(run.log.size() - 2), QStringLiteral("mysqldump: Got error: 1049: Unknown database\n"));
    QCOMPARE(run.log.last(), QStringLiteral("ERROR 备份失败，退出码: 2"));
}

void TestBackupManager::secondStartIsRefused()
{
    BackupManager manager;
    manager.setToolPaths(fakeTool(QStringLiteral("sleep 1; exit 0")), QString());
    Run first(&manager);
    manager.backupDatabase(QStringLiteral("127.0.0.1"), m_server.port, QStringLiteral("root"), QString(), kDb,
                           m_dir.filePath(QStringLiteral("first.sql")));
    QVERIFY(manager.isBusy());

    QSignalSpy refused(&manager, &BackupManager::restoreCompleted);
    manager.restoreDatabase(QStringLiteral("127.0.0.1"), m_server.port, QStringLiteral("root"), QString(), kDb,
                            m_dir.filePath(QStringLiteral("first.sql")));
    QCOMPARE(refused.count(), 1);
    QCOMPARE(refused.at(0).at(0).toBool(), false);
    QVERIFY(first.log.contains(QStringLiteral("ERROR 已有备份或恢复操作正在进行，请等待完成")));
    QVERIFY(manager.isBusy());
    first.done = false;

    // The running tool was left alone and ends normally.
    QTRY_VERIFY_WITH_TIMEOUT(first.done, 10000);
    QVERIFY(first.success);
}

void TestBackupManager::backupProgressFollowsTheGrowingFile()
{
    // A dump tool that writes its file in steps, as a large dump grows.
    BackupManager manager;
    manager.setToolPaths(fakeTool(QStringLiteral(
        "for a in \"$@\"; do case \"$a\" in -r*) f=\"${a#-r}\";; esac; done\n"
        "for i in 1 2 3 4 5 6; do head -c 300000 /dev/zero >> \"$f\"; sleep 0.3; done")), QString());
    Run run(&manager);
    manager.backupDatabase(QStringLiteral("127.0.0.1"), m_server.port, QStringLiteral("root"), m_server.password, kDb,
                           m_dir.filePath(QStringLiteral("growing.sql")));
    QTRY_VERIFY_WITH_TIMEOUT(run.done, 20000);
    QVERIFY(run.success);
    QVERIFY(rising(run.progress));
    QList<int> between;
    for (int p : std::as_const(run.progress)) {
        if (p > 30 && p < 90)
            between.append(p);
    }
    QVERIFY2(between.size() >= 3, qPrintable(QStringLiteral("%1").arg(run.progress.size())));
}

void TestBackupManager::closingTheWindowAsksWhileAToolRuns()
{
    MainWindow window;
    window.show();
    BackupManager *manager = window.backupManager();
    manager->setToolPaths(fakeTool(QStringLiteral("sleep 1; exit 0")), QString());
    Run run(manager);
    manager->backupDatabase(QStringLiteral("127.0.0.1"), m_server.port, QStringLiteral("root"), QString(), kDb,
                            m_dir.filePath(QStringLiteral("closing.sql")));
    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::No}, &boxes);
    QVERIFY(!window.close());
    QCOMPARE(boxes.value(0).title, QStringLiteral("提示"));
    QVERIFY(window.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(run.done, 10000);
    QVERIFY(run.success);
    QVERIFY(window.close());  // nothing runs: no question
}

void TestBackupManager::missingRestoreFile()
{
    BackupManager manager;
    Run run(&manager);
    const QString file = m_dir.filePath(QStringLiteral("gone.sql"));
    manager.restoreDatabase(QStringLiteral("127.0.0.1"), m_server.port, QStringLiteral("root"), m_server.password, kDb, file);
    QVERIFY(run.done);
    QVERIFY(!run.success);
    QCOMPARE(run.log, QStringList({QStringLiteral("开始恢复数据库: backup_db"), QStringLiteral("ERROR 备份文件不存在: ") + file}));
    QCOMPARE(run.progress, QList<int>{0});
    QVERIFY(!manager.isBusy());
}

void TestBackupManager::backupFlowThroughMainWindow()
{
    QDir(applicationDirectory() + QStringLiteral("/backups")).removeRecursively();
    QVERIFY(writeHostConfigs(hostConfigFilePath(), {m_server.hostConfig(kDb)}));
    MainWindow window;
    const QString target = m_dir.filePath(QStringLiteral("flow.sql"));
    QString proposed;
    withNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("保存备份文件"));
        proposed = dialog->selectedFiles().value(0);
        // Typed into the name field, as an operator would; the dialog's directory may still be loading.
        auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(nameEdit);
        nameEdit->setText(target);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::Ok}, &boxes);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("backupBtn")), Qt::LeftButton);
    // The proposal is in the backups folder, which it created.
    QVERIFY2(QFileInfo(proposed).fileName().startsWith(QStringLiteral("backup_")), qPrintable(proposed));
    QVERIFY(QFileInfo::exists(applicationDirectory() + QStringLiteral("/backups")));
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("restoreBtn"))->isEnabled());

    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 1, 120000);
    QCOMPARE(boxes.first().title, QStringLiteral("成功"));
    QCOMPARE(boxes.first().text, QStringLiteral("备份完成: ") + target);
    QVERIFY(QFileInfo(target).size() > 100000);
    QCOMPARE(window.findChild<QProgressBar *>()->value(), 100);
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("restoreBtn"))->isEnabled());
}

void TestBackupManager::restoreFlowThroughMainWindow()
{
    // Two backups in the folder, the older of 1023 bytes, and a file that is no backup.
    const QString dir = applicationDirectory() + QStringLiteral("/backups");
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    QVERIFY(QFile::copy(m_dir.filePath(QStringLiteral("flow.sql")), dir + QStringLiteral("/newest.sql")));
    QFile small(dir + QStringLiteral("/older.sql"));
    QVERIFY(small.open(QIODevice::WriteOnly));
    small.write(QByteArray(1023, '-'));
    small.flush();
    small.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime);
    small.close();
    QFile(dir + QStringLiteral("/notes.txt")).open(QIODevice::WriteOnly);
    BackupManager lister;
    QCOMPARE(lister.getBackupFiles(), QStringList({dir + QStringLiteral("/newest.sql"), dir + QStringLiteral("/older.sql")}));

    QVERIFY(TestServers::runSql(m_server, "UPDATE t_char SET level = 0;", kDb));
    QVERIFY(writeHostConfigs(hostConfigFilePath(), {m_server.hostConfig(kDb)}));
    MainWindow window;
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("connectBtn")), Qt::LeftButton);
    QVERIFY(DatabaseManager::instance()->isConnected());

    QStringList items;
    QList<ModalRecord> boxes;
    withNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("选择备份文件"));
        QCOMPARE(dialog->labelText(), QStringLiteral("请选择要恢复的备份:"));
        auto *combo = dialog->findChild<QComboBox *>();
        for (int i = 0; i < combo->count(); ++i)
            items.append(combo->itemText(i));
        answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
        dialog->setTextValue(items.first());
        dialog->accept();
    });
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("restoreBtn")), Qt::LeftButton);
    QCOMPARE(items.size(), 3);
    QVERIFY(items.at(0).startsWith(QStringLiteral("newest.sql (")));
    QVERIFY(items.at(1).startsWith(QStringLiteral("older.sql (0 KB) - ")));
    QCOMPARE(items.at(2), QStringLiteral("[ 选择其他备份文件... ]"));

    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 2, 120000);
    QCOMPARE(boxes.at(0).title, QStringLiteral("确认恢复"));
    QCOMPARE(boxes.at(0).text, QStringLiteral("确认要恢复数据库吗？\n\n目标数据库: backup_db\n备份文件: newest.sql\n\n"
                                              "⚠️ 警告: 此操作将覆盖当前数据库中的所有数据！\n建议先备份当前数据库！"));
    QCOMPARE(boxes.at(1).title, QStringLiteral("成功"));
    QCOMPARE(boxes.at(1).text, QStringLiteral("数据库恢复完成: backup_db\n\n请重新连接数据库以刷新数据。"));
    QVERIFY(!DatabaseManager::instance()->isConnected());
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_char WHERE level = 0"), kDb), QStringLiteral("0"));

    // A backup deleted while the confirmation is open fails the restore.
    QList<ModalRecord> failure;
    withNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        QVERIFY(dialog);
        withNextModal([&](QWidget *box) {
            QFile::remove(dir + QStringLiteral("/newest.sql"));
            answerMessageBoxes({QMessageBox::Ok}, &failure);
            qobject_cast<QMessageBox *>(box)->button(QMessageBox::Yes)->click();
        }, "QMessageBox");
        dialog->setTextValue(items.first());
        dialog->accept();
    });
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("restoreBtn")), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(failure.size(), 1, 10000);
    QCOMPARE(failure.first().title, QStringLiteral("失败"));
    QCOMPARE(failure.first().text, QStringLiteral("数据库恢复失败，请检查日志获取详细信息"));
}

QTEST_MAIN(TestBackupManager)
#include "tst_backupmanager.moc"
