#!/usr/bin/env bash
# Start-up cost of tolvu.exe's silent success path, against the floor of a
# minimal program that makes the same registry calls and nothing else
# (bench/minimal_registry.c). Prints figures; it is not a test and passes
# or fails nothing but its own set-up.
#
#   bench/startup.sh [PAIRS]          (default 30 pairs after 5 warm-up pairs)
#
# Both programs run under Wine in one private prefix (build/bench/wineprefix)
# with its wineserver kept alive, on a virtual display of their own,
# alternated in one loop (the order flips every pair). For each run it
# takes the wall time and the user+system CPU time of the Wine loader
# process (wait4, microseconds), and the CPU time that the prefix's
# long-lived processes (wineserver, services, ...) spent meanwhile
# (/proc/PID/task/*/schedstat, nanoseconds): a Windows program's CPU under
# Wine is split between its own process and the server.
set -euo pipefail

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
# shellcheck source=bench/wine_bench.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine_bench.sh"

readonly WARMUP=5
readonly TOLVU_ARGS=(add 'HKCU\Software\TolvuBench\Key' Name 123456 REG_DWORD)

pairs="${1:-30}"
[[ "$pairs" =~ ^[0-9]+$ && "$pairs" -ge 1 ]] || usage "[PAIRS]"

# --- build ------------------------------------------------------------------
bench_build
readonly MINIMAL="$BUILD/minimal_registry.exe"
# Built like tolvu.exe: optimised, stripped, GUI subsystem.
x86_64-w64-mingw32-gcc -O2 -s -mwindows -Wall -Wextra -o "$MINIMAL" \
  "$ROOT/bench/minimal_registry.c" -ladvapi32

imports() {
  x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | paste -sd ' ' -
}

echo "== Files"
printf '%-22s %9s bytes  imports: %s\n' "tolvu.exe" "$(stat -c %s "$TOLVU")" "$(imports "$TOLVU")"
printf '%-22s %9s bytes  imports: %s\n' "minimal_registry.exe" "$(stat -c %s "$MINIMAL")" "$(imports "$MINIMAL")"

# --- Wine -------------------------------------------------------------------
bench_start_wine

run_program() {  # run_program PROGRAM [ARGS...]: a quiet run that must succeed
  "$WINELOADER" "$@" </dev/null >/dev/null 2>&1 || die "$(basename "$1") failed (exit $?)"
}

registry_value() {  # the bench value as reg.exe shows it, or nothing
  "$WINELOADER" reg query 'HKCU\Software\TolvuBench\Key' /v Name 2>/dev/null |
    tr -d '\r' | awk '$1 == "Name" { print $2, $3 }'
}

clear_bench_key() {
  "$WINELOADER" reg delete 'HKCU\Software\TolvuBench' /f >/dev/null 2>&1 || true
}

# Warm up (the first run also starts the prefix's services), and check that
# both programs really write the value.
for program in TOLVU MINIMAL; do
  clear_bench_key
  if [[ $program == TOLVU ]]; then run_program "$TOLVU" "${TOLVU_ARGS[@]}"; else run_program "$MINIMAL"; fi
  [[ "$(registry_value)" == "REG_DWORD 0x1e240" ]] ||
    die "$program did not write REG_DWORD 123456 (reg query says: $(registry_value))"
done
for _ in $(seq "$WARMUP"); do
  run_program "$TOLVU" "${TOLVU_ARGS[@]}"
  run_program "$MINIMAL"
done

# The prefix's long-lived Wine processes, found by their environment.
background_pids=()
for dir in /proc/[0-9]*; do
  pid="${dir#/proc/}"
  [[ "$pid" == "$$" ]] && continue
  case "$(readlink "$dir/exe" 2>/dev/null)" in
    /usr/lib/wine/*) ;;
    *) continue ;;
  esac
  tr '\0' '\n' <"$dir/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
  background_pids+=("$pid")
done
[[ ${#background_pids[@]} -gt 0 ]] || die "found no wineserver for $WINEPREFIX"
background_names="$(for pid in "${background_pids[@]}"; do
  tr '\0' '\n' <"/proc/$pid/cmdline" | head -n 1 | sed 's|.*[/\\]||'
done | sort | uniq -c | awk '{ printf "%s%s%s", sep, $2, ($1 > 1 ? " x" $1 : ""); sep = ", " }')"

background_ns() {  # CPU nanoseconds used so far by the long-lived processes
  local total=0 pid file ns rest
  for pid in "${background_pids[@]}"; do
    for file in /proc/"$pid"/task/*/schedstat; do
      [[ -r "$file" ]] || continue
      read -r ns rest <"$file" || continue
      total=$((total + ns))
    done
  done
  echo "$total"
}

measure() {  # measure NAME PROGRAM [ARGS...]: appends "wall loader_cpu background_cpu"
  local name="$1" before after timing wall user sys
  shift
  before="$(background_ns)"
  "$CPU_TIME" "$WINELOADER" "$@" </dev/null >/dev/null 2>"$work_dir/timing" ||
    die "$name failed during the benchmark"
  after="$(background_ns)"
  timing="$(tail -n 1 "$work_dir/timing")"
  read -r wall user sys <<<"$timing"
  awk -v w="$wall" -v u="$user" -v s="$sys" -v b="$((after - before))" \
    'BEGIN { printf "%.6f %.6f %.6f\n", w, u + s, (b < 0 ? 0 : b) / 1e9 }' \
    >>"$work_dir/$name"
}

for i in $(seq "$pairs"); do
  if ((i % 2)); then
    measure tolvu "$TOLVU" "${TOLVU_ARGS[@]}"
    measure minimal "$MINIMAL"
  else
    measure minimal "$MINIMAL"
    measure tolvu "$TOLVU" "${TOLVU_ARGS[@]}"
  fi
done
clear_bench_key

percentile() {  # percentile P: the P-th percentile of the numbers on stdin
  sort -g | awk -v p="$1" '{ v[NR] = $1 }
    END { i = 1 + (NR - 1) * p / 100; j = int(i); f = i - j;
          print (j < NR ? v[j] + f * (v[j + 1] - v[j]) : v[j]) }'
}

column() {  # column FILE COLUMN: the column in milliseconds; 4 = loader + background
  awk -v c="$2" '{ print 1000 * (c == 4 ? $2 + $3 : $c) }' "$1"
}

echo
echo "== Median (and interquartile range) of $pairs alternated runs each under Wine ($(wine --version 2>/dev/null)), ms"
printf '%-22s %18s %18s %18s %18s\n' "" "wall" "loader CPU" "server etc. CPU" "total CPU"
for name in tolvu minimal; do
  label="tolvu.exe add"
  [[ $name == minimal ]] && label="minimal_registry.exe"
  printf '%-22s' "$label"
  for c in 1 2 3 4; do
    printf ' %7.1f (%4.1f-%4.1f)' "$(column "$work_dir/$name" $c | percentile 50)" \
      "$(column "$work_dir/$name" $c | percentile 25)" "$(column "$work_dir/$name" $c | percentile 75)"
  done
  echo
done

ratio() {  # ratio COLUMN: median tolvu / median minimal
  awk -v a="$(column "$work_dir/tolvu" "$1" | percentile 50)" \
    -v b="$(column "$work_dir/minimal" "$1" | percentile 50)" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'
}
pair_ratios() {  # pair_ratios COLUMN: tolvu / minimal within each pair
  paste -d ' ' <(column "$work_dir/tolvu" "$1") <(column "$work_dir/minimal" "$1") |
    awk '$2 > 0 { print $1 / $2 }'
}
echo
echo "CPU ratio tolvu/minimal (target: at most 1.10):"
echo "  of the medians:  $(ratio 4) on total CPU, $(ratio 2) on the loader process alone"
printf '  within pairs:    median %.2f, interquartile range %.2f-%.2f (total CPU)\n' \
  "$(pair_ratios 4 | percentile 50)" "$(pair_ratios 4 | percentile 25)" "$(pair_ratios 4 | percentile 75)"
echo "Wall ratio tolvu/minimal: $(ratio 1)"
echo "(server etc.: the prefix's long-lived processes: $background_names)"
