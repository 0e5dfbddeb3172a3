#!/usr/bin/env bash
# Tests the release package as a user gets it: scripts/package makes it from the 32-bit
# Release build (which must exist), its content is checked, and it is installed under Wine
# as a user installs it, unzipped into C:\Program Files\vantary, a folder the user cannot
# write. vantary started from there keeps its settings in the user's own folder; a reason
# set from the command line in one run is read back by the next. Prints one line a check,
# then "package-test: N passed, M failed"; exits non-zero when a check failed. Every wait
# is bounded.
#
# VANTARY_WIN32_BUILD: the 32-bit Release build folder (default build-win32). The Wine
# prefix is the 32-bit Windows tests' own unless WINEPREFIX (and VANTARY_WINE_LOGS) say
# otherwise.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
build=${VANTARY_WIN32_BUILD:-build-win32}
case $build in /*) ;; *) build=$root/$build ;; esac

passed=0
failed=0
result() {  # result STATUS NAME [DETAIL]: one check, passed when STATUS is 0
  if [ "$1" = 0 ]; then
    passed=$((passed + 1))
    echo "package-test: ok   $2"
  else
    failed=$((failed + 1))
    echo "package-test: FAIL $2${3:+ ($3)}"
  fi
}
finish() {
  echo "package-test: $passed passed, $failed failed"
  [ "$failed" = 0 ] && exit 0
  exit 1
}

# ---- the package ---------------------------------------------------------------------
if ! package=$(scripts/package "$build"); then
  result 1 "scripts/package makes the package"
  finish
fi
echo "package-test: $package"
first=$(sha256sum <"$package")
# Made again a zip time step (2 s) later: a package stamped with the clock would differ.
sleep 2
scripts/package "$build" >/dev/null
again=$(sha256sum <"$package")

# The content, as a user's unzip and Notepad see it. The version the name carries is read
# from the program's own version resource, the one Windows shows in the file's properties.
while IFS=$'\t' read -r status name detail; do result "$status" "$name" "$detail"; done < <(
  python3 - "$package" "$([ "$first" = "$again" ] && echo same || echo differs)" <<'PYTHON'
import os
import struct
import sys
import zipfile

package, remade = sys.argv[1], sys.argv[2]


def check(ok, name, detail=""):
    print(f"{0 if ok else 1}\t{name}\t{'' if ok else detail}")


with zipfile.ZipFile(package) as z:
    names = z.namelist()
    files = {n: z.read(n) for n in names if not n.endswith("/")}
program = files.get("vantary/vantary.exe", b"")
at = program.find(struct.pack("<I", 0xFEEF04BD))
ms, ls = struct.unpack("<II", program[at + 8:at + 16]) if at >= 0 else (0, 0)
version = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
check(os.path.basename(package) == f"vantary-{version}-win32.zip" and remade == "same",
      "the package is named after vantary.exe's version and made again byte for byte",
      f"{os.path.basename(package)}, vantary.exe {version}, made again: {remade}")
wanted = ["vantary/" + n for n in ("vantary.exe", "kestro.dll", "click.wav", "greets.mid", "readme.txt",
                                   "license.txt")]
check(sorted(files) == sorted(wanted) and all(n == "vantary/" for n in names if n.endswith("/")),
      "the package holds vantary.exe, its sounds, readme.txt and license.txt in one folder vantary",
      " ".join(names))
# Windows-1252 with CR LF: no line feed alone, and no UTF-8 sequence, which Windows-1252
# shows as "Ã" or "Â" and a character; the read-me's chat answers hold "vantarý³".
bad = []
for name in ("vantary/readme.txt", "vantary/license.txt"):
    data = files.get(name, b"")
    text = data.decode("cp1252", errors="replace")
    if not data or data.count(b"\n") != data.count(b"\r\n") or "\ufffd" in text or "Ã" in text or "Â" in text:
        bad.append(name)
if "vantarý³ · engaged".encode("cp1252") not in files.get("vantary/readme.txt", b""):
    bad.append("readme.txt without the chat answers in Windows-1252")
check(not bad, "readme.txt and license.txt are Windows-1252 texts with CR LF line ends", ", ".join(bad))
PYTHON
)

# ---- installed under Wine ------------------------------------------------------------
export VANTARY_WIN_BUILD=$build
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh || { result 1 "the Wine prefix and display are ready"; finish; }
logs=$vantary_wine_logs
install=$WINEPREFIX/drive_c/Program\ Files/vantary
windows_dir=$WINEPREFIX/drive_c/windows
# The install folder is made unwritable, as Program Files is for a user; the attribute is
# taken off on every way out, or the folder could not even be removed again.
trap 'chattr -i "$install" 2>/dev/null; wine_env_cleanup' EXIT
trap 'exit 1' INT TERM HUP

# A user's first start: no earlier install, none of vantary's files in the Windows folder
# or the user's own folder.
chattr -i "$install" 2>/dev/null
rm -rf "$install" "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/vantary
for file in vantari4583.dat vantari4583.jnl vantary12.ini vantary122.ini vantary123.ini; do
  rm -f "$windows_dir/$file"
done
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$package" \
  "$WINEPREFIX/drive_c/Program Files" || { result 1 "the package unzips into Program Files"; finish; }
if ! chattr +i "$install" 2>/dev/null; then
  echo "package-test: the install run skipped: the install folder cannot be made unwritable here"
  finish
fi
installed=$(cd "$install" && find . -type f -exec sha256sum {} + | sort)

exe='C:\Program Files\vantary\vantary.exe'
channel=$logs/package.control
rm -f "$channel" "$channel.out"
: >"$channel"
(cd "$logs" && exec timeout -k 5 150 "$WINE" "$build/app/hostsim.exe" --quiet \
  --control "Z:${channel//\//\\}" --log "Z:${logs//\//\\}\\package_hostsim.log" --exit-after 140 \
  >"$logs/package_hostsim.out" 2>&1 </dev/null) &
host_pid=$!

asked=0
ask() {  # ask COMMAND: hostsim's answer lines, once its "done" is there (at most 10 s)
  asked=$((asked + 1))
  printf '%d %s\n' "$asked" "$1" >>"$channel"
  local answers
  for _ in $(seq 100); do
    answers=$(tr -d '\r' <"$channel.out" 2>/dev/null)
    if grep -qx "done $asked" <<<"$answers"; then
      sed -n "s/^$asked //p" <<<"$answers"
      return 0
    fi
    sleep 0.1
  done
  return 1
}
room_shows() {  # room_shows TEXT SECONDS: waits until a line of the room holds TEXT
  local end=$((SECONDS + $2))
  while [ $SECONDS -lt "$end" ]; do
    ask transcript | grep -qF -- "$1" && return 0
    sleep 0.5
  done
  return 1
}
switch() {  # switch ARGUMENTS...: a later start of the installed vantary.exe; its exit code
  (cd "$install" && exec timeout -k 5 60 "$WINE" "$exe" "$@" >"$logs/package_switch.out" \
    2>"$logs/package_switch.err" </dev/null)
}
ended() {  # ended PID: its exit code once it ended by itself (at most 30 s), else 255
  for _ in $(seq 300); do
    kill -0 "$1" 2>/dev/null || { wait "$1"; return; }
    sleep 0.1
  done
  kill "$1" 2>/dev/null
  wait "$1"
  return 255
}

# The host's answers file says it listens; its texts come as UTF-8.
for _ in $(seq 300); do [ -f "$channel.out" ] && break; sleep 0.1; done
ask "encoding utf8" >/dev/null

# The first run, started as a user starts it from the install folder, gets a reason from
# the command line and is ended from there.
(cd "$install" && VANTARY_MINUTE_MS=1000 exec timeout -k 5 120 "$WINE" "$exe" \
  >"$logs/package_vantary.out" 2>&1 </dev/null) &
vantary_pid=$!
room_shows "in stats: " 60
result $? "vantary starts from C:\\Program Files\\vantary: its in-stats lines reach the room"
switch /reason packaged
reason_rc=$?
switch /end
end_rc=$?
ended "$vantary_pid"
vantary_rc=$?
[ $reason_rc = 1 ] && [ $end_rc = 2 ] && [ $vantary_rc = 0 ]
result $? "/reason packaged exits 1, /end exits 2 and the first run ends" \
  "/reason exit $reason_rc, /end exit $end_rc, vantary exit $vantary_rc"

# Its settings went to the user's own folder; the install folder is as unzipped.
options=$(cat "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/vantary/etr.cfj 2>/dev/null | tr -d '\r')
[ "$(cd "$install" && find . -type f -exec sha256sum {} + | sort)" = "$installed" ] &&
  grep -qix 'reason=packaged' <<<"$options"
result $? "the options are kept in the user's AppData\\Roaming\\vantary\\etr.cfj, the install folder is unchanged" \
  "etr.cfj: $(tr '\n' ' ' <<<"$options"); install folder: $(cd "$install" && find . -mindepth 1 | tr '\n' ' ')"

# The restart reads the reason back: started by /idleon, it engages and its reason line
# says "re: packaged". Under Wine the engaged line comes some 20 s late, after the minute
# lines: vantary switches the instant messages off first and waits in vain for the window
# the host's menu opens, as another process's menus cannot be read there.
(cd "$install" && VANTARY_MINUTE_MS=1000 exec timeout -k 5 120 "$WINE" "$exe" /idleon \
  >"$logs/package_vantary2.out" 2>&1 </dev/null) &
vantary_pid=$!
room_shows "vantarý³ · engaged" 60
engaged=$?
switch /status
status_rc=$?
status=$(tr -d '\r' <"$logs/package_switch.out")
room_shows "re: packaged" 15
reason=$?
switch /end
end_rc=$?
ended "$vantary_pid"
vantary_rc=$?
[ $engaged = 0 ] && [ $status_rc = 0 ] && [[ $status == "vantary: engaged, "* ]] && [ $reason = 0 ] &&
  [ $end_rc = 2 ] && [ $vantary_rc = 0 ]
result $? "restarted by /idleon it engages, /status says so (exit 0), the room shows \"re: packaged\", /end ends it" \
  "engaged line: $([ $engaged = 0 ] && echo seen || echo none), /status exit $status_rc \"$status\", reason line:\
 $([ $reason = 0 ] && echo seen || echo none), /end exit $end_rc, vantary exit $vantary_rc"

ask quit >/dev/null
ended "$host_pid"
finish
