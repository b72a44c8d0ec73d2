#!/usr/bin/env bash
# Runs of `entrenar robot` under mpirun, kept tiny.
#   probar_mpi.sh ENTRENAR MPIEXEC CARPETA identico|fallo|colgado
# identico: the same seed gives byte-identical results on the thread pool
#           (1 and 2 threads) and under mpirun with 1, 2 and 3 processes.
# fallo:    a worker that dies ends the job with rank 0 naming the
#           generation; the checkpoint saved before is intact and resumes
#           to the results of a job that never failed.
# colgado:  a worker that stops answering is given up after the bounded wait.
set -u
ENTRENAR=$1
MPIEXEC=$2
CARPETA=$3
CASO=$4

# Messages in the programs' own ISO 8859-1, as the checks below spell them.
export LC_ALL=C
source "$(dirname "$0")/../apoyo/ejecuciones.sh"
MPIRUN=("$MPIEXEC" --oversubscribe)
ARGS=(robot --poblacion 10 --partidas 2 --validacion 1 --tiempo 6 --semilla 7 --punto-control 1 --sin-informe --silencio)

rm -rf "$CARPETA"
mkdir -p "$CARPETA"

mismo_fichero() {  # referencia otra nombre
    if ! cmp -s "$1/$3" "$2/$3"; then
        falla "$2/$3 differs from $1/$3"
    fi
}

mismos_resultados() {  # referencia otra
    mismo_fichero "$1" "$2" mejor_red.txt
    mismo_fichero "$1" "$2" especies.csv
    mismo_fichero "$1" "$2" punto_control/poblacion.txt
    if ! diff -q <(sin_segundos "$1/estadisticas.csv") <(sin_segundos "$2/estadisticas.csv") >/dev/null; then
        falla "$2/estadisticas.csv differs from $1/estadisticas.csv"
    fi
}

caso_identico() {
    correr hilos1 "$ENTRENAR" "${ARGS[@]}" --generaciones 3 --hilos 1 --salida "$CARPETA/hilos1" || return
    [ -s "$CARPETA/hilos1/mejor_red.txt" ] || falla "no mejor_red.txt"
    correr hilos2 "$ENTRENAR" "${ARGS[@]}" --generaciones 3 --hilos 2 --salida "$CARPETA/hilos2"
    mismos_resultados "$CARPETA/hilos1" "$CARPETA/hilos2"
    for n in 1 2 3; do
        correr mpi$n "${MPIRUN[@]}" -np $n "$ENTRENAR" "${ARGS[@]}" --generaciones 3 --hilos 1 \
            --salida "$CARPETA/mpi$n" && mismos_resultados "$CARPETA/hilos1" "$CARPETA/mpi$n"
    done
    # One process per machine with threads inside.
    correr mpi2h "${MPIRUN[@]}" -np 2 "$ENTRENAR" "${ARGS[@]}" --generaciones 3 --hilos 2 \
        --salida "$CARPETA/mpi2h" && mismos_resultados "$CARPETA/hilos1" "$CARPETA/mpi2h"
    grep -q "Mejor red" "$CARPETA/mpi3.out" || falla "rank 0 did not report the network"
    [ "$(grep -c "Mejor red" "$CARPETA/mpi3.out")" = 1 ] || falla "more than one rank reported"
}

caso_fallo() {
    # What an uninterrupted run has saved after two generations, and its end.
    correr referencia "$ENTRENAR" "${ARGS[@]}" --generaciones 2 --hilos 1 --salida "$CARPETA/referencia" || return
    correr referencia4 "$ENTRENAR" "${ARGS[@]}" --generaciones 4 --hilos 1 --salida "$CARPETA/referencia4" || return
    local salida="$CARPETA/caida" codigo
    # When mpirun tears a job down it may drop what rank 0 writes last; on a
    # loaded machine that happens now and then, so the job gets three tries.
    for _ in 1 2 3; do
        rm -rf "$salida"
        ENTRENAR_MPI_FALLO=2:2 "${MPIRUN[@]}" -x ENTRENAR_MPI_FALLO -np 3 "$ENTRENAR" "${ARGS[@]}" --generaciones 4 \
            --hilos 1 --salida "$salida" >"$CARPETA/caida.out" 2>"$CARPETA/caida.err"
        codigo=$?
        LC_ALL=C grep -aq -- "--reanudar $salida/punto_control" "$CARPETA/caida.err" && break
    done
    [ $codigo -ne 0 ] || falla "the job with a dead worker ended with success"
    LC_ALL=C grep -aq $'ERROR: el trabajo MPI se detuvo en la generaci\xF3n 2' "$CARPETA/caida.err" ||
        { falla "rank 0 did not name the generation:"; cat "$CARPETA/caida.err"; }
    [ ! -e "$salida/mejor_red.txt" ] || falla "a dead job wrote a final network"
    if ! diff -q <(sin_segundos "$CARPETA/referencia/estadisticas.csv") <(sin_segundos "$salida/estadisticas.csv") \
        >/dev/null; then
        falla "the statistics of generations 0 and 1 were lost"
    fi
    mismo_fichero "$CARPETA/referencia" "$salida" punto_control/poblacion.txt
    LC_ALL=C grep -aq -- "--reanudar $salida/punto_control" "$CARPETA/caida.err" ||
        falla "rank 0 did not say how to resume"
    correr reanudada "${MPIRUN[@]}" -np 2 "$ENTRENAR" "${ARGS[@]}" --generaciones 4 --hilos 1 \
        --salida "$salida" --reanudar "$salida/punto_control" || return
    [ "$(head -1 "$salida/punto_control/poblacion.txt")" = 4 ] || falla "the last checkpoint is not generation 4"
    mismos_resultados "$CARPETA/referencia4" "$salida"
}

caso_colgado() {
    # A worker that stops answering: rank 0 gives up after --espera-mpi.
    local salida="$CARPETA/colgado"
    ENTRENAR_MPI_FALLO=1:1:colgar "${MPIRUN[@]}" -x ENTRENAR_MPI_FALLO -np 2 "$ENTRENAR" "${ARGS[@]}" \
        --generaciones 3 --hilos 1 --espera-mpi 4 --salida "$salida" >"$CARPETA/colgado.out" 2>"$CARPETA/colgado.err"
    [ $? -ne 0 ] || falla "the job with a hung worker ended with success"
    LC_ALL=C grep -aq $'ERROR: Generaci\xF3n 1: el proceso 1 no ' "$CARPETA/colgado.err" ||
        { falla "rank 0 did not name the generation and the process:"; cat "$CARPETA/colgado.err"; }
    [ "$(head -1 "$salida/punto_control/poblacion.txt")" = 1 ] || falla "the checkpoint of generation 1 is not intact"
    LC_ALL=C grep -aq -- "--reanudar $salida/punto_control" "$CARPETA/colgado.err" ||
        falla "rank 0 did not say how to resume"
}

case "$CASO" in
identico) caso_identico ;;
fallo) caso_fallo ;;
colgado) caso_colgado ;;
*) echo "unknown case $CASO"; exit 2 ;;
esac
echo "$CASO: $fallos failure(s)"
[ $fallos -eq 0 ]
