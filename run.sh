#!/usr/bin/env bash
# Main job: train a robot and field it. Builds everything, evolves the
# robot's network in the simulated arena (under ten minutes on two cores),
# installs the best network as the robot's built-in one, rebuilds bot, shows
# the scoreboard of simulated matches on the held-out arenas, then fields the
# real robot program itself in a few simulated matches.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/instalar_dependencias.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
# The programs write in the encoding of the user's locale. The default
# recipe (seed 1) reproduces the shipped network, whatever the thread count.
# shellcheck disable=SC2086
build/entrenar/entrenar robot --hilos "$(nproc)" --salida salida_robot --instalar ${ENTRENAR_OPCIONES:-}
cmake --build build -j "$(nproc)" --target bot entrenar
build/entrenar/entrenar jugar --arena arenas/reserva --semilla 7001 --partidas "${PARTIDAS:-20}" \
    --rivales giratorio,buscador,quieto,cazador,orbitador,buscador+giratorio+cazador+orbitador
echo
echo "The robot program with its new network, run as the arena runs it, in simulated matches:"
build/entrenar/entrenar jugar --programa build/src/bot/bot --partidas 2 --hilos 1 --tiempo "${SEGUNDOS:-30}" \
  --rivales giratorio,buscador,quieto
