#!/bin/bash
# Readings kept by real copies of the program survive what ends them, typed with X key events:
# a copy killed with SIGKILL, a copy that quits without ever opening its readings, two copies
# at once (one quits, one is killed), and Esc on the question that offers an earlier session's
# readings back, and an earlier session's readings added and the adding undone. After each step every reading ever made is still on disk, in one file per
# session, until the user discards it.
#
#   recovery_e2e.sh PROGRAM
# Exits 77 (skipped) when no X server can run here.

set -u
source "$(dirname "$0")/../support/x_session.sh"
x_session_start "$1"
folder=$XDG_DATA_HOME/Kestramo

# The readings in the recovery files, one "time length" line each, sorted; with a file name,
# those of that file only.
on_disk() {
    local files=("$folder"/readings-*.csv)
    [[ $# -gt 0 ]] && files=("$@")
    [[ -e ${files[0]} ]] || return 0
    awk -F, 'FNR > 1 { print $2 " " $8 }' "${files[@]}" | sort
}

expect_on_disk() {
    local wanted
    wanted=$(printf '%s\n' "$@" | sort)
    [[ $(on_disk) == "$wanted" ]] || fail "on disk: $(on_disk | tr '\n' ';') wanted: ${wanted//$'\n'/;}"
}

files() { ls "$folder" 2>/dev/null | grep -c '^readings-.*\.csv$'; }

declare -A made
# The worked measurement at TIME with the shadow LENGTH, typed into the copy NAME: in full
# the first time, after that the time and the length only. The focus stays in the length box.
reading() {
    local name=$1 time=$2 length=$3
    copy_focus "$name"
    if [[ -z ${made[$name]:-} ]]; then
        made[$name]=0
        type_worked_session "$time" "$length"
        keys shift+Tab
    else
        keys Tab ctrl+a
        type_text "$time"
        keys shift+Tab ctrl+a
        type_text "$length"
    fi
    keys Return
    made[$name]=$((made[$name] + 1))
    wait_count "$name" result "${made[$name]}"
}

# Waits for the copy's Nth question and answers it with the keys.
answer() {
    local name=$1 nth=$2 says=$3
    shift 3
    wait_count "$name" message "$nth"
    [[ $(last "$name" message) == *"$says"* ]] || fail "question $nth: $(last "$name" message)"
    sleep 0.3
    keys "$@"
}

# Session A: three readings, then killed.
copy_start a
reading a "11:00" 25
reading a "15:00" 15.46
reading a "16:30" 21.07
copy_kill a
expect_on_disk "11:00 25" "15:00 15.46" "16:30 21.07"

# Session B: one reading, and Quit (Esc) without ever opening the readings: nothing of it is
# saved elsewhere, so its file stays too.
copy_start b
reading b "12:00" 30
keys Escape
copy_end b
expect_on_disk "11:00 25" "15:00 15.46" "16:30 21.07" "12:00 30"
((Files = $(files), Files == 2)) || fail "$Files files after B"

# Two copies at once, their readings taken in turn: X quits, Y is killed. Each keeps its own.
copy_start x
copy_start y
reading x "13:00" 20
reading y "14:00" 18
reading x "13:30" 21
reading y "14:10" 18.5
reading y "14:20" 19
copy_focus x
keys Escape
copy_end x
copy_kill y
all=("11:00 25" "15:00 15.46" "16:30 21.07" "12:00 30" "13:00 20" "13:30 21" "14:00 18"
     "14:10 18.5" "14:20 19")
expect_on_disk "${all[@]}"
for file in "$folder"/readings-*.csv; do
    case $(on_disk "$file" | tr '\n' ';') in
        "11:00 25;15:00 15.46;16:30 21.07;" | "12:00 30;" | "13:00 20;13:30 21;" | \
            "14:00 18;14:10 18.5;14:20 19;") ;;
        *) fail "$file mixes sessions: $(on_disk "$file" | tr '\n' ';')" ;;
    esac
done

# Session C opens its readings: each earlier session is offered, the oldest first. Esc on
# A's asks again later; B's, X's and Y's are added. Then C is killed.
copy_start c
keys alt+r
answer c 1 "left 3 readings" Escape
answer c 2 "left 1 reading in" Return
answer c 3 "left 2 readings" Return
answer c 4 "left 3 readings" Return
sleep 0.5
expect_on_disk "${all[@]}"
((Files = $(files), Files == 2)) || fail "$Files files after C added three sessions"
copy_kill c
expect_on_disk "${all[@]}"

# Session D: A's readings are discarded, on the user's word (D); C's are left for later.
copy_start d
keys alt+r
answer d 1 "left 3 readings" d
answer d 2 "left 6 readings" Escape
sleep 0.5
wait_count d message 2
expect_on_disk "12:00 30" "13:00 20" "13:30 21" "14:00 18" "14:10 18.5" "14:20 19"
keys Escape
sleep 0.3
copy_focus d
keys Escape
copy_end d
expect_on_disk "12:00 30" "13:00 20" "13:30 21" "14:00 18" "14:10 18.5" "14:20 19"

# Session E takes a reading and is killed. F adds E's reading, undoes that (Ctrl+Z) and quits:
# the reading stays on disk, as nobody discarded it.
rest=("12:00 30" "13:00 20" "13:30 21" "14:00 18" "14:10 18.5" "14:20 19")
copy_start e
reading e "10:00" 28
copy_kill e
copy_start f
keys alt+r
answer f 1 "left 6 readings" Escape
answer f 2 "left 1 reading" Return
sleep 0.5
keys ctrl+z
sleep 0.5
expect_on_disk "${rest[@]}" "10:00 28"
keys Escape
sleep 0.3
copy_focus f
keys Escape
copy_end f
expect_on_disk "${rest[@]}" "10:00 28"
echo "PASS: every reading kept until discarded"
