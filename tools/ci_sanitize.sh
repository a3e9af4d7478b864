#!/usr/bin/env bash
# CI's sanitizer run: the whole suite, the window and end-to-end tests
# included, built with ASan and UBSan (tools/sanitize.sh into build-asan-ci).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build-asan-ci} exec bash tools/sanitize.sh "$@"
