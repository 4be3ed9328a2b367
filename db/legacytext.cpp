#include "legacytext.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
// Windows would fall back to code page 936 here; the GB18030 converter maps GBK the same way.
const char *const kEncodings[] = {"GBK", "GB18030"};
} // namespace

QString decodeGbk(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QString();
    for (const char *name : kEncodings) {
        QStringDecoder decoder(name);
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return QString::fromLocal8Bit(bytes);
}

QByteArray encodeGbk(const QString &text)
{
    if (text.isEmpty())
        return QByteArray();
    for (const char *name : kEncodings) {
        QStringEncoder encoder(name);
        if (encoder.isValid())
            return encoder.encode(text);
    }
    return text.toLocal8Bit();
}

QByteArray bytesFromHexValue(const QVariant &hexValue)
{
    return QByteArray::fromHex(hexValue.toString().toLatin1());
}

QString decodeHexColumn(const QVariant &hexValue)
{
    return decodeGbk(bytesFromHexValue(hexValue));
}

QString unhexExpression(const QByteArray &bytes)
{
    return QStringLiteral("UNHEX('%1')").arg(QString::fromLatin1(bytes.toHex().toUpper()));
}

QString legacyTextExpression(const QString &text)
{
    return unhexExpression(encodeGbk(text));
}

QByteArray bytesFromBinaryValue(const QVariant &value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    // A driver that hands binary data over as text has already decoded it as UTF-8.
    return value.toString().toUtf8();
}
