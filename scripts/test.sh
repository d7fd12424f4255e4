#!/usr/bin/env bash
# Checks that every include points downward between the source folders,
# builds everything with both toolchains and runs every test: native unit and
# end-to-end tests, the unit tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short run of the fuzz targets, and the
# Windows build's tests under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh all || exit 1
export LANG=C.UTF-8 LC_ALL=C.UTF-8
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"

passed=0 failed=0
run_build() {  # run_build NAME DIR TARGET... ; then ctest
  local name=$1 dir=$2; shift 2
  echo "=== $name: build"
  if ! cmake --build "$dir" "$@"; then
    echo "=== $name: BUILD FAILED"; failed=$((failed + 1)); return 1
  fi
}
run_ctest() {  # run_ctest NAME DIR [ctest args]
  local name=$1 dir=$2; shift 2
  echo "=== $name: tests"
  local out
  out=$(ctest --test-dir "$dir" --output-on-failure "$@" 2>&1)
  local rc=$?
  echo "$out" | grep -v -E '^\s*(Start|[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed)' | tail -n 40
  local total fails
  total=$(echo "$out" | sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' | tail -1)
  fails=$(echo "$out" | sed -n 's/.* \([0-9]*\) tests failed out of.*/\1/p' | tail -1)
  total=${total:-0}; fails=${fails:-0}
  [ "$rc" -ne 0 ] && [ "$fails" -eq 0 ] && fails=1
  passed=$((passed + total - fails)); failed=$((failed + fails))
}
configure() {  # configure DIR ARGS...
  local dir=$1; shift
  mkdir -p "$dir"
  if ! cmake -S . -B "$dir" -G Ninja "$@" >"$dir/configure.log" 2>&1; then
    cat "$dir/configure.log"; return 1
  fi
}

# with_display COMMAND...: COMMAND on an Xvfb display of its own, which
# Xvfb picks itself (-displayfd); the window tests then require it.
with_display() {
  local fifo n xvfb rc
  fifo=$(mktemp -u) && mkfifo "$fifo" || return 1
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$fifo" </dev/null >/dev/null 2>&1 &
  xvfb=$!
  # Ready once it names the display; an Xvfb that fails closes the pipe.
  read -r n <"$fifo" || n=""
  rm -f "$fifo"
  if [ -z "$n" ]; then
    echo "=== Xvfb did not start"; kill "$xvfb" 2>/dev/null; failed=$((failed + 1)); return 1
  fi
  DISPLAY=":$n" ORVIKA2_REQUIRE_DISPLAY=1 "$@"
  rc=$?
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  return "$rc"
}

mkdir -p build
start=$(date +%s)

echo "=== layers: every include points downward"
if python3 scripts/check_layers.py; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi

if configure build/native -DCMAKE_BUILD_TYPE=Release && run_build native build/native; then
  run_ctest native build/native -j2
  if [ -x build/native/tests/token_bench ]; then
    echo "=== benchmark: one verification code through CTokenLib and the in-memory simulated token"
    build/native/tests/token_bench --benchmark_min_time=0.2 2>&1 | grep -v -E '^\*\*\*|^---|^$' || failed=$((failed + 1))
  fi
else
  failed=$((failed + 1))
fi

if configure build/sanitize -DCMAKE_BUILD_TYPE=Debug -DORVIKA2_SANITIZE=ON -DORVIKA2_BENCHMARKS=OFF &&
   run_build sanitizers build/sanitize --target unit_tests; then
  echo "=== sanitizers: unit tests"
  if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 build/sanitize/tests/unit_tests --gtest_brief=1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
else
  failed=$((failed + 1))
fi

# A few seconds of every fuzz target over its seeds: one test in the tally.
echo "=== fuzz: every target over its seed corpus"
if scripts/fuzz.sh 5; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi

if configure build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
     -DORVIKA2_TEST_HOOKS=ON -DORVIKA2_NATIVE_BUILD_DIR="$root/build/native" && run_build windows build/windows; then
  # The window tests of win_tests need a display; the desktop end-to-end
  # scripts start displays of their own.
  # Each desktop script has its own display and prefix: two at a time.
  # The shared prefix is made first, alone, so that no test meets one that
  # is still booting.
  "$root/cmake/wine-run.sh" cmd /c exit >/dev/null 2>&1 </dev/null
  with_display run_ctest windows build/windows -j2
else
  failed=$((failed + 1))
fi
"${WINESERVER:-/usr/lib/wine/wineserver}" -k >/dev/null 2>&1 || true

echo "=== done in $(( $(date +%s) - start )) s"
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
