#!/usr/bin/env bash
# Throw-away MariaDB servers on 127.0.0.1 for the sample database and the tests.
#   mariadb-sandbox.sh start DIR PORT PASSWORD   initialise DIR if needed, start, wait until ready
#                                                (exit code 3: another program took the port)
#   mariadb-sandbox.sh start-any DIR PASSWORD    the same on a free port, another one if it is
#                                                taken meanwhile; prints the port
#   mariadb-sandbox.sh stop DIR                  stop the server whose data lives in DIR
#   mariadb-sandbox.sh free-port                 print a free loopback port
# MARIADB_SANDBOX_OPTIONS adds server options (a smaller buffer pool, another SQL mode).
# A TCP user root@127.0.0.1 with PASSWORD is created; name resolution is off so
# that TCP logins are not mapped to the socket-authenticated root@localhost.
set -euo pipefail

# Alive and not a zombie: where nothing reaps orphans, a killed server lingers as one.
pid_alive() {
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
    [ -n "$state" ] && [ "$state" != Z ]
}

port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

free_port() {
    local p
    for _ in $(seq 1 200); do
        p=$(( 20000 + RANDOM % 30000 ))
        if ! port_in_use "$p"; then echo "$p"; return 0; fi
    done
    echo "no free port found" >&2; return 1
}

start() {
    local dir=$1 port=$2 password=$3
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    if [ ! -d "$dir/data/mysql" ]; then
        mkdir -p "$dir/data"
        mariadb-install-db --no-defaults --user=root --datadir="$dir/data" \
            --skip-test-db --auth-root-authentication-method=socket >"$dir/install.log" 2>&1 \
            || { cat "$dir/install.log" >&2; return 1; }
    fi
    if [ -f "$dir/mariadbd.pid" ] && pid_alive "$(cat "$dir/mariadbd.pid")"; then
        echo "already running" >&2
    else
        if port_in_use "$port"; then echo "port $port is in use" >&2; return 3; fi
        local logged=0
        [ -f "$dir/error.log" ] && logged=$(stat -c %s "$dir/error.log")
        # Temporary tables in a folder of its own: nothing else on the machine removes them.
        mkdir -p "$dir/tmp"
        setsid mariadbd --no-defaults --user=root --datadir="$dir/data" --tmpdir="$dir/tmp" \
            --socket="$dir/mariadbd.sock" --port="$port" --bind-address=127.0.0.1 \
            --skip-name-resolve --pid-file="$dir/mariadbd.pid" \
            --log-error="$dir/error.log" --innodb-buffer-pool-size=256M \
            --innodb-flush-log-at-trx-commit=2 --skip-log-bin \
            --character-set-server=latin1 --collation-server=latin1_swedish_ci \
            ${MARIADB_SANDBOX_OPTIONS:-} </dev/null >/dev/null 2>&1 &
        local server=$!
        # Up to a minute: a test command runs two programs and four servers on two cores.
        for _ in $(seq 1 600); do
            if mariadb --no-defaults --socket="$dir/mariadbd.sock" -uroot -e 'SELECT 1' >/dev/null 2>&1; then
                break
            fi
            if ! pid_alive "$server"; then
                # Another program may have taken the port between the choice and the start.
                if tail -c +$((logged + 1)) "$dir/error.log" 2>/dev/null | grep -q 'already in use'; then
                    echo "port $port was taken before the server could use it" >&2
                    return 3
                fi
                break
            fi
            sleep 0.1
        done
    fi
    mariadb --no-defaults --socket="$dir/mariadbd.sock" -uroot -e "
        CREATE OR REPLACE USER 'root'@'127.0.0.1' IDENTIFIED BY '${password//\'/\'\'}';
        GRANT ALL PRIVILEGES ON *.* TO 'root'@'127.0.0.1' WITH GRANT OPTION;
        FLUSH PRIVILEGES;" || { tail -20 "$dir/error.log" >&2; return 1; }
    echo "$port" >"$dir/port"
}

start_any() {
    local dir=$1 password=$2 port rc
    for _ in 1 2 3 4 5; do
        port=$(free_port)
        rc=0
        start "$dir" "$port" "$password" >&2 || rc=$?
        if [ "$rc" -eq 0 ]; then echo "$port"; return 0; fi
        [ "$rc" -eq 3 ] || return "$rc"
    done
    echo "no port could be used" >&2; return 1
}

stop() {
    local dir=$1
    [ -f "$dir/mariadbd.pid" ] || return 0
    local pid
    pid=$(cat "$dir/mariadbd.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 300); do
        pid_alive "$pid" || break
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$dir/mariadbd.pid"
}

case "${1:-}" in
    start) start "$2" "$3" "$4" ;;
    start-any) start_any "$2" "$3" ;;
    stop) stop "$2" ;;
    free-port) free_port ;;
    *) echo "usage: $0 start DIR PORT PASSWORD | start-any DIR PASSWORD | stop DIR | free-port" >&2; exit 2 ;;
esac
