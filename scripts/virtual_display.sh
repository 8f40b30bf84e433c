# Sourced by the scripts here: installs the X tools they need and starts a
# virtual X display (Xvfb, 96 dpi) with the openbox window manager. Everything
# started is ended when the sourcing script exits.

. scripts/ensure_packages.sh

# Installs the X tools, and any further packages named.
ensure_display_tools() { ensure_packages xvfb openbox x11-utils "$@"; }

display_pids=()
stop_virtual_display() {
  local pid
  for pid in "${display_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${display_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  display_pids=()
}

# Starts Xvfb on a free display number and openbox on it; exports DISPLAY.
start_virtual_display() {
  local n=99
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  export DISPLAY=":$n"
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
  trap stop_virtual_display EXIT
  Xvfb "$DISPLAY" -screen 0 800x600x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
  display_pids+=($!)
  local _
  for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  display_pids+=($!)
  sleep 1
}

# Waits for the window titled TITLE, lets it settle for SETTLE seconds, and
# saves it with its window-manager frame to OUT.
#   capture_window TITLE OUT [SETTLE]
capture_window() {
  local title=$1 out=$2 settle=${3:-1} id= root frame parent x y w h
  for _ in $(seq 200); do
    id=$(xwininfo -name "$title" 2>/dev/null | awk '/Window id:/ {print $4}') && [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "capture_window: the window \"$title\" did not appear" >&2; return 1; }
  sleep "$settle"  # let the window manager frame it and the window paint

  # The outermost window below the root is the window manager's frame.
  root=$(xwininfo -root | awk '/Window id:/ {print $4}')
  frame=$id
  while :; do
    parent=$(xwininfo -children -id "$frame" | awk '/Parent window id:/ {print $4}')
    [ "$parent" = "$root" ] && break
    frame=$parent
  done
  read -r x y w h < <(xwininfo -id "$frame" | awk '
    /Absolute upper-left X:/ {x = $4} /Absolute upper-left Y:/ {y = $4}
    /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}')

  mkdir -p "$(dirname "$out")"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage -strip "$out"
  echo "$out: ${w}x${h}"
}
