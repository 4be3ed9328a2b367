#pragma once

#include "db/hostconfig.h"
#include "testservers.h"

#include <QByteArray>
#include <QString>

// Two zones to merge on two servers: the target's worlds 1 and 2 with names and accounts that
// clash, the source's world with characters whose legacy text holds every byte value, with
// pets, items of every value type, relations and accounts.
namespace MergeFixture {

extern const QString kMainDb;
extern const QString kMainWeb;
extern const QString kSubDb;
extern const QString kSourceWeb;

// X'..' of the bytes.
QByteArray hex(const QByteArray &bytes);
// The 256 byte values in chunks that fit the legacy text columns.
QByteArray chunk(int k);

// Loads both databases afresh; the source's zone is `sourceWorld`, its ids from `sourceFirstGuid`.
bool load(const TestServer &main, const TestServer &sub, int sourceWorld, int sourceFirstGuid);
// Host entries of both servers, as the merge window's presets offer them.
HostConfigList hosts(const TestServer &main, const TestServer &sub);

} // namespace MergeFixture
