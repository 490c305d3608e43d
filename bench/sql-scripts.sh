#!/usr/bin/env bash
# Builds the script benchmarks in Release and runs them once each:
#  1. parse-only throughput of the script parser on generated 10 MB and 50 MB
#     scripts of mixed statements (MB/s and the time ratio, linear gives 5);
#  2. peak memory of sqlscript --parse-only on a generated 50 MB script of
#     statements about 40 bytes long, against the script's size (goal: at
#     most 4 times);
#  3. a script of 100000 INSERT statements run into a fresh embedded Firebird
#     database by sqlscript and by isql-fb -i, side by side.
# Usage: bench/sql-scripts.sh
# Builds optimised in $UPDATER_BENCH_BUILD_DIR (default: build-bench) first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${UPDATER_BENCH_BUILD_DIR:-$root/build-bench}"
statements=100000

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j 2 --target parse_bench sqlscript >/dev/null

echo "== parse-only throughput"
"$build/bench/parse_bench" 10 50

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== peak memory of sqlscript --parse-only"
awk 'BEGIN {
    while (size < 50 * 1048576) {
        line = sprintf("INSERT INTO ITEMS VALUES (%d, '\''n%05d'\'');", i % 100000, i % 100000)
        print line
        size += length(line) + 1
        i++
    }
}' >"$work/memory.sql"
/usr/bin/python3 - "$build/tools/sqlscript" "$work/memory.sql" <<'EOF'
import os, resource, subprocess, sys
subprocess.run([sys.argv[1], "--parse-only", sys.argv[2]], stdout=subprocess.DEVNULL, check=True)
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss * 1024
size = os.path.getsize(sys.argv[2])
print(f"script: {size / 1e6:.1f} MB, peak RSS: {peak / 1e6:.1f} MB, {peak / size:.2f} times the script (goal: at most 4)")
EOF

echo "== $statements INSERT statements: sqlscript and isql-fb -i"
# A private embedded engine setup, as the tests use: nothing shared with
# other Firebird users of the machine.
installed=/usr/lib/$(gcc -print-multiarch)/firebird/3.0
mkdir -p "$work/root" "$work/lock" "$work/tmp"
for part in plugins intl firebird.msg plugins.conf UDF; do
    if [[ -e $installed/$part ]]; then ln -s "$installed/$part" "$work/root/$part"; fi
done
printf 'Providers = Engine12\nServerMode = Super\n' >"$work/root/firebird.conf"
export FIREBIRD=$work/root FIREBIRD_LOCK=$work/lock FIREBIRD_TMP=$work/tmp

awk -v n="$statements" 'BEGIN {
    printf "CREATE TABLE ITEMS (ID INTEGER NOT NULL, NAME VARCHAR(40), PRICE NUMERIC(9,2));\n"
    for (i = 1; i <= n; i++)
        printf "INSERT INTO ITEMS (ID, NAME, PRICE) VALUES (%d, '\''Item %d; boxed'\'', %d.25);\n", i, i, i % 1000
    printf "COMMIT;\n"
}' >"$work/load.sql"
echo "script: $(wc -l <"$work/load.sql") lines, $(du -h "$work/load.sql" | cut -f1)"

for who in ours isql; do
    "$root/tools/create-local-db" "$work/$who.fdb" 3
done

# Wall-clock seconds that a command takes; its output goes to the file named first.
timed() {
    local log=$1 start end
    shift
    start=$(date +%s.%N)
    "$@" >"$log" 2>&1
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }'
}
ours=$(timed "$work/ours.log" "$build/tools/sqlscript" "$work/ours.fdb" "$work/load.sql" --dialect 3)
isql=$(timed "$work/isql.log" isql-fb -q -u ROOT -p 718352 -i "$work/load.sql" "$work/isql.fdb")

count() { echo "SELECT COUNT(*) FROM ITEMS;" | isql-fb -q -u ROOT "$1" | awk 'NF == 1 && $1 ~ /^[0-9]+$/ { print $1 }'; }
printf "sqlscript: %6.2f s  (%s rows)\n" "$ours" "$(count "$work/ours.fdb")"
printf "isql-fb:   %6.2f s  (%s rows)\n" "$isql" "$(count "$work/isql.fdb")"
awk -v a="$ours" -v b="$isql" 'BEGIN { printf "time ratio sqlscript / isql-fb: %.2f\n", a / b }'
