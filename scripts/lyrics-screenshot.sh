#!/usr/bin/env bash
# Makes docs/lyrics-bar.png: the bar singing a lyric line, grabbed from a private X server
# (needs Xvfb; nothing sounds). Builds what it needs in BUILD (default: build).
#     scripts/lyrics-screenshot.sh [BUILD]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target lyrics_screenshot
"$build/tests/lyrics_screenshot" "$root/docs/lyrics-bar.png"
echo "wrote $root/docs/lyrics-bar.png"
