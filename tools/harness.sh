# Wine test harness, sourced by tools/test and tools/run.
#   harness_start <folder>  starts Xvfb on a free display and the prefix's
#                           persistent wineserver, creating the prefix once
#   harness_stop            stops that wineserver and Xvfb by pid, and takes
#                           the test drives down again
# Test drives of the prefix (tests/support/test_drives.h), set up by
# harness_start unless HARNESS_DRIVES=0, each in <folder>/drives so that two
# prefixes never share an image, a mount point or a loop device:
#   F: a FAT16 image mounted with fusefat; its loop device is the drive's
#      device, from which Wine reads the file-system type ("FAT")
#   G: a small tmpfs, which tests fill to run out of disk space
# For each the tests find QS_FAT_DRIVE and QS_FAT_MOUNT (its Unix folder), or
# QS_FAT_SKIP with the reason it could not be set up; likewise QS_FULL_*.
# The wineserver and the first Wine process are started detached (own session,
# no inherited pipes): otherwise Wine's service processes keep the caller's
# output open and every test process waits about 3 s for them.

HARNESS_XVFB_PID=""
HARNESS_SERVER_PID=""

harness_start() {
  local root="$1"
  mkdir -p "$root"
  # Absolute and without links, as the mount table spells it.
  root=$(realpath "$root")
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

  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    setsid wineserver -f -p </dev/null >/dev/null 2>&1 &
    HARNESS_SERVER_PID=$!
    setsid wineboot -i </dev/null >/dev/null 2>&1
    setsid wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
    setsid wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f </dev/null >/dev/null 2>&1
    # The desktop process of the new prefix started before the setting
    # existed: restart the prefix so that it comes up as the virtual desktop.
    wineserver -k >/dev/null 2>&1 || true
    wait "$HARNESS_SERVER_PID" 2>/dev/null || true
  fi
  # Wine reads the drives' devices when the prefix starts: drives first.
  HARNESS_DRIVES_ROOT=""
  if [ "${HARNESS_DRIVES:-1}" != 0 ]; then
    harness_drives_up "$root/drives"
  fi
  setsid wineserver -f -p </dev/null >/dev/null 2>&1 &
  HARNESS_SERVER_PID=$!
  harness_fonts
  # The first Wine process brings up the prefix's services, detached.
  setsid wine cmd /c exit </dev/null >/dev/null 2>&1
  # The virtual desktop's process, started detached and kept for the whole
  # run: otherwise every program that opens a window starts it anew, and the
  # test runner waits about a second for it to let go of its output.
  # A test started before the desktop is up would get a desktop of its own,
  # on which it never finds the windows of the programs it starts: wait for
  # it, with a limit generous enough for several layers starting at once.
  setsid wine explorer /desktop=Default,1024x768 </dev/null >/dev/null 2>&1 &
  local waited
  for waited in $(seq 1 1200); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Default - Wine desktop"' && return 0
    sleep 0.05
  done
  echo "harness: the Wine desktop did not appear within $((waited / 20)) s" >&2
  return 1
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
  harness_drives_down
}

# Takes down what an earlier run under this folder left mounted or attached
# (a run that was killed before it could clean up), then removes the links.
harness_drives_clear() {
  local dir="$1" loop
  # The mount table, not mountpoint(1): a FUSE mount whose daemon died fails
  # every stat with "Transport endpoint is not connected".
  for m in "$dir/fat" "$dir/full"; do
    if grep -qs " $m " /proc/mounts; then
      umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true
    fi
  done
  if [ -f "$dir/fat.img" ]; then
    for loop in $(losetup -j "$dir/fat.img" -O NAME -n 2>/dev/null); do
      losetup -d "$loop" 2>/dev/null || true
    done
  fi
  rm -f "$dir/fat.img"
  if [ -n "${WINEPREFIX:-}" ]; then
    rm -f "$WINEPREFIX/dosdevices/f:" "$WINEPREFIX/dosdevices/f::" "$WINEPREFIX/dosdevices/g:"
  fi
}

# Sets up the drives F: and G: of the prefix under dir and exports what the
# tests read. Where a step is impossible (no root, no FUSE, no loop devices, a
# container that forbids mounting) the drive is left out with its reason.
harness_drives_up() {
  local dir="$1" out
  HARNESS_DRIVES_ROOT="$dir"
  unset QS_FAT_DRIVE QS_FAT_MOUNT QS_FAT_SKIP QS_FULL_DRIVE QS_FULL_MOUNT QS_FULL_SKIP
  harness_drives_clear "$dir"
  mkdir -p "$dir/fat" "$dir/full"
  local devices="$WINEPREFIX/dosdevices"

  if [ "$(id -u)" != 0 ]; then
    export QS_FAT_SKIP="mounting needs root" QS_FULL_SKIP="mounting needs root"
    return 0
  fi

  # F: FAT16 through fusefat, with the image's loop device as its device.
  if ! command -v mkfs.vfat >/dev/null || ! command -v fusefat >/dev/null; then
    export QS_FAT_SKIP="mkfs.vfat or fusefat missing (tools/setup installs dosfstools and fusefat)"
  elif [ ! -e /dev/fuse ]; then
    export QS_FAT_SKIP="no /dev/fuse on this machine"
  elif ! out=$(truncate -s 32M "$dir/fat.img" 2>&1 && mkfs.vfat -F 16 "$dir/fat.img" 2>&1); then
    export QS_FAT_SKIP="mkfs.vfat failed: $(echo "$out" | tail -n1)"
  # fusefat finds a name in any case, and the kernel would keep each spelling
  # as an entry of its own: a file deleted under one spelling would still be
  # seen under another. No caching of names or attributes, then.
  elif ! out=$(timeout 20 fusefat -o rw+,entry_timeout=0,negative_timeout=0,attr_timeout=0 \
                 "$dir/fat.img" "$dir/fat" 2>&1) || ! mountpoint -q "$dir/fat"; then
    export QS_FAT_SKIP="fusefat could not mount the image: $(echo "$out" | tail -n1)"
  else
    local loop
    if ! loop=$(losetup -f --show "$dir/fat.img" 2>&1); then
      export QS_FAT_SKIP="no loop device for the image: $(echo "$loop" | tail -n1)"
      umount "$dir/fat" 2>/dev/null || umount -l "$dir/fat" 2>/dev/null || true
    else
      ln -sfn "$dir/fat" "$devices/f:"
      ln -sfn "$loop" "$devices/f::"
      export QS_FAT_DRIVE="F:" QS_FAT_MOUNT="$dir/fat"
    fi
  fi

  # G: a tmpfs of 2 MiB.
  if out=$(mount -t tmpfs -o size=2m,mode=0777 qs-full-disk "$dir/full" 2>&1); then
    ln -sfn "$dir/full" "$devices/g:"
    export QS_FULL_DRIVE="G:" QS_FULL_MOUNT="$dir/full"
  else
    export QS_FULL_SKIP="tmpfs could not be mounted: $(echo "$out" | tail -n1)"
  fi
}

# Unmounts and detaches what harness_drives_up set up; the wineserver must be
# stopped first so that no Wine process holds a file on the drives.
harness_drives_down() {
  if [ -n "${HARNESS_DRIVES_ROOT:-}" ]; then
    harness_drives_clear "$HARNESS_DRIVES_ROOT"
    HARNESS_DRIVES_ROOT=""
  fi
  unset QS_FAT_DRIVE QS_FAT_MOUNT QS_FAT_SKIP QS_FULL_DRIVE QS_FULL_MOUNT QS_FULL_SKIP
}
