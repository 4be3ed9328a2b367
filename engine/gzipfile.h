#pragma once

#include <QByteArray>
#include <QIODevice>

#include <memory>

// Backups compressed as they are written: gzip files that gzip, zcat and the program read.
//
// The writer makes one gzip member per megabyte of input (gzip reads consecutive members as one
// stream). Each member's header carries, in an extra field "QV", the length of its compressed
// data and its zlib check value, so that the program reads it back with Qt's own zlib
// (qUncompress) and checks every member's CRC-32 and length. Files of other programs are not
// read: decompress them first.
namespace Gzip {

// Whether a path names a compressed dump ("….sql.gz").
bool isCompressed(const QString &path);

class Writer
{
public:
    explicit Writer(QIODevice *out);
    // Compresses `data` as it comes; false when the device refused a write.
    bool write(const QByteArray &data);
    // Writes what is left; false when the device refused a write.
    bool finish();
    // The last bytes written, uncompressed: where a dump says whether it completed.
    QByteArray tail() const { return m_tail; }

private:
    bool writeMember(const QByteArray &data);

    QIODevice *m_out;
    QByteArray m_pending;
    QByteArray m_tail;
};

// Reads a file of Writer's, uncompressed. Sequential: read() until atEnd(). A damaged or foreign
// file fails a read() with errorString() saying why.
class Reader : public QIODevice
{
public:
    // Reads from `in`, which must be open and stay open while this reads.
    explicit Reader(QIODevice *in);
    bool isSequential() const override { return true; }
    // At the end, or at a member that could not be read (then failed()).
    bool atEnd() const override;
    bool failed() const { return m_failed; }
    qint64 bytesAvailable() const override { return m_buffer.size() - m_at + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    bool nextMember();

    QIODevice *m_in;
    QByteArray m_buffer;
    qsizetype m_at = 0;
    bool m_failed = false;
};

// A dump for reading: the file itself, or the reader of a compressed one. Null with *error when
// the file cannot be opened.
class Dump
{
public:
    bool open(const QString &path, QString *error);
    QIODevice *device() const { return m_reader ? static_cast<QIODevice *>(m_reader.get()) : m_file.get(); }
    // How far into the file reading has got, and its size: for progress.
    qint64 filePosition() const { return m_file ? m_file->pos() : 0; }
    qint64 fileSize() const { return m_file ? m_file->size() : 0; }
    // A compressed file that turned out damaged or foreign; device()->errorString() says why.
    bool failed() const { return m_reader && m_reader->failed(); }

private:
    std::unique_ptr<QIODevice> m_file;
    std::unique_ptr<Reader> m_reader;
};

} // namespace Gzip
