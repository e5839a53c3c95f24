#!/usr/bin/env bash
# scripts/dialog-picture.sh [BUILD_DIR]: a picture of the export dialog's
# window as Windows shows it, drawn by Wine on a virtual screen, into
# docs/images/export-dialog.png (see docs/windows.md). BUILD_DIR is the
# x86_64 Windows build (default build-win64). Needs xvfb, x11-apps (xwd)
# and imagemagick, installed when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win64}
scripts/install-deps.sh xvfb x11-apps imagemagick
test_exe=$build/tests/windows/dialog/dialog_window_test.exe
[ -f "$test_exe" ] || { echo "dialog-picture: build $test_exe first (scripts/windows-build.sh x86_64)" >&2; exit 1; }
# shellcheck source=../tests/windows/wine-env.sh
. tests/windows/wine-env.sh "$build"
wine_stop
shot=$(mktemp --suffix=.xwd)
trap 'rm -f "$shot"' EXIT
# "show" leaves the window up for 8 seconds; the picture is taken after 6.
xvfb-run -a -s "-screen 0 800x600x24" bash -c \
  'wine "$1" show >/dev/null & sleep 6; xwd -root -silent > "$2"; wait' _ "$test_exe" "$shot"
mkdir -p docs/images
/usr/bin/convert "$shot" -crop 648x540+0+0 +repage docs/images/export-dialog.png
echo "dialog-picture: docs/images/export-dialog.png"
