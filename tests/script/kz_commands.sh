#!/bin/sh
# kz's commands as a writer runs them: `kz check` says nothing and exits 0 on
# a good game, prints its findings and exits 1 on a broken one; a broken game
# does not start (no window) and says why.
#   kz_commands.sh KZ DEMO_GAME
set -eu
kz=$1 demo=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

out=$("$kz" check "$demo") || fail "kz check on the demo exits $?"
[ -z "$out" ] || fail "kz check on the demo prints: $out"

mkdir "$dir/roto"
printf 'title Roto\nstart menu\n' >"$dir/roto/game.kz"
status=0
out=$("$kz" check "$dir/roto") || status=$?
[ "$status" = 1 ] || fail "kz check on a broken game exits $status"
printf '%s\n' "$out" | grep -qx "$dir/roto/game.kz: error: the game file has no 'verbs' line (the verb menu, in order)" ||
  fail "kz check on a broken game prints: $out"

status=0
out=$(DISPLAY= "$kz" "$dir/roto") || status=$?
[ "$status" = 1 ] || fail "kz on a broken game exits $status"
[ "$(printf '%s\n' "$out" | tail -n 1)" = "The game has errors and cannot start." ] ||
  fail "kz on a broken game prints: $out"
case "$out" in *"Graphic initialization"*) fail "kz opened a window for a broken game" ;; esac

status=0
out=$("$kz" check "$dir/nada") || status=$?
[ "$status" = 1 ] && [ "$out" = "$dir/nada: error: there is no game folder or .zip here
1 error, 0 warnings" ] || fail "kz check on nothing exits $status and prints: $out"
echo PASSED
