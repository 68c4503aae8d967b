#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test:
# native unit tests (also under ASan and UBSan), the Windows tests under
# Wine, and the end-to-end tests of the real program under Wine and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh

echo "== formatting (clang-format, the project's .clang-format)"
find about app bench config console ghostscript health platform printing tests ui \
  \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run --Werror

jobs=$(nproc)
for preset in native native-asan fuzz win64 win32; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

echo "== native unit tests"
ctest --test-dir build/native --output-on-failure -j "$jobs"
echo "== native unit tests under ASan and UBSan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/native-asan --output-on-failure -j "$jobs"

echo "== fuzzing the form for ${QV_FUZZ_SECONDS:=60} s"
fuzzdir="$root/build/fuzz-run"
rm -rf "$fuzzdir" && mkdir -p "$fuzzdir/corpus"
(cd "$fuzzdir" && "$root/build/fuzz/tests/fuzz/qv_form_fuzzer" -max_total_time="$QV_FUZZ_SECONDS" \
  -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 corpus "$root/tests/fuzz/corpus" \
  >fuzz.log 2>&1) || { tail -n 60 "$fuzzdir/fuzz.log"; exit 1; }
grep -E '^(Done|stat::number_of_executed_units)' "$fuzzdir/fuzz.log"

echo "== Windows tests under Wine"
source scripts/wine-env.sh
envdir="$root/build/test-env"
rm -rf "$envdir"
qv_env_init "$envdir"
trap qv_env_cleanup EXIT
qv_start_cups
qv_start_xvfb
qv_make_prefix
# Scenarios that need a world of their own copy this prefix.
export QV_BASE_PREFIX="$WINEPREFIX"
qv_start_wineserver
ctest --test-dir build/win64 --output-on-failure -j "$jobs" --timeout 300
