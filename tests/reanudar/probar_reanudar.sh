#!/usr/bin/env bash
# A run of `entrenar robot` that stops, whatever stops it, and is resumed
# ends with the files of a run that never stopped. Runs kept tiny.
#   probar_reanudar.sh ENTRENAR CARPETA matar
#   probar_reanudar.sh ENTRENAR CARPETA mpi MPIEXEC
# matar: SIGKILL at random moments (many inside a checkpoint write, slowed
#        down for the test), a resume after each, then one to the end.
# mpi:   stopped on threads and resumed under mpirun, and the other way,
#        with 1 and 3 processes.
set -u
ENTRENAR=$1
CARPETA=$2
CASO=$3
MPIEXEC=${4:-}

source "$(dirname "$0")/../apoyo/ejecuciones.sh"
ARGS=(robot --poblacion 8 --partidas 2 --validacion 1 --tiempo 4 --semilla 3 --punto-control 1 --sin-informe --silencio
    --rivales campeones,giratorio+quieto)
GENERACIONES=6

rm -rf "$CARPETA"
mkdir -p "$CARPETA"

# The summary without timings and without how the run was carried out.
resumen_comparable() { grep -v -e '"segundos"' -e '"hilos"' -e '"punto_control"' -e '"reanudada_desde"' "$1" | sed 's/,$//'; }

mismos_resultados() {  # referencia otra
    local f
    for f in mejor_red.txt especies.csv especies.log genes.log ag.log partida.json punto_control/poblacion.txt; do
        cmp -s "$1/$f" "$2/$f" || falla "$2/$f differs from $1/$f"
    done
    diff -q <(sin_segundos "$1/estadisticas.csv") <(sin_segundos "$2/estadisticas.csv") >/dev/null ||
        falla "$2/estadisticas.csv differs from $1/estadisticas.csv"
    diff -q <(resumen_comparable "$1/resumen.json") <(resumen_comparable "$2/resumen.json") >/dev/null ||
        falla "$2/resumen.json differs from $1/resumen.json"
}

hay_punto_control() { [ -d "$1/punto_control" ] || [ -d "$1/punto_control.anterior" ]; }

# Kills pid when the file sRuta appears (a step of a checkpoint write), or
# after the time limit.
matar_cuando_exista() {  # pid ruta segundos
    local fin=$((SECONDS + $3))
    while kill -0 "$1" 2>/dev/null && [ ! -e "$2" ] && [ $SECONDS -lt $fin ]; do
        sleep 0.002
    done
    kill -KILL "$1" 2>/dev/null
}

caso_matar() {
    correr referencia "$ENTRENAR" "${ARGS[@]}" --hilos 1 --generaciones $GENERACIONES --salida "$CARPETA/referencia" ||
        return
    local salida="$CARPETA/matada" intento pid codigo momento reanudar dentro=0
    RANDOM=2026
    for intento in $(seq 1 14); do
        reanudar=()
        hay_punto_control "$salida" && reanudar=(--reanudar "$salida")
        ENTRENAR_PAUSA_PUNTO_CONTROL=15 "$ENTRENAR" "${ARGS[@]}" --hilos $((1 + intento % 2)) \
            --generaciones $GENERACIONES --salida "$salida" "${reanudar[@]}" >"$CARPETA/matada.out" \
            2>"$CARPETA/matada.err" &
        pid=$!
        # In turn: at a random moment, while the new checkpoint folder is
        # being written, and between the two renames that put it in place.
        case $((intento % 3)) in
        0)
            momento=$(printf '0.%03d' $((10 + RANDOM % 300)))
            sleep "$momento"
            kill -KILL $pid 2>/dev/null
            ;;
        1)
            momento="writing the new checkpoint"
            matar_cuando_exista $pid "$salida/punto_control.nuevo/poblacion.txt" 10
            ;;
        2)
            momento="between the renames"
            matar_cuando_exista $pid "$salida/punto_control.anterior" 10
            ;;
        esac
        wait $pid 2>/dev/null
        codigo=$?
        [ -d "$salida/punto_control.nuevo" ] && dentro=$((dentro + 1))
        echo "try $intento: killed ($momento), status $codigo, ${reanudar[*]:-fresh start}"
        [ $codigo -eq 0 ] && break
        if [ $codigo -ne 137 ]; then
            falla "a resume ended with status $codigo:"
            cat "$CARPETA/matada.err"
            return
        fi
    done
    [ $dentro -gt 0 ] || falla "no kill landed inside a checkpoint write"
    hay_punto_control "$salida" || falla "no checkpoint after the kills"
    correr final "$ENTRENAR" "${ARGS[@]}" --hilos 1 --generaciones $GENERACIONES --salida "$salida" \
        --reanudar "$salida" || return
    mismos_resultados "$CARPETA/referencia" "$salida"
}

caso_mpi() {
    local MPIRUN=("$MPIEXEC" --oversubscribe)
    correr referencia "$ENTRENAR" "${ARGS[@]}" --hilos 1 --generaciones 4 --salida "$CARPETA/referencia" || return
    # Threads, then 3 processes.
    correr hilos_a "$ENTRENAR" "${ARGS[@]}" --hilos 2 --generaciones 2 --salida "$CARPETA/a" &&
        correr a_mpi3 "${MPIRUN[@]}" -np 3 "$ENTRENAR" "${ARGS[@]}" --hilos 1 --generaciones 4 --salida "$CARPETA/a" \
            --reanudar "$CARPETA/a/punto_control" && mismos_resultados "$CARPETA/referencia" "$CARPETA/a"
    # 3 processes, then threads.
    correr mpi3_b "${MPIRUN[@]}" -np 3 "$ENTRENAR" "${ARGS[@]}" --hilos 1 --generaciones 1 --salida "$CARPETA/b" &&
        correr b_hilos "$ENTRENAR" "${ARGS[@]}" --hilos 1 --generaciones 4 --salida "$CARPETA/b" \
            --reanudar "$CARPETA/b" && mismos_resultados "$CARPETA/referencia" "$CARPETA/b"
    # 1 process, then 3.
    correr mpi1_c "${MPIRUN[@]}" -np 1 "$ENTRENAR" "${ARGS[@]}" --hilos 1 --generaciones 3 --salida "$CARPETA/c" &&
        correr c_mpi3 "${MPIRUN[@]}" -np 3 "$ENTRENAR" "${ARGS[@]}" --hilos 1 --generaciones 4 --salida "$CARPETA/c" \
            --reanudar "$CARPETA/c/punto_control/poblacion.txt" && mismos_resultados "$CARPETA/referencia" "$CARPETA/c"
}

case "$CASO" in
matar) caso_matar ;;
mpi) caso_mpi ;;
*) echo "unknown case $CASO"; exit 2 ;;
esac
echo "$CASO: $fallos failure(s)"
[ $fallos -eq 0 ]
