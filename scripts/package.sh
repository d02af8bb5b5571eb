#!/usr/bin/env bash
# Builds the Windows program and its packages: the installer Tidewell-<version>-setup.exe, the
# Windows Installer package Tidewell-<version>.msi and the portable Tidewell-<version>-portable.zip,
# and prints where they are.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
trap 'rm -f "$PID_FILE"' EXIT

need_packages
build_windows
cmake --build "$WIN_BUILD" --target package
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WIN_BUILD/CMakeCache.txt")
echo "$WIN_BUILD/Tidewell-$version-setup.exe"
echo "$WIN_BUILD/Tidewell-$version.msi"
echo "$WIN_BUILD/Tidewell-$version-portable.zip"
