# Sourced by the scripts in scripts/ (and tools/take_screenshots) from the repository root:
#
#   usage=...; parse with show_usage / refuse, or no_arguments "$@"
#   check_begin NAME   from here on the script ends with "NAME: PASS" or "NAME: FAIL (why)";
#                      gives it $scratch (a private directory, also XDG_RUNTIME_DIR) and runs
#                      the caller's cleanup function, if it defines one, on the way out
#   fail WHY           ends the check with that reason
#   as_root, apt_get   for the scripts that install packages
#   cmake_configure DIR [ARGS...], cmake_build DIR [ARGS...]: Ninja, $(nproc) jobs
#   xvfb_start SCREEN, window_of PID NAME: a private X server and a program's window in it

# shellcheck disable=SC2154  # usage is set by the script that sources this file
show_usage() {
    echo "usage: $usage"
    exit 0
}

# refuse ARGUMENT [WHY]
refuse() {
    local why="unknown argument '$1'"
    echo "$(basename "$0"): ${2:-$why}" >&2
    echo "usage: $usage" >&2
    exit 2
}

no_arguments() {
    local argument
    for argument in "$@"; do
        case $argument in
            -h | --help) show_usage ;;
            *) refuse "$argument" ;;
        esac
    done
}

check_name=""
check_reason=""
scratch=""

check_begin() {
    check_name=$1
    scratch=$(mktemp -d "/tmp/kestramo-$check_name.XXXXXX")
    chmod 700 "$scratch"
    export XDG_RUNTIME_DIR=$scratch
    # Checks need no display; a caller who wants another platform says so.
    export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
    trap check_end EXIT
}

fail() {
    check_reason="$*"
    exit 1
}

check_end() {
    local status=$?
    set +e
    if declare -F cleanup >/dev/null && ! cleanup; then
        status=1
        check_reason=${check_reason:-cleaning up failed}
    fi
    rm -rf "$scratch"
    if ((status == 0)); then
        echo "$check_name: PASS"
    else
        echo "$check_name: FAIL (${check_reason:-a step above failed with status $status})"
    fi
    exit "$status"
}

as_root() {
    if [[ $(id -u) -eq 0 ]]; then
        "$@"
    else
        sudo "$@"
    fi
}

# Waits for a lock that another apt run holds instead of failing at once.
apt_get() {
    as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get -y -q -o DPkg::Lock::Timeout=120 "$@"
}

# CMake cannot switch a configured tree to another generator: such a tree starts afresh.
cmake_configure() {
    local dir=$1
    shift
    if [[ -f $dir/CMakeCache.txt ]] &&
        ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$dir/CMakeCache.txt"; then
        rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
    fi
    cmake -S . -B "$dir" -G Ninja "$@"
}

cmake_build() {
    local dir=$1
    shift
    cmake --build "$dir" --parallel "$(nproc)" "$@"
}

xvfb_pid=""

# A display number nobody holds, so that runs side by side do not meet.
xvfb_start() {
    local number
    for ((number = 90; number < 200; ++number)); do
        [[ -e /tmp/.X11-unix/X$number || -e /tmp/.X$number-lock ]] || break
    done
    Xvfb ":$number" -screen 0 "$1" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=:$number
    local tries
    for ((tries = 0; tries < 100; ++tries)); do
        [[ -e /tmp/.X11-unix/X$number ]] && return 0
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "Xvfb did not start on $DISPLAY" >&2
    return 1
}

# Prints the id of the process's first visible window with that name, waiting up to 10 s.
window_of() {
    local pid=$1 name=$2 wid tries
    for ((tries = 0; tries < 50; ++tries)); do
        wid=$(xdotool search --all --onlyvisible --pid "$pid" --name "$name" 2>/dev/null | head -n 1)
        if [[ -n $wid ]]; then
            echo "$wid"
            return 0
        fi
        sleep 0.2
    done
    echo "no window named $name" >&2
    return 1
}
