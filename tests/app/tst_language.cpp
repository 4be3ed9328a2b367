#include "app/language.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase() { Language::install(QStringLiteral("zh_CN")); }
    void choosesTheLanguage_data();
    void choosesTheLanguage();
    void everyMessageHasItsEnglish();
    void storedTextsShowInEnglish_data();
    void storedTextsShowInEnglish();
};

void TestLanguage::choosesTheLanguage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("chosen");  // empty: refused
    const QStringList program{QStringLiteral("quorvel")};
    QTest::newRow("--lang wins") << program + QStringList{QStringLiteral("--lang"), QStringLiteral("zh_CN")} << QStringLiteral("en")
                                 << QStringLiteral("zh_CN");
    QTest::newRow("--lang=") << program + QStringList{QStringLiteral("--lang=en")} << QString() << QStringLiteral("en");
    QTest::newRow("the window's choice") << program << QStringLiteral("en") << QStringLiteral("en");
    QTest::newRow("an unknown code") << program + QStringList{QStringLiteral("--lang"), QStringLiteral("fr")} << QString() << QString();
}

void TestLanguage::choosesTheLanguage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, saved);
    QFETCH(QString, chosen);
    QString error;
    QCOMPARE(Language::choose(arguments, saved, &error), chosen);
    QCOMPARE(error.isEmpty(), !chosen.isEmpty());
}

// Every message has its English, with the same arguments and no Chinese left; filled with plain
// values, it reads as that English when shown: no message is taken for another.
void TestLanguage::everyMessageHasItsEnglish()
{
    QFile file(QStringLiteral(QUORVEL_SOURCE_DIR "/translations/quorvel_en.ts"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    static const QRegularExpression chinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    static const QRegularExpression placeholder(QStringLiteral("%\\d+"));
    static const QRegularExpression sideBySide(QStringLiteral("%\\d+%\\d"));
    auto placeholders = [](const QString &text) {
        QStringList found;
        for (auto it = placeholder.globalMatch(text); it.hasNext();)
            found << it.next().captured();
        found.sort();
        return found;
    };
    Language::install(QStringLiteral("en"));
    QString source;
    int messages = 0;
    QStringList faults;
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
            continue;
        }
        if (xml.name() != QLatin1String("translation"))
            continue;
        const bool unfinished = xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
        QString english = xml.readElementText();
        ++messages;
        if (unfinished || english.isEmpty() || english.contains(chinese) || placeholders(english) != placeholders(source)) {
            faults << source + QStringLiteral(" -> ") + english;
            continue;
        }
        // The CSV header is never shown; arguments side by side are split by what they hold (a
        // case of storedTextsShowInEnglish).
        if (!source.contains(chinese) || source.contains(QLatin1String(",ZoneWorldID")) || source.contains(sideBySide))
            continue;
        const QString shown = Language::shown(QString(source).replace(placeholder, QStringLiteral("7")));
        if (shown != english.replace(placeholder, QStringLiteral("7")))
            faults << source + QStringLiteral(" shown as ") + shown;
    }
    QVERIFY(messages > 1000);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TestLanguage::storedTextsShowInEnglish_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("arguments") << QStringLiteral("删除完成！共删除 12 条记录") << QStringLiteral("Deletion done! 12 rows deleted");
    QTest::newRow("a message inside another") << QStringLiteral("错误: 删除 t_char 失败: boom")
                                              << QStringLiteral("Error: Deleting t_char failed: boom");
    QTest::newRow("a stage and its count") << QStringLiteral("合并角色 (3/11)") << QStringLiteral("Merging characters (3/11)");
    QTest::newRow("lines") << QStringLiteral("已取消\n角色删除成功") << QStringLiteral("Cancelled\nCharacter deleted");
    QTest::newRow("after a text already shown") << QStringLiteral("Deletion failed: 未找到要删除的角色")
                                                << QStringLiteral("Deletion failed: The character to delete was not found");
    QTest::newRow("two arguments side by side") << QStringLiteral("主区角色库连接成功: game")
                                                << QStringLiteral("main character database connected: game");
    QTest::newRow("a name that starts like a message") << QStringLiteral("无此服") << QStringLiteral("无此服");
    QTest::newRow("a name as an argument") << QStringLiteral("角色名已存在: 无此服") << QStringLiteral("The character name exists already: 无此服");
    QTest::newRow("percent signs of the data") << QStringLiteral("角色名已存在: %1 100%") << QStringLiteral("The character name exists already: %1 100%");
}

void TestLanguage::storedTextsShowInEnglish()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    Language::install(QStringLiteral("zh_CN"));
    QCOMPARE(Language::shown(stored), stored);
    Language::install(QStringLiteral("en"));
    QCOMPARE(Language::shown(stored), shown);
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
