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

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target update_run_bench ftpget scramble -j 2 >/dev/null
work=$(mktemp -d)
server_pid=
stop_server() {
    if [[ -n $server_pid ]]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
    server_pid=
}
cleanup() {
    stop_server
    rm -rf "$work"
}
trap cleanup EXIT

# An application folder as the window's start-up needs it (see tools/demo).
# Each run gets a fresh copy of it, as ftpget gets a fresh folder: a folder
# that held thousands of files stays slower to search after they are deleted.
template="$work/app-template"
appdir="$work/app"
mkdir -p "$template" "$work/Program Files/winrar" "$work/out"
printf 'MZ' >"$template/Sys_Vendrake.exe"
printf 'Sys_Vendcfg v1QUILLMARK\r\n' >"$template/Sys_Vendcfg.INI"
cp "$root/tools/archiver/winrar.exe" "$work/Program Files/winrar/winrar.exe"
printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\n"ProgramFilesDir"="%s"\n' \
    "$work/Program Files" >"$work/registry.reg"
"$root/tools/create-local-db" "$work/QUILLMARK.FDB" >/dev/null
password=bench-ftp
# No released scripts: the run's script update finds nothing to apply.
sqlite3 "$work/check.db" "CREATE TABLE principal (senha_ftp VARCHAR(40));
    INSERT INTO principal VALUES ('$("$build/tools/scramble" 3 "$password")');
    CREATE TABLE scripts (programa VARCHAR(20) NOT NULL, versao VARCHAR(10) NOT NULL, liberado CHAR(1),
                          texto TEXT NOT NULL, PRIMARY KEY (programa, versao));"
printf '[QUILLMARK]\nTYPE=FIREBIRD\nSERVER NAME=%s\n\n[Check]\nTYPE=SQLITE\nDATABASE NAME=check.db\n' \
    "$work/QUILLMARK.FDB" >"$work/aliases.ini"
export UPDATER_REGISTRY_FILE="$work/registry.reg" UPDATER_ALIAS_FILE="$work/aliases.ini" QT_QPA_PLATFORM=offscreen

# serve FOLDER: a pyftpdlib server on a free loopback port whose quillmark folder is FOLDER.
serve() {
    stop_server
    rm -f "$work/port"
    /usr/bin/python3 -u -c '
import logging, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
logging.basicConfig(level=logging.ERROR)
authorizer = DummyAuthorizer()
authorizer.add_user("tovrin", sys.argv[1], sys.argv[2], perm="elr")
FTPHandler.authorizer = authorizer
server = FTPServer(("127.0.0.1", 0), FTPHandler)
print(server.socket.getsockname()[1], flush=True)
server.serve_forever()
' "$password" "$(dirname "$1")" >"$work/port" &
    server_pid=$!
    port=
    for _ in $(seq 100); do
        port=$(head -n1 "$work/port" 2>/dev/null || true)
        [[ $port =~ ^[0-9]+$ ]] && break
        sleep 0.1
    done
    [[ $port =~ ^[0-9]+$ ]] || { echo "the FTP server did not start" >&2; exit 1; }
    export UPDATER_FTP_HOST="127.0.0.1:$port"
}

# window: one run of the main window into a fresh application folder; prints the
# milliseconds of its file phase and of the whole run (with the script update).
window() {
    rm -rf "$appdir" && cp -a "$template" "$appdir"
    local result
    # A message box would wait for a click that never comes offscreen.
    result=$(cd "$appdir" && timeout 600 "$build/bench/update_run_bench" 2>/dev/null) ||
        { echo "run failed: $result" >&2; exit 1; }
    local phases=${result% Atualiza*}
    echo "$phases"
}
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
