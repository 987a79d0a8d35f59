#!/usr/bin/env bash
# The main job: builds the plug-in and sends the sample mails of examples/ through it in the
# substitute host under Wine, printing (in UTF-8) what the plug-in did with each, and saves a
# picture of one warning box as build/demo/warning.png. Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/packages.sh
source scripts/lib/winebench.sh

zv_ensure_packages
mkdir -p build/demo
rm -f build/demo/warning.bmp build/demo/warning.png
cmake --preset win64 >build/demo/configure.log 2>&1 || { cat build/demo/configure.log; exit 1; }
cmake --build --preset win64 --target mailora_demo >build/demo/build.log 2>&1 ||
  { grep -E 'error|FAILED' build/demo/build.log | head -40; exit 1; }

zv_bench_locale
zv_bench_prefix
zv_bench_env
zv_bench_xvfb_start
trap 'zv_bench_xvfb_stop' EXIT
# Windows programs see this tree through drive Z:.
winpath() { local p; p=$(realpath "$1"); echo "Z:${p//\//\\}"; }
# The host prints code page 932; show it as UTF-8. (Output goes through a file: a Wine process
# that lingers would hold a pipe open.)
status=0
zv_run64 build/win64/bin/Mailora.exe "$(winpath examples)\\" "$(winpath build/demo)\\warning.bmp" \
  >build/demo/output.txt || status=$?
iconv -f CP932 -t UTF-8 build/demo/output.txt
if [[ -f build/demo/warning.bmp ]]; then
  convert build/demo/warning.bmp build/demo/warning.png
  rm -f build/demo/warning.bmp
  echo "saved build/demo/warning.png"
fi
exit "$status"
