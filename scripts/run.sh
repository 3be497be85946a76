#!/usr/bin/env bash
# The run command: installs what is missing, builds the administrators' tool and the desktop
# program, prepares the demo office and starts the "Stoppuhren" window for employee 7 (the demo's
# Anna Berger).
#
#   bash scripts/run.sh [ZIEL] [MITARBEITER-ID]
#
# With a display the window opens on ZIEL (default demo/buero.sqlite in the repository, or
# ORV_DEMO_DB; a PostgreSQL target as orv-admin takes it works too). A database that holds no
# working day of the employee yet first gets one: the program runs its scripted morning on it,
# so both tabs show something. Without a display the scripted morning runs on the offscreen
# platform on a fresh demo file, writes screenshots of both tabs to demo/ and prints the day's
# totals.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
target=${1:-${ORV_DEMO_DB:-$root/demo/buero.sqlite}}
employee=${2:-7}
jobs=${ORV_JOBS:-2}

bash "$root/scripts/setup-deps.sh"

echo "==== orv-admin und orv-stoppuhren bauen (build/release) ===="
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build "$root/build/release" -j "$jobs" --target orv-admin orv-stoppuhren
admin=$root/build/release/app/admin/orv-admin
program=$root/build/release/app/stoppuhren/orv-stoppuhren
export TZ=${TZ:-Europe/Berlin}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo
    echo "==== Kein Bildschirm: Vorführung auf der Offscreen-Plattform ===="
    mkdir -p "$root/demo"
    demo_db=$root/demo/vorfuehrung.sqlite
    "$admin" neu "$demo_db" --ueberschreiben >/dev/null
    "$admin" demo "$demo_db" >/dev/null
    QT_QPA_PLATFORM=offscreen "$program" --ziel "$demo_db" --mitarbeiter "$employee" \
        --vorfuehrung "$root/demo"
    echo
    echo "==== Vorläufige Zeilen von Mitarbeiter $employee ===="
    "$admin" zeige "$demo_db" "$employee"
    echo
    echo "Auf einem Desktop öffnet derselbe Befehl das Fenster: bash scripts/run.sh"
    exit 0
fi

# The folder of the default demo file is ours to create; a folder the user named must exist.
if [ "$target" = "$root/demo/buero.sqlite" ]; then
    mkdir -p "$root/demo"
fi
echo
echo "==== Demodatenbank anlegen oder aktualisieren ===="
"$admin" demo "$target"
if "$admin" zeige "$target" "$employee" | grep -q "hat keine vorläufigen Zeilen"; then
    echo
    echo "==== Ein vorbereiteter Vormittag, damit beide Reiter etwas zeigen ===="
    QT_QPA_PLATFORM=offscreen "$program" --ziel "$target" --mitarbeiter "$employee" \
        --vorfuehrung "$root/demo"
fi
echo
echo "==== Stoppuhren für Mitarbeiter $employee ===="
exec "$program" --ziel "$target" --mitarbeiter "$employee"
