# Sourced by the Windows test scripts: a Wine prefix and a virtual display to run the
# cross-built programs in. After sourcing:
#   $WINE                        the 64-bit Wine loader
#   wine_run LIMIT LOG EXE ARGS  runs a program for at most LIMIT seconds, output to LOG
#   wine_env_cleanup             stops the wineserver, then the virtual display we started
# Wine's helper processes inherit standard output, so a pipe on a Wine program waits for
# them: programs always write to files. One wineserver serves the prefix; it is started
# once here and stopped before the display goes away.

vantary_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VANTARY_WIN_BUILD=${VANTARY_WIN_BUILD:-$vantary_root/build-win}
case "$VANTARY_WIN_BUILD" in /*) ;; *) VANTARY_WIN_BUILD=$vantary_root/$VANTARY_WIN_BUILD ;; esac

if [ -z "${WINEPREFIX:-}" ]; then
  if mkdir -p "$VANTARY_WIN_BUILD" 2>/dev/null && [ -w "$VANTARY_WIN_BUILD" ]; then
    WINEPREFIX=$VANTARY_WIN_BUILD/wineprefix
  else
    WINEPREFIX=/tmp/vantary-wineprefix-$(id -u)
  fi
fi
export WINEPREFIX
export WINEARCH=win64
export WINEDEBUG=-all
# No prompts to install Mono or Gecko: the programs need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ -x /usr/lib/wine/wine64 ]; then
  WINE=/usr/lib/wine/wine64
else
  WINE=$(command -v wine64 || command -v wine)
fi
export WINELOADER=$WINE
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINE WINESERVER

vantary_xvfb_pid=
vantary_wine_logs=${VANTARY_WINE_LOGS:-$VANTARY_WIN_BUILD/wine-logs}
mkdir -p "$vantary_wine_logs"

wine_env_cleanup() {
  timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true
  # The wineserver must be gone before the display it talks to.
  timeout 30 "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "$vantary_xvfb_pid" ]; then
    kill "$vantary_xvfb_pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$vantary_xvfb_pid" 2>/dev/null || break; sleep 0.1; done
    vantary_xvfb_pid=
  fi
}

wine_run() {
  local limit=$1 log=$2
  shift 2
  timeout -k 5 "$limit" "$WINE" "$@" >"$log" 2>&1 </dev/null
}

# A virtual display when there is none: Xvfb picks a free display number itself. It runs in
# a session of its own: Ctrl-C on the terminal would end it (it catches SIGINT) under the
# Wine programs, before the script could end them in order.
if [ -z "${DISPLAY:-}" ]; then
  displayfile=$vantary_wine_logs/xvfb.display
  : >"$displayfile"
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" \
    >"$vantary_wine_logs/xvfb.log" 2>&1 &
  vantary_xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    sleep 0.1
  done
  if [ ! -s "$displayfile" ]; then
    echo "wine-env: the virtual display did not start (see $vantary_wine_logs/xvfb.log)" >&2
    kill "$vantary_xvfb_pid" 2>/dev/null || true
    return 1
  fi
  export DISPLAY=:$(tr -d '[:space:]' <"$displayfile")
fi

# The prefix is made once; later runs reuse it.
if [ ! -f "$WINEPREFIX/.vantary-ready" ]; then
  echo "wine-env: creating the Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  if ! timeout -k 5 180 "$WINE" wineboot -i >"$vantary_wine_logs/wineboot.log" 2>&1 </dev/null; then
    echo "wine-env: wineboot failed (see $vantary_wine_logs/wineboot.log)" >&2
    wine_env_cleanup
    return 1
  fi
  timeout 120 "$WINESERVER" -w >/dev/null 2>&1 || true
  # Without a window manager, hiding a managed top-level window waits about 2 s for one.
  timeout -k 5 60 "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    >"$vantary_wine_logs/reg.log" 2>&1 </dev/null || true
  timeout 60 "$WINESERVER" -w >/dev/null 2>&1 || true
  touch "$WINEPREFIX/.vantary-ready"
fi

# One persistent wineserver for every program of the run.
timeout 30 "$WINESERVER" -p >/dev/null 2>&1 || true
