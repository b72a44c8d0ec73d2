#include "ClusterMPI.h"

#include <mpi.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <thread>

#include <signal.h>
#include <unistd.h>

namespace {

const int kEtiquetaLote = 1;
const int kEtiquetaRespuesta = 2;
const int kEtiquetaFin = 3;

// Exit code of rank 0 when the launcher ends it.
const int kSalidaInterrumpida = 3;

// Batches per process and evaluation that the automatic size aims at:
// enough for a slow process not to hold the others up.
const size_t kLotesPorProceso = 4;
const size_t kPartidasPorHilo = 4;
// Each rank holds a second batch while it plays the first, so that it
// never waits for rank 0 (busy with its own batch) to hand it the next.
const size_t kLotesEnVuelo = 2;

// Idle processes poll instead of blocking in MPI, which would spin a core.
const std::chrono::milliseconds kPausa(1);
// How long a cancelled send is waited for before it is left to MPI.
const double kEsperaCancelacion = 5.0;

// Two buffers: the main thread fills the one the handler does not read.
const size_t kMaxAviso = 1024;
char g_aszAviso[2][kMaxAviso];
volatile size_t g_anAviso[2] = {0, 0};
volatile sig_atomic_t g_nAvisoActual = 0;

extern "C" void AlInterrumpir(int)
{
    const int n = g_nAvisoActual;
    if (g_anAviso[n] > 0) {
        ssize_t nEscrito = ::write(STDERR_FILENO, g_aszAviso[n], g_anAviso[n]);
        (void)nEscrito;
    }
    ::_exit(kSalidaInterrumpida);
}

double Ahora() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

std::string TextoErrorMPI(int nCodigo)
{
    char szTexto[MPI_MAX_ERROR_STRING];
    int nLongitud = 0;
    if (MPI_Error_string(nCodigo, szTexto, &nLongitud) != MPI_SUCCESS)
        return "error MPI " + std::to_string(nCodigo);
    return std::string(szTexto, static_cast<size_t>(nLongitud));
}

std::string FalloConProceso(int nRango, const std::string& sQue, int nCodigo)
{
    return "el proceso " + std::to_string(nRango) +
           " fall"
           "\xF3"
           " (" +
           sQue + ": " + TextoErrorMPI(nCodigo) + ")";
}

// Whether a message from nOrigen with nEtiqueta waits, without taking it.
bool Sondear(int nOrigen, int nEtiqueta, bool& bHay, MPI_Status& estado, std::string& sError)
{
    int nHay = 0;
    const int nCodigo = MPI_Iprobe(nOrigen, nEtiqueta, MPI_COMM_WORLD, &nHay, &estado);
    if (nCodigo != MPI_SUCCESS) {
        sError =
            "fallo de comunicaci"
            "\xF3"
            "n MPI: " +
            TextoErrorMPI(nCodigo);
        return false;
    }
    bHay = nHay != 0;
    return true;
}

}  // namespace

CClusterMPI::CClusterMPI() : m_bIniciado(false), m_nRango(0), m_nProcesos(1), m_dEspera(600.0) {}

CClusterMPI::~CClusterMPI()
{
    Limpiar();
    if (m_bIniciado)
        Terminar();
}

void CClusterMPI::Limpiar()
{
    m_reparto.Limpiar();
    for (std::vector<uint64_t>& vnLotes : m_vvnLotesDe)
        vnLotes.clear();
}

bool CClusterMPI::LanzadoPorMPI()
{
    for (const char* szVariable : {"OMPI_COMM_WORLD_SIZE", "PMIX_RANK", "PMI_RANK", "PMI_SIZE"}) {
        if (std::getenv(szVariable))
            return true;
    }
    return false;
}

bool CClusterMPI::Iniciar(int* pArgc, char*** pArgv, std::string& sError)
{
    if (MPI_Init(pArgc, pArgv) != MPI_SUCCESS) {
        sError = "No se pudo iniciar MPI";
        return false;
    }
    m_bIniciado = true;
    // Faults come back as return codes, so that rank 0 can say what was lost.
    MPI_Comm_set_errhandler(MPI_COMM_WORLD, MPI_ERRORS_RETURN);
    MPI_Comm_rank(MPI_COMM_WORLD, &m_nRango);
    MPI_Comm_size(MPI_COMM_WORLD, &m_nProcesos);
    m_vvnLotesDe.assign(static_cast<size_t>(m_nProcesos), std::vector<uint64_t>());
    m_vdProgreso.assign(static_cast<size_t>(m_nProcesos), 0.0);
    if (m_nRango == 0) {
        std::signal(SIGTERM, AlInterrumpir);
        std::signal(SIGINT, AlInterrumpir);
    }
    return true;
}

void CClusterMPI::SetAvisoInterrupcion(const std::string& sAviso)
{
    const int nLibre = 1 - g_nAvisoActual;
    const size_t n = std::min(sAviso.size(), kMaxAviso);
    std::memcpy(g_aszAviso[nLibre], sAviso.data(), n);
    g_anAviso[nLibre] = n;
    g_nAvisoActual = nLibre;
}

// Small batches, so that the work evens out over the processes; but not
// so small that the messages cost more than the matches.
size_t CClusterMPI::TamanyoLote(size_t nPartidas, unsigned nHilos) const
{
    const size_t nParaRepartir = nPartidas / (kLotesPorProceso * static_cast<size_t>(m_nProcesos));
    return std::max<size_t>(1, std::min<size_t>(std::max(nHilos, 1u) * kPartidasPorHilo, nParaRepartir));
}

bool CClusterMPI::Evaluar(int nGeneracion, const std::vector<STrabajo>& vTrabajos, const SConfigEvaluacion& config,
                          unsigned nHilos, std::vector<SResultadoTrabajo>& vResultados, std::string& sError)
{
    Limpiar();
    m_reparto.Iniciar(vTrabajos, nGeneracion, config);
    size_t nPartidas = 0;
    for (const STrabajo& trabajo : vTrabajos)
        nPartidas += trabajo.vEncuentros.size();
    const size_t nPorLote = TamanyoLote(nPartidas, nHilos);
    const size_t nPorLoteLocal = std::max(1u, nHilos);
    while (!m_reparto.Terminado()) {
        bool bRecibido = false;
        if (!EnviarLotes(nPorLote, sError) || !AvanzarEnvios(sError) || !Recoger(bRecibido, sError))
            return false;
        if (bRecibido)
            continue;
        SLote lote;
        if (m_reparto.Repartir(nPorLoteLocal, lote)) {
            if (!m_reparto.Recibir(JugarLote(lote, nHilos), sError))
                return false;
            continue;
        }
        if (!ComprobarEsperas(sError))
            return false;
        std::this_thread::sleep_for(kPausa);
    }
    // Every batch came back, so every send has been taken; MPI may only
    // need a test to know.
    while (!m_lEnvios.empty()) {
        if (!AvanzarEnvios(sError))
            return false;
        std::this_thread::sleep_for(kPausa);
    }
    m_reparto.GetResultados(vResultados);
    return true;
}

bool CClusterMPI::EnviarLotes(size_t nPorLote, std::string& sError)
{
    for (int r = 1; r < m_nProcesos && m_reparto.HayPendientes(); ++r) {
        std::vector<uint64_t>& vnLotes = m_vvnLotesDe[r];
        if (vnLotes.size() >= kLotesEnVuelo)
            continue;
        SLote lote;
        m_reparto.Repartir(nPorLote, lote);
        if (!EmpezarEnvio(r, kEtiquetaLote, CodificarLote(lote), sError))
            return false;
        if (vnLotes.empty())
            m_vdProgreso[r] = Ahora();
        vnLotes.push_back(lote.nId);
    }
    return true;
}

// A rank busy with a batch takes the next one only when it has finished:
// meanwhile rank 0 goes on with its own work.
bool CClusterMPI::EmpezarEnvio(int nDestino, int nEtiqueta, const std::string& sBytes, std::string& sError)
{
    m_lEnvios.push_back(SEnvioMPI());
    SEnvioMPI& envio = m_lEnvios.back();
    envio.nDestino = nDestino;
    envio.sBytes = sBytes;
    const int nCodigo = MPI_Isend(envio.sBytes.data(), static_cast<int>(envio.sBytes.size()), MPI_BYTE, nDestino,
                                  nEtiqueta, MPI_COMM_WORLD, &envio.peticion);
    if (nCodigo != MPI_SUCCESS) {
        sError = FalloConProceso(nDestino, "al enviarle un lote", nCodigo);
        return false;
    }
    return true;
}

bool CClusterMPI::AvanzarEnvios(std::string& sError)
{
    for (auto it = m_lEnvios.begin(); it != m_lEnvios.end();) {
        int bHecho = 0;
        const int nCodigo = MPI_Test(&it->peticion, &bHecho, MPI_STATUS_IGNORE);
        if (nCodigo != MPI_SUCCESS) {
            sError = FalloConProceso(it->nDestino, "al enviarle un lote", nCodigo);
            return false;
        }
        it = bHecho ? m_lEnvios.erase(it) : std::next(it);
    }
    return true;
}

namespace {

// Tests the send until it completes or dSegundos pass. False only when MPI
// reports a fault (nCodigo).
bool EsperarEnvio(SEnvioMPI& envio, double dSegundos, bool& bHecho, int& nCodigo)
{
    const double dLimite = Ahora() + dSegundos;
    int bListo = 0;
    nCodigo = MPI_Test(&envio.peticion, &bListo, MPI_STATUS_IGNORE);
    while (nCodigo == MPI_SUCCESS && !bListo && Ahora() <= dLimite) {
        std::this_thread::sleep_for(kPausa);
        nCodigo = MPI_Test(&envio.peticion, &bListo, MPI_STATUS_IGNORE);
    }
    bHecho = bListo != 0;
    return nCodigo == MPI_SUCCESS;
}

}  // namespace

// Sends without blocking for ever: a rank that stopped listening is found
// out by the wait's limit.
bool CClusterMPI::Enviar(int nDestino, int nEtiqueta, const std::string& sBytes, std::string& sError)
{
    if (!EmpezarEnvio(nDestino, nEtiqueta, sBytes, sError))
        return false;
    const std::list<SEnvioMPI>::iterator it = std::prev(m_lEnvios.end());
    bool bHecho = false;
    int nCodigo = MPI_SUCCESS;
    if (!EsperarEnvio(*it, m_dEspera, bHecho, nCodigo)) {
        sError = FalloConProceso(nDestino, "al enviarle un mensaje", nCodigo);
        return false;
    }
    if (bHecho) {
        m_lEnvios.erase(it);
        return true;
    }
    // A cancelled send completes too, cancelled or delivered; until then MPI
    // may read its bytes, so they stay in the list.
    MPI_Cancel(&it->peticion);
    if (EsperarEnvio(*it, kEsperaCancelacion, bHecho, nCodigo) && bHecho)
        m_lEnvios.erase(it);
    sError = "el proceso " + std::to_string(nDestino) + " no recibe mensajes desde hace " +
             std::to_string(static_cast<int>(m_dEspera)) + " s";
    return false;
}

bool CClusterMPI::Recoger(bool& bRecibido, std::string& sError)
{
    bRecibido = false;
    bool bHay = false;
    MPI_Status estado;
    if (!Sondear(MPI_ANY_SOURCE, kEtiquetaRespuesta, bHay, estado, sError))
        return false;
    if (!bHay)
        return true;
    const int nOrigen = estado.MPI_SOURCE;
    std::string sBytes;
    SRespuestaLote respuesta;
    if (!RecibirBytes(nOrigen, kEtiquetaRespuesta, sBytes, sError))
        return false;
    // A rank plays its batches in the order it got them.
    std::vector<uint64_t>& vnLotes = m_vvnLotesDe[nOrigen];
    if (!DecodificarRespuesta(sBytes, respuesta) || vnLotes.empty() || respuesta.nId != vnLotes.front()) {
        sError = "el proceso " + std::to_string(nOrigen) +
                 " devolvi"
                 "\xF3"
                 " una respuesta que no es la de su lote";
        return false;
    }
    if (!m_reparto.Recibir(respuesta, sError)) {
        sError = "el proceso " + std::to_string(nOrigen) + ": " + sError;
        return false;
    }
    vnLotes.erase(vnLotes.begin());
    m_vdProgreso[nOrigen] = Ahora();
    bRecibido = true;
    return true;
}

bool CClusterMPI::RecibirBytes(int nOrigen, int nEtiqueta, std::string& sBytes, std::string& sError)
{
    MPI_Status estado;
    int nBytes = 0;
    int nCodigo = MPI_Probe(nOrigen, nEtiqueta, MPI_COMM_WORLD, &estado);
    if (nCodigo == MPI_SUCCESS)
        nCodigo = MPI_Get_count(&estado, MPI_BYTE, &nBytes);
    if (nCodigo == MPI_SUCCESS) {
        sBytes.assign(static_cast<size_t>(std::max(nBytes, 0)), '\0');
        nCodigo = MPI_Recv(&sBytes[0], nBytes, MPI_BYTE, nOrigen, nEtiqueta, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
    }
    if (nCodigo != MPI_SUCCESS) {
        sError = FalloConProceso(nOrigen, "al recibir", nCodigo);
        return false;
    }
    return true;
}

bool CClusterMPI::ComprobarEsperas(std::string& sError) const
{
    const double dAhora = Ahora();
    for (int r = 1; r < m_nProcesos; ++r) {
        if (!m_vvnLotesDe[r].empty() && dAhora - m_vdProgreso[r] > m_dEspera) {
            sError = "el proceso " + std::to_string(r) +
                     " no devolvi"
                     "\xF3"
                     " su lote en " +
                     std::to_string(static_cast<int>(m_dEspera)) + " s";
            return false;
        }
    }
    return true;
}

bool CClusterMPI::Atender(unsigned nHilos, std::string& sError)
{
    while (true) {
        bool bHay = false;
        MPI_Status estado;
        if (!Sondear(0, MPI_ANY_TAG, bHay, estado, sError))
            return false;
        if (!bHay) {
            std::this_thread::sleep_for(kPausa);
            continue;
        }
        std::string sBytes;
        if (!RecibirBytes(0, estado.MPI_TAG, sBytes, sError))
            return false;
        if (estado.MPI_TAG == kEtiquetaFin)
            return true;
        SLote lote;
        if (estado.MPI_TAG != kEtiquetaLote || !DecodificarLote(sBytes, lote)) {
            sError = "mensaje de lote ilegible";
            return false;
        }
        ProvocarFalloSiToca(lote.nGeneracion);
        if (!Enviar(0, kEtiquetaRespuesta, CodificarRespuesta(JugarLote(lote, nHilos)), sError))
            return false;
    }
}

// For the tests of faults: ENTRENAR_MPI_FALLO="rango:generacion" makes that
// rank die on its first batch of that generation, as a crashed host would;
// "rango:generacion:colgar" makes it stop answering instead, as a host cut
// off the network would.
void CClusterMPI::ProvocarFalloSiToca(int nGeneracion) const
{
    const char* szFallo = std::getenv("ENTRENAR_MPI_FALLO");
    int nRango = -1, nEnGeneracion = -1;
    char szModo[16] = "";
    if (!szFallo || std::sscanf(szFallo, "%d:%d:%15s", &nRango, &nEnGeneracion, szModo) < 2 || nRango != m_nRango ||
        nEnGeneracion != nGeneracion)
        return;
    if (std::strcmp(szModo, "colgar") != 0)
        ::kill(::getpid(), SIGKILL);
    while (true)
        ::pause();
}

void CClusterMPI::Terminar()
{
    if (!m_bIniciado)
        return;
    if (m_nRango == 0) {
        std::string sError;
        for (int r = 1; r < m_nProcesos; ++r)
            Enviar(r, kEtiquetaFin, std::string(), sError);
        std::signal(SIGTERM, SIG_DFL);
        std::signal(SIGINT, SIG_DFL);
    }
    MPI_Finalize();
    m_bIniciado = false;
}

void CClusterMPI::Abortar(int nCodigo)
{
    if (m_bIniciado)
        MPI_Abort(MPI_COMM_WORLD, nCodigo);
    std::_Exit(nCodigo);
}
