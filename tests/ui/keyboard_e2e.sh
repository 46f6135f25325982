#!/bin/bash
# The worked session typed into the real program with X key events, as a user types it, and
# every Enter checked by what it calculated: Enter from each stop of the Tab cycle, and in the
# time-zone box after typing a zone, after typing one again with a new height, after choosing
# with the arrow keys and after the box was refused. Esc ends the program.
#
#   keyboard_e2e.sh PROGRAM
# Exits 77 (skipped) when no X server can run here.

set -u
source "$(dirname "$0")/../support/x_session.sh"
x_session_start "$1"

worked="Wall Declination is either 100.1 degrees East, or 11.4 degrees West. "
atlantic="Wall Declination is either 122.0 degrees East, or 0.3 degrees West."
taller="Wall Declination is either 93.3 degrees East, or 4.7 degrees West. "
taller_atlantic="Wall Declination is either 116.7 degrees East, or 5.1 degrees East."
results=0

# Presses Enter and expects one calculation more, whose result holds the answer.
enter_gives() {
    keys Return
    results=$((results + 1))
    wait_count main result "$results"
    [[ $(last main result) == *"$1"* ]] || fail "after $2: $(last main result)"
}

copy_start main
type_worked_session
enter_gives "$worked" "the worked session"

# From the time box round the cycle: Show Measuring Method is passed, Quit and Print too.
keys Tab Tab
for stop in date zone latitude longitude; do
    enter_gives "$worked" "Enter in the $stop box"
    keys Tab
done
enter_gives "$worked" "Enter on Calculate"
keys Tab Tab Tab
for stop in height length time; do
    enter_gives "$worked" "Enter in the $stop box"
    keys Tab
done

# Back from Show Measuring Method to the zone box, another zone typed.
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab \
    shift+Tab
keys ctrl+a
type_text "GMT-4"
enter_gives "$atlantic" "GMT-4 typed in the zone box"

# A new height, and the same zone typed again.
keys Tab Tab Tab Tab Tab Tab
keys ctrl+a
type_text "12"
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
keys ctrl+a
type_text "GMT-5"
enter_gives "$taller" "GMT-5 typed again with a new height"

keys Down
enter_gives "$taller_atlantic" "the next zone chosen with the arrow key"

# A zone the list does not have: refused; back in the box its text is selected and
# completion works again.
keys ctrl+a
type_text "XYZ"
keys Return
wait_count main message 1
[[ $(last main message) == "Please select your time zone" ]] || fail "$(last main message)"
sleep 0.3
keys Return
sleep 0.5
type_text "GMT-4"
enter_gives "$taller_atlantic" "GMT-4 typed after the refusal"
wait_count main message 1

keys Escape
copy_end main
echo "PASS: $results calculations, each from one Enter"
