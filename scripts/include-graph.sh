#!/bin/sh
# Prints, for each top-level source folder, the other top-level folders its
# '#include "folder/..."' lines name, and exits non-zero when two or more folders
# depend on each other in a circle (the circle is printed).
# Usage: scripts/include-graph.sh [project root]
set -eu
root=${1:-$(dirname "$0")/..}
cd "$root"

edges=$(mktemp)
trap 'rm -f "$edges"' EXIT

folders=$(for d in */; do
    d=${d%/}
    case $d in build* | docs | resources | cmake | scripts) continue ;; esac
    echo "$d"
done)

for folder in $folders; do
    grep -rhoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' "$folder" \
        --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.c' 2>/dev/null |
        sed -E 's/.*"([^"/]+)\//\1/' | sort -u |
        while read -r target; do
            if [ "$target" != "$folder" ] && [ -d "$target" ]; then
                echo "$folder $target"
            fi
        done
done | sort -u >"$edges"

for folder in $folders; do
    printf '%s:' "$folder"
    awk -v f="$folder" '$1 == f { printf " %s", $2 }' "$edges"
    echo
done

# A topological sort fails exactly when the graph has a circle; tsort names its members.
if ! out=$(tsort "$edges" 2>&1 >/dev/null) || [ -n "$out" ]; then
    echo "include cycle:" >&2
    echo "$out" | sed -n 's/^tsort: \([^ :]*\)$/  \1/p' >&2
    exit 1
fi
echo "no include cycle"
