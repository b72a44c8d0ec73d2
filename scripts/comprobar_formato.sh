#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what .clang-format makes of
# it. With --arreglar, formats the files in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t archivos < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--arreglar" ]; then
  clang-format -i "${archivos[@]}"
  exit 0
fi
informe=$(mktemp)
trap 'rm -f "$informe"' EXIT
if ! clang-format --dry-run -Werror "${archivos[@]}" 2>"$informe"; then
  grep -E '^[^ ].*(warning|error):' "$informe" | cut -d: -f1 | sort -u | sed 's/^/sin formato: /' >&2
  echo "Format with: scripts/comprobar_formato.sh --arreglar" >&2
  exit 1
fi
echo "formato: ${#archivos[@]} archivos correctos"
