#!/usr/bin/env bash
# Main job: builds everything, then plays the robot for a few seconds against
# the stand-in arena and shows the exchange ("->" to the robot, "<-" from it).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/instalar_dependencias.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
# The programs speak ISO 8859-1; the terminal is shown UTF-8.
build/tools/arena_sustituta/arena_sustituta build/src/bot/bot "${SEGUNDOS:-5}" | iconv -f ISO-8859-1 -t UTF-8
