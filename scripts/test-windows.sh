#!/usr/bin/env bash
# Cross-builds the Windows configuration with MinGW-w64 and runs its tests under Wine on a
# virtual display: the contract tests, the two-process smoke test, the end-to-end test of
# hostsim.exe (the stand-in host) driven by a separate probe process, then vantary.exe
# against hostsim.exe, driven and watched by another probe. Exits non-zero when anything
# failed. Every step is bounded.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# VANTARY_WIN_ARCH: x86_64 (the default) or i686, the 32-bit build users run from XP on.
arch=${VANTARY_WIN_ARCH:-x86_64}
case $arch in
  x86_64) toolchain=$root/cmake/mingw-w64.cmake default_build=$root/build-win ;;
  i686) toolchain=$root/cmake/mingw-w64-i686.cmake default_build=$root/build-win32 ;;
  *) echo "test-windows: VANTARY_WIN_ARCH is x86_64 or i686, not $arch" >&2; exit 2 ;;
esac
export VANTARY_WIN_BUILD=${VANTARY_WIN_BUILD:-$default_build}
build=$VANTARY_WIN_BUILD
build_type=${VANTARY_WIN_BUILD_TYPE:-Debug}
echo "test-windows: $arch $build_type in $build"

# The cross build needs CMake, Ninja and GoogleTest's sources besides the compilers and
# Wine; whatever is missing is installed.
scripts/deps.sh windows || { echo "test-windows: could not install the tools" >&2; exit 1; }

if ! timeout 600 cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE="$build_type" >"$build.configure.log" 2>&1; then
  cat "$build.configure.log"
  echo "test-windows: configuring failed" >&2
  exit 1
fi
# VANTARY_WIN_TARGETS narrows the build (for example to the test programs alone).
# shellcheck disable=SC2086
if ! timeout 3600 cmake --build "$build" -j2 ${VANTARY_WIN_TARGETS:+--target $VANTARY_WIN_TARGETS}; then
  echo "test-windows: building failed" >&2
  exit 1
fi

# The 32-bit programs are the ones users copy onto XP: nothing they import may be missing there.
if [ "$arch" = i686 ] && ! scripts/check-imports "$build/app/vantary.exe" "$build/app/hostsim.exe"; then
  echo "test-windows: the 32-bit programs import functions XP does not have" >&2
  exit 1
fi

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh || exit 1
trap wine_env_cleanup EXIT
logs=$vantary_wine_logs
failures=0

# ---- contract tests ------------------------------------------------------------------
contract=$build/tests/contract/vantary_contract_tests.exe
if [ "$arch" = i686 ]; then
  # The 32-bit build has no GoogleTest (its thread model lacks std::mutex): the programs
  # are proven end to end below, the backend's contract by the 64-bit run.
  echo "test-windows: contract tests run in the 64-bit build"
elif [ -f "$contract" ]; then
  wine_run 900 "$logs/contract.log" "$contract" --gtest_brief=1
  rc=$?
  tr -d '\r' <"$logs/contract.log"
  # The exit code alone is not enough: a crash inside Wine can end with 0 and no summary.
  if [ $rc -ne 0 ] || ! tr -d '\r' <"$logs/contract.log" | grep -q '^\[  PASSED  \]'; then
    echo "test-windows: contract tests FAILED (exit $rc)"
    failures=$((failures + 1))
  else
    echo "test-windows: contract tests passed"
  fi
else
  echo "test-windows: $contract is missing"
  failures=$((failures + 1))
fi

# ---- two-process smoke test --------------------------------------------------------
e2e=$build/tests/e2e
rm -f "$logs/smoke_owner.log"
(cd "$logs" && exec timeout -k 5 120 "$WINE" "$e2e/smoke_owner.exe" smoke_owner.log \
  >"$logs/smoke_owner.out" 2>&1 </dev/null) &
owner_pid=$!
wine_run 180 "$logs/smoke_driver.log" "$e2e/smoke_driver.exe"
rc=$?
tr -d '\r' <"$logs/smoke_driver.log"
summary=$(tr -d '\r' <"$logs/smoke_driver.log" | grep -E '^smoke: [0-9]+ passed, [0-9]+ failed$' | tail -1)
# The driver closes the owner at its end; an owner still running after that is stopped.
for _ in $(seq 100); do kill -0 "$owner_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$owner_pid" 2>/dev/null; then
  echo "test-windows: the smoke owner did not end; stopping it"
  kill "$owner_pid" 2>/dev/null
fi
wait "$owner_pid"
owner_rc=$?
if [ $rc -ne 0 ] || [ -z "$summary" ] || ! [[ $summary =~ \ 0\ failed$ ]] || [ $owner_rc -ne 0 ]; then
  echo "test-windows: smoke test FAILED (driver exit $rc, owner exit $owner_rc); the owner's log:"
  tr -d '\r' <"$logs/smoke_owner.log" 2>/dev/null
  failures=$((failures + 1))
else
  echo "test-windows: smoke test passed"
fi

# ---- hostsim.exe driven from another process ------------------------------------------
# The host runs quiet (no chatter) so the probe compares whole transcripts; the probe
# drives it through its windows and its control channel, and asks it to quit at the end.
hostsim=$build/app/hostsim.exe
winpath() { printf 'Z:%s' "${1//\//\\}"; }
host_e2e() {  # host_e2e PROBE LABEL
  local probe=$1 label=$2 channel=$logs/host_e2e.control host_pid rc summary host_rc
  rm -f "$channel" "$channel.out" "$logs/hostsim.log"
  : >"$channel"
  (cd "$logs" && exec timeout -k 5 120 "$WINE" "$hostsim" --quiet --screen-name "Probe User" \
    --room "Town Square" --members "Ann,Bob Smith,Cleo" --control "$(winpath "$channel")" \
    --log "$(winpath "$logs/hostsim.log")" --exit-after 110 >"$logs/hostsim.out" 2>&1 </dev/null) &
  host_pid=$!
  wine_run 150 "$logs/host_probe.log" "$probe" "$(winpath "$channel")"
  rc=$?
  tr -d '\r' <"$logs/host_probe.log"
  summary=$(tr -d '\r' <"$logs/host_probe.log" | grep -E '^host-e2e: [0-9]+ passed, [0-9]+ failed$' | tail -1)
  # The probe asks the host to quit; a host still running after that is stopped.
  for _ in $(seq 100); do kill -0 "$host_pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$host_pid" 2>/dev/null; then
    echo "test-windows: hostsim.exe did not end; stopping it"
    kill "$host_pid" 2>/dev/null
  fi
  wait "$host_pid"
  host_rc=$?
  if [ $rc -ne 0 ] || [ -z "$summary" ] || ! [[ $summary =~ \ 0\ failed$ ]] || [ $host_rc -ne 0 ]; then
    echo "test-windows: hostsim end-to-end test$label FAILED (probe exit $rc, hostsim exit $host_rc); hostsim's log:"
    tr -d '\r' <"$logs/hostsim.log" 2>/dev/null
    failures=$((failures + 1))
  else
    echo "test-windows: hostsim end-to-end test$label passed"
  fi
}
host_e2e "$e2e/host_probe.exe" ""
# The 32-bit host's member records read from a 64-bit reader too, as a 64-bit vantary.exe
# reads the real (32-bit) host's: the 64-bit build's probe, when it is there.
probe64=${VANTARY_WIN64_PROBE:-$root/build-win/tests/e2e/host_probe.exe}
if [ "$arch" = i686 ] && [ -f "$probe64" ]; then
  host_e2e "$probe64" " (64-bit reader)"
fi

# ---- vantary.exe against hostsim.exe --------------------------------------------------
# Every run is a first start: vantary.exe is copied into a new program folder and the files
# it keeps in the Windows folder are removed. Its minute is shortened so the probe sees the
# time lines minute after minute. The probe runs vantary's menu items by WM_COMMAND and
# reads the host's room; vantary ends on its own end command, the host on the probe's quit.
#
# The program folder holds one option file: instant messages are not switched off before
# idling nor on after it. Under Wine another process's menus cannot be read, so vantary
# takes the host for generation 95 and waits in vain for the instant-message window the
# host's menu would open (about 20 s at idle on and again at idle off); that path is proven
# on the sim and needs real Windows.

# Waits up to 30 s for a program to end by itself (a loaded machine may be slow to let a
# Wine process go), else stops it; gives its exit code.
stop_left() {
  local pid=$1 name=$2
  for _ in $(seq 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    echo "test-windows: $name did not end; stopping it"
    kill "$pid" 2>/dev/null
  fi
  wait "$pid"
}

# vantary_e2e NAME PROBE OPTIONS DATA [PROBE ARGUMENTS]: a run of vantary.exe against
# hostsim.exe watched by tests/e2e/PROBE.exe, with OPTIONS as its etr.cfj and DATA (when not
# empty) as its data file in the Windows folder beforehand; the probe gets the control
# channel, the minute and the probe arguments, and writes its summary as "NAME: ...".
vantary_e2e() {
  local name=$1 probe=$2 options=$3 data=$4
  shift 4
  local minute_ms=1000
  local program=$logs/${name}_program
  local channel=$logs/${name}.control
  rm -rf "$program"
  if ! mkdir -p "$program" || ! cp "$build/app/vantary.exe" "$program/"; then
    echo "test-windows: could not put $build/app/vantary.exe into a fresh program folder"
    return 1
  fi
  # The sounds the program plays lie beside it.
  local file
  for file in kestro.dll click.wav greets.mid; do
    [ -f "$build/app/$file" ] && cp "$build/app/$file" "$program/"
  done
  printf '%s' "$options" >"$program/etr.cfj"
  for file in vantari4583.dat vantari4583.jnl vantary12.ini vantary122.ini vantary123.ini; do
    rm -f "$WINEPREFIX/drive_c/windows/$file"
  done
  # Files an earlier run kept in the user's own folder would be read from there first.
  rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/vantary
  [ -n "$data" ] && printf '%s' "$data" >"$WINEPREFIX/drive_c/windows/vantari4583.dat"
  rm -f "$channel" "$channel.out" "$logs/${name}_hostsim.log"
  : >"$channel"
  (cd "$logs" && exec timeout -k 5 150 "$WINE" "$hostsim" --quiet --control "$(winpath "$channel")" \
    --log "$(winpath "$logs/${name}_hostsim.log")" --exit-after 140 \
    >"$logs/${name}_hostsim.out" 2>&1 </dev/null) &
  local host_pid=$!
  (cd "$program" && VANTARY_MINUTE_MS=$minute_ms exec timeout -k 5 150 "$WINE" "$program/vantary.exe" \
    >"$logs/${name}_vantary.out" 2>&1 </dev/null) &
  local vantary_pid=$!
  wine_run 180 "$logs/$probe.log" "$e2e/$probe.exe" "$(winpath "$channel")" "$minute_ms" "$@"
  local rc=$?
  tr -d '\r' <"$logs/$probe.log"
  local summary
  summary=$(tr -d '\r' <"$logs/$probe.log" | grep -E "^$name: [0-9]+ passed, [0-9]+ failed\$" | tail -1)
  stop_left "$vantary_pid" vantary.exe
  local vantary_rc=$?
  stop_left "$host_pid" hostsim.exe
  local host_rc=$?
  # A run whose probe ends vantary hard (vantary_killed=1) takes any exit code of it.
  [ "${vantary_killed:-0}" = 1 ] && vantary_rc=0
  if [ $rc -ne 0 ] || [ -z "$summary" ] || ! [[ $summary =~ \ 0\ failed$ ]] || [ $vantary_rc -ne 0 ] ||
      [ $host_rc -ne 0 ]; then
    echo "test-windows: $name FAILED (probe exit $rc, vantary exit $vantary_rc," \
      "hostsim exit $host_rc); hostsim's log:"
    tr -d '\r' <"$logs/${name}_hostsim.log" 2>/dev/null
    return 1
  fi
  echo "test-windows: $name passed"
}
vantary_e2e vantary-e2e vantary_probe $'[vantari]\r\nOFFBE=0\r\nONAF=0\r\n' "" "$(winpath "$logs/vantary-e2e_program")" ||
  failures=$((failures + 1))
# The custom message mode: the custom line stored beforehand, with its macros, goes out at
# each scroll moment instead of the time line.
vantary_e2e custom-e2e custom_probe $'[vantari]\r\nOFFBE=0\r\nONAF=0\r\nMM=3\r\nINT=1\r\nREASON=Lunch\r\n' \
  $'[vantari]\r\nCOLOR=336699\r\nCOLOR2=000000\r\nCUS1=Away r$ for M1$ mins at t$\r\n' || failures=$((failures + 1))
# The "vie&w" items: help, about and the credits open and are found by their captions.
# Closed by another program, vantary's windows come back from their items, and the face or
# the hidden main window closed ends vantary as "end" does; Windows' end of the session
# ends it with its overall time stored.
vantary_e2e view-e2e view_probe $'[vantari]\r\nOFFBE=0\r\nONAF=0\r\n' "" face || failures=$((failures + 1))
vantary_e2e close-e2e view_probe $'[vantari]\r\nOFFBE=0\r\nONAF=0\r\n' "" main || failures=$((failures + 1))
vantary_e2e session-e2e view_probe $'[vantari]\r\nOFFBE=0\r\nONAF=0\r\n' "" session || failures=$((failures + 1))
# Driven from outside: later starts of vantary.exe with switches act on the one that runs
# and end with its state as their exit code; and a session whose process is ended hard is
# put right by the next start.
vantary_e2e remote-e2e remote_probe $'[vantari]\r\nOFFBE=0\r\nONAF=0\r\n' "" \
  "$(winpath "$logs/remote-e2e_program")" switches || failures=$((failures + 1))
vantary_killed=1 vantary_e2e crash-e2e remote_probe $'[vantari]\r\nOFFBE=0\r\nONAF=0\r\n' "" \
  "$(winpath "$logs/crash-e2e_program")" crash || failures=$((failures + 1))

# The windows as the screen shows them: pictures of the intro, the face, the open menu and
# the editors, checked for their sizes, shape and captions, turned into PNG files in
# $build/screenshots (docs/screenshots holds the ones the README shows).
shots=$logs/shots
rm -rf "$shots" && mkdir -p "$shots"
# The away window is pictured after a session in which members named the user; the
# auto-reply is on and River Stone watched.
if vantary_e2e shots-e2e shots_probe \
  $'[vantari]\r\nOFFBE=0\r\nONAF=0\r\nMM=3\r\nAWAYREPLY=1\r\nWATCH=River Stone\r\nREPLYTEXT=gone: r$\r\nREASON=lunch\r\n' \
  "" "$(winpath "$shots")"; then
  python3 scripts/bmp2png "$build/screenshots" "$shots"/*.bmp || failures=$((failures + 1))
else
  failures=$((failures + 1))
fi

# A standard user of a current system cannot write the Windows folder: the prefix's is
# made unwritable (the immutable attribute, which holds for root too), and vantary keeps
# its data and list files in the user's own folder. Where the attribute cannot be set (a
# file system without it, or no right to set it) this part is skipped, and says so.
windows_dir=$WINEPREFIX/drive_c/windows
for file in vantari4583.dat vantary12.ini vantary122.ini vantary123.ini; do rm -f "$windows_dir/$file"; done
# The attribute is taken off on every way out: a folder left immutable could not even be
# removed with the build.
trap 'chattr -i "$windows_dir" 2>/dev/null; wine_env_cleanup' EXIT
if chattr +i "$windows_dir" 2>/dev/null; then
  vantary_e2e settings-e2e settings_probe $'[vantari]\r\nOFFBE=0\r\nONAF=0\r\n' "" || failures=$((failures + 1))
  chattr -i "$windows_dir"
else
  echo "test-windows: settings-e2e skipped: the Windows folder cannot be made unwritable here"
fi

if [ $failures -ne 0 ]; then
  echo "test-windows: $failures part(s) FAILED"
  exit 1
fi
echo "test-windows: all passed"
