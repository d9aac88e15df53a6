#!/usr/bin/env bash
# reading-view-check.sh BUILD_DIR: the reader on a desktop of its own (Xvfb with the openbox
# window manager), driven by real key presses. It opens the sample document from the command
# line and checks on screenshots that the first page fits the width the window manager gave
# the window (grey margins of about 20 pixels on both sides), that Down scrolls at once (the
# view has the keyboard focus after the open), then pages down, rotates, zooms in, closes the
# document and leaves the program. Bounded to about a minute; exits non-zero on the first
# failure, keeping its screenshots in the folder it names.
set -euo pipefail
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
program=$build/bin/VeskPDFReader
sample=$source_dir/res/sample/sample.pdf
for tool in Xvfb openbox xdotool xprop import convert python3; do
  command -v $tool >/dev/null || { echo "reading-view-check: $tool is missing" >&2; exit 1; }
done
[ -x "$program" ] || { echo "reading-view-check: no $program" >&2; exit 1; }

work=$(mktemp -d)
xvfb= wm= reader=
finish() {
  local code=$?
  for pid in $reader $wm $xvfb; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [ $code -eq 0 ]; then rm -rf "$work"; else echo "reading-view-check: screenshots in $work" >&2; fi
}
trap finish EXIT
fail() { echo "reading-view-check: $*" >&2; exit 1; }
# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tries=$1; shift
  until "$@"; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || return 1
    sleep 0.1
  done
}

Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
wait_for 100 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")
HOME=$work openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
wait_for 100 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' ||
  fail "openbox did not start"

# Settings, the file association and documents stay in the check's own folder.
mkdir -p "$work/home" "$work/config" "$work/data"
HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=xcb \
  "$program" "$sample" >"$work/reader.log" 2>&1 &
reader=$!

# Takes screenshots named after $1 until two in a row agree (the view has settled); prints
# the raw file of the last.
screenshot() {
  local previous= current
  for n in $(seq 1 40); do
    current=$work/$1-$n
    import -window root "$current.png" 2>/dev/null
    convert "$current.png" -depth 8 "rgb:$current.rgb"
    if [ -n "$previous" ] && cmp -s "$previous.rgb" "$current.rgb"; then
      echo "$current.rgb"
      return
    fi
    previous=$current
    sleep 0.2
  done
  echo "$current.rgb"
}

# Measures a screenshot: page, the view's left edge x and the page's extent on a row through
# the middle of the view, answered as "key=value" lines.
measure() {
  python3 - "$@" <<'PY'
import sys
W, H = 1280, 800
GREY = (192, 192, 192)

def load(path):
    data = open(path, "rb").read()
    return lambda x, y: tuple(data[(y * W + x) * 3:(y * W + x) * 3 + 3])

def grey_runs(px, y):
    runs, start = [], None
    for x in range(W + 1):
        g = x < W and px(x, y) == GREY
        if g and start is None:
            start = x
        elif not g and start is not None:
            if x - start >= 3:
                runs.append((start, x))
            start = None
    return runs

def fit(px):
    # The widest stretch of page between two grey runs, on rows through the middle.
    best = None
    for y in range(H * 45 // 100, H * 75 // 100, 25):
        runs = grey_runs(px, y)
        for (a0, a1), (b0, b1) in zip(runs, runs[1:]):
            if best is None or b0 - a1 > best[2] - best[1]:
                best = (a0, a1, b0, b1, y)
    return best

def shift(before, after, x, top, bottom):
    # The downward move of the view's content that best turns one picture into the other.
    col_b = [before(x, y) for y in range(top, bottom)]
    col_a = [after(x, y) for y in range(top, bottom)]
    n = len(col_a)
    def misses(s):
        return sum(col_b[y + s] != col_a[y] for y in range(0, n - 120))
    return min(range(0, 121), key=misses)

mode = sys.argv[1]
px = load(sys.argv[2])
if mode == "fit":
    found = fit(px)
    if not found:
        print("page=none")
    else:
        a0, a1, b0, b1, y = found
        x = a0 + 2
        top = y
        while top > 0 and px(x, top - 1) == GREY:
            top -= 1
        bottom = y
        while bottom < H - 1 and px(x, bottom + 1) == GREY:
            bottom += 1
        print(f"view_left={a0} left_margin={a1 - a0} page_width={b0 - a1} "
              f"right_margin={b1 - b0} row={y} view_top={top} view_bottom={bottom}")
elif mode == "shift":
    x, top, bottom = map(int, sys.argv[4:7])
    print(f"shift={shift(px, load(sys.argv[3]), x, top, bottom)}")
elif mode == "pixel":
    x, y = map(int, sys.argv[3:5])
    print("pixel=%d,%d,%d" % px(x, y))
elif mode == "left_grey":
    x, y = map(int, sys.argv[3:5])
    run = 0
    while x + run < W and px(x + run, y) == GREY:
        run += 1
    print(f"left_grey={run}")
PY
}

value() { sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<<"$2"; }
alive() { kill -0 "$reader" 2>/dev/null || fail "the reader ended (see $work/reader.log)"; }
key() { alive; xdotool key --clearmodifiers "$1"; }

wait_for 200 sh -c 'xdotool search --onlyvisible --class VeskPDFReader >/dev/null 2>&1' ||
  fail "no window of the reader appeared"
# The page is there once a row of the view shows it between grey margins.
for _ in $(seq 1 50); do
  first=$(screenshot first)
  m=$(measure fit "$first")
  [ "$(value page "$m")" != none ] && [ "$(value page_width "$m")" -gt 400 ] && break
  sleep 0.2
done
echo "first page: $m"
left=$(value left_margin "$m") right=$(value right_margin "$m") width=$(value page_width "$m")
[ "$width" -gt 600 ] || fail "the page is $width pixels wide: it does not fill the view"
[ "$left" -ge 12 ] && [ "$left" -le 28 ] || fail "grey margin on the left is $left pixels"
[ "$right" -ge 8 ] && [ "$right" -le 28 ] || fail "grey margin on the right is $right pixels"
view_left=$(value view_left "$m") row=$(value row "$m")
top=$(value view_top "$m") bottom=$(value view_bottom "$m")
middle=$((view_left + left + width / 2))

key Down
down=$(screenshot down)
moved=$(value shift "$(measure shift "$first" "$down" "$middle" "$top" "$bottom")")
echo "Down moved the view by $moved pixels"
[ "$moved" -eq 50 ] || fail "Down right after the open moved the view by $moved pixels, not 50"

key Next
paged=$(screenshot paged)
top_pixel=$(value pixel "$(measure pixel "$paged" "$middle" "$top")")
echo "Page Down: the view's top row shows $top_pixel"
[ "$top_pixel" = 0,0,0 ] || fail "Page Down did not bring page 2's frame to the top ($top_pixel)"

key ctrl+shift+KP_Add
rotated=$(screenshot rotated)
grey=$(value left_grey "$(measure left_grey "$rotated" "$view_left" "$row")")
echo "rotated: $grey grey pixels at the view's left"
[ "$grey" -lt 12 ] || fail "after a rotation the landscape page does not reach the left ($grey)"
cmp -s "$paged" "$rotated" && fail "rotating changed nothing on the screen"

key ctrl+KP_Add
zoomed=$(screenshot zoomed)
cmp -s "$rotated" "$zoomed" && fail "zooming in changed nothing on the screen"

key ctrl+w
closed=$(screenshot closed)
alive
after=$(measure fit "$closed")
[ "$(value page "$after")" = none ] || [ "$(value page_width "$after")" -lt 400 ] ||
  fail "the document is still shown after Ctrl+W ($after)"

key ctrl+x
wait_for 100 sh -c "! kill -0 $reader 2>/dev/null" || fail "the reader did not end after Ctrl+X"
code=0
wait "$reader" || code=$?
reader=
[ $code -eq 0 ] || fail "the reader ended with code $code"
echo "reading-view-check: passed"
