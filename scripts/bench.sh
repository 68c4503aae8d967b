#!/usr/bin/env bash
# Benchmarks, each figure against a baseline measured in the same run:
#   1. start-up of the tool against a bare window program (under Wine)
#   2. how long starting a program blocks the window, and its answers
#      during Add with Wine's net.exe and with a 4 s stand-in
#   3. cost of the printer lists per printer (native, and 2 vs 100 queues under Wine)
#   4. size and imports of the stripped executables
#   5. a converged attach (nothing to do) against status --json on the same
#      machine: the attach may take at most 1.5 times as long
# Usage: bench.sh [SECTION...]   (all five when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
sections=" ${*:-1 2 3 4 5} "
want() { [[ $sections == *" $1 "* ]]; }

bash scripts/install-deps.sh
cmake -S . -B build/bench-native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench-native -j "$(nproc)" --target qv_bench_lists
for preset in win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done
w64="$root/build/win64"
tool="$w64/bin/QuorvinConfig.exe"

source scripts/wine-env.sh
envdir="$root/build/bench-env"
rm -rf "$envdir"
qv_env_init "$envdir"
trap qv_env_cleanup EXIT
qv_start_cups
qv_add_printer Office_PS
qv_add_printer Second_PS
lpadmin -d Office_PS
qv_start_xvfb
qv_make_prefix
qv_start_wineserver

# A machine as after a first start: Ghostscript found, all keys present.
drive_c="$WINEPREFIX/drive_c"
mkdir -p "$drive_c/gs/gs8.50/bin" "$drive_c/Pkg"
touch "$drive_c/gs/gs8.50/bin/gsdll32.dll" "$drive_c/gs/gs8.50/bin/gswin32c.exe"
wine reg add 'HKLM\SOFTWARE\AFPL Ghostscript\8.50' /v GS_DLL /t REG_SZ \
  /d 'C:\gs\gs8.50\bin\gsdll32.dll' /reg:32 /f >/dev/null
cp "$tool" "$drive_c/Pkg/QuorvinConfig.exe"
cp "$w64/bench/qv_bare_window.exe" "$w64/bench/qv_wine_bench.exe" "$drive_c/Pkg/"
# One start writes every key; the benchmark then closes it.
wine 'C:\Pkg\qv_wine_bench.exe' startup 'C:\Pkg\QuorvinConfig.exe' 'C:\Pkg\qv_bare_window.exe' 1 \
  >/dev/null 2>&1 || true

if want 1; then
  echo "== 1. start-up"
  wine 'C:\Pkg\qv_wine_bench.exe' startup 'C:\Pkg\QuorvinConfig.exe' 'C:\Pkg\qv_bare_window.exe' \
    "${QV_BENCH_PAIRS:-10}"
fi

if want 2; then
  echo "== 2. responsiveness"
  wine 'C:\Pkg\qv_wine_bench.exe' startblock "${QV_BENCH_STARTS:-20}"
  runs=${QV_BENCH_RUNS:-5}
  wine 'C:\Pkg\qv_wine_bench.exe' respond 'C:\Pkg\QuorvinConfig.exe' "Wine's net.exe" "$runs"
  if [ -n "${QV_BENCH_EARLIER_TOOL:-}" ]; then
    # Another build of the tool (an earlier commit's, say), measured the same way.
    cp "$QV_BENCH_EARLIER_TOOL" "$drive_c/Pkg/Earlier.exe"
    wine 'C:\Pkg\qv_wine_bench.exe' respond 'C:\Pkg\Earlier.exe' "Wine's net.exe, earlier build" \
      "$runs"
  fi
  # The tool starts NET from the system folder: a stand-in that sleeps 4 s
  # per call takes the place of Wine's net.exe there (Wine runs its own
  # unless told otherwise).
  cp "$w64/bench/qv_slow_program.exe" "$drive_c/windows/system32/net.exe"
  wine reg add 'HKCU\Software\Wine\DllOverrides' /v net.exe /t REG_SZ /d native /f >/dev/null
  wine 'C:\Pkg\qv_wine_bench.exe' respond 'C:\Pkg\QuorvinConfig.exe' "a 4 s stand-in" 2
  if [ -n "${QV_BENCH_EARLIER_TOOL:-}" ]; then
    wine 'C:\Pkg\qv_wine_bench.exe' respond 'C:\Pkg\Earlier.exe' "a 4 s stand-in, earlier build" 2
  fi
fi

if want 3; then
  echo "== 3. printer lists"
  "$root/build/bench-native/bench/qv_bench_lists"
  for n in 2 100; do
    lpstat -p 2>/dev/null | awk '{print $2}' | while read -r q; do lpadmin -x "$q"; done
    for i in $(seq 1 "$n"); do qv_add_printer "Queue_$i"; done
    lpadmin -d Queue_1
    wine 'C:\Pkg\qv_wine_bench.exe' lists 'C:\Pkg\QuorvinConfig.exe' "$n" | tee "$envdir/lists-$n.txt"
  done
  a=$(awk '/per printer/ {print $NF}' "$envdir/lists-2.txt")
  b=$(awk '/per printer/ {print $NF}' "$envdir/lists-100.txt")
  [ -n "$a" ] && [ -n "$b" ] && awk -v a="$a" -v b="$b" \
    'BEGIN { printf "  per-printer ratio, 100 queues against 2: %.2f\n", b / a }'
fi

if want 4; then
  echo "== 4. size"
  for arch in win64:x86_64 win32:i686; do
    preset=${arch%%:*} prefix=${arch##*:}
    exe="$root/build/$preset/bin/QuorvinConfig.exe"
    stripped="$root/build/$preset/QuorvinConfig.stripped.exe"
    "$prefix-w64-mingw32-strip" -o "$stripped" "$exe"
    printf '  %s: %d KB stripped (target <= 512 KB); imports: %s\n' "$preset" \
      $(( $(stat -c %s "$stripped") / 1024 )) \
      "$("$prefix-w64-mingw32-objdump" -p "$stripped" | awk '/DLL Name/ {printf "%s ", $3}')"
  done
fi

if want 5; then
  echo "== 5. a converged attach against status --json"
  cp "$w64/bin/QuorvinConfigCmd.exe" "$drive_c/Pkg/"
  : >"$drive_c/Pkg/qvpdfrun.exe"
  : >"$drive_c/Pkg/QVPDFDistiller.exe"
  cmd='C:\Pkg\QuorvinConfigCmd.exe'
  wine "$cmd" fix-port >/dev/null 2>&1
  wine "$cmd" attach Office_PS >/dev/null 2>&1  # the one attach that changes something
  # Alternated, so that a slower moment of the machine weighs on both.
  status_ms=0 attach_ms=0
  for _ in $(seq "${QV_BENCH_CONSOLE_RUNS:-10}"); do
    t0=$(date +%s%N)
    wine "$cmd" status --json >/dev/null 2>&1 || true
    t1=$(date +%s%N)
    wine "$cmd" attach Office_PS --json >"$envdir/attach.json" 2>&1
    t2=$(date +%s%N)
    status_ms=$((status_ms + (t1 - t0) / 1000000))
    attach_ms=$((attach_ms + (t2 - t1) / 1000000))
  done
  grep -q '"changed": false' "$envdir/attach.json" || { echo "  attach did not converge"; exit 1; }
  awk -v s="$status_ms" -v a="$attach_ms" 'BEGIN {
    printf "  status --json %d ms, converged attach %d ms in all: %.2f times (target <= 1.5)\n",
      s, a, a / s }'
fi
