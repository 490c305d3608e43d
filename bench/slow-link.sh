#!/usr/bin/env bash
# The main window (offscreen) and lftp mirror --only-newer, both in active
# mode, on the same loopback FTP server and files, the server handling every
# command DELAY_MS later as over a store's internet line: the first run
# (everything fetched) and the up-to-date run, with the commands each sent and
# the ratios. Then, on loopback without delay, the first run of SCALE_FILES
# files of 1 KiB into an empty folder against one of ten times as many.
#
# Usage: bench/slow-link.sh [DELAY_MS] [FILES] [RUNS] [SCALE_FILES]
#        (defaults: 25 ms, 300 files of 4 KiB and one of 4 MiB, 3 runs each
#        with the best counting, 2000)
# Builds optimised in $UPDATER_BENCH_BUILD_DIR (default: build-bench) first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${UPDATER_BENCH_BUILD_DIR:-$root/build-bench}"
delay=${1:-25}
files=${2:-300}
runs=${3:-3}
scale_files=${4:-2000}
command -v lftp >/dev/null || { echo "lftp is missing: run tools/setup" >&2; exit 1; }

source "$root/bench/update-sandbox.sh"

# make_files FOLDER COUNT BYTES: COUNT files of BYTES random bytes, dated alike.
make_files() {
    mkdir -p "$1"
    /usr/bin/python3 -c '
import os, sys
folder, count, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
for i in range(count):
    with open(os.path.join(folder, "f%06d.bin" % i), "wb") as f:
        f.write(os.urandom(size))
' "$1" "$2" "$3"
    find "$1" -type f -exec touch -d '3 days ago 10:42' {} +
}

# The commands the last run sent, by kind.
commands() {
    printf '%d commands (%s)' "$(wc -l <"$work/commands")" \
        "$(sort "$work/commands" | uniq -c | sort -rn | awk '{ printf "%s%s %d", sep, $2, $1; sep = ", " }')"
}

# mirror DEST: lftp mirror --only-newer of the update folder into DEST; prints its milliseconds.
mirror() {
    local start end
    : >"$work/commands"
    start=$(date +%s%N)
    lftp -u "tovrin,$password" -p "$port" \
        -e "set ftp:passive-mode off; mirror --only-newer quillmark $1; quit" 127.0.0.1 >/dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

# phase [keep]: the main window's file phase in milliseconds.
phase() {
    : >"$work/commands"
    local ms_w ms_run
    read -r ms_w ms_run < <(window "$@")
    [[ $ms_w =~ ^[0-9]+$ ]] || exit 1
    echo "$ms_w"
}

# best_of LABEL COMMAND...: runs COMMAND RUNS times, prints each time and the
# commands of the last run, and sets best to the least milliseconds.
best_of() {
    local label=$1 ms i
    shift
    best=999999999
    for i in $(seq "$runs"); do
        ms=$("$@")
        ((ms < best)) && best=$ms
        printf '  %s, run %d: %6d ms\n' "$label" "$i" "$ms"
    done
    printf '  %s: %s\n' "$label" "$(commands)"
}

served="$work/served/quillmark"
make_files "$served" "$files" 4096
head -c $((4 << 20)) /dev/urandom >"$served/grande.bin"
touch -d '3 days ago 10:42' "$served/grande.bin"
serve "$served" "$delay"
echo "$files files of 4 KiB and one of 4 MiB, every command delayed $delay ms, active mode, best of $runs"

mirror_first() { rm -rf "$work/mirror" && mirror "$work/mirror"; }
mirror_again() { mirror "$work/mirror"; }
window_first() { phase; }
window_again() { phase keep; }
best_of "lftp mirror, first run" mirror_first
lftp_first=$best
best_of "lftp mirror, up to date" mirror_again
lftp_again=$best
best_of "main window, first run" window_first
window_first_ms=$best
best_of "main window, up to date" window_again
window_again_ms=$best
awk -v lf="$lftp_first" -v la="$lftp_again" -v wf="$window_first_ms" -v wa="$window_again_ms" 'BEGIN {
    printf "first run: lftp mirror %d ms, main window %d ms, ratio %.2f (goal <= 1.10)\n", lf, wf, wf / lf
    printf "up to date: lftp mirror %d ms, main window %d ms, ratio %.2f (goal <= 1.50)\n", la, wa, wa / la }'
stop_server
rm -rf "$work/served" "$work/mirror"

# The cost of a first run grows with the folder: linear, 10 times the files
# should cost about 10 times the time.
scaled() {
    rm -rf "$work/served"
    make_files "$served" "$1" 1024
    serve "$served"
    best_of "main window, first run of $1 files of 1 KiB" window_first
}
scaled "$scale_files"
small=$best
scaled $((scale_files * 10))
large=$best
awk -v s="$small" -v l="$large" -v n="$scale_files" 'BEGIN {
    printf "first run of %d files: %d ms, of %d files: %d ms, ratio %.1f (goal <= 12)\n", n, s, n * 10, l, l / s }'
