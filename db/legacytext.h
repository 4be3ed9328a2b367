#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

// Character and account names are GBK bytes kept in latin1 columns. The SQL driver treats
// every text column as UTF-8, so such bytes never travel as text: they are read through
// HEX(column) or a binary cast and written through UNHEX('...') or a bound QByteArray.

QString decodeGbk(const QByteArray &bytes);
QByteArray encodeGbk(const QString &text);

// Raw bytes from the value of a "HEX(column) as column_hex" field; non-hex characters are skipped.
QByteArray bytesFromHexValue(const QVariant &hexValue);

// Text of a legacy column read as HEX.
QString decodeHexColumn(const QVariant &hexValue);

// "UNHEX('...')" for the given bytes; stands unquoted in a statement in place of a value.
QString unhexExpression(const QByteArray &bytes);

// "UNHEX('...')" for the GBK form of the text.
QString legacyTextExpression(const QString &text);

// Raw bytes of a field selected as "CAST(column AS BINARY)" (or any binary column).
QByteArray bytesFromBinaryValue(const QVariant &value);
