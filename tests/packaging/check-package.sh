#!/usr/bin/env bash
# Builds the Debian package from a build tree into a temporary folder and checks it as the
# distribution does: lintian (no error or warning), the metainfo with appstreamcli and the
# desktop entry with desktop-file-validate. Exits 77 (skipped) where something is missing.
set -euo pipefail
build="$1" source="$2"
for tool in cpack lintian appstreamcli desktop-file-validate dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/install-deps.sh installs it)"; exit 77; }
done
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
if [ "$prefix" != /usr ]; then
    echo "SKIP: the package needs a build configured with -DCMAKE_INSTALL_PREFIX=/usr (this one: $prefix)"
    exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cpack -G DEB -B "$tmp" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; exit 1; }
deb=$(ls "$tmp"/*.deb)
appstreamcli validate --no-net "$source/packaging/org.example.orvik_searcher.metainfo.xml"
desktop-file-validate "$build/packaging/orvik-searcher.desktop"
tags=$(lintian --no-tag-display-limit "$deb" 2>&1 | grep -E '^[EW]: ' || true)
if [ -n "$tags" ]; then
    echo "$tags"
    exit 1
fi
echo "lintian: no errors or warnings for $(basename "$deb")"
