#!/bin/sh
# small_volume.sh mount|unmount <folder>
# Mounts a 256 KiB tmpfs on <folder> for the tests that need a volume they can
# fill up, or unmounts it again. Where the machine does not allow mounting,
# <folder>.skip receives the reason and the tests skip themselves with it.
# Always exits 0: a missing volume is a skip, not a failure.
action=$1
folder=$2
if [ "$action" = mount ]; then
  umount "$folder" 2>/dev/null
  mkdir -p "$folder"
  rm -f "$folder.skip"
  if [ "$(id -u)" = 0 ]; then
    reason=$(mount -t tmpfs -o size=256k,mode=0777 tmpfs "$folder" 2>&1) || echo "mount failed: $reason" >"$folder.skip"
  elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    reason=$(sudo -n mount -t tmpfs -o size=256k,mode=0777 tmpfs "$folder" 2>&1) || echo "mount failed: $reason" >"$folder.skip"
  else
    echo "mounting a small tmpfs needs root or password-less sudo" >"$folder.skip"
  fi
else
  umount "$folder" 2>/dev/null || sudo -n umount "$folder" 2>/dev/null
  rmdir "$folder" 2>/dev/null
fi
exit 0
