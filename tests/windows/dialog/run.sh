#!/bin/bash
# The export dialog's window under Wine: driven on a virtual screen (Xvfb),
# and refused with an error where there is no screen.
#   tests/windows/dialog/run.sh BUILD_DIR     (BUILD_DIR: the x86_64 Windows build)
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
test_exe=$build/tests/windows/dialog/dialog_window_test.exe
# shellcheck source=../wine-env.sh
source "$here/../wine-env.sh" "$build" || exit 1
trap wine_stop EXIT
[ -f "$test_exe" ] || { echo "dialog: missing $test_exe"; exit 1; }
command -v xvfb-run >/dev/null || { echo "dialog: xvfb-run is missing (package xvfb)"; exit 1; }
step "no screen" timeout 120 wine "$test_exe" headless
wine_stop  # a screen of its own: the prefix's wineserver started without one
step "on a screen" timeout 180 xvfb-run -a wine "$test_exe"
steps_done dialog
