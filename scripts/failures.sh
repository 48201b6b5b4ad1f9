# Sourced by the set-up and build scripts so that a failure never passes
# silently: whatever fails, in the script itself, in one of its functions or
# in a subshell, the script says which step it was in, shows the end of that
# step's log when it has one, and exits with status 1.
#
#   source "$(dirname "$0")/failures.sh"
#   step "building the game"                 # a step whose output is on screen
#   step "configuring" build/configure.log   # a step whose output is in a log
#   on_failure_also 'rm -rf build/page'      # run before exiting on a failure
#
# set -E hands the ERR trap down to functions, command substitutions and
# subshells; without it a failure inside a function ends the script with the
# failing command's own status and not a word.
set -Eeuo pipefail

failure_script=${failure_script:-scripts/$(basename "$0")}
failure_step="starting"
failure_log=""
failure_cleanup=""

step() {
  failure_step=$1
  failure_log=${2:-}
}

on_failure_also() {
  failure_cleanup=$1
}

failure_report() {
  local status=$?
  trap - ERR
  # A subshell only ends; the script it belongs to then fails in turn and
  # reports once, knowing its step.
  if [ "$BASH_SUBSHELL" -gt 0 ]; then
    exit 1
  fi
  echo "$failure_script: failed while $failure_step (status $status, at: $BASH_COMMAND)" >&2
  if [ -n "$failure_log" ] && [ -s "$failure_log" ]; then
    echo "$failure_script: the end of $failure_log:" >&2
    tail -n 40 "$failure_log" >&2
  fi
  if [ -n "$failure_cleanup" ]; then
    eval "$failure_cleanup" || true
  fi
  exit 1
}
trap failure_report ERR
