# Sourced: the project's private Wine set-up. Two prefixes share one layout:
# build/wineprefix runs headless (null graphics driver) for tests,
# build/wineprefix-x11 draws on an X display for screenshots and the demo.
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
lumivane_build=${LUMIVANE_BUILD_ROOT:-$repo_root/build}

case "${LUMIVANE_WINE_DISPLAY:-null}" in
  x11) export WINEPREFIX=$lumivane_build/wineprefix-x11 ;;
  *) export WINEPREFIX=$lumivane_build/wineprefix ;;
esac
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH=$lumivane_build/locale
{ export LC_ALL=zh_CN.UTF-8; } 2>/dev/null
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY

# Wine only creates Unix files with Chinese names under a real zh_CN.UTF-8 locale.
wine_locale() {
  [ -d "$LOCPATH/zh_CN.UTF-8" ] && return 0
  mkdir -p "$LOCPATH"
  localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" 2>/dev/null || [ -d "$LOCPATH/zh_CN.UTF-8" ]
}

wine_make_prefix() {
  local prefix=$1 driver=$2
  [ -f "$prefix/.lumivane-ready" ] && return 0
  rm -rf "$prefix"
  WINEPREFIX=$prefix wineboot -i </dev/null >/dev/null 2>&1
  WINEPREFIX=$prefix wineserver -w
  # Keep everything the programs write inside the prefix, not in $HOME.
  local user_dir
  for user_dir in "$prefix"/drive_c/users/*/; do
    local link
    for link in "$user_dir"*; do
      if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
    done
  done
  # A crashing program ends at once with a failure code instead of waiting in winedbg.
  WINEPREFIX=$prefix wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /d lumivane-no-debugger.exe /f </dev/null >/dev/null 2>&1
  if [ "$driver" = null ]; then
    WINEPREFIX=$prefix wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f \
      </dev/null >/dev/null 2>&1
  fi
  WINEPREFIX=$prefix wineserver -w
  touch "$prefix/.lumivane-ready"
}

# Creates the prefix once (serialised by a lock) and keeps one wineserver alive,
# started detached so that no test's output pipe is held by it.
wine_start() {
  local persist=${1:-}
  wine_locale
  mkdir -p "$lumivane_build"
  (
    flock 9
    if [ "$WINEPREFIX" = "$lumivane_build/wineprefix-x11" ]; then
      wine_make_prefix "$WINEPREFIX" x11
    else
      wine_make_prefix "$WINEPREFIX" null
    fi
  ) 9>"$lumivane_build/.wineprefix.lock"
  # A second wineserver for the same prefix exits at once, so this is safe to repeat.
  setsid wineserver -p$persist </dev/null >/dev/null 2>&1 || true
  setsid wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_stop() {
  wineserver -k 2>/dev/null || true
}
