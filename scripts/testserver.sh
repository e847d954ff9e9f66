#!/usr/bin/env bash
# A private, throwaway PostgreSQL server for one test run: a temporary data
# folder, a Unix socket in that folder and no TCP port. The server refuses to
# run as root, so root runs it as the system account velmora-test.
#   source scripts/testserver.sh; testserver_start   exports VELMORA_TEST_PG
#   testserver_stop                                   stops it and removes the folder
testserver_start() {
    local bin
    bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
    if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
        echo "testserver: no PostgreSQL server installed, server tests are skipped" >&2
        return 0
    fi
    local as=()
    if [ "$(id -u)" -eq 0 ]; then
        id velmora-test >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin velmora-test
        as=(runuser -u velmora-test --)
    fi
    TESTSERVER_DIR=$(mktemp -d /tmp/velmora-pg.XXXXXX)
    TESTSERVER_BIN=$bin
    TESTSERVER_AS=("${as[@]}")
    chmod 755 "$TESTSERVER_DIR"
    if [ "$(id -u)" -eq 0 ]; then chown velmora-test "$TESTSERVER_DIR"; fi
    "${as[@]}" "$bin/initdb" -D "$TESTSERVER_DIR/data" -U velmora -A trust -E UTF8 --locale=C.UTF-8 --no-sync >/dev/null
    # Throwaway data: no waits for the disk.
    "${as[@]}" "$bin/pg_ctl" -D "$TESTSERVER_DIR/data" -l "$TESTSERVER_DIR/server.log" -w -s \
        -o "-c listen_addresses='' -c unix_socket_directories=$TESTSERVER_DIR -c fsync=off \
            -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" start
    export VELMORA_TEST_PG="postgresql:///postgres?host=$TESTSERVER_DIR&user=velmora"
}

testserver_stop() {
    if [ -n "${TESTSERVER_DIR:-}" ] && [ -d "$TESTSERVER_DIR" ]; then
        "${TESTSERVER_AS[@]}" "$TESTSERVER_BIN/pg_ctl" -D "$TESTSERVER_DIR/data" -m immediate -w -s stop || true
        rm -rf "$TESTSERVER_DIR"
    fi
    TESTSERVER_DIR=
}
