#!/bin/bash
# Runs a Windows program of ours under Wine, for CTest and by hand.
#
#   wine-run.sh [--build DIR] [--desktop] PROGRAM.exe [ARGS...]
#
# The Wine prefix is private to the build tree (DIR/wineprefix), created once
# with Wine drawing window frames itself (no X window manager decorations), and
# reused. --desktop runs the program inside a Wine virtual desktop, where real
# mouse and keyboard input works; it uses a second prefix (DIR/wineprefix-desktop)
# whose default desktop is virtual.
# The display is $MV_DISPLAY when set (a shared Xvfb started by the test
# runner), otherwise a private 24-bit Xvfb through xvfb-run.
set -u

BUILD=
DESKTOP=0
while [ $# -gt 0 ]; do
  case "$1" in
    --build) BUILD=$2; shift 2 ;;
    --desktop) DESKTOP=1; shift ;;
    *) break ;;
  esac
done
if [ $# -lt 1 ]; then
  echo "usage: wine-run.sh [--build DIR] [--desktop] PROGRAM.exe [ARGS...]" >&2
  exit 2
fi
if [ -z "$BUILD" ]; then
  BUILD=$(dirname "$0")/../build/win64
fi
mkdir -p "$BUILD"
BUILD=$(cd "$BUILD" && pwd)

WINE=wine
if [ -x /usr/lib/wine/wine64 ]; then WINE=/usr/lib/wine/wine64; fi
WINESERVER=wineserver
if [ -x /usr/lib/wine/wineserver64 ]; then WINESERVER=/usr/lib/wine/wineserver64; fi

if [ $DESKTOP = 1 ]; then
  PREFIX=$BUILD/wineprefix-desktop
else
  PREFIX=$BUILD/wineprefix
fi
export WINEPREFIX=$PREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64

# Creating the prefix takes a few seconds; tests run in parallel, so the first
# one creates it under a lock and the others wait.
mkdir -p "$BUILD"
(
  flock 9
  if [ ! -f "$PREFIX/.mv-ready" ]; then
    rm -rf "$PREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    if [ $DESKTOP = 1 ]; then
      "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
    fi
    "$WINESERVER" -w
    touch "$PREFIX/.mv-ready"
  fi
) 9>"$BUILD/.wineprefix.lock"

# GoogleTest wants a Windows path for its report; Wine maps / to Z:.
case "${GTEST_OUTPUT:-}" in
  xml:/*) export GTEST_OUTPUT="xml:Z:${GTEST_OUTPUT#xml:}" ;;
esac

if [ -n "${MV_DISPLAY:-}" ]; then
  export DISPLAY=$MV_DISPLAY
  exec "$WINE" "$@"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$WINE" "$@"
