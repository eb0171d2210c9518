#!/usr/bin/env bash
# Runs the end-to-end suite (e2e_tests, which loads the module as a shared
# library, and drawables_tests) and a short soak under Valgrind memcheck:
# zero leaks and zero memory errors, or the script fails.
#
#   scripts/leakcheck.sh                 e2e_tests, drawables_tests, soak_tests
#   scripts/leakcheck.sh properties_tests render_tests   other programs
#
# Built in build/h-soak (RelWithDebInfo, no sanitizers: Valgrind needs an
# uninstrumented build). Memcheck is used rather than LeakSanitizer because
# the sanitizer build already runs LSan on every CTest run; Valgrind adds
# what ASan cannot see (reads of uninitialised memory, e.g. a record field
# or a host word the module forgot to set) on the optimised code as shipped.
# The font stack's process-lifetime caches are suppressed in
# tests/soak/valgrind.supp.
set -euo pipefail
cd "$(dirname "$0")/.."

programs=("$@")
if [ ${#programs[@]} -eq 0 ]; then
  programs=(e2e_tests drawables_tests soak_tests)
fi

build=build/h-soak
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${programs[@]}" -j2 >/dev/null

mkdir -p "$build/leakcheck"
status=0
for program in "${programs[@]}"; do
  log="$build/leakcheck/$program.log"
  start=$(date +%s)
  # A short soak (CS_SOAK_CYCLES); the long run is CS_SOAK_LONG=1 without Valgrind.
  if CS_SOAK_CYCLES=2000 valgrind --tool=memcheck --leak-check=full \
      --errors-for-leak-kinds=definite,indirect,possible --show-leak-kinds=definite,indirect,possible \
      --track-origins=yes --error-exitcode=1 --num-callers=30 \
      --suppressions=tests/soak/valgrind.supp \
      "$build/tests/$program" --gtest_brief=1 >"$log" 2>&1; then
    result=ok
  else
    result="FAILED (see $log)"
    status=1
  fi
  summary=$(grep -E "ERROR SUMMARY" "$log" | tail -1 | sed 's/^==[0-9]*== //')
  printf '%-18s %4ss  %s  %s\n' "$program" "$(( $(date +%s) - start ))" "$result" "$summary"
done
exit $status
