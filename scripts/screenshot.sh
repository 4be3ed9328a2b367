#!/usr/bin/env bash
# Renders the pictures in docs/: the main window and dialogs connected to the local sample server.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
SERVER_DIR=$ROOT/.local/mariadb
[ -f "$SERVER_DIR/port" ] || { echo "start the sample server first: bash scripts/run.sh" >&2; exit 1; }
build_project
mkdir -p "$BUILD_DIR/scripts/sampledb/Config"
cp "$ROOT"/scripts/sampledb/Config/*.txt "$BUILD_DIR/scripts/sampledb/Config/"
for view in main zones accounts editor bank; do
    case $view in main) file=mainwindow ;; zones) file=zonewipe ;; accounts) file=accounts ;; *) file=$view ;; esac
    xvfb-run -a -s '-screen 0 1280x1024x24' \
        "$BUILD_DIR/scripts/sampledb/quorvel-screenshot" "$ROOT/docs/$file.png" \
        "$(cat "$SERVER_DIR/port")" "$(cat "$SERVER_DIR/password")" "$view"
    echo "wrote docs/$file.png"
done
