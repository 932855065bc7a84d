#!/usr/bin/env bash
# The Debian package: builds it with cpack from a configured build tree, unpacks it with dpkg -x
# into a scratch root (no root needed), and checks its file list, its dependencies, the data
# files with the desktop's own validators, that the installed programs run and are hardened, that
# the README's pictures are installed beside it, and that lintian finds no error and no warning.
#
#   tests/package.sh path/to/build
set -uo pipefail
BUILD=${1:?usage: package.sh path/to/build}
SCRATCH=$(mktemp -d)
trap 'rm -rf "$SCRATCH"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$SCRATCH/out" >"$SCRATCH/cpack.log" 2>&1 || {
  cat "$SCRATCH/cpack.log"
  echo "FAIL: cpack could not build the package"
  exit 1
}
debs=("$SCRATCH"/out/varnel_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: expected one varnel_*.deb, got: ${debs[*]}"; exit 1; }
deb=${debs[0]}
dpkg -x "$deb" "$SCRATCH/root" || { echo "FAIL: dpkg -x"; exit 1; }
ROOT=$SCRATCH/root

expected="./usr/bin/varnel
./usr/bin/varnel-render
./usr/share/applications/varnel.desktop
./usr/share/doc/varnel/README.md
./usr/share/doc/varnel/changelog.gz
./usr/share/doc/varnel/copyright
./usr/share/doc/varnel/docs/gauge.png
./usr/share/doc/varnel/docs/graph.png"
for size in 16 32 48 64 128 256; do expected+=$'\n'"./usr/share/icons/hicolor/${size}x${size}/apps/varnel.png"; done
expected+="
./usr/share/man/man1/varnel-render.1.gz
./usr/share/man/man1/varnel.1.gz
./usr/share/metainfo/org.example.varnel.metainfo.xml"
actual=$(cd "$ROOT" && find . ! -type d | LC_ALL=C sort)
expected=$(LC_ALL=C sort <<<"$expected")
[ "$actual" = "$expected" ] || fail "file list differs:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"

# Dependencies: the shared libraries the programs link, found by dpkg-shlibdeps, and the fonts.
depends=$(dpkg-deb -f "$deb" Depends)
names=$(tr ',|' '\n\n' <<<"$depends" | awk '{print $1}')
for dep in libc6 libstdc++6 libfltk1.3 libx11-6 libfreetype6 libfontconfig1 libpng16-16 libcurl4 fonts-liberation; do
  grep -Fxq "$dep" <<<"$names" || fail "Depends lacks $dep: $depends"
done
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "wrong architecture"

# The installed programs run from the unpacked root, and find no files of the build tree.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$ROOT/usr/bin/varnel" --version 2>&1)
[ $? -eq 0 ] && grep -Eq '^Varnel Version 1\.0' <<<"$out" || fail "installed varnel --version: $out"
"$ROOT/usr/bin/varnel-render" --help >/dev/null || fail "installed varnel-render --help"
ldd "$ROOT/usr/bin/varnel" | grep -q "not found" && fail "installed varnel misses a library"
grep -q "$BUILD" "$ROOT/usr/bin/varnel" && fail "installed varnel refers to the build tree"

# Each icon is a PNG of its own size (width and height from the IHDR chunk).
for size in 16 32 48 64 128 256; do
  png=$ROOT/usr/share/icons/hicolor/${size}x${size}/apps/varnel.png
  read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "icon $size is ${w}x${h}"
done

# The data files pass the validators of the desktop, where they are installed.
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$ROOT/usr/share/applications/varnel.desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$ROOT/usr/share/metainfo/org.example.varnel.metainfo.xml" >"$SCRATCH/as.log" 2>&1 ||
    fail "appstreamcli: $(cat "$SCRATCH/as.log")"
fi
if command -v man >/dev/null; then
  for page in varnel varnel-render; do
    warnings=$(MANWIDTH=80 man --warnings -l "$ROOT/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $page: $warnings"
  done
fi

# Every picture or file the installed README links to by a relative path is installed with it.
doc=$ROOT/usr/share/doc/varnel
mapfile -t links < <(grep -o '](\([^)#:]*\))' "$doc/README.md" | sed 's/^](//; s/)$//' | sort -u)
[ ${#links[@]} -gt 0 ] || fail "no relative links found in README.md (the pictures were linked so)"
for target in "${links[@]}"; do
  [ -f "$doc/$target" ] || fail "README.md links $target, which the package does not install"
done

# The copyright file is in the machine-readable format and carries the license's text.
head -n 1 "$doc/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' ||
  fail "copyright: no Format line"
license=$(dirname "$0")/../LICENSE
while IFS= read -r line; do
  grep -Fxq " ${line:-.}" "$doc/copyright" || fail "copyright lacks the license's line: $line"
done < <(sed -n '/^Copyright/,$p' "$license" | tail -n +2)
[ "$(gzip -dc "$doc/changelog.gz" | head -n 1 | awk '{print $1, $2}')" = "varnel ($(dpkg-deb -f "$deb" Version))" ] ||
  fail "changelog.gz does not start with this version"

# Hardened as the distribution builds: PIE, stack protector, fortified functions, full RELRO.
if command -v hardening-check >/dev/null; then
  for prog in varnel varnel-render; do
    # Its exit status also counts features the distribution does not ask for (control-flow
    # protection, stack clash protection): the five that it does are read one by one.
    report=$(hardening-check "$ROOT/usr/bin/$prog" 2>&1)
    for feature in 'Position Independent Executable' 'Stack protected' 'Fortify Source functions' \
                   'Read-only relocations' 'Immediate binding'; do
      grep -q "^ $feature: yes" <<<"$report" || fail "$prog: $(grep "^ $feature:" <<<"$report")"
    done
  done
else
  fail "hardening-check is missing (Debian's devscripts; ./test.sh installs it)"
fi

# lintian: no errors and no warnings (informational tags are listed but allowed).
if command -v lintian >/dev/null; then
  lintian --display-info --fail-on error,warning --tag-display-limit 0 "$deb" >"$SCRATCH/lintian.log" 2>&1 ||
    fail "lintian:"$'\n'"$(cat "$SCRATCH/lintian.log")"
  grep '^[IP]:' "$SCRATCH/lintian.log" | sed 's/^/lintian, allowed: /'
else
  fail "lintian is missing (./test.sh installs it)"
fi

[ "$failures" -eq 0 ] && echo "package $(basename "$deb"): all checks passed"
exit $((failures > 0))
