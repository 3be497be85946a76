#!/usr/bin/env bash
# The run command: installs what is missing, builds the administrators' tool, creates or migrates
# the demo office database, loads the demo data and shows what the database holds.
#
#   bash scripts/run.sh [ZIEL] [MITARBEITER-ID]
#
# ZIEL defaults to demo/buero.sqlite in the repository (or ORV_DEMO_DB); any target orv-admin
# takes works, a PostgreSQL database too. MITARBEITER-ID (default 7, the demo's Anna Berger) is
# the employee whose provisional rows are listed.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
target=${1:-${ORV_DEMO_DB:-$root/demo/buero.sqlite}}
employee=${2:-7}
jobs=${ORV_JOBS:-2}

bash "$root/scripts/setup-deps.sh"

echo "==== orv-admin bauen (build/release) ===="
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build "$root/build/release" -j "$jobs" --target orv-admin
admin=$root/build/release/app/admin/orv-admin

# The folder of the default demo file is ours to create; a folder the user named must exist.
if [ "$target" = "$root/demo/buero.sqlite" ]; then
    mkdir -p "$root/demo"
fi

echo
echo "==== Demodatenbank anlegen oder aktualisieren ===="
"$admin" demo "$target"
echo
echo "==== Inhalt ===="
"$admin" uebersicht "$target"
echo
echo "==== Vorläufige Zeilen von Mitarbeiter $employee ===="
"$admin" zeige "$target" "$employee"
