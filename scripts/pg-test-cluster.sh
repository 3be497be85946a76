#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the test run, owned by the postgres user, reachable only on a
# unix socket in a temporary folder.
#   scripts/pg-test-cluster.sh start DIR   creates and starts it; prints the connection string
#   scripts/pg-test-cluster.sh restart DIR restarts the server (the tests use it for reconnects)
#   scripts/pg-test-cluster.sh halt DIR    stops the server and keeps the cluster: the outage
#                                          tests take their own cluster away and bring it back
#                                          with start
#   scripts/pg-test-cluster.sh stop DIR    stops it and removes DIR
set -euo pipefail

cmd=${1:?start, restart, halt or stop}
dir=${2:?folder of the cluster}
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bindir" ] || { echo "PostgreSQL-Server ist nicht installiert" >&2; exit 1; }
port=${ORV_PG_PORT:-54329}

as_postgres() {
    if [ "$(id -un)" = postgres ]; then "$@"; else runuser -u postgres -- "$@"; fi
}

case "$cmd" in
start)
    mkdir -p "$dir"
    chown postgres:postgres "$dir" 2>/dev/null || true
    if [ ! -f "$dir/data/PG_VERSION" ]; then
        as_postgres "$bindir/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log"
    fi
    as_postgres "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-k $dir -c listen_addresses='' -p $port -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=300" start >/dev/null
    echo "host=$dir port=$port user=postgres dbname=postgres"
    ;;
restart)
    as_postgres "$bindir/pg_ctl" -D "$dir/data" -w -t 60 -m fast restart >/dev/null
    ;;
halt)
    as_postgres "$bindir/pg_ctl" -D "$dir/data" -w -t 60 -m fast stop >/dev/null
    ;;
stop)
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_postgres "$bindir/pg_ctl" -D "$dir/data" -w -t 60 -m fast stop >/dev/null || true
    fi
    rm -rf "$dir"
    ;;
*)
    echo "unbekannter Befehl: $cmd" >&2
    exit 2
    ;;
esac
