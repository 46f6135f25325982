#!/bin/bash
# Runs a print test program against a CUPS scheduler of its own whose default printer is a PDF
# queue, and ends the scheduler afterwards, whatever the outcome.
#
#   run_print_e2e.sh PROGRAM [ARGUMENTS...]
#
# The program finds the queue's output directory in KESTRAMO_PDF_OUT. With KESTRAMO_KEEP_PDFS
# set to a directory, the printed PDFs are copied there before the scheduler's files go;
# docs/report.png is the first of them, rendered with `pdftoppm -png -r 80 -singlefile`.
# Exits 77 (skipped) when no scheduler can be run here at all.

set -u
source "$(dirname "$0")/private_cups.sh"

program_pid=""

finish() {
    if [[ -n $program_pid ]]; then
        kill "$program_pid" 2>/dev/null
        wait "$program_pid" 2>/dev/null
    fi
    if [[ -n ${KESTRAMO_KEEP_PDFS:-} && -n ${KESTRAMO_PDF_OUT:-} ]]; then
        mkdir -p "$KESTRAMO_KEEP_PDFS" && cp "$KESTRAMO_PDF_OUT"/*.pdf "$KESTRAMO_KEEP_PDFS"/
    fi
    private_cups_stop
}
trap finish EXIT
trap 'exit 130' INT TERM

private_cups_start
status=$?
if ((status != 0)); then
    exit "$status"
fi
# In the background, so that a signal to this script ends the run at once, not after it.
"$@" &
program_pid=$!
wait "$program_pid"
status=$?
program_pid=""
exit "$status"
