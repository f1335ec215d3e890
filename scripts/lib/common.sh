# Sourced by every script: logging, progress and locks. Functions only; nothing runs on source.
#
# Progress and diagnostics go to standard error, always: several functions here and in the
# scripts hand back a value on standard output, and a log line captured with it would
# become part of the value.

TARVO_DEPS_DIR=${TARVO_DEPS_DIR:-/var/cache/tarvo-deps}

log() { printf '[%s] %s\n' "${TARVO_LOG_TAG:-tarvo}" "$*" >&2; }
die() { log "$*"; exit 1; }

# Holds an exclusive lock on FILE for the rest of the calling shell (the descriptor stays open
# until it exits), telling the user when another run holds it. Two runs of the scripts started
# one after the other then share a deps cache, a build folder or a Wine prefix in turn.
hold_lock() {
  local file=$1 what=$2 fd
  mkdir -p "$(dirname "$file")"
  exec {fd}>>"$file"
  if ! flock -n "$fd"; then
    log "waiting for another run that uses $what"
    flock "$fd"
  fi
}

# Filters a Ninja build's output: its "[n/m] ..." status lines become one line at each tenth
# of the way, everything else (warnings, errors) passes through. Never fails, so that under
# pipefail the build's own exit status is the pipeline's.
ninja_progress() {
  awk -v tag="${TARVO_LOG_TAG:-tarvo}" -v label="$1" '
    /^\[[0-9]+\/[0-9]+\] / {
      split(substr($1, 2, length($1) - 2), nm, "/")
      step = int(nm[1] * 10 / nm[2])
      if (step != last) { printf "[%s] %s: %d/%d\n", tag, label, nm[1], nm[2] > "/dev/stderr"; fflush("/dev/stderr"); last = step }
      next
    }
    { print > "/dev/stderr" }' || true
}

# The build folder, for the whole of a script that builds and then runs what it built: a second
# run waits rather than rebuild the programs under the first one's feet. scripts/build, started
# from such a script, then knows the lock is held.
hold_build_lock() {
  hold_lock "$1/build/.lock" "the build folder $1/build"
  export TARVO_BUILD_LOCKED=1
}

# The machine's own apt entry for Debian's "bookworm" suite, on standard output: the deb822
# stanza that carries it, or else the one-line entry. Other entries, and the mirror to make a
# fresh Debian from, are derived from it, so that no host name is written down anywhere.
bookworm_apt_entry() {
  local src stanza
  for src in /etc/apt/sources.list.d/*.sources; do
    [ -f "$src" ] || continue
    stanza=$(awk -v RS= '/(^|\n)Suites:[^\n]*[[:space:]]bookworm([[:space:]]|$)/ && /(^|\n)Types:[^\n]*deb/ {print; exit}' "$src")
    if [ -n "$stanza" ]; then printf '%s\n' "$stanza"; return 0; fi
  done
  local files=() line=
  for src in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$src" ] && files+=("$src")
  done
  [ ${#files[@]} -eq 0 ] ||
    line=$(awk '/^deb[[:space:]]+[^#]*[[:space:]]bookworm[[:space:]]/ { print; exit }' "${files[@]}")
  [ -n "$line" ] || { log "no Debian bookworm entry found in the apt sources"; return 1; }
  printf '%s\n' "$line"
}

# The first mirror of that entry.
debian_mirror() {
  local entry; entry=$(bookworm_apt_entry) || return 1
  if grep -q '^Types:' <<<"$entry"; then
    sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\).*/\1/p' <<<"$entry" | head -n1
  else
    sed -e 's/\[[^]]*\]//' <<<"$entry" | awk '{print $2}'
  fi
}
