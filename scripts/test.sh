#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the normal build, the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# fuzz targets for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALVO_SANITIZE=ON -DTALVO_BENCH=OFF >/dev/null
cmake --build build-asan
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVO_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build build-fuzz

echo "== sanitizer build"
(cd build-asan && ctest -j"$jobs" --output-on-failure --timeout 300)
echo "== fuzz targets"
(cd build-fuzz && ctest -j"$jobs" --output-on-failure --no-tests=ignore --timeout 300)
echo "== tests"
(cd build && ctest -j"$jobs" --output-on-failure --timeout 300)
