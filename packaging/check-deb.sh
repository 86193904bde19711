#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the .deb that `make package` built: its metadata, its file list, and what lintian says.
# usage: packaging/check-deb.sh DIR|FILE.deb   (exits 77, "skipped", when there is no package yet)
set -euo pipefail

target=${1:-build/package}
if [ -d "$target" ]; then
  deb=$(ls -t "$target"/vane_*.deb 2>/dev/null | head -n 1 || true)
else
  deb=$target
fi
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
  echo "no package in $target: run 'make package' first"
  exit 77
fi

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

field() { dpkg-deb --field "$deb" "$1"; }

# Metadata: the name and section, the libraries found by shlibdeps (no font library: the game's
# text is baked at build time), and the font.
[ "$(field Package)" = vane ] || fail "Package is '$(field Package)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
depends=$(field Depends)
names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for dep in libc6 libstdc++6 libsdl2-2.0-0 libcairo2 fonts-dejavu-core; do
  grep -qxF "$dep" <<<"$names" || fail "Depends lacks $dep: $depends"
done
grep -q 'libfreetype\|libfontconfig' <<<"$names" && fail "Depends names a font library: $depends"
grep -q 'gtest\|gmock\|benchmark' <<<"$names" && fail "Depends names a test library: $depends"

# The file list: every file the game, the menu and the manual need, and nothing outside /usr.
files=$(dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|')
expected=(
  /usr/games/vane
  /usr/bin/vane-forge /usr/bin/vane-sim /usr/bin/vane-spr /usr/bin/vane-snd
  /usr/share/applications/vane.desktop
  /usr/share/man/man6/vane.6.gz
  /usr/share/man/man1/vane-sim.1.gz /usr/share/man/man1/vane-spr.1.gz
  /usr/share/man/man1/vane-snd.1.gz /usr/share/man/man1/vane-forge.1.gz
  /usr/share/doc/vane/copyright /usr/share/doc/vane/changelog.Debian.gz
  /usr/share/doc/vane/README.md
)
for name in player.spr enemy.spr eb.spr back001.spr stage.spr x.spr etc.spr 1.snd music.snd; do
  expected+=("/usr/share/games/vane/$name")
done
for size in 16 22 24 32 48 64 128 256; do
  expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/vane.png")
done
for path in "${expected[@]}"; do
  grep -qxF "$path" <<<"$files" || fail "missing $path"
done
grep -q '^/usr/share/metainfo/.*\.metainfo\.xml$' <<<"$files" || fail "no AppStream metainfo file"
stray=$(grep -v '^/usr/' <<<"$files" | grep -vx '/' || true)
[ -z "$stray" ] || fail "files outside /usr: $stray"

# The installed menu entry and AppStream file validate, and the entry starts the installed game.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb --extract "$deb" "$work"
desktop-file-validate "$work/usr/share/applications/vane.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$work"/usr/share/metainfo/*.metainfo.xml >/dev/null ||
  fail "appstreamcli validate"
grep -qx 'Exec=/usr/games/vane' "$work/usr/share/applications/vane.desktop" ||
  fail "the menu entry does not start /usr/games/vane"
file "$work/usr/games/vane" | grep -q 'not stripped' && fail "vane is not stripped"

# Lintian: no errors.
if command -v lintian >/dev/null; then
  errors=$(lintian --tag-display-limit 0 "$deb" 2>/dev/null | grep '^E:' || true)
  [ -z "$errors" ] || fail "lintian errors:"$'\n'"$errors"
fi

if [ "$failures" -gt 0 ]; then
  echo "$deb: $failures problem(s)"
  exit 1
fi
echo "$deb: metadata, file list, menu entry and lintian are fine"
