# Sourced by the run and test scripts: a private Wine prefix in the build tree, a private
# Xvfb display when asked, and a persistent wineserver, all stopped again on exit.
# Usage: wine_env_start <build-dir> [need-private-display]
wine_env_cleanup() {
  if [ -n "${SALVA_WINESERVER_STARTED:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "${SALVA_XVFB_PID:-}" ]; then kill "$SALVA_XVFB_PID" >/dev/null 2>&1 || true; wait "$SALVA_XVFB_PID" 2>/dev/null || true; fi
}

wine_env_start() {
  local build="$1" private_display="${2:-yes}"
  export WINEPREFIX="$build/wineprefix"
  # Wine takes the code page, the date, time and number forms and the language of its own
  # texts (buttons, dialogs) from the Unix locale of each process; the program is made for a
  # Chinese system. tools/setup-locale.sh generates the locale.
  export LC_ALL="${SALVADISK_LOCALE:-zh_CN.UTF-8}" LANG="${SALVADISK_LOCALE:-zh_CN.UTF-8}"
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="mscoree,mshtml="
  trap wine_env_cleanup EXIT
  if [ "$private_display" = yes ] || [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 199); do
      [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      SALVA_XVFB_PID=$!
      local i
      for i in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      if kill -0 "$SALVA_XVFB_PID" 2>/dev/null; then export DISPLAY=":$n"; break; fi
      SALVA_XVFB_PID=""
    done
    [ -n "${SALVA_XVFB_PID:-}" ] || { echo "no free X display for Xvfb" >&2; return 1; }
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "-- creating Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # Chinese faces the program asks for by name are drawn with the installed CJK font (as
    # replacements they are also listed by font enumeration, which the font rule asks). No
    # window manager runs on the test display: unmanaged windows hide at once instead of after
    # winex11's wait for a window manager's answer. A crash ends the process instead of
    # waiting in a dialog. Version 5 files are UTF-16, so the Chinese face name survives.
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
      '"SimSun"="WenQuanYi Micro Hei"' '"宋体"="WenQuanYi Micro Hei"' '' \
      '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
      '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
      '[HKEY_CURRENT_USER\Software\Wine\Direct3D]' '"renderer"="gdi"' '' |
      iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$build/prefix.reg"
    wine regedit "$build/prefix.reg" >/dev/null 2>&1 || true
    # Wine's own fonts (Marlett for caption buttons, MS Sans Serif) from Debian's fonts-wine,
    # where this Wine build does not look for them by itself.
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
  fi
  # A media preview's video shows inside a child window only with the GDI renderer; a prefix
  # made before this setting gets it now.
  if ! grep -q '^\[Software\\\\Wine\\\\Direct3D\]' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f >/dev/null 2>&1 || true
  fi
  # Not as substitutes: under a Chinese locale the CJK font's family goes by its Chinese name,
  # and a face substituted by the font's English name is missing from font enumeration there,
  # so the font rule would take a face without Chinese. A prefix made before this loses them.
  if grep -q '^"\\x5b8b\\x4f53"="WenQuanYi Micro Hei"\|^"SimSun"="WenQuanYi Micro Hei"' "$WINEPREFIX/system.reg" 2>/dev/null; then
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
      '"SimSun"=-' '"宋体"=-' '' |
      iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$build/prefix-fonts.reg"
    wine regedit "$build/prefix-fonts.reg" >/dev/null 2>&1 || true
  fi
  # Captions, message boxes, menus and tips are drawn in Tahoma (bold for captions), which has
  # no Chinese: link both faces to the installed CJK font. Wine keys font links by the face's
  # full name, so the bold face needs its own entry. A prefix made before this gets it now.
  if ! grep -q '^"Tahoma Bold"=str(7):"wqy-microhei.ttc' "$WINEPREFIX/system.reg" 2>/dev/null; then
    local face
    for face in Tahoma 'Tahoma Bold'; do
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
        /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 || true
    done
  fi
  # A Chinese Windows writes the long date without the weekday (2026年12月10日); Wine's
  # Chinese locale adds it (2026年12月10日星期四), which the status bar, the prompts' time line and
  # the preview pane were not laid out for. Wine keeps a user's form while the locale stays the
  # same; a prefix made before this, or last run under another locale, gets it now.
  if [[ "$LC_ALL" == zh_CN* ]] &&
    ! grep -qF "\"sLongDate\"=\"yyyy'\\x5e74'M'\\x6708'd'\\x65e5'\"" "$WINEPREFIX/user.reg" 2>/dev/null; then
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_CURRENT_USER\Control Panel\International]' "\"sLongDate\"=\"yyyy'年'M'月'd'日'\"" '' |
      iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$build/prefix-date.reg"
    wine regedit "$build/prefix-date.reg" >/dev/null 2>&1 || true
  fi
  # Without a sound card, files with sound would not render at all: play them into ALSA's
  # null device, which keeps the clock running in real time.
  if [ ! -e /dev/snd ]; then
    export XDG_CONFIG_HOME="$build/xdg-config"
    mkdir -p "$XDG_CONFIG_HOME/alsa"
    printf '%s\n' 'pcm.!default { type null }' 'ctl.!default { type hw card 0 }' > "$XDG_CONFIG_HOME/alsa/asoundrc"
  fi
  wineserver -p >/dev/null 2>&1 && SALVA_WINESERVER_STARTED=1
  # Start Wine's own background processes now, detached from our output: a test's output pipe
  # inherited by them would keep CTest waiting for it to close long after the test ended.
  wine wineboot </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  return 0
}
