#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

// The item-name catalogue: item ids to names, read from the game client's GemInfo.txt,
// CommonItem.txt and EquipBase.txt in a folder. One per process.
class ItemConfigManager
{
public:
    static ItemConfigManager *instance();

    // Reads the three files of `folder`; true when that gave at least one entry.
    bool loadConfig(const QString &folder);
    bool isLoaded() const { return m_loaded; }
    QString folder() const { return m_folder; }

    // Empty for 0, the name when known, "未知物品(ID:%1)" otherwise.
    QString itemName(int itemId) const;

private:
    using RowRule = std::function<void(const QStringList &fields)>;

    ItemConfigManager() = default;
    bool parseConfigFile(const QString &path, const RowRule &rule);
    bool loadGemInfo(const QString &path);
    bool loadCommonItem(const QString &path);
    bool loadEquipBase(const QString &path);
    // Adds fields[nameField - 1] under fields[0] when the line is long enough and the id valid.
    void addEntry(const QStringList &fields, int minimumFields, int nameField, bool replace);

    QMap<int, QString> m_entries;
    QString m_folder;
    bool m_loaded = false;
};
