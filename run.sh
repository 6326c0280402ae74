#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Hutchlore.
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh

cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DHUTCHLORE_TESTS=OFF -DHUTCHLORE_BENCH=OFF > build-run.log 2>&1 \
  || { cat build-run.log; exit 1; }
cmake --build build-run -j"$(nproc)" --target hutchlore

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found. Start Hutchlore from a desktop session (or under xvfb-run)." >&2
  exit 1
fi
exec ./build-run/hutchlore "$@"
