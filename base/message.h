#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <type_traits>
#include <vector>

// A text of the program together with its arguments, kept apart until the text is shown.
//
// A message is either a template of the program's own (written in the source language and
// marked for translation with STORED_TEXT) with its arguments, or data (a name, a number, a path,
// a line read back from a file) that is shown exactly as given. stored() renders it in the
// source language, for what is kept (logs, undo headers, JSON, exports); shown() renders it in
// the language installed for the windows and the command line, translating the template and
// those arguments that are messages themselves. Data is never translated.
//
// Arguments fill the template's places in one pass when the text is rendered, the lowest %n
// first, as QString::arg does: an argument that holds "%1" is never read as a place, and
// chained arg() calls are as safe as one call with all arguments.
class Message
{
public:
    Message() = default;
    // Data, shown as it is.
    Message(const QString &data)  // NOLINT: every QString may stand where a message is taken
        : m_text(data)
        , m_kind(Kind::Data)
    {
    }
    static Message data(const QString &text) { return Message(text); }
    // A template of the program's own; see STORED_TEXT.
    static Message source(const QString &text);

    Message arg(const QString &argument) const;
    Message arg(const Message &argument) const;
    Message arg(QStringView argument) const { return arg(argument.toString()); }
    Message arg(QLatin1String argument) const { return arg(QString(argument)); }
    Message arg(const char *argument) const { return arg(QString::fromUtf8(argument)); }
    Message arg(QChar argument) const { return arg(QString(argument)); }
    template <typename T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char>, int> = 0>
    Message arg(T number, int fieldWidth = 0, int base = 10, QChar fill = QLatin1Char(' ')) const
    {
        return arg(QStringLiteral("%1").arg(number, fieldWidth, base, fill));
    }
    Message arg(double number, int fieldWidth = 0, char format = 'g', int precision = -1, QChar fill = QLatin1Char(' ')) const
    {
        return arg(QStringLiteral("%1").arg(number, fieldWidth, format, precision, fill));
    }
    // The count a text's plural form goes by, filling its "%Ln" (see STORED_COUNT): grouped
    // by the installed language's rules where shown, plain digits where kept.
    Message count(qint64 n) const
    {
        Message result = *this;
        result.m_count = n;
        return result;
    }

    // Several at once, as QString::arg(a, b, ...).
    template <typename A, typename B, typename... Rest,
              std::enable_if_t<!std::is_arithmetic_v<B> && !std::is_same_v<std::decay_t<B>, QChar>, int> = 0>
    Message arg(const A &first, const B &second, const Rest &...rest) const
    {
        return arg(first).arg(second, rest...);
    }

    // In the source language: what is kept. Also what a Message turns into where a QString
    // is wanted, so that a kept text reads the same whichever way it went.
    QString stored() const { return render(false); }
    operator QString() const { return stored(); }  // NOLINT
    // In the language installed now: what is shown.
    QString shown() const { return render(true); }

    void clear() { *this = Message(); }
    bool isEmpty() const { return m_text.isEmpty() && m_arguments.empty() && m_count < 0; }
    bool isData() const { return m_kind == Kind::Data; }
    // The template (or the data) as written, for tests.
    QString sourceText() const { return m_text; }

    // Several messages as lines, or one line after another.
    static Message joined(const QList<Message> &parts, const QString &separator);
    // One text after the other ("读取失败: " + the server's error).
    friend Message operator+(const Message &first, const Message &second) { return joined({first, second}, QString()); }
    friend Message operator+(const Message &first, const QString &second) { return first + Message(second); }
    friend Message operator+(const QString &first, const Message &second) { return Message(first) + second; }

private:
    QString render(bool translate) const;

    enum class Kind { Data, Template, Joined };

    QString m_text;  // the data, the template, or the separator of the joined parts
    Kind m_kind = Kind::Data;
    std::vector<Message> m_arguments;
    qint64 m_count = -1;  // none below 0
};

Q_DECLARE_METATYPE(Message)

// Messages shown one after another (a log, a preview).
QStringList shownLines(const QList<Message> &messages);
QStringList storedLines(const QList<Message> &messages);
