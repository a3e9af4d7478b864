#!/usr/bin/env bash
# The Windows build kept honest without a Windows machine: cross-compiles the
# Qt-free libraries (protocol core, EDID, analyser decoders, cable rules, file
# formats), the Qt-free "t27ctl edid" front end and their unit tests with
# mingw-w64, and runs them under wine. Build folder: build-mingw (or
# $MINGW_BUILD_DIR). CI runs it with a ten-minute cap; --deps only installs
# the packages it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${MINGW_BUILD_DIR:-build-mingw}

bash tools/need_packages.sh g++-mingw-w64-x86-64-posix wine64 googletest
# CI installs first, then runs the rest against its time cap.
[ "${1:-}" = "--deps" ] && exit 0

# Build type None: no optimisation and no debug information, which halves the
# compile time on a cold cache; the tests need neither.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DT27_QT_FREE=ON -DCMAKE_BUILD_TYPE=None "${launcher[@]}"
cmake --build "$build_dir" -j2

# A wine prefix of our own, made once, so nothing of the user's is touched.
export WINEPREFIX=${WINEPREFIX:-$PWD/$build_dir/wineprefix}
export WINEDEBUG=-all
wine=/usr/lib/wine/wine64
"$wine" wineboot --init >/dev/null 2>&1 || true

echo "== unit tests under wine"
(cd "$build_dir" && ctest --output-on-failure --timeout 120)

echo "== t27ctl.exe under wine"
bin=$build_dir/bin
"$wine" "$bin/t27ctl.exe" --version
"$wine" "$bin/t27ctl.exe" edid report tests/data/edid/hdmi-tv-hd.bin >"$build_dir/report.txt"
head -3 "$build_dir/report.txt"
"$wine" "$bin/t27ctl.exe" edid check --json tests/data/edid/hdmi-tv-hd.bin
# Windows has no exec: the front end starts the helper as a child and must
# quote its arguments so the child's C runtime splits them back unchanged. A
# test program stands in for the helper: it writes its report to the path it
# is given, which holds spaces. t27ctl reads its command line first, so the
# test's flags go to it as the LINEs of a send (after --, as they start
# with -); the test program ignores the words it does not know.
cp "$bin/t27_cable_logic_tests.exe" "$bin/t27ctl-link.exe"
rm -rf "$build_dir/spawn check"
mkdir -p "$build_dir/spawn check"
"$wine" "$bin/t27ctl.exe" --tcp 127.0.0.1 send -- --gtest_brief=1 --gtest_filter='CableTimes*' \
    "--gtest_output=xml:$build_dir/spawn check/the  report.xml" >/dev/null
rm -f "$bin/t27ctl-link.exe"
if [ ! -s "$build_dir/spawn check/the  report.xml" ]; then
    echo "tools/cross_windows.sh: the helper did not get its arguments whole" >&2
    ls -la "$build_dir/spawn check" >&2
    exit 1
fi
echo "t27ctl.exe started its helper with an argument holding spaces"

# t27-unit-sim.exe serves TCP through Winsock (its pseudo-terminal front end
# is POSIX only): a request from this side of loopback gets the unit's
# answer, and timing 113 (one past the shipped catalogue's 112, below the
# limit it keeps without a catalogue) is refused, so it found the catalogues
# beside it.
echo "== t27-unit-sim.exe under wine, asked over loopback TCP"
sim_out=$build_dir/sim.out
"$wine" "$bin/t27-unit-sim.exe" --listen 127.0.0.1:0 --quiet >"$sim_out" 2>&1 &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null || true' EXIT
port=
for _ in $(seq 1 100); do
    port=$(tr -d '\r' <"$sim_out" | sed -n 's/^LISTEN 127.0.0.1:\([0-9]*\)$/\1/p')
    [ -n "$port" ] && break
    sleep 0.2
done
[ -n "$port" ] || { echo "tools/cross_windows.sh: the simulator did not start" >&2; cat "$sim_out" >&2; exit 1; }
exec 3<>"/dev/tcp/127.0.0.1/$port"
ask() {  # request -> the reply line without CR LF
    printf '%s\r' "$1" >&3
    local line
    IFS= read -r -t 10 line <&3 || true
    printf '%s' "${line%$'\r'}"
}
fw=$(ask '$fwver?')
refused=$(ask '$timing 113')
exec 3<&-
kill $sim_pid 2>/dev/null || true
echo "\$fwver? -> $fw; \$timing 113 -> $refused"
if [ "$fw" != '$fwver? 2.18.07' ] || [ "$refused" != '$timing err_param' ]; then
    echo "tools/cross_windows.sh: the Windows simulator answered wrongly" >&2
    exit 1
fi
