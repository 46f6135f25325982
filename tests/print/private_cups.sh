# Sourced by the print tests: a CUPS scheduler of the test's own, with a PDF queue as its
# default printer, that leaves the machine's printing setup alone. Everything lives in one
# directory under /tmp; clients reach it through CUPS_SERVER, which points at its socket.
#
#   private_cups_start   sets CUPS_SERVER and KESTRAMO_PDF_OUT (where the queue's PDFs land)
#   private_cups_stop    ends the scheduler and removes what private_cups_start made
#
# Returns 77 from private_cups_start when this machine cannot run a scheduler at all.

readonly PRIVATE_CUPS_QUEUE=KestramoPDF
readonly PRIVATE_CUPS_PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
private_cups_dir=""
private_cups_pid=""
private_cups_pdf_conf=""

private_cups_log() { echo "private-cups: $*" >&2; }

private_cups_start() {
    local cupsd=/usr/sbin/cupsd
    if [[ ! -x $cupsd || ! -x /usr/lib/cups/backend/cups-pdf || ! -r $PRIVATE_CUPS_PPD ]]; then
        private_cups_log "cupsd or cups-pdf is not installed"
        return 77
    fi
    if [[ $(id -u) -ne 0 ]]; then
        # cups-pdf runs only as root, and only root's scheduler may start it.
        private_cups_log "the PDF queue needs root"
        return 77
    fi

    private_cups_dir=$(mktemp -d /tmp/kestramo-cups.XXXXXX) || return 77
    # The scheduler's filters run as lp and must reach the spool below this directory.
    chmod 755 "$private_cups_dir"
    local d=$private_cups_dir
    mkdir -p "$d/conf/ppd" "$d/conf/ssl" "$d/spool/tmp" "$d/cache" "$d/state" "$d/log" \
        "$d/out" "$d/cups-pdf-spool"
    cat >"$d/conf/cups-files.conf" <<CONF
ServerRoot $d/conf
RequestRoot $d/spool
TempDir $d/spool/tmp
CacheDir $d/cache
StateDir $d/state
AccessLog $d/log/access_log
ErrorLog $d/log/error_log
PageLog $d/log/page_log
SystemGroup root
User lp
Group lp
CONF
    cat >"$d/conf/cupsd.conf" <<CONF
Listen $d/cups.sock
LogLevel info
Browsing No
WebInterface No
DefaultAuthType Basic
<Location />
  Order allow,deny
</Location>
<Location /admin>
  Order allow,deny
</Location>
<Policy default>
  <Limit Send-Document Send-URI Hold-Job Release-Job Restart-Job Purge-Jobs Set-Job-Attributes Create-Job-Subscription Renew-Subscription Cancel-Subscription Get-Notifications Reprocess-Job Cancel-Current-Job Suspend-Current-Job Resume-Job Cancel-My-Jobs Close-Job CUPS-Move-Job CUPS-Get-Document>
    Require user @OWNER @SYSTEM
    Order deny,allow
  </Limit>
  <Limit CUPS-Add-Modify-Printer CUPS-Delete-Printer CUPS-Add-Modify-Class CUPS-Delete-Class CUPS-Set-Default CUPS-Get-Devices Pause-Printer Resume-Printer Enable-Printer Disable-Printer Set-Printer-Attributes Cancel-Jobs CUPS-Accept-Jobs CUPS-Reject-Jobs>
    AuthType Default
    Require user @SYSTEM
    Order deny,allow
  </Limit>
  <Limit Cancel-Job CUPS-Authenticate-Job>
    Require user @OWNER @SYSTEM
    Order deny,allow
  </Limit>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF

    "$cupsd" -f -c "$d/conf/cupsd.conf" -s "$d/conf/cups-files.conf" \
        >"$d/log/cupsd.out" 2>&1 &
    private_cups_pid=$!
    export CUPS_SERVER=$d/cups.sock

    local tries
    for ((tries = 0; tries < 100; ++tries)); do
        if LC_ALL=C lpstat -r 2>/dev/null | grep -q 'is running'; then break; fi
        if ! kill -0 "$private_cups_pid" 2>/dev/null; then
            private_cups_log "cupsd did not start:"
            cat "$d/log/cupsd.out" "$d/log/error_log" >&2 2>/dev/null
            private_cups_pid=""
            return 77
        fi
        sleep 0.1
    done
    if ((tries == 100)); then
        private_cups_log "cupsd did not answer within 10 s"
        return 1
    fi

    # cups-pdf reads its settings from /etc/cups only: a configuration named after this run
    # sends the queue's PDFs into our own directory instead of root's home.
    local instance
    instance=kestramo-$(basename "$d" | cut -d. -f2)
    private_cups_pdf_conf=/etc/cups/cups-pdf-$instance.conf
    if ! cat >"$private_cups_pdf_conf" <<CONF; then
Out $d/out
Spool $d/cups-pdf-spool
Log $d/log
TitlePref 1
CONF
        private_cups_log "cannot write $private_cups_pdf_conf"
        return 1
    fi
    lpadmin -p "$PRIVATE_CUPS_QUEUE" -E -v "cups-pdf:/$instance" -P "$PRIVATE_CUPS_PPD" \
        2>&1 | grep -v -i deprecated >&2
    # With cairo the PDF keeps real text in embedded TrueType fonts instead of Type 3 glyphs.
    lpadmin -p "$PRIVATE_CUPS_QUEUE" -o pdftops-renderer-default=pdftocairo -o TitlePref=1 &&
        lpadmin -d "$PRIVATE_CUPS_QUEUE" &&
        cupsenable "$PRIVATE_CUPS_QUEUE" &&
        cupsaccept "$PRIVATE_CUPS_QUEUE" || {
        private_cups_log "could not set up the queue"
        return 1
    }
    export KESTRAMO_PDF_OUT=$d/out
    return 0
}

private_cups_stop() {
    if [[ -n $private_cups_pid ]]; then
        kill "$private_cups_pid" 2>/dev/null
        wait "$private_cups_pid" 2>/dev/null
        private_cups_pid=""
    fi
    if [[ -n $private_cups_pdf_conf ]]; then
        rm -f "$private_cups_pdf_conf"
        private_cups_pdf_conf=""
    fi
    if [[ -n $private_cups_dir && -d $private_cups_dir ]]; then
        if [[ -n ${KEEP_PRIVATE_CUPS:-} ]]; then
            private_cups_log "kept $private_cups_dir"
        else
            rm -rf "$private_cups_dir"
        fi
        private_cups_dir=""
    fi
}
