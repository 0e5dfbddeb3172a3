#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, skipping those already there.
# Usage: scripts/deps.sh native|windows|all
set -euo pipefail

native=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev googletest libbenchmark-dev clang-format python3)
windows=(cmake ninja-build googletest mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-win32 wine64 wine
         wine32:i386 xvfb xauth)

want=()
case "${1:-all}" in
  native) want=("${native[@]}") ;;
  windows) want=("${windows[@]}") ;;
  all) want=("${native[@]}" "${windows[@]}") ;;
  *) echo "usage: $0 native|windows|all" >&2; exit 2 ;;
esac

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
# The 32-bit Wine comes from the i386 architecture, which a fresh machine does not have.
for p in "${missing[@]}"; do
  case $p in *:i386) dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386 ;; esac
done
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
