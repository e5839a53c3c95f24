# Sourced by the Wine test runners: `. tests/windows/wine-env.sh BUILD_DIR`.
# Uses (and creates once) a 64-bit Wine prefix in BUILD_DIR/wine-prefix, keeps
# Wine quiet, and gives `to_win_path PATH` (a Unix path as Wine sees it) and
# `wine_stop` (ends the prefix's wineserver; runners call it on exit).
# Only 64-bit programs run here: the machines have no 32-bit runtime, and
# wine32 must never be installed (it breaks every wine call on them).
wine_build_dir=$(cd "${1:?wine-env.sh needs the build folder}" && pwd)
export WINEPREFIX="$wine_build_dir/wine-prefix"
export WINEARCH=win64
export WINEDEBUG=${KESTREL_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-env: creating the test prefix $WINEPREFIX" >&2
  wine wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
[ -f "$WINEPREFIX/system.reg" ] || { echo "wine-env: no Wine prefix could be made in $WINEPREFIX" >&2; return 1; }

to_win_path() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
wine_stop() { wineserver -k 2>/dev/null || true; }

# `step NAME COMMAND...` runs a check and records NAME when it fails;
# `steps_done RUNNER` ends a runner: exit 1 when a step failed.
failed=()
step() {
  local name=$1
  shift
  if "$@"; then echo "$name: ok"; else echo "$name: FAILED"; failed+=("$name"); fi
}
steps_done() {
  [ ${#failed[@]} -eq 0 ] || { printf '%s: failed: %s\n' "$1" "${failed[@]}"; exit 1; }
  echo "$1: all passed"
}
