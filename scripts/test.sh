#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test:
# native unit tests (also under ASan and UBSan), the Windows tests under
# Wine, and the end-to-end tests of the real program under Wine and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh

jobs=$(nproc)
for preset in native native-asan win64 win32; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

echo "== native unit tests"
ctest --test-dir build/native --output-on-failure -j "$jobs"
echo "== native unit tests under ASan and UBSan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/native-asan --output-on-failure -j "$jobs"

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
