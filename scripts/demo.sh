#!/usr/bin/env bash
# The main job: builds the plug-in and sends sample mails through it in the substitute host under
# Wine, printing what the plug-in did. Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/packages.sh
source scripts/lib/winebench.sh

zv_ensure_packages
mkdir -p build/demo
cmake --preset win64 >build/demo/configure.log 2>&1 || { cat build/demo/configure.log; exit 1; }
cmake --build --preset win64 --target mailora_demo >build/demo/build.log 2>&1 ||
  { grep -E 'error|FAILED' build/demo/build.log | head -40; exit 1; }

zv_bench_locale
zv_bench_prefix
zv_bench_env
zv_bench_xvfb_start
trap 'zv_bench_xvfb_stop' EXIT
# The host prints code page 932; show it as UTF-8. (Output goes through a file: a Wine process
# that lingers would hold a pipe open.)
status=0
zv_run64 build/win64/bin/Mailora.exe "$@" >build/demo/output.txt || status=$?
iconv -f CP932 -t UTF-8 build/demo/output.txt
exit "$status"
