#!/bin/sh
# Whole-program figures on generated profiles of a heavy user's data:
# `dump` against sqlite3's own .dump of the same file, and the time and peak
# memory of `backup`, `restore --delete-all` (into a second profile) and
# `export xml`.
#   bench/large-stores.sh [BUILD_DIR] [ENTRIES ...]    (default: build 1000 100000)
# Needs /usr/bin/time (Debian: time) and the sqlite3 command (Debian: sqlite3).
set -eu
build=${1:-build}
[ $# -gt 0 ] && shift
sizes=${*:-1000 100000}
program=$build/src/tempolatch
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Seconds and peak resident memory of one run; the output is thrown away.
measure() {
    /usr/bin/time -f "%e s, %M KB peak" "$@" 2>&1 >/dev/null | tail -n 1
}

for n in $sizes; do
    profile=$work/p$n
    "$build/bench/tempolatch-generate-store" "$profile" "$n"
    echo "$n entries: store $(du -k "$profile/store.db" | cut -f1) KB"
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
