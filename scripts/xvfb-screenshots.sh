#!/usr/bin/env bash
# Screenshots of the stopwatch window in a real X server: starts orv-stoppuhren under Xvfb on a
# fresh demo office, lets it run its scripted morning and keeps what the X server showed of both
# tabs. The program refuses blank pictures, so a zero exit means two real pictures.
#
#   bash scripts/xvfb-screenshots.sh [ORDNER] [BUILD-ORDNER]
#
# ORDNER defaults to demo/xvfb, BUILD-ORDNER to build/release (both in the repository).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$root/demo/xvfb}
build=${2:-$root/build/release}
admin=$build/app/admin/orv-admin
program=$build/app/stoppuhren/orv-stoppuhren

for tool in xvfb-run "$admin" "$program"; do
    if ! command -v "$tool" >/dev/null; then
        echo "xvfb-screenshots: $tool fehlt (scripts/setup-deps.sh installiert xvfb; gebaut wird mit scripts/run.sh)" >&2
        exit 1
    fi
done

work=$(mktemp -d /tmp/orv-xvfb.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$admin" demo "$work/buero.sqlite" >/dev/null
mkdir -p "$out"
rm -f "$out"/stoppuhren-*.png

TZ=${TZ:-Europe/Berlin} QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x800x24" \
    "$program" --ziel "$work/buero.sqlite" --mitarbeiter 7 --vorfuehrung "$out"
for tab in vorgaenge leistungen tagesuebersicht; do
    test -s "$out/stoppuhren-$tab.png"
done
echo "Bilder in $out"
