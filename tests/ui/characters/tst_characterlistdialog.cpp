#include "logfiles.h"
#include "base/language.h"
#include "db/databasemanager.h"
#include "db/legacytext.h"
#include "engine/characterexport.h"
#include "filesizelimit.h"
#include "modalanswer.h"
#include "testservers.h"
#include "ui/characters/characterlistdialog.h"
#include "ui/characters/worldidselectordialog.h"
#include "ui/main/mainwindow.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QSqlQuery>
#include <QtTest>

namespace {
const QString kDb = QStringLiteral("charlist_db");

// Puts a copy of a world-1 character into world 9 under another id, account and name.
QByteArray cloneCharacter(int guid, const QByteArray &account, const QByteArray &nameHex)
{
    return "CREATE TEMPORARY TABLE c AS SELECT * FROM t_char WHERE zoneworldid = 1 LIMIT 1;"
           "ALTER TABLE c MODIFY aid BIGINT NULL;"
           "UPDATE c SET aid = NULL, zoneworldid = 9, isvalid = 1, charguid = " + QByteArray::number(guid)
        + ", accname = UNHEX('" + account.toHex() + "'), charname = UNHEX('" + nameHex + "');"
          "INSERT INTO t_char SELECT * FROM c; DROP TEMPORARY TABLE c;";
}

CharacterSummary character(int guid, const QString &name)
{
    CharacterSummary summary;
    summary.name = name;
    summary.numbers[CharacterSummary::CharGuid] = guid;
    summary.numbers[CharacterSummary::Menpai] = 3;
    summary.numbers[CharacterSummary::Level] = 45;
    summary.numbers[CharacterSummary::World] = 2;
    return summary;
}
QTableView *tableOf(QWidget *dialog) { return dialog->findChild<QTableView *>(); }

QList<int> shownGuids(QWidget *dialog)
{
    QList<int> guids;
    const QAbstractItemModel *model = tableOf(dialog)->model();
    for (int row = 0; row < model->rowCount(); ++row)
        guids.append(model->index(row, 0).data().toInt());
    std::sort(guids.begin(), guids.end());
    return guids;
}

} // namespace

class TestCharacterListDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void listsWorldsThroughTheMainWindow();
    void searches_data();
    void searches();
    void failedSearchEmptiesTheTable();
    void repairAndExportFlows();
    void confirmationsShowNamesAsGiven();
    void selectorFiltersAndTicks();
    void exportWritesGbkLinesWithQuotedNames();
    void failedExportKeepsTheEarlierFile();
    void copyOwnsTheSession_data();
    void copyOwnsTheSession();

private:
    void search(const QString &type, const QString &text);

    TestServer m_server;
    QPointer<CharacterListDialog> m_dialog;
    QTemporaryDir m_dir;
};

void TestCharacterListDialog::initTestCase()
{
    QVERIFY(TestServers::loadAndConnect(&m_server, TestServers::smallSample(kDb, {1, 2, 3}, 40)));
    // 0xB05C is one GBK character whose second byte is a backslash.
    QVERIFY(TestServers::runSql(m_server, cloneCharacter(11001234, "o'neil", "B05CC4E3") + cloneCharacter(123, "evil\\' OR 1=1 #", "6F31")
                                              + cloneCharacter(2748, "oneil", "6F32")
                                              + "UPDATE t_char SET menpai = 11 WHERE charguid = 123;"
                                                "UPDATE t_char SET menpai = 10 WHERE charguid = 2748;"
                                                "INSERT INTO t_skill (charguid, skid, sktime) VALUES (11001234, 7, 1), (11001234, 7, 2);",
                                          kDb));
    m_dialog = new CharacterListDialog(nullptr);
}

void TestCharacterListDialog::cleanupTestCase()
{
    delete m_dialog;
    DatabaseManager::instance()->disconnectFromDatabase();
    TestServers::runSql(m_server, "DROP DATABASE IF EXISTS charlist_db; DROP DATABASE IF EXISTS charlist_db_web;");
}

void TestCharacterListDialog::listsWorldsThroughTheMainWindow()
{
    MainWindow window;
    QVERIFY(clickButton(&window, "charMgrBtn"));
    QVERIFY(clickButton(&window, "charMgrBtn"));
    const QList<CharacterListDialog *> open = window.findChildren<CharacterListDialog *>();
    QCOMPARE(open.size(), 2);
    QPointer<CharacterListDialog> dialog = open.first();

    // The selector fills the world field; the query then ignores what does not parse.
    withNextModal([](QWidget *w) {
        auto *list = w->findChild<QListWidget *>();
        list->item(1)->setCheckState(Qt::Checked);
        QVERIFY(clickButton(w, "okBtn"));
    }, "WorldIdSelectorDialog");
    QVERIFY(clickButton(dialog, "selectWorldsBtn"));
    QLineEdit *worlds = editWithPlaceholder(dialog, QStringLiteral("输入ID，多个用逗号分隔"));
    QCOMPARE(worlds->text(), QStringLiteral("2"));
    worlds->setText(QStringLiteral("1, 2,,abc, -3,0"));
    QCOMPARE(dialog->parseWorldIds(), QList<int>({1, 2}));

    tableOf(dialog)->sortByColumn(3, Qt::DescendingOrder);
    QVERIFY(clickButton(dialog, "queryBtn"));
    QTRY_VERIFY(!DatabaseManager::instance()->isBusy());

    // Every row holds one record's cells, and the rows follow the level column as numbers.
    QMap<int, QString> stored;
    const QStringList lines = TestServers::querySql(m_server, QStringLiteral(
        "SELECT charguid, HEX(charname), menpai, level, zoneworldid, yuanbao, bdyuanbao, vmoney, bankmoney, "
        "sect_point, scene, xpos, zpos FROM t_char WHERE zoneworldid IN (1, 2)"), kDb).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        QStringList cells = line.split(QLatin1Char('\t'));
        cells[1] = decodeHexColumn(cells.at(1));
        cells.removeAt(2);  // the sect's name is checked by the searches
        stored.insert(cells.at(0).toInt(), cells.join(QLatin1Char('\t')));
    }
    const QAbstractItemModel *model = tableOf(dialog)->model();
    QCOMPARE(model->rowCount(), 80);
    QString previousLevel;
    for (int row = 0; row < 80; ++row) {
        QStringList cells;
        for (int column = 0; column < 13; ++column) {
            if (column != 2)
                cells.append(model->index(row, column).data().toString());
        }
        QCOMPARE(cells.join(QLatin1Char('\t')), stored.value(cells.at(0).toInt()));
        QVERIFY(row == 0 || cells.at(2).toInt() <= previousLevel.toInt());
        previousLevel = cells.at(2);
    }

    QVERIFY(todaysLog(QStringLiteral("character_")).contains(QStringLiteral("] 查询完成，找到 80 个角色\n")));

    dialog->close();
    QTRY_VERIFY(dialog.isNull());
    qDeleteAll(window.findChildren<CharacterListDialog *>());
}

void TestCharacterListDialog::search(const QString &type, const QString &text)
{
    m_dialog->findChild<QComboBox *>()->setCurrentText(type);
    editWithPlaceholder(m_dialog, QStringLiteral("请输入搜索内容"))->setText(text);
    QVERIFY(clickButton(m_dialog, "searchBtn"));
}

void TestCharacterListDialog::searches_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("guids");  // empty: the CharGUID warning
    const QList<int> target = {11001234};
    for (const char *form : {"A7DD92", "a7dd92", " 0xA7DD92", "11001234"})
        QTest::newRow(form) << QStringLiteral("CharGUID") << QString::fromLatin1(form) << target;
    QTest::newRow("0x123 is hexadecimal") << QStringLiteral("CharGUID") << QStringLiteral("0x7B") << QList<int>{123};
    QTest::newRow("ABC") << QStringLiteral("CharGUID") << QStringLiteral("ABC") << QList<int>{2748};
    for (const char *bad : {"0", "-5", "xyz"})
        QTest::newRow(bad) << QStringLiteral("CharGUID") << QString::fromLatin1(bad) << QList<int>();
    QTest::newRow("quote in an account") << QStringLiteral("账号") << QStringLiteral("o'neil") << target;
    QTest::newRow("injection") << QStringLiteral("账号") << QStringLiteral("\\' OR 1=1 #") << QList<int>{123};
    QTest::newRow("GBK name with a backslash byte") << QStringLiteral("角色名") << decodeGbk(QByteArray::fromHex("B05C"))
                                                   << target;
    QTest::newRow("wildcard taken literally") << QStringLiteral("角色名") << QStringLiteral("o_") << QList<int>{-1};
}

void TestCharacterListDialog::searches()
{
    QFETCH(QString, type);
    QFETCH(QString, text);
    QFETCH(QList<int>, guids);
    QTextEdit *log = m_dialog->findChild<QTextEdit *>();
    log->clear();
    ModalRecord warning;
    if (guids.isEmpty())
        answerNextMessageBox(QMessageBox::Ok, &warning);
    search(type, text);
    if (guids.isEmpty()) {
        QVERIFY(warning.text.startsWith(QStringLiteral("CharGUID必须是正整数")));
        return;
    }
    QCOMPARE(shownGuids(m_dialog), guids == QList<int>{-1} ? QList<int>() : guids);
    const QString sect = tableOf(m_dialog)->model()->index(0, 2).data().toString();
    if (guids == QList<int>{123})
        QCOMPARE(sect, QStringLiteral("11"));
    if (guids == QList<int>{2748})
        QCOMPARE(sect, QStringLiteral("曼陀"));
}

void TestCharacterListDialog::failedSearchEmptiesTheTable()
{
    editWithPlaceholder(m_dialog, QStringLiteral("输入ID，多个用逗号分隔"))->setText(QStringLiteral("3"));
    QVERIFY(clickButton(m_dialog, "queryBtn"));
    QTRY_COMPARE(tableOf(m_dialog)->model()->rowCount(), 40);
    QVERIFY(TestServers::runSql(m_server, "ALTER TABLE t_char CHANGE accname accname_x VARCHAR(50) CHARACTER SET latin1 NOT NULL;", kDb));
    ModalRecord failure;
    answerNextMessageBox(QMessageBox::Ok, &failure);
    search(QStringLiteral("账号"), QStringLiteral("w3"));
    QVERIFY(TestServers::runSql(m_server, "ALTER TABLE t_char CHANGE accname_x accname VARCHAR(50) CHARACTER SET latin1 NOT NULL;", kDb));
    QCOMPARE(tableOf(m_dialog)->model()->rowCount(), 0);
    QCOMPARE(failure.title, QStringLiteral("失败"));

    // A session the server dropped is opened again on the next action.
    QSqlQuery id(DatabaseManager::instance()->database());
    QVERIFY(id.exec(QStringLiteral("SELECT CONNECTION_ID()")) && id.next());
    QVERIFY(TestServers::runSql(m_server, "KILL " + id.value(0).toByteArray() + ";"));
    search(QStringLiteral("CharGUID"), QStringLiteral("11001234"));
    QCOMPARE(shownGuids(m_dialog), QList<int>{11001234});

    // More matches than a search shows: it says so.
    search(QStringLiteral("账号"), QStringLiteral("u"));
    QCOMPARE(tableOf(m_dialog)->model()->rowCount(), 100);
    QVERIFY(m_dialog->findChild<QTextEdit *>()->toPlainText().endsWith(QStringLiteral("仅显示前 100 个结果")));
}

void TestCharacterListDialog::repairAndExportFlows()
{
    search(QStringLiteral("CharGUID"), QStringLiteral("11001234"));
    QTableView *table = tableOf(m_dialog);
    table->setCurrentIndex(table->model()->index(0, 4));
    QCOMPARE(m_dialog->selectedCharGuid(), 11001234);
    QList<ModalRecord> boxes;
    const int skills = TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_skill WHERE charguid = 11001234"), kDb).toInt();
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &boxes);
    QVERIFY(QMetaObject::invokeMethod(m_dialog, "onContextRepairSkill"));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 2, 20000);
    // The confirmation counts what the repair does (every row of the table out, the survivors back
    // in), and the result names the undo file.
    QVERIFY2(boxes.at(0).text.contains(QStringLiteral("t_skill(删除): %1 条记录\n  t_skill(重新写入): %2 条记录").arg(skills).arg(skills - 1)),
             qPrintable(boxes.at(0).text));
    QVERIFY2(boxes.at(1).text.startsWith(QStringLiteral("技能修复完成！\n删除了 1 条重复记录\n\n撤销文件: ")), qPrintable(boxes.at(1).text));
    QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_skill WHERE charguid = 11001234 AND skid = 7"), kDb),
             QStringLiteral("1"));

    // The name is typed as an operator would; selectFile() races the dialog's directory listing.
    QString path;
    withNextModal([&path](QWidget *w) {
        auto *files = qobject_cast<QFileDialog *>(w);
        const QFileInfo proposed(files->selectedFiles().value(0));
        QVERIFY(proposed.fileName().startsWith(QStringLiteral("characters_zone3_")));
        path = proposed.dir().filePath(QStringLiteral("tst_characterlist.csv"));
        QFile::remove(path);
        files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(QFileInfo(path).fileName());
        QMetaObject::invokeMethod(files, "accept");
    }, "QFileDialog");
    QVERIFY(clickButton(m_dialog, "exportBtn"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.count("\r\n"), 2);
    QVERIFY(bytes.contains("11001234,\"\xB0\x5C\xC4\xE3\","));
    file.remove();
}

// A name that is also a word of the program is shown as it is, in English as in Chinese.
void TestCharacterListDialog::confirmationsShowNamesAsGiven()
{
    const QString before = TestServers::querySql(m_server, QStringLiteral("SELECT HEX(charname) FROM t_char WHERE charguid = 11001234"), kDb);
    const QString name = QStringLiteral("逍遥");
    QVERIFY(TestServers::runSql(m_server, QStringLiteral("UPDATE t_char SET charname = X'%1' WHERE charguid = 11001234;")
                                              .arg(QString::fromLatin1(encodeGbk(name).toHex())).toUtf8(), kDb));
    search(QStringLiteral("CharGUID"), QStringLiteral("11001234"));
    QTableView *table = tableOf(m_dialog);
    QTRY_COMPARE(table->model()->rowCount(), 1);
    table->setCurrentIndex(table->model()->index(0, 1));
    QList<ModalRecord> boxes;
    for (const QString &language : {QStringLiteral("en"), QStringLiteral("zh_CN")}) {
        Language::install(language);
        answerMessageBoxes({QMessageBox::No}, &boxes);
        QVERIFY(QMetaObject::invokeMethod(m_dialog, "onContextDeleteCharacter"));
        stopAnsweringModals();
    }
    QVERIFY(TestServers::runSql(m_server, QStringLiteral("UPDATE t_char SET charname = X'%1' WHERE charguid = 11001234;").arg(before).toUtf8(), kDb));
    QCOMPARE(boxes.size(), 2);
    QVERIFY2(boxes.at(0).text.startsWith(QStringLiteral("Delete character [逍遥] (GUID=11001234)")), qPrintable(boxes.at(0).text));
    QVERIFY2(boxes.at(1).text.startsWith(QStringLiteral("确认要删除角色 [逍遥] (GUID=11001234)")), qPrintable(boxes.at(1).text));
}

void TestCharacterListDialog::selectorFiltersAndTicks()
{
    WorldIdSelectorDialog selector(nullptr);
    selector.setWorldIds({5, 10, 21, 30}, {{5, 17}, {10, 3}, {21, 12}});
    auto *list = selector.findChild<QListWidget *>();
    QLineEdit *filter = editWithPlaceholder(&selector, QStringLiteral("输入WorldID进行搜索..."));
    filter->setText(QStringLiteral(" 1 "));
    list->item(0)->setCheckState(Qt::Checked);
    QCOMPARE(selector.findChild<QLabel *>(QStringLiteral("statusLabel"))->text(), QStringLiteral("已选择: 1 / 3 个WorldID  (共 17 个角色)"));
    // Ticks hidden by the filter are kept; "all" and "invert" act on the shown items only.
    filter->setText(QStringLiteral("3"));
    QVERIFY(clickButton(&selector, "allBtn"));
    QCOMPARE(selector.selectedWorldIds(), QList<int>({5, 10, 30}));
    QVERIFY(clickButton(&selector, "invertBtn"));
    QCOMPARE(selector.selectedWorldIds(), QList<int>({5}));
    QVERIFY(clickButton(&selector, "noneBtn"));
    QVERIFY(selector.selectedWorldIds().isEmpty());
}

void TestCharacterListDialog::exportWritesGbkLinesWithQuotedNames()
{
    const QString path = m_dir.filePath(QStringLiteral("names.csv"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("earlier content, longer than the new file will be\n" + QByteArray(4000, 'x')));
    old.close();
    QList<qint64> progress;
    OperationContext context;
    context.onProgress = [&progress](const Message &, qint64 done, qint64) { progress.append(done); };
    QList<CharacterSummary> list = {
        character(11001234, QStringLiteral("剑\"客,一\n号")), character(2, QStringLiteral("=HYPERLINK(\"x\")")),
        character(3, QStringLiteral("-1+2")), character(4, QStringLiteral("@sum")), character(5, QStringLiteral("+x")),
        character(6, QStringLiteral("a=b")), character(8, QString()), character(9, QStringLiteral("%1")),
        character(10, QStringLiteral("%0A")), character(11, QStringLiteral("\r%0A%")), character(12, QStringLiteral("a,b")),
        character(13, QStringLiteral("\"x\"")), character(14, QStringLiteral("甲\r\n乙")),
    };
    // Every GBK byte value: each lead byte, each trail byte, in names of valid pairs.
    QStringDecoder pairs("GBK");
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        QByteArray bytes;
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const char pair[2] = {char(lead), char(trail)};
            pairs.resetState();
            if (trail != 0x7F && !QString(pairs.decode(QByteArrayView(pair, 2))).contains(QChar::ReplacementCharacter) && !pairs.hasError())
                bytes.append(pair, 2);
        }
        list.append(character(100 + lead, decodeGbk(bytes)));
    }
    QVERIFY(CharacterExport::run({list, path}, context).ok);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(!bytes.contains("\xEF\xBB\xBF"));
    QStringDecoder gbk("GBK");
    const QString text = gbk.decode(bytes);
    QVERIFY(!gbk.hasError());
    // Read back as a spreadsheet or Python's csv module reads it (RFC 4180).
    QList<QStringList> records{{}};
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"'))
                field += c, ++i;
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                field += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            records.last() << std::exchange(field, QString());
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            records.last() << std::exchange(field, QString());
            records.append(QStringList());
            ++i;
        } else {
            field += c;
        }
    }
    QVERIFY(records.last().isEmpty() && field.isEmpty());
    records.removeLast();
    QCOMPARE(records.size(), 1 + list.size());
    QCOMPARE(records.first(), QStringList({"角色GUID", "角色名称", "门派", "等级", "ZoneWorldID"}));
    for (int i = 0; i < list.size(); ++i) {
        const QString expected = QStringLiteral("=+-@").contains(list.at(i).name.left(1)) && !list.at(i).name.isEmpty()
            ? QLatin1Char('\'') + list.at(i).name : list.at(i).name;
        QCOMPARE(records.at(i + 1), QStringList({QString::number(list.at(i).guid()), expected, "3", "45", "2"}));
    }
    QVERIFY(std::is_sorted(progress.cbegin(), progress.cend()) && progress.first() == 0 && progress.last() == list.size());
}

void TestCharacterListDialog::failedExportKeepsTheEarlierFile()
{
    // A file size limit makes the writes fail the way a full disk does.
    const QString path = m_dir.filePath(QStringLiteral("full.csv"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("kept\r\n") == 6);
    old.close();
    QList<CharacterSummary> list;
    for (int i = 0; i < 5000; ++i)
        list.append(character(i + 1, QStringLiteral("角色名称%1").arg(i)));
    CharacterExport::Result result;
    {
        FileSizeLimit limit(20000);
        result = CharacterExport::run({list, path}, OperationContext());
    }
    QVERIFY(!result.ok && !result.failure.isEmpty());
    QVERIFY(!CharacterExport::run({list, m_dir.filePath(QStringLiteral("missing/x.csv"))}, OperationContext()).ok);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("kept\r\n"));
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("full.csv*")}, QDir::Files | QDir::Hidden).size(), 1);
}

void TestCharacterListDialog::copyOwnsTheSession_data()
{
    QTest::addColumn<bool>("kill");
    QTest::newRow("runs to its end") << false;
    QTest::newRow("connection killed mid-way") << true;
}

// A copy runs on its worker and owns the session meanwhile: another window refuses a delete.
// A copy whose connection dies leaves nothing of the new character behind.
void TestCharacterListDialog::copyOwnsTheSession()
{
    QFETCH(bool, kill);
    // The copy's first t_skill row waits three seconds, so that the test acts while it runs.
    QVERIFY(TestServers::runSql(m_server, "DELIMITER ;;\nCREATE OR REPLACE TRIGGER slow BEFORE INSERT ON t_skill FOR EACH ROW BEGIN "
                                          "IF @slept IS NULL THEN SET @slept = 1; DO SLEEP(3); END IF; END;;\nDELIMITER ;\n", kDb));
    QVERIFY(TestServers::runSql(m_server, "INSERT IGNORE INTO account (name) VALUES ('copy_target');", kDb + QStringLiteral("_web")));
    const auto before = TestServers::databaseChecksums(m_server, {kDb});
    const QString source = TestServers::querySql(m_server, QStringLiteral("SELECT MIN(charguid) FROM t_skill JOIN t_char USING (charguid) "
                                                                          "WHERE zoneworldid = 1"), kDb).trimmed();
    search(QStringLiteral("CharGUID"), source);
    tableOf(m_dialog)->setCurrentIndex(tableOf(m_dialog)->model()->index(0, 0));
    withNextModal([](QWidget *ask) {
        ask->findChild<QLineEdit *>()->setText(QStringLiteral("copy_target"));
        qobject_cast<QDialog *>(ask)->accept();
    });
    answerNextMessageBox(QMessageBox::Yes);
    QVERIFY(QMetaObject::invokeMethod(m_dialog, "onContextCopyCharacter"));
    QVERIFY(DatabaseManager::instance()->isBusy());

    CharacterListDialog other(nullptr);
    QVERIFY(!other.findChild<QPushButton *>(QStringLiteral("searchBtn"))->isEnabled());
    MainWindow main;
    QVERIFY(!main.findChild<QPushButton *>(QStringLiteral("zoneWipeBtn"))->isEnabled());
    ModalRecord refusal;
    answerNextMessageBox(QMessageBox::Ok, &refusal);
    QVERIFY(QMetaObject::invokeMethod(&other, "onContextDeleteCharacter"));
    QCOMPARE(refusal.text, QStringLiteral("正在复制角色，请等它结束后再操作"));

    if (kill) {
        QString id;
        QTRY_VERIFY_WITH_TIMEOUT(!(id = TestServers::querySql(m_server, QStringLiteral("SELECT id FROM information_schema.PROCESSLIST "
                                                                                       "WHERE state = 'User sleep'")).trimmed()).isEmpty(), 10000);
        QVERIFY(TestServers::runSql(m_server, QStringLiteral("KILL %1;").arg(id).toUtf8()));
    }
    ModalRecord outcome;
    answerNextMessageBox(QMessageBox::Ok, &outcome);
    QTRY_VERIFY_WITH_TIMEOUT(outcome.seen && !DatabaseManager::instance()->isBusy(), 30000);
    QVERIFY(other.findChild<QPushButton *>(QStringLiteral("searchBtn"))->isEnabled());
    QVERIFY(TestServers::runSql(m_server, "DROP TRIGGER slow;", kDb));
    if (kill) {
        QVERIFY2(outcome.text.contains(QStringLiteral("复制t_skill失败")), qPrintable(outcome.text));
        QCOMPARE(TestServers::databaseChecksums(m_server, {kDb}), before);
    } else {
        QVERIFY2(outcome.text.startsWith(QStringLiteral("角色复制成功！")), qPrintable(outcome.text));
        QCOMPARE(TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_char c JOIN t_skill s USING (charguid) "
                                                                "WHERE c.accname = 'copy_target'"), kDb).trimmed(),
                 TestServers::querySql(m_server, QStringLiteral("SELECT COUNT(*) FROM t_skill WHERE charguid = %1").arg(source), kDb).trimmed());
    }
}

QTEST_MAIN(TestCharacterListDialog)
#include "tst_characterlistdialog.moc"
