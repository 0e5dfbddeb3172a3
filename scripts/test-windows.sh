#!/usr/bin/env bash
# Cross-builds the Windows configuration with MinGW-w64 and runs its tests under Wine on a
# virtual display: the contract tests, the two-process smoke test, then the end-to-end
# test of hostsim.exe (the stand-in host) driven by a separate probe process. Exits
# non-zero when anything failed. Every step is bounded.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export VANTARY_WIN_BUILD=${VANTARY_WIN_BUILD:-$root/build-win}
build=$VANTARY_WIN_BUILD
build_type=${VANTARY_WIN_BUILD_TYPE:-Debug}

# The cross build needs CMake, Ninja and GoogleTest's sources besides the compilers and
# Wine; whatever is missing is installed.
scripts/deps.sh windows || { echo "test-windows: could not install the tools" >&2; exit 1; }

if ! timeout 600 cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
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

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh || exit 1
trap wine_env_cleanup EXIT
logs=$vantary_wine_logs
failures=0

# ---- contract tests ------------------------------------------------------------------
contract=$build/tests/contract/vantary_contract_tests.exe
if [ -f "$contract" ]; then
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
channel=$logs/host_e2e.control
rm -f "$channel" "$channel.out" "$logs/hostsim.log"
: >"$channel"
winpath() { printf 'Z:%s' "${1//\//\\}"; }
(cd "$logs" && exec timeout -k 5 120 "$WINE" "$hostsim" --quiet --screen-name "Probe User" \
  --room "Town Square" --members "Ann,Bob Smith,Cleo" --control "$(winpath "$channel")" \
  --log "$(winpath "$logs/hostsim.log")" --exit-after 110 >"$logs/hostsim.out" 2>&1 </dev/null) &
host_pid=$!
wine_run 150 "$logs/host_probe.log" "$e2e/host_probe.exe" "$(winpath "$channel")"
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
  echo "test-windows: hostsim end-to-end test FAILED (probe exit $rc, hostsim exit $host_rc); hostsim's log:"
  tr -d '\r' <"$logs/hostsim.log" 2>/dev/null
  failures=$((failures + 1))
else
  echo "test-windows: hostsim end-to-end test passed"
fi

if [ $failures -ne 0 ]; then
  echo "test-windows: $failures part(s) FAILED"
  exit 1
fi
echo "test-windows: all passed"
