#!/usr/bin/env bash
# Builds the libFuzzer targets (the `fuzz` preset: clang 14, ASan + UBSan)
# and runs each for a bounded time, starting from the seed corpus in
# fuzz/corpus/<target>/ (copied, so the tree is not touched).
#
#   scripts/fuzz.sh            60 s per target
#   scripts/fuzz.sh 600        10 minutes per target
#   scripts/fuzz.sh 30 fuzz_traffic
#
# Exits non-zero when a target crashes, leaks, hits undefined behaviour or
# breaks one of its invariants; the input is kept in
# build/fuzz/artifacts/<target>/ and the log in build/fuzz/logs/<target>.log.
# Prints the executions of every target.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_properties fuzz_traffic fuzz_drawables fuzz_gauge fuzz_scenario fuzz_art)
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]}" >/dev/null

build=build/fuzz
# The module asks with new(std::nothrow) and copes with null: let huge
# requests fail instead of aborting. UBSan findings are fatal.
export ASAN_OPTIONS="allocator_may_return_null=1:detect_leaks=1:abort_on_error=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"

status=0
printf '%-18s %10s %12s %8s  %s\n' target seconds executions exec/s result
for target in "${targets[@]}"; do
  name="${target#fuzz_}"
  corpus="$build/corpus/$name"
  artifacts="$build/artifacts/$name"
  log="$build/logs/$target.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  if [ -d "fuzz/corpus/$name" ]; then
    cp -n fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null || true
  fi
  result=ok
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3000 \
      -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1; then
    result="FAILED (see $log)"
    status=1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  printf '%-18s %10s %12s %8s  %s\n' "$target" "$seconds" "${execs:-?}" "${rate:-?}" "$result"
done
exit $status
