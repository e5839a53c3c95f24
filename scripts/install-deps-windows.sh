#!/usr/bin/env bash
# Installs what the Windows library needs to build (mingw-w64, widl) and to be
# tested under Wine (xvfb: a virtual screen for the windows' tests), and extracts Wine's .idl files (the import of oaidl.idl)
# into .deps/wine-idl without installing the development package.
# Never installs wine32: on a kernel without 32-bit support it breaks every
# `wine` call, and the 32-bit library is checked without running it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools \
  wine wine64 xvfb "$@"
idl_root=.deps/wine-idl
if [ ! -f "$idl_root/usr/include/wine/wine/windows/oaidl.idl" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  (cd "$work" && apt-get download libwine-dev >/dev/null)
  mkdir -p "$idl_root"
  dpkg-deb -x "$work"/libwine-dev_*.deb "$idl_root"
fi
# dxflib and simdjson sources for the Windows test programs (the fake CAD and
# its client), from Debian's source packages.
tests/windows/fake_cad/fetch-sources.sh .deps/win-test-sources
