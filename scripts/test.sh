#!/usr/bin/env bash
# Runs every test of the three builds: the native core (plain and under ASan+UBSan, then a short
# run of every fuzz target), the x86_64 Windows build under wine64, the release package with its
# help page (rendered by headless Chromium, links and pictures checked), and the shipping 32-bit
# DLL (static check and the emulated 32-bit end-to-end runs of the DLL from the package).
# Installs what is missing first. Ends with "N passed, M failed".
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/packages.sh
source scripts/lib/winebench.sh

zv_ensure_packages

results="$root/build/test-results"
rm -rf "$results"
mkdir -p "$results"
failed_suites=()

# The steps that keep one core busy at most (the Wine prefix's first boot, the fuzz targets'
# short runs) run in the background beside the builds, which use every core.
(zv_bench_locale && zv_bench_prefix) >"$results/wine-setup.log" 2>&1 &
wine_setup=$!

build_preset() {
  local preset=$1
  echo "== $preset: build"
  cmake --preset "$preset" >"$results/$preset-configure.log" 2>&1 ||
    { cat "$results/$preset-configure.log"; return 1; }
  cmake --build --preset "$preset" -- -k 0 >"$results/$preset-build.log" 2>&1 ||
    { grep -E 'error|FAILED' "$results/$preset-build.log" | head -40; return 1; }
}

# Runs a built preset's tests (PARALLEL at once); every Google Test program writes an XML report.
test_preset() {
  local preset=$1 xmlprefix=$2 parallel=${3:-1}
  echo "== $preset: test"
  GTEST_OUTPUT="xml:$xmlprefix" ctest --preset "$preset" --timeout 900 --parallel "$parallel" ||
    failed_suites+=("$preset")
}

build_preset native && test_preset native "$results/native/" 2 || failed_suites+=(native)
build_preset asan && test_preset asan "$results/asan/" 2 || failed_suites+=(asan)

# Every fuzz target for a few seconds from its seeds, which include every input that ever
# failed (scripts/fuzz.sh runs the longer campaigns). The runs are timed, so sharing the cores
# with the next build costs them executions, not time.
echo "== fuzz: smoke (beside the next build)"
scripts/fuzz.sh --smoke 4 "$results/fuzz" >"$results/fuzz-smoke.log" 2>&1 &
fuzz_smoke=$!

wait "$wine_setup" || { cat "$results/wine-setup.log"; failed_suites+=(wine-setup); }
zv_bench_env
zv_bench_xvfb_start
trap 'zv_bench_xvfb_stop' EXIT
# Windows programs see the report folder through drive Z:.
winresults="Z:${results//\//\\}"
win64_built=1
build_preset win64 || { failed_suites+=(win64); win64_built=0; }
# The Windows tests drive real windows: they run with both cores to themselves.
wait "$fuzz_smoke" || failed_suites+=(fuzz)
cat "$results/fuzz-smoke.log"
((win64_built)) && test_preset win64 "$winresults\\win64\\"

# The release package; the 32-bit end-to-end run loads the plug-in unpacked from it.
echo "== package"
ZV_BENCH_RUNNING=1 scripts/package.sh >"$results/package.log" 2>&1 ||
  { tail -30 "$results/package.log"; failed_suites+=(package); }
grep -E '^dll static check|bytes$|Zorvek32-.*\.zip$' "$results/package.log" || true

# The help page as a browser shows it, and its links and pictures checked without network.
echo "== help page"
page=$(ls build/package/Zorvek32-*/Zorvek32.html 2>/dev/null | head -1 || true)
mkdir -p "$results/help"
if [[ -n $page ]]; then
  python3 scripts/lib/check_help.py "$page" "$results/help/help_page.xml" || failed_suites+=(help)
  timeout 120 chromium --headless --no-sandbox --disable-gpu --no-first-run --hide-scrollbars \
    --window-size=1280,10000 --screenshot="$results/help/help_page.png" "file://$root/$page" \
    >"$results/help/chromium.log" 2>&1 && [[ -s $results/help/help_page.png ]] &&
    echo "rendered $results/help/help_page.png" || failed_suites+=(help-render)
else
  failed_suites+=(help)
fi

build_preset win32 && test_preset win32 "$winresults\\win32\\" || failed_suites+=(win32)

# Totals over every report: test cases passed and failed.
passed=0
failures=0
while IFS= read -r -d '' xml; do
  tests=$(grep -o '<testsuites [^>]*' "$xml" | grep -o ' tests="[0-9]*"' | grep -o '[0-9]*' || echo 0)
  fails=$(grep -o '<testsuites [^>]*' "$xml" | grep -o ' failures="[0-9]*"' | grep -o '[0-9]*' || echo 0)
  errors=$(grep -o '<testsuites [^>]*' "$xml" | grep -o ' errors="[0-9]*"' | grep -o '[0-9]*' || echo 0)
  passed=$((passed + tests - fails - errors))
  failures=$((failures + fails + errors))
done < <(find "$results" -name '*.xml' -print0)
# Suites without a report (script checks, crashed programs) count through ctest's verdicts.
if ((${#failed_suites[@]})); then
  echo "failing builds: ${failed_suites[*]}"
  ((failures > 0)) || failures=1
fi
echo "Summary: $passed passed, $failures failed"
((failures == 0))
