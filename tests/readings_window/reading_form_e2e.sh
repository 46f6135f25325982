#!/bin/bash
# Readings of other kinds added and edited in the readings window with X key events alone, as a
# user types them: Add Reading... (Alt+R) takes a board reading, which goes in its place by
# time; F2 on a reading typed with its clock an hour fast sets its time right in place; Ctrl+Z
# and Ctrl+Y undo and redo that edit in one step each; a declinometer angle that cannot be read
# is refused with a message that names the field. The recovery file follows every step, and
# keeps the reading as first typed too: nobody discarded it.
#
#   reading_form_e2e.sh PROGRAM
# Exits 77 (skipped) when no X server can run here.

set -u
source "$(dirname "$0")/../support/x_session.sh"
x_session_start "$1"
folder=$XDG_DATA_HOME/Kestramo

# The clock times of the readings in the recovery file, in order.
times_on_disk() {
    local files=("$folder"/readings-*.csv)
    [[ -e ${files[0]} ]] || return 0
    awk -F, 'FNR > 1 { print $2 }' "${files[@]}" | sort | tr '\n' ' '
}

# The clock times of the readings the recovery file has left out.
left_out_on_disk() {
    awk -F, 'FNR == 1 { for (i = 1; i <= NF; ++i) if ($i == "excluded") column = i; next }
             $column == "yes" { print $2 }' "$folder"/readings-*.csv | sort | tr '\n' ' '
}

expect_left_out() {
    [[ $(left_out_on_disk) == "$* " ]] || fail "left out on disk: $(left_out_on_disk), wanted: $*"
}

expect_times() {
    local tries
    for ((tries = 0; tries < 20; ++tries)); do
        [[ $(times_on_disk) == "$* " ]] && return
        sleep 0.1
    done
    fail "on disk: $(times_on_disk), wanted: $*"
}

# The worked measurement's first reading typed an hour fast, then two more of that day.
copy_start a
type_worked_session "12:00" 25
keys shift+Tab Return
wait_count a result 1
for reading in "15:00 15.46" "16:30 21.07"; do
    keys Tab ctrl+a
    type_text "${reading% *}"
    keys shift+Tab ctrl+a
    type_text "${reading#* }"
    keys Return
done
wait_count a result 3
keys alt+r
sleep 1
expect_times 12:00 15:00 16:30

# A board reading: the date, zone and site come from the latest reading.
keys alt+r
sleep 0.5
keys alt+k Home Down alt+t ctrl+a
type_text "1:00 PM"
keys alt+h
type_text "10"
# xdotool would take a text that starts with a minus for an option of its own.
keys alt+x minus
type_text "3.25"
keys alt+y
type_text "4.5"
keys Return
expect_times 12:00 13:00 15:00 16:30

# The cursor is on the board reading; the reading an hour fast is the row above it.
sleep 0.5
keys Up F2
sleep 0.5
keys alt+t ctrl+a
type_text "11:00"
keys Return
expect_times 11:00 12:00 13:00 15:00 16:30
expect_left_out 12:00
sleep 0.3
keys ctrl+z
expect_times 11:00 12:00 13:00 15:00 16:30
expect_left_out 11:00
keys ctrl+y
expect_times 11:00 12:00 13:00 15:00 16:30
expect_left_out 12:00

# An angle in words is refused, named; Esc closes the message, then the form.
keys alt+r
sleep 0.5
keys alt+k Home Down Down alt+g
type_text "twelve"
keys Return
wait_count a message 1
[[ $(last a message) == Angle* ]] || fail "refused with: $(last a message)"
keys Escape
sleep 0.3
keys Escape
sleep 0.3
expect_times 11:00 12:00 13:00 15:00 16:30

# Esc closes the readings window, and Esc in the main window quits.
keys Escape
sleep 0.3
copy_focus a
keys Escape
copy_end a
echo "PASS: readings added and edited with the keys alone"
