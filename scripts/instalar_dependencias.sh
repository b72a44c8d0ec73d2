#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine.
# Does nothing when everything is already there. Extra packages may be
# named as arguments, e.g. what the report's pictures and browser test use:
#   scripts/instalar_dependencias.sh graphviz gnuplot-nox chromium chromium-driver
set -euo pipefail
paquetes=(g++ cmake make clang-format libgtest-dev libbenchmark-dev clang libclang-rt-14-dev)
faltan=()
for p in "${paquetes[@]}" "$@"; do
  dpkg -s "$p" >/dev/null 2>&1 || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${faltan[@]}"
fi
