#!/usr/bin/env bash
# The 32-bit check's decisions, against fake binfmt_misc folders and fake interpreters in a
# temporary folder: nothing is mounted, registered or installed.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR source=../../tools/i386-check.sh
source "$(dirname "$0")/../../tools/i386-check.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
ran=0 failed=0
I386_CONF=$tmp/qemu-i386.conf
printf '%s\n' ':qemu-i386:M::\x7fELF:\xff:/usr/libexec/qemu-binfmt/i386-binfmt-P:OPF' >"$I386_CONF"
mkdir "$tmp/bin"

# interp <name> <version text>: a fake interpreter answering --version.
interp() { printf '#!/bin/sh\necho "%s"\n' "$2" >"$tmp/bin/$1"; chmod +x "$tmp/bin/$1"; }
interp qemu10 "qemu-i386 version 10.0.2 (Debian 1:10.0.2+ds-2)"
interp qemu7 "qemu-i386 version 7.2.19 (Debian 1:7.2+dfsg-7+deb12u16)"
interp other "box86 v0.3.2"

# folder <case> [<entry name> <enabled|disabled> <interpreter>]: a binfmt_misc folder.
folder() {
  local d=$tmp/$1
  mkdir -p "$d" && touch "$d/register" && echo enabled >"$d/status"
  [ $# -gt 1 ] && printf '%s\n' "$3" "interpreter $tmp/bin/$4" 'flags: OPF' 'offset 0' \
    'magic 7f454c4601010100000000000000000002000300' 'mask fffffffffffefefcfffffffffffffffffeffffff' >"$d/$2"
  echo "$d"
}

# expect <description> <wanted> <got>
expect() {
  ran=$((ran + 1))
  if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: wanted '$2', got '$3'"; failed=$((failed + 1)); fi
}

expect "no entry, 32-bit programs start" keep "$(i386_plan "$(folder absent)" 0 1)"
expect "no entry, 32-bit programs do not start" register "$(i386_plan "$(folder absent)" 0 0)"
expect "no entry, forced" register "$(i386_plan "$(folder absent)" 1 1)"
expect "current entry, forced" keep "$(i386_plan "$(folder current qemu-i386 enabled qemu10)" 1 1)"
expect "disabled current entry, forced" "enable qemu-i386" "$(i386_plan "$(folder off qemu-i386 disabled qemu10)" 1 1)"
expect "qemu 7 entry where programs start" "replace qemu-i386" "$(i386_plan "$(folder old qemu-i386 enabled qemu7)" 0 1)"
expect "disabled qemu 7 entry where programs start" keep "$(i386_plan "$(folder old-off qemu-i386 disabled qemu7)" 0 1)"
expect "entry for another interpreter, programs do not start" fail \
  "$(i386_plan "$(folder other i386 enabled other)" 0 0 | cut -d' ' -f1)"
emulated() { if i386_emulated "$1"; then echo yes; else echo no; fi; }
expect "emulated under an enabled qemu entry" yes "$(emulated "$(folder current qemu-i386 enabled qemu10)")"
expect "not emulated under a disabled one" no "$(emulated "$(folder off qemu-i386 disabled qemu10)")"
expect "not emulated without an entry" no "$(emulated "$(folder absent)")"
d=$(folder void)
i386_apply "$d" register
expect "registration without effect" "registering qemu-user for i386 programs had no effect in $d" "$(i386_verify "$d")"

echo "$ran cases, $failed failed"
[ "$ran" -gt 0 ] && [ "$failed" -eq 0 ]
