// Under mpirun -np 2: rank 1 sends a large message that rank 0 never
// receives. The send must give up after the wait, with its bytes kept or
// the request finished, and the job must still end cleanly.
#include <mpi.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "ClusterMPI.h"

int main(int argc, char** argv)
{
    CClusterMPI cluster;
    std::string sError;
    if (!cluster.Iniciar(&argc, &argv, sError)) {
        std::fprintf(stderr, "%s\n", sError.c_str());
        return 1;
    }
    int nResultado = 0;
    if (cluster.GetRango() == 1) {
        cluster.SetEspera(1.0);
        const auto inicio = std::chrono::steady_clock::now();
        {
            // Large enough not to be buffered eagerly; gone before MPI is told.
            const std::string sBytes(64 << 20, 'x');
            if (cluster.Enviar(0, 77, sBytes, sError)) {
                std::fprintf(stderr, "FALLO: the send completed without a receiver\n");
                nResultado = 1;
            }
        }
        const double dSegundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
        if (dSegundos > 30) {
            std::fprintf(stderr, "FALLO: the send took %.0f s to give up\n", dSegundos);
            nResultado = 1;
        }
        if (sError.find("no recibe mensajes") == std::string::npos) {
            std::fprintf(stderr, "FALLO: unexpected error: %s\n", sError.c_str());
            nResultado = 1;
        }
        std::printf("pendientes %zu\n", cluster.GetEnviosPendientes());
    }
    int nTodos = 0;
    MPI_Allreduce(&nResultado, &nTodos, 1, MPI_INT, MPI_MAX, MPI_COMM_WORLD);
    // A send MPI still holds cannot be finalized away: such a job is
    // aborted, as the training program does after a failed send.
    int nPendientes = static_cast<int>(cluster.GetEnviosPendientes()), nAlgunPendiente = 0;
    MPI_Allreduce(&nPendientes, &nAlgunPendiente, 1, MPI_INT, MPI_MAX, MPI_COMM_WORLD);
    if (nAlgunPendiente > 0 && nTodos == 0) {
        std::printf("bien (envio retenido)\n");
        std::fflush(stdout);
        cluster.Abortar(0);
    }
    if (nTodos == 0 && cluster.GetRango() == 0)
        std::printf("bien\n");
    cluster.Terminar();
    return nTodos;
}
