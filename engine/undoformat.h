#pragma once

// The undo file's fixed lines, shared by its writer (undofile.cpp) and its reader (undoapply.cpp).
#include <QByteArray>

namespace UndoFormat {
inline const QByteArray kMagic = "-- Quorvel undo file";
inline const QByteArray kChanges = "-- changes";
inline const QByteArray kTrailer = "-- end: ";
inline const QByteArray kCommit = "COMMIT;";
inline const QByteArray kSessionMode = "SET SESSION sql_mode = 'STRICT_ALL_TABLES,NO_AUTO_VALUE_ON_ZERO';";
} // namespace UndoFormat
