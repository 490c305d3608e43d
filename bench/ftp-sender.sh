# Sourced by the FTP benchmarks: builds ftpget and the in-memory server
# bench/FtpSender.cpp optimised in $build, makes the scratch folder $work and
# starts the server serving $bytes; sets $port. Everything ends with the script.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target ftpget ftp_sender -j 2 >/dev/null
work=$(mktemp -d)
sender_pid=
cleanup() {
    if [[ -n $sender_pid ]]; then kill "$sender_pid" 2>/dev/null || true; wait "$sender_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

"$build/bench/ftp_sender" "$bytes" >"$work/port" &
sender_pid=$!
for _ in $(seq 50); do [[ -s $work/port ]] && break; sleep 0.1; done
port=$(cat "$work/port")
