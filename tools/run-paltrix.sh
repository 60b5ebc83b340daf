#!/usr/bin/env bash
# Starts the label program in a ready working directory.
#
#   tools/run-paltrix.sh [program arguments...]
#
# The working directory (default ./run under the repository, or $PALTRIX_RUN_DIR)
# is created with its Data folder when missing; existing files are left as they
# are, so running the script again keeps the data. The program is taken from
# $PALTRIX_EXECUTABLE, else from the build folder $PALTRIX_BUILD_DIR (default
# ./build). Without a display the program runs under a virtual X server
# (xvfb-run), or, when that is missing, on Qt's offscreen platform.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
run_dir=${PALTRIX_RUN_DIR:-$repo/run}
build_dir=${PALTRIX_BUILD_DIR:-$repo/build}
program=${PALTRIX_EXECUTABLE:-$build_dir/app/ui/paltrix}

if [ ! -x "$program" ]; then
  echo "run-paltrix: no program at $program; build it first:" >&2
  echo "  cmake -S . -B build -G Ninja && cmake --build build --target paltrix" >&2
  exit 1
fi
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")

mkdir -p "$run_dir/Data"
cd "$run_dir"
echo "run-paltrix: working directory $run_dir"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]; then
  exec "$program" "$@"
fi

if command -v xvfb-run >/dev/null 2>&1; then
  echo "run-paltrix: no display (neither DISPLAY nor WAYLAND_DISPLAY is set);" \
    "running on a virtual X server (xvfb-run). The window is not visible; close it with" \
    "Ctrl+C here." >&2
  exec xvfb-run -a "$program" "$@"
fi

echo "run-paltrix: no display and no xvfb-run; running on Qt's offscreen platform." \
  "The window is not visible; close it with Ctrl+C here." >&2
QT_QPA_PLATFORM=offscreen exec "$program" "$@"
