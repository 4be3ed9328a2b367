# Shared steps of run.sh and test.sh: install what is missing, configure and build.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${QUORVEL_BUILD_DIR:-$ROOT/build}

PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libqt6sql6-mysql libqt6sql6-odbc qt6-translations-l10n qt6-l10n-tools
    unixodbc odbc-mariadb
    mariadb-server mariadb-client
    xvfb xauth fonts-wqy-microhei
)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "== Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

build_project() {
    echo "== Building in $BUILD_DIR"
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}
