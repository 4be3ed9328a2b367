#pragma once

#include "base/message.h"
#include "db/characterqueries.h"
#include "db/operationcontext.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Character lists written to CSV files for spreadsheets on Chinese Windows.
namespace CharacterExport {

struct Request
{
    QList<CharacterSummary> characters;
    QString path;
};

struct Result
{
    bool ok = false;
    Message failure;  // why nothing was written
    qint64 rows = 0;
};

// exports/characters_zone<first three ids joined by "_">[_etc]_<yyyyMMdd_HHmmss>.csv beside
// the program; creates the folder.
QString defaultPath(const QList<int> &worldIds);

// Writes the header and one line per character. The file appears under the request's path only
// when every byte was written; an earlier file there is replaced then and kept otherwise.
// Progress is the lines written of all.
Result run(const Request &request, const OperationContext &context);

// One CSV line, GBK with CR LF, as the file holds it.
QByteArray csvLine(const CharacterSummary &character);

} // namespace CharacterExport
