#ifndef CLUSTERMPI_H
#define CLUSTERMPI_H

#include <mpi.h>

#include <list>
#include <string>
#include <vector>

#include "Reparto.h"

// A batch on its way to a rank: MPI reads the bytes until the send completes.
struct SEnvioMPI {
    int nDestino = 0;
    MPI_Request peticion = MPI_REQUEST_NULL;
    std::string sBytes;
};

// Spreads the matches of a training run over the processes of an MPI job.
// Rank 0 alone runs the library; it hands out batches of matches to the
// other ranks as they become free and plays batches itself in between.
// Every MPI call is made from the thread that started MPI.
class CClusterMPI {
public:
    CClusterMPI();
    ~CClusterMPI();

    // Forgets the evaluation in course (MPI stays up). Sends still in
    // flight are kept: MPI may still read them (they are only left after a
    // rank failed, and the job is then aborted).
    void Limpiar();

    // True when an MPI launcher started this process.
    static bool LanzadoPorMPI();

    bool Iniciar(int* pArgc, char*** pArgv, std::string& sError);
    bool GetIniciado() const { return m_bIniciado; }
    int GetRango() const { return m_nRango; }
    int GetProcesos() const { return m_nProcesos; }

    // Longest a rank may hold work without giving any back (seconds).
    void SetEspera(double dSegundos) { m_dEspera = dSegundos; }

    // Rank 0: every job's results, as EvaluarTrabajos gives them. False
    // with the reason when a rank fails or does not answer in time.
    bool Evaluar(int nGeneracion, const std::vector<STrabajo>& vTrabajos, const SConfigEvaluacion& config,
                 unsigned nHilos, std::vector<SResultadoTrabajo>& vResultados, std::string& sError);

    // The other ranks: play the batches rank 0 sends until it says stop.
    bool Atender(unsigned nHilos, std::string& sError);

    // Rank 0 tells the others to stop; then every rank leaves MPI.
    void Terminar();
    // Ends the whole job at once (a rank is gone, or cannot be trusted).
    void Abortar(int nCodigo);

    // Text rank 0 writes to stderr if the launcher ends it (as it does
    // when another rank dies). Plain bytes: the handler only copies them.
    static void SetAvisoInterrupcion(const std::string& sAviso);

    // Sends sBytes, waiting at most the wait limit for the rank to take
    // them. The bytes stay the cluster's until MPI is done with them: a send
    // that times out is cancelled and waited for, and kept if MPI still
    // holds it.
    bool Enviar(int nDestino, int nEtiqueta, const std::string& sBytes, std::string& sError);
    // Sends MPI may still read from.
    size_t GetEnviosPendientes() const { return m_lEnvios.size(); }

private:
    CClusterMPI(const CClusterMPI&);
    CClusterMPI& operator=(const CClusterMPI&);

    size_t TamanyoLote(size_t nPartidas, unsigned nHilos) const;
    bool EnviarLotes(size_t nPorLote, std::string& sError);
    bool EmpezarEnvio(int nDestino, int nEtiqueta, const std::string& sBytes, std::string& sError);
    bool AvanzarEnvios(std::string& sError);
    bool Recoger(bool& bRecibido, std::string& sError);
    bool RecibirBytes(int nOrigen, int nEtiqueta, std::string& sBytes, std::string& sError);
    bool ComprobarEsperas(std::string& sError) const;
    void ProvocarFalloSiToca(int nGeneracion) const;

    bool m_bIniciado;
    int m_nRango;
    int m_nProcesos;
    double m_dEspera;
    CReparto m_reparto;
    std::vector<std::vector<uint64_t>> m_vvnLotesDe;  // by rank: the batches it holds, oldest first
    std::vector<double> m_vdProgreso;                 // by rank: when it last got or gave back work
    std::list<SEnvioMPI> m_lEnvios;                   // sends not yet taken by their rank
};

#endif
