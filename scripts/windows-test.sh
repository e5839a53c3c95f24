#!/usr/bin/env bash
# scripts/windows-test.sh: builds the Windows library for 64- and 32-bit hosts
# and runs the Wine tests on the 64-bit one (the 32-bit library is checked
# without running it: these machines cannot execute 32-bit programs).
# Fails when a build or a test fails, or when no test ran.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/windows-build.sh x86_64 build-win64
scripts/windows-build.sh i686 build-win32
ran=0
for runner in tests/windows/run.sh tests/windows/*/run.sh; do
  [ -x "$runner" ] || continue
  echo "== $runner"
  "$runner" build-win64
  ran=$((ran + 1))
done
if [ -x tests/windows/clients/check-i686.sh ]; then
  echo "== tests/windows/clients/check-i686.sh"
  tests/windows/clients/check-i686.sh build-win32/src/server/Mvx4_Kestrel.dll
  ran=$((ran + 1))
fi
if [ "$ran" -eq 0 ]; then
  echo "windows-test.sh: no Windows test ran" >&2
  exit 1
fi
echo "windows-test.sh: $ran Windows test runs passed"
