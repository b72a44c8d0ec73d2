#!/usr/bin/env bash
# Checks the C++ formatting, builds everything twice (optimised, and under
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs the whole test suite in both trees,
# then runs each fuzz target for a short while (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")"
# The optional packages let the MPI, browser and picture tests run instead of skipping.
./scripts/instalar_dependencias.sh openmpi-bin libopenmpi-dev chromium chromium-driver graphviz gnuplot-nox fonts-liberation
JOBS=${JOBS:-$(nproc)}

./scripts/comprobar_formato.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$JOBS"
(cd build && ctest --output-on-failure -j "$JOBS")

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DNEAT_SANITIZAR=ON >/dev/null
cmake --build build-asan -j "$JOBS"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$JOBS")

JOBS="$JOBS" ./scripts/fuzz.sh
