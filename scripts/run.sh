#!/usr/bin/env bash
# Builds the project and runs the program from its installation folder build/bin.
# Until the program's windows exist it prepares the demonstration station the
# program will drive: a package, a GPS image and a bay of eight virtual phones.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
if [ -x build/bin/ZARV_UI ]; then
    exec build/bin/ZARV_UI "$@"
fi
station=build/station
rm -rf "$station"
build/bin/marlow demo "$station"
build/bin/marlow verify "$station/demo.vkb"
cat <<MESSAGE

The station is ready in $station: a package, a GPS image and eight phones in its bay
(cell 5 fails its checks, cell 2 fails while writing). The windows are not built yet;
build/bin/ZARV_UI will log an operator in, run downloads on the eight cells with
MARLOW_BAY=$station/bay, and write a screen dump and test records for every cell.
MESSAGE
