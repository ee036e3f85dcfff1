#!/usr/bin/env bash
# Run by setup.sh once the packages are in: checks that a 32-bit program starts and, where
# none does (a kernel booted without 32-bit emulation) or SALVADISK_EMULATE_I386=1 asks for it,
# runs 32-bit programs under qemu-user from bookworm-backports through a binfmt_misc entry.
# bookworm's own qemu 7.2 spends about a minute of CPU in every Wine start, so only qemu 8 or
# later is used. Quick and silent where 32-bit programs start and the variable is not set.
# Sourced by tests/tools/test-i386-check.sh, which drives the functions with fake folders.

I386_BINFMT=${I386_BINFMT:-/proc/sys/fs/binfmt_misc}
I386_CONF=${I386_CONF:-/usr/share/qemu/binfmt.d/qemu-i386.conf}
I386_PROBE=(/usr/lib/wine/wine --version)
[ -x "${I386_PROBE[0]}" ] || I386_PROBE=(/lib/ld-linux.so.2 --version)

i386_probe() { timeout 60 "${I386_PROBE[@]}" >/dev/null 2>&1; }

# Major version of the qemu-user behind an interpreter, empty for anything else. Debian's
# i386-binfmt-P is a link to qemu-i386, which answers --version only under that name.
i386_qemu_major() {
  local exe text
  exe=$(readlink -f "$1") || return 0
  text=$(timeout 10 "$exe" --version 2>/dev/null | head -n1) || true
  if [[ $text =~ ^qemu-[^\ ]+\ version\ ([0-9]+)\. ]]; then echo "${BASH_REMATCH[1]}"; fi
  return 0
}

# One line per entry for i386 ELF programs: <name> <enabled|disabled> <qemu major or -> <interpreter>.
i386_entries() {
  local f magic interp
  for f in "$1"/*; do
    case ${f##*/} in register | status) continue ;; esac
    [ -f "$f" ] || continue
    magic=$(sed -n 's/^magic //p' "$f")
    # ELF, 32-bit, little-endian, e_machine 3 (bytes 18-19)
    [[ $magic == 7f454c460101* && ${magic:36:4} == 0300 ]] || continue
    interp=$(sed -n 's/^interpreter //p' "$f")
    echo "${f##*/} $(head -n1 "$f") $(i386_qemu_major "$interp" | grep . || echo -) $interp"
  done
}

# i386_emulated <binfmt-dir>: 32-bit programs go through an enabled qemu-user entry (the
# entry comes before the kernel's own loader), so they run several times slower.
i386_emulated() {
  local name state major interp
  [ "$(cat "$1/status" 2>/dev/null)" = enabled ] || return 1
  while read -r name state major interp; do
    [ "$state" = enabled ] && [ "$major" != - ] && return 0
  done < <(i386_entries "$1")
  return 1
}

# i386_plan <binfmt-dir> <forced 0|1> <probe ran 0|1>: keep, register, enable <name>,
# replace <name> or fail <reason>. An enabled entry older than qemu 8 is replaced even
# where the probe ran: every 32-bit program goes through it, at a minute per Wine start.
i386_plan() {
  local dir=$1 forced=$2 runs=$3 name state major interp current="" disabled="" old="" old_off=""
  while read -r name state major interp; do
    if [ "$major" = - ]; then
      if [ "$state" = enabled ] && { [ "$runs" = 0 ] || [ "$forced" = 1 ]; }; then
        echo "fail binfmt_misc entry $name runs i386 programs with $interp, not qemu-user (remove it: echo -1 > $dir/$name)"
        return
      fi
    elif [ "$major" -lt 8 ]; then
      if [ "$state" = enabled ]; then old=$name; else old_off=$name; fi
    elif [ "$state" = enabled ]; then current=$name
    else disabled=$name
    fi
  done < <(i386_entries "$dir")
  if [ -n "$old" ]; then echo "replace $old"
  elif [ "$runs" = 1 ] && { [ "$forced" = 0 ] || [ -n "$current" ]; }; then echo keep
  elif [ -n "$current" ]; then echo "fail 32-bit programs do not start even under the qemu-user entry $dir/$current"
  elif [ -n "$disabled" ]; then echo "enable $disabled"
  elif [ -n "$old_off" ]; then echo "replace $old_off"
  else echo register
  fi
}

i386_write() {
  local err
  err=$({ printf '%s\n' "$2" >"$1"; } 2>&1) || { echo "binfmt_misc refused the write to $1: ${err##*: }"; return 1; }
}

# i386_apply <binfmt-dir> <action> [name]: carries out a plan's action.
i386_apply() {
  local line
  line=$(grep -v '^[#;]' "$I386_CONF" 2>/dev/null | head -n1)
  [ -n "$line" ] || { echo "$I386_CONF holds no entry"; return 1; }
  case $2 in
    enable) i386_write "$1/$3" 1 ;;
    replace) i386_write "$1/$3" -1 && i386_write "$1/register" "$line" ;;
    register) i386_write "$1/register" "$line" ;;
  esac
}

# i386_verify <binfmt-dir>: an enabled qemu-user entry of version 8 or later is registered
# and a 32-bit program starts.
i386_verify() {
  local plan
  [ "$(cat "$1/status" 2>/dev/null)" != disabled ] || { echo "binfmt_misc is switched off ($1/status)"; return 1; }
  plan=$(i386_plan "$1" 1 1)
  case $plan in
    keep) ;;
    fail\ *) echo "${plan#fail }"; return 1 ;;
    *) echo "registering qemu-user for i386 programs had no effect in $1"; return 1 ;;
  esac
  i386_probe || { echo "32-bit programs do not start under qemu-user either"; return 1; }
}

# qemu-user alone from bookworm-backports: its own source, pinned so that nothing else comes
# from there. A backports source already configured is used as it is.
i386_install() {
  local have site err src=/etc/apt/sources.list.d/bookworm-backports.sources
  have=$(dpkg-query -W -f='${Status} ${Version}' qemu-user 2>/dev/null) || true
  if [[ $have == "install ok installed "* ]] && dpkg --compare-versions "${have##* }" ge 1:8 && [ -f "$I386_CONF" ]; then
    return 0
  fi
  local update=(apt-get update -qq)
  # shellcheck disable=SC2016 # $(...) are apt's format fields
  if ! apt-get indextargets --format '$(RELEASE) $(TARGET_OF)' | grep -qx 'bookworm-backports deb'; then
    # shellcheck disable=SC2016
    site=$(apt-get indextargets --format '$(RELEASE) $(TARGET_OF) $(SITE)' | sed -n 's/^bookworm deb //p' | head -n1)
    [ -n "$site" ] || { echo "no apt source for bookworm to take the backports suite's address from"; return 1; }
    printf '%s\n' 'Types: deb' "URIs: $site" 'Suites: bookworm-backports' \
      'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' >"$src"
    printf '%s\n' 'Package: qemu-user' 'Pin: release n=bookworm-backports' 'Pin-Priority: 500' '' \
      'Package: *' 'Pin: release n=bookworm-backports' 'Pin-Priority: 1' >/etc/apt/preferences.d/bookworm-backports
    update+=(-o Dir::Etc::SourceList="$src" -o Dir::Etc::SourceParts=- -o APT::Get::List-Cleanup=0)
  fi
  err=$("${update[@]}" -o DPkg::Lock::Timeout=600 2>&1 >/dev/null) || true
  err+=$(DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=600 --no-install-recommends \
    qemu-user/bookworm-backports 2>&1 >/dev/null) ||
    { echo "qemu-user 8 or later cannot be installed from bookworm-backports ($(grep -o 'E: .*' <<<"$err" | tail -n1))"; return 1; }
}

i386_die() {
  if [ "${SALVADISK_EMULATE_I386:-}" = 1 ]; then
    echo "setup: this machine does not run 32-bit programs under qemu-user as SALVADISK_EMULATE_I386=1 asks: $1; remedies: register qemu-user 8 or later for i386 programs in binfmt_misc, or unset the variable where the kernel runs them (booted with ia32_emulation=on)" >&2
  else
    echo "setup: this machine does not run 32-bit programs and running them under qemu-user failed: $1; remedies: boot the kernel with ia32_emulation=on, or register qemu-user 8 or later for i386 programs in binfmt_misc" >&2
  fi
  exit 1
}

i386_main() {
  local dir=$I386_BINFMT forced=0 runs=0 plan why
  [ "${SALVADISK_EMULATE_I386:-}" = 1 ] && forced=1
  i386_probe && runs=1
  if [ ! -e "$dir/register" ]; then
    [ $runs = 1 ] && [ $forced = 0 ] && return 0
    [ "$(id -u)" = 0 ] || i386_die "mounting binfmt_misc needs root"
    why=$(mount -t binfmt_misc binfmt_misc "$dir" 2>&1) || i386_die "binfmt_misc cannot be mounted at $dir: $why"
  fi
  plan=$(i386_plan "$dir" $forced $runs)
  case $plan in
    keep)
      if [ $forced = 1 ]; then why=$(i386_verify "$dir") || i386_die "$why"; fi
      return 0 ;;
    fail\ *) i386_die "${plan#fail }" ;;
  esac
  [ "$(id -u)" = 0 ] || i386_die "registering qemu-user in binfmt_misc needs root"
  why=$(i386_install) || i386_die "$why"
  # shellcheck disable=SC2086
  why=$(i386_apply "$dir" $plan) || i386_die "$why"
  why=$(i386_verify "$dir") || i386_die "$why"
  echo "setup: 32-bit programs now run under qemu-user (binfmt_misc entry qemu-i386), slower than natively"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  i386_main
fi
