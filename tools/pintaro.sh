#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program ("run") or every test
# ("test"), or builds the Debian package ("package").
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake make pkg-config qt6-base-dev libqt6svg6-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
          libavformat-dev libavcodec-dev libswscale-dev libavutil-dev libx264-dev
          qt6-l10n-tools qt6-tools-dev qt6-translations-l10n)
case "${1:-run}" in
  # The packaging test validates the installed desktop entry and metainfo.
  test) packages+=(desktop-file-utils appstream) ;;
  # cpack finds the package's dependencies with dpkg-shlibdeps.
  package) packages+=(dpkg-dev) ;;
esac
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

jobs=$(nproc)
case "${1:-run}" in
  run)
    cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DPINTARO_BUILD_TESTS=OFF -DPINTARO_BUILD_BENCH=OFF >/dev/null
    cmake --build build/release -j "$jobs"
    shift || true
    exec build/release/pintaro "$@"
    ;;
  test)
    build_dir=build/test
    extra=()
    if [ "${PINTARO_SANITIZE:-0}" = 1 ]; then
      build_dir=build/sanitize
      extra+=(-DPINTARO_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPINTARO_BUILD_BENCH=OFF)
    fi
    werror=OFF; [ "${CI:-}" = true ] && werror=ON
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DPINTARO_WERROR=$werror "${extra[@]}" >/dev/null
    cmake --build "$build_dir" -j "$jobs"
    cd "$build_dir"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs" --timeout 600
    ;;
  package)
    cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DPINTARO_BUILD_TESTS=OFF -DPINTARO_BUILD_BENCH=OFF >/dev/null
    cmake --build build/release -j "$jobs"
    (cd build/release && cpack)
    ls build/release/*.deb
    ;;
  *)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
