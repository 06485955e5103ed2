#!/usr/bin/env bash
# Fuzzes every parser of outside text for the given time (seconds per target,
# default 60) and prints per target: execs, execs per second, corpus size and
# findings (crash, leak, timeout and out-of-memory inputs). Targets run one after
# another, or FUZZ_JOBS at a time; names after the time pick targets.
#   bench/fuzz.sh 300                  every target for five minutes
#   FUZZ_JOBS=2 bench/fuzz.sh 600 lrc listpayload
# The corpus grows in build-fuzz/fuzz-corpus/<target> (seeded from
# tests/fuzz/corpus/<target>); findings land in build-fuzz/fuzz-findings/<target>.
# A finding belongs in tests/fuzz/corpus/<target> once its fault is mended.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
jobs="${FUZZ_JOBS:-1}"

# clang and its libFuzzer runtime are needed here only, so they come on demand.
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in tests/fuzz/fuzz_*.cpp; do n="${f##*/fuzz_}"; targets+=("${n%.cpp}"); done
fi

export CCACHE_BASEDIR="$(cd .. && pwd)" CCACHE_NOHASHDIR=1
[ -f build-fuzz/build.ninja ] || cmake --preset fuzz >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}" >build-fuzz/fuzz-build.log 2>&1 \
  || { cat build-fuzz/fuzz-build.log; exit 1; }

# Leaks inside the targets are findings; a parser slower than a second on 16 KB
# of text is reported, one that needs 10 s or 2 GB is a finding.
run_one() {
  local t="$1"
  local corpus="build-fuzz/fuzz-corpus/$t" findings="build-fuzz/fuzz-findings/$t" log="build-fuzz/fuzz-$t.log"
  mkdir -p "$corpus" "$findings"
  touch "$log.start"   # findings of earlier runs stay, but only newer ones count
  build-fuzz/fuzz/fuzz_"$t" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
    -report_slow_units=1 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$corpus" "tests/fuzz/corpus/$t" >"$log" 2>&1 || true
  local execs rate files found slow
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  files=$(find "$corpus" -type f | wc -l)
  found=$(find "$findings" -type f -newer "$log.start" \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  slow=$(find "$findings" -type f -newer "$log.start" -name 'slow-unit-*' | wc -l)
  {
    echo "fuzz $t time: $seconds s"
    echo "fuzz $t execs: ${execs:-0}"
    echo "fuzz $t execs per second: ${rate:-0} /s"
    echo "fuzz $t corpus: $files files"
    echo "fuzz $t findings: $found (slow inputs: $slow)"
    find "$findings" -type f -newer "$log.start" | sort | sed "s|^|fuzz $t   |"
  }
}

status=0
running=0
for t in "${targets[@]}"; do
  [ -x "build-fuzz/fuzz/fuzz_$t" ] || { echo "fuzz $t: no such target" >&2; status=1; continue; }
  run_one "$t" >"build-fuzz/fuzz-$t.summary" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then wait -n || true; running=$((running - 1)); fi
done
wait
for t in "${targets[@]}"; do
  [ -f "build-fuzz/fuzz-$t.summary" ] && cat "build-fuzz/fuzz-$t.summary"
  if grep -q "^fuzz $t findings: [1-9]" "build-fuzz/fuzz-$t.summary" 2>/dev/null; then status=1; fi
done
exit $status
