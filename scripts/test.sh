#!/usr/bin/env bash
# Installs what is missing, builds, starts two throw-away MariaDB servers, runs every test
# and stops the servers again, also when tests fail. Exits non-zero on any failure.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_packages
build_project -DBUILD_TESTING=ON

SERVERS=$(mktemp -d /tmp/quorvel-servers-XXXXXX)
cleanup() {
    for dir in "$SERVERS"/*/; do
        [ -d "$dir" ] && "$ROOT/scripts/mariadb-sandbox.sh" stop "$dir" || true
    done
    # Servers that a crashed test left behind.
    pkill -f 'mariadbd .*--datadir=/tmp/quorvel-test-' 2>/dev/null || true
    rm -rf "$SERVERS"
}
trap cleanup EXIT

export QUORVEL_TEST_PASSWORD='Qv;p{w}d=1'
ports=()
for n in 1 2; do
    port=$("$ROOT/scripts/mariadb-sandbox.sh" free-port)
    "$ROOT/scripts/mariadb-sandbox.sh" start "$SERVERS/server$n" "$port" "$QUORVEL_TEST_PASSWORD"
    ports+=("$port")
done
export QUORVEL_TEST_SERVERS="${ports[0]},${ports[1]}"
echo "== Test servers on 127.0.0.1:${ports[0]} and :${ports[1]}"

cd "$BUILD_DIR"
ctest --output-on-failure --timeout 600
