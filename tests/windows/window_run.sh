#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# vane.exe under wine64 on a private X server, played as a person would: keys through the X
# server from the title screens to the menu and into stage 1, some flying and firing, pause,
# Escape. The run is recorded; the paused window must show exactly the picture that the native
# vane-sim draws for the recording's last frame. The sound goes through ALSA's file plugin (set up
# in a throwaway $HOME/.asoundrc) into a WAV file that must be neither silent nor clipped. The
# settings come from %APPDATA%\vane\vane.conf, and the window's mode is written back there.
# Skipped (77) without Xvfb, xdotool, ImageMagick or sox.
# usage: window_run.sh WINE VANE_EXE NATIVE_SIM DATA_DIR [SHOTS_DIR]
set -uo pipefail
wine=$1 vane=$(realpath "$2") sim=$3 data=$4 shots=${5:-}
for tool in Xvfb xdotool import compare sox; do command -v "$tool" >/dev/null || exit 77; done
work=$(mktemp -d)
# -noreset: as its last client leaves the server resets, refusing for that moment the next one.
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display") HOME=$work/home WINEPREFIX=$work/prefix WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml="
export PATH=$(dirname "$wine"):$PATH  # wineserver beside wine64
mkdir -p "$HOME"
cat >"$HOME/.asoundrc" <<EOF
pcm.!default { type file; slave.pcm "null"; file "$work/sound.wav"; format "wav" }
pcm.null { type null }
EOF
# A server that stays for the whole run (see run_suite.sh), ended by the trap.
wineserver -p
"$wine" wineboot -i >/dev/null 2>&1
appdata=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -path '*/AppData/Roaming' | head -1)
mkdir -p "$appdata/vane"
# No badge over the paused picture, so the window shows exactly the game's picture.
printf 'pause_badge = off\nscale = integer\nwindow_size = 640x480\n' >"$appdata/vane/vane.conf"
failed=0
fail() {
  echo "FAIL $1"
  failed=1
}

shot() {
  [ -n "$shots" ] && import -window root "$shots/$1.png"
}

cp "$data"/* "$work/"
(cd "$work" && "$wine" "$vane" --window --record "$work/run.keys" >"$work/out" 2>&1) &
game=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name '^VANE$' 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { fail "no window named VANE within 10 s"; cat "$work/out"; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null
sleep 1.5
press() {
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
  sleep "${2:-0.4}"
}
shot title
press Return 1.5
press Return 1
shot menu
press Return 0.5
press Down 0.3
press Down 0.3
press Return 2
xdotool keydown Shift Left
sleep 1
xdotool keyup Left
xdotool keydown Up
sleep 1
xdotool keyup Up Shift
shot stage
press space 1
shot paused
import -window "$window" "$work/window.png"
press Escape 0
for _ in $(seq 100); do kill -0 $game 2>/dev/null || break; sleep 0.1; done
if kill -0 $game 2>/dev/null; then
  fail "vane.exe still running 10 s after Escape"
  kill $game
fi
wait $game
status=$?
[ $status = 0 ] || fail "vane.exe ended with status $status"

# The recording replayed natively: its last frame is the paused picture the window showed.
"$sim" --data "$data" --input "$work/run.keys" --frames 100000 --trace "$work/run.trace"
frames=$(wc -l <"$work/run.trace")
mkdir -p "$work/pictures"
"$sim" --data "$data" --input "$work/run.keys" --frames "$frames" --png "$work/pictures" \
  --png-every "$frames"
picture=$(printf '%s/pictures/frame-%06d.png' "$work" "$frames")
gameState=$(tail -1 "$work/run.trace" | sed 's/.*"gs":\([0-9]*\).*/\1/')
paused=$(tail -1 "$work/run.trace" | sed 's/.*"pause":\([0-9]*\).*/\1/')
echo "recorded $frames frames; the last in game state $gameState, pause $paused"
[ "$paused" != 0 ] || fail "the recorded run does not end paused"
# Compared at the picture's own 5-6-5 precision: the window's 8-bit channels come from the
# scaler's rounding, the PNG's from repeating the top bits; both keep the top bits (the masks are
# ImageMagick's 16-bit quantum's: 0xF8F8 for red and blue, 0xFCFC for green).
topBits() {
  convert "$1" -channel R,B -evaluate And 63736 -channel G -evaluate And 64764 +channel "$2"
}
size=$(identify -format '%wx%h' "$work/window.png")
topBits "$work/window.png" "$work/window-565.png"
topBits "$picture" "$work/picture-565.png"
differing=$(compare -metric AE "$work/window-565.png" "$work/picture-565.png" null: 2>&1)
if [ "$size" != 640x480 ] || [ "$differing" != 0 ]; then
  fail "the window ($size) differs from vane-sim's picture of frame $frames in $differing pixels"
  [ -n "$shots" ] && cp "$work/window.png" "$shots/window-actual.png" &&
    cp "$picture" "$shots/window-expected.png"
else
  echo "ok   the paused window is vane-sim's picture of frame $frames, pixel for pixel"
fi
grep -q '^window_mode = window' "$appdata/vane/vane.conf" ||
  fail "the window mode was not written back to %APPDATA%\\vane\\vane.conf"

# The sound: played, and bent below full scale rather than clipped.
if [ -s "$work/sound.wav" ]; then
  sox "$work/sound.wav" -n stat 2>"$work/stat"
  rms=$(awk '/RMS +amplitude/ {print $3}' "$work/stat")
  peak=$(awk '/Maximum amplitude/ {print $3}' "$work/stat")
  seconds=$(awk '/Length \(seconds\)/ {print $3}' "$work/stat")
  echo "sound: $seconds s, RMS $rms, peak $peak"
  awk -v r="$rms" 'BEGIN {exit !(r > 0.01)}' || fail "the sound is silent (RMS $rms)"
  awk -v p="$peak" 'BEGIN {exit !(p < 0.999)}' || fail "the sound clips (peak $peak)"
else
  fail "no sound reached ALSA"
  grep -v '^ALSA' "$work/out"
fi
exit $failed
