#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into ./build-fuzz (or $BUILD_DIR)
# and runs each one on a scratch copy of its seed corpus.
#
#   tools/fuzz.sh [SECONDS] [TARGET...]   each target SECONDS long (default 300)
#   tools/fuzz.sh --smoke [TARGET...]     each target 20 seconds (CI)
#   tools/fuzz.sh --merge [SECONDS] ...   afterwards fold new inputs that add
#                                         coverage into fuzz/corpus/<target>
#
# The committed corpus only changes with --merge. A crash, a leak, a
# sanitizer report, a broken invariant or a hang fails the run; the input
# that caused it is kept under build-fuzz/artifacts/<target>/ and the command
# that replays it is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build_dir=${BUILD_DIR:-build-fuzz}

seconds=300
merge=0
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
        --smoke) seconds=20 ;;
        --merge) merge=1 ;;
        -h | --help)
            sed -n '2,14p' "$0"
            exit 0
            ;;
        *[!0-9]*) targets+=("$1") ;;
        *) seconds=$1 ;;
    esac
    shift
done

if ! command -v clang++ > /dev/null; then
    echo "fuzz.sh: clang++ is needed (apt-get install clang)" >&2
    exit 2
fi

CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DT27_FUZZ=ON -DT27_BUILD_TESTS=OFF > /dev/null
cmake --build "$build_dir" --target fuzz -j2

if [ ${#targets[@]} -eq 0 ]; then
    for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failed=()
summary=()
for t in "${targets[@]}"; do
    bin="$root/$build_dir/fuzz/$t"
    seeds="$root/fuzz/corpus/$t"
    if [ ! -x "$bin" ] || [ ! -d "$seeds" ]; then
        echo "fuzz.sh: no target or corpus named '$t'" >&2
        failed+=("$t")
        continue
    fi
    work="$scratch/$t"
    artifacts="$root/$build_dir/artifacts/$t"
    mkdir -p "$work" "$artifacts"
    cp "$seeds"/* "$work"/
    log="$root/$build_dir/artifacts/$t.log"
    echo "== $t: ${seconds}s"
    status=0
    "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" > "$log" 2>&1 || status=$?
    last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
    runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}' || true)
    cov=$(echo "$last" | grep -oE 'cov: [0-9]+' || true)
    ft=$(echo "$last" | grep -oE 'ft: [0-9]+' || true)
    corp=$(echo "$last" | grep -oE 'corp: [0-9]+/[0-9]+[a-zA-Z]*' || true)
    if [ "$status" -ne 0 ]; then
        failed+=("$t")
        summary+=("$(printf '%-22s FAILED (exit %s), log %s' "$t" "$status" "$log")")
        grep -E 'ERROR|runtime error|invariant broken|Test unit written|SUMMARY' "$log" | head -10
        echo "   replay: $bin $artifacts/<file>"
        continue
    fi
    summary+=("$(printf '%-22s runs %-9s %-9s %-9s %s' "$t" "${runs:-?}" "$cov" "$ft" "$corp")")
    if [ "$merge" -eq 1 ]; then
        "$bin" -merge=1 "$seeds" "$work" >> "$log" 2>&1
        echo "   corpus now $(ls "$seeds" | wc -l) files"
    fi
done

echo
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz.sh: failed: ${failed[*]}" >&2
    exit 1
fi
