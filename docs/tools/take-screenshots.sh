#!/bin/bash
# Takes the README's screenshots from the real program under xvfb:
#   docs/tools/take-screenshots.sh [BUILD_DIR]   (default: build)
# Needs xvfb-run, openbox, xdotool, ImageMagick (import) and sqlite3.
# The data: a fresh profile from bench's tempolatch-generate-store, whose
# entries end in January 2026; the view steps back to a week of them.
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
"$BUILD/bench/tempolatch-generate-store" "$WORK/profile" 3650
export TEMPOLATCH_PROFILE="$WORK/profile" TEMPOLATCH_BIN="$BUILD/src/tempolatch" OUT="$ROOT/docs"

run() {
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -u
    # A window manager, as on a desktop: frames, focus, dialogs placed.
    openbox >/dev/null 2>&1 & WM=$!
    sleep 1
    # Popups come out black unless they had time to draw.
    shot() { sleep 2.5; import -window root -trim +repage "$OUT/$1.png"; }
    shotwin() { sleep 2.5; import -window "$2" "$OUT/$1.png"; }
    win() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | tail -1; }
    "$TEMPOLATCH_BIN" & P=$!
    sleep 4
    # The title begins with the running time while a timer runs.
    W=$(win "Tempolatch$")
    xdotool windowsize "$W" 1000 700; xdotool windowmove "$W" 10 30
    xdotool windowfocus --sync "$W" 2>/dev/null || true
    sleep 0.5
    xdotool key --delay 30 --repeat 53 ctrl+Left
    if [ "$0" = totals ]; then
      # Two timers for the work of two entries (the strip'"'"'s Alt+E), the
      # days'"'"' totals, the Charts window and the Timers dialog.
      xdotool mousemove --window "$W" 300 140 click 1; sleep 0.3; xdotool key alt+e; sleep 0.5
      xdotool mousemove --window "$W" 300 420 click 1; sleep 0.3; xdotool key alt+e
      xdotool mousemove --window "$W" 600 690
      shotwin screenshot-day-totals "$W"
      xdotool mousemove --window "$W" 116 15 click 1; sleep 1; xdotool key h; sleep 2
      C=$(win "^Charts$")
      xdotool windowsize "$C" 900 560; xdotool windowmove "$C" 40 60
      shotwin screenshot-charts "$C"
      xdotool key Escape; sleep 1
      xdotool mousemove --window "$W" 160 15 click 1; sleep 2
      shotwin screenshot-timers "$(win "Timers")"
      xdotool key Escape; sleep 1
    elif [ "$0" = classic ]; then
      xdotool mousemove --window "$W" 70 15 click 1; shot screenshot-classic; xdotool key Escape
      sleep 0.5
      xdotool mousemove --window "$W" 70 15 click 1; sleep 1
      xdotool mousemove --window "$W" 125 148 click 1; sleep 1
      xdotool mousemove --window "$W" 400 300
      shot screenshot-simple-list
      xdotool mousemove --window "$W" 60 138 click 1; sleep 0.5; xdotool key F2; sleep 2
      E=$(win "Edit Time Entry")
      shotwin screenshot-editor-general "$E"
      for page in billing custom note; do
        xdotool key ctrl+Tab; shotwin screenshot-editor-$page "$E"
      done
    else
      shot screenshot-softkeys
    fi
    xdotool windowfocus "$W" 2>/dev/null || true
    xdotool key ctrl+q; sleep 2; kill $P 2>/dev/null; wait $P 2>/dev/null
    kill $WM 2>/dev/null
  ' "$1"
}

run classic
# The Default list with its day separators, the timer strip and the charts.
sqlite3 "$WORK/profile/registry.db" "update reg_values set data=X'00000000' where name='ListStyle';"
run totals
# The soft-key bar and the Default list for the last run.
sqlite3 "$WORK/profile/registry.db" \
  "update reg_values set data=X'00000000' where name='ListStyle';
   update reg_values set data=X'10030000' where name='DefNewStyles';"
run softkeys
