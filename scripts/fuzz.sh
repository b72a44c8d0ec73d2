#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each one for
# SEGUNDOS seconds (20 by default), starting from its seed corpus in
# fuzz/corpus/. Fails on the first crash, leak, sanitizer report or broken
# reader promise; the input that caused it is kept in build-fuzz/fallos/ and
# reproduces with:  build-fuzz/fuzz_<target> build-fuzz/fallos/<file>
# Arguments, if any, name the targets to run (all of them by default).
set -euo pipefail
cd "$(dirname "$0")/.."
SEGUNDOS=${SEGUNDOS:-20}
JOBS=${JOBS:-$(nproc)}
OBJETIVOS=("$@")
[ ${#OBJETIVOS[@]} -eq 0 ] && OBJETIVOS=(red genoma innovaciones poblacion arena)

cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j "$JOBS"

mkdir -p build-fuzz/fallos
for objetivo in "${OBJETIVOS[@]}"; do
  # New inputs go to the build tree; the seeds in the source tree stay as they are.
  mkdir -p "build-fuzz/corpus/$objetivo"
  registro="build-fuzz/fuzz_$objetivo.log"
  echo "fuzz_$objetivo: ${SEGUNDOS} s"
  if ! "build-fuzz/fuzz_$objetivo" -max_total_time="$SEGUNDOS" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="build-fuzz/fallos/$objetivo-" \
       "build-fuzz/corpus/$objetivo" "fuzz/corpus/$objetivo" >"$registro" 2>&1; then
    tail -n 60 "$registro"
    echo "fuzz_$objetivo FAILED; the input is in build-fuzz/fallos/ (full log: $registro)" >&2
    exit 1
  fi
  tail -n 1 "$registro"
done
