#!/usr/bin/env bash
# Builds the kiosk, generates the demo kiosk folder and starts the kiosk on it. Without a
# display it runs on a virtual one, saves a screenshot, prints its path and stops.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/install-deps.sh build demo
cmake -S . -B build/demo -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUINDLE_TESTS=OFF
cmake --build build/demo -j"$(nproc)"

demo=$top/build/demo/kiosk
rm -rf "$demo"
build/demo/tools/demo-kiosk/quindle-demo-kiosk --output "$demo"
cp build/demo/app/quindle "$demo/quindle"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting the kiosk on $demo (a right-button release on the backdrop ends it)"
  exec "$demo/quindle" --program-folder "$demo"
fi

display=:${QUINDLE_DEMO_DISPLAY:-97}
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$kiosk" "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
DISPLAY=$display QT_QPA_PLATFORM=xcb "$demo/quindle" --program-folder "$demo" &
kiosk=$!
sleep "${QUINDLE_DEMO_SECONDS:-5}"
shot=$top/build/demo/screenshot.png
DISPLAY=$display import -window root "$shot"
echo "Screenshot of the kiosk's start screen: $shot"
