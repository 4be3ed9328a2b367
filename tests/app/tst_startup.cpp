#include "app/debuglog.h"
#include "app/startup.h"
#include "logfiles.h"
#include "modalanswer.h"

#include <QAbstractButton>
#include <QPushButton>

#include <QDirIterator>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void debugLogAppendsTimeStampedLines();
    void probeFindsMySqlDriverInUnixOdbc();
    void probeIgnoresSilentSlowAndMissingPrograms_data();
    void probeIgnoresSilentSlowAndMissingPrograms();
    void missingDriverWarningLetsOperatorChoose_data();
    void missingDriverWarningLetsOperatorChoose();

private:
    void registerDriver(const QTemporaryDir &dir, const QByteArray &name);
};

void TestStartup::debugLogAppendsTimeStampedLines()
{
    clearDebugLog();
    debugLog(QStringLiteral("第一行 %1"));
    debugLog(QStringLiteral("second"));
    QFile file(applicationDirectory() + QStringLiteral("/debug.log"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QRegularExpression lines(QStringLiteral("^\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\] 第一行 %1\n"
                                                 "\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\] second\n$"));
    QVERIFY(lines.match(QString::fromUtf8(file.readAll())).hasMatch());
    QCOMPARE(debugLogMessages(), QStringList({QStringLiteral("第一行 %1"), QStringLiteral("second")}));
}

void TestStartup::registerDriver(const QTemporaryDir &dir, const QByteArray &name)
{
    QFile ini(dir.filePath(QStringLiteral("odbcinst.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write("[" + name + "]\nDriver=/nonexistent/libdriver.so\n");
    QFile(dir.filePath(QStringLiteral("odbc.ini"))).open(QIODevice::WriteOnly);
}

void TestStartup::probeFindsMySqlDriverInUnixOdbc()
{
    if (!QSqlDatabase::drivers().contains(QStringLiteral("QODBC")))
        QSKIP("the SQL layer has no ODBC plug-in");
    QTemporaryDir dir;
    const QByteArray oldValue = qgetenv("ODBCSYSINI");
    qputenv("ODBCSYSINI", dir.path().toLocal8Bit());

    registerDriver(dir, "MariaDB Unicode");
    QVERIFY(!checkOdbcDriver());
    registerDriver(dir, "MySQL ODBC 9.3 ANSI Driver");
    QVERIFY(checkOdbcDriver());
    QCOMPARE(probeOdbcDriverName(QStringLiteral("odbcinst"), {QStringLiteral("-q"), QStringLiteral("-d")}),
             QStringLiteral("MySQL ODBC 9.3 ANSI Driver"));

    qputenv("ODBCSYSINI", oldValue);
}

void TestStartup::probeIgnoresSilentSlowAndMissingPrograms_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    const QString sh = QStringLiteral("sh");
    const QString c = QStringLiteral("-c");
    QTest::newRow("name") << sh << QStringList{c, QStringLiteral("echo '  MySQL ODBC 8.0 Unicode Driver  '")}
                          << QStringLiteral("MySQL ODBC 8.0 Unicode Driver");
    QTest::newRow("blanks only") << sh << QStringList{c, QStringLiteral("printf '  \\n\\n '")} << QString();
    QTest::newRow("error stream only") << sh << QStringList{c, QStringLiteral("echo MySQL >&2")} << QString();
    QTest::newRow("too slow") << sh << QStringList{c, QStringLiteral("sleep 4; echo MySQL")} << QString();
    QTest::newRow("missing program") << QStringLiteral("no-such-probe-program") << QStringList() << QString();
}

void TestStartup::probeIgnoresSilentSlowAndMissingPrograms()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(probeOdbcDriverName(program, arguments, 3000), expected);
    QVERIFY(timer.elapsed() < 6000);
}

void TestStartup::missingDriverWarningLetsOperatorChoose_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("continues");
    QTest::newRow("yes") << int(QMessageBox::Yes) << true;
    QTest::newRow("no") << int(QMessageBox::No) << false;
}

void TestStartup::missingDriverWarningLetsOperatorChoose()
{
    QFETCH(int, answer);
    QFETCH(bool, continues);
    ModalRecord box;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    withNextModal([&](QWidget *modal) {
        auto *messageBox = qobject_cast<QMessageBox *>(modal);
        QVERIFY(messageBox);
        box.title = messageBox->windowTitle();
        box.text = messageBox->text();
        defaultButton = messageBox->standardButton(messageBox->defaultButton());
        messageBox->button(QMessageBox::StandardButton(answer))->click();
    });
    QCOMPARE(confirmMissingOdbcDriver(), continues);
    QCOMPARE(box.text, missingOdbcDriverText());
    QCOMPARE(defaultButton, QMessageBox::No);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
