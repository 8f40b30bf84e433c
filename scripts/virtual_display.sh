# Sourced by the scripts here: installs the X tools they need and starts a
# virtual X display (Xvfb, 96 dpi) with the openbox window manager. Everything
# started is ended when the sourcing script exits.

# Installs what is missing (as root through apt-get; otherwise prints the line).
ensure_display_tools() {
  local missing=() p
  for p in xvfb openbox x11-utils "$@"; do
    dpkg-query -W -f='${db:Status-Status}\n' "$p" 2>/dev/null | grep -qx installed || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

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
