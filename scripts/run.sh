#!/usr/bin/env bash
# Installs what is missing, builds, starts (or reuses) a local sample MariaDB server on
# 127.0.0.1 with a generated game database, and starts the program against it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_packages
build_project

# The session's ODBC fallback asks for the MySQL connector by its usual name; Debian's
# MariaDB driver answers it the same way.
ODBC_NAME="MySQL ODBC 8.0 Unicode Driver"
if ! odbcinst -q -d -n "$ODBC_NAME" >/dev/null 2>&1; then
    ODBC_LIB=$(find /usr/lib -name libmaodbc.so 2>/dev/null | head -n 1)
    if [ -n "$ODBC_LIB" ]; then
        TEMPLATE=$(mktemp)
        printf '[%s]\nDescription=MariaDB Connector/ODBC\nDriver=%s\nThreading=0\n' "$ODBC_NAME" "$ODBC_LIB" >"$TEMPLATE"
        SUDO=""
        [ "$(id -u)" -eq 0 ] || SUDO="sudo"
        $SUDO odbcinst -i -d -f "$TEMPLATE" >/dev/null && echo "== Registered $ODBC_LIB as \"$ODBC_NAME\""
        rm -f "$TEMPLATE"
    fi
fi

# A small made-up item catalogue, so that item names show; real client files are kept.
mkdir -p "$BUILD_DIR/Config"
for f in "$ROOT"/scripts/sampledb/Config/*.txt; do
    [ -e "$BUILD_DIR/Config/$(basename "$f")" ] || cp "$f" "$BUILD_DIR/Config/"
done

SERVER_DIR=$ROOT/.local/mariadb
mkdir -p "$SERVER_DIR"
if [ ! -s "$SERVER_DIR/password" ]; then
    (umask 077; head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n' >"$SERVER_DIR/password")
fi
PASSWORD=$(cat "$SERVER_DIR/password")
PORT=$(cat "$SERVER_DIR/port" 2>/dev/null || true)
# The port of the last run when it is still free (or the server still runs), else any free one;
# another program may take a port between its choice and the start, so start-any tries again.
if [ -z "$PORT" ] || ! "$ROOT/scripts/mariadb-sandbox.sh" start "$SERVER_DIR" "$PORT" "$PASSWORD" 2>/dev/null; then
    PORT=$("$ROOT/scripts/mariadb-sandbox.sh" start-any "$SERVER_DIR" "$PASSWORD")
fi
echo "== Sample server on 127.0.0.1:$PORT (data in $SERVER_DIR)"

if [ ! -f "$SERVER_DIR/sample-loaded-v2" ]; then
    echo "== Loading the sample game database"
    "$BUILD_DIR/scripts/sampledb/quorvel-sampledb" --worlds 1,2,10 --per-world 2000 \
        | MYSQL_PWD=$PASSWORD mariadb --no-defaults -h127.0.0.1 -P"$PORT" -uroot
    touch "$SERVER_DIR/sample-loaded-v2"
fi

HOSTS=$BUILD_DIR/host_configs.json
if [ ! -f "$HOSTS" ]; then
    (umask 077; cat >"$HOSTS" <<JSON
[
    {
        "database": "vexadb_main",
        "host": "127.0.0.1",
        "name": "本地示例服务器",
        "password": "$PASSWORD",
        "port": $PORT,
        "username": "root",
        "web_database": "web",
        "web_host": "127.0.0.1",
        "web_password": "$PASSWORD",
        "web_port": $PORT,
        "web_username": "root"
    }
]
JSON
    )
    echo "== Wrote $HOSTS"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found. Start the program in a virtual one with:"
    echo "    xvfb-run -a $BUILD_DIR/quorvel"
    echo "The sample server keeps running; stop it with: scripts/mariadb-sandbox.sh stop .local/mariadb"
    exit 0
fi
exec "$BUILD_DIR/quorvel"
