#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs every target at once for SECONDS each
# (default 10). Fails on a crash, a failed check, a leak in the project's code, a hang or a
# memory blow-up; each failure names the file its input was saved to.
#   scripts/fuzz.sh [SECONDS]
source "$(dirname "$0")/common.sh"

seconds="${1:-10}"
build="$ROOT/build-fuzz"

CC=clang CXX=clang++ cmake -S "$ROOT/tests/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$JOBS"

# Targets that save files sync each one; on a memory file system that costs nothing.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen SDL_NO_SIGNAL_HANDLERS=1 KORVANE_NO_MESSAGE_BOX=1
# intercept_tls_get_addr=0, as for every sanitizer process the tests start (why: tests/CMakeLists.txt).
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1:intercept_tls_get_addr=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The suppressions name libraries by file name: they hold with the fast unwinder and without a symbolizer.
export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"

mapfile -t targets < <(cd "$build" && find . -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x -printf '%f\n' | sort)
# A run with no target would pass while checking nothing.
if [ "${#targets[@]}" -eq 0 ]; then
  echo "No fuzz target was built in $build" >&2
  exit 1
fi
mkdir -p "$build/logs"
pids=()
for target in "${targets[@]}"; do
  # New inputs go to scratch/ (kept between runs); the seeds stay as the build made them.
  mkdir -p "$build/scratch/$target" "$build/artifacts/$target"
  timeout -s KILL $((seconds + 120)) "$build/$target" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/artifacts/$target/" \
    "$build/scratch/$target" "$build/corpus/$target" >"$build/logs/$target.log" 2>&1 &
  pids+=($!)
done

status=0
for i in "${!targets[@]}"; do
  target="${targets[$i]}"
  log="$build/logs/$target.log"
  result=0
  wait "${pids[$i]}" || result=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)"
  rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n1)"
  if [ "$result" -eq 0 ]; then
    printf '%-22s ok      %8s runs  %6s/s\n' "$target" "${runs:-?}" "${rate:-?}"
  else
    status=1
    printf '%-22s FAILED  (exit %s)\n' "$target" "$result"
    if [ "$result" -eq 137 ]; then
      echo "    killed after $((seconds + 120)) s: it hung where libFuzzer's own timeout could not see"
    fi
    # No line of interest (or more than the head takes) must not end the report here: the
    # other targets' results and the log's name still have to be printed.
    { grep -E "^==[0-9]+== ?(ERROR|WARNING)|^ERROR:|SUMMARY|fuzz check failed|runtime error|Test unit written to|ALARM|out-of-memory" \
      "$log" || true; } | head -n 12 | sed 's/^/    /'
    echo "    full log: $log"
  fi
done
exit $status
