#!/usr/bin/env bash
# Times the updater's real main window (offscreen) running an update from a
# loopback FTP server (pyftpdlib), and tools/ftpget fetching the same files
# from the same server, side by side: one big file, then many small ones.
#
# Usage: bench/update-run.sh [BIG_MIB] [SMALL_FILES] [RUNS]
#        (defaults: 512 MiB, 2000 files of 4 KiB, 3 runs each; the best run counts)
# Builds optimised in $UPDATER_BENCH_BUILD_DIR (default: build-bench) first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${UPDATER_BENCH_BUILD_DIR:-$root/build-bench}"
big_mib=${1:-512}
small_files=${2:-2000}
runs=${3:-3}

source "$root/bench/update-sandbox.sh"

# ftpget NAMES...: the same files with tools/ftpget into an emptied folder; prints its milliseconds.
ftpget() {
    rm -rf "$work/out" && mkdir -p "$work/out"
    local args=() name start end
    for name in "$@"; do args+=(-g "$name"); done
    start=$(date +%s%N)
    "$build/tools/ftpget/ftpget" -s -u tovrin -p "$password" -n "$port" -o "$work/out" "${args[@]}" 127.0.0.1 quillmark \
        >/dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

# compare LABEL UNIT AMOUNT NAMES...: best of RUNS for both; prints rates and the
# ratio. The main window's rate is that of its file phase: ftpget runs no
# script update.
compare() {
    local label=$1 unit=$2 amount=$3
    shift 3
    local best_w=999999999 best_f=999999999 ms ms_w ms_run
    for i in $(seq "$runs"); do
        ms=$(ftpget "$@")
        ((ms < best_f)) && best_f=$ms
        read -r ms_w ms_run < <(window)
        [[ $ms_w =~ ^[0-9]+$ ]] || exit 1
        ((ms_w < best_w)) && best_w=$ms_w
        printf '  run %d: ftpget %6d ms | main window: file phase %6d ms, whole run %6d ms\n' "$i" "$ms" "$ms_w" "$ms_run"
    done
    awk -v l="$label" -v u="$unit" -v a="$amount" -v w="$best_w" -v f="$best_f" 'BEGIN {
        rw = a / (w / 1000); rf = a / (f / 1000)
        printf "%s: ftpget %.1f %s, main window %.1f %s, ratio %.2f (goal >= 0.80)\n", l, rf, u, rw, u, rw / rf }'
}

big="$work/big/quillmark"
mkdir -p "$big"
head -c $((big_mib * 1024 * 1024)) /dev/urandom >"$big/grande.bin"
touch -d '3 days ago 10:42' "$big/grande.bin"
serve "$big"
echo "one file of $big_mib MiB, active mode, $runs runs each (best run counts)"
compare "big file" "MiB/s" "$big_mib" grande.bin
rm -rf "$work/big"

small="$work/small/quillmark"
mkdir -p "$small"
names=()
for i in $(seq -w 1 "$small_files"); do
    head -c 4096 /dev/urandom >"$small/f$i.bin"
    names+=("f$i.bin")
done
touch -d '3 days ago 10:42' "$small"/*
serve "$small"
echo "$small_files files of 4 KiB, active mode, $runs runs each (best run counts)"
compare "small files" "files/s" "$small_files" "${names[@]}"
