# Sourced by the test and demo scripts: one Wine prefix and one persistent
# wineserver per run, a virtual display when there is none.
#   wine_env_init PREFIX_DIR   creates a fresh prefix (fonts, no window-manager wait)
#   wine_run ARGS...           runs a 64-bit Windows program in it
#   start_xvfb                 starts Xvfb on a free display, exports DISPLAY
#   wine_env_stop              stops the wineserver and Xvfb it started

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
XVFB_PID=

start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "wine-env: no free display for Xvfb" >&2
  return 1
}

wine_run() { "$WINE64" "$@"; }

wine_reg() { "$WINE64" 'C:\windows\system32\reg.exe' "$@" >/dev/null; }

wine_env_init() {
  export WINEPREFIX="$1"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$WINE64" wineboot -i >/dev/null 2>&1
  "$WINESERVER" -w 2>/dev/null || true
  # From here on one server serves every process of the run.
  "$WINESERVER" -p
  # The dialogs' font, 宋体 9 pt, must come out at its real metrics
  # (one dialog unit = 1.5 pixels): substitute a SimSun-like face.
  local font
  font=$(fc-list -f '%{file}\n' | grep -m1 -i 'gbsn00lp') || true
  if [ -n "$font" ]; then
    cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
    local subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
    wine_reg add "$subst" /v '宋体' /d 'AR PL SungtiL GB' /f
    wine_reg add "$subst" /v SimSun /d 'AR PL SungtiL GB' /f
  fi
  # Without a window manager, let Wine draw frames itself: no 2 s wait
  # when a visible window is destroyed.
  wine_reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
}

wine_env_stop() {
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}
