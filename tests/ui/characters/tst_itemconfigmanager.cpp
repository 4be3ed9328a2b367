#include "ui/characters/itemconfigmanager.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringEncoder("GB18030").encode(text));
}
} // namespace

class TestItemConfigManager : public QObject
{
    Q_OBJECT

private slots:
    void readsTheThreeFilesByTheirRules();
};

void TestItemConfigManager::readsTheThreeFilesByTheirRules()
{
    QTemporaryDir dir;
    const QString gemFields = QStringLiteral("\t0\t0\t0\t0\t0\t0\t");
    writeFile(dir.filePath(QStringLiteral("GemInfo.txt")),
              QStringLiteral("1%1首行数据\r\n2%1次行数据\r\n").arg(gemFields)
                  + QStringLiteral("10%1红宝石\r\n# 10%1注释\r\n\r\n10%1红宝石(新)\r\n11%1$12$价格$3$$5\r\n").arg(gemFields)
                  + QStringLiteral("20%1宝石胜出\r\nx%1无效\r\n0%1零\r\n12\t太短\r\n").arg(gemFields));
    const QString commonFields = QStringLiteral("\t0\t0\t0\t0\t0\t");
    writeFile(dir.filePath(QStringLiteral("CommonItem.txt")),
              QStringLiteral("h\nh\n30%1金疮药\n30%1重复\n20%1不该出现\n").arg(commonFields));
    const QString equipFields = QStringLiteral("\t0\t0\t0\t0\t0\t0\t0\t0\t0\t");
    writeFile(dir.filePath(QStringLiteral("EquipBase.txt")),
              QStringLiteral("h\r\nh\r\n20%1装备\r\n30%1装备\r\n40%1青锋剑\r\n").arg(equipFields));

    ItemConfigManager *catalogue = ItemConfigManager::instance();
    QVERIFY(catalogue->loadConfig(dir.path()));
    QStringList names;
    for (int id : {1, 10, 11, 20, 30, 40, 12})
        names.append(catalogue->getItemName(id));
    // Header lines skipped, the later gem line wins, "$" fields joined, no carriage return kept.
    QCOMPARE(names, QStringList({"未知物品(ID:1)", "红宝石(新)", "价格$5", "宝石胜出", "金疮药", "青锋剑", "未知物品(ID:12)"}));
    QCOMPARE(catalogue->getItemName(0), QString());

    // A folder with only one of the files loads that one; an empty folder loads nothing.
    QTemporaryDir other;
    QVERIFY(!catalogue->loadConfig(other.path()));
    QVERIFY(!catalogue->isLoaded());
    writeFile(other.filePath(QStringLiteral("CommonItem.txt")), QStringLiteral("h\nh\n7\t0\t0\t0\t0\t0\t止血草"));
    QVERIFY(catalogue->loadConfig(other.path()));
    QCOMPARE(catalogue->getItemName(7), QStringLiteral("止血草"));
}

QTEST_MAIN(TestItemConfigManager)
#include "tst_itemconfigmanager.moc"
