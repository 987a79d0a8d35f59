#!/usr/bin/env bash
# Static check of the shipping plug-in: a 32-bit DLL exporting exactly the nine entry points,
# undecorated, at ordinals 1-9 in the host's order, importing only Windows system DLLs.
set -euo pipefail
export LC_ALL=C  # objdump output must not be translated
dll=${1:?usage: check-dll.sh Zorvek32.dll}
objdump=i686-w64-mingw32-objdump
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

dump=$("$objdump" -p "$dll")

grep -q 'file format pei-i386' <<<"$dump" || fail "not a 32-bit (i386) PE image"
grep -qE '^Characteristics .*' <<<"$dump" && grep -q 'DLL' <<<"$dump" || fail "not a DLL"

expected="APCGetPlugName APCVersionInfo APCStartUp APCCleanUp APCSetup APCFolderCreate APCViewClose APCViewLoadMail APCSendPost"
base=$(sed -n 's/^Ordinal Base[[:space:]]*\([0-9]*\).*/\1/p' <<<"$dump")
[ "$base" = 1 ] || fail "ordinal base is '$base', not 1"
# Rows of the name pointer table: "[index] name", the ordinal being index + base.
table=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | grep -E '^\s*\[\s*[0-9]+\]' || true)
actual=$(awk '{print $NF}' <<<"$table" | tr '\n' ' ' | sed 's/ $//')
sorted_expected=$(tr ' ' '\n' <<<"$expected" | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')
[ "$actual" = "$sorted_expected" ] || fail "exported names are '$actual'"
i=1
for name in $expected; do
  index=$(sed -nE "s/^\s*\[\s*([0-9]+)\]\s+$name\$/\1/p" <<<"$table")
  [ -n "$index" ] && [ $((index + ${base:-0})) = "$i" ] || fail "$name is not at ordinal $i"
  i=$((i + 1))
done
grep -q '@' <<<"$actual" && fail "decorated export names"

allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|COMCTL32|COMDLG32|SHLWAPI|OLE32|OLEAUT32|MSVCRT|VERSION|UXTHEME)\.DLL$'
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")
[ -n "$imports" ] || fail "no import table"
for dllname in $imports; do
  upper=$(tr '[:lower:]' '[:upper:]' <<<"$dllname")
  [[ "$upper" =~ $allowed ]] || fail "imports from $dllname"
done

# The "no signature" text the capture compares with, in its exact code page 932 bytes.
LC_ALL=C grep -qaP '\(\x96\xB3\x82\xB5\)' "$dll" || fail "the code page 932 bytes of (無し) are missing"

if [ "$failures" -eq 0 ]; then
  echo "dll static check: 1 passed, 0 failed (machine i386; exports: $expected; imports: $(tr '\n' ' ' <<<"$imports"))"
else
  echo "dll static check: 0 passed, 1 failed"
  exit 1
fi
