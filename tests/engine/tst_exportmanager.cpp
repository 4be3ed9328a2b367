#include "engine/exportmanager.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {
CharacterSummary character(int guid, const QString &name)
{
    return {{QStringLiteral("charguid"), guid}, {QStringLiteral("charname"), name}, {QStringLiteral("menpai"), 3},
            {QStringLiteral("level"), 45}, {QStringLiteral("zoneworldid"), 2}};
}
} // namespace

class TestExportManager : public QObject
{
    Q_OBJECT

private slots:
    void proposesNamesByWorlds();
    void writesGbkLinesWithQuotedNames();
    void failedWriteKeepsTheEarlierFile();

private:
    QTemporaryDir m_dir;
};

void TestExportManager::proposesNamesByWorlds()
{
    QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/exports")).removeRecursively();
    ExportManager exporter(this);
    QStringList names;
    for (const QList<int> &worlds : {QList<int>{7}, QList<int>{}, QList<int>{1, 2, 3, 4}}) {
        const QFileInfo info(exporter.generateExportPath(worlds));
        QCOMPARE(info.absolutePath(), QCoreApplication::applicationDirPath() + QStringLiteral("/exports"));
        QVERIFY(info.dir().exists() && !info.exists());
        names.append(info.fileName().remove(QRegularExpression(QStringLiteral("\\d{8}_\\d{6}\\.csv$"))));
    }
    QCOMPARE(names, QStringList({"characters_zone7_", "characters_zone_", "characters_zone1_2_3_etc_"}));
}

void TestExportManager::writesGbkLinesWithQuotedNames()
{
    const QString path = m_dir.filePath(QStringLiteral("names.csv"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("earlier content, longer than the new file will be\n" + QByteArray(4000, 'x')));
    old.close();
    ExportManager exporter(this);
    QSignalSpy progress(&exporter, &ExportManager::exportProgress);
    QList<CharacterSummary> list = {
        character(11001234, QStringLiteral("剑\"客,一\n号")), character(2, QStringLiteral("=HYPERLINK(\"x\")")),
        character(3, QStringLiteral("-1+2")), character(4, QStringLiteral("@sum")), character(5, QStringLiteral("+x")),
        character(6, QStringLiteral("a=b")), character(7, QStringLiteral("表😀")), CharacterSummary{{QStringLiteral("charguid"), 8}},
    };
    for (int i = 0; i < 250; ++i)
        list.append(character(100 + i, QStringLiteral("角色%1").arg(i)));
    QVERIFY(exporter.exportCharacters(list, path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QStringDecoder gbk("GBK");
    QVERIFY(QString(gbk.decode(bytes)).startsWith(QStringLiteral(
        "角色GUID,角色名称,门派,等级,ZoneWorldID\r\n11001234,\"剑\"\"客,一\r\n号\",3,45,2\r\n2,\"'=HYPERLINK(\"\"x\"\")\",3,45,2\r\n"
        "3,\"'-1+2\",3,45,2\r\n4,\"'@sum\",3,45,2\r\n5,\"'+x\",3,45,2\r\n6,\"a=b\",3,45,2\r\n")));
    // The name outside GBK keeps its encodable part; the record without keys has empty fields.
    QVERIFY(bytes.contains(QByteArray("7,\"\xB1\xED")) && bytes.contains("\",3,45,2\r\n8,\"\",,,\r\n100,"));
    QCOMPARE(bytes.count("\r\n"), 1 + 259);
    QVERIFY(!bytes.contains("\xEF\xBB\xBF"));
    QList<int> values;
    for (const QList<QVariant> &args : std::as_const(progress))
        values.append(args.at(0).toInt());
    QVERIFY(std::is_sorted(values.cbegin(), values.cend()) && values.size() > 4 && values.last() == 100);
}

void TestExportManager::failedWriteKeepsTheEarlierFile()
{
    // A file size limit makes the writes fail the way a full disk does.
    const QString path = m_dir.filePath(QStringLiteral("full.csv"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("kept\r\n") == 6);
    old.close();
    QList<CharacterSummary> list;
    for (int i = 0; i < 5000; ++i)
        list.append(character(i + 1, QStringLiteral("角色名称%1").arg(i)));
    ExportManager exporter(this);
    QSignalSpy completed(&exporter, &ExportManager::exportCompleted);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 20000;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool ok = exporter.exportCharacters(list, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    QVERIFY(!ok);
    QVERIFY(!exporter.exportCharacters(list, m_dir.filePath(QStringLiteral("missing/x.csv"))));
    QCOMPARE(completed.size(), 2);
    QCOMPARE(completed.at(0), QVariantList({false, QString()}));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("kept\r\n"));
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("full.csv*")}, QDir::Files | QDir::Hidden).size(), 1);
}

QTEST_MAIN(TestExportManager)
#include "tst_exportmanager.moc"
