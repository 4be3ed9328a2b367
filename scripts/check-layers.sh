#!/bin/bash
# Each folder may include only itself and the folders below it; prints every include that
# reaches up or sideways and fails when there is one.
cd "$(dirname "$0")/.." || exit 2
declare -A allowed=(
    [base]="base"
    [db]="base db"
    [engine]="base db engine"
    [merge]="base db engine merge"
    [cli]="base db engine merge cli"
    [ui]="base db engine merge ui"
    [app]="base db engine merge ui app"
)
status=0
for folder in "${!allowed[@]}"; do
    while IFS=: read -r file line text; do
        target=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$text")
        if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
            echo "$file:$line: $folder includes $target: $text"
            status=1
        fi
    done < <(grep -rnE '^#include "[a-z]+/' "$folder" --include='*.cpp' --include='*.h')
done
exit $status
