# Sourced by the run command: puts Wine on the user's X display when there is one
# (interactive=1), otherwise on a private virtual display (interactive=0), and cleans up
# whatever it started on every way out.
shots=${LUMIVANE_SHOTS:-$PWD/build/shots}
# The display's DPI: 96 unless LUMIVANE_DPI says otherwise (120, 144, 192, ...).
dpi=${LUMIVANE_DPI:-96}
case "$dpi" in
  '' | *[!0-9]*) echo "LUMIVANE_DPI must be a number of dots per inch, got '$dpi'" >&2; exit 2 ;;
esac
cleanup_steps=()

on_exit() { cleanup_steps=("$1" "${cleanup_steps[@]}"); }
run_cleanup() {
  local step
  for step in "${cleanup_steps[@]}"; do eval "$step" || true; done
}
trap run_cleanup EXIT

display_start() {
  export LUMIVANE_WINE_DISPLAY=x11
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    interactive=1
  else
    interactive=0
    local number=90
    while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
      number=$((number + 1))
    done
    # A screen that grows with the DPI, so the scaled dialogs fit as they do at 96 DPI.
    Xvfb ":$number" -screen 0 "$((1024 * dpi / 96))x$((768 * dpi / 96))x24" -nolisten tcp \
      >/dev/null 2>&1 &
    on_exit "kill $! 2>/dev/null"
    local waited=0
    until [ -e "/tmp/.X11-unix/X$number" ]; do
      [ $waited -lt 100 ] || { echo "the virtual display :$number did not start" >&2; exit 1; }
      sleep 0.1
      waited=$((waited + 1))
    done
    export DISPLAY=:$number
    mkdir -p "$shots"
    echo "Screenshots:"
  fi
  source scripts/wine-env.sh
  wine_start
  on_exit wine_stop
  # Wine takes the display's DPI from this value (it outranks the one under HKLM) and hands
  # it to every program, whatever its manifest declares.
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    </dev/null >/dev/null 2>&1
}

# shot NAME [WIDTHxHEIGHT+X+Y]: the whole screen, or the part the geometry names.
shot() {
  import -window root ${2:+-crop "$2"} "$shots/$1.png"
  echo "  $shots/$1.png"
}
