#!/usr/bin/env bash
# Cost of an import's own reading and checking, beside the registry editor's
# work: a generated registry file of 10,000 values of every common type
# (REG_SZ, REG_DWORD, REG_BINARY over continuation lines, hex(2), hex(7),
# hex(b), hex(0)) imported by the editor alone (regedit /s) and by tolvu.exe
# (which reads the file, runs the same editor and compares the registry with
# the file), alternated, under Wine. Prints figures; it is not a test and
# passes or fails nothing but its own set-up.
#
#   bench/import.sh [RUNS]          (default 5 of each after one warm-up)
#
# tolvu's time less the editor's is what the tool adds: its start, the
# reading of the file and the comparison. Memory: the tool's peak resident
# set (VmHWM, sampled every 10 ms while it runs), against the same for an
# import of a file of one value, beside the file's size.
set -euo pipefail

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
# shellcheck source=bench/wine_bench.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine_bench.sh"

readonly KEY='HKEY_CURRENT_USER\Software\TolvuImportBench'
readonly KEYS=100 PER_KEY=100

runs="${1:-5}"
[[ "$runs" =~ ^[0-9]+$ && "$runs" -ge 1 ]] || usage "[RUNS]"

bench_build
bench_start_wine

# utf16_file OUT: standard input as UTF-16LE with its byte-order mark.
utf16_file() {
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$1"
}

# The generated file: every seventh value of each type.
awk -v keys="$KEYS" -v per="$PER_KEY" -v root="$KEY" 'BEGIN {
  printf "Windows Registry Editor Version 5.00\r\n\r\n"
  for (k = 0; k < keys; k++) {
    printf "[%s\\Key%03d]\r\n", root, k
    for (v = 0; v < per; v++) {
      n = k * per + v; t = n % 7
      printf "\"Value%05d\"=", n
      if (t == 0) printf "\"text number %d with \\\"quotes\\\" and \\\\ back\"\r\n", n
      else if (t == 1) printf "dword:%08x\r\n", n
      else if (t == 2) {
        printf "hex:"
        for (b = 0; b < 48; b++) printf "%02x%s", (n + b) % 256, (b == 47 ? "\r\n" : (b % 16 == 15 ? ",\\\r\n  " : ","))
      }
      else if (t == 3) printf "hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,5c,00,%02x,00,00,00\r\n", 65 + n % 26
      else if (t == 4) printf "hex(7):61,00,00,00,62,00,%02x,00,00,00,00,00\r\n", 65 + n % 26
      else if (t == 5) printf "hex(b):%02x,00,00,00,00,00,00,01\r\n", n % 256
      else printf "hex(0):%02x\r\n", n % 256
    }
    printf "\r\n"
  }
}' | utf16_file "$work_dir/values.reg"
printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s\\One]\r\n"Value"=dword:1\r\n' "$KEY" |
  utf16_file "$work_dir/one.reg"


clear_bench_key() {
  "$WINELOADER" reg delete 'HKCU\Software\TolvuImportBench' /f >/dev/null 2>&1 || true
}

# measure NAME PROGRAM [ARGS...]: appends "wall_s peak_kib status" to
# NAME, from an empty bench key.
measure() {
  local name="$1" pid child="" peak=0 hwm status=0
  shift
  clear_bench_key
  (cd "$work_dir" && exec "$CPU_TIME" "$WINELOADER" "$@" </dev/null >/dev/null 2>"$work_dir/timing") &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    [[ -n "$child" ]] || child="$(pgrep -P "$pid" | head -n 1 || true)"
    if [[ -n "$child" ]]; then
      hwm="$(awk '/^VmHWM:/ { print $2 }' "/proc/$child/status" 2>/dev/null || true)"
      [[ -n "$hwm" && "$hwm" -gt "$peak" ]] && peak="$hwm"
    fi
    sleep 0.01
  done
  wait "$pid" || status=$?
  echo "$(tail -n 1 "$work_dir/timing" | awk '{ print $1 }') $peak $status" >>"$work_dir/$name"
}

measure warmup "$TOLVU" import values.reg
for i in $(seq "$runs"); do
  if ((i % 2)); then
    measure editor regedit /s values.reg
    measure tolvu "$TOLVU" import values.reg
  else
    measure tolvu "$TOLVU" import values.reg
    measure editor regedit /s values.reg
  fi
  measure small "$TOLVU" import one.reg
  measure editor_small regedit /s one.reg
done
clear_bench_key

median() {  # median FILE COLUMN
  awk -v c="$2" '{ print $c }' "$1" | sort -g |
    awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

size_kib=$(($(stat -c %s "$work_dir/values.reg") / 1024))
editor_s="$(median "$work_dir/editor" 1)"
tolvu_s="$(median "$work_dir/tolvu" 1)"
echo "== Import of $((KEYS * PER_KEY)) values in $KEYS keys ($size_kib KiB, UTF-16) under Wine ($(wine --version 2>/dev/null)), median of $runs"
printf '%-36s %9.3f s\n' "regedit /s alone" "$editor_s"
printf '%-36s %9.3f s   exit statuses: %s\n' "tolvu import (read, editor, check)" "$tolvu_s" \
  "$(awk '{ print $3 }' "$work_dir/tolvu" | sort -u | paste -sd ' ' -)"
awk -v t="$tolvu_s" -v e="$editor_s" 'BEGIN {
  printf "%-36s %9.3f s   = %.0f%% of the editor'"'"'s time (goal: at most 25%%)\n", "what the tool adds", t - e, (e > 0 ? 100 * (t - e) / e : 0) }'
small_s="$(median "$work_dir/small" 1)"
editor_small_s="$(median "$work_dir/editor_small" 1)"
awk -v t="$small_s" -v e="$editor_small_s" -v a="$tolvu_s" -v b="$editor_s" 'BEGIN {
  printf "%-36s %9.3f s   (tolvu %.3f s, regedit %.3f s: its start and launch)\n", "the same for a file of one value", t - e, t, e
  printf "%-36s %9.3f s   = %.0f%% of the editor'"'"'s time\n", "reading and checking 10,000 values", (a - b) - (t - e), (b > 0 ? 100 * ((a - b) - (t - e)) / b : 0) }'
printf '%-36s %9d KiB\n' "tolvu peak resident, this file" "$(median "$work_dir/tolvu" 2)"
printf '%-36s %9d KiB\n' "tolvu peak resident, one value" "$(median "$work_dir/small" 2)"
awk -v a="$(median "$work_dir/tolvu" 2)" -v b="$(median "$work_dir/small" 2)" -v s="$size_kib" 'BEGIN {
  printf "%-36s %9d KiB   = %.1f times the file (goal: a few)\n", "the difference", a - b, (s > 0 ? (a - b) / s : 0) }'
