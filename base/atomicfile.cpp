#include "atomicfile.h"

#include "base/storedtext.h"


namespace {
const qsizetype kPieceSize = 1 << 20;
} // namespace

bool openPrivateAppend(QFile *file)
{
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!file->open(QIODevice::Append | QIODevice::Text, ownerOnly))
        return false;
    if (file->permissions() & ~(ownerOnly | QFileDevice::ReadUser | QFileDevice::WriteUser))
        file->setPermissions(ownerOnly);
    return true;
}

AtomicFile::AtomicFile(const QString &path)
    : m_file(path)
{
}

bool AtomicFile::open(QFileDevice::Permissions permissions)
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_error = m_file.errorString();
        return false;
    }
    if (permissions && !m_file.setPermissions(permissions)) {
        m_error = m_file.errorString();
        m_file.cancelWriting();
        return false;
    }
    return true;
}

bool AtomicFile::write(const QByteArray &data)
{
    if (!m_error.isEmpty())
        return false;
    m_pending += data;
    return m_pending.size() < kPieceSize || flush();
}

bool AtomicFile::flush()
{
    if (!m_pending.isEmpty() && m_file.write(m_pending) != m_pending.size()) {
        m_error = m_file.errorString();
        if (m_error.isEmpty() || m_file.error() == QFileDevice::NoError)
            m_error = STORED_TEXT("磁盘已满或文件大小超出限制");
        m_file.cancelWriting();
        return false;
    }
    m_pending.clear();
    return true;
}

bool AtomicFile::commit()
{
    if (!m_error.isEmpty() || !flush())
        return false;
    if (!m_file.commit()) {
        m_error = m_file.errorString();
        return false;
    }
    return true;
}
