# Shared by the packaging tests (sourced): failures are counted and listed,
# and a test ends with the number of them.

zlm5_failures=0

fail() {
  echo "FAIL: $*" >&2
  zlm5_failures=$((zlm5_failures + 1))
}

# expect_eq WHAT EXPECTED ACTUAL
expect_eq() {
  [ "$2" == "$3" ] || fail "$1: expected '$2', got '$3'"
}

# expect_file ROOT PATH...: each PATH exists under ROOT as a non-empty file.
expect_file() {
  local root=$1 p
  shift
  for p in "$@"; do
    [ -s "$root$p" ] || fail "missing: $p"
  done
}

# Ends the test as skipped (CTest's SKIP_RETURN_CODE) unless TOOL exists.
need_tool() {
  if ! command -v "$1" >/dev/null 2>&1; then
    echo "SKIPPED: $1 is not installed (Debian package $2)"
    exit 77
  fi
}

finish() {
  if [ "$zlm5_failures" -ne 0 ]; then
    echo "$zlm5_failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}
