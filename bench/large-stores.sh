#!/bin/sh
# Whole-program figures on generated profiles of a heavy user's data:
# `dump` against sqlite3's own .dump of the same file, and the time and peak
# memory of `backup` and `restore --delete-all` (into a second profile),
# `export csv`, `summary client` and `export xml`.
#   bench/large-stores.sh [BUILD_DIR] [ENTRIES ...]    (default: build 1000 100000)
# EXPORT_ONLY=1 gives every entry a text note and measures only the export
# and the summary: the export's peak memory should not grow with the store
# (a 1,000,000-entry export within 20 MB of a 1,000-entry one).
# REPORTS_ONLY=1 measures only the Tabular report of every entry, as HTML
# and as PDF: the PDF's time should grow with the entries (10x the entries
# within 12x the time) and its peak stay flat.
# Needs /usr/bin/time (Debian: time) and the sqlite3 command (Debian: sqlite3).
set -eu
build=${1:-build}
[ $# -gt 0 ] && shift
sizes=${*:-1000 100000}
program=$build/src/tempolatch
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Wall and CPU seconds (user + system) and peak resident memory of one run;
# the output is thrown away. On a shared machine compare the CPU seconds:
# the wall time also counts the waits for other programs.
measure() {
    /usr/bin/time -f "%e s wall, %U+%S s CPU, %M KB peak" "$@" 2>&1 >/dev/null | tail -n 1
}

for n in $sizes; do
    profile=$work/p$n
    "$build/bench/tempolatch-generate-store" "$profile" "$n" ${EXPORT_ONLY:+--notes}
    echo "$n entries: store $(du -k "$profile/store.db" | cut -f1) KB"
    if [ -n "${REPORTS_ONLY:-}" ]; then
        echo "  report html       $(measure "$program" --profile "$profile" report tabular "$work/t$n.html")"
        echo "  report pdf        $(measure "$program" --profile "$profile" report tabular "$work/t$n.pdf")"
        rm -rf "$profile" "$work/t$n.html" "$work/t$n.pdf"
        continue
    fi
    echo "  export csv        $(measure "$program" --profile "$profile" export csv "$work/e$n.csv")"
    echo "                    file $(du -k "$work/e$n.csv" | cut -f1) KB, $(wc -l < "$work/e$n.csv") lines"
    echo "  summary client    $(measure "$program" --profile "$profile" summary client "Client 07")"
    rm -f "$work/e$n.csv"
    if [ -n "${EXPORT_ONLY:-}" ]; then
        rm -rf "$profile"
        continue
    fi
    echo "  dump              $(measure "$program" --profile "$profile" dump)"
    echo "  sqlite3 .dump     $(measure sqlite3 "$profile/store.db" .dump)"
    echo "  backup            $(measure "$program" --profile "$profile" backup "$work/b$n.tld")"
    echo "                    file $(du -k "$work/b$n.tld" | cut -f1) KB"
    mkdir -p "$work/r$n"
    echo "  restore (empty)   $(measure "$program" --profile "$work/r$n" restore "$work/b$n.tld" --delete-all)"
    echo "  restore (full)    $(measure "$program" --profile "$work/r$n" restore "$work/b$n.tld" --delete-all)"
    echo "  export xml        $(measure "$program" --profile "$profile" export xml "$work/x$n.xml")"
    echo "                    file $(du -k "$work/x$n.xml" | cut -f1) KB"
    rm -rf "$profile" "$work/r$n" "$work/b$n.tld" "$work/x$n.xml"
done
