#!/bin/bash
# Static checks of the 32-bit library, which these machines cannot run: it
# is a 32-bit DLL, it exports the four entry points under their plain names
# (no stdcall decoration), it needs no DLL beyond the system's, and it
# embeds both type libraries as TYPELIB resources 1 and 2.
set -u
DLL=${1:?usage: check-i686.sh Mvx4_Kestrel.dll}
OBJDUMP=${OBJDUMP:-i686-w64-mingw32-objdump}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

headers=$("$OBJDUMP" -p "$DLL") || { echo "FAIL: cannot read $DLL"; exit 1; }
grep -q 'file format pei-i386' <<<"$headers" || fail "not a 32-bit library"

exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | grep -E '^\s+\[' | sed 's/.*\] //' | sort)
wanted=$(printf '%s\n' DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer)
[ "$exports" = "$wanted" ] || fail "exports are: $(echo $exports)"

imports=$(grep 'DLL Name:' <<<"$headers" | awk '{print tolower($3)}' | sort -u)
for dll in $imports; do
  case $dll in
    advapi32.dll|kernel32.dll|msvcrt.dll|ole32.dll|oleaut32.dll|user32.dll|gdi32.dll|shell32.dll|comctl32.dll) ;;
    api-ms-win-*) ;;
    *) fail "imports $dll, which Windows does not provide" ;;
  esac
done

# Resources: the type "TYPELIB" (UTF-16) and two type libraries ("MSFT").
rsrc=$(mktemp)
trap 'rm -f "$rsrc"' EXIT
"${OBJCOPY:-i686-w64-mingw32-objcopy}" -O binary --only-section=.rsrc "$DLL" "$rsrc"
/usr/bin/python3 - "$rsrc" <<'PY' || failures=$((failures + 1))
import sys
data = open(sys.argv[1], "rb").read()
problems = []
if "TYPELIB".encode("utf-16-le") not in data:
    problems.append("no TYPELIB resource type")
if data.count(b"MSFT\x02\x00\x01\x00") != 2:
    problems.append("%d type libraries embedded, not 2" % data.count(b"MSFT\x02\x00\x01\x00"))
for p in problems:
    print("FAIL: " + p)
sys.exit(1 if problems else 0)
PY

if [ "$failures" -gt 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "32-bit library: exports, imports and type libraries as expected"
