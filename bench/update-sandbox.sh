# Sourced by the benchmarks of the main window's update run: builds the
# benchmark programs optimised in $build, lays out an application folder as the
# window's start-up needs it (see tools/demo) and offers:
#   serve FOLDER [DELAY_MS]  a pyftpdlib server on a free loopback port whose
#                            quillmark folder is FOLDER; with DELAY_MS, each
#                            command is handled that much later (its data is not
#                            delayed), as over a store's internet line; every
#                            command is logged to $work/commands
#   window [keep]            one run of the main window into a fresh copy of the
#                            application folder (kept as it is with "keep");
#                            prints the milliseconds of its file phase and of the
#                            whole run
# Expects root, build and runs set; sets work, password, port, appdir.
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

serve() {
    stop_server
    rm -f "$work/port"
    : >"$work/commands"
    /usr/bin/python3 -u -c '
import logging, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
logging.basicConfig(level=logging.ERROR)
delay = int(sys.argv[3]) / 1000.0
log = open(sys.argv[4], "a", buffering=1)
class Handler(FTPHandler):
    def pre_process_command(self, line, cmd, arg):
        log.write(cmd + "\n")
        if delay > 0:
            self.ioloop.call_later(delay, FTPHandler.pre_process_command, self, line, cmd, arg)
        else:
            FTPHandler.pre_process_command(self, line, cmd, arg)
authorizer = DummyAuthorizer()
authorizer.add_user("tovrin", sys.argv[1], sys.argv[2], perm="elr")
Handler.authorizer = authorizer
server = FTPServer(("127.0.0.1", 0), Handler)
print(server.socket.getsockname()[1], flush=True)
server.serve_forever()
' "$password" "$(dirname "$1")" "${2:-0}" "$work/commands" >"$work/port" &
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

window() {
    [[ ${1:-} == keep ]] || { rm -rf "$appdir" && cp -a "$template" "$appdir"; }
    local result
    # A message box would wait for a click that never comes offscreen.
    result=$(cd "$appdir" && timeout 600 "$build/bench/update_run_bench" 2>/dev/null) ||
        { echo "run failed: $result" >&2; exit 1; }
    local phases=${result% Atualiza*}
    echo "$phases"
}
