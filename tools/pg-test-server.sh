#!/usr/bin/env bash
# A private PostgreSQL server for the tests and benchmarks: its own data folder, no TCP port (a Unix
# socket in its own folder only), the superuser "postgres" with trust authentication on that socket.
#
#   pg-test-server.sh start DIR   fresh cluster in DIR (an old one there is stopped and wiped), started
#   pg-test-server.sh stop DIR    fast, clean shutdown; the data folder is kept
#   pg-test-server.sh restart DIR the cluster in DIR (stopped or running) up again on its data
#   pg-test-server.sh remove DIR  shutdown and the whole folder removed
#   pg-test-server.sh url DIR     the libpq connection URI of the server's "postgres" database
#
# The server never runs as root: as root it runs as the "postgres" user of Debian's package (runuser).
# Where that user cannot reach DIR (a clone under /root), the cluster lives in a folder under /tmp and
# DIR holds symbolic links to it, so the connection URI stays DIR/socket.
#
# Speed over crash safety: fsync and full-page writes are off, which loses nothing unless the machine
# itself goes down. Commits are still synchronous, so a stopped server keeps every committed row.
# PALTRIX_TEST_SERVER_DURABLE=1 keeps a station's settings (fsync on), for benchmarks.
set -euo pipefail

readonly port=5432

usage() {
  echo "usage: $(basename "$0") start|stop|restart|remove|url DIR" >&2
  exit 2
}

[ $# -eq 2 ] || usage
command=$1
dir=$2
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

bindir=
for candidate in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V); do
  [ -x "$candidate/pg_ctl" ] && bindir=$candidate
done
if [ -z "$bindir" ]; then
  echo "pg-test-server: no PostgreSQL server installed (Debian package postgresql; tools/install-deps.sh)" >&2
  exit 1
fi

as_server() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

url() {
  # Percent-encode what a URI query value may not hold literally.
  local host=$dir/socket
  host=${host//%/%25}
  host=${host// /%20}
  host=${host//&/%26}
  echo "postgresql:///postgres?host=${host}&port=${port}&user=postgres"
}

# The real folder behind DIR/NAME (the server's user may not be able to reach DIR itself).
real() {
  readlink -f "$dir/$1"
}

server_running() {
  [ -f "$dir/data/PG_VERSION" ] && as_server "$bindir/pg_ctl" status -D "$(real data)" >/dev/null 2>&1
}

stop() {
  if server_running; then
    as_server "$bindir/pg_ctl" stop -D "$(real data)" -m fast -w -t 60 >/dev/null
  fi
}

# Removes the cluster in DIR, following the links to a cluster under /tmp.
wipe() {
  local target
  if [ -L "$dir/data" ]; then
    target=$(dirname "$(readlink "$dir/data")")
    case $target in /tmp/paltrix-postgres.*) rm -rf "$target" ;; esac
  fi
  rm -rf "$dir/data" "$dir/socket" "$dir/server.log"
}

# Makes DIR/data and DIR/socket, owned by the server's user.
make_folders() {
  local home=$dir
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres: "$dir"
    if ! runuser -u postgres -- test -w "$dir" -a -x "$dir"; then
      chown root: "$dir"
      home=$(mktemp -d /tmp/paltrix-postgres.XXXXXX)
      chmod 755 "$home"
      ln -s "$home/data" "$dir/data"
      ln -s "$home/socket" "$dir/socket"
      ln -s "$home/server.log" "$dir/server.log"
      chown postgres: "$home"
    fi
  fi
  as_server mkdir -m 700 "$home/data"
  as_server mkdir -m 755 "$home/socket"
}

# Starts the cluster in DIR: the socket folder only, no TCP, fast settings for tests.
launch() {
  local settings
  settings="-c listen_addresses='' -c unix_socket_directories='$(real socket)' -c port=$port"
  settings+=" -c max_connections=200"
  if [ "${PALTRIX_TEST_SERVER_DURABLE:-0}" != 1 ]; then
    settings+=" -c fsync=off -c full_page_writes=off"
  fi
  if ! as_server "$bindir/pg_ctl" start -D "$(real data)" -l "$(real server.log)" -w -t 60 \
    -o "$settings" >/dev/null; then
    echo "pg-test-server: the server did not start; its log:" >&2
    cat "$dir/server.log" >&2 || true
    exit 1
  fi
}

start() {
  stop
  wipe
  make_folders
  as_server "$bindir/initdb" -D "$(real data)" -U postgres --auth=trust --encoding=UTF8 --locale=C \
    --no-sync >"$dir/initdb.log" 2>&1 || {
    cat "$dir/initdb.log" >&2
    exit 1
  }
  launch
  echo "PostgreSQL test server running: $(url)"
}

case $command in
  start) start ;;
  stop) stop ;;
  restart)
    stop
    launch
    ;;
  remove)
    stop
    wipe
    rm -rf "$dir"
    ;;
  url) url ;;
  *) usage ;;
esac
