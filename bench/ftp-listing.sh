#!/usr/bin/env bash
# Lists a folder whose listing is SIZE_MIB (default 64, the client's limit) of Unix
# listing text from the in-memory FTP server bench/FtpSender.cpp with tools/ftpget
# (which keeps the lines and parses every entry, as the updater does) and reports
# its peak memory, also as a multiple of the listing's size.
#
# Usage: bench/ftp-listing.sh [SIZE_MIB]
# Builds the two programs optimised in $UPDATER_BENCH_BUILD_DIR (default: build-bench) first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${UPDATER_BENCH_BUILD_DIR:-$root/build-bench}"
size_mib=${1:-64}
bytes=$((size_mib * 1024 * 1024))

. "$root/bench/ftp-sender.sh"

start=$(date +%s%N)
/usr/bin/time -f '%M' -o "$work/peak" "$build/tools/ftpget/ftpget" -u bench -p bench -n "$port" 127.0.0.1 >"$work/out"
end=$(date +%s%N)
peak_kib=$(cat "$work/peak")
echo "listing of $size_mib MiB: $(grep -m1 '^listing:' "$work/out"), $(grep -m1 '^entries:' "$work/out")"
echo "time $(( (end - start) / 1000000 )) ms, peak memory $peak_kib KiB =" \
    "$(awk -v k="$peak_kib" -v b="$bytes" 'BEGIN { printf "%.2f", k * 1024 / b }') times the listing"
