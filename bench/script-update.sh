#!/usr/bin/env bash
# The script update against sqlscript: 1000 released scripts of 10 statements
# each, stored in the internet database (an SQLite file, then a MariaDB server
# started here), applied by the wait window offscreen to a fresh embedded
# Firebird database; the same 1000 scripts handed to sqlscript as separate
# files, on another fresh database. Prints both times and their ratio (goal:
# the wait window at most 1.2 times sqlscript's time), and the time of
# sqlscript when each script also records its version, as the wait window's
# do: the floor under the wait window's time.
# Usage: bench/script-update.sh [SCRIPTS]
# Builds optimised in $UPDATER_BENCH_BUILD_DIR (default: build-bench) first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${UPDATER_BENCH_BUILD_DIR:-$root/build-bench}"
count=${1:-1000}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j 2 --target script_update_bench sqlscript >/dev/null

work=$(mktemp -d)
server_pid=
cleanup() {
    [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The scripts: the first creates the table, every script inserts 10 rows.
mkdir "$work/scripts"
for ((i = 1; i <= count; i++)); do
    {
        ((i == 1)) && echo "CREATE TABLE ITENS (ID INTEGER, NOME VARCHAR(40));"
        for ((j = 0; j < 10; j++)); do
            echo "INSERT INTO ITENS VALUES ($((i * 10 + j)), 'item $i.$j');"
        done
    } >"$work/scripts/$(printf '%05d' "$i").sql"
done
# As rows of the scripts table, in SQL both internet databases read.
for file in "$work/scripts"/*.sql; do
    name=$(basename "$file" .sql)
    printf "INSERT INTO scripts VALUES ('QUILLMARK', '%s', 'S', '%s');\n" "$name" "$(sed "s/'/''/g" "$file")"
done >"$work/rows.sql"
table="CREATE TABLE scripts (programa VARCHAR(20) NOT NULL, versao VARCHAR(10) NOT NULL, liberado CHAR(1),
       texto TEXT NOT NULL, PRIMARY KEY (programa, versao));"

fresh_local() {
    rm -f "$work/local.fdb"
    "$root/tools/create-local-db" "$work/local.fdb" >/dev/null
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

fresh_local
start=$(now_ms)
"$build/tools/sqlscript" "$work/local.fdb" "$work/scripts"/*.sql >/dev/null
sqlscript_ms=$(($(now_ms) - start))
echo "sqlscript, $count files:                 $sqlscript_ms ms"

# The least a run can take that records each script's version with it, as the
# wait window does so that no script ever runs twice: sqlscript given the same
# files, each ending in the version table's update (committed with the script).
mkdir "$work/versioned"
echo "CREATE TABLE VERSAO (VERSAO VARCHAR(10));" >"$work/versioned/00000a.sql"
echo "INSERT INTO VERSAO VALUES ('0');" >"$work/versioned/00000b.sql"
for file in "$work/scripts"/*.sql; do
    name=$(basename "$file" .sql)
    { cat "$file"; echo "UPDATE VERSAO SET VERSAO='$name';"; } >"$work/versioned/$name.sql"
done
fresh_local
start=$(now_ms)
"$build/tools/sqlscript" "$work/local.fdb" "$work/versioned"/*.sql >/dev/null
versioned_ms=$(($(now_ms) - start))
printf "sqlscript, %s files, each with its version update: %s ms, %s times sqlscript\n" "$count" "$versioned_ms" \
    "$(awk -v a="$versioned_ms" -v b="$sqlscript_ms" 'BEGIN { printf "%.2f", a / b }')"

# Times the wait window against the internet database that aliases.ini names.
wait_window() {
    fresh_local
    local ms
    ms=$(UPDATER_ALIAS_FILE="$work/aliases.ini" "$build/bench/script_update_bench" "$@" | tail -n1 | cut -d' ' -f1)
    printf "wait window, %-28s %s ms, %s times sqlscript (goal: at most 1.2)\n" "$label:" "$ms" \
        "$(awk -v a="$ms" -v b="$sqlscript_ms" 'BEGIN { printf "%.2f", a / b }')"
}

{ echo "$table"; echo "BEGIN;"; cat "$work/rows.sql"; echo "COMMIT;"; } | sqlite3 "$work/check.db"
printf '[LOJA]\nTYPE=FIREBIRD\nSERVER NAME=%s\n[Check]\nTYPE=SQLITE\nDATABASE NAME=check.db\n' \
    "$work/local.fdb" >"$work/aliases.ini"
label="SQLite, $count scripts"
wait_window ignored ignored

# A MariaDB server of its own on a free loopback port.
as_root=()
((EUID == 0)) && as_root=(--user=root)
small=(--innodb-buffer-pool-size=16M --innodb-log-file-size=4M)
mariadb-install-db --no-defaults "${as_root[@]}" --datadir="$work/data" --auth-root-authentication-method=normal \
    --skip-test-db "${small[@]}" >"$work/server.log" 2>&1
port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mariadbd --no-defaults "${as_root[@]}" --datadir="$work/data" --socket="$work/server.sock" \
    --pid-file="$work/server.pid" --bind-address=127.0.0.1 --port="$port" --skip-name-resolve --skip-log-bin \
    "${small[@]}" >>"$work/server.log" 2>&1 &
server_pid=$!
client=(mariadb --no-defaults --socket="$work/server.sock" -uroot)
for _ in $(seq 300); do
    "${client[@]}" -e 'SELECT 1' >/dev/null 2>&1 && break
    sleep 0.1
done
"${client[@]}" -e "CREATE DATABASE bench; CREATE USER bench@'127.0.0.1' IDENTIFIED BY 'bench-password';
                   GRANT ALL ON bench.* TO bench@'127.0.0.1';"
{ echo "$table"; cat "$work/rows.sql"; } | "${client[@]}" --default-character-set=utf8mb4 bench
printf '[LOJA]\nTYPE=FIREBIRD\nSERVER NAME=%s\n[Check]\nTYPE=MYSQL\nHOST=127.0.0.1\nPORT=%s\nDATABASE NAME=bench\n' \
    "$work/local.fdb" "$port" >"$work/aliases.ini"
label="MariaDB, $count scripts"
wait_window bench bench-password
