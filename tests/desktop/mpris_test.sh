#!/usr/bin/env bash
# Drives a portable copy of the player on the silent output through the desktop's media
# controls (MPRIS) with playerctl, on a private session bus: opening a file, play, pause,
# position, next and previous, metadata with a Shift-JIS title, files handed over by the
# launcher, and quitting. Then starts it with no session bus at all.
# Usage: dbus-run-session -- mpris_test.sh DIST_DIR WRITESONG
set -euo pipefail
dist=$1
writesong=$2
source "$(dirname "$0")/common.sh"

[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || fail "run me inside dbus-run-session"
command -v playerctl >/dev/null || fail "playerctl is not installed (scripts/install-deps.sh)"

work=$(mktemp -d)
prog="$work/prog"
trap 'stop_program "$prog/sonolux"; rm -rf "$work"' EXIT

cp -a "$dist" "$prog"
rm -f "$prog/Sonolux.ini" "$prog/Sonolux.lst"
printf '[Output]\nDevice=none\n' > "$prog/midimap.ini"
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen
"$writesong" "$work/a.mid" 60000 "Song A"
"$writesong" "$work/b.mid" 30000 $'\x8b\xc8 B' # Shift-JIS
cd "$work"

dbus-monitor --session "type='signal',path='/org/mpris/MediaPlayer2'" > "$work/signals.log" 2>&1 &
monitor=$!
trap 'kill $monitor 2>/dev/null; stop_program "$prog/sonolux"; rm -rf "$work"' EXIT
"$prog/sonolux" 2> "$work/player.log" &
wait_for 10 bash -c "playerctl --list-all | grep -qx sonolux"
expect_eq "status with nothing loaded" "$(mpris status)" "Stopped"

# Fault: a file opened from the media controls is not played, or its metadata is wrong.
mpris open "file://$work/a.mid"
wait_for 10 mpris_is Playing
expect_eq "title" "$(mpris metadata xesam:title)" "Song A"
expect_eq "url" "$(mpris metadata xesam:url)" "file://$work/a.mid"
expect_eq "length" "$(mpris metadata mpris:length)" "60000000"
case "$(mpris metadata mpris:trackid)" in
"'/org/sonolux/"*) ;;
*) fail "track id $(mpris metadata mpris:trackid)" ;;
esac

# Fault: pause does not stop the clock, play does not resume, or the media controls are
# not told (PropertiesChanged).
mpris pause
wait_for 5 mpris_is Paused
wait_for 5 grep -q '"Paused"' "$work/signals.log"
paused_at=$(mpris position)
sleep 0.3
expect_eq "position while paused" "$(mpris position)" "$paused_at"
mpris play
wait_for 5 mpris_is Playing

# Fault: a position request not landing on the position bar's step (60 s / 80 = 0.75 s),
# or a relative seek going the wrong way.
mpris position 30
expect_between "position after setting 30 s" "$(mpris position)" 30 30.7
wait_for 5 grep -q 'member=Seeked' "$work/signals.log"
mpris position 10-
expect_between "position after going back 10 s" "$(mpris position)" 19.5 20.7

# Fault: files from the launcher not replacing the list, Next not moving on or going past
# the last entry, Previous not coming back.
"$prog/sonolux-open" a.mid b.mid
wait_for 10 mpris_title_is "Song A"
wait_for 5 mpris_is Playing
mpris next
wait_for 10 mpris_title_is "曲 B"
expect_eq "length of the second song" "$(mpris metadata mpris:length)" "30000000"
if mpris next 2>/dev/null; then fail "next on the last entry was accepted"; fi
sleep 0.3
expect_eq "title after next on the last entry" "$(mpris metadata xesam:title)" "曲 B"
mpris previous
wait_for 10 mpris_title_is "Song A"

# Fault: the desktop's volume slider refused, not kept in midimap.ini for the next run, or
# the change not announced (PropertiesChanged).
mpris volume 0.5
wait_for 5 bash -c "[ \"\$(playerctl --player=sonolux volume)\" = 0.500000 ]"
wait_for 5 grep -q '"Volume"' "$work/signals.log"
grep -q '^Volume=50$' "$prog/midimap.ini" || fail "volume not kept: $(cat "$prog/midimap.ini")"

# Fault: a URL the player cannot open reported as success.
if dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.sonolux \
    /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Player.OpenUri \
    string:"http://example.invalid/a.mid" >/dev/null 2>&1; then
    fail "an http URL was accepted"
fi

# Fault: Quit not closing the player as its close button does (settings saved).
quit_player
wait_for 10 bash -c "[ -z \"\$(pgrep -x -f '$prog/sonolux')\" ]"
[ -f "$prog/Sonolux.ini" ] || fail "no Sonolux.ini beside the portable program after Quit"

# Fault: without a session bus the player fails, complains, or the launcher cannot start it.
(
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"
    unset DISPLAY WAYLAND_DISPLAY
    "$prog/sonolux-open" a.mid 2> "$work/nobus.log" || fail "launcher: $(cat "$work/nobus.log")"
    sleep 0.5
    [ -n "$(program_pids "$prog/sonolux")" ] || fail "the player ended without a bus"
    if grep -Eiq 'd-?bus' "$work/nobus.log"; then fail "complaints: $(cat "$work/nobus.log")"; fi
)
echo "mpris: all checks passed"
