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
# The man page from the command line's own help; help2man needs --help and --version.
LC_ALL=C.UTF-8 help2man --locale=C.UTF-8 --no-info --section=1 --version-string="$(grep -oP 'project\(Quorvel VERSION \K[0-9.]+' "$ROOT/CMakeLists.txt")" \
    --name="database tool for the operators of a role-playing game" "$BUILD_DIR/quorvel-cli" \
    | gzip -9n > "$BUILD_DIR/quorvel-cli.1.gz"

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
