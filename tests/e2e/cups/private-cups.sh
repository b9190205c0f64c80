# A private CUPS server for the end-to-end tests: its own configuration,
# spool and logs under $WORK/cups, reached only through a socket there, with
# one default queue that prints to PDF through the cups-pdf backend. Source it
# after lib.sh; start_private_cups exports CUPS_SERVER for the program.
#
# cups-pdf reads its settings from /etc/cups/cups-pdf.conf and nowhere else, so
# the server runs in a mount namespace of its own where a private copy is
# bound over that path: the machine's file, printers and folders stay as they
# are, and the PDFs land in $CUPS_PDF_OUT.

CUPS_DIR="$WORK/cups"
CUPS_PDF_OUT="$CUPS_DIR/pdf"
CUPS_QUEUE=QuorrinPDF
CUPS_PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
CUPS_PDF_SYSTEM_CONF=/etc/cups/cups-pdf.conf

# Prints why a private queue cannot be made here, or nothing when it can.
private_cups_unavailable() {
  [ "$(id -u)" -eq 0 ] || { echo "cupsd and the cups-pdf backend need root"; return; }
  command -v cupsd >/dev/null || { echo "cupsd is not installed"; return; }
  [ -x /usr/lib/cups/backend/cups-pdf ] && [ -f "$CUPS_PDF_SYSTEM_CONF" ] && [ -f "$CUPS_PPD" ] ||
    { echo "printer-driver-cups-pdf is not installed"; return; }
  command -v pdftotext >/dev/null || { echo "pdftotext (poppler-utils) is not installed"; return; }
  command -v mount >/dev/null || { echo "mount is not installed"; return; }
  unshare --mount true 2>/dev/null || echo "no private mount namespace (unshare --mount refused)"
}

start_private_cups() {
  mkdir -p "$CUPS_DIR"/{spool,cache,state,log,cups-pdf-spool} "$CUPS_PDF_OUT"
  # The filters run as the lp user and must reach the spool below $WORK.
  mkdir -p -m 1777 "$CUPS_DIR/tmp"
  chmod 711 "$WORK" "$CUPS_DIR"

  # DirtyCleanInterval 0: jobs are written to disk as soon as they change, so
  # that a server killed a moment after it took a job finds the job again when
  # it starts, as one killed a minute later would.
  cat >"$CUPS_DIR/cupsd.conf" <<EOF
Listen $CUPS_DIR/cups.sock
LogLevel debug
DirtyCleanInterval 0
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  cat >"$CUPS_DIR/cups-files.conf" <<EOF
ServerRoot $CUPS_DIR
RequestRoot $CUPS_DIR/spool
TempDir $CUPS_DIR/tmp
CacheDir $CUPS_DIR/cache
StateDir $CUPS_DIR/state
AccessLog $CUPS_DIR/log/access_log
ErrorLog $CUPS_DIR/log/error_log
PageLog $CUPS_DIR/log/page_log
Printcap $CUPS_DIR/printcap
EOF
  cat >"$CUPS_DIR/cups-pdf.conf" <<EOF
Out $CUPS_PDF_OUT
AnonDirName $CUPS_PDF_OUT
Spool $CUPS_DIR/cups-pdf-spool
Log $CUPS_DIR/log
LogType 3
EOF

  run_private_cupsd
  export CUPS_SERVER="$CUPS_DIR/cups.sock"
  wait_until 20 scheduler_running || fail "private cupsd did not start: $(cat "$CUPS_DIR/log/cupsd.out")"
  # cups-pdf takes PostScript. Ghostscript's conversion of the program's PDF
  # to PostScript loses the text behind the glyphs; pdftocairo keeps it, so
  # that pdftotext can read the printout.
  lpadmin -p "$CUPS_QUEUE" -E -v cups-pdf:/ -P "$CUPS_PPD" \
    -o pdftops-renderer-default=pdftocairo 2>/dev/null || fail "cannot add the private queue"
  lpadmin -d "$CUPS_QUEUE" || fail "cannot make the private queue the default"
}

# Starts cupsd on the private configuration; CUPSD_PID is its pid. Run again
# after it was killed, it takes up the queue, the jobs and the spool it left.
run_private_cupsd() {
  # unshare keeps its process id when it runs the command, so this pid is
  # cupsd's and lib.sh's cleanup ends it.
  unshare --mount --propagation private sh -c \
    'mount --bind "$1" "$2" && exec cupsd -f -c "$3" -s "$4"' private-cups \
    "$CUPS_DIR/cups-pdf.conf" "$CUPS_PDF_SYSTEM_CONF" \
    "$CUPS_DIR/cupsd.conf" "$CUPS_DIR/cups-files.conf" >>"$CUPS_DIR/log/cupsd.out" 2>&1 &
  CUPSD_PID=$!
  PIDS+=("$CUPSD_PID")
}

scheduler_running() { lpstat -r 2>/dev/null | grep -qx 'scheduler is running'; }

# The PDF files the private queue has made so far.
printed_pdfs() { find "$CUPS_PDF_OUT" -name '*.pdf' -type f 2>/dev/null; }

# wait_printed <count> [seconds]: waits until that many PDFs are complete.
wait_printed() {
  local count=$1
  wait_until "${2:-60}" bash -c \
    "[ \$(find '$CUPS_PDF_OUT' -name '*.pdf' -type f | wc -l) -ge $count ] && ! lpstat -o | grep -q ."
}

# start_print_proxy <rule...>: the print proxy (print-proxy.py, which says what
# the rules are) in front of the private print server, on a socket of its own,
# PROXY_SOCKET; what it saw goes to PROXY_LOG.
start_print_proxy() {
  PROXIES=$((${PROXIES:-0} + 1))
  PROXY_SOCKET="$CUPS_DIR/proxy-$PROXIES.sock" PROXY_LOG="$CUPS_DIR/log/proxy-$PROXIES.log"
  python3 "$QUORRIN_TESTS/e2e/cups/print-proxy.py" "$PROXY_SOCKET" "$CUPS_DIR/cups.sock" "$@" \
    >"$PROXY_LOG" 2>&1 &
  PIDS+=($!)
  wait_until 10 test -S "$PROXY_SOCKET" || fail "the print proxy did not start: $(cat "$PROXY_LOG")"
}

# proxy_saw <line>: the print proxy has logged that line, "Create-Job let go" say.
proxy_saw() { grep -qx "$1" "$PROXY_LOG"; }
