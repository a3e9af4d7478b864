#!/usr/bin/env bash
# Builds the benchmarks (bench/) in ./build-bench (or $BENCH_BUILD_DIR) and runs
# them. Each prints its figure on its last line: a ratio of two things measured
# side by side in the same run, so a busy machine slows both. See
# docs/performance.md for what each one measures.
#   bash tools/bench.sh           the short runs (about five minutes)
#   bash tools/bench.sh --long    also resident memory over ten minutes of polling
#   bash tools/bench.sh --hardening
#                                 the short runs (without the minute-long probe) of
#                                 this build and of one with Debian's hardening flags
#                                 (build-bench-hardened, or $BENCH_HARDENED_DIR), each
#                                 right after the other, and start-up with -z now
set -euo pipefail
cd "$(dirname "$0")/.."

long=0
hardening=0
for arg in "$@"; do
  case "$arg" in
    --long) long=1 ;;
    --hardening) hardening=1 ;;
    -h|--help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench.sh: unknown option $arg" >&2; exit 64 ;;
  esac
done

if [ "$(id -u)" -eq 0 ]; then sudo_cmd=(); else sudo_cmd=(sudo); fi
if ! command -v edid-decode >/dev/null 2>&1; then
  echo "bench.sh: installing edid-decode (the yardstick of the EDID analysis run)" >&2
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends edid-decode
fi

build_dir=${BENCH_BUILD_DIR:-build-bench}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
  -DT27_BUILD_BENCH=ON >/dev/null
cmake --build "$build_dir" -j2 --target t27-bench-poll t27-bench-serial t27-bench-exec \
  t27-bench-minimal t27-bench-edid-core t27-bench-startup-parts t27-controller t27ctl t27-unit-sim
bin="$PWD/$build_dir/bin"
if [ "$hardening" -eq 1 ]; then
  # The same build type with dpkg-buildflags' flags added: what differs is the
  # hardening alone (fortify, stack protector, relro).
  # shellcheck source=tools/debian.sh
  source tools/debian.sh
  mapfile -t deb_flags < <(debian_cmake_flags)
  hardened_dir=${BENCH_HARDENED_DIR:-$build_dir-hardened}
  cmake -S . -B "$hardened_dir" -G Ninja "${deb_flags[@]}" \
    -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} -DT27_BUILD_BENCH=ON -DT27_BUILD_TESTS=OFF >/dev/null
  cmake --build "$hardened_dir" -j2 --target t27-bench-poll t27-bench-serial t27-bench-exec \
    t27-bench-minimal t27-bench-controller-now t27-controller t27ctl t27-unit-sim
  hbin="$PWD/$hardened_dir/bin"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A program folder for the start-up run: the shipped catalogues and pictures,
# settings selecting RS-232 (nothing is opened at start-up).
mkdir -p "$work/program"
cp "$bin"/*.ini "$work/program/"
cp -r "$bin/bmp" "$work/program/"
printf '0\r\n"127.0.0.1"\r\n1\r\n1500\r\n1500\r\n' > "$work/program/Daveri_ini.txt"
for _ in 1 2 3 4 5 6 7 8 9 10; do printf '""\r\n' >> "$work/program/Daveri_ini.txt"; done

# EDID files both tools read as raw bytes: the test images, plus the real
# displays' EDIDs when that folder is there (read in place, never copied):
# ../shared/edid-samples beside the project, or EDID_SAMPLES.
samples=${EDID_SAMPLES:-$PWD/../shared/edid-samples}
edid_files=(tests/data/edid/*.bin)
if [ -d "$samples" ]; then edid_files+=("$samples"/*.bin); fi

summary=()
failed=0
run() {
  local title=$1
  shift
  echo "== [$title]" >&2
  local status=0
  # Shown as it runs; a failed run's last line says why, and the other runs
  # still go ahead.
  "$@" | tee "$work/last.out" >&2 || status=$?
  [ "$status" -eq 0 ] || failed=1
  summary+=("[$title] $(tail -n 1 "$work/last.out")")
}

if [ "$hardening" -eq 1 ]; then
  # Each figure of the plain build, then at once the hardened build's; @BIN@
  # in the arguments stands for the tree's bin folder.
  both() {
    local title=$1 t b
    shift
    for t in plain hardened; do
      b=$bin
      [ "$t" = hardened ] && b=$hbin
      run "$title, $t" "${@//@BIN@/$b}"
    done
  }
  both "1 poll rate" @BIN@/t27-bench-poll rate 20
  both "2 EDID read" @BIN@/t27-bench-serial edid 7
  both "2 report" @BIN@/t27-bench-serial report 3
  both "3 start-up" @BIN@/t27-bench-exec startup 15 "$work/program" @BIN@/t27-controller \
    @BIN@/t27-bench-minimal
  # The two builds of the window program against each other, and -z now
  # against the same hardened build without it: direct ratios, twice.
  for round in 1 2; do
    run "3 start-up, hardened / plain ($round)" "$bin/t27-bench-exec" startup-ab 25 \
      "$work/program" "$hbin/t27-controller" "$bin/t27-controller"
    run "3 start-up, -z now / without ($round)" "$bin/t27-bench-exec" startup-ab 25 \
      "$work/program" "$hbin/t27-bench-controller-now" "$hbin/t27-controller"
  done
  both "4 EDID analysis" @BIN@/t27-bench-exec edid 5 @BIN@/t27ctl "$(command -v edid-decode)" \
    "${edid_files[@]}"
  echo
  echo "Summary ($(date -u +%Y-%m-%dT%H:%MZ), load average $(cut -d' ' -f1-3 /proc/loadavg)):"
  printf '  %s\n' "${summary[@]}"
  exit "$failed"
fi

run "1 poll rate" "$bin/t27-bench-poll" rate 20
run "2 EDID read" "$bin/t27-bench-serial" edid 7
run "2 report" "$bin/t27-bench-serial" report 3
run "3 start-up" "$bin/t27-bench-exec" startup 15 "$work/program" "$bin/t27-controller" \
  "$bin/t27-bench-minimal"
echo "== [3 diagnostic: where t27-controller's start-up goes]" >&2
for _ in 1 2 3; do "$bin/t27-bench-startup-parts" "$work/program" >&2 || true; done
run "4 EDID analysis" "$bin/t27-bench-exec" edid 5 "$bin/t27ctl" "$(command -v edid-decode)" \
  "${edid_files[@]}"
run "4 diagnostic: without Qt" "$bin/t27-bench-exec" edid 5 \
  "$bin/t27-bench-edid-core" "$(command -v edid-decode)" "${edid_files[@]}"
run "5 probe" "$bin/t27-bench-poll" probe 60
if [ "$long" -eq 1 ]; then
  run "5 memory" "$bin/t27-bench-poll" memory 600
fi

echo
echo "Summary ($(date -u +%Y-%m-%dT%H:%MZ), load average $(cut -d' ' -f1-3 /proc/loadavg)):"
printf '  %s\n' "${summary[@]}"
exit "$failed"
