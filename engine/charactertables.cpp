#include "charactertables.h"

#include "base/storedtext.h"


const QStringList characterDeleteTables = {
    QStringLiteral("t_ability"),
    QStringLiteral("t_charextra"),
    QStringLiteral("t_chedifulu"),
    QStringLiteral("t_crc32"),
    QStringLiteral("t_di4shop"),
    QStringLiteral("t_exterior"),
    QStringLiteral("t_exterior_char"),
    QStringLiteral("t_exterior_fashion"),
    QStringLiteral("t_exterior_haircolor"),
    QStringLiteral("t_exterior_weapon"),
    QStringLiteral("t_exterior_ranse"),
    QStringLiteral("t_exterior_ornaments"),
    QStringLiteral("t_impact"),
    QStringLiteral("t_iteminfo"),
    QStringLiteral("t_mission"),
    QStringLiteral("t_pet"),
    QStringLiteral("t_pet_bank"),
    QStringLiteral("t_pet_iteminfo"),
    QStringLiteral("t_relation"),
    QStringLiteral("t_seckill"),
    QStringLiteral("t_shengwang"),
    QStringLiteral("t_skill"),
    QStringLiteral("t_talent"),
    QStringLiteral("t_xinfa"),
    QStringLiteral("t_xiulian"),
};

const QStringList mergeCharacterTables = {
    QStringLiteral("t_ability"),
    QStringLiteral("t_charextra"),
    QStringLiteral("t_chedifulu"),
    QStringLiteral("t_crc32"),
    QStringLiteral("t_di4shop"),
    QStringLiteral("t_exterior"),
    QStringLiteral("t_exterior_char"),
    QStringLiteral("t_exterior_fashion"),
    QStringLiteral("t_exterior_haircolor"),
    QStringLiteral("t_exterior_ranse"),
    QStringLiteral("t_exterior_weapon"),
    QStringLiteral("t_exterior_ornaments"),
    QStringLiteral("t_impact"),
    QStringLiteral("t_iteminfo"),
    QStringLiteral("t_mission"),
    QStringLiteral("t_pet"),
    QStringLiteral("t_pet_bank"),
    QStringLiteral("t_pet_iteminfo"),
    QStringLiteral("t_relation"),
    QStringLiteral("t_seckill"),
    QStringLiteral("t_shengwang"),
    QStringLiteral("t_skill"),
    QStringLiteral("t_talent"),
    QStringLiteral("t_xinfa"),
    QStringLiteral("t_xiulian"),
};

const QStringList worldColumnTables = {
    QStringLiteral("t_iteminfo"),
    QStringLiteral("t_exterior_fashion"),
    QStringLiteral("t_pet_iteminfo"),
};

const QList<DuplicateRepairTable> duplicateRepairSpecs = {
    {QStringLiteral("t_skill"), QStringLiteral("skid"), QStringLiteral("sktime"), STORED_TEXT_IN("CharacterTables", "技能"), false},
    {QStringLiteral("t_xinfa"), QStringLiteral("xinfaid"), QStringLiteral("xinfalvl"), STORED_TEXT_IN("CharacterTables", "心法"), false},
    {QStringLiteral("t_ability"), QStringLiteral("abid"), QStringLiteral("ablvl, abexp"), STORED_TEXT_IN("CharacterTables", "生活技能"), false},
    {QStringLiteral("t_xiulian"), QStringLiteral("mifaid"), QStringLiteral("mifalvl, mifajinjie"), STORED_TEXT_IN("CharacterTables", "秘籍"), false},
    {QStringLiteral("t_talent"), QStringLiteral("sectid"), QStringLiteral("sectlvl"), STORED_TEXT_IN("CharacterTables", "天赋"), false},
    {QStringLiteral("t_chedifulu"), QStringLiteral("idx"), QStringLiteral("sceneid, x, z"), STORED_TEXT_IN("CharacterTables", "传送点"), false},
    {QStringLiteral("t_di4shop"), QStringLiteral("idx"), QStringLiteral("buycount"), STORED_TEXT_IN("CharacterTables", "商店记录"), false},
    {QStringLiteral("t_shengwang"), QStringLiteral("swid"), QStringLiteral("swpoint"), STORED_TEXT_IN("CharacterTables", "声望"), false},
    {QStringLiteral("t_exterior_haircolor"), QStringLiteral("idx"), QStringLiteral("color, redpoint"), STORED_TEXT_IN("CharacterTables", "发色"), false},
    {QStringLiteral("t_exterior_weapon"), QStringLiteral("exterior_id"), QStringLiteral("lefttime, redpoint, wlevel"), STORED_TEXT_IN("CharacterTables", "武器外观"), false},
    {QStringLiteral("t_exterior_ranse"), QStringLiteral("exterior_id"), QStringLiteral("color1, color2, color3"), STORED_TEXT_IN("CharacterTables", "染色"), false},
    {QStringLiteral("t_exterior"), QStringLiteral("exterior_type, exterior_id"), QStringLiteral("lefttime, redpoint"), STORED_TEXT_IN("CharacterTables", "外观"), true},
};

const QStringList copiedCharacterTables = {
    QStringLiteral("t_charextra"), QStringLiteral("t_ability"), QStringLiteral("t_skill"),
    QStringLiteral("t_xinfa"), QStringLiteral("t_xiulian"), QStringLiteral("t_talent"),
    QStringLiteral("t_mission"), QStringLiteral("t_impact"), QStringLiteral("t_seckill"),
    QStringLiteral("t_shengwang"), QStringLiteral("t_chedifulu"), QStringLiteral("t_di4shop"),
    QStringLiteral("t_exterior"), QStringLiteral("t_exterior_char"), QStringLiteral("t_exterior_fashion"),
    QStringLiteral("t_exterior_haircolor"), QStringLiteral("t_exterior_ranse"), QStringLiteral("t_exterior_weapon"),
    QStringLiteral("t_exterior_ornaments"),
};
