# What the scripts that run `entrenar` share; sourced after CARPETA is set.

# CI runs as root; several processes share two cores.
export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1
export OMPI_MCA_rmaps_base_oversubscribe=1
# Open MPI keeps memory to the end in components it unloads: under the
# sanitizer build those would fail every process. The back end's own code
# is checked for leaks by its unit tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"

fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }

# CSV without its last column (seconds, which vary between runs).
sin_segundos() { sed 's/,[^,]*$//' "$1"; }

# Runs the command with its output in $CARPETA/nombre.out and .err; a
# command that fails is counted and its errors shown.
correr() {  # nombre comando...
    local nombre=$1
    shift
    if ! "$@" >"$CARPETA/$nombre.out" 2>"$CARPETA/$nombre.err"; then
        falla "$nombre ended with an error:"
        cat "$CARPETA/$nombre.err"
        return 1
    fi
}
