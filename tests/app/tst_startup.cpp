#include "base/debuglog.h"
#include "base/language.h"
#include "db/odbcdriver.h"
#include "ui/main/odbcwarning.h"
#include "logfiles.h"
#include "modalanswer.h"

#include <QPushButton>
#include <QRegularExpression>
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
    void missingDriverWarningDefaultsToNo();
};

void TestStartup::debugLogAppendsTimeStampedLines()
{
    clearDebugLog();
    debugLog(QStringLiteral("第一行 %1"));
    debugLog(QStringLiteral("second"));
    QFile file(applicationDirectory() + QStringLiteral("/debug.log"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString stamp = QStringLiteral("\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\] ");
    QVERIFY(QRegularExpression(QLatin1Char('^') + stamp + QStringLiteral("第一行 %1\n") + stamp + QStringLiteral("second\n$")).match(QString::fromUtf8(file.readAll())).hasMatch());
}

void TestStartup::probeFindsMySqlDriverInUnixOdbc()
{
    QTemporaryDir dir;
    const QByteArray oldValue = qgetenv("ODBCSYSINI");
    qputenv("ODBCSYSINI", dir.path().toLocal8Bit());
    QFile(dir.filePath(QStringLiteral("odbc.ini"))).open(QIODevice::WriteOnly);
    QList<bool> found;
    for (const QByteArray &name : {QByteArray("MariaDB Unicode"), QByteArray("MySQL ODBC 9.3 ANSI Driver")}) {
        QFile ini(dir.filePath(QStringLiteral("odbcinst.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[" + name + "]\nDriver=/nonexistent/libdriver.so\n");
        ini.close();
        found.append(checkOdbcDriver());
    }
    QCOMPARE(found, QList<bool>({false, true}));
    QCOMPARE(probeOdbcDriverName(QStringLiteral("odbcinst"), {QStringLiteral("-q"), QStringLiteral("-d")}),
             QStringLiteral("MySQL ODBC 9.3 ANSI Driver"));
    qputenv("ODBCSYSINI", oldValue);
}

void TestStartup::probeIgnoresSilentSlowAndMissingPrograms_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("expected");
    QTest::newRow("name") << QStringLiteral("sh") << QStringLiteral("echo '  MySQL ODBC 8.0 Unicode Driver  '")
                          << QStringLiteral("MySQL ODBC 8.0 Unicode Driver");
    QTest::newRow("blanks only") << QStringLiteral("sh") << QStringLiteral("printf '  \\n\\n '") << QString();
    QTest::newRow("error stream only") << QStringLiteral("sh") << QStringLiteral("echo MySQL >&2") << QString();
    QTest::newRow("too slow") << QStringLiteral("sh") << QStringLiteral("sleep 4; echo MySQL") << QString();
    QTest::newRow("missing program") << QStringLiteral("no-such-probe-program") << QString() << QString();
}

void TestStartup::probeIgnoresSilentSlowAndMissingPrograms()
{
    QFETCH(QString, program);
    QFETCH(QString, script);
    QFETCH(QString, expected);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(probeOdbcDriverName(program, {QStringLiteral("-c"), script}, 3000), expected);
    QVERIFY(timer.elapsed() < 6000);
}

void TestStartup::missingDriverWarningDefaultsToNo()
{
    // Qt's own button texts follow the program's language.
    Language::install(QStringLiteral("zh_CN"));
    for (const QMessageBox::StandardButton answer : {QMessageBox::Yes, QMessageBox::No}) {
        QString text;
        QString yes;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        withNextModal([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            text = box->text();
            defaultButton = box->standardButton(box->defaultButton());
            yes = box->button(QMessageBox::Yes)->text();
            box->button(answer)->click();
        });
        QCOMPARE(confirmMissingOdbcDriver(), answer == QMessageBox::Yes);
        QVERIFY2(yes.startsWith(QStringLiteral("是")), qPrintable(yes));
        QCOMPARE(text, missingOdbcDriverText());
        QCOMPARE(defaultButton, QMessageBox::No);
    }
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
