#!/usr/bin/env bash
# Builds the Debian package: bash scripts/package.sh [OUTDIR]   (default: the build folder)
# The programs, the desktop entry and icon, quorvel-cli's man page (from its --help), the
# sample item catalogue as an example; checked with desktop-file-validate and lintian.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

PACKAGES+=(help2man lintian desktop-file-utils)
install_packages
build_project
OUTDIR=$(mkdir -p "${1:-$BUILD_DIR}" && cd "${1:-$BUILD_DIR}" && pwd)

desktop-file-validate "$ROOT/packaging/quorvel.desktop"
# The man pages, English (man1) and Chinese (zh_CN/man1), from the command line's own help: the
# top level and every command's options, with the host list, passwords, exit codes, --json and
# examples from packaging/quorvel-cli.LANG.h2m.
VERSION=$(grep -oP 'project\(Quorvel VERSION \K[0-9.]+' "$ROOT/CMakeLists.txt")
for language in en zh_CN; do
    include=$(mktemp)
    cat "$ROOT/packaging/quorvel-cli.$language.h2m" > "$include"
    printf '\n[COMMANDS]\n' >> "$include"
    for command in worlds backup restore character account wipe export merge merge-same undo; do
        printf '.SS %s\n.nf\n' "$command"
        "$BUILD_DIR/quorvel-cli" --lang "$language" "$command" --help | sed -e 's/\\/\\e/g' -e 's/^\./\\\&./' -e 's/^-/\\-/'
        printf '.fi\n'
    done >> "$include"
    name="database tool for the operators of a role-playing game"
    [ "$language" = zh_CN ] && name="网络游戏运营者的数据库管理工具"
    LC_ALL=C.UTF-8 help2man --locale=C.UTF-8 --no-info --section=1 --version-string="$VERSION" --include="$include" \
        --help-option="--lang $language --help" --name="$name" "$BUILD_DIR/quorvel-cli" \
        | gzip -9n > "$BUILD_DIR/quorvel-cli.$language.1.gz"
    rm -f "$include"
done

gzip -9nc "$ROOT/packaging/quorvel.1" > "$BUILD_DIR/quorvel.1.gz"
gzip -9nc "$ROOT/packaging/changelog" > "$BUILD_DIR/changelog.gz"
gzip -9nc "$ROOT/README.md" > "$BUILD_DIR/README.md.gz"

(cd "$BUILD_DIR" && cpack -G DEB -B "$BUILD_DIR/package" >/dev/null)
DEB=$(ls -t "$BUILD_DIR"/package/quorvel_*.deb | head -n 1)
cp "$DEB" "$OUTDIR/"
echo "== $OUTDIR/$(basename "$DEB")"

# Errors fail the package; warnings are shown.
report=$(lintian --tag-display-limit 0 "$OUTDIR/$(basename "$DEB")" 2>&1 || true)
[ -z "$report" ] || echo "$report"
if grep -q '^E:' <<<"$report"; then
    echo "== lintian found errors" >&2
    exit 1
fi
echo "== lintian: no errors"
