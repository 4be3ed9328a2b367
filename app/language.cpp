#include "language.h"

#include "debuglog.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSettings>
#include <QTranslator>
#include <QXmlStreamReader>

#include <algorithm>
#include <memory>

namespace Language {
namespace {

struct State
{
    QString code = QStringLiteral("zh_CN");
    QList<QTranslator *> translators;
};

State &state()
{
    static State s;
    return s;
}

QLocale localeOf(const QString &code)
{
    return code == QLatin1String("en") ? QLocale(QLocale::English, QLocale::UnitedStates) : QLocale(QLocale::Chinese, QLocale::China);
}

bool isChinese(QChar c)
{
    return c.unicode() >= 0x3000 && c.unicode() < 0xFFF0 && !(c.unicode() >= 0xD800 && c.unicode() < 0xE000);
}

bool hasChinese(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), isChinese);
}

// "%1" to "%99" in a message.
const QRegularExpression &placeholder()
{
    static const QRegularExpression pattern(QStringLiteral("%(\\d{1,2})"));
    return pattern;
}

// A translated message that a stored text may have been written from: its literal pieces
// around the places of its arguments %1..%n.
struct Message
{
    QString context;
    QString source;
    QRegularExpression pattern;  // empty for a message without arguments
    QList<int> argumentNumbers;  // the %n of each capture, in order
    QList<bool> joinedToNext;    // nothing between this capture and the next ("%1%2")
    QString longestPiece;        // a quick test before the pattern
};

struct Catalogue
{
    QHash<QString, QString> whole;  // message without arguments -> its context
    QList<Message> withArguments;   // longest first, so that the most specific one wins
    QList<QString> prefixes;        // messages without arguments a line may start with, longest first
};

// The messages of the program, read from the English catalogue's source texts (the same in
// every language); the translation itself comes through the installed translators.
const Catalogue &catalogue()
{
    static const Catalogue c = [] {
        Catalogue result;
        QFile file(QStringLiteral(":/translations/quorvel_en.ts"));
        if (!file.open(QIODevice::ReadOnly))
            return result;
        QXmlStreamReader xml(&file);
        QString context;
        while (!xml.atEnd()) {
            if (!xml.readNextStartElement())
                continue;
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("source")) {
                const QString source = xml.readElementText();
                if (!hasChinese(source))
                    continue;
                if (!source.contains(placeholder())) {
                    result.whole.insert(source, context);
                    result.prefixes.append(source);
                    continue;
                }
                Message message{context, source, {}, {}, {}, {}};
                QString pattern = QStringLiteral("^");
                qsizetype at = 0;
                auto it = placeholder().globalMatch(source);
                while (it.hasNext()) {
                    const QRegularExpressionMatch m = it.next();
                    const QString piece = source.mid(at, m.capturedStart() - at);
                    if (!message.argumentNumbers.isEmpty())
                        message.joinedToNext.append(piece.isEmpty());
                    if (piece.size() > message.longestPiece.size())
                        message.longestPiece = piece;
                    pattern += QRegularExpression::escape(piece) + QStringLiteral("(.*?)");
                    message.argumentNumbers.append(m.captured(1).toInt());
                    at = m.capturedEnd();
                }
                message.joinedToNext.append(false);
                const QString tail = source.mid(at);
                if (tail.size() > message.longestPiece.size())
                    message.longestPiece = tail;
                message.pattern.setPattern(pattern + QRegularExpression::escape(tail) + QStringLiteral("$"));
                message.pattern.setPatternOptions(QRegularExpression::DotMatchesEverythingOption);
                result.withArguments.append(message);
            }
        }
        // The most specific first: the most text outside the arguments.
        auto literal = [](const Message &m) { return m.source.size() - 2 * m.argumentNumbers.size(); };
        std::stable_sort(result.withArguments.begin(), result.withArguments.end(),
                         [&literal](const Message &a, const Message &b) { return literal(a) > literal(b); });
        std::stable_sort(result.prefixes.begin(), result.prefixes.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
        return result;
    }();
    return c;
}

QString translated(const QString &context, const QString &source)
{
    const QByteArray context8 = context.toUtf8();
    const QByteArray source8 = source.toUtf8();
    return QCoreApplication::translate(context8.constData(), source8.constData());
}

QString withArguments(const Message &message, const QRegularExpressionMatch &match, int depth);

// Every way the text reads as one message, or a known beginning and the rest; the first that
// leaves nothing in the source language wins, else the first at all (the most specific message
// comes first).
QString shownAt(const QString &stored, int depth)
{
    if (stored.isEmpty() || depth > 4 || !hasChinese(stored))
        return stored;
    const Catalogue &c = catalogue();
    const auto whole = c.whole.constFind(stored);
    if (whole != c.whole.cend())
        return translated(*whole, stored);
    QString first;
    auto consider = [&first](const QString &candidate) {
        if (first.isNull())
            first = candidate;
        return !hasChinese(candidate);
    };
    for (const Message &message : c.withArguments) {
        if (!stored.contains(message.longestPiece))
            continue;
        const QRegularExpressionMatch match = message.pattern.match(stored);
        if (!match.hasMatch())
            continue;
        const QString candidate = withArguments(message, match, depth);
        if (consider(candidate))
            return candidate;
    }
    // Lines put together from several texts: each line.
    if (stored.contains(QLatin1Char('\n'))) {
        QStringList lines = stored.split(QLatin1Char('\n'));
        for (QString &line : lines)
            line = shownAt(line, depth + 1);
        if (consider(lines.join(QLatin1Char('\n'))))
            return lines.join(QLatin1Char('\n'));
    }
    // A beginning counts where a separator ends it, so that a name starting like a message
    // ("无此服" and "无") stays a name.
    static const QString separators = QStringLiteral(" :：(（,，");
    for (const QString &prefix : c.prefixes) {
        if (prefix.size() >= stored.size() || !stored.startsWith(prefix))
            continue;
        if (!separators.contains(prefix.back()) && !separators.contains(stored.at(prefix.size())))
            continue;
        const QString candidate = translated(c.whole.value(prefix), prefix) + shownAt(stored.mid(prefix.size()), depth + 1);
        if (consider(candidate))
            return candidate;
    }
    // A stored text after a text already shown ("Deletion failed: " + a stored failure).
    if (first.isNull()) {
        qsizetype at = 0;
        while (at < stored.size() && !isChinese(stored.at(at)))
            ++at;
        const qsizetype cut = std::max({stored.lastIndexOf(QLatin1String(": "), at), stored.lastIndexOf(QLatin1Char('\n'), at)});
        if (cut >= 0 && cut < at) {
            const qsizetype from = stored.at(cut) == QLatin1Char('\n') ? cut + 1 : cut + 2;
            const QString candidate = stored.left(from) + shownAt(stored.mid(from), depth + 1);
            if (consider(candidate))
                return candidate;
        }
    }
    return first.isNull() ? stored : first;
}

QString withArguments(const Message &message, const QRegularExpressionMatch &match, int depth)
{
    const QString text = translated(message.context, message.source);
    // Arguments by their number, each shown the same way; %n in an argument stays as it is.
    QStringList captured;
    for (int i = 0; i < message.argumentNumbers.size(); ++i)
        captured << match.captured(i + 1);
    // Two arguments side by side ("主区" "角色库"): split where both halves are messages.
    const Catalogue &c = catalogue();
    for (int i = 0; i + 1 < captured.size(); ++i) {
        if (!message.joinedToNext.at(i))
            continue;
        const QString both = captured.at(i) + captured.at(i + 1);
        for (qsizetype k = 1; k < both.size(); ++k) {
            if (c.whole.contains(both.left(k)) && c.whole.contains(both.mid(k))) {
                captured[i] = both.left(k);
                captured[i + 1] = both.mid(k);
                break;
            }
        }
    }
    QHash<int, QString> arguments;
    for (int i = 0; i < message.argumentNumbers.size(); ++i)
        arguments.insert(message.argumentNumbers.at(i), shownAt(captured.at(i), depth + 1));
    QString result;
    qsizetype at = 0;
    for (auto it = placeholder().globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        result += text.mid(at, m.capturedStart() - at);
        const int number = m.captured(1).toInt();
        result += arguments.contains(number) ? arguments.value(number) : m.captured(0);
        at = m.capturedEnd();
    }
    return result + text.mid(at);
}

} // namespace

QStringList codes()
{
    return {QStringLiteral("zh_CN"), QStringLiteral("en")};
}

QString nativeName(const QString &code)
{
    return code == QLatin1String("en") ? QStringLiteral("English") : QStringLiteral("简体中文");
}

QString choose(const QStringList &arguments, const QString &saved, QString *error)
{
    QString wanted;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--lang") && i + 1 < arguments.size())
            wanted = arguments.at(i + 1);
        else if (argument.startsWith(QLatin1String("--lang=")))
            wanted = argument.mid(7);
    }
    if (!wanted.isEmpty()) {
        if (codes().contains(wanted))
            return wanted;
        if (error)
            *error = QStringLiteral("--lang: %1 (%2)").arg(wanted, codes().join(QLatin1Char('|')));
        return QString();
    }
    if (codes().contains(saved))
        return saved;
    // A system that names no language (the C locale) keeps the program's own.
    const QLocale::Language system = QLocale::system().language();
    return system == QLocale::Chinese || system == QLocale::C || system == QLocale::AnyLanguage ? QStringLiteral("zh_CN")
                                                                                               : QStringLiteral("en");
}

void install(const QString &code)
{
    State &s = state();
    for (QTranslator *translator : std::as_const(s.translators)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    s.translators.clear();
    s.code = codes().contains(code) ? code : QStringLiteral("zh_CN");
    const QLocale locale = localeOf(s.code);
    QLocale::setDefault(locale);
    if (s.code == QLatin1String("zh_CN")) {
        // The texts are written in Chinese; only Qt's own need a translation.
        const QStringList folders = {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
        for (const QString &folder : folders) {
            auto translator = std::make_unique<QTranslator>();
            if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
                QCoreApplication::installTranslator(translator.get());
                s.translators.append(translator.release());
                break;
            }
        }
        return;
    }
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral(":/translations/quorvel_%1.qm").arg(s.code))) {
        QCoreApplication::installTranslator(translator.get());
        s.translators.append(translator.release());
    } else {
        qWarning("No translation for %s", qPrintable(s.code));
    }
}

QString current()
{
    return state().code;
}

QString saved()
{
    return QSettings(applicationDirectory() + QStringLiteral("/quorvel.ini"), QSettings::IniFormat)
        .value(QStringLiteral("language")).toString();
}

void save(const QString &code)
{
    QSettings settings(applicationDirectory() + QStringLiteral("/quorvel.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("language"), code);
}

QString shown(const QString &stored)
{
    if (state().code == QLatin1String("zh_CN"))
        return stored;
    return shownAt(stored, 0);
}

} // namespace Language
