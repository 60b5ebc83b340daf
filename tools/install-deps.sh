#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and benchmark.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev libgl-dev
  libsqlite3-dev libcups2-dev libcurl4-openssl-dev
  libzxing-dev
  libsimpleini-dev libcli11-dev libfmt-dev
  cups cups-daemon cups-client cups-bsd
  xvfb xauth fonts-dejavu-core
  fonts-urw-base35 poppler-utils
  libcsv-dev
  help2man dpkg-dev lintian file
  lrzsz                                   # black-box peer of the serial transfer tests
  clang libclang-rt-dev libfuzzer-14-dev  # fuzz targets of the serial transfers
  libpq-dev postgresql                    # storage on a database server; its private test server
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  echo "All build and test packages are installed."
  exit 0
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
