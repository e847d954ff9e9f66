#!/usr/bin/env bash
# Installs, builds, creates data/ck.mdb when there is none, and starts Velmora there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/scripts/setup.sh"
mkdir -p "$here/data"
cd "$here/data"
if [ ! -f ck.mdb ]; then
    "$here/build/velmora-newdb" ck.mdb
fi
exec "$here/build/velmora" "$@"
