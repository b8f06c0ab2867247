#!/usr/bin/env bash
# links-no-widgets.sh QT_LIBRARY... -- ARCHIVE...
#
# The command line runs where there is no display (cron, ssh): none of the libraries it is made of may need a
# symbol that Qt's Gui or Widgets library defines. Lists every such symbol, with the archive that needs it.
set -euo pipefail
export LC_ALL=C

libraries=()
while [ "$1" != "--" ]; do
    libraries+=("$1")
    shift
done
shift

defined=$(mktemp)
trap 'rm -f "$defined"' EXIT
nm -D --defined-only -P "${libraries[@]}" | awk '{sub(/@.*/, "", $1); print $1}' | sort -u >"$defined"
[ -s "$defined" ] || { echo "FAIL: no symbols read from ${libraries[*]}" >&2; exit 1; }

failures=0
for archive in "$@"; do
    found=$(nm --undefined-only -P "$archive" 2>/dev/null | awk '$2 == "U" {print $1}' | sort -u |
        comm -12 - "$defined")
    if [ -n "$found" ]; then
        echo "FAIL: $(basename "$archive") needs Qt Gui or Widgets:" >&2
        c++filt <<<"$found" | head -n 10 | sed 's/^/    /' >&2
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] || exit 1
echo "$# libraries of the command line need nothing from Qt Gui or Widgets"
