# Sourced by scripts/test, scripts/run and scripts/bench: everything needed to run the
# installer's two builds under Wine on this machine. Functions only; nothing runs on source.

WINE32=/usr/lib/wine/wine
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

log() { printf '[%s] %s\n' "${TARVO_LOG_TAG:-tarvo}" "$*"; }

# 32-bit code: this kernel may not run i386 ELF binaries, Wine's 32-bit loader among them.
# Then qemu-user's i386 emulator is registered with binfmt_misc (the registration does not
# survive a reboot, so this is checked on every run).
ensure_32bit_code_runs() {
  if "$WINE32" --version >/dev/null 2>&1; then
    return 0
  fi
  local bm=/proc/sys/fs/binfmt_misc
  if [ ! -e "$bm/register" ]; then
    mount -t binfmt_misc binfmt_misc "$bm" 2>/dev/null || {
      echo "cannot mount binfmt_misc (root needed)" >&2; return 1; }
  fi
  if [ -e "$bm/qemu-i386" ]; then
    echo 1 > "$bm/qemu-i386"
  else
    log "registering qemu-i386 for 32-bit programs"
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' > "$bm/register"
  fi
  "$WINE32" --version >/dev/null 2>&1 || { echo "32-bit programs still do not run" >&2; return 1; }
}

# A project-owned prefix, made once and tuned for unattended runs: no window manager delays,
# no crash dialog that would hang a test until its time-out.
ensure_wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  if [ -f "$WINEPREFIX/.tarvo-ready" ]; then
    return 0
  fi
  log "creating the Wine prefix $WINEPREFIX (about half a minute)"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$WINE64" wineboot -i >/dev/null 2>&1
  "$WINESERVER" -w
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d false /f /reg:64 >/dev/null 2>&1
  "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d false /f /reg:32 >/dev/null 2>&1
  "$WINESERVER" -w
  touch "$WINEPREFIX/.tarvo-ready"
}

# One Xvfb on a free display, found with -displayfd.
XVFB_PID=
start_xvfb() {
  local fifo; fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n; read -r n <"$fifo"; rm -f "$fifo"
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
