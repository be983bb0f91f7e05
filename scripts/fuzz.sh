#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang and libFuzzer (into build-fuzz/, or $FUZZ_BUILD_DIR)
# and runs each for a given time.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     default: 60 seconds, every target
#
# Environment: FUZZ_JOBS targets at once (default 2); CMAKE_BUILD_PARALLEL_LEVEL for the build.
# Each target runs on its own corpus build-fuzz/corpus/<target>/ (kept between runs) seeded
# from fuzz/seeds/<target>/; a line "// fuzz-options: ..." in fuzz/fuzz_<target>.cpp adds
# libFuzzer options. An input that makes a target fail is written to
# build-fuzz/artifacts/<target>/; the summary at the end gives, per target, the executions and
# the failing inputs. A log per target is kept in build-fuzz/logs/.
#
# Adding a target: put fuzz/fuzz_<name>.cpp beside the others (LLVMFuzzerTestOneInput, and
# LLVMFuzzerInitialize when it needs set-up) and, where it helps, a few small valid inputs in
# fuzz/seeds/<name>/. Nothing else: the build picks the file up.
# Keeping a failure: after mending the fault, copy the input (minimised with
# "build-fuzz/bin/fuzz_<name> -minimize_crash=1 -runs=10000 INPUT" where that helps) to
# tests/fuzz_regressions/<name>/ under a name that says what it held. The ordinary test run
# replays that folder and the seeds through the same target (tests "fuzz_regressions.<name>",
# program fuzz_replay, no clang needed).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-60}"
shift || true

CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DHARVSIM_FUZZ=ON >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in "$root"/fuzz/fuzz_*.cpp; do
    name="$(basename "$src" .cpp)"
    targets+=("${name#fuzz_}")
  done
fi
cmake --build "$build" --target $(printf 'fuzz_%s ' "${targets[@]}") >/dev/null

export QT_QPA_PLATFORM=offscreen
# Targets that read files write them first: on a memory file system that costs no disk time.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
# Allocations the system's font configuration keeps for the life of the process are no leaks.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
mkdir -p "$build/logs"
run_one() {
  local name="$1"
  local corpus="$build/corpus/$name" artifacts="$build/artifacts/$name/"
  mkdir -p "$corpus" "$artifacts"
  local options
  options="$(sed -n 's|^// fuzz-options:||p' "$root/fuzz/fuzz_$name.cpp" | head -1)"
  local seeds=()
  [ -d "$root/fuzz/seeds/$name" ] && seeds+=("$root/fuzz/seeds/$name")
  # shellcheck disable=SC2086
  "$build/bin/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts" \
    $options "$corpus" "${seeds[@]}" >"$build/logs/$name.log" 2>&1 || true
}

jobs="${FUZZ_JOBS:-2}"
for name in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do sleep 1; done
  run_one "$name" &
done
wait

echo "target                 executions  failing inputs"
for name in "${targets[@]}"; do
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$name.log" | tail -1)"
  found="$(find "$build/artifacts/$name" -type f | wc -l)"
  printf '%-22s %10s  %s\n' "$name" "${runs:-?}" "$found"
done
