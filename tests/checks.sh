# Sourced by the install tests: counts checks and reports them in one line.

passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $what"
    failed=$((failed + 1))
  fi
}

# Prints "N passed, N failed" and fails if any check did.
report_checks() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
