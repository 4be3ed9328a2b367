#include "legacytext.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace {
// GBK first; GB18030, its superset, for what GBK lacks. (Windows would fall back to code
// page 936 here; the GB18030 converter maps GBK's characters the same way.)
const char *const kEncodings[] = {"GBK", "GB18030"};
} // namespace

QString decodeGbk(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QString();
    // ASCII reads the same in every encoding; most of a zone's names are partly so, few wholly.
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    // Opening a converter costs more than decoding a name: one per thread, its state reset
    // before every value.
    struct Decoders
    {
        QStringDecoder gbk{kEncodings[0]};
        QStringDecoder gb18030{kEncodings[1]};
    };
    thread_local Decoders decoders;
    QString fallback;
    for (QStringDecoder *decoder : {&decoders.gbk, &decoders.gb18030}) {
        if (!decoder->isValid())
            continue;
        decoder->resetState();
        const QString text = decoder->decode(bytes);
        if (!decoder->hasError())
            return text;
        if (fallback.isNull())
            fallback = text;
    }
    return fallback.isNull() ? QString::fromLocal8Bit(bytes) : fallback;
}

QByteArray encodeGbk(const QString &text)
{
    if (text.isEmpty())
        return QByteArray();
    QByteArray fallback;
    for (const char *name : kEncodings) {
        QStringEncoder encoder(name);
        if (!encoder.isValid())
            continue;
        const QByteArray bytes = encoder.encode(text);
        if (!encoder.hasError())
            return bytes;
        if (fallback.isNull())
            fallback = bytes;
    }
    return fallback.isNull() ? text.toLocal8Bit() : fallback;
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
