#!/usr/bin/env bash
# Runs the CD-drive report tests in a Wine prefix of their own, where CD drives can be mapped
# without touching the prefix the other tests share.
# Usage: cd_drives.sh <test_tray_cd.exe> <prefix-dir>
set -u
exe="$1"
export WINEPREFIX="$2"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
media=$(mktemp -d)
log="$media/log.txt"
cleanup() {
  rm -f "$WINEPREFIX/dosdevices/r:" "$WINEPREFIX/dosdevices/s:"
  wineserver -k >/dev/null 2>&1
  rm -rf "$media"
}
trap cleanup EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
fi

# Sets the CD drive letters (lower case, e.g. "r s") in the registry the mount manager reads
# when the prefix starts; other letters are removed.
set_cd_letters() {
  wineserver -k >/dev/null 2>&1; wineserver -w
  for l in r s; do
    wine reg delete 'HKLM\Software\Wine\Drives' /v "$l:" /f /reg:64 </dev/null >/dev/null 2>&1
  done
  for l in "$@"; do
    wine reg add 'HKLM\Software\Wine\Drives' /v "$l:" /d cdrom /f /reg:64 </dev/null >/dev/null 2>&1
  done
  wineserver -k >/dev/null 2>&1; wineserver -w
  wineserver -p >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1
}

run() {
  echo "== $*"
  env "$@" wine "$exe" --gtest_filter='CDRomMapped.*' </dev/null >"$log" 2>&1
  local rc=$?
  cat "$log"
  return $rc
}

status=0
# No CD drive at all.
rm -f "$WINEPREFIX/dosdevices/r:" "$WINEPREFIX/dosdevices/s:"
set_cd_letters
run SALVA_CD_DRIVES=none || status=1

# R: a drive without a disc (its root cannot be listed); S: a drive with a disc.
mkdir -p "$media/disc"
echo data >"$media/disc/track.dat"
echo x >"$media/nodisc"
ln -s "$media/nodisc" "$WINEPREFIX/dosdevices/r:"
ln -s "$media/disc" "$WINEPREFIX/dosdevices/s:"
set_cd_letters r s
run 'SALVA_CD_DRIVES=R:\S:\' 'SALVA_CD_NOT_READY=R:\' || status=1

# S: alone, with its disc.
rm -f "$WINEPREFIX/dosdevices/r:"
set_cd_letters s
run 'SALVA_CD_DRIVES=S:\' || status=1
exit $status
