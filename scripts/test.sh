#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build,
# then the core and view tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, automatic play against the window under
# ThreadSanitizer, and a short run of every file reader's fuzz harness.
# Exits non-zero on any failure.
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

# Automatic play and the board lock under ThreadSanitizer: the engine's
# player against a window thread of the tests, the 2D view drawn from two
# threads, and the real shell of mahjong-2d (its window on the offscreen
# platform) played while it is resized, repainted, ticked, refocused, its
# dialogs change the settings and clicks stop it. Suppressions cover only
# the libraries the game does not build (Qt and the system's graphics).
cmake -S . -B build-tsan -DMJ_TSAN=ON -DMJ_BUILD_BENCH=OFF -DMJ_BUILD_3D=OFF >/dev/null
cmake --build build-tsan -j2 --target mj_core_tests mj_core3d_tests mj_view2d_tests mj_shell_tests mj_sound_tests
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp"
build-tsan/tests/mj_core_tests --gtest_filter='Autoplay*'
build-tsan/tests/mj_core3d_tests --gtest_filter='Autoplay*'
build-tsan/tests/mj_view2d_tests --gtest_filter='Concurrency*'
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy MJ_SHELL_SUITE=concurrency,window \
    build-tsan/tests/mj_shell_tests
# Effects from two threads and the start-up music loaded on its own thread, on
# SDL's disk driver (the tests choose it).
build-tsan/tests/mj_sound_tests

# Every file reader's libFuzzer harness, 2000 inputs each (about a minute).
scripts/fuzz-campaign.sh --smoke 2000
