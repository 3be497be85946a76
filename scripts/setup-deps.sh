#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, but only those that are
# missing: on a machine that has them all this takes a moment and touches nothing.
set -euo pipefail

packages=(
    build-essential
    cmake
    ninja-build
    pkg-config
    qt6-base-dev
    libqt6svg6
    qt6-qpa-plugins
    fonts-dejavu-core
    xvfb
    xauth
    trayer
    x11-utils
    libsqlite3-dev
    libpq-dev
    postgresql
    googletest
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    clang
    clang-format
    tzdata
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    if [ "$status" != installed ]; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Fehlende Pakete werden installiert: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || {
        echo "Zum Installieren werden Root-Rechte gebraucht (sudo fehlt)." >&2
        exit 1
    }
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
