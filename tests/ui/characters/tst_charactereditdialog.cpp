#include "db/connectionrule.h"
#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "modalanswer.h"
#include "testservers.h"
#include "ui/characters/bankdialog.h"
#include "ui/characters/charactereditdialog.h"
#include "ui/characters/characterlistdialog.h"
#include "ui/characters/itemconfigmanager.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kDb = QStringLiteral("editor_db");

QString cells(QTableWidget *table)
{
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < table->columnCount(); ++column)
            texts.append(table->item(row, column) ? table->item(row, column)->text() : QString());
        rows.append(texts.join(QLatin1Char('|')));
    }
    return rows.join(QLatin1Char('\n'));
}

QTableWidget *tableWithHeader(QWidget *dialog, const QString &firstHeader)
{
    for (QTableWidget *table : dialog->findChildren<QTableWidget *>()) {
        if (table->horizontalHeaderItem(0)->text() == firstHeader)
            return table;
    }
    return nullptr;
}

// An impact record of 32 bytes with the fields the panel reads.
QByteArray impact(qint16 effect, quint32 duration, qint32 elapsed)
{
    QByteArray block(32, '\0');
    qToLittleEndian(effect, block.data() + 4);
    qToLittleEndian(qint16(7), block.data() + 6);
    qToLittleEndian(duration, block.data() + 24);
    qToLittleEndian(elapsed, block.data() + 28);
    return block.toHex();
}
} // namespace

class TestCharacterEditDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void savesOnlyWhatChangedByteForByte();
    void refusesEmptyOrTakenNames_data();
    void refusesEmptyOrTakenNames();
    void bansUnbansAndCancels();
    void buffsXinfaAndSkills();
    void bankFromTheCharacterList();

private:
    QString query(const QString &sql) { return TestServers::querySql(m_server, sql, kDb); }
    TestServer m_server;
};

void TestCharacterEditDialog::initTestCase()
{
    QVERIFY(TestServers::loadAndConnect(&m_server, TestServers::smallSample(kDb, {1, 2}, 6)));
}

void TestCharacterEditDialog::cleanupTestCase()
{
    DatabaseManager::instance()->disconnectFromDatabase();
    TestServers::runSql(m_server, "DROP DATABASE IF EXISTS editor_db; DROP DATABASE IF EXISTS editor_db_web;");
}

void TestCharacterEditDialog::savesOnlyWhatChangedByteForByte()
{
    // Names with GBK bytes 0x80-0x9F; a sex, sect and level no widget offers; a name that is
    // not GBK on another character.
    QVERIFY(TestServers::runSql(m_server,
        "UPDATE t_char SET accname = UNHEX('819F8A80616263'), charname = UNHEX('9F80A1A1'), title = UNHEX('8E9A'), "
        "sex = 2, menpai = 12, level = 255, xpos = -123456 WHERE charguid = 1;"
        "UPDATE t_char SET charname = UNHEX('FF41FE80') WHERE charguid = 2;", kDb));
    const QString untouched = QStringLiteral("SELECT HEX(accname), HEX(title), sex, menpai, level, xpos, hp FROM t_char WHERE charguid = 1");
    const QString before = query(untouched);
    {
        CharacterEditDialog editor(1, nullptr);
        auto *name = editor.findChild<QLineEdit *>(QStringLiteral("charname"));
        QCOMPARE(encodeGbk(name->text()), QByteArray::fromHex("9F80A1A1"));
        QCOMPARE(editor.findChild<QComboBox *>(QStringLiteral("sex"))->currentText(), QStringLiteral("未知(2)"));
        QCOMPARE(editor.findChild<QSpinBox *>(QStringLiteral("level"))->value(), 255);
        const QString newName = decodeGbk(QByteArray::fromHex("8180959FB0A1"));
        name->setText(newName);
        editor.findChild<QSpinBox *>(QStringLiteral("vmoney"))->setValue(424242);
        answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok});
        QVERIFY(clickButton(&editor, "saveBtn"));
        QTRY_VERIFY(!DatabaseManager::instance()->isBusy());  // the save runs on the session's worker
        QCOMPARE(editor.result(), int(QDialog::Accepted));
    }
    QCOMPARE(query(QStringLiteral("SELECT HEX(charname), vmoney FROM t_char WHERE charguid = 1")),
             QStringLiteral("8180959FB0A1\t424242"));
    QCOMPARE(query(untouched), before);

    const QString second = QStringLiteral("SELECT * FROM t_char WHERE charguid = 2");
    const QString secondBefore = query(second);
    {
        CharacterEditDialog editor(2, nullptr);
        ModalRecord box;
        answerNextMessageBox(QMessageBox::Ok, &box);
        QVERIFY(clickButton(&editor, "saveBtn"));
        QTRY_VERIFY(!DatabaseManager::instance()->isBusy());  // the save runs on the session's worker
        QCOMPARE(box.text, QStringLiteral("没有需要保存的修改"));
        QCOMPARE(query(second), secondBefore);
        editor.findChild<QSpinBox *>(QStringLiteral("level"))->setValue(88);
        answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok});
        QVERIFY(clickButton(&editor, "saveBtn"));
        QTRY_VERIFY(!DatabaseManager::instance()->isBusy());  // the save runs on the session's worker
    }
    QCOMPARE(query(QStringLiteral("SELECT HEX(charname), level FROM t_char WHERE charguid = 2")), QStringLiteral("FF41FE80\t88"));

    // A new world id moves the character with its items, as the transfer does, in one
    // transaction with the other fields; a world the game does not know writes nothing.
    const QMap<int, WorldIds> ids = TestServers::worldIds(m_server, kDb);
    const QString moved = QStringLiteral("SELECT zoneworldid, level, (SELECT COUNT(*) FROM t_iteminfo WHERE charguid = 2 AND world <> zoneworldid) "
                                         "FROM t_char WHERE charguid = 2");
    QCOMPARE(query(moved), QStringLiteral("1\t88\t0"));
    QList<ModalRecord> saved;
    {
        CharacterEditDialog editor(2, nullptr);
        editor.findChild<QSpinBox *>(QStringLiteral("level"))->setValue(77);
        editor.findChild<QSpinBox *>(QStringLiteral("zoneworldid"))->setValue(999);
        // A world the game does not know is refused before the question.
        QList<ModalRecord> boxes;
        answerMessageBoxes({QMessageBox::Ok}, &boxes);
        QVERIFY(clickButton(&editor, "saveBtn"));
        QTRY_VERIFY(!DatabaseManager::instance()->isBusy());  // the save runs on the session's worker
        QCOMPARE(boxes.value(0).text, QStringLiteral("WorldID 999 不存在，已知的 WorldID: 1, 2"));
        QCOMPARE(query(moved), QStringLiteral("1\t88\t0"));
        editor.findChild<QSpinBox *>(QStringLiteral("zoneworldid"))->setValue(2);
        answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &saved);
        QVERIFY(clickButton(&editor, "saveBtn"));
        QTRY_VERIFY(!DatabaseManager::instance()->isBusy());  // the save runs on the session's worker
    }
    QCOMPARE(query(moved), QStringLiteral("2\t77\t0"));
    QCOMPARE(TestServers::idFaults(m_server, kDb, ids), QStringList());
    // The save's undo file sets back what it changed, items included, and only that.
    QVERIFY(TestServers::runSql(m_server, "UPDATE t_char SET hp = 4321 WHERE charguid = 2;", kDb));
    QCOMPARE(TestServers::applyUndo(m_server, kDb, saved.value(1).text), QString());
    QCOMPARE(query(moved + QStringLiteral(" AND hp = 4321")), QStringLiteral("1\t88\t0"));
}

void TestCharacterEditDialog::refusesEmptyOrTakenNames_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("box");
    QTest::newRow("name cleared") << QStringLiteral("charname") << QString() << QStringLiteral("角色名不能为空");
    QTest::newRow("account cleared") << QStringLiteral("accname") << QString() << QStringLiteral("账号名不能为空");
    QTest::newRow("name taken, other case") << QStringLiteral("charname") << QStringLiteral("TAKEN%1")
                                            << QStringLiteral("角色名已存在: TAKEN%1");
    QTest::newRow("title cleared") << QStringLiteral("title") << QString() << QStringLiteral("角色数据保存成功！");
}

void TestCharacterEditDialog::refusesEmptyOrTakenNames()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, box);
    QVERIFY(TestServers::runSql(m_server, "UPDATE t_char SET charname = 'taken%1' WHERE charguid = 6;"
                                          "UPDATE t_char SET title = 'old' WHERE charguid = 3;", kDb));
    const QString row = QStringLiteral("SELECT HEX(accname), HEX(charname), CONCAT('<', HEX(title), '>') FROM t_char WHERE charguid = 3");
    const QString before = query(row);
    CharacterEditDialog editor(3, nullptr);
    editor.findChild<QLineEdit *>(field)->setText(text);
    QList<ModalRecord> boxes;
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
    QVERIFY(clickButton(&editor, "saveBtn"));
    QTRY_VERIFY(!DatabaseManager::instance()->isBusy());  // the save runs on the session's worker
    stopAnsweringModals();
    QCOMPARE(boxes.last().text.section(QLatin1Char('\n'), 0, 0), box);
    QCOMPARE(query(row), field == QLatin1String("title") ? QString(before).replace(QStringLiteral("<6F6C64>"), QStringLiteral("<>")) : before);
}

void TestCharacterEditDialog::bansUnbansAndCancels()
{
    const QString position = QStringLiteral("SELECT scene, xpos, zpos, bkscene, bkxpos, bkzpos FROM t_char WHERE charguid = 3");
    QVERIFY(TestServers::runSql(m_server, "UPDATE t_char SET banendtime = 1000 WHERE charguid = 3;", kDb));
    const QString stored = query(position);
    CharacterEditDialog editor(3, nullptr);
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok});
    QVERIFY(clickButton(&editor, "banBtn"));
    const qint64 expected = QDateTime::currentDateTime().addYears(10).toSecsSinceEpoch();
    QVERIFY(qAbs(query(QStringLiteral("SELECT banendtime FROM t_char WHERE charguid = 3")).toLongLong() - expected) < 60);

    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok});
    QVERIFY(clickButton(&editor, "unbanBtn"));
    QCOMPARE(query(QStringLiteral("SELECT banendtime FROM t_char WHERE charguid = 3")), QStringLiteral("0"));

    QVERIFY(clickButton(&editor, "luoyangBtn"));
    QVERIFY(clickButton(&editor, "cancelBtn"));
    QCOMPARE(query(position), stored);
}

void TestCharacterEditDialog::buffsXinfaAndSkills()
{
    // Listed and unlisted records interleave; aids ascend in this order.
    const QByteArray sql = "DELETE FROM t_impact WHERE charguid = 4; DELETE FROM t_xinfa WHERE charguid = 5;"
        "INSERT INTO t_xinfa (charguid, xinfaid, xinfalvl) VALUES (4, 1500, 0);"
        "INSERT INTO t_impact (charguid, imdata, dbversion) VALUES "
        "(4, '" + impact(-1, 0xFFFFFFFF, 90061000) + "', 0), (4, '" + QByteArray(62, 'a') + "', 0),"
        "(4, '" + impact(2, 0, -1) + "', 0), (4, '', 0), (4, '" + impact(3, 90061000, 999) + "', 0),"
        "(4, '" + impact(4, 3599999, 0) + "', 0), (4, '" + impact(5, 999, 61000) + "', 0);";
    QVERIFY(TestServers::runSql(m_server, sql, kDb));
    CharacterEditDialog editor(4, nullptr);
    QTableWidget *buffs = tableWithHeader(&editor, QStringLiteral("效果ID"));
    QCOMPARE(cells(buffs), QStringLiteral("-1|7|永久|25小时1分\n2|7|0|-1\n3|7|1天1小时|0秒\n4|7|59分59秒|0\n5|7|0秒|1分1秒"));
    buffs->setCurrentCell(2, 0);
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok});
    QVERIFY(QMetaObject::invokeMethod(&editor, "onDeleteBuff"));
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*), SUM(imdata = '%1') FROM t_impact WHERE charguid = 4")
                       .arg(QString::fromLatin1(impact(3, 90061000, 999)))), QStringLiteral("6\t0"));
    QCOMPARE(buffs->rowCount(), 4);

    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok});
    QVERIFY(clickButton(&editor, "clearBuffsBtn"));
    QCOMPARE(cells(buffs), QStringLiteral("-|无BUFF数据|-|-"));
    buffs->setCurrentCell(0, 0);
    answerNextMessageBox(QMessageBox::Yes);
    QVERIFY(QMetaObject::invokeMethod(&editor, "onDeleteBuff"));  // the placeholder: nothing to delete

    QTableWidget *xinfa = tableWithHeader(&editor, QStringLiteral("心法ID"));
    const QString firstXinfa = query(QStringLiteral("SELECT aid FROM t_xinfa WHERE charguid = 4 ORDER BY xinfaid LIMIT 1"));
    xinfa->selectRow(0);
    editor.findChild<QSpinBox *>(QStringLiteral("xinfaLevel"))->setValue(77);
    answerMessageBoxes({QMessageBox::Ok});
    QVERIFY(clickButton(&editor, "saveXinfaBtn"));
    QCOMPARE(query(QStringLiteral("SELECT xinfalvl FROM t_xinfa WHERE aid = %1").arg(firstXinfa)), QStringLiteral("77"));
    QVERIFY(cells(tableWithHeader(&editor, QStringLiteral("技能ID"))).contains(QStringLiteral("|技能")));
    // A row the boxes' usual ranges cannot hold: only the changed level is written.
    xinfa->selectRow(xinfa->rowCount() - 1);
    editor.findChild<QSpinBox *>(QStringLiteral("xinfaLevel"))->setValue(5);
    answerMessageBoxes({QMessageBox::Ok});
    QVERIFY(clickButton(&editor, "saveXinfaBtn"));
    QCOMPARE(query(QStringLiteral("SELECT xinfalvl FROM t_xinfa WHERE charguid = 4 AND xinfaid = 1500")), QStringLiteral("5"));

    // A character without xinfa shows a placeholder row, which saves nothing.
    CharacterEditDialog empty(5, nullptr);
    tableWithHeader(&empty, QStringLiteral("心法ID"))->selectRow(0);
    answerNextMessageBox(QMessageBox::Ok);
    QVERIFY(clickButton(&empty, "saveXinfaBtn"));
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM t_xinfa WHERE charguid = 5")), QStringLiteral("0"));
}

void TestCharacterEditDialog::bankFromTheCharacterList()
{
    // The catalogue's three files by their rules: header lines skipped, later gem lines win,
    // "$" fields joined, no carriage return kept; an empty folder loads nothing.
    QTemporaryDir dir;
    ItemConfigManager *catalogue = ItemConfigManager::instance();
    QVERIFY(!catalogue->loadConfig(dir.path()) && !catalogue->isLoaded());
    auto write = [&dir](const char *name, const QString &text) {
        QFile file(dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(encodeGbk(text)) > 0);
    };
    const QString gem = QStringLiteral("\t0\t0\t0\t0\t0\t0\t");
    write("GemInfo.txt", QStringLiteral("1%1首行\r\n2%1次行\r\n10%1红宝石\r\n# 10%1注释\r\n\r\n10%1红宝石(新)\r\n11%1$12$价格$3$$5\r\n"
                                        "20%1宝石胜出\r\nx%1无效\r\n12\t太短\r\n").arg(gem));
    write("CommonItem.txt", QStringLiteral("h\nh\n20001\t0\t0\t0\t0\t0\t金疮药\n20\t0\t0\t0\t0\t0\t不该出现\n"));
    write("EquipBase.txt", QStringLiteral("h\r\nh\r\n40\t0\t0\t0\t0\t0\t0\t0\t0\t0\t青锋剑\r\n"));
    QVERIFY(catalogue->loadConfig(dir.path()));
    QStringList names;
    for (int id : {1, 10, 11, 20, 40, 12, 0})
        names.append(catalogue->itemName(id));
    QCOMPARE(names, QStringList({"未知物品(ID:1)", "红宝石(新)", "价格$5", "宝石胜出", "青锋剑", "未知物品(ID:12)", ""}));

    QByteArray sql = "DELETE FROM t_iteminfo WHERE charguid = 6; INSERT INTO t_iteminfo "
                     "(charguid, guid, world, server, itemtype, pos, p1, p2, p3, p4, p5, p6, p7, p8, p9, p10, p11, p12, "
                     "p13, p14, p15, p16, p17, creator, isvalid, fixattr) VALUES ";
    const QList<std::tuple<int, int, qint64, int>> items = {
        {209, 20001, 0, 1}, {210, 20001, 0, 1}, {211, 99, (5 << 24) | (1 << 16), 1}, {212, 0, 2 << 16, 1},
        {329, 98, (7 << 16), 1}, {330, 20001, 0, 1}, {250, 20001, 0, 0}};
    QStringList rows;
    for (const auto &[pos, type, p7, valid] : items) {
        rows.append(QStringLiteral("(6, %1, 1, 1, %2, %3, 0,0,0,0,0,0, %4, 0,0,0,0,0,0,0,0,0,0, UNHEX('B6A9C0CF'), %5, '')")
                        .arg(900000 + pos).arg(type).arg(pos).arg(qint32(p7)).arg(valid));
    }
    QVERIFY(TestServers::runSql(m_server, sql + rows.join(QLatin1Char(',')).toUtf8() + ";", kDb));

    CharacterListDialog list(nullptr);
    list.findChild<QComboBox *>()->setCurrentIndex(0);
    editWithPlaceholder(&list, QStringLiteral("请输入搜索内容"))->setText(QStringLiteral("6"));
    QVERIFY(clickButton(&list, "searchBtn"));
    auto *table = list.findChild<QTableView *>();
    table->setCurrentIndex(table->model()->index(0, 0));
    QString shown;
    QStringList byItemId;
    withNextModal([&shown, &byItemId](QWidget *w) {
        shown = cells(w->findChild<QTableWidget *>()) + QLatin1Char('\n') + w->findChildren<QLabel *>().at(1)->text();
        auto *items = w->findChild<QTableWidget *>();
        items->sortByColumn(1, Qt::AscendingOrder);  // item ids as numbers
        for (int row = 0; row < items->rowCount(); ++row)
            byItemId.append(items->item(row, 1)->text());
        QVERIFY(clickButton(w, "closeBtn"));
    }, "BankDialog");
    QVERIFY(QMetaObject::invokeMethod(&list, "onContextViewBank"));
    QCOMPARE(shown, QStringLiteral("210|20001|金疮药|1|未绑定|900210|订老\n"
                                   "211|99|未知物品(ID:99)|5|已绑定|900211|订老\n"
                                   "212|0||1|装备绑定|900212|订老\n"
                                   "329|98|未知物品(ID:98)|1|状态7|900329|订老\n"
                                   "共加载 4 件仓库物品"));
    QCOMPARE(byItemId, QStringList({"0", "98", "99", "20001"}));

    withNextModal([](QWidget *w) { QVERIFY(clickButton(w, "cancelBtn")); }, "CharacterEditDialog");
    QVERIFY(clickButton(&list, "editBtn"));
}

QTEST_MAIN(TestCharacterEditDialog)
#include "tst_charactereditdialog.moc"
