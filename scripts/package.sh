#!/usr/bin/env bash
# Builds the release package: dist/Zorvek32-<version>.zip with the stripped 32-bit plug-in, the
# help page (its pictures taken afresh by the Wine tests), the rule tester, the Japanese read-me
# (code page 932, CR LF), the licence and SHA256SUMS. Two runs from one commit give the same bytes.
# Installs what is missing first. Run inside scripts/test.sh (ZV_BENCH_RUNNING=1) it uses the
# Wine bench that is already up instead of starting its own.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/packages.sh
source scripts/lib/winebench.sh
unset GTEST_OUTPUT

zv_ensure_packages
# "Ver.1.04 Rev.2" -> 1.04-rev2
version=$(sed -n 's/.*kVersionText = "Ver\.\([0-9.]*\) Rev\.\([0-9]*\)".*/\1-rev\2/p' \
  src/text/constants.h)
[[ -n $version ]] || { echo "package: no version in src/text/constants.h" >&2; exit 1; }
out=build/package
stage=$out/Zorvek32-$version
zip=dist/Zorvek32-$version.zip
rm -rf "$out"
mkdir -p "$stage" dist
log() { echo "== package: $*"; }

build() {  # build PRESET TARGET...
  local preset=$1
  shift
  cmake --preset "$preset" >"$out/$preset-configure.log" 2>&1 ||
    { cat "$out/$preset-configure.log"; return 1; }
  cmake --build --preset "$preset" --target "$@" >"$out/$preset-build.log" 2>&1 ||
    { grep -E 'error|FAILED' "$out/$preset-build.log" | head -40; return 1; }
}

# The help page's pictures: the screenshots the Wine tests take of the real windows.
log "pictures"
build win64 ui_win32_tests check_win32_tests
shots=build/win64/tests/screenshots
pictures=(setup_page_patterns setup_page_associate setup_page_other setup_page_recipients about_box
  warning_box warning_box_recipients confirm_window)
for p in "${pictures[@]}"; do rm -f "$shots/${p}_cp932.png"; done
if [[ -z ${ZV_BENCH_RUNNING:-} ]]; then
  zv_bench_locale
  zv_bench_prefix
  zv_bench_env
  zv_bench_xvfb_start
  trap 'zv_bench_xvfb_stop' EXIT
fi
zv_run64 build/win64/tests/ui_win32_tests.exe \
  --gtest_filter='SetupDialogTest.Pictures:AboutBox.DesignedWindowAndTexts:ConfirmFormTest.Picture' \
  >"$out/pictures.log"
zv_run64 build/win64/tests/check_win32_tests.exe --gtest_filter='WarningBox.Picture:WarningBox.RecipientsPicture' \
  >>"$out/pictures.log"
python3 scripts/lib/build_help.py docs/help/Zorvek32.help.html "$shots" "$stage/Zorvek32.html"

log "32-bit build"
targets=(Zorvek32)
# The rule tester, once its target exists.
if ninja -C build/win32 -t targets all 2>/dev/null | grep -q '^zorvek-check:' ||
  grep -rqs 'zorvek-check' src/tester/CMakeLists.txt; then
  targets+=(zorvek-check)
fi
build win32 "${targets[@]}"
cp build/win32/bin/Zorvek32.dll "$stage/"
if [[ " ${targets[*]} " == *" zorvek-check "* ]]; then
  tester=$(find build/win32 -name zorvek-check.exe -print -quit)
  [[ -n $tester ]] || { echo "package: zorvek-check.exe was not built" >&2; exit 1; }
  cp "$tester" "$stage/"
else
  echo "package: no zorvek-check target in this tree: packaged without the rule tester" >&2
fi
iconv -f UTF-8 -t CP932 docs/Zorvek32.txt | sed 's/$/\r/' >"$stage/Zorvek32.txt"
python3 - "$stage/Zorvek32.txt" <<'PY'
import re, sys
data = open(sys.argv[1], "rb").read()
data.decode("cp932")  # strict: raises on any byte sequence code page 932 does not define
if re.search(rb"\r(?!\n)|(?<!\r)\n", data) or not data.endswith(b"\r\n"):
    sys.exit("package: Zorvek32.txt has a line end other than CR LF")
lines = data.count(b"\r\n")
print(f"Zorvek32.txt: code page 932, {lines} lines, CR LF throughout")
PY
# The licence, with the line ends Windows editors expect.
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
bash scripts/check-dll.sh "$stage/Zorvek32.dll"

log "zip"
(cd "$stage" && LC_ALL=C sha256sum -- $(LC_ALL=C ls) >SHA256SUMS)
# Entries sorted, all dated at the commit's time, no owner or mode from this machine.
stamp=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)
rm -f dist/Zorvek32-*.zip
python3 - "$stage" "$zip" "$stamp" <<'PY'
import os, sys, time, zipfile
stage, target, stamp = sys.argv[1], sys.argv[2], int(sys.argv[3])
when = time.gmtime(max(stamp, 315532800))[:6]
with zipfile.ZipFile(target, "w") as z:
    for name in sorted(os.listdir(stage)):
        info = zipfile.ZipInfo(name, date_time=when)
        info.create_system = 0
        info.external_attr = 0
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(stage, name), "rb") as f:
            z.writestr(info, f.read(), compresslevel=9)
PY
unzip -l "$zip"
sha256sum "$zip"
echo "Zorvek32.dll: $(stat -c %s "$stage/Zorvek32.dll") bytes"
