#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the three .deb packages `make package` built (vane, vane-data, vane-tools): their
# metadata, their file lists, the menu entry, and every lintian tag, which must be overridden
# with a reason where it is a warning or an error.
# usage: packaging/check-deb.sh DIR   (exits 77, "skipped", when there are no packages yet)
set -euo pipefail

dir=${1:-build/package}
newest() { ls -t "$dir"/"$1"_*.deb 2>/dev/null | head -n 1 || true; }
game=$(newest vane)
data=$(newest vane-data)
tools=$(newest vane-tools)
if [ -z "$game" ] && [ -z "$data" ] && [ -z "$tools" ]; then
  echo "no packages in $dir: run 'make package' first"
  exit 77
fi

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
for deb in game data tools; do [ -n "${!deb}" ] || fail "no $deb package in $dir"; done
[ "$failures" = 0 ] || exit 1

field() { dpkg-deb --field "$1" "$2"; }
# The names a package depends on, one a line, versions dropped.
depends() { field "$1" Depends | sed 's/ *([^)]*)//g; s/, */\n/g'; }
files() { dpkg-deb --contents "$1" | awk '{print $6}' | sed 's|^\./|/|'; }

# Package, section, architecture and Multi-Arch of each, as the game's layout asks.
version=$(field "$game" Version)
expect_fields() {
  local deb=$1 package=$2 section=$3 architecture=$4 multiarch=$5
  [ "$(field "$deb" Package)" = "$package" ] || fail "$deb: Package is '$(field "$deb" Package)'"
  [ "$(field "$deb" Section)" = "$section" ] || fail "$deb: Section is '$(field "$deb" Section)'"
  [ "$(field "$deb" Architecture)" = "$architecture" ] ||
    fail "$deb: Architecture is '$(field "$deb" Architecture)'"
  [ "$(field "$deb" Multi-Arch)" = "$multiarch" ] ||
    fail "$deb: Multi-Arch is '$(field "$deb" Multi-Arch)'"
  [ "$(field "$deb" Version)" = "$version" ] || fail "$deb: Version is not $version"
}
arch=$(dpkg --print-architecture)
expect_fields "$game" vane games "$arch" no
expect_fields "$data" vane-data games all foreign
expect_fields "$tools" vane-tools devel "$arch" no

# Depends: the game and the tools on exactly this vane-data, on the libraries found by shlibdeps
# (none for text: the game's glyphs are baked at build time), the tools on the font the forge
# letters with; vane-data on nothing.
field "$game" Depends | grep -qF "vane-data (= $version)" ||
  fail "vane does not depend on vane-data (= $version)"
field "$tools" Depends | grep -qF "vane-data (= $version)" ||
  fail "vane-tools does not depend on vane-data (= $version)"
for dep in libc6 libstdc++6 libsdl2-2.0-0; do
  depends "$game" | grep -qxF "$dep" || fail "vane's Depends lacks $dep: $(field "$game" Depends)"
done
depends "$tools" | grep -qxF fonts-dejavu-core || fail "vane-tools' Depends lacks fonts-dejavu-core"
depends "$game" | grep -q 'libfreetype\|libfontconfig\|fonts-' &&
  fail "vane depends on a font or a font library: $(field "$game" Depends)"
(depends "$game"; depends "$tools") | grep -q 'gtest\|gmock\|benchmark' &&
  fail "a test library in Depends"
[ -z "$(field "$data" Depends)" ] || fail "vane-data depends on $(field "$data" Depends)"

# The file lists: each file where the game, the menu, the manual and the tools need it, each in
# one package only, and nothing outside /usr.
game_files=(
  /usr/games/vane /usr/share/applications/vane.desktop /usr/share/man/man6/vane.6.gz
  /usr/share/doc/vane/copyright /usr/share/doc/vane/changelog.Debian.gz
  /usr/share/doc/vane/README.md
)
for size in 16 22 24 32 48 64 128 256; do
  game_files+=("/usr/share/icons/hicolor/${size}x${size}/apps/vane.png")
done
data_files=(/usr/share/doc/vane-data/copyright /usr/share/doc/vane-data/changelog.Debian.gz)
for name in player.spr enemy.spr eb.spr back001.spr stage.spr x.spr etc.spr 1.snd music.snd; do
  data_files+=("/usr/share/games/vane/$name")
done
tools_files=(/usr/share/doc/vane-tools/copyright /usr/share/doc/vane-tools/changelog.Debian.gz)
for tool in vane-forge vane-sim vane-spr vane-snd; do
  tools_files+=("/usr/bin/$tool" "/usr/share/man/man1/$tool.1.gz")
done
expect_files() {
  local deb=$1
  shift
  local list
  list=$(files "$deb")
  for path in "$@"; do grep -qxF "$path" <<<"$list" || fail "$deb lacks $path"; done
  local stray
  stray=$(grep -v '^/usr/' <<<"$list" | grep -vx '/' || true)
  [ -z "$stray" ] || fail "$deb: files outside /usr: $stray"
}
expect_files "$game" "${game_files[@]}"
expect_files "$data" "${data_files[@]}"
expect_files "$tools" "${tools_files[@]}"
files "$game" | grep -q '^/usr/share/metainfo/.*\.metainfo\.xml$' ||
  fail "no AppStream metainfo file"
twice=$( (files "$game"; files "$data"; files "$tools") | grep -v '/$' | sort | uniq -d)
[ -z "$twice" ] || fail "files in two packages: $twice"

# The installed menu entry and AppStream file validate, and the entry starts the installed game.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb --extract "$game" "$work"
desktop-file-validate "$work/usr/share/applications/vane.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$work"/usr/share/metainfo/*.metainfo.xml >/dev/null ||
  fail "appstreamcli validate"
grep -qx 'Exec=/usr/games/vane' "$work/usr/share/applications/vane.desktop" ||
  fail "the menu entry does not start /usr/games/vane"
file "$work/usr/games/vane" | grep -q 'not stripped' && fail "vane is not stripped"

# Lintian: every tag it names is listed. A warning or an error fails unless the package overrides
# it with a reason (a comment above the override, which lintian shows as an N: line before it).
if command -v lintian >/dev/null; then
  lintian --tag-display-limit 0 --show-overrides "$game" "$data" "$tools" >"$work/lintian" 2>&1 ||
    true
  echo "lintian:"
  sed 's/^/  /' "$work/lintian"
  unexplained=$(awk '/^[EW]: / { print; next }
                     /^O: / && !reason { print "no reason given: " $0 }
                     { reason = /^N: ./ }' "$work/lintian")
  [ -z "$unexplained" ] || fail "lintian warnings or errors:"$'\n'"$unexplained"
fi

if [ "$failures" -gt 0 ]; then
  echo "$dir: $failures problem(s)"
  exit 1
fi
echo "$dir: vane, vane-data and vane-tools: metadata, file lists, menu entry and lintian are fine"
