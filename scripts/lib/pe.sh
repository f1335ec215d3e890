# Sourced by the scripts that compare installers: what an Authenticode signature changes in a
# PE file, so that a signed release can be compared with an unsigned build of the same source.
# Functions only; nothing runs on source.
#
# Signing touches three places and nothing else: the header's checksum, the header's entry for
# the certificate table, and the end of the file, where the table is appended after zero bytes
# that align it to 8 bytes. Everything else is covered by the signature's digest.

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# A little-endian unsigned number of WIDTH bytes (2 or 4) at OFFSET in FILE, on standard output.
pe_number() {
  local n; n=$(od -An -tu"$3" --endian=little -j "$2" -N "$3" "$1" | tr -d ' \n')
  [ -n "$n" ] || { log "$1: too short for a PE file"; return 1; }
  printf '%s\n' "$n"
}

# Where the PE header of FILE starts, on standard output; fails when FILE is no PE file.
pe_header() {
  [ "$(head -c 2 "$1")" = MZ ] || { log "$1: not a Windows executable"; return 1; }
  local header; header=$(pe_number "$1" 60 4) || return 1
  [ "$(od -An -c -j "$header" -N 4 "$1" | tr -d ' \n')" = 'PE\0\0' ] ||
    { log "$1: not a Windows executable"; return 1; }
  printf '%s\n' "$header"
}

# The offsets of the checksum and of the certificate table's entry, on standard output.
pe_signing_fields() {
  local header optional magic directories
  header=$(pe_header "$1") || return 1
  optional=$((header + 24))
  magic=$(pe_number "$1" "$optional" 2) || return 1
  case $magic in
    267) directories=$((optional + 96)) ;;   # PE32
    523) directories=$((optional + 112)) ;;  # PE32+
    *) log "$1: unknown optional header ($magic)"; return 1 ;;
  esac
  printf '%s %s\n' "$((optional + 64))" "$((directories + 4 * 8))"
}

# i686 or x86_64, from the header's machine field.
pe_arch() {
  local header machine
  header=$(pe_header "$1") || return 1
  machine=$(pe_number "$1" "$((header + 4))" 2) || return 1
  case $machine in
    332) echo i686 ;;
    34404) echo x86_64 ;;
    *) log "$1: a program for another machine ($machine)"; return 1 ;;
  esac
}

pe_is_signed() {
  local fields table_size
  fields=$(pe_signing_fields "$1") || return 2
  table_size=$(pe_number "$1" "$((${fields#* } + 4))" 4) || return 2
  [ "$table_size" -gt 0 ]
}

# Writes to OUT the file as it was before signing, with its checksum zeroed and its length
# aligned to 8 bytes as signing aligns it (an unsigned file gets the same treatment, so that
# the two compare). Bytes after the certificate table, which no signature covers, are kept.
pe_unsigned_image() {
  local in=$1 out=$2 fields checksum entry table_offset table_size size
  fields=$(pe_signing_fields "$in") || return 1
  checksum=${fields% *} entry=${fields#* }
  if pe_is_signed "$in"; then
    table_offset=$(pe_number "$in" "$entry" 4) || return 1
    table_size=$(pe_number "$in" "$((entry + 4))" 4) || return 1
    { head -c "$table_offset" "$in"; tail -c "+$((table_offset + table_size + 1))" "$in"; } > "$out"
    dd if=/dev/zero of="$out" bs=1 seek="$entry" count=8 conv=notrunc status=none
  else
    cp "$in" "$out"
  fi
  dd if=/dev/zero of="$out" bs=1 seek="$checksum" count=4 conv=notrunc status=none
  size=$(stat -c %s "$out")
  [ $((size % 8)) -eq 0 ] || head -c $((8 - size % 8)) /dev/zero >> "$out"
}

# Succeeds when A and B are the same program: byte for byte, or, when either is signed, byte
# for byte apart from the signature.
pe_same_program() {
  local a=$1 b=$2 signed=0 status
  [ -f "$a" ] && [ -f "$b" ] || { log "no file at $([ -f "$a" ] && echo "$b" || echo "$a")"; return 2; }
  pe_is_signed "$a" && signed=1
  pe_is_signed "$b" && signed=1
  if [ "$signed" = 0 ]; then
    cmp -s "$a" "$b"
    return
  fi
  local work; work=$(mktemp -d)
  status=0
  { pe_unsigned_image "$a" "$work/a" && pe_unsigned_image "$b" "$work/b"; } || status=2
  [ "$status" != 0 ] || cmp -s "$work/a" "$work/b" || status=1
  rm -rf "$work"
  return "$status"
}
