#!/usr/bin/env bash
# Installs what is needed, builds the program and writes the Debian package
# build/package/vantorix_<version>_amd64.deb (cpack -G DEB, configured in cmake/packaging.cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR="${BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD_DIR" --target vantorix vantorix_package_files -j "$(nproc)"
rm -rf "$BUILD_DIR/package"
cpack --config "$BUILD_DIR/CPackConfig.cmake" -B "$BUILD_DIR/package"
ls "$BUILD_DIR"/package/vantorix_*.deb
