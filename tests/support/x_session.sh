# Sourced by the tests that drive the real program with X key events, as a user does: an X
# server of the test's own (Xvfb, which picks a free display), a data folder of its own, and
# copies of the program started in it, each printing what it shows (KESTRAMO_PRINT_RESULTS:
# "result: ..." and "message: ..." lines).
#
#   x_session_start PROGRAM   exits 77 when no X server can run here
#   copy_start NAME           starts a copy; waits for its window
#   copy_focus NAME           gives the copy's main window the focus
#   keys KEY...               presses the keys (xdotool's names) where the focus is
#   type_text TEXT            types the text where the focus is
#   type_worked_session [TIME [LENGTH]]
#                             types the worked measurement from the date box on with the keys
#                             alone (the zone typed as text), the focus ending in the time box
#   count NAME KIND           how many KIND lines (result, message) the copy printed
#   wait_count NAME KIND N    waits until there are N, and fails if there are more
#   last NAME KIND            the copy's last KIND line, without "KIND: "
#   copy_end NAME             waits until the copy has ended by itself, with status 0
#   copy_kill NAME            ends the copy with SIGKILL
#   fail WHY                  ends the test, failed
# Everything it started is ended on the way out.

x_program=""
x_dir=""
x_server=""
declare -A copy_pid copy_window

fail() {
    echo "FAIL: $*" >&2
    for name in "${!copy_window[@]}"; do
        echo "--- output of $name:" >&2
        cat "$x_dir/$name.out" "$x_dir/$name.err" >&2
    done
    exit 1
}

x_session_end() {
    local name
    for name in "${!copy_pid[@]}"; do kill -9 "${copy_pid[$name]}" 2>/dev/null; done
    [[ -n $x_server ]] && kill "$x_server" 2>/dev/null
    wait 2>/dev/null
    [[ -n $x_dir ]] && rm -rf "$x_dir"
}

x_session_start() {
    x_program=$1
    if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
        echo "SKIP: Xvfb or xdotool is not installed" >&2
        exit 77
    fi
    x_dir=$(mktemp -d /tmp/kestramo-x.XXXXXX) || exit 77
    chmod 700 "$x_dir"
    trap x_session_end EXIT
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$x_dir/display" \
        >"$x_dir/xvfb.log" 2>&1 &
    x_server=$!
    local tries
    for ((tries = 0; tries < 100; ++tries)); do
        [[ -s $x_dir/display ]] && break
        kill -0 "$x_server" 2>/dev/null || break
        sleep 0.1
    done
    if [[ ! -s $x_dir/display ]]; then
        echo "SKIP: Xvfb did not start" >&2
        x_server=""
        exit 77
    fi
    export DISPLAY=:$(head -n 1 "$x_dir/display")
    export XDG_RUNTIME_DIR=$x_dir XDG_DATA_HOME=$x_dir/data KESTRAMO_PRINT_RESULTS=1
    unset QT_QPA_PLATFORM
}

copy_start() {
    local name=$1 tries=0 wid=""
    # The program in the locale the window was designed for, whatever this shell's is.
    LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 "$x_program" >"$x_dir/$name.out" 2>"$x_dir/$name.err" &
    copy_pid[$name]=$!
    while [[ -z $wid ]] && ((tries++ < 100)); do
        sleep 0.1
        wid=$(xdotool search --all --onlyvisible --pid "${copy_pid[$name]}" --name '^Kestramo$' \
            2>/dev/null | head -n 1)
    done
    [[ -n $wid ]] || fail "$name shows no window"
    copy_window[$name]=$wid
    copy_focus "$name"
}

copy_focus() {
    xdotool windowfocus --sync "${copy_window[$1]}" || fail "cannot give $1 the focus"
    sleep 0.2
}

keys() { xdotool key --delay 40 "$@"; }

# xdotool reads what it types in its own locale; C.UTF-8 is there on every Debian system.
type_text() { LC_ALL=C.UTF-8 xdotool type --delay 20 "$1"; }

type_worked_session() {
    type_text "9/3/2003"
    keys alt+d Tab
    type_text "GMT-5"
    keys Tab
    type_text "40.655"
    keys Tab
    type_text "72.855"
    # West, then past Calculate, Quit and Print.
    keys alt+w Tab Tab Tab Tab
    type_text "10"
    keys Tab
    type_text "${2:-25}"
    keys Tab
    type_text "${1:-11:00:00 AM}"
}

count() { grep -c "^$2: " "$x_dir/$1.out"; }

wait_count() {
    local name=$1 kind=$2 wanted=$3 tries
    for ((tries = 0; tries < 100; ++tries)); do
        (($(count "$name" "$kind") >= wanted)) && break
        sleep 0.1
    done
    # A moment more, for a second line that should not come.
    sleep 0.3
    local got
    got=$(count "$name" "$kind")
    ((got == wanted)) || fail "$name printed $got $kind lines, not $wanted"
}

last() { grep "^$2: " "$x_dir/$1.out" | tail -n 1 | cut -d' ' -f2-; }

copy_end() {
    local name=$1 tries
    for ((tries = 0; tries < 50; ++tries)); do
        kill -0 "${copy_pid[$name]}" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "${copy_pid[$name]}" 2>/dev/null && fail "$name did not end"
    wait "${copy_pid[$name]}" || fail "$name ended with status $?"
    unset "copy_pid[$name]"
}

copy_kill() {
    kill -9 "${copy_pid[$1]}"
    wait "${copy_pid[$1]}" 2>/dev/null
    unset "copy_pid[$1]"
}
