#!/usr/bin/env bash
# Fuzzing of the portable core (libFuzzer, AddressSanitizer, UBSan).
#
#   scripts/fuzz.sh TARGET SECONDS [libFuzzer options]   one run of one target
#   scripts/fuzz.sh --smoke SECONDS [REPORT-DIR]         every target, briefly (the test command);
#                                                        one Google-Test-style XML report each
#   scripts/fuzz.sh --merge TARGET                       fold a run's new inputs into the seeds
#   scripts/fuzz.sh --list                               the targets
#
# A run starts from the seeds in fuzz/corpus/TARGET and keeps what it finds in
# build/fuzz-work/TARGET; crashing inputs land in build/fuzz-work/TARGET/crashes/, its log in
# build/fuzz-work/TARGET/last-run.log (a short run's in build/fuzz-work/smoke/TARGET.log). Campaign
# runs are niced, since the machine is shared; the short runs are not, because the test command
# runs them beside a build and at the lowest priority they would hardly run at all. Each run
# appends a line to build/fuzz-work/runs.log: date, kind (run or smoke), target, seconds,
# executions, result; a run stopped with Ctrl-C or SIGTERM still reports its executions. The
# time-out per input (600 s) is generous: at the lowest priority on a busy machine a run can
# stall for minutes, and a run paused (SIGSTOP) while a benchmark measures counts the pause;
# replay a reported time-out alone (build/fuzz/TARGET_fuzz FILE) to tell a slow input from a
# stall.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/packages.sh

build="$root/build/fuzz"
work="$root/build/fuzz-work"

usage() {
  sed -n '2,9s/^# \{0,1\}//p' "$0" >&2
  exit 2
}

fuzz_build() {
  zv_ensure_packages >/dev/null
  if [[ ! -f $build/build.ninja ]]; then
    cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=None >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; return 1; }
  fi
  cmake --build "$build" >"$work/build.log" 2>&1 || { grep -E 'error|FAILED' "$work/build.log" | head -40; return 1; }
}

targets() {
  local f
  for f in fuzz/*_fuzz.cpp; do f=${f##*/}; echo "${f%_fuzz.cpp}"; done
}

# run TARGET SECONDS CORPUS-DIR [options]: prints libFuzzer's output to a log; returns its status.
run() {
  local target=$1 seconds=$2 corpus=$3
  shift 3
  local dict=()
  [[ -f fuzz/dict/$target.dict ]] && dict=("-dict=fuzz/dict/$target.dict")
  mkdir -p "$corpus" "$work/$target/crashes"
  # A short run logs apart: it must not truncate the log of a campaign running beside it.
  local log="$work/$target/last-run.log"
  [[ $kind == smoke ]] && log="$work/smoke/$target.log"
  local status=0 niceness=19
  [[ $kind == smoke ]] && niceness=0
  # No allocation stacks are recorded, which makes the targets' many small strings cheaper;
  # a failing input saved in crashes/ replays alone with them.
  ASAN_OPTIONS="malloc_context_size=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}" \
    nice -n "$niceness" "$build/${target}_fuzz" "$corpus" "fuzz/corpus/$target" "${dict[@]}" \
    -max_len=4096 -timeout=600 -rss_limit_mb=2048 -max_total_time="$seconds" \
    -print_final_stats=1 -artifact_prefix="$work/$target/crashes/" "$@" >"$log" 2>&1 || status=$?
  local execs
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  local verdict=ok
  if ((status == 72)); then
    verdict="stopped by hand, no finding"  # libFuzzer's exit code after SIGINT or SIGTERM
  elif ((status != 0)); then
    verdict="FAILED (status $status, see $log)"
  fi
  printf '%s %s %s %ss %s executions %s\n' "$(date -u +%FT%TZ)" "$kind" "$target" "$seconds" \
    "${execs:-?}" "$verdict" | tee -a "$work/runs.log"
  if ((status == 72)); then return 0; fi
  ((status == 0)) || { grep -E 'ERROR|fuzz check failed|SUMMARY|Test unit written' "$log" | head -20; }
  return "$status"
}

mkdir -p "$work"
kind=run
case ${1:-} in
  --list) targets ;;
  --smoke)
    seconds=${2:?seconds} reports=${3:-} kind=smoke
    fuzz_build
    failed=0
    for t in $(targets); do
      rm -rf "$work/smoke/$t"
      status=0
      run "$t" "$seconds" "$work/smoke/$t" || status=1
      failed=$((failed | status))
      if [[ -n $reports ]]; then
        mkdir -p "$reports"
        printf '<?xml version="1.0" encoding="UTF-8"?>\n<testsuites tests="1" failures="%d" errors="0" name="fuzz">\n  <testsuite name="fuzz_smoke" tests="1" failures="%d"><testcase name="%s"/></testsuite>\n</testsuites>\n' \
          "$status" "$status" "$t" >"$reports/$t.xml"
      fi
    done
    exit "$failed"
    ;;
  --merge)
    target=${2:?target}
    fuzz_build
    mkdir -p "$work/$target/corpus"
    "$build/${target}_fuzz" -merge=1 -max_len=4096 "fuzz/corpus/$target" "$work/$target/corpus"
    ;;
  -* | "") usage ;;
  *)
    target=$1 seconds=${2:?seconds}
    shift 2
    [[ -f fuzz/${target}_fuzz.cpp ]] || { echo "no target $target; targets: $(targets | xargs)" >&2; exit 2; }
    fuzz_build
    run "$target" "$seconds" "$work/$target/corpus" "$@"
    ;;
esac
