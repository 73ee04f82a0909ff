# Helpers for the desktop tests (sourced).

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# wait_for SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds; fails the test
# when it has not within SECONDS.
wait_for() {
    local seconds=$1
    shift
    local tries=$((seconds * 10))
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "timed out after ${seconds}s waiting for: $*"
        sleep 0.1
    done
}

# expect_eq WHAT ACTUAL EXPECTED
expect_eq() {
    [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"
}

# expect_between WHAT VALUE LOW HIGH: LOW <= VALUE < HIGH (decimal numbers).
expect_between() {
    awk -v v="$2" -v lo="$3" -v hi="$4" 'BEGIN { exit !(v >= lo && v < hi) }' ||
        fail "$1: got $2, expected at least $3 and below $4"
}

# The process ids of the program at exactly PATH (its whole command line).
program_pids() {
    pgrep -x -f "$1" || true
}

# stop_program PATH: ends the programs started at PATH, each by its id.
stop_program() {
    local pid
    for pid in $(program_pids "$1"); do
        kill "$pid" 2>/dev/null || true
    done
    for pid in $(program_pids "$1"); do
        wait_for 5 bash -c "! kill -0 $pid"
    done
}

# A player for playerctl named sonolux: its status, or a metadata key.
mpris() {
    playerctl --player=sonolux "$@"
}

mpris_is() {
    [ "$(mpris status 2>/dev/null)" = "$1" ]
}

mpris_title_is() {
    [ "$(mpris metadata xesam:title 2>/dev/null)" = "$1" ]
}

quit_player() {
    dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.sonolux \
        /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Quit >/dev/null
}
