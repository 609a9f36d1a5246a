#!/usr/bin/env bash
# Builds the fuzz harnesses of the file readers into build-fuzz/ (clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each for a fixed number
# of inputs, one after the other, at low priority.
#
#   scripts/fuzz-campaign.sh [--smoke] [RUNS] [HARNESS...]
#
# RUNS is the number of inputs per harness (default 2000000); HARNESS names some of
# settings_2d settings_3d language layout savegame halloffame bmp (default all).
# A campaign keeps its corpus in build-fuzz/corpus/HARNESS and adds to it; --smoke
# (scripts/test.sh) builds into build-fuzz-smoke/, so that it never disturbs a
# campaign, and starts from the seeds alone with a fixed random seed. Inputs that
# fail are kept in crashes/HARNESS/ of the build. Each harness's run count,
# executions per second and coverage are printed and appended to
# build-fuzz/campaign.txt. Exits non-zero when any harness failed.
set -euo pipefail
cd "$(dirname "$0")/.."

smoke=0
build=build-fuzz
if [ "${1:-}" = "--smoke" ]; then
    smoke=1
    build=build-fuzz-smoke
    shift
fi
# The harnesses change the current directory: every path given to them is absolute.
out=$PWD/$build
runs=2000000
if [ $# -gt 0 ] && [[ "$1" =~ ^[0-9]+$ ]]; then
    runs=$1
    shift
fi
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=(settings_2d settings_3d language layout savegame halloffame bmp)

CC=clang CXX=clang++ cmake -S . -B "$build" -DMJ_FUZZ=ON -DMJ_BUILD_GUI=OFF -DMJ_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice -n 10 cmake --build "$build" -j2 --target mj_fuzzers
rm -rf "$out/seeds"
"$out/mj_fuzz_seeds" "$out/seeds"

# The harnesses write a few files per input: a memory file system keeps that cheap.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
# A small quarantine keeps freed memory warm; nothing else is given up.
export ASAN_OPTIONS=quarantine_size_mb=16:max_malloc_fill_size=0:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=0
for harness in "${harnesses[@]}"; do
    case $harness in
        settings_2d | settings_3d) seeds=settings maxlen=4096 ;;
        language) seeds=language maxlen=8192 ;;
        layout) seeds=layout maxlen=4096 ;;
        savegame) seeds=savegame maxlen=9518 ;;
        halloffame) seeds=halloffame maxlen=1024 ;;
        bmp) seeds=bmp maxlen=16384 ;;
        *) echo "unknown harness: $harness" >&2; exit 2 ;;
    esac
    options=(-runs="$runs" -max_len="$maxlen" -timeout=30 -print_final_stats=1
             -artifact_prefix="$out/crashes/$harness/")
    if [ $smoke -eq 1 ]; then
        corpus=$(mktemp -d)
        options+=(-seed=1)
    else
        corpus=$out/corpus/$harness
    fi
    mkdir -p "$corpus" "$out/crashes/$harness" "$out/logs"
    log=$out/logs/$harness.log
    status=ok
    nice -n 10 "$out/mj_fuzz_$harness" "${options[@]}" "$corpus" "$out/seeds/$seeds" >"$log" 2>&1 || status=FAILED
    [ $smoke -eq 1 ] && rm -rf "$corpus"
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    edges=$( (grep -o 'cov: [0-9]*' "$log" || true) | tail -1 | cut -d' ' -f2)
    features=$( (grep -o 'ft: [0-9]*' "$log" || true) | tail -1 | cut -d' ' -f2)
    total=$(sed -n 's/.*(\([0-9]*\) inline 8-bit counters).*/\1/p' "$log" | head -1)
    line=$(printf '%-12s %-6s runs %-9s exec/s %-6s cov %s of %s edges, ft %s' "$harness" "$status" \
        "${executed:-?}" "${speed:-?}" "${edges:-?}" "${total:-?}" "${features:-?}")
    echo "$line"
    [ $smoke -eq 1 ] || echo "$(date -u +%FT%TZ) $line" >>"$out/campaign.txt"
    if [ $status != ok ]; then
        failed=1
        tail -40 "$log" >&2
    fi
done
exit $failed
