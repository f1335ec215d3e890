# Sourced by the scripts that run the installer's builds under Wine (test, run, bench,
# make-pictures). Functions only; nothing runs on source. wine_session is the one way in.

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

WINE32=/usr/lib/wine/wine
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

# Everything a script needs before it starts Windows programs, undone when the script exits
# however it exits: 32-bit code running, the project's Wine prefix (held for this run alone),
# an X display (a private Xvfb unless `use-display` is asked for and DISPLAY is set) and a
# persistent wineserver.
#   wine_session PREFIX [use-display]
wine_session() {
  local prefix display=${2:-}
  prefix=$(realpath -m "$1")   # Wine takes only an absolute prefix
  ensure_32bit_code_runs
  hold_lock "$prefix.lock" "the Wine prefix $prefix"
  ensure_wine_prefix "$prefix"
  trap wine_session_end EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  if [ "$display" != use-display ] || [ -z "${DISPLAY:-}" ]; then
    start_xvfb
  fi
  start_wineserver
}

wine_session_end() {
  stop_wineserver
  stop_xvfb
}

# 32-bit code: this kernel may not run i386 ELF binaries, Wine's 32-bit loader among them.
# Then qemu-user's i386 emulator is registered with binfmt_misc (the registration does not
# survive a reboot, so this is checked on every run).
ensure_32bit_code_runs() {
  if "$WINE32" --version >/dev/null 2>&1; then
    return 0
  fi
  local bm=/proc/sys/fs/binfmt_misc
  if [ ! -e "$bm/register" ]; then
    mount -t binfmt_misc binfmt_misc "$bm" 2>/dev/null || die "cannot mount binfmt_misc (root needed)"
  fi
  if [ -e "$bm/qemu-i386" ]; then
    echo 1 > "$bm/qemu-i386"
  else
    log "registering qemu-i386 for 32-bit programs"
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' > "$bm/register"
  fi
  "$WINE32" --version >/dev/null 2>&1 || die "32-bit programs still do not run"
}

# What a finished prefix has. The marker is written last, with the Wine version that made it:
# a prefix without it was cut short while Wine booted (or made by another Wine) and is made
# again rather than used.
prefix_is_ready() {
  local p=$1
  [ "$(cat "$p/.tarvo-ready" 2>/dev/null)" = "$("$WINE64" --version 2>/dev/null)" ] &&
    [ -s "$p/system.reg" ] && [ -s "$p/user.reg" ] &&
    [ -e "$p/drive_c/windows/system32/kernel32.dll" ] &&
    [ -e "$p/drive_c/windows/syswow64/kernel32.dll" ]
}

# A project-owned prefix, made once and tuned for unattended runs: no window manager delays,
# no crash dialog that would hang a test until its time-out.
ensure_wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  prefix_is_ready "$WINEPREFIX" || make_wine_prefix
  provide_wine_fonts
}

make_wine_prefix() {
  log "creating the Wine prefix $WINEPREFIX (about half a minute)"
  "$WINESERVER" -k 2>/dev/null || true   # a server left by the run that was cut short
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$WINE64" wineboot -i >/dev/null 2>&1 || die "wineboot failed in $WINEPREFIX"
  "$WINESERVER" -w
  local setting
  for setting in \
      'HKCU\Software\Wine\X11 Driver|Managed|REG_SZ|N|' \
      'HKCU\Software\Wine\WineDbg|ShowCrashDialog|REG_DWORD|0|' \
      'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug|Debugger|REG_SZ|false|/reg:64' \
      'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug|Debugger|REG_SZ|false|/reg:32'; do
    IFS='|' read -r key value type data view <<<"$setting"
    "$WINE64" reg add "$key" /v "$value" /t "$type" /d "$data" /f $view >/dev/null 2>&1 ||
      die "could not set $key\\$value in $WINEPREFIX"
  done
  "$WINESERVER" -w
  "$WINE64" --version > "$WINEPREFIX/.tarvo-ready"
}

# Wine's own fonts (Tahoma for dialogs, Marlett for the caption buttons' glyphs) are installed by
# Debian in a folder this Wine never reads: its font folder is the data folder's "../fonts",
# which is /usr/share/fonts, read without its subfolders. Without them the caption buttons are
# drawn as the letters "0 1 r" and the texts in a fallback font. Windows keeps its fonts in
# C:\windows\Fonts, which Wine reads: they are linked there.
provide_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
  mkdir -p "$fonts"
  for font in /usr/share/wine/fonts/*.ttf; do
    ln -sf "$font" "$fonts/"
  done
  [ -e "$fonts/marlett.ttf" ] || die "Wine's fonts are missing (package fonts-wine): run scripts/install-deps"
}

# One Xvfb on a free display, found with -displayfd.
XVFB_PID=
start_xvfb() {
  local fifo; fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n; read -r n <"$fifo"; rm -f "$fifo"
  [ -n "$n" ] || die "Xvfb did not start"
  export DISPLAY=":$n"
  log "Xvfb on display $DISPLAY"
}

stop_xvfb() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}

# A persistent wineserver and one warm-up process: without them Wine's helper processes keep
# output pipes open and every program start pays for a new server.
start_wineserver() {
  "$WINESERVER" -p
  "$WINE64" cmd /c exit 0 >/dev/null 2>&1 || true
}

stop_wineserver() {
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
}
