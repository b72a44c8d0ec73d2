#!/usr/bin/env bash
# Main job: builds everything.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/instalar_dependencias.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
