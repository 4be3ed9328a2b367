#include "mergefixture.h"

#include "db/legacytext.h"

namespace MergeFixture {

const QString kMainDb = QStringLiteral("merge_main");
const QString kMainWeb = QStringLiteral("merge_web");
const QString kSubDb = QStringLiteral("merge_sub");
const QString kSourceWeb = QStringLiteral("merge_subweb");

QByteArray hex(const QByteArray &bytes)
{
    return "X'" + bytes.toHex() + "'";
}

QByteArray chunk(int k)
{
    return TestServers::allByteValues().mid(k * 37, 37);
}

bool load(const TestServer &main, const TestServer &sub, int sourceWorld, int sourceFirstGuid)
{
    SampleOptions target = TestServers::smallSample(kMainDb, {1, 2}, 20);
    target.accountDatabases = {kMainWeb};
    if (!TestServers::loadSample(main, target))
        return false;
    SampleOptions source = target;
    source.characterDatabase = kSubDb;
    source.accountDatabases = {kSourceWeb};
    source.worldIds = {sourceWorld, 9};
    source.firstCharGuid = sourceFirstGuid;
    source.seed = target.seed + 1;  // other players, though with the same account names
    if (!TestServers::loadSample(sub, source))
        return false;

    // Names and accounts that clash in the target, one of them too long for its suffix, and two
    // that clash only as the columns compare: GBK C9A1 against E9A1 (latin1_swedish_ci folds
    // their lead bytes) and "Carol" against "carol".
    const QByteArray sword = encodeGbk(QStringLiteral("剑心"));
    const QByteArray longName = encodeGbk(QString(24, QChar(0x5251)));
    // Item columns of the types a value can lose its way in when it travels as text.
    const QByteArray typed = "ALTER TABLE t_iteminfo ADD price DECIMAL(14,2) NULL, ADD rate DOUBLE NULL, ADD made DATETIME(3) NULL, "
                             "ADD flags BIT(8) NULL, ADD kind ENUM('a','b') NULL, ADD big BIGINT UNSIGNED NULL, ADD weight FLOAT NULL, "
                             "ADD stamp TIMESTAMP NULL DEFAULT NULL;";
    QByteArray targetSql = "USE merge_main;" + typed +
        "INSERT INTO t_char (charguid, accname, charname, zoneworldid, createtime, logouttime, haircolor, pwdsafe, settings) VALUES "
        "(800001,'x'," + hex(sword) + ",2,1,1,1,'',''),(800002,'x'," + hex(sword + "_S2") + ",2,1,1,1,'',''),"
        "(800003,'x'," + hex(longName) + ",2,1,1,1,'',''),(800004,'x',X'C9A1C9A1',2,1,1,1,'','');"
        "USE merge_web; INSERT INTO account (name, password, reg_time, reg_ip) VALUES "
        "('bob@x.com','p','2025-01-01','1'),('bob_S2@x.com','p','2025-01-01','1'),('Carol','p','2025-01-01','1');";
    if (!TestServers::runSql(main, targetSql))
        return false;

    // Characters whose legacy text holds every byte value, with pets, items and relations.
    const QByteArray w = QByteArray::number(sourceWorld);
    QByteArray sql = "SET NAMES utf8mb4; USE merge_sub;" + typed;
    for (int k = 0; k < 7; ++k) {
        const QByteArray g = QByteArray::number(900001 + k);
        const QByteArray name = k == 0 ? sword : (k == 1 ? longName : chunk(k));
        sql += "INSERT INTO t_char (charguid, accname, charname, title, level, zoneworldid, createtime, logouttime, haircolor, pwdsafe, settings) VALUES ("
            + g + ",'bob@x.com'," + hex(name) + "," + hex(chunk(6 - k)) + ",50," + w + ",1,2,3," + hex(chunk(k).left(32)) + "," + hex(TestServers::allByteValues()) + ");"
            "INSERT INTO t_pet (charguid, hpetguid, lpetguid, hspetguid, lspetguid, petname, petnick, level, petdata) VALUES ("
            + g + ",1," + g + ",1," + g + "," + hex(chunk(k)) + "," + hex(chunk(6 - k)) + ",1,'');"
            "INSERT INTO t_iteminfo (charguid, guid, world, server, itemtype, pos, p1, p2, p3, p4, p5, p6, p7, p8, p9, p10, p11, p12, p13, p14, p15, p16, p17, "
            "creator, fixattr, price, rate, made, flags, kind, big, weight) VALUES ("
            + g + ",1," + w + ",1,1,1,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,-17," + hex(chunk(k)) + "," + hex(chunk(6 - k))
            + ",-123456789012.34,-1.25e-300,'2025-01-02 03:04:05.678',b'10100101','b',18446744073709551615,16777218);"
            "UPDATE t_iteminfo SET stamp = FROM_UNIXTIME(1700000000 + " + g + ") WHERE charguid = " + g + ";"
            "INSERT INTO t_relation (charguid, fguid, fname, relflag, fpoint) VALUES (" + g + "," + QByteArray::number(900001 + (k + 1) % 7)
            + "," + hex(chunk(k)) + ",1,1),(" + g + ",777777,'gone',1,1);"
            "INSERT INTO t_impact (charguid, imdata, dbversion) VALUES (" + g + "," + hex(TestServers::allByteValues()) + ",1);";
    }
    // A character whose accname has another case than its account's name still belongs to it.
    sql += "UPDATE t_char SET accname = 'BoB@X.com' WHERE charguid = 900004;"
           "INSERT INTO t_char (charguid, accname, charname, level, zoneworldid, createtime, logouttime, haircolor, pwdsafe, settings) VALUES "
           "(900008,'carol',X'E9A1E9A1',50," + w + ",1,2,3,'','');";
    sql += "USE merge_subweb; INSERT INTO account (name, password, user_name, address, reg_time, reg_ip) VALUES "
           "('bob@x.com','p','" + QStringLiteral("玩家").toUtf8() + "','" + QStringLiteral("路🙂").toUtf8() + "','2025-01-02 03:04:05','9'),"
           "('carol','p',NULL,NULL,'2025-01-02','9');";
    return TestServers::runSql(sub, sql);
}

HostConfigList hosts(const TestServer &main, const TestServer &sub)
{
    HostConfig target = main.hostConfig(kMainDb);
    target.accountDatabase = kMainWeb;
    HostConfig source = sub.hostConfig(QString());  // no database: the preset fills the default
    source.accountDatabase = kSourceWeb;
    return {target, source};
}

} // namespace MergeFixture
