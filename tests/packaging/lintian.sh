#!/usr/bin/env bash
# Builds the Debian package from the build tree with CPack and runs lintian on it: no errors
# allowed; the warnings it prints are listed in the README where they are deliberate.
#   lintian.sh BUILD_DIR
set -uo pipefail
build="$1"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb="$(ls "$out"/*.deb)"
echo "package: $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Depends Recommends
# --fail-on error: warnings are shown, errors fail. Running as root needs --allow-root.
lintian --allow-root --fail-on error --display-info "$deb"
