#!/usr/bin/env bash
# The desktop program as an employee's morning runs it, through the shared library and the
# production platform: on a fresh demo office, the scripted morning (two new orders typed into
# the order control, a switch, a stop, an entry released and booked, another released) must
# end with the window's totals, both pictures and the rows that belong to them.
#
#   stoppuhren-demo.sh offscreen|xvfb ORV-ADMIN ORV-STOPPUHREN
set -euo pipefail

platform=$1
admin=$2
program=$3
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d /tmp/orv-demo-test.XXXXXX)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FEHLER: $*" >&2
    exit 1
}

"$admin" demo "$work/buero.sqlite" >/dev/null
if [ "$platform" = xvfb ]; then
    bash "$root/scripts/xvfb-screenshots.sh" "$work/bilder" "$(dirname "$(dirname "$(dirname "$admin")")")" \
        >"$work/ausgabe.txt" 2>&1 || { cat "$work/ausgabe.txt"; fail "xvfb-screenshots.sh"; }
    # The script runs on its own fresh office; the rows below are checked offscreen.
    exit 0
fi
QT_QPA_PLATFORM=offscreen "$program" --ziel "$work/buero.sqlite" --mitarbeiter 7 \
    --vorfuehrung "$work/bilder" >"$work/ausgabe.txt" 2>&1 || { cat "$work/ausgabe.txt"; fail "exit $?"; }
cat "$work/ausgabe.txt"
for tab in vorgaenge leistungen tagesuebersicht; do
    test -s "$work/bilder/stoppuhren-$tab.png" || fail "kein Bild von $tab"
done
grep -q "Gesamt 01:45:00, Leerlauf 00:10:00, aktiv 01:35:00" "$work/ausgabe.txt" ||
    fail "die Summen des Fensters"
# The day overview shows the same day: Krume's 65 provisional minutes, Sommer's 30 booked ones.
grep -q "^Die Tagesübersicht: 10001 Bäckerei Krume 01:05:00, 10002 Autohaus Sommer 00:30:00, Leerlauf 00:10:00, aktiv 01:35:00, Gesamt 01:45:00$" "$work/ausgabe.txt" ||
    fail "die Summen der Tagesübersicht"
grep -q "^Stoppuhren beendet.$" "$work/ausgabe.txt" || fail "Beenden"

# The rows: Bäckerei Krume's two stretches (45 and 20 minutes) stay provisional, Autohaus
# Sommer's 30 minutes were booked and left them, the idle stopwatch holds its 10 minutes.
rows=$("$admin" zeige "$work/buero.sqlite" 7)
echo "$rows"
entries() { echo "$rows" | grep -E "^ *[0-9]+ +[0-9]+ +a" | grep -c "$1" || true; }
[ "$(entries "Krume.* 2700  0:45:00")" = 1 ] || fail "der Eintrag von 45 Minuten"
[ "$(entries "Krume.* 1200  0:20:00")" = 1 ] || fail "der Eintrag von 20 Minuten"
[ "$(entries "Sommer")" = 0 ] || fail "der gebuchte Eintrag ist noch vorläufig"
echo "$rows" | grep -qE "^ *1 +p0 .* 600  0:10:00" || fail "die Leerlaufzeit"
