#include "base/language.h"
#include "base/message.h"

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
    void argumentsAreShownAsGiven_data();
    void argumentsAreShownAsGiven();
    void messagesInsideMessages();
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

// Every message has its English, with the same arguments and no Chinese left.
void TestLanguage::everyMessageHasItsEnglish()
{
    QFile file(QStringLiteral(QUORVEL_SOURCE_DIR "/translations/quorvel_en.ts"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    static const QRegularExpression chinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    static const QRegularExpression placeholder(QStringLiteral("%\\d+"));
    auto placeholders = [](const QString &text) {
        QStringList found;
        for (auto it = placeholder.globalMatch(text); it.hasNext();)
            found << it.next().captured();
        found.sort();
        found.removeDuplicates();  // a text with plural forms holds each place once per form
        return found;
    };
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
        QString english = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        ++messages;
        if (unfinished || english.isEmpty() || english.contains(chinese) || placeholders(english) != placeholders(source)) {
            faults << source + QStringLiteral(" -> ") + english;
            continue;
        }
    }
    QVERIFY(messages > 1000);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

// Every message that takes arguments, filled with data that reads like messages, places or
// nothing: each argument is shown exactly as given, in the source language and in English,
// as Qt's own one-pass QString::arg fills the text.
void TestLanguage::argumentsAreShownAsGiven_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::newRow("catalogue words") << QStringList{QStringLiteral("逍遥"), QStringLiteral("无"), QStringLiteral("主区"), QStringLiteral("角色库")};
    QTest::newRow("places") << QStringList{QStringLiteral("%1"), QStringLiteral("%2%3"), QStringLiteral("%0A%"), QStringLiteral("100%")};
    QTest::newRow("empty and messages") << QStringList{QString(), QStringLiteral("未找到要删除的角色"), QStringLiteral("操作日志"), QString()};
}

void TestLanguage::argumentsAreShownAsGiven()
{
    QFETCH(QStringList, values);
    QFile file(QStringLiteral(QUORVEL_SOURCE_DIR "/translations/quorvel_en.ts"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    static const QRegularExpression placeholder(QStringLiteral("%(\\d\\d?)"));
    QStringList faults;
    int checked = 0;
    QString context;
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        if (xml.name() != QLatin1String("source"))
            continue;
        const QString source = xml.readElementText();
        QSet<int> numbers;
        for (auto it = placeholder.globalMatch(source); it.hasNext();)
            numbers.insert(it.next().captured(1).toInt());
        if (numbers.isEmpty() || numbers.size() > 6)
            continue;
        ++checked;
        QStringList arguments;
        Message message = Message::source(source);
        for (int k = 0; k < numbers.size(); ++k) {
            arguments << values.at(k % values.size());
            message = message.arg(arguments.last());
        }
        auto filled = [&arguments](const QString &text) {
            QString a[6];
            for (int k = 0; k < arguments.size(); ++k)
                a[k] = arguments.at(k);
            switch (arguments.size()) {
            case 1: return text.arg(a[0]);
            case 2: return text.arg(a[0], a[1]);
            case 3: return text.arg(a[0], a[1], a[2]);
            case 4: return text.arg(a[0], a[1], a[2], a[3]);
            case 5: return text.arg(a[0], a[1], a[2], a[3], a[4]);
            default: return text.arg(a[0], a[1], a[2], a[3], a[4], a[5]);
            }
        };
        Language::install(QStringLiteral("zh_CN"));
        if (message.stored() != filled(source) || message.shown() != filled(source))
            faults << source + QStringLiteral(" kept as ") + message.stored();
        Language::install(QStringLiteral("en"));
        const QString english = QCoreApplication::translate(context.toUtf8().constData(), source.toUtf8().constData());
        if (message.shown() != filled(english) || message.stored() != filled(source))
            faults << source + QStringLiteral(" shown as ") + message.shown();
    }
    Language::install(QStringLiteral("zh_CN"));
    QVERIFY(checked > 400);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.mid(0, 20).join(QLatin1Char('\n'))));
}

// A message inside another is shown in the language; data never is, whatever it reads like.
void TestLanguage::messagesInsideMessages()
{
    const Message inner = Message::source(QStringLiteral("未找到要删除的角色"));
    const Message line = Message::source(QStringLiteral("角色名已存在: %1")).arg(QStringLiteral("逍遥"));
    const Message nested = Message::source(QStringLiteral("%1: %2")).arg(inner, QStringLiteral("主区"));
    Language::install(QStringLiteral("en"));
    QCOMPARE(line.shown(), QStringLiteral("The character name exists already: 逍遥"));
    QCOMPARE(nested.shown(), QCoreApplication::translate("CharacterDeleter", "未找到要删除的角色") + QStringLiteral(": 主区"));
    QCOMPARE(nested.stored(), QStringLiteral("未找到要删除的角色: 主区"));
    QCOMPARE(Message(QStringLiteral("未找到要删除的角色")).shown(), QStringLiteral("未找到要删除的角色"));
    // A counted text takes the plural form of its count, grouped where shown, plain where kept.
    const Message one = Message::source(QStringLiteral("  %1: %Ln 条记录")).count(1).arg(QStringLiteral("%Ln"));
    const Message many = Message::source(QStringLiteral("  %1: %Ln 条记录")).count(12345).arg(QStringLiteral("t_skill"));
    QCOMPARE(QStringList({one.shown(), many.shown(), many.stored()}),
             QStringList({"  %Ln: 1 row", "  t_skill: 12,345 rows", "  t_skill: 12345 条记录"}));
    Language::install(QStringLiteral("zh_CN"));
    QCOMPARE(line.shown(), QStringLiteral("角色名已存在: 逍遥"));
    QCOMPARE(many.shown(), QStringLiteral("  t_skill: 12,345 条记录"));
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
