#!/usr/bin/env bash
# Generates the Unix locale Wine runs the program and the tests under (SALVADISK_LOCALE,
# zh_CN.UTF-8 unless set) where the system lacks it. Quick and silent when it is present.
set -euo pipefail
name="${SALVADISK_LOCALE:-zh_CN.UTF-8}"
# `locale` names on stderr every category it cannot set; C and POSIX are always there.
present() { [ -z "$(LC_ALL="$name" locale 2>&1 >/dev/null)" ]; }
present && exit 0
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
if ! dpkg-query -W -f='${Status}' locales 2>/dev/null | grep -q "install ok installed"; then
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq -o DPkg::Lock::Timeout=600 \
    --no-install-recommends locales >/dev/null
fi
# The line of Debian's list of supported locales for the name; the code set may be spelt
# either way ("UTF-8", "utf8").
entry=$(awk -v want="$name" '
  function norm(n,  i, c) { i = index(n, "."); if (!i) return n; c = tolower(substr(n, i + 1)); gsub("-", "", c); return substr(n, 1, i) c }
  NF == 2 && $1 !~ /^#/ && norm($1) == norm(want) { print; exit }' /usr/share/i18n/SUPPORTED)
if [ -z "$entry" ]; then
  echo "setup-locale: $name is not a locale Debian supports; Wine runs under the C locale" >&2
  exit 0
fi
# Listed in /etc/locale.gen, the locale is generated again whenever the locales package is.
if ! grep -qxF "$entry" /etc/locale.gen 2>/dev/null; then
  printf '%s\n' "$entry" | $SUDO tee -a /etc/locale.gen >/dev/null
fi
$SUDO locale-gen --keep-existing >/dev/null
present || { echo "setup-locale: generating $name failed" >&2; exit 1; }
