#!/usr/bin/env bash
# Installs dependencies, builds, starts the unit simulator and the program
# linked to it over TCP on 127.0.0.1. Closing the window stops both.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
bash tools/build.sh
bin="$PWD/${BUILD_DIR:-build}/bin"
port=${DEMO_PORT:-2323}

"$bin/t27-unit-sim" --listen "127.0.0.1:$port" --quiet &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true' EXIT

# The demo keeps its own program directory so a user's settings stay untouched.
demo_dir=$(mktemp -d)
cp -r "$bin"/*.ini "$bin"/bmp "$demo_dir"/ 2>/dev/null || true
printf '1\r\n"127.0.0.1"\r\n1\r\n1500\r\n1500\r\n' > "$demo_dir/Daveri_ini.txt"
for _ in 1 2 3 4 5 6 7 8 9 10; do printf '""\r\n' >> "$demo_dir/Daveri_ini.txt"; done

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running the window under Xvfb (screenshot with: xwd -root -display :99)." >&2
  xvfb-run -n 99 -s "-screen 0 1280x1024x24" \
    "$bin/t27-controller" --program-dir "$demo_dir" --unit-port "$port" --open
  exit
fi
"$bin/t27-controller" --program-dir "$demo_dir" --unit-port "$port" --open
