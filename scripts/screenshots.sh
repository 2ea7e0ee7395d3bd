#!/bin/bash
# A tour of the screens: starts the instrument in a real X window (Xvfb) on a
# fresh simulated board, drives it with front-panel keys, remote touches and
# board events through each channel page and dialog, and saves one PNG per
# view into OUTDIR (default build/screenshots). Fails when a picture is blank,
# when two views that differ give the same picture, when a text of a view is
# cut (elided or wider than its box), or when the program logs a QML warning.
#   [ORNAV_LANGUAGE=en|zh] bash scripts/screenshots.sh [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
OUT=${1:-$BUILD/screenshots}
SIM=$BUILD/tools/ornav-sim
APP=$BUILD/ornav72
[ -x "$SIM" ] && [ -x "$APP" ] || { echo "screenshots: build $APP and $SIM first" >&2; exit 2; }
command -v Xvfb >/dev/null && command -v xwd >/dev/null || { echo "screenshots: needs Xvfb and xwd (scripts/deps.sh)" >&2; exit 2; }

WORK=$(mktemp -d /tmp/ornav-shots.XXXXXX)
ROOT=$WORK/root
LOG=$WORK/ornav72.log
mkdir -p "$OUT"
rm -f "$OUT"/*.png "$OUT/textfit.txt"

# A free display number, from SHOT_DISPLAY on (two tours at once start
# from different numbers).
N=${SHOT_DISPLAY:-90}
while [ -e /tmp/.X11-unix/X$N ] || [ -e /tmp/.X$N-lock ]; do N=$((N + 1)); done
export DISPLAY=:$N
XPID= APID=
cleanup() {
  [ -n "$APID" ] && kill "$APID" 2>/dev/null && wait "$APID" 2>/dev/null || true
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null && wait "$XPID" 2>/dev/null || true
  [ -f "$LOG" ] && cp "$LOG" "$OUT/ornav72.log"
  [ -f "$ROOT/var/run/ornav-textfit.report" ] && cp "$ROOT/var/run/ornav-textfit.report" "$OUT/textfit.txt"
  rm -rf "$WORK"
}
trap cleanup EXIT
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
XPID=$!
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$N ] && break; sleep 0.1; done

"$SIM" --root "$ROOT" init --language "${ORNAV_LANGUAGE:-en}" >/dev/null
rm -rf "$ROOT/media/usbdisk"     # no USB disk until the tour plugs one in
QT_QPA_PLATFORM=xcb "$APP" --root "$ROOT" >"$LOG" 2>&1 &
APID=$!
for _ in $(seq 100); do grep -q "UI start-up done" "$LOG" 2>/dev/null && break; sleep 0.2; done
grep -q "UI start-up done" "$LOG" || { cat "$LOG" >&2; echo "screenshots: the program did not start" >&2; exit 1; }
sleep 1

# Scan codes of the panel keys (the key expander's codes).
declare -A K=([mod]=2 [sweep]=11 [burst]=12 [sine]=21 [square]=31 [ramp]=41 [pulse]=51 [arb]=32
  [harmonic]=42 [noise]=22 [dc]=52 [prbs]=61 [ch1]=71 [ch2]=72 [ch3]=74 [ch4]=75 [utility]=65
  [ok]=5 [up]=122 [down]=117 [left]=14 [right]=15 [n0]=54 [n1]=43 [n2]=44 [n5]=34)
tap() {
  for k in "$@"; do
    "$SIM" --root "$ROOT" key $((K[$k] | 0x80)) >/dev/null
    "$SIM" --root "$ROOT" key "${K[$k]}" >/dev/null
    sleep 0.3
  done
}
# A touch at a screen position, through the remote touch command.
touch_at() {
  "$SIM" --root "$ROOT" usbtmc "MOUSE DOWN,$1,$2" >/dev/null
  "$SIM" --root "$ROOT" usbtmc "MOUSE UP,$1,$2" >/dev/null
  sleep 0.6
}
# Each view: its picture, and the program's answer whether every text that
# can be seen there is whole.
shot() {
  sleep "${2:-0.8}"
  printf '%s\n' "$1" >"$ROOT/var/run/ornav-textfit.request"
  for _ in $(seq 50); do [ -e "$ROOT/var/run/ornav-textfit.request" ] || break; sleep 0.1; done
  xwd -root -silent >"$WORK/shot.xwd"
  python3 scripts/xwd2png.py "$WORK/shot.xwd" "$OUT/$1.png"
  echo "screenshots: $OUT/$1.png"
}
# Entries of the wave list (mode types) by their row.
wave_row() { touch_at 110 $((110 + 62 + $1 * 56 + 26)); }

tap ch1                          # channel 1's output on
shot 01-ch1-sine
tap square;   shot 02-ch1-square
tap pulse;    shot 03-ch1-pulse
tap arb;      shot 04-ch1-arb
tap harmonic; shot 05-ch1-harmonic
tap noise;    shot 06-ch1-noise
tap ch2 ch2 sine mod;   shot 07-ch2-am
tap ch3 ch3 sine sweep; shot 10-ch3-sweep
tap ch4 ch4 square burst; shot 11-ch4-burst
# The number pad on channel 1's frequency.
tap ch1 sine ok n2 n5; shot 12-keyboard-frequency
tap ok
# Mode types through the wave list (remote touches).
tap ch2
wave_row 5; shot 08-ch2-fsk
wave_row 2; shot 09-ch2-qam
# A USB disk brings a message, and with an upgrade file on it the question;
# pulling it out closes the question.
mkdir -p "$ROOT/media/usbdisk"
shot 13-message-tip 1.8
rm -rf "$ROOT/media/usbdisk"
sleep 3
mkdir -p "$ROOT/media/usbdisk/ORNAV96T" && : >"$ROOT/media/usbdisk/ORNAV96T/update.uas"
shot 14-ask-dialog 4
rm -rf "$ROOT/media/usbdisk"
sleep 3
touch_at 60 27; shot 15-overview
# Remote commands the instrument refuses: each error shows its message (the
# log check below fails on a call of a missing screen function).
touch_at 60 27
"$SIM" --root "$ROOT" usbtmc "SOURce1:BOGUS 1" >/dev/null || true
"$SIM" --root "$ROOT" usbtmc "SOURce1:FREQuency abc" >/dev/null || true
shot 16-remote-error 0.5
"$SIM" --root "$ROOT" usbtmc "SYSTem:ERRor?"


# ---- the utility tab, the file browser and the help page ----
menu() { touch_at 100 $((145 + $1 * 78)); }
touch_at 799 82; shot 17-utility-channels
menu 1; touch_at 370 171; shot 18-utility-coupling        # frequency coupling of CH1/CH2 on
menu 2; touch_at 400 135; shot 19-utility-merge           # CH1 merges CH2
"$SIM" --root "$ROOT" counter 12345.678 25 >/dev/null     # a signal on the counter input
menu 3; touch_at 370 135; shot 20-utility-counter 3.5     # counter on, a few readings
touch_at 370 135                                          # and off again
menu 4
touch_at 800 158                                          # the data box: type "A 5 B"
for x in 576 912; do touch_at $x 232; done                # A, space
tap n5                                                    # digits come from the panel
touch_at 912 232; touch_at 632 232; touch_at 1024 232     # space, B, enter
touch_at 1155 138; shot 21-utility-digital-spi             # output on, SPI
touch_at 366 132;  shot 22-utility-digital-i2c
touch_at 472 132;  shot 23-utility-digital-uart
touch_at 1155 138                                          # output off again
menu 5; shot 24-utility-system
# File browser of channel 1's arbitrary wave: the library, the internal
# storage and a USB disk; then the list editor of a list sweep.
mkdir -p "$ROOT/run/media/mmcblk0p1/waves"
printf '[HEAD]:44\r\n[FREQ-POINTS]:3\r\n1000.000000\r\n2000.000000\r\n5000.000000\r\n' >"$ROOT/run/media/mmcblk0p1/sweep.csv"
printf 'ramp\n' >"$ROOT/run/media/mmcblk0p1/ramp.bsv"
tap ch1 arb
tap down down down down down down down down down down up ok
shot 25-filebrowser-library
touch_at 100 168; shot 26-filebrowser-internal
mkdir -p "$ROOT/media/usbdisk/wavelib" && printf 'x\n' >"$ROOT/media/usbdisk/usb1.bsv"
sleep 3
touch_at 100 236; shot 27-filebrowser-usb
tap ok                           # nothing chosen on a folder: enters it
touch_at 100 168
touch_at 226 27; touch_at 226 27  # a head-bar touch closes the browser (help there and back)
tap sine sweep
wave_row 3                       # list sweep
tap down down down down down down down down down down ok
tap down
touch_at 1188 151; shot 28-list-editor
touch_at 936 181                 # back from the editor
touch_at 226 27; touch_at 226 27
# The help page, and the page of a panel key pressed while it is shown.
touch_at 226 27; shot 29-help
tap sweep; shot 30-help-sweep
touch_at 226 27

kill "$APID"; wait "$APID" 2>/dev/null || true; APID=
cp "$ROOT/var/run/ornav-textfit.report" "$OUT/textfit.txt" 2>/dev/null || : >"$OUT/textfit.txt"
python3 scripts/check_screenshots.py "$OUT" "$LOG"
