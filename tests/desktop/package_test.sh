#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks it without installing it: its
# fields and file list, what lintian and the AppStream validator say of it, the desktop
# entry, the manual pages, the tools' answers, and the installed layout run from an extraction
# as an ordinary user (nobody when run as root), who cannot write the program folder: the
# user's files must go to the user's own folders and the shipped files must still be used.
# Usage: package_test.sh BUILD_DIR WRITESONG
set -euo pipefail
build=$1
writesong=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

for tool in cpack dpkg-deb dpkg-shlibdeps dpkg-parsechangelog desktop-file-validate \
    dbus-run-session playerctl lintian appstreamcli; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps.sh)"
done

work=$(mktemp -d)
root="$work/root"
program="$root/usr/lib/sonolux/sonolux"
trap 'stop_program "$program"; rm -rf "$work"' EXIT

# Fault: the package cannot be built, or more than one comes out.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
debs=("$work"/pkg/sonolux_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one sonolux_*.deb, got ${debs[*]}"
deb=${debs[0]}

# Fault: dependencies not declared (the shared libraries, the Japanese font, a SoundFont).
field() { dpkg-deb -f "$deb" "$1"; }
expect_eq "Package" "$(field Package)" "sonolux"
depends=$(field Depends)
for needed in libqt6widgets6 libqt6dbus6 libfluidsynth3 libasound2 libarchive13 \
    "fonts-ipafont-gothic | fonts-noto-cjk"; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
[[ "$(field Recommends)" == *"fluid-soundfont-gm"* ]] || fail "no SoundFont recommended"

# Fault: a file of the program folder, a link or a desktop file missing from the package, or
# files of a portable run (settings, list, output choice) shipped in it.
listing=$(dpkg-deb -c "$deb" | awk '{ print $6 ($7 ? " " $7 " " $8 : "") }')
for path in ./usr/lib/sonolux/sonolux ./usr/lib/sonolux/sonolux-open \
    ./usr/lib/sonolux/arcworker ./usr/lib/sonolux/libsonolux.so ./usr/lib/sonolux/librcpcv.so \
    ./usr/lib/sonolux/libunlha32.so ./usr/lib/sonolux/libunzip32.so ./usr/lib/sonolux/libcab32.so \
    ./usr/lib/sonolux/libtar32.so ./usr/lib/sonolux/libunrar32.so ./usr/lib/sonolux/libunrar.so \
    ./usr/lib/sonolux/libunarj32j.so ./usr/lib/sonolux/skin/default.mbd \
    ./usr/lib/sonolux/format/GM.MID ./usr/lib/sonolux/sonolux.installed \
    "./usr/bin/sonolux -> ../lib/sonolux/sonolux" \
    "./usr/bin/sonolux-open -> ../lib/sonolux/sonolux-open" \
    "./usr/bin/sonolux-render -> ../lib/sonolux/sonolux-render" \
    "./usr/bin/rcp2smf -> ../lib/sonolux/rcp2smf" \
    ./usr/share/applications/sonolux.desktop \
    ./usr/share/icons/hicolor/scalable/apps/sonolux.svg ./usr/share/mime/packages/sonolux.xml \
    ./usr/share/metainfo/io.github.sonolux.Sonolux.metainfo.xml \
    ./usr/share/doc/sonolux/copyright ./usr/share/doc/sonolux/changelog.gz \
    ./usr/share/man/man1/sonolux.1.gz ./usr/share/man/man1/sonolux-open.1.gz \
    ./usr/share/man/man1/sonolux-render.1.gz ./usr/share/man/man1/rcp2smf.1.gz; do
    grep -qxF -- "$path" <<<"$listing" || fail "package lacks $path"
done
if grep -Eq 'Sonolux\.(ini|lst)|midimap\.ini' <<<"$listing"; then
    fail "package ships a user's files: $(grep -E 'Sonolux|midimap' <<<"$listing")"
fi

# Fault: maintainer scripts (CPack's ldconfig calls for the private libraries) in the package.
control=$(dpkg-deb -I "$deb")
if grep -Eq '^ +[0-9]+ bytes, +[0-9]+ lines +\*? *(pre|post)(inst|rm)' <<<"$control"; then
    fail "package has maintainer scripts: $control"
fi

# Fault: lintian finds an error, or a warning not accepted here. Accepted warnings, one
# tag a line with the reason it is accepted (none today; info and experimental tags such as
# executable-in-usr-lib for the program folder are not warnings):
accepted_warnings=(
)
lintian --fail-on none --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 ||
    fail "lintian did not run: $(cat "$work/lintian.log")"
while read -r level _ tag rest; do
    case "$level" in
    E:) fail "lintian error: $tag $rest" ;;
    W:) [[ " ${accepted_warnings[*]} " == *" $tag "* ]] || fail "lintian warning: $tag $rest" ;;
    esac
done <"$work/lintian.log"

dpkg-deb -x "$deb" "$root"
# Fault: a desktop entry the desktop rejects.
desktop-file-validate "$root/usr/share/applications/sonolux.desktop"
source "$here/package_checks.sh"
check_metainfo "$root" "$(field Version)"
check_changelog "$root" "$(field Version)"
check_copyright "$root" "$depends"
check_tools "$root" "$(field Version)"

# Fault: the installed program does not start for an ordinary user, writes beside itself,
# or loses the shipped reset file and design when the user's folders are used.
home="$work/home"
mkdir -p "$home/.config/sonolux" "$work/run"
printf '[Output]\nDevice=none\n' >"$home/.config/sonolux/midimap.ini"
"$writesong" "$work/song.mid" 20000 "Installed Song"
cp "$here/common.sh" "$work/common.sh"
cat >"$work/run.sh" <<'INNER'
set -euo pipefail
source "$WORK/common.sh"
"$WORK/root/usr/bin/sonolux-open" "$WORK/song.mid"
wait_for 10 mpris_title_is "Installed Song"
wait_for 5 mpris_is Playing
quit_player
wait_for 10 bash -c "[ -z \"\$(pgrep -x -f '$WORK/root/usr/lib/sonolux/sonolux')\" ]"
INNER
chmod 755 "$work"
chmod 700 "$work/run"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$home" "$work/run"
    run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
    chmod -R a-w "$root/usr/lib/sonolux"
fi
before=$(ls -A "$root/usr/lib/sonolux")
env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$work/run" WORK="$work" \
    QT_QPA_PLATFORM=offscreen "${run_as[@]}" dbus-run-session -- bash "$work/run.sh" \
    >"$work/run.log" 2>&1 || fail "installed run: $(cat "$work/run.log")"

expect_eq "program folder after the run" "$(ls -A "$root/usr/lib/sonolux")" "$before"
[ -f "$home/.config/sonolux/Sonolux.ini" ] || fail "no Sonolux.ini in ~/.config/sonolux"
grep -qx 'Format=GM.MID' "$home/.config/sonolux/Sonolux.ini" || fail "settings file incomplete"
check_render_settings "$root" "$work/song.mid"
echo "package: all checks passed"
