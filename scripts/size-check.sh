#!/bin/sh
# Fails when a source file of the program (tests, benchmarks and fuzzers aside) is longer
# than 600 lines, or a function in one is longer than 60, and names each offender.
# A function is a body whose opening brace stands alone on its line and whose closing
# brace stands alone at the same indent, as the project's format puts them; a closing
# brace with more on its line ("};", "} NAME;") ends a class or struct, not counted.
# Usage: scripts/size-check.sh [project root]
set -eu
root=${1:-$(dirname "$0")/..}
cd "$root"

max_file=600
max_function=60

find . -path ./tests -prune -o -path ./bench -prune -o -path ./fuzz -prune \
    -o -path './build*' -prune -o -path ./.git -prune \
    -o \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -type f -print | sort |
    xargs awk -v max_file="$max_file" -v max_function="$max_function" '
        FNR == 1 { depth = 0 }
        { lines[FILENAME] = FNR }
        /^ *\{$/ {
            indent = index($0, "{") - 1
            depth++
            open_indent[depth] = indent
            open_line[depth] = FNR
            next
        }
        depth > 0 && $0 ~ /^ *\}/ && index($0, "}") - 1 == open_indent[depth] {
            length_ = FNR - open_line[depth] + 1
            if ($0 ~ /^ *\}$/ && length_ > max_function) {
                printf "%s:%d: function of %d lines (over %d)\n",
                    FILENAME, open_line[depth], length_, max_function
                bad = 1
            }
            depth--
        }
        END {
            for (file in lines)
                if (lines[file] > max_file) {
                    printf "%s: %d lines (over %d)\n", file, lines[file], max_file
                    bad = 1
                }
            exit bad
        }' || exit 1
