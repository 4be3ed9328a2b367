// The Debian package that scripts/package.sh builds, unpacked into a throw-away root: its
// programs start from there, and keep their files in the user's data folder.
#include "testservers.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void installedProgramsRun();
    void cleanupTestCase();

private:
    struct Result
    {
        int code = -1;
        QString out;
    };
    Result run(const QString &program, const QStringList &arguments, const QByteArray &input = QByteArray());

    QString m_package;
    QTemporaryDir m_root;
    QTemporaryDir m_home;
    TestServer m_server;
};

void TestPackage::initTestCase()
{
    const QFileInfoList packages = QDir(QStringLiteral(QUORVEL_PACKAGE_DIR)).entryInfoList({QStringLiteral("quorvel_*.deb")}, QDir::Files, QDir::Time);
    if (packages.isEmpty())
        QSKIP("no package built: bash scripts/package.sh");
    m_package = packages.first().filePath();
    QCOMPARE(QProcess::execute(QStringLiteral("dpkg"), {QStringLiteral("-x"), m_package, m_root.path()}), 0);
    QVERIFY(TestServers::loadAndConnect(&m_server, TestServers::smallSample(QStringLiteral("pkg_db"), {1, 2}, 5)));
}

void TestPackage::cleanupTestCase()
{
    if (m_server.isValid())
        TestServers::runSql(m_server, "DROP DATABASE IF EXISTS pkg_db; DROP DATABASE IF EXISTS pkg_db_web;");
}

TestPackage::Result TestPackage::run(const QString &program, const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
    process.setProcessEnvironment(env);
    process.start(m_root.filePath(QStringLiteral("usr/bin/")) + program, arguments);
    process.write(input);
    process.closeWriteChannel();
    Result result;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        result.code = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return result;
}

void TestPackage::installedProgramsRun()
{
    // One version everywhere: the package's, the programs', the window's title (from project()).
    QCOMPARE(run(QStringLiteral("quorvel-cli"), {QStringLiteral("--version")}).out.trimmed(), QStringLiteral("quorvel-cli " QUORVEL_VERSION));
    QCOMPARE(run(QStringLiteral("quorvel"), {QStringLiteral("--version")}).out.trimmed(), QStringLiteral("quorvel " QUORVEL_VERSION));
    QProcess fields;
    fields.start(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), m_package, QStringLiteral("Version"), QStringLiteral("Depends")});
    QVERIFY(fields.waitForFinished());
    const QString control = QString::fromUtf8(fields.readAllStandardOutput());
    QVERIFY2(control.contains(QStringLiteral("Version: " QUORVEL_VERSION "\n")), qPrintable(control));
    // The window is Chinese by default: the package brings a font that has the characters.
    QVERIFY2(control.contains(QStringLiteral("fonts-noto-cjk | fonts-wqy-microhei")), qPrintable(control));
    QVERIFY(QFileInfo::exists(m_root.filePath(QStringLiteral("usr/share/doc/quorvel/README.md.gz"))));
    // The manual pages, English and Chinese, hold every command's options and the exit codes.
    for (const QString &page : {QStringLiteral("usr/share/man/man1/quorvel-cli.1.gz"), QStringLiteral("usr/share/man/zh_CN/man1/quorvel-cli.1.gz")}) {
        QProcess gunzip;
        gunzip.start(QStringLiteral("gzip"), {QStringLiteral("-dc"), m_root.filePath(page)});
        QVERIFY(gunzip.waitForFinished());
        const QString text = QString::fromUtf8(gunzip.readAllStandardOutput());
        for (const QString &command : {QStringLiteral("worlds"), QStringLiteral("backup"), QStringLiteral("restore"), QStringLiteral("character"),
                                       QStringLiteral("account"), QStringLiteral("wipe"), QStringLiteral("export"), QStringLiteral("merge"),
                                       QStringLiteral("merge-same"), QStringLiteral("undo")})
            QVERIFY2(text.contains(QStringLiteral(".SS ") + command + QLatin1Char('\n')), qPrintable(page + QLatin1Char(' ') + command));
        QVERIFY2(text.contains(QStringLiteral("\\-\\-older\\-than")) && text.contains(QStringLiteral("host_configs.json"))
                     && text.contains(QStringLiteral("EXIT STATUS")), qPrintable(page));
    }

    const Result worlds = run(QStringLiteral("quorvel-cli"), {QStringLiteral("worlds"), QStringLiteral("--server"),
                                                              QStringLiteral("%1:%2").arg(m_server.host).arg(m_server.port),
                                                              QStringLiteral("--database"), QStringLiteral("pkg_db"), QStringLiteral("--password-stdin")},
                              m_server.password.toUtf8() + '\n');
    QVERIFY2(worlds.code == 0 && worlds.out.contains(QStringLiteral("\n1\t5\n")) && worlds.out.contains(QStringLiteral("\n2\t5\n")),
             qPrintable(worlds.out));
    // Both languages are in the installed program, Qt's own Chinese texts from their package.
    QVERIFY(run(QStringLiteral("quorvel-cli"), {QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("help")})
                .out.startsWith(QStringLiteral("Usage: quorvel-cli <command>")));
    QVERIFY(run(QStringLiteral("quorvel-cli"), {QStringLiteral("--lang"), QStringLiteral("zh_CN"), QStringLiteral("worlds"), QStringLiteral("--password"),
                                                QStringLiteral("x")}).out.contains(QStringLiteral("未知选项")));
    // Its day's log went to the data folder; nothing was written beside the programs.
    const QDir logs(m_home.filePath(QStringLiteral("data/Velistra/Quorvel/Log")));
    QVERIFY2(!logs.entryList(QDir::Files).isEmpty(), qPrintable(logs.path()));
    QCOMPARE(QDir(m_root.filePath(QStringLiteral("usr/bin"))).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList({QStringLiteral("quorvel"), QStringLiteral("quorvel-cli")}));

    // The window program starts offscreen and keeps running until it is closed.
    QProcess window;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    window.setProcessEnvironment(env);
    window.start(m_root.filePath(QStringLiteral("usr/bin/quorvel")), {});
    QVERIFY(window.waitForStarted(10000));
    QVERIFY2(!window.waitForFinished(3000), qPrintable(QString::fromUtf8(window.readAllStandardError())));
    window.kill();
    window.waitForFinished();
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
