# Sourced by the identity checks (corpus-check.sh, gui-check.sh): reads
# "OLD NEW [OUTDIR]" and sets `old`, `new` (absolute paths of two
# executables), `out` (OUTDIR, or a new temporary folder) and `keep` (1 when
# OUTDIR was given). On a usage error prints the calling script's usage (its
# header lines 2 to 4) and exits 2.
read_check_arguments() {
  local script=$1 name
  name=$(basename "$script" .sh)
  shift
  if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    sed -n '2,4p' "$script" | sed 's/^# \{0,1\}//' >&2
    exit 2
  fi
  old=$(realpath "$1")
  new=$(realpath "$2")
  local program
  for program in "$old" "$new"; do
    if [ ! -x "$program" ]; then
      echo "$name: $program is not an executable" >&2
      exit 2
    fi
  done
  if [ $# -eq 3 ]; then
    out=$(realpath -m "$3")
    keep=1
    mkdir -p "$out"
  else
    out=$(mktemp -d "${TMPDIR:-/tmp}/$name.XXXXXX")
    keep=0
  fi
}
