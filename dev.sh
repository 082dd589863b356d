#!/usr/bin/env bash
# One entry point for a fresh machine: installs what is missing, builds, runs or tests.
#   ./dev.sh run        install, build and start torquix-commander
#   ./dev.sh test       install, build and run every test
#   ./dev.sh sanitize   build with ASan/UBSan (clang) and run the tests there
#   ./dev.sh fuzz [s]   run every fuzz target for s seconds (default 60)
#   ./dev.sh bench      run every benchmark program and print its figures
#   ./dev.sh subproject build the tree inside another CMake project, tests off
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
JOBS=$(nproc)

configure_build() {  # dir, extra cmake args...
  local dir=$1; shift
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$ROOT/$dir" -j "$JOBS"
}

build_main() { configure_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo; }
build_sanitized() {
  configure_build build-asan -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DTORQUIX_SANITIZE=ON -DTORQUIX_FUZZ=ON -DTORQUIX_BENCH=OFF
}

sanitizer_env() {
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
  export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
}

cmd=${1:-test}
case "$cmd" in
  run)
    "$ROOT/scripts/install-deps.sh"
    build_main
    # It reads config.ini, its pictures, mapping files and extras/ from beside itself.
    cd "$ROOT/build/commander/app" && exec ./torquix-commander
    ;;
  test)
    "$ROOT/scripts/install-deps.sh"
    build_main
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$ROOT/build" --output-on-failure -j "$JOBS"
    ;;
  sanitize)
    "$ROOT/scripts/install-deps.sh"
    build_sanitized
    sanitizer_env
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$ROOT/build-asan" --output-on-failure -j "$JOBS"
    ;;
  fuzz)
    seconds=${2:-60}
    [[ -f "$ROOT/build-asan/fuzzers.txt" ]] || build_sanitized
    sanitizer_env
    "$ROOT/scripts/run-fuzzers.sh" "$ROOT/build-asan/fuzzers.txt" "$seconds"
    ;;
  bench)
    [[ -f "$ROOT/build/benchmarks.txt" ]] || build_main
    status=0
    while IFS= read -r b; do
      [[ -n "$b" ]] || continue
      echo "== $(basename "$b")"
      "$b" || status=1
    done < "$ROOT/build/benchmarks.txt"
    exit $status
    ;;
  subproject)
    "$ROOT/scripts/install-deps.sh"
    rm -rf "$ROOT/build-subproject"
    cmake -S "$ROOT/scripts/subproject" -B "$ROOT/build-subproject" -G Ninja \
      -DTORQUIX_TESTS=OFF -DTORQUIX_BENCH=OFF >/dev/null
    cmake --build "$ROOT/build-subproject" -j "$JOBS"
    ;;
  *)
    sed -n '2,9p' "$0"; exit 2 ;;
esac
