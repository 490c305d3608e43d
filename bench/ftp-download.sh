#!/usr/bin/env bash
# Downloads one file over loopback from the in-memory FTP server bench/FtpSender.cpp,
# with the updater's client (tools/ftpget) and with curl side by side, both in active
# mode, and reports each one's throughput and peak memory. Our client is also run on a
# small file to show that its peak memory does not grow with the file's size.
#
# Usage: bench/ftp-download.sh [SIZE_MIB] [RUNS]    (defaults: 512 MiB, 3 runs each)
# Builds the two programs optimised in $UPDATER_BENCH_BUILD_DIR (default: build-bench) first.
# Needs curl and /usr/bin/time (tools/setup installs both).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${UPDATER_BENCH_BUILD_DIR:-$root/build-bench}"
size_mib=${1:-512}
runs=${2:-3}
bytes=$((size_mib * 1024 * 1024))
small_bytes=$((16 * 1024 * 1024))

. "$root/bench/ftp-sender.sh"

# run LABEL FILE_BYTES COMMAND...: times one download, checks its size, prints "seconds peak_kib".
run() {
    local file_bytes=$1; shift
    rm -f "$work"/out/* 2>/dev/null || true
    mkdir -p "$work/out"
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/peak" timeout 600 "$@" >/dev/null
    end=$(date +%s%N)
    local got
    got=$(stat -c %s "$work/out/$file_bytes")
    if [[ $got -ne $file_bytes ]]; then echo "short download: $got of $file_bytes bytes" >&2; exit 1; fi
    echo "$(( (end - start) / 1000000 )) $(cat "$work/peak")"
}
ours() {
    run "$1" "$build/tools/ftpget/ftpget" -s -u bench -p bench -n "$port" -g "$1" -o "$work/out" 127.0.0.1
}
theirs() {
    run "$1" curl -s -S --disable-eprt -P 127.0.0.1 -u bench:bench -o "$work/out/$1" "ftp://127.0.0.1:$port/$1"
}
mibps() { awk -v mib="$1" -v ms="$2" 'BEGIN { printf "%.0f", mib / (ms / 1000) }'; }

# The server must not be the bottleneck: what it delivers when nothing is written.
capacity=$(curl -s -S --disable-eprt -P 127.0.0.1 -u bench:bench -o /dev/null -w '%{speed_download}' \
    "ftp://127.0.0.1:$port/$bytes")
echo "server capacity (curl into /dev/null): $(awk -v b="$capacity" 'BEGIN { printf "%.0f", b / 1048576 }') MiB/s"
echo "downloading $size_mib MiB over loopback, active mode, $runs runs each (best run counts)"
best_ours=0 best_curl=0 peak_ours=0 peak_curl=0
for i in $(seq "$runs"); do
    read -r ms_c kib_c < <(theirs "$bytes")
    read -r ms_o kib_o < <(ours "$bytes")
    rate_c=$(mibps "$size_mib" "$ms_c")
    rate_o=$(mibps "$size_mib" "$ms_o")
    printf 'run %d: curl %5s MiB/s (%5d ms, peak %6d KiB) | ftpget %5s MiB/s (%5d ms, peak %6d KiB)\n' \
        "$i" "$rate_c" "$ms_c" "$kib_c" "$rate_o" "$ms_o" "$kib_o"
    ((rate_c > best_curl)) && best_curl=$rate_c
    ((rate_o > best_ours)) && best_ours=$rate_o
    ((kib_c > peak_curl)) && peak_curl=$kib_c
    ((kib_o > peak_ours)) && peak_ours=$kib_o
done
read -r _ small_peak < <(ours "$small_bytes")
echo "best: curl $best_curl MiB/s, ftpget $best_ours MiB/s, ratio $(awk -v a="$best_ours" -v b="$best_curl" 'BEGIN { printf "%.2f", a / b }')"
echo "peak memory: ftpget $peak_ours KiB for $size_mib MiB, $small_peak KiB for 16 MiB; curl $peak_curl KiB"
