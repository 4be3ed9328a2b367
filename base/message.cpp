#include "message.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QXmlStreamReader>

namespace {

// The context of each of the program's texts, from the catalogue built in (a text reads the same
// in every context it is used in, so the text alone names it).
const QHash<QString, QByteArray> &contexts()
{
    static const QHash<QString, QByteArray> byText = [] {
        QHash<QString, QByteArray> result;
        QFile file(QStringLiteral(":/translations/quorvel_en.ts"));
        if (!file.open(QIODevice::ReadOnly))
            return result;
        QXmlStreamReader xml(&file);
        QByteArray context;
        while (!xml.atEnd()) {
            if (!xml.readNextStartElement())
                continue;
            if (xml.name() == QLatin1String("name"))
                context = xml.readElementText().toUtf8();
            else if (xml.name() == QLatin1String("source"))
                result.insert(xml.readElementText(), context);
        }
        return result;
    }();
    return byText;
}

QString translated(const QString &text, qint64 count)
{
    const auto context = contexts().constFind(text);
    if (context == contexts().cend())
        return count < 0 ? text : QString(text).replace(QLatin1String("%Ln"), QLocale().toString(count));
    // The catalogue's plural form for the count, with "%Ln" filled by the default locale.
    return QCoreApplication::translate(context->constData(), text.toUtf8().constData(), nullptr,
                                       count < 0 ? -1 : int(qMin<qint64>(count, INT_MAX)));
}

} // namespace

Message Message::source(const QString &text)
{
    Message message;
    message.m_text = text;
    message.m_kind = Kind::Template;
    return message;
}

Message Message::arg(const QString &argument) const
{
    return arg(Message(argument));
}

Message Message::arg(const Message &argument) const
{
    Message result = *this;
    if (result.m_kind == Kind::Data) {
        // Data has no places; a caller that formats data means the data to be the template.
        result.m_kind = Kind::Template;
    }
    result.m_arguments.push_back(argument);
    return result;
}

Message Message::joined(const QList<Message> &parts, const QString &separator)
{
    Message message;
    message.m_text = separator;
    message.m_kind = Kind::Joined;
    message.m_arguments.assign(parts.cbegin(), parts.cend());
    return message;
}

QString Message::render(bool translate) const
{
    auto argument = [translate](const Message &m) { return translate ? m.shown() : m.stored(); };
    switch (m_kind) {
    case Kind::Data:
        return m_text;
    case Kind::Joined: {
        QStringList parts;
        for (const Message &part : m_arguments)
            parts << argument(part);
        return parts.join(m_text);
    }
    case Kind::Template:
        break;
    }
    QString text = translate ? translated(m_text, m_count) : m_text;
    if (!translate && m_count >= 0)
        text.replace(QLatin1String("%Ln"), QString::number(m_count));
    if (m_arguments.empty())
        return text;
    // The places as QString::arg reads them: '%' and one or two digits.
    struct Place
    {
        qsizetype at;
        qsizetype length;
        int number;
    };
    QList<Place> places;
    QList<int> numbers;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('%') || !text.at(i + 1).isDigit())
            continue;
        int number = text.at(i + 1).digitValue();
        qsizetype length = 2;
        if (i + 2 < text.size() && text.at(i + 2).isDigit()) {
            number = number * 10 + text.at(i + 2).digitValue();
            length = 3;
        }
        places.append({i, length, number});
        if (!numbers.contains(number))
            numbers.append(number);
        i += length - 1;
    }
    std::sort(numbers.begin(), numbers.end());
    QHash<int, QString> values;
    for (qsizetype k = 0; k < numbers.size() && k < qsizetype(m_arguments.size()); ++k)
        values.insert(numbers.at(k), argument(m_arguments.at(size_t(k))));
    QString result;
    qsizetype at = 0;
    for (const Place &place : std::as_const(places)) {
        const auto value = values.constFind(place.number);
        if (value == values.cend())
            continue;
        result += QStringView(text).mid(at, place.at - at);
        result += *value;
        at = place.at + place.length;
    }
    return result + text.mid(at);
}

QStringList shownLines(const QList<Message> &messages)
{
    QStringList lines;
    for (const Message &message : messages)
        lines << message.shown();
    return lines;
}

QStringList storedLines(const QList<Message> &messages)
{
    QStringList lines;
    for (const Message &message : messages)
        lines << message.stored();
    return lines;
}
