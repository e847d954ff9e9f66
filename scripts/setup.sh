#!/usr/bin/env bash
# Installs everything Velmora needs to build, run and test on Debian, then builds.
# Idempotent: a second run installs nothing new and rebuilds only what changed.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(
    cmake ninja-build g++ pkg-config ccache
    qt6-base-dev qt6-translations-l10n
    libsqlite3-dev libpq-dev postgresql libxlsxwriter-dev libsodium-dev libjpeg62-turbo zlib1g-dev
    libgtest-dev libgmock-dev
    fonts-noto-cjk xdg-utils clang-format
)
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null

build="$here/build"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2
