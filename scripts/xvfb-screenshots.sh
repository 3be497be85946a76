#!/usr/bin/env bash
# Screenshots of the stopwatch window in a real X server: starts orv-stoppuhren under Xvfb on a
# fresh demo office, lets it run its scripted morning and keeps what the X server showed of both
# tabs and of the system tray with the program's menu open (bare Xvfb has no tray: trayer gives
# it one). The program refuses blank pictures, so a zero exit means three real pictures.
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

for tool in xvfb-run trayer xwininfo "$admin" "$program"; do
    if ! command -v "$tool" >/dev/null; then
        echo "xvfb-screenshots: $tool fehlt (scripts/setup-deps.sh installiert xvfb und trayer; gebaut wird mit scripts/run.sh)" >&2
        exit 1
    fi
done

work=$(mktemp -d /tmp/orv-xvfb.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$admin" demo "$work/buero.sqlite" >/dev/null
mkdir -p "$out"
rm -f "$out"/stoppuhren-*.png

# The tray runs at the top right before the program starts, so the program finds it.
cat >"$work/mit-tray.sh" <<'EOF2'
trayer --edge top --align right --widthtype request --height 24 --transparent false \
    --tint 0xd8d8d8 --SetDockType true &
tray=$!
for _ in $(seq 50); do
    xwininfo -root -tree | grep -q '"panel"' && break
    sleep 0.2
done
"$@"
status=$?
kill "$tray" 2>/dev/null || true
exit $status
EOF2
TZ=${TZ:-Europe/Berlin} QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x800x24" bash "$work/mit-tray.sh" \
    "$program" --ziel "$work/buero.sqlite" --mitarbeiter 7 --vorfuehrung "$out"
for tab in vorgaenge leistungen tagesuebersicht tray; do
    test -s "$out/stoppuhren-$tab.png"
done
echo "Bilder in $out"
