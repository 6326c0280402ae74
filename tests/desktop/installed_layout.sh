#!/usr/bin/env bash
# Installs the build into a staging folder, as a package does, and checks what lands
# there: the staged program looks for its browser module only in the staged module
# folder, holds no path of the build tree, and the files a package ships are in place.
# Usage: installed_layout.sh BUILD_DIR BINDIR LIBDIR DATADIR MANDIR VERSION, the
# folders as full paths, as configured.
set -euo pipefail
build=$1 bindir=$2 libdir=$3 datadir=$4 mandir=$5 version=$6

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
stage=$(cd "$stage" && pwd -P)
fail() { echo "FAIL: $*" >&2; exit 1; }

# Stripped, as the package is: what is left is what the program itself holds.
if ! out=$(DESTDIR="$stage" "${CMAKE:-cmake}" --install "$build" --strip 2>&1); then
  echo "$out"
  fail "cmake --install into $stage"
fi
program=$stage$bindir/hutchlore
module=$stage$libdir/hutchlore/hutchlore_browser.so
converter=$stage$libdir/hutchlore/hutchlore-metafile
docs=$stage$datadir/doc/hutchlore
metainfo=$stage$datadir/metainfo/org.hutchlore.hutchlore.metainfo.xml

for file in "$program" "$module" "$converter" \
    "$stage$datadir/applications/hutchlore.desktop" \
    "$stage$datadir/mime/packages/hutchlore.xml" \
    "$stage$datadir/icons/hicolor/scalable/apps/hutchlore.svg" \
    "$metainfo" "$stage$mandir/man1/hutchlore.1.gz" "$docs/copyright" "$docs/changelog.gz"; do
  [ -f "$file" ] || fail "not installed: ${file#"$stage"}"
done

# The staged program, run as an installed one would be: the only place it names is
# the staged module. The build tree's module is still there, so looking in it would show.
reported=$(QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$program" --browser-module-path) \
  || fail "the staged program did not report its module path"
[ "$reported" = "$module" ] || fail "the staged program looks for its module in:
$reported
expected only:
$module"

# No installed binary names the build tree, in 8-bit text or in the UTF-16 of Qt's
# string literals.
for file in "$program" "$module" "$converter"; do
  if { strings -a "$file"; strings -a -e l "$file"; } | grep -qF "$build"; then
    fail "${file#"$stage"} holds the build path $build"
  fi
done

# The changelog's newest entry and the software-centre listing's newest release are
# this version.
top=$(gzip -dc "$docs/changelog.gz" | head -n 1)
[[ $top == "hutchlore ($version) "* ]] || fail "changelog starts with \"$top\", not version $version"
release=$(grep -m 1 -o '<release version="[^"]*"' "$metainfo")
[ "$release" = "<release version=\"$version\"" ] || fail "metainfo's newest release is $release, not $version"

# The software-centre listing as a software centre reads it: with the desktop entry
# it launches, in the installed tree. (./test.sh installs appstreamcli.)
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate-tree --no-net "$(dirname "$stage$datadir")" \
    || fail "appstreamcli validate-tree on the staged install"
else
  echo "appstreamcli is not installed: the staged listing is not validated"
fi
echo "installed layout: module at ${module#"$stage"}, no build path"
