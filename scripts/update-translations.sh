#!/usr/bin/env bash
# Extracts the texts of the sources into translations/quorvel_{zh_CN,en}.ts again (lupdate
# keeps the translations already written); then write the English of the new ones, marked
# "unfinished" in quorvel_en.ts. STORED_TEXT is taken as QT_TR_NOOP and STORED_COUNT as QT_TR_N_NOOP:
# see base/storedtext.h. Texts with plural forms (numerus) get both English forms by hand.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
LUPDATE=${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
cd "$ROOT"
for language in zh_CN en; do
    "$LUPDATE" -silent -locations none -no-obsolete -source-language zh_CN -target-language "$language" \
        -tr-function-alias QT_TR_NOOP+=STORED_TEXT,QT_TR_N_NOOP+=STORED_COUNT,QT_TRANSLATE_NOOP+=STORED_TEXT_IN \
        base app db engine merge ui cli -ts "translations/quorvel_$language.ts"
done
