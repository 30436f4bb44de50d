#!/bin/bash
# The recovery file on a real X server: training marks painted with the mouse survive a SIGKILL,
# the next start offers them back, and they come back pixel for pixel; a damaged recovery file
# is refused with the work file's message and removed once that is acknowledged.
# Run under xvfb-run: recovery_on_x.sh GEOLUMEN SCENE [SHOTS_DIR]
set -u
GEOLUMEN=$1
SCENE=$2
SHOTS=${3:-}
WORK=$(mktemp -d)
export GEOLUMEN_DATA_DIR=$WORK/data
# The profile (recent files) goes to the temporary folder too.
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config
mkdir -p "$HOME"
PID=
cleanup() {
  [ -n "$PID" ] && kill -9 "$PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

shot() { [ -n "$SHOTS" ] && import -window root "$SHOTS/$1.png"; }

fail() {
  echo "FAIL: $*" >&2
  shot failure
  xdotool search --name . getwindowname %@ >&2 2>/dev/null
  ls -la "$GEOLUMEN_DATA_DIR" >&2
  exit 1
}

# Waits up to $2 tenths of a second for a window whose whole name is $1; prints its id.
wait_window() {
  local id
  for _ in $(seq "$2"); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}


recovery_files() { ls "$GEOLUMEN_DATA_DIR"/recovery-*.glw 2>/dev/null; }

# 1. Paint a line of training marks for category 1 on the training area.
"$GEOLUMEN" --raster "$SCENE" --category 1 --train-select &
PID=$!
MAIN=$(wait_window "L7_ETMs.tif.* - Geolumen" 100) || fail "the desktop program did not show its window"
sleep 1
# The view's picture starts at the window's left edge; x 100..300 on one row is 201 pixels.
xdotool mousemove --window "$MAIN" 100 250 mousedown 1
for x in $(seq 110 10 300); do
  xdotool mousemove --window "$MAIN" "$x" 250
  sleep 0.02
done
xdotool mouseup 1
shot painted

# 2. The copy follows a few seconds after the last change; then the program is killed.
for _ in $(seq 100); do [ -n "$(recovery_files)" ] && break; sleep 0.1; done
[ -n "$(recovery_files)" ] || fail "no recovery file 10 s after painting"
sleep 1
ls "$GEOLUMEN_DATA_DIR"/*.saving-* 2>/dev/null && fail "a copy is still being written"
cp "$(recovery_files)" "$WORK/painted.glw"
[ -n "${KEEP:-}" ] && cp "$WORK/painted.glw" "$KEEP"
kill -9 "$PID"
wait "$PID" 2>/dev/null
PID=

# 3. The next start asks; "復元" (the default button) brings the work back, untitled.
"$GEOLUMEN" &
PID=$!
QUESTION=$(wait_window "Geolumen" 100) || fail "the restore question was not asked"
sleep 0.5
shot question
xdotool windowfocus --sync "$QUESTION" key Return
wait_window "無題\\* - Geolumen" 100 >/dev/null || fail "the restored work is not untitled and changed"
MAIN=$(wait_window "無題\\* - Geolumen" 10)
sleep 0.5
shot restored

# 4. Saving asks for a name (the document has none); the saved file is the work as painted.
xdotool windowfocus --sync "$MAIN" key ctrl+s
NAME=$(wait_window "名前を付けて保存" 100) || fail "saving the restored work did not ask for a name"
sleep 0.5
xdotool windowfocus --sync "$NAME" type --delay 20 "$WORK/restored.glw"
xdotool key Return
for _ in $(seq 100); do [ -f "$WORK/restored.glw" ] && break; sleep 0.1; done
[ -f "$WORK/restored.glw" ] || fail "the restored work could not be saved"
sleep 0.5
cmp "$WORK/painted.glw" "$WORK/restored.glw" || fail "the restored work differs from the painted one"
# The same stroke painted by the command line (the picture's row 202 is the window's row 250,
# below the menu and tool bars) and saved the ordinary way: the same file, byte for byte.
"$GEOLUMEN" export --raster "$SCENE" --category 1 --train-select --paint-rect 100,202,300,202 \
  --save "$WORK/reference.glw" --product training --out "$WORK/reference.png" ||
  fail "the command line could not paint the reference"
cmp "$WORK/reference.glw" "$WORK/restored.glw" ||
  fail "the restored marks differ from the stroke (x 100..300 on row 202)"

# 5. Saved, the copy is gone; a normal end removes the lock as well.
sleep 1
[ -z "$(recovery_files)" ] || fail "the recovery file stayed after the save"
xdotool windowfocus --sync "$MAIN" key alt+f
sleep 0.5
xdotool key x
for _ in $(seq 50); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$PID" 2>/dev/null && fail "the program did not end"
wait "$PID" 2>/dev/null
PID=
[ -z "$(ls -A "$GEOLUMEN_DATA_DIR")" ] || fail "files left in the data folder after a normal end"

# 6. A damaged recovery file: refused with the work file's message, removed after OK.
head -c 5000 "$WORK/painted.glw" >"$GEOLUMEN_DATA_DIR/recovery-1-1.glw"
"$GEOLUMEN" &
PID=$!
QUESTION=$(wait_window "Geolumen" 100) || fail "the damaged file was not offered"
xdotool windowfocus --sync "$QUESTION" key Return
REFUSAL=$(wait_window "Work File" 100) || fail "the damaged file was not refused"
sleep 0.5
shot refused
[ -f "$GEOLUMEN_DATA_DIR/recovery-1-1.glw" ] || fail "the damaged file went before the user saw why"
xdotool windowfocus --sync "$REFUSAL" key Return
for _ in $(seq 50); do [ -f "$GEOLUMEN_DATA_DIR/recovery-1-1.glw" ] || break; sleep 0.1; done
[ -f "$GEOLUMEN_DATA_DIR/recovery-1-1.glw" ] && fail "the damaged file stayed"
wait_window "無題 - Geolumen" 50 >/dev/null || fail "the refused file changed the document"
echo "recovery on X: all checks passed"
exit 0
