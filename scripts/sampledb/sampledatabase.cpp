#include "sampledatabase.h"

#include "db/legacytext.h"

#include <QCryptographicHash>
#include <QIODevice>
#include <QRandomGenerator>

namespace {
// Above this many characters the names end in plain decimal serials (see gbkName).
constexpr qint64 kLargeSample = 10000;

// Legacy text columns are latin1 holding GBK bytes; the tables carry columns beyond those the
// program names, several NOT NULL without a default, as real deployments do.
const char *const kCharacterSchema = R"SQL(
CREATE TABLE t_char (
  aid BIGINT NOT NULL AUTO_INCREMENT,
  charguid INT NOT NULL,
  accname VARCHAR(50) CHARACTER SET latin1 NOT NULL,
  charname VARCHAR(50) CHARACTER SET latin1 NULL,
  title VARCHAR(50) CHARACTER SET latin1 NOT NULL DEFAULT '',
  sex SMALLINT NOT NULL DEFAULT 0,
  menpai SMALLINT NOT NULL DEFAULT 9,
  level INT NOT NULL DEFAULT 1,
  zoneworldid INT NOT NULL,
  vmoney INT NOT NULL DEFAULT 0,
  bankmoney INT NOT NULL DEFAULT 0,
  yuanbao INT NOT NULL DEFAULT 0,
  bdyuanbao INT NOT NULL DEFAULT 0,
  hp INT NOT NULL DEFAULT 0,
  mp INT NOT NULL DEFAULT 0,
  exp INT NOT NULL DEFAULT 0,
  str INT NOT NULL DEFAULT 0,
  con INT NOT NULL DEFAULT 0,
  dex INT NOT NULL DEFAULT 0,
  spr INT NOT NULL DEFAULT 0,
  ipr INT NOT NULL DEFAULT 0,
  points INT NOT NULL DEFAULT 0,
  scene INT NOT NULL DEFAULT 0,
  xpos INT NOT NULL DEFAULT 0,
  zpos INT NOT NULL DEFAULT 0,
  bkscene INT NOT NULL DEFAULT 0,
  bkxpos INT NOT NULL DEFAULT 0,
  bkzpos INT NOT NULL DEFAULT 0,
  vigor INT NOT NULL DEFAULT 0,
  maxvigor INT NOT NULL DEFAULT 0,
  enegry INT NOT NULL DEFAULT 0,
  energymax INT NOT NULL DEFAULT 0,
  guildpoint INT NOT NULL DEFAULT 0,
  menpaipoint INT NOT NULL DEFAULT 0,
  sect_point INT NOT NULL DEFAULT 0,
  pkvalue INT NOT NULL DEFAULT 0,
  zengdian INT NOT NULL DEFAULT 0,
  banendtime INT NOT NULL DEFAULT 0,
  isvalid TINYINT NOT NULL DEFAULT 1,
  createtime INT NOT NULL,
  logouttime INT NOT NULL,
  haircolor INT NOT NULL,
  pwdsafe VARCHAR(32) CHARACTER SET latin1 NOT NULL,
  settings BLOB NOT NULL,
  regdate DATETIME NOT NULL DEFAULT CURRENT_TIMESTAMP,
  lastlogin DATETIME NOT NULL DEFAULT '0000-00-00 00:00:00',
  speed FLOAT NOT NULL DEFAULT 1.5,
  fortune DECIMAL(14,2) NOT NULL DEFAULT 0,
  joinyear YEAR NULL,
  PRIMARY KEY (aid),
  UNIQUE KEY ux_charguid (charguid),
  UNIQUE KEY ux_charname (charname),
  KEY ix_accname (accname),
  KEY ix_zoneworldid (zoneworldid)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

)SQL";

// Each world's character id counter. The game keys it by the counter itself, so no two worlds
// can ever hold the same value; older tools' databases key it by a row id instead.
const char *const kVarTable = R"SQL(
CREATE TABLE t_var (
  worldid INT NOT NULL,
  maxcharguid INT NOT NULL,
  mailseq INT NOT NULL,
  dbversion INT NOT NULL DEFAULT 0,
  PRIMARY KEY (maxcharguid),
  KEY ix_worldid (worldid)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;
)SQL";

const char *const kRowIdVarTable = R"SQL(
CREATE TABLE t_var (
  aid BIGINT NOT NULL AUTO_INCREMENT,
  worldid INT NOT NULL,
  maxcharguid INT NOT NULL,
  mailseq INT NOT NULL,
  dbversion INT NOT NULL DEFAULT 0,
  PRIMARY KEY (aid),
  UNIQUE KEY ux_worldid (worldid)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;
)SQL";

// How the game server creates a character: it raises its world's counter by one and inserts
// the character with that id, failing when the id is taken. It runs inside the caller's
// transaction, as the game calls it.
const char *const kCreateCharacterProcedure = R"SQL(
DROP PROCEDURE IF EXISTS create_char;
DELIMITER ;;
CREATE PROCEDURE create_char(IN p_world INT, OUT p_guid INT)
BEGIN
  UPDATE t_var SET maxcharguid = maxcharguid + 1 WHERE worldid = p_world;
  IF ROW_COUNT() <> 1 THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'no single t_var row for this world';
  END IF;
  SELECT maxcharguid INTO p_guid FROM t_var WHERE worldid = p_world;
  INSERT INTO t_char (charguid, accname, charname, zoneworldid, createtime, logouttime, haircolor, pwdsafe, settings)
  VALUES (p_guid, 'newplayer', CONCAT('new', p_guid), p_world, UNIX_TIMESTAMP(), 0, 0, '', '');
END;;
DELIMITER ;
)SQL";

struct OwnedTable
{
    const char *name;
    const char *columns;
};

// The character-owned tables: aid row id, owner charguid, then their own columns.
const OwnedTable kOwnedTables[] = {
    {"t_ability", "abid INT NOT NULL, ablvl INT NOT NULL, abexp INT NOT NULL"},
    {"t_charextra", "dbversion INT NOT NULL, extdata VARCHAR(255) CHARACTER SET latin1 NOT NULL"},
    {"t_chedifulu", "idx INT NOT NULL, sceneid INT NOT NULL, x INT NOT NULL, z INT NOT NULL"},
    {"t_crc32", "crc INT UNSIGNED NOT NULL, dbversion INT NOT NULL"},
    {"t_di4shop", "idx INT NOT NULL, buycount INT NOT NULL"},
    {"t_exterior", "exterior_type INT NOT NULL, exterior_id INT NOT NULL, lefttime INT NOT NULL, redpoint INT NOT NULL"},
    {"t_exterior_char", "exdata VARCHAR(255) CHARACTER SET latin1 NOT NULL, dbversion INT NOT NULL"},
    {"t_exterior_fashion", "fashion_id INT NOT NULL, lefttime INT NOT NULL, world INT NOT NULL"},
    {"t_exterior_haircolor", "idx INT NOT NULL, color INT NOT NULL, redpoint INT NOT NULL"},
    {"t_exterior_weapon", "exterior_id INT NOT NULL, lefttime INT NOT NULL, redpoint INT NOT NULL, wlevel INT NOT NULL"},
    {"t_exterior_ranse", "exterior_id INT NOT NULL, color1 INT NOT NULL, color2 INT NOT NULL, color3 INT NOT NULL"},
    {"t_exterior_ornaments", "orn_id INT NOT NULL, lefttime INT NOT NULL"},
    {"t_impact", "imdata TEXT CHARACTER SET latin1 NOT NULL, dbversion INT NOT NULL"},
    {"t_iteminfo", "guid INT NOT NULL, world INT NOT NULL, server INT NOT NULL, itemtype INT NOT NULL, "
                   "pos INT NOT NULL, p1 INT NOT NULL, p2 INT NOT NULL, p3 INT NOT NULL, p4 INT NOT NULL, "
                   "p5 INT NOT NULL, p6 INT NOT NULL, p7 INT NOT NULL, p8 INT NOT NULL, p9 INT NOT NULL, "
                   "p10 INT NOT NULL, p11 INT NOT NULL, p12 INT NOT NULL, p13 INT NOT NULL, p14 INT NOT NULL, "
                   "p15 INT NOT NULL, p16 INT NOT NULL, p17 INT NOT NULL, "
                   "creator VARCHAR(40) CHARACTER SET latin1 NOT NULL, isvalid TINYINT NOT NULL DEFAULT 1, "
                   "fixattr VARCHAR(120) CHARACTER SET latin1 NOT NULL, KEY ix_guid (guid)"},
    {"t_mission", "missionid INT NOT NULL, flag INT NOT NULL, mdata VARCHAR(255) CHARACTER SET latin1 NOT NULL"},
    {"t_pet", "hpetguid INT NOT NULL, lpetguid INT NOT NULL, hspetguid INT NOT NULL, lspetguid INT NOT NULL, "
              "petname VARCHAR(50) CHARACTER SET latin1 NOT NULL, petnick VARCHAR(50) CHARACTER SET latin1 NOT NULL, "
              "level INT NOT NULL, petdata VARCHAR(255) CHARACTER SET latin1 NOT NULL, isvalid TINYINT NOT NULL DEFAULT 1"},
    {"t_pet_bank", "hpetguid INT NOT NULL, lpetguid INT NOT NULL, hspetguid INT NOT NULL, lspetguid INT NOT NULL, "
                   "petname VARCHAR(50) CHARACTER SET latin1 NOT NULL, petnick VARCHAR(50) CHARACTER SET latin1 NOT NULL, "
                   "level INT NOT NULL, bankpos INT NOT NULL, petdata VARCHAR(255) CHARACTER SET latin1 NOT NULL"},
    {"t_pet_iteminfo", "guid INT NOT NULL, world INT NOT NULL, hpetguid INT NOT NULL, lpetguid INT NOT NULL, "
                       "itemtype INT NOT NULL, pos INT NOT NULL, p1 INT NOT NULL, p2 INT NOT NULL, p3 INT NOT NULL, "
                       "p7 INT NOT NULL, creator VARCHAR(40) CHARACTER SET latin1 NOT NULL, isvalid TINYINT NOT NULL DEFAULT 1"},
    {"t_relation", "fguid INT NOT NULL, fname VARCHAR(50) CHARACTER SET latin1 NOT NULL, relflag INT NOT NULL, "
                   "fpoint INT NOT NULL, KEY ix_fguid (fguid)"},
    {"t_seckill", "seckillid INT NOT NULL, killcount INT NOT NULL"},
    {"t_shengwang", "swid INT NOT NULL, swpoint INT NOT NULL"},
    {"t_skill", "skid INT NOT NULL, sktime INT NOT NULL"},
    {"t_talent", "sectid INT NOT NULL, sectlvl INT NOT NULL"},
    {"t_xinfa", "xinfaid INT NOT NULL, xinfalvl INT NOT NULL"},
    {"t_xiulian", "mifaid INT NOT NULL, mifalvl INT NOT NULL, mifajinjie INT NOT NULL"},
};

const char *const kAccountSchema = R"SQL(
CREATE TABLE account (
  id INT NOT NULL AUTO_INCREMENT,
  name VARCHAR(50) NOT NULL,
  password CHAR(32) NOT NULL,
  question VARCHAR(100) NULL,
  answer VARCHAR(100) NULL,
  email VARCHAR(100) NULL,
  qq VARCHAR(20) NULL,
  tel VARCHAR(20) NULL,
  address VARCHAR(200) NULL,
  id_type INT NOT NULL DEFAULT 0,
  id_card VARCHAR(30) NULL,
  point INT NOT NULL DEFAULT 0,
  expoint INT NOT NULL DEFAULT 0,
  is_online TINYINT NOT NULL DEFAULT 0,
  is_lock TINYINT NOT NULL DEFAULT 0,
  is_gm TINYINT NOT NULL DEFAULT 0,
  user_name VARCHAR(50) NULL,
  reg_time DATETIME NOT NULL,
  reg_ip VARCHAR(45) NOT NULL,
  last_login DATETIME NOT NULL DEFAULT '0000-00-00 00:00:00',
  PRIMARY KEY (id),
  UNIQUE KEY ux_name (name)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
)SQL";

// Common characters of game names, with some whose GBK form holds bytes 0x80-0x9F.
const char16_t kNameChars[] = u"剑心月影风云天龙逍遥无忌雪花飞燕紫霞青锋傲世独孤凌霄星辰堃喆燊昇浣溪冰火少侠江湖";
const char kAsciiChars[] = "abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ0123456789_";
const char16_t kDigitChars[] = u"零壹贰叁肆伍陆柒捌玖甲乙丙丁戊己庚辛壬癸";

class Generator
{
public:
    Generator(QIODevice *out, const SampleOptions &options)
        : m_out(out), m_options(options), m_random(options.seed) {}

    qint64 run();

private:
    struct Batch
    {
        QByteArray head;
        QByteArray rows;
        int count = 0;
    };

    int bounded(int low, int high) { return int(m_random.bounded(low, high + 1)); }
    // Most items are of the 40 kinds in the sample catalogue (scripts/sampledb/Config); the
    // rest have ids that no catalogue names.
    static QByteArray sampleItemType(int drawn)
    {
        if (drawn % 10 >= 7)
            return QByteArray::number(drawn);
        const int kind = drawn % 40;
        const int id = kind < 16 ? 10100001 + kind : kind < 32 ? 10200001 + kind - 16 : 10400001 + kind - 32;
        return QByteArray::number(id);
    }
    bool chance(int percent) { return bounded(1, 100) <= percent; }
    QByteArray hexLiteral(const QByteArray &bytes) const;
    // `tailWidth` > 0: the serial in that many decimal digits, unique under any collation.
    QByteArray gbkName(int serial, int tailWidth = 0);
    QByteArray randomGbkPair();
    QByteArray impactData();
    void write(const QByteArray &data) { m_out->write(data); }
    void add(Batch &batch, const QByteArray &row);
    void flush(Batch &batch);
    Batch batch(const char *table, const char *columns);
    void writeSchema();

    QIODevice *m_out;
    SampleOptions m_options;
    QRandomGenerator m_random;
    int m_itemGuid = 0;
    int m_petItemGuid = 0;
    int m_petGuid = 0;
};

QByteArray Generator::hexLiteral(const QByteArray &bytes) const
{
    return "X'" + bytes.toHex().toUpper() + "'";
}

QByteArray Generator::randomGbkPair()
{
    // Any valid two-byte GBK character, trail bytes 0x5C ("\") and 0x80-0x9F included.
    for (;;) {
        QByteArray pair;
        pair.append(char(bounded(0x81, 0xFE)));
        int trail = bounded(0x40, 0xFE);
        if (trail == 0x7F)
            continue;
        pair.append(char(trail));
        const QString decoded = decodeGbk(pair);
        if (decoded.size() == 1 && decoded.at(0) != QChar::ReplacementCharacter
            && encodeGbk(decoded) == pair)
            return pair;
    }
}

QByteArray Generator::gbkName(int serial, int tailWidth)
{
    QString text;
    const int nameChars = int(std::size(kNameChars)) - 1;
    const int kind = bounded(1, 10);
    if (kind <= 2) {
        for (int i = bounded(4, 8); i > 0; --i)
            text += QLatin1Char(kAsciiChars[bounded(0, int(sizeof(kAsciiChars)) - 2)]);
    } else {
        for (int i = bounded(1, 3); i > 0; --i)
            text += QChar(kNameChars[bounded(0, nameChars - 1)]);
        if (kind <= 4)
            text += QLatin1Char(kAsciiChars[bounded(0, int(sizeof(kAsciiChars)) - 2)]);
    }
    QByteArray bytes = encodeGbk(text);
    if (kind == 10)
        bytes += randomGbkPair();
    // Names of the same length with different digits at the end differ in every collation,
    // which a large sample needs; small ones keep the tails the tests were written against.
    if (tailWidth > 0)
        return bytes + QByteArray::number(serial).rightJustified(tailWidth, '0');
    // A unique tail keeps names apart under the unique index.
    const int digits = int(std::size(kDigitChars)) - 1;
    QString tail;
    for (int n = serial; n > 0 || tail.isEmpty(); n /= digits)
        tail.prepend(QChar(kDigitChars[n % digits]));
    return bytes + encodeGbk(tail);
}

QByteArray Generator::impactData()
{
    const int size = chance(5) ? 16 : 48;
    QByteArray block(size, '\0');
    for (int i = 0; i < size; ++i)
        block[i] = char(bounded(0, 255));
    if (size >= 32) {
        auto put16 = [&block](int at, int v) { block[at] = char(v & 0xFF); block[at + 1] = char((v >> 8) & 0xFF); };
        auto put32 = [&block](int at, quint32 v) {
            for (int i = 0; i < 4; ++i)
                block[at + i] = char((v >> (8 * i)) & 0xFF);
        };
        put16(4, bounded(1, 9000));
        put16(6, bounded(0, 200));
        put32(24, chance(20) ? 0xFFFFFFFFu : quint32(bounded(1000, 3600000)));
        put32(28, quint32(bounded(0, 1000000)));
    }
    return "'" + block.toHex().toUpper() + "'";
}

Generator::Batch Generator::batch(const char *table, const char *columns)
{
    Batch b;
    b.head = QByteArray("INSERT INTO ") + table + " (" + columns + ") VALUES ";
    return b;
}

void Generator::add(Batch &batch, const QByteArray &row)
{
    if (batch.count > 0)
        batch.rows += ',';
    batch.rows += '(' + row + ')';
    if (++batch.count >= 2000)
        flush(batch);
}

void Generator::flush(Batch &batch)
{
    if (batch.count == 0)
        return;
    write(batch.head + batch.rows + ";\n");
    batch.rows.clear();
    batch.count = 0;
}

void Generator::writeSchema()
{
    const QByteArray db = m_options.characterDatabase.toLatin1();
    if (m_options.dropExisting)
        write("DROP DATABASE IF EXISTS `" + db + "`;\n");
    write("CREATE DATABASE IF NOT EXISTS `" + db + "` DEFAULT CHARACTER SET latin1;\nUSE `" + db + "`;\n");
    write(characterSchemaSql(m_options.rowIdVarTable).toLatin1());
    for (const QString &web : m_options.accountDatabases) {
        const QByteArray name = web.toLatin1();
        if (m_options.dropExisting)
            write("DROP DATABASE IF EXISTS `" + name + "`;\n");
        write("CREATE DATABASE IF NOT EXISTS `" + name + "` DEFAULT CHARACTER SET utf8mb4;\nUSE `" + name + "`;\n");
        write(accountSchemaSql().toUtf8());
    }
}

qint64 Generator::run()
{
    // Older game servers run without the zero-date flags, and their tables hold zero dates.
    write("SET NAMES utf8mb4;\nSET SESSION sql_mode = 'NO_ENGINE_SUBSTITUTION';\nSET unique_checks = 0;\nSET foreign_key_checks = 0;\n");
    writeSchema();
    if (m_options.schemaOnly)
        return 0;

    const QByteArray db = m_options.characterDatabase.toLatin1();
    const QList<int> &worlds = m_options.worldIds;
    auto worldSize = [this](int index) {
        return index < m_options.worldSizes.size() ? m_options.worldSizes.at(index) : m_options.charactersPerWorld;
    };
    qint64 total = 0;
    for (int wi = 0; wi < worlds.size(); ++wi)
        total += worldSize(wi);
    const QList<int> starts = worldRangeStarts(m_options);

    // Accounts: one per two or three characters, spread over the account databases.
    for (int w = 0; w < m_options.accountDatabases.size(); ++w) {
        write("USE `" + m_options.accountDatabases.at(w).toLatin1() + "`;\nSTART TRANSACTION;\n");
        Batch accounts = batch("account", "name, password, question, answer, email, qq, tel, address, "
                                          "id_type, id_card, point, expoint, is_online, is_lock, is_gm, "
                                          "user_name, reg_time, reg_ip");
        for (int wi = 0; wi < worlds.size(); ++wi) {
            if (wi % m_options.accountDatabases.size() != w)
                continue;
            for (int a = 0; a < (worldSize(wi) + 1) / 2; ++a) {
                const QByteArray name = "w" + QByteArray::number(worlds.at(wi)) + "u" + QByteArray::number(a)
                    + (a % 3 == 0 ? "@qq.com" : "");
                const QByteArray md5 = QCryptographicHash::hash("pw" + name, QCryptographicHash::Md5).toHex();
                add(accounts, "'" + name + "','" + md5 + "','" + QString::fromUtf16(u"你的生日？").toUtf8()
                        + "','" + QByteArray::number(bounded(1, 12)) + "','" + name + (name.contains('@') ? "" : "@example.com")
                        + "','" + QByteArray::number(bounded(10000, 99999999)) + "',NULL,'"
                        + QString::fromUtf16(u"江湖路").toUtf8() + QByteArray::number(a) + "号',"
                        + QByteArray::number(bounded(0, 2)) + ",'" + QByteArray::number(bounded(100000, 999999))
                        + "'," + QByteArray::number(bounded(0, 50000)) + "," + QByteArray::number(bounded(0, 500))
                        + ",0," + (chance(3) ? "1" : "0") + "," + (a == 0 ? "1" : "0") + ",'"
                        + QString::fromUtf16(u"玩家").toUtf8() + QByteArray::number(a)
                        + "','2025-01-01 10:00:00','127.0.0.1'");
            }
        }
        flush(accounts);
        write("COMMIT;\n");
    }

    write("USE `" + db + "`;\nSTART TRANSACTION;\n");
    Batch chars = batch("t_char", "charguid, accname, charname, title, sex, menpai, level, zoneworldid, vmoney, "
                                  "bankmoney, yuanbao, bdyuanbao, hp, mp, exp, str, con, dex, spr, ipr, points, "
                                  "scene, xpos, zpos, bkscene, bkxpos, bkzpos, vigor, maxvigor, enegry, energymax, "
                                  "guildpoint, menpaipoint, sect_point, pkvalue, zengdian, banendtime, isvalid, "
                                  "createtime, logouttime, haircolor, pwdsafe, settings");
    Batch items = batch("t_iteminfo", "charguid, guid, world, server, itemtype, pos, p1, p2, p3, p4, p5, p6, p7, p8, "
                                      "p9, p10, p11, p12, p13, p14, p15, p16, p17, creator, isvalid, fixattr");
    Batch skills = batch("t_skill", "charguid, skid, sktime");
    Batch xinfa = batch("t_xinfa", "charguid, xinfaid, xinfalvl");
    Batch ability = batch("t_ability", "charguid, abid, ablvl, abexp");
    Batch impacts = batch("t_impact", "charguid, imdata, dbversion");
    Batch pets = batch("t_pet", "charguid, hpetguid, lpetguid, hspetguid, lspetguid, petname, petnick, level, petdata, isvalid");
    Batch bankPets = batch("t_pet_bank", "charguid, hpetguid, lpetguid, hspetguid, lspetguid, petname, petnick, level, bankpos, petdata");
    Batch petItems = batch("t_pet_iteminfo", "charguid, guid, world, hpetguid, lpetguid, itemtype, pos, p1, p2, p3, p7, creator, isvalid");
    Batch relations = batch("t_relation", "charguid, fguid, fname, relflag, fpoint");
    Batch shengwang = batch("t_shengwang", "charguid, swid, swpoint");
    Batch extras = batch("t_charextra", "charguid, dbversion, extdata");
    Batch crc = batch("t_crc32", "charguid, crc, dbversion");
    Batch chedifulu = batch("t_chedifulu", "charguid, idx, sceneid, x, z");
    Batch shop = batch("t_di4shop", "charguid, idx, buycount");
    Batch exterior = batch("t_exterior", "charguid, exterior_type, exterior_id, lefttime, redpoint");
    Batch exteriorChar = batch("t_exterior_char", "charguid, exdata, dbversion");
    Batch fashion = batch("t_exterior_fashion", "charguid, fashion_id, lefttime, world");
    Batch hair = batch("t_exterior_haircolor", "charguid, idx, color, redpoint");
    Batch weapon = batch("t_exterior_weapon", "charguid, exterior_id, lefttime, redpoint, wlevel");
    Batch ranse = batch("t_exterior_ranse", "charguid, exterior_id, color1, color2, color3");
    Batch ornaments = batch("t_exterior_ornaments", "charguid, orn_id, lefttime");
    Batch missions = batch("t_mission", "charguid, missionid, flag, mdata");
    Batch seckill = batch("t_seckill", "charguid, seckillid, killcount");
    Batch talent = batch("t_talent", "charguid, sectid, sectlvl");
    Batch xiulian = batch("t_xiulian", "charguid, mifaid, mifalvl, mifajinjie");
    Batch vars = batch("t_var", "worldid, maxcharguid, mailseq, dbversion");

    // Every character's id and name, world after world, for the relations between them.
    QList<int> guids;
    QList<QByteArray> names;
    guids.reserve(int(total));
    names.reserve(int(total));
    for (int wi = 0; wi < worlds.size(); ++wi) {
        for (int c = 0; c < worldSize(wi); ++c) {
            guids.append(starts.at(wi) + c);
            names.append(gbkName(int(names.size()) + 1, total > kLargeSample ? int(QByteArray::number(total).size()) : 0));
        }
    }

    int index = 0;
    for (int wi = 0; wi < worlds.size(); ++wi) {
        const int world = worlds.at(wi);
        const QByteArray w = QByteArray::number(world);
        for (int c = 0; c < worldSize(wi); ++c, ++index) {
            const int guid = guids.at(index);
            const QByteArray g = QByteArray::number(guid);
            const QByteArray &name = names.at(index);
            const QByteArray account = "w" + w + "u" + QByteArray::number(c / 2) + ((c / 2) % 3 == 0 ? "@qq.com" : "");
            const int level = bounded(1, 100) <= 15 ? bounded(1, 9) : bounded(10, 119);
            const QByteArray title = chance(30) ? hexLiteral(encodeGbk(QString::fromUtf16(u"江湖豪侠")) + randomGbkPair()) : "''";
            const QByteArray banned = chance(2) ? QByteArray::number(2000000000) : "0";
            auto n = [this](int lo, int hi) { return QByteArray::number(bounded(lo, hi)); };
            add(chars, g + ",'" + account + "'," + hexLiteral(name) + "," + title + "," + n(0, 1) + "," + n(0, 9) + ","
                    + QByteArray::number(level) + "," + w + "," + n(0, 5000000) + "," + n(0, 9000000) + ","
                    + n(0, 100000) + "," + n(0, 50000) + "," + n(100, 90000) + "," + n(100, 90000) + ","
                    + n(0, 2000000000) + "," + n(5, 900) + "," + n(5, 900) + "," + n(5, 900) + "," + n(5, 900)
                    + "," + n(5, 900) + "," + n(0, 500) + "," + n(0, 600) + "," + n(-9999, 30000) + ","
                    + n(-9999, 30000) + ",0,9000,18500," + n(0, 999) + ",999," + n(0, 999) + ",999,"
                    + n(0, 100000) + "," + n(0, 100000) + "," + n(0, 100000) + "," + n(0, 1000) + "," + n(0, 5000)
                    + "," + banned + "," + (chance(3) ? "0" : "1") + "," + n(1500000000, 1700000000) + ","
                    + n(1700000000, 1760000000) + "," + n(0, 20) + ",'" + QByteArray::number(qint64(guid) * 7919 % 1000003)
                    + "'," + hexLiteral(QByteArray::number(guid).repeated(3) + QByteArray("\x00\xff\x80", 3)));

            for (int i = bounded(3, 14); i > 0; --i) {
                const int pos = chance(40) ? bounded(210, 329) : bounded(0, 99);
                QByteArray row = g + "," + QByteArray::number(++m_itemGuid) + "," + w + ",1," + sampleItemType(bounded(10100001, 10400999))
                    + "," + QByteArray::number(pos);
                for (int p = 1; p <= 17; ++p) {
                    if (p == 7)
                        row += "," + QByteArray::number(qint32((quint32(bounded(1, 250)) << 24) | (quint32(bounded(0, 2)) << 16)));
                    else
                        row += "," + QByteArray::number(qint32(m_random.generate()));
                }
                add(items, row + "," + (chance(20) ? hexLiteral(name) : "''") + "," + (chance(5) ? "0" : "1")
                               + ",'" + n(0, 99999999) + "'");
            }
            for (int i = bounded(2, 8), base = bounded(1, 400); i > 0; --i)
                add(skills, g + "," + QByteArray::number(base + i) + "," + n(0, 100000));
            for (int i = bounded(2, 5), base = bounded(1, 60); i > 0; --i)
                add(xinfa, g + "," + QByteArray::number(base + i) + "," + n(1, 150));
            if (chance(2)) {  // a duplicated skill and xinfa entry, as damaged data shows them
                add(skills, g + ",1," + n(0, 100000));
                add(skills, g + ",1," + n(0, 100000));
                add(xinfa, g + ",61," + n(1, 150));
                add(xinfa, g + ",61," + n(1, 150));
            }
            for (int i = bounded(1, 3); i > 0; --i)
                add(ability, g + "," + QByteArray::number(i) + "," + n(1, 80) + "," + n(0, 99999));
            for (int i = bounded(0, 4); i > 0; --i)
                add(impacts, g + "," + impactData() + ",1");
            for (int i = bounded(0, 2); i > 0; --i) {
                const QByteArray lp = QByteArray::number(++m_petGuid);
                const QByteArray petName = hexLiteral(encodeGbk(QString::fromUtf16(u"珍兽")) + randomGbkPair());
                add(pets, g + "," + w + "," + lp + "," + w + "," + lp + "," + petName + "," + petName + "," + n(1, 100)
                              + ",'" + n(0, 99999) + "',1");
                for (int k = bounded(0, 2); k > 0; --k)
                    add(petItems, g + "," + QByteArray::number(++m_petItemGuid) + "," + w + "," + w + "," + lp + ","
                                      + n(10500000, 10599999) + "," + QByteArray::number(k) + "," + n(0, 99999) + ","
                                      + n(0, 99999) + "," + n(0, 99999) + "," + QByteArray::number(1 << 24) + ",'',1");
            }
            if (chance(20)) {
                const QByteArray lp = QByteArray::number(++m_petGuid);
                const QByteArray petName = hexLiteral(encodeGbk(QString::fromUtf16(u"宝宝")) + randomGbkPair());
                add(bankPets, g + "," + w + "," + lp + "," + w + "," + lp + "," + petName + "," + petName + ","
                                  + n(1, 100) + "," + n(0, 4) + ",'" + n(0, 99999) + "'");
            }
            for (int i = bounded(0, 3); i > 0; --i) {
                const int friendIndex = bounded(0, int(total) - 1);
                if (friendIndex == index)
                    continue;
                add(relations, g + "," + QByteArray::number(guids.at(friendIndex)) + "," + hexLiteral(names.at(friendIndex))
                                   + "," + n(1, 5) + "," + n(0, 9999));
            }
            for (int i = bounded(1, 3); i > 0; --i)
                add(shengwang, g + "," + QByteArray::number(i) + "," + n(0, 99999));
            add(extras, g + ",1,'" + n(0, 999999999) + "'");
            add(crc, g + "," + QByteArray::number(m_random.generate()) + ",1");
            add(chedifulu, g + "," + n(0, 9) + "," + n(0, 500) + "," + n(0, 300) + "," + n(0, 300));
            add(shop, g + "," + n(0, 50) + "," + n(1, 99));
            add(exterior, g + "," + n(1, 4) + "," + n(1, 300) + "," + n(-1, 86400) + ",0");
            add(exteriorChar, g + ",'" + n(0, 999999) + "',1");
            add(fashion, g + "," + n(1, 500) + "," + n(-1, 86400) + "," + w);
            add(hair, g + "," + n(0, 5) + "," + n(0, 0xFFFFFF) + ",0");
            add(weapon, g + "," + n(1, 200) + "," + n(-1, 86400) + ",0," + n(0, 10));
            add(ranse, g + "," + n(1, 200) + "," + n(0, 255) + "," + n(0, 255) + "," + n(0, 255));
            add(ornaments, g + "," + n(1, 100) + "," + n(-1, 86400));
            for (int i = bounded(0, 3); i > 0; --i)
                add(missions, g + "," + n(1, 3000) + "," + n(0, 7) + ",'" + n(0, 99999) + "'");
            add(seckill, g + "," + n(1, 100) + "," + n(0, 100));
            add(talent, g + "," + n(1, 9) + "," + n(1, 50));
            add(xiulian, g + "," + n(1, 30) + "," + n(1, 10) + "," + n(0, 3));
        }
        add(vars, w + "," + QByteArray::number(starts.at(wi) + worldSize(wi) - 1) + "," + QByteArray::number(bounded(0, 99999)) + ",1");
    }
    for (Batch *b : {&chars, &items, &skills, &xinfa, &ability, &impacts, &pets, &bankPets, &petItems,
                     &relations, &shengwang, &extras, &crc, &chedifulu, &shop, &exterior, &exteriorChar,
                     &fashion, &hair, &weapon, &ranse, &ornaments, &missions, &seckill, &talent, &xiulian, &vars})
        flush(*b);
    // Columns of the types a value can lose its way in: a creation time with an expression
    // default, zero dates, FLOAT, DECIMAL and YEAR, set without drawing from the generator.
    // (Floats of six digits: mysqldump writes FLOAT with six, so longer ones do not survive a
    // backup, whoever makes it.)
    write("UPDATE t_char SET regdate = FROM_UNIXTIME(createtime), speed = IF(charguid % 2 = 0, 2.75, 0.1), "
          "fortune = charguid * 1.25, joinyear = IF(charguid % 5 = 0, NULL, 2000 + charguid % 100), "
          "lastlogin = IF(charguid % 3 = 0, '0000-00-00 00:00:00', FROM_UNIXTIME(logouttime));\n");
    write("COMMIT;\n");
    return total;
}

} // namespace

QList<int> worldRangeStarts(const SampleOptions &options)
{
    const qsizetype count = options.worldIds.size();
    QList<int> starts;
    for (qsizetype i = 0; i < count; ++i) {
        qsizetype slot = i;
        if (count >= 3 && i >= count - 2)
            slot = i == count - 1 ? count - 2 : count - 1;
        starts.append(options.firstCharGuid + int(slot) * options.rangeSize);
    }
    return starts;
}

QString characterSchemaSql(bool rowIdVarTable)
{
    QString sql = QString::fromLatin1(kCharacterSchema) + QString::fromLatin1(rowIdVarTable ? kRowIdVarTable : kVarTable);
    for (const OwnedTable &table : kOwnedTables) {
        sql += QStringLiteral("\nCREATE TABLE %1 (\n  aid BIGINT NOT NULL AUTO_INCREMENT,\n"
                              "  charguid INT NOT NULL,\n  %2,\n  PRIMARY KEY (aid),\n"
                              "  KEY ix_charguid (charguid)\n) ENGINE=InnoDB DEFAULT CHARSET=latin1;\n")
                   .arg(QLatin1String(table.name), QLatin1String(table.columns));
    }
    return sql + QString::fromLatin1(kCreateCharacterProcedure);
}

QString accountSchemaSql()
{
    return QString::fromLatin1(kAccountSchema);
}

qint64 writeSampleDatabase(QIODevice *out, const SampleOptions &options)
{
    Generator generator(out, options);
    return generator.run();
}
