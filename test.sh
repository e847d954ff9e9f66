#!/usr/bin/env bash
# Installs, builds and runs the whole test suite.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/scripts/setup.sh"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$here/build" --output-on-failure -j2
