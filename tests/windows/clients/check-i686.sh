#!/bin/bash
# Static checks of the 32-bit library, which these machines cannot run: a
# 32-bit DLL exporting the four entry points under their plain names (no
# stdcall decoration), needing no DLL beyond the system's, and embedding both
# type libraries as TYPELIB resources.
set -u
DLL=${1:?usage: check-i686.sh Mvx4_Kestrel.dll}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

headers=$("${OBJDUMP:-i686-w64-mingw32-objdump}" -p "$DLL") || { echo "FAIL: cannot read $DLL"; exit 1; }
grep -q 'file format pei-i386' <<<"$headers" || fail "not a 32-bit library"
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | grep -E '^\s+\[' | sed 's/.*\] //' | sort)
[ "$exports" = "$(printf '%s\n' DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer)" ] \
  || fail "exports are: $(echo $exports)"
for dll in $(grep 'DLL Name:' <<<"$headers" | awk '{print tolower($3)}' | sort -u); do
  case $dll in
    advapi32.dll|kernel32.dll|msvcrt.dll|ole32.dll|oleaut32.dll|user32.dll|gdi32.dll|shell32.dll|comctl32.dll) ;;
    api-ms-win-*) ;;
    *) fail "imports $dll, which Windows does not provide" ;;
  esac
done

# The resource type "TYPELIB" (UTF-16) and two type libraries ("MSFT").
rsrc=$(mktemp)
trap 'rm -f "$rsrc"' EXIT
"${OBJCOPY:-i686-w64-mingw32-objcopy}" -O binary --only-section=.rsrc "$DLL" "$rsrc"
LC_ALL=C grep -qaP 'T\x00Y\x00P\x00E\x00L\x00I\x00B\x00' "$rsrc" || fail "no TYPELIB resource type"
typelibs=$(LC_ALL=C grep -oaP 'MSFT\x02\x00\x01\x00' "$rsrc" | wc -l)
[ "$typelibs" -eq 2 ] || fail "$typelibs type libraries embedded, not 2"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "32-bit library: exports, imports and type libraries as expected"
