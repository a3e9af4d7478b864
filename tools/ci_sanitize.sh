#!/usr/bin/env bash
# CI's sanitizer run: every test that needs no window, built with ASan and
# UBSan. (tools/sanitize.sh runs the whole suite, windows included; it takes
# longer than CI's time allows next to the normal build.)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build-asan-ci}
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
suites="protocol;sim;edid;analyser;generator"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DT27_SANITIZE=ON \
    "-DT27_TEST_DIRS=$suites" > /dev/null
cmake --build "$build_dir" -j2 --target t27-unit-sim t27_protocol_tests t27_sim_tests \
    t27_edid_tests t27_analyser_tests t27_generator_tests
cd "$build_dir"
ctest --output-on-failure -j2 --timeout 600
