#!/usr/bin/env bash
# Builds the Debian package of everything the project installs and checks it with lintian.
#
#   tools/build-deb.sh [--build-dir DIR] [--output DIR] [--no-build]
#
# --build-dir  build folder to package (default: build-deb, configured here in Release mode
#              without tests and benchmarks)
# --output     where the .deb goes (default: the build folder)
# --no-build   package the build folder as it is (its programs must be built already)
#
# Prints the path of the package. Fails when lintian reports an error.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build-deb
output_dir=
build=1
while [ $# -gt 0 ]; do
  case $1 in
    --build-dir) build_dir=$2; shift 2 ;;
    --output) output_dir=$2; shift 2 ;;
    --no-build) build=0; shift ;;
    -h|--help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "build-deb.sh: unknown argument $1 (try --help)" >&2; exit 2 ;;
  esac
done
output_dir=${output_dir:-$build_dir}

if [ "$build" -eq 1 ]; then
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
      -DPALTRIX_BUILD_BENCHMARKS=OFF
  fi
  cmake --build "$build_dir" --parallel "$(nproc)"
fi

mkdir -p "$output_dir"
output_dir=$(cd "$output_dir" && pwd)
(cd "$build_dir" && cpack -G DEB -B "$output_dir" >&2)
rm -rf "$output_dir/_CPack_Packages"
package=$(find "$output_dir" -maxdepth 1 -name '*.deb' -newer "$build_dir/CMakeCache.txt" -print \
  | sort | tail -n 1)
if [ -z "$package" ]; then
  echo "build-deb.sh: cpack made no package" >&2
  exit 1
fi

if command -v lintian >/dev/null; then
  # Errors fail the build; warnings are shown.
  lintian --no-tag-display-limit "$package" >&2 || {
    echo "build-deb.sh: lintian reports errors in $package" >&2
    exit 1
  }
else
  echo "build-deb.sh: lintian is not installed; the package was not checked" >&2
fi
echo "$package"
