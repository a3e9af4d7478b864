#!/bin/sh
# Soak: the whole program polls t27-unit-sim on every Monitor view and the
# cable page in turn for MINUTES (default 10), with a random fault armed every
# few seconds; prints requests, faults, recoveries, crashes and memory, and
# fails unless every fault was recovered, nothing crashed and the poll kept
# at least 60 % of its ceiling.
#   tools/soak.sh [MINUTES] [SEED]
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
build=${T27_SOAK_BUILD:-$here/build-soak}
minutes=${1:-10}
seed=${2:-27}
# A build directory of its own by default; an existing one (T27_SOAK_BUILD) is
# used as it is configured, and must include tests/faults.
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DT27_TEST_DIRS=faults >/dev/null || exit 2
fi
cmake --build "$build" --target t27_soak t27-unit-sim -j2 >/dev/null || exit 2
log=${T27_SOAK_LOG:-$(mktemp)}
QT_QPA_PLATFORM=offscreen "$build/bin/t27_soak" "$minutes" "$seed" 2>"$log"
status=$?
# A signal (crash, abort) shows as a status above 128.
if [ "$status" -gt 128 ]; then crashes=1; else crashes=0; fi
echo "crashes          $crashes"
# What went wrong, for a run nobody watched: the faults not recovered.
if [ "$status" -ne 0 ]; then grep -v '^QStandardPaths' "$log" | tail -n 40; fi
[ -n "${T27_SOAK_LOG:-}" ] || rm -f "$log"
exit "$status"
