#!/usr/bin/env bash
# Builds the whole tree with AddressSanitizer and UndefinedBehaviorSanitizer
# into ./build-asan (or $BUILD_DIR) and runs every test there, the widget
# tests on the offscreen platform included. The first report stops the
# offending process, so a sanitizer finding always fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build-asan}

export QT_QPA_PLATFORM=offscreen
# Child processes (t27-unit-sim, t27ctl) inherit these, so the end-to-end
# tests check them too.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

# Test discovery runs the test programs during the build, so the build
# already needs the options above.
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DT27_SANITIZE=ON "$@"
cmake --build "$build_dir" -j2

cd "$build_dir"
ctest --output-on-failure -j2 --timeout 600
