#!/usr/bin/env bash
# Installs, builds, checks the formatting and runs the whole test suite, the
# server's tests on a private PostgreSQL server that lives for this run only.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/scripts/setup.sh"
cd "$here"
find src tests tools \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run --Werror
source "$here/scripts/testserver.sh"
trap testserver_stop EXIT
testserver_start
QT_QPA_PLATFORM=offscreen ctest --test-dir "$here/build" --output-on-failure -j2
