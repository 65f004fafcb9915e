#!/bin/bash
# Takes the README's screenshots from the real program under xvfb:
#   docs/tools/take-screenshots.sh [BUILD_DIR]   (default: build)
# Needs xvfb-run, xdotool, ImageMagick (import, convert) and sqlite3.
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
    # Popups come out black unless they had time to draw.
    shot() { sleep 2.5; import -window root png:- | convert - -trim +repage "$OUT/$1.png"; }
    shotwin() { sleep 2.5; import -window "$2" "$OUT/$1.png"; }
    win() { xdotool search --sync --onlyvisible --name "$1" | tail -1; }
    "$TEMPOLATCH_BIN" & P=$!
    sleep 4
    W=$(win "^Tempolatch$")
    xdotool windowfocus --sync "$W" 2>/dev/null || true
    sleep 0.5
    xdotool key --delay 30 --repeat 53 ctrl+Left
    if [ "$0" = classic ]; then
      xdotool mousemove 70 15 click 1; shot screenshot-classic; xdotool key Escape; sleep 0.5
      xdotool mousemove 70 15 click 1; sleep 1; xdotool mousemove 125 148 click 1; sleep 1
      xdotool mousemove 400 300
      shot screenshot-simple-list
      xdotool mousemove 60 112 click 1; sleep 0.5; xdotool key F2; sleep 2
      E=$(win "Edit Time Entry")
      shotwin screenshot-editor-general "$E"
      for page in billing custom note; do
        xdotool key ctrl+Tab; shotwin screenshot-editor-$page "$E"
      done
      xdotool key Escape; sleep 1
      xdotool mousemove 160 15 click 1; sleep 2
      shotwin screenshot-timers "$(win "Timers")"
      xdotool key Escape; sleep 1
    else
      shot screenshot-softkeys
    fi
    xdotool windowfocus "$W" 2>/dev/null || true
    xdotool key ctrl+q; sleep 2; kill $P 2>/dev/null; wait $P 2>/dev/null
  ' "$1"
}

run classic
# The soft-key bar and the Default list for the second run.
sqlite3 "$WORK/profile/registry.db" \
  "update reg_values set data=X'00000000' where name='ListStyle';
   update reg_values set data=X'10030000' where name='DefNewStyles';"
run softkeys
