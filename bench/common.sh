# Sourced by the bench scripts (from the repository's top folder): the
# kestrel binary ($KESTREL, else a Release build made once), a scratch folder
# $work removed on exit, and `measure`.
kestrel=${KESTREL:-build-release/src/tools/kestrel/kestrel}
if [ ! -x "$kestrel" ]; then
  scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DKESTREL_TESTS=OFF
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# measure LABEL COMMAND... runs COMMAND and appends one line
# "wall user system peak_kb" to $work/LABEL.time (several runs, several lines).
measure() {
  local label=$1
  shift
  /usr/bin/time -a -f '%e %U %S %M' -o "$work/$label.time" "$@"
}
