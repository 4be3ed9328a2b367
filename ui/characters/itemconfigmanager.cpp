#include "itemconfigmanager.h"

#include "base/debuglog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

ItemConfigManager *ItemConfigManager::instance()
{
    static ItemConfigManager manager;
    return &manager;
}

bool ItemConfigManager::loadConfig(const QString &folder)
{
    m_folder = folder;
    m_entries.clear();
    m_loaded = false;
    const QString gem = folder + QStringLiteral("/GemInfo.txt");
    if (QFileInfo::exists(gem)) {
        loadGemInfo(gem);
        debugLog(QStringLiteral("Loaded GemInfo.txt, items: %1").arg(m_entries.size()));
    } else {
        debugLog(QStringLiteral("GemInfo.txt not found at: %1").arg(gem));
    }
    const QString common = folder + QStringLiteral("/CommonItem.txt");
    if (QFileInfo::exists(common)) {
        loadCommonItem(common);
        debugLog(QStringLiteral("Loaded CommonItem.txt, total items: %1").arg(m_entries.size()));
    }
    const QString equip = folder + QStringLiteral("/EquipBase.txt");
    if (QFileInfo::exists(equip)) {
        loadEquipBase(equip);
        debugLog(QStringLiteral("Loaded EquipBase.txt, total items: %1").arg(m_entries.size()));
    }
    m_loaded = !m_entries.isEmpty();
    return m_loaded;
}

QString ItemConfigManager::itemName(int itemId) const
{
    if (itemId == 0)
        return QString();
    const auto it = m_entries.constFind(itemId);
    return it != m_entries.cend() ? *it : QCoreApplication::translate("ItemConfigManager", "未知物品(ID:%1)").arg(itemId);
}

bool ItemConfigManager::parseConfigFile(const QString &path, const RowRule &rule)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        debugLog(QStringLiteral("Failed to open config file: %1").arg(path));
        return false;
    }
    QStringDecoder decoder("GB18030");
    if (!decoder.isValid())
        decoder = QStringDecoder("GBK");
    const QString text = decoder.decode(file.readAll());
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 2; i < lines.size(); ++i) {
        QString line = lines.at(i);
        // The files come from Windows clients; no name keeps the carriage return.
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        rule(line.split(QLatin1Char('\t')));
    }
    return true;
}

void ItemConfigManager::addEntry(const QStringList &fields, int minimumFields, int nameField, bool replace)
{
    if (fields.size() < minimumFields)
        return;
    bool ok = false;
    const int id = fields.at(0).toInt(&ok);
    if (!ok || id < 1 || (!replace && m_entries.contains(id)))
        return;
    static const QRegularExpression marker(QStringLiteral("\\$\\d+\\$"));
    m_entries.insert(id, QString(fields.at(nameField - 1)).remove(marker));
}

bool ItemConfigManager::loadGemInfo(const QString &path)
{
    return parseConfigFile(path, [this](const QStringList &fields) { addEntry(fields, 8, 8, true); });
}

bool ItemConfigManager::loadCommonItem(const QString &path)
{
    return parseConfigFile(path, [this](const QStringList &fields) { addEntry(fields, 7, 7, false); });
}

bool ItemConfigManager::loadEquipBase(const QString &path)
{
    return parseConfigFile(path, [this](const QStringList &fields) { addEntry(fields, 11, 11, false); });
}
