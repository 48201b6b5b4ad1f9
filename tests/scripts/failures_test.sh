#!/usr/bin/env bash
# The build scripts' failure report (scripts/failures.sh): a command that fails
# inside a function, a subshell or a command substitution stops the script
# with status 1, naming the step once and showing the end of its log.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

# expect NAME SCRIPT-BODY PATTERN...: the body stops at its failure with
# status 1, says so once, and its standard error matches every pattern.
expect() {
  local name=$1 body=$2 status problems=()
  shift 2
  printf 'failure_script=demo-step\nsource %q\n%s\n' "$root/scripts/failures.sh" "$body" >"$work/s"
  bash "$work/s" >"$work/out" 2>"$work/err"
  status=$?
  [ $status -eq 1 ] || problems+=("status $status, not 1")
  ! grep -q "went on" "$work/out" || problems+=("went on after the failure")
  [ "$(grep -c 'failed while' "$work/err")" -eq 1 ] || problems+=("not reported exactly once")
  for pattern in "$@"; do
    grep -q -- "$pattern" "$work/err" || problems+=("no '$pattern'")
  done
  if [ ${#problems[@]} -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $name: ${problems[*]}; its standard error:"
    cat "$work/err"
  fi
}

printf 'first line\nconfigure: error: no such flag\n' >"$work/log"
expect "inside a function" "
step 'building FreeType' $work/log
build() { false; echo 'went on'; }
build
echo 'went on after'" "failed while building FreeType" "configure: error: no such flag"
expect "inside a subshell" "
step 'building zlib'
( cd /; false; echo 'went on' )
echo 'went on after'" "failed while building zlib"
expect "in a command substitution" "
step 'fetching'
prefix=\$(false | tail -n 1)
echo 'went on after'" "failed while fetching"
expect "cleans up" "
on_failure_also 'echo cleaned >&2'
step 'packing'
false" "cleaned"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
