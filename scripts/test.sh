#!/usr/bin/env bash
# Installs what is missing, builds, starts two pairs of throw-away MariaDB servers, runs every
# test, two programs at a time (each on a pair of its own), and stops the servers again, also
# when tests fail. Exits non-zero on any failure.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_packages
build_project -DBUILD_TESTING=ON
# The Debian package, which tst_package unpacks and runs.
bash "$ROOT/scripts/package.sh"

SERVERS=$(mktemp -d /tmp/quorvel-servers-XXXXXX)
cleanup() {
    # The shared servers and those that a crashed test left behind: only this run's, each
    # by the process id it recorded.
    find "$SERVERS" -name mariadbd.pid 2>/dev/null | while read -r pidfile; do
        "$ROOT/scripts/mariadb-sandbox.sh" stop "$(dirname "$pidfile")" || true
    done
    rm -rf "$SERVERS"
}
trap cleanup EXIT

export QUORVEL_TEST_RUN_DIR="$SERVERS"
export QUORVEL_TEST_PASSWORD='Qv;p{w}d=1'
ports=()
for n in 1 2 3 4; do
    ports+=("$("$ROOT/scripts/mariadb-sandbox.sh" start-any "$SERVERS/server$n" "$QUORVEL_TEST_PASSWORD")")
done
# A program run alone takes the first pair; under ctest -j2 each program takes pair a or b,
# whichever is free, and holds it until it ends.
export QUORVEL_TEST_SERVERS="${ports[0]},${ports[1]}"
export QUORVEL_TEST_SERVERS_a="${ports[0]},${ports[1]}"
export QUORVEL_TEST_SERVERS_b="${ports[2]},${ports[3]}"
echo "== Test servers on 127.0.0.1:${ports[*]}"

cd "$BUILD_DIR"
status=0
ctest --output-on-failure --timeout 600 -j2 || status=$?
if [ "$status" -ne 0 ]; then
    # A test that lost its server: whether each one still runs, and how a stopped one ended.
    for n in 1 2 3 4; do
        dir="$SERVERS/server$n"
        if [ -f "$dir/mariadbd.pid" ] && kill -0 "$(cat "$dir/mariadbd.pid")" 2>/dev/null; then
            echo "== server$n (port ${ports[n-1]}) runs"
        else
            echo "== server$n (port ${ports[n-1]}) has stopped; the end of its log:"
            tail -n 60 "$dir/error.log" || true
        fi
    done
    df -h "$SERVERS" || true
fi
exit "$status"
