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

# Wrong arguments: what kz can be given, exit status 2.
usage="usage: kz [--no-reload] [GAME]
       kz check GAME
       kz explore [--limit N] GAME
       kz package GAME --for linux|windows|web [--out DIR]
       kz new DIR
GAME is a game's folder or a .zip of one."
for args in "check" "check $demo $demo" "explore --limit junk $demo" "explore --limit 0 $demo" \
  "$demo $demo" "--reload $demo"; do
  status=0
  out=$("$kz" $args) || status=$?
  [ "$status" = 2 ] && [ "$out" = "$usage" ] || fail "kz $args exits $status and prints: $out"
done
for args in "package:usage: kz package GAME --for linux|windows|web [--out DIR]" \
  "package $demo --for:usage: kz package GAME --for linux|windows|web [--out DIR]" \
  "new:usage: kz new DIR" "new $dir/a $dir/b:usage: kz new DIR"; do
  status=0
  out=$("$kz" ${args%%:*}) || status=$?
  [ "$status" = 2 ] && [ "$out" = "${args#*:}" ] || fail "kz ${args%%:*} exits $status and prints: $out"
done

# kz new writes a game that checks clean, and never over another folder.
out=$("$kz" new "$dir/nuevo") && [ -z "$("$kz" check "$dir/nuevo")" ] &&
  [ "$out" = "A new game is in $dir/nuevo: play it with kz $dir/nuevo" ] || fail "kz new: $out"
status=0
out=$("$kz" new "$dir/nuevo") || status=$?
[ "$status" = 1 ] && [ "$out" = "$dir/nuevo is not empty: nothing was written" ] ||
  fail "kz new over a game exits $status and prints: $out"

# Files kz may not open, checked as someone other than root (root opens
# anything whatever its permissions).
as_user=
[ "$(id -u)" != 0 ] || as_user="setpriv --reuid=nobody --regid=nogroup --clear-groups"
cp -r "$dir/nuevo" "$dir/cerrado"
chmod 755 "$dir"
chmod 000 "$dir/cerrado/patio.scene" "$dir/cerrado/res/pressbutton.png"
status=0
out=$($as_user "$kz" check "$dir/cerrado") || status=$?
[ "$status" = 1 ] && [ "$out" = "$dir/cerrado/game.kz: error: the dialog box and the buttons need the \
picture 'pressbutton.png', which cannot be read: it cannot be opened
$dir/cerrado/patio.scene: error: the file cannot be read: it cannot be opened
2 errors, 0 warnings" ] || fail "kz check on files it cannot open exits $status and prints: $out"

# kz package: a broken game, or one with a link that leaves it, is not packaged.
ln -s /etc/passwd "$dir/nuevo/res/passwd"
for game in roto nuevo; do
  status=0
  out=$("$kz" package "$dir/$game" --for linux --out "$dir/out") || status=$?
  [ "$status" = 1 ] && [ ! -e "$dir/out/game_1.0_amd64.deb" ] || fail "kz package $game: $out"
done
printf '%s\n' "$out" | grep -qx "$dir/nuevo/res/passwd is a link: a package holds only the game's own files" ||
  fail "kz package with a link prints: $out"
rm "$dir/nuevo/res/passwd"
out=$("$kz" package "$dir/roto" --for linux) || true
[ "$(printf '%s\n' "$out" | tail -n 1)" = "The game has errors: nothing was packaged." ] || fail "kz package roto: $out"
status=0
out=$("$kz" package "$demo" --for mac) || status=$?
[ "$status" = 2 ] && [ "$out" = "usage: kz package GAME --for linux|windows|web [--out DIR]" ] ||
  fail "kz package --for mac exits $status and prints: $out"
# Without the players a kz is installed with, it says which one is missing.
mkdir "$dir/empty"
for target in "windows:no Windows player in $dir/empty/players/windows" \
  "web:no web player in $dir/empty/players/web" "linux:no Linux player's notes in $dir/empty/players/linux"; do
  out=$(KZ_SHARE=$dir/empty "$kz" package "$demo" --for "${target%%:*}" --out "$dir/out") && fail "no players: $out"
  [ "$out" = "kz package: ${target#*:}" ] || fail "kz package without players prints: $out"
done
out=$(KZ_SHARE=$dir/empty "$kz" new "$dir/otro") && fail "no starter: $out"
[ "$out" = "kz new: no starter game in $dir/empty/starter" ] || fail "kz new without a starter prints: $out"

# For Linux: a .deb with the launcher, the menu entry and the game beside the
# player, and a .tar.gz of the same; for Windows and the web where this kz
# has their players.
out=$("$kz" package "$demo" --for linux --out "$dir/out") && [ "$out" = "Wrote $dir/out/Demo-linux-x64.tar.gz
Wrote $dir/out/demo_1.0_amd64.deb" ] || fail "kz package --for linux prints: $out"
listing=$(dpkg-deb -c "$dir/out/demo_1.0_amd64.deb" | awk '{print $6}')
for path in ./usr/games/demo ./usr/lib/games/demo/demo ./usr/lib/games/demo/game/game.kz \
  ./usr/share/applications/demo.desktop ./usr/share/pixmaps/demo.png; do
  printf '%s\n' "$listing" | grep -qx "$path" || fail "the .deb has no $path: $listing"
done
[ "$(dpkg-deb -f "$dir/out/demo_1.0_amd64.deb" Package Section)" = "Package: demo
Section: games" ] || fail "the .deb's control: $(dpkg-deb -f "$dir/out/demo_1.0_amd64.deb")"
tar xzf "$dir/out/Demo-linux-x64.tar.gz" -C "$dir/out" || fail "the .tar.gz cannot be unpacked"
# Its pictures packed smaller, every pixel as it was.
for picture in "$demo"/res/*.png; do
  packed=$dir/out/Demo/game/res/$(basename "$picture")
  [ "$(stat -c %s "$packed")" -le "$(stat -c %s "$picture")" ] &&
    [ "$(convert "$packed" rgba:- | md5sum)" = "$(convert "$picture" rgba:- | md5sum)" ] ||
    fail "$packed is not $picture packed"
done
players=$(dirname "$kz")/share/kz/players
if [ -e "$players/windows/kz.exe" ]; then
  "$kz" package "$demo" --for windows --out "$dir/out" >/dev/null || fail "kz package --for windows"
  unzip -l "$dir/out/Demo-windows-x64.zip" | grep -q " Demo/Demo.exe$" || fail "no Demo.exe in the zip"
fi
if [ -e "$players/web/kz.wasm" ]; then
  "$kz" package "$demo" --for web --out "$dir/out" >/dev/null || fail "kz package --for web"
  grep -q "<title>Demo</title>" "$dir/out/Demo-web/index.html" && ! grep -q "@KZ_SW_" "$dir/out/Demo-web/sw.js" ||
    fail "the page is not the game's"
fi
echo PASSED
