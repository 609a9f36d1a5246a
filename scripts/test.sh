#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build,
# then the core and view tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the automatic-play tests under
# ThreadSanitizer. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir build --output-on-failure -j2

cmake -S . -B build-asan -DMJ_SANITIZE=ON -DMJ_BUILD_GUI=OFF -DMJ_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j"$(nproc)"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j2

# Automatic play and its locking with the window, under ThreadSanitizer.
cmake -S . -B build-tsan -DMJ_TSAN=ON -DMJ_BUILD_GUI=OFF -DMJ_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan -j2 --target mj_core_tests mj_core3d_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/mj_core_tests --gtest_filter='Autoplay*'
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/mj_core3d_tests --gtest_filter='Autoplay*'
