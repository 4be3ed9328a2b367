#pragma once

#include "db/databasemanager.h"

#include "base/message.h"

#include <QList>
#include <QObject>
#include <QString>

// Writes character lists to CSV files for spreadsheets on Chinese Windows.
class ExportManager : public QObject
{
    Q_OBJECT

public:
    explicit ExportManager(QObject *parent);

    // exports/characters_zone<first three ids joined by "_">[_etc]_<yyyyMMdd_HHmmss>.csv beside
    // the program; creates the folder.
    QString generateExportPath(const QList<int> &worldIds);

    // Writes the header and one line per record. The file appears under `filePath` only when
    // every byte was written; an earlier file there is replaced then and kept otherwise.
    bool exportCharacters(const QList<CharacterSummary> &characters, const QString &filePath);

    // One CSV line, GBK with CR LF, as the file holds it.
    static QByteArray csvLine(const CharacterSummary &character);

signals:
    void exportProgress(int percent);
    void exportCompleted(bool success, const QString &filePath);
    void logMessage(const Message &message);
};
