# Wine test harness, sourced by tools/test and tools/run.
#   harness_start <folder>  starts Xvfb on a free display and the prefix's
#                           persistent wineserver, creating the prefix once
#   harness_stop            stops that wineserver and Xvfb by pid
# The wineserver and the first Wine process are started detached (own session,
# no inherited pipes): otherwise Wine's service processes keep the caller's
# output open and every test process waits about 3 s for them.

HARNESS_XVFB_PID=""
HARNESS_SERVER_PID=""

harness_start() {
  local root="$1"
  mkdir -p "$root"
  export WINEPREFIX="$root/prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  export LC_ALL=C.UTF-8

  # Xvfb on a free display; it writes the display number it chose.
  local dispfile="$root/display.$$"
  rm -f "$dispfile"
  setsid Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -ac 9>"$dispfile" \
    </dev/null >/dev/null 2>&1 &
  HARNESS_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$dispfile" ] && break
    sleep 0.05
  done
  if [ ! -s "$dispfile" ]; then
    echo "harness: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$(head -n1 "$dispfile" | tr -d '[:space:]')"
  rm -f "$dispfile"

  local fresh=0
  [ -f "$WINEPREFIX/system.reg" ] || fresh=1
  setsid wineserver -f -p </dev/null >/dev/null 2>&1 &
  HARNESS_SERVER_PID=$!
  if [ "$fresh" = 1 ]; then
    setsid wineboot -i </dev/null >/dev/null 2>&1
    setsid wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
    setsid wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f </dev/null >/dev/null 2>&1
    # The desktop process of the new prefix started before the setting
    # existed: restart the prefix so that it comes up as the virtual desktop.
    wineserver -k >/dev/null 2>&1 || true
    wait "$HARNESS_SERVER_PID" 2>/dev/null || true
    setsid wineserver -f -p </dev/null >/dev/null 2>&1 &
    HARNESS_SERVER_PID=$!
  fi
  harness_fonts
  # The first Wine process brings up the prefix's services, detached.
  setsid wine cmd /c exit </dev/null >/dev/null 2>&1
  # The virtual desktop's process, started detached and kept for the whole
  # run: otherwise every program that opens a window starts it anew, and the
  # test runner waits about a second for it to let go of its output.
  setsid wine explorer /desktop=Default,1024x768 </dev/null >/dev/null 2>&1 &
  for _ in $(seq 1 100); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Default - Wine desktop"' && break
    sleep 0.05
  done
}

# Wine draws the caption buttons with the Marlett font; Debian's Wine keeps it
# outside the prefix where the title bars do not find it, so it is copied in.
harness_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d "$fonts" ] && [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}

harness_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  local p
  for p in $HARNESS_SERVER_PID $HARNESS_XVFB_PID; do
    kill "$p" 2>/dev/null || true
  done
  for p in $HARNESS_SERVER_PID $HARNESS_XVFB_PID; do
    for _ in $(seq 1 50); do kill -0 "$p" 2>/dev/null || break; sleep 0.05; done
    kill -9 "$p" 2>/dev/null || true
  done
  HARNESS_SERVER_PID=""
  HARNESS_XVFB_PID=""
}
