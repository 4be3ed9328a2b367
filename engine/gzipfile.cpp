#include "gzipfile.h"

#include <QFile>
#include <QtEndian>

#include <array>

namespace Gzip {
namespace {

constexpr qsizetype kMemberInput = 1 << 20;
constexpr qsizetype kTailSize = 4096;

quint32 crc32(const QByteArray &data)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data)
        crc = table[(crc ^ quint8(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void appendLittleEndian(QByteArray *out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out->append(char((value >> (8 * i)) & 0xFF));
}

quint32 littleEndian(const QByteArray &data, qsizetype at, int bytes)
{
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | quint8(data.at(at + i));
    return value;
}

} // namespace

bool isCompressed(const QString &path)
{
    return path.endsWith(QLatin1String(".gz"), Qt::CaseInsensitive);
}

Writer::Writer(QIODevice *out)
    : m_out(out)
{
}

bool Writer::write(const QByteArray &data)
{
    m_pending += data;
    m_tail = (m_tail + data).right(kTailSize);
    while (m_pending.size() >= kMemberInput) {
        if (!writeMember(m_pending.left(kMemberInput)))
            return false;
        m_pending.remove(0, kMemberInput);
    }
    return true;
}

bool Writer::finish()
{
    const bool ok = m_pending.isEmpty() || writeMember(m_pending);
    m_pending.clear();
    return ok;
}

bool Writer::writeMember(const QByteArray &data)
{
    // qCompress: the input's length (4 bytes, big-endian), a zlib stream (2 bytes of header,
    // the deflate data, the Adler-32 of the input, 4 bytes).
    const QByteArray zlib = qCompress(data, 6);
    const QByteArray deflate = zlib.mid(6, zlib.size() - 10);
    QByteArray member("\x1f\x8b\x08\x04\0\0\0\0\0\xff", 10);  // deflate, FEXTRA, no time, unknown system
    appendLittleEndian(&member, 4 + 10, 2);                     // XLEN
    member += "QV";
    appendLittleEndian(&member, 10, 2);
    appendLittleEndian(&member, quint32(deflate.size()), 4);
    member += zlib.mid(4, 2) + zlib.right(4);  // the zlib header and check value
    member += deflate;
    appendLittleEndian(&member, crc32(data), 4);
    appendLittleEndian(&member, quint32(data.size()), 4);
    return m_out->write(member) == member.size();
}

Reader::Reader(QIODevice *in)
    : m_in(in)
{
    QIODevice::open(QIODevice::ReadOnly);
}

bool Reader::atEnd() const
{
    return m_failed || (m_at >= m_buffer.size() && m_in->atEnd() && QIODevice::bytesAvailable() == 0);
}

qint64 Reader::readData(char *data, qint64 maxSize)
{
    if (m_at >= m_buffer.size()) {
        m_buffer.clear();
        m_at = 0;
        if (m_failed || m_in->atEnd())
            return m_failed ? -1 : 0;
        if (!nextMember()) {
            m_failed = true;
            return -1;
        }
    }
    const qint64 n = qMin<qint64>(maxSize, m_buffer.size() - m_at);
    memcpy(data, m_buffer.constData() + m_at, size_t(n));
    m_at += n;
    return n;
}

bool Reader::nextMember()
{
    const QByteArray header = m_in->read(12);
    if (header.size() < 12 || quint8(header.at(0)) != 0x1f || quint8(header.at(1)) != 0x8b || header.at(2) != 8 || !(header.at(3) & 4)) {
        setErrorString(QStringLiteral("not a gzip member"));
        return false;
    }
    const QByteArray extra = m_in->read(littleEndian(header, 10, 2));
    QByteArray ours;
    for (qsizetype at = 0; at + 4 <= extra.size();) {
        const quint32 length = littleEndian(extra, at + 2, 2);
        if (extra.mid(at, 2) == "QV" && length == 10)
            ours = extra.mid(at + 4, 10);
        at += 4 + length;
    }
    if (ours.size() != 10 || (header.at(3) & ~4)) {
        setErrorString(QStringLiteral("gzip data not written by this program: decompress it first"));
        return false;
    }
    const QByteArray deflate = m_in->read(littleEndian(ours, 0, 4));
    const QByteArray trailer = m_in->read(8);
    if (deflate.size() != qsizetype(littleEndian(ours, 0, 4)) || trailer.size() != 8) {
        setErrorString(QStringLiteral("the file is cut short"));
        return false;
    }
    const quint32 size = littleEndian(trailer, 4, 4);
    QByteArray zlib(4, Qt::Uninitialized);
    qToBigEndian(size, zlib.data());
    zlib += ours.mid(4, 2) + deflate + ours.mid(6, 4);
    m_buffer = qUncompress(zlib);
    if (m_buffer.size() != qsizetype(size) || crc32(m_buffer) != littleEndian(trailer, 0, 4)) {
        setErrorString(QStringLiteral("damaged gzip data (check value)"));
        return false;
    }
    return true;
}

bool Dump::open(const QString &path, QString *error)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        *error = file->errorString();
        return false;
    }
    m_file = std::move(file);
    if (isCompressed(path))
        m_reader = std::make_unique<Reader>(m_file.get());
    return true;
}

} // namespace Gzip
