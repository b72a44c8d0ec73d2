#include "EntrenamientoRobot.h"

#include "RedInicial.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <tuple>

#include "Archivos.h"
#include "CGenerador.h"
#include "Comun/ArchivoEntero.h"
#include "Comun/TextoLocal.h"
#include "DebugLib/LogUtils/CLog.h"
#include "DebugLib/Random/Random.h"
#include "EtapaReal.h"
#include "FuenteRed.h"
#include "NEAT/CAlgoritmoGenetico.h"
#include "NEAT/CInnovacion.h"
#include "ParametrosRobot.h"
#include "Progreso.h"
#include "RobotEntrenado.h"
#include "visual/CResumen.h"
#include "visual/Informe.h"

namespace {

// Files of the output folder (the report reads them by these names).
const char* const kNombreEstadisticas = "estadisticas.csv";
const char* const kNombreEspecies = "especies.csv";
const char* const kNombreMejorRed = "mejor_red.txt";
const char* const kNombrePartida = "partida.json";

const char* const kCabeceraEstadisticas =
    "generacion,evaluaciones,mejor_puntuacion,media_puntuacion,mejor_idoneidad_historica,especies,"
    "neuronas_media,enlaces_media,segundos\n";
const char* const kCabeceraEspecies = "generacion,especie,miembros,edad,lider,hijos\n";

// Leaders of this many generations, the best by training score, play the
// validation matches that choose the final network.
const size_t kCandidatosFinales = 8;
// Stands in for the member in the seeds of training matches: every member
// of a generation meets the same ones.
const uint64_t kMarcaMiembros = 0xFFFFFFFDull;
// Stands in for the generation in the seeds of validation matches.
const uint64_t kMarcaValidacion = 0xFFFFFFFFull;

double Ahora() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

std::string Formatear(const char* szFormato, double dValor)
{
    char szTexto[64];
    std::snprintf(szTexto, sizeof(szTexto), szFormato, dValor);
    return szTexto;
}

// The scripted rivals of each mix, the networks left out; a mix of networks
// only is dropped, and without any scripted rival the three classic duels
// stand in. Repeated mixes count once.
std::vector<TGrupoRivales> GruposGuion(const std::vector<TGrupoRivales>& vRivales)
{
    std::vector<TGrupoRivales> vGuion;
    for (const TGrupoRivales& grupo : vRivales) {
        TGrupoRivales guion;
        for (TRival eRival : grupo) {
            if (!EsRivalRed(eRival))
                guion.push_back(eRival);
        }
        if (!guion.empty() && std::find(vGuion.begin(), vGuion.end(), guion) == vGuion.end())
            vGuion.push_back(guion);
    }
    if (vGuion.empty())
        vGuion = {{Rival_Giratorio}, {Rival_Buscador}, {Rival_Quieto}};
    return vGuion;
}

std::vector<SEncuentro> EncuentrosValidacion(const std::vector<TGrupoRivales>& vGrupos, int nPartidas,
                                             unsigned nSemilla)
{
    std::vector<SEncuentro> vEncuentros;
    for (size_t r = 0; r < vGrupos.size(); ++r) {
        for (int k = 0; k < nPartidas; ++k) {
            SEncuentro encuentro;
            for (TRival eRival : vGrupos[r]) {
                SRivalEncuentro rival;
                rival.eRival = eRival;
                encuentro.vRivales.push_back(rival);
            }
            encuentro.nSemilla = SemillaEncuentro(nSemilla, kMarcaValidacion, r, static_cast<uint64_t>(k));
            vEncuentros.push_back(encuentro);
        }
    }
    return vEncuentros;
}

std::string FilaEstadistica(const SEstadisticaGeneracion& e)
{
    char szFila[256];
    std::snprintf(szFila, sizeof(szFila), "%d,%ld,%.4f,%.4f,%.4f,%d,%.3f,%.3f,%.2f\n", e.nGeneracion, e.nEvaluaciones,
                  e.dMejor, e.dMedia, e.dMejorHistorica, e.nEspecies, e.dNeuronasMedia, e.dEnlacesMedia, e.dSegundos);
    return szFila;
}

std::string Desplazar(const std::string& sTexto, int nDesplazamiento)
{
    std::string sResultado(sTexto);
    for (char& c : sResultado)
        c = static_cast<char>(static_cast<unsigned char>(c) + nDesplazamiento);
    return sResultado;
}

}  // namespace

std::string RutaPuntoControl(const std::string& sSalida)
{
    return RutaPoblacionPuntoControl(CarpetaPuntoControl(sSalida));
}

void ImprimirFinRobot(const CEntrenamientoRobot& entrenamiento, const SOpcionesRobot& opciones)
{
    const SCandidato& final = entrenamiento.GetCandidatoFinal();
    EscribirFormato(stdout,
                    "Mejor red: generaci"
                    "\xF3"
                    "n %d, puntuaci"
                    "\xF3"
                    "n %.1f",
                    final.nGeneracion, final.dPuntuacion);
    if (final.dValidacion >= 0)
        EscribirFormato(stdout,
                        " (validaci"
                        "\xF3"
                        "n %.1f, colocaci"
                        "\xF3"
                        "n %.1f %%)",
                        final.dValidacion, 100.0 * final.dColocacion);
    if (final.dPuntosReal >= 0)
        EscribirFormato(stdout, ", %.2f puntos por partida en la arena real", final.dPuntosReal);
    EscribirFormato(stdout, "\nResultados en %s/\n", opciones.sSalida.c_str());
    if (opciones.bInstalar)
        EscribirFormato(stdout, "Red instalada en %s\n", opciones.sFuenteRed.c_str());
}

double ValidarRed(const std::string& sRed, const std::vector<TGrupoRivales>& vRivales, int nPartidas, unsigned nSemilla,
                  const SConfigEvaluacion& config, unsigned nHilos)
{
    std::vector<STrabajo> vTrabajos(1);
    vTrabajos[0].sRed = sRed;
    vTrabajos[0].vEncuentros = EncuentrosValidacion(GruposGuion(vRivales), nPartidas, nSemilla);
    std::vector<SResultadoTrabajo> vResultados;
    EvaluarTrabajos(vTrabajos, config, nHilos, vResultados);
    return vResultados[0].dPuntuacion;
}

CEntrenamientoRobot::CEntrenamientoRobot()
    : m_pAG(nullptr), m_nEvaluaciones(0), m_dMejorHistorica(0), m_nUltimoPuntoControl(-1)
{}

CEntrenamientoRobot::~CEntrenamientoRobot() { Limpiar(); }

void CEntrenamientoRobot::Limpiar()
{
    // The members' genomes go first: the engine's species point at them.
    m_poblacion.Limpiar();
    delete m_pAG;
    m_pAG = nullptr;
    m_vsRedes.clear();
    m_vCandidatos.clear();
    m_vEstadisticas.clear();
    m_vsFilasEstadisticas.clear();
    m_vsFilasEspecies.clear();
    m_sMejorRed.clear();
    m_final = SCandidato();
    m_campeones = SCampeones();
    m_nEvaluaciones = 0;
    m_dMejorHistorica = 0;
    m_nUltimoPuntoControl = -1;
    m_sFalloPuntoControl.clear();
}

bool CEntrenamientoRobot::Ejecutar(const SOpcionesRobot& opciones, std::string& sError)
{
    Limpiar();
    m_opciones = opciones;
    const double dInicio = Ahora();
    if (!Preparar(sError))
        return false;
    const int nPrimera = m_pAG->GetGeneracion();
    // A run stopped after its last checkpoint, while choosing the final
    // network or writing it, resumes to finish just that.
    const bool bSoloFinal = !m_opciones.sReanudar.empty() && nPrimera == m_opciones.nGeneraciones;
    if (nPrimera >= m_opciones.nGeneraciones && !bSoloFinal) {
        sError =
            "La poblaci"
            "\xF3"
            "n ya lleva " +
            std::to_string(nPrimera) +
            " generaciones: pida m"
            "\xE1"
            "s con --generaciones";
        return false;
    }
    {
        CProgreso progreso(m_opciones.bSilencio);
        while (m_pAG->GetGeneracion() < m_opciones.nGeneraciones) {
            if (!RunGeneracion(progreso, dInicio, nPrimera, sError))
                return false;
        }
    }
    if (!ElegirRedFinal(sError))
        return false;
    const bool bSalidas = EscribirSalidasFinales(Ahora() - dInicio, sError);
    if (m_sFalloPuntoControl.empty())
        return bSalidas;
    // The results are out, but the run could not be saved as it ended.
    const std::string sGuardado = m_nUltimoPuntoControl < 0
                                      ? std::string("no hay ning") + "\xFA" + "n punto de control bueno"
                                      : std::string("el ") + "\xFA" + "ltimo punto de control bueno, " +
                                            CarpetaPuntoControl(m_opciones.sSalida) + ", es el de la generaci" +
                                            "\xF3" + "n " + std::to_string(m_nUltimoPuntoControl);
    sError = (bSalidas ? std::string() : sError + "; ") + m_sFalloPuntoControl + "; " + sGuardado;
    return false;
}

bool CEntrenamientoRobot::Preparar(std::string& sError)
{
    const bool bReanudar = !m_opciones.sReanudar.empty();
    SEstadoEntrenamiento estado;
    // Everything of a checkpoint is read and checked before anything of the
    // output folder changes.
    if (bReanudar && !CargarPuntoControl(estado, sError))
        return false;
    SRedInicial redInicial;
    if (!bReanudar && !ElegirRedInicial(redInicial, sError))
        return false;
    SetSemillaRandom(m_opciones.nSemilla);
    m_pAG = new CAlgoritmoGenetico;
    m_pAG->Inicializar(static_cast<int>(kEntradasRobot), static_cast<int>(kSalidasRobot));
    AplicarParametrosRobot(*m_pAG);
    m_poblacion.Crear(static_cast<size_t>(m_opciones.nPoblacion));
    if (bReanudar) {
        if (!RestaurarMotor(estado, sError))
            return false;
    } else {
        for (size_t i = 0; i < m_poblacion.GetTamanyo(); ++i)
            CrearPrimerGenoma(m_poblacion.GetMiembro(i), redInicial);
    }
    if (!CrearCarpeta(m_opciones.sSalida, sError))
        return false;
    if (bReanudar && !RestaurarArchivos(estado, sError))
        return false;
    EntregarLogs();
    if (bReanudar)
        Reanudar(estado);
    return true;
}

bool CEntrenamientoRobot::ElegirRedInicial(SRedInicial& red, std::string& sError) const
{
    if (m_opciones.sRedInicial == kRedInicialDisenyada) {
        red = RedInicialRobot();
        return true;
    }
    if (m_opciones.sRedInicial == kRedInicialNinguna)
        return true;
    std::string sTexto, sMotivo;
    if (!LeerFichero(m_opciones.sRedInicial, sTexto, sMotivo) ||
        !LeerRedInicial(sTexto, static_cast<int>(kEntradasRobot), static_cast<int>(kSalidasRobot), red, sMotivo)) {
        sError = "La red inicial " + m_opciones.sRedInicial + " no sirve: " + sMotivo;
        return false;
    }
    return true;
}

// The engine's minimal genome, with the starting network's weights when
// the run has one: same ids and draws either way.
void CEntrenamientoRobot::CrearPrimerGenoma(CIndividuo& miembro, const SRedInicial& red)
{
    m_pAG->CrearMente(&miembro);
    if (red.vPesos.empty())
        return;
    CGenoma* pSembrado = GenomaDesdeRedInicial(*miembro.GetGenoma(), red, m_pAG->GetBDInnovaciones());
    miembro.BorrarGenoma();
    miembro.SetGenoma(pSembrado);
}

void CEntrenamientoRobot::EntregarLogs()
{
    // A resumed run adds to the logs as the checkpoint left them.
    const char* szModo = m_opciones.sReanudar.empty() ? "w" : "a";
    const std::vector<std::string>& vNombres = NombresLogs();
    m_pAG->SetLogEspecies(new CLog(RutaEn(m_opciones.sSalida, vNombres[0]), szModo));
    m_pAG->SetLogGenes(new CLog(RutaEn(m_opciones.sSalida, vNombres[1]), szModo));
    m_pAG->SetLogAG(new CLog(RutaEn(m_opciones.sSalida, vNombres[2]), szModo));
}

// The checkpoint --reanudar names, whole and belonging to this run: its two
// files go together, its options are this run's, and its population file
// holds robots of its generation. Runs before the engine seeds the
// generator, so the draws of the checks leave the run unchanged.
bool CEntrenamientoRobot::CargarPuntoControl(SEstadoEntrenamiento& estado, std::string& sError) const
{
    std::string sCarpeta, sPoblacion, sMotivo;
    if (!LocalizarPuntoControl(m_opciones.sReanudar, sCarpeta, sMotivo) ||
        !LeerPuntoControl(sCarpeta, sPoblacion, estado, sMotivo)) {
        sError = "No se puede reanudar desde " + m_opciones.sReanudar + ": " + sMotivo;
        return false;
    }
    const std::string sDiferencias = DiferenciasDeOpciones(estado.vOpciones, OpcionesQueFijanLaEjecucion(m_opciones));
    if (!sDiferencias.empty()) {
        sError = "El punto de control " + sCarpeta +
                 " es de una ejecuci"
                 "\xF3"
                 "n con otras opciones; reanude con las mismas:\n" +
                 sDiferencias.substr(0, sDiferencias.size() - 1);
        return false;
    }
    if (estado.nGeneracion > m_opciones.nGeneraciones) {
        sError = "El punto de control " + sCarpeta + " ya lleva " + std::to_string(estado.nGeneracion) +
                 " generaciones: pida al menos esas con --generaciones";
        return false;
    }
    const std::string sTexto = Desplazar(sPoblacion, -static_cast<unsigned char>(kClavePuntoControl));
    return ComprobarPoblacionGuardada(sTexto, estado.nGeneracion, sError);
}

bool CEntrenamientoRobot::ComprobarPoblacionGuardada(const std::string& sTexto, int nGeneracion,
                                                     std::string& sError) const
{
    const std::string sRuta = m_opciones.sReanudar;
    CGenoma minimo(0, static_cast<int>(kEntradasRobot), static_cast<int>(kSalidasRobot));
    CInnovacion bd(minimo);
    std::vector<CGenoma> vGenomas;
    int nGeneracionFichero = 0;
    std::string sMotivo;
    if (!LeerTextoPoblacion(sTexto, nGeneracionFichero, vGenomas, bd, sMotivo)) {
        sError = sRuta +
                 " no es una poblaci"
                 "\xF3"
                 "n guardada: " +
                 sMotivo;
        return false;
    }
    for (const CGenoma& genoma : vGenomas) {
        if (genoma.GetNumEntradas() != kEntradasRobot || genoma.GetNumSalidas() != kSalidasRobot) {
            sError = sRuta +
                     " no guarda una poblaci"
                     "\xF3"
                     "n de robots (" +
                     std::to_string(kEntradasRobot) + " entradas, " + std::to_string(kSalidasRobot) + " salidas)";
            return false;
        }
    }
    if (nGeneracionFichero != nGeneracion) {
        sError = sRuta +
                 ": la poblaci"
                 "\xF3"
                 "n es de la generaci"
                 "\xF3"
                 "n " +
                 std::to_string(nGeneracionFichero) + " y el estado de la " + std::to_string(nGeneracion);
        return false;
    }
    return true;
}

bool CEntrenamientoRobot::RestaurarMotor(const SEstadoEntrenamiento& estado, std::string& sError)
{
    std::istringstream in(estado.sMotor);
    std::string sMotivo;
    if (!m_pAG->RecuperarEstado(m_poblacion.GetPoblacionIA(), in, sMotivo)) {
        sError = m_opciones.sReanudar + ": el estado del motor no sirve: " + sMotivo;
        return false;
    }
    if (m_pAG->GetGeneracion() != estado.nGeneracion) {
        sError = m_opciones.sReanudar +
                 ": el estado del motor es de otra generaci"
                 "\xF3"
                 "n";
        return false;
    }
    return true;
}

// The logs as the checkpoint saw them: whatever a run wrote after its last
// checkpoint goes, so that a resumed run's logs read as one run's.
bool CEntrenamientoRobot::RestaurarArchivos(const SEstadoEntrenamiento& estado, std::string& sError)
{
    for (size_t i = 0; i < NombresLogs().size(); ++i) {
        if (!EscribirArchivoEntero(RutaEn(m_opciones.sSalida, NombresLogs()[i]), estado.vsLogs[i], sError))
            return false;
    }
    return true;
}

// The engine is restored by now; the random generator is set last, after
// every draw that reading made.
void CEntrenamientoRobot::Reanudar(const SEstadoEntrenamiento& estado)
{
    SetEstadoRandom(estado.sRandom);
    m_nEvaluaciones = estado.nEvaluaciones;
    m_dMejorHistorica = estado.dMejorHistorica;
    m_vsFilasEstadisticas = estado.vsFilasEstadisticas;
    m_vsFilasEspecies = estado.vsFilasEspecies;
    m_vCandidatos = estado.vCandidatos;
    m_campeones = estado.campeones;
    m_nUltimoPuntoControl = estado.nGeneracion;
}

void CEntrenamientoRobot::CrearFenotipos()
{
    m_vsRedes.assign(m_poblacion.GetTamanyo(), std::string());
    for (size_t i = 0; i < m_poblacion.GetTamanyo(); ++i) {
        const CRedNeuronal* pRed = m_poblacion.GetMiembro(i).GetGenomaEditable()->CrearFenotipo();
        std::ostringstream texto;
        texto << *pRed;
        m_vsRedes[i] = texto.str();
    }
}

// Member i's match k: the rival mixes take turns. A rival from the
// population is another member, a champion a leader of an earlier
// generation (the seeker while there is none), each drawn from the match's
// seed and its place in the mix. Every member of a generation plays the
// same matches (seeds, arenas and scripted rivals), so that scores differ by
// how the members play, not by the luck of their draws: with a handful of
// matches each, that luck would decide more than the play.
std::vector<STrabajo> CEntrenamientoRobot::CrearTrabajos(int nGeneracion) const
{
    const size_t nMiembros = m_vsRedes.size();
    std::vector<STrabajo> vTrabajos(nMiembros);
    for (size_t i = 0; i < nMiembros; ++i) {
        vTrabajos[i].sRed = m_vsRedes[i];
        for (int k = 0; k < m_opciones.nPartidas; ++k) {
            SEncuentro encuentro;
            encuentro.nSemilla = SemillaEncuentro(m_opciones.nSemilla, static_cast<uint64_t>(nGeneracion),
                                                  kMarcaMiembros, static_cast<uint64_t>(k));
            const TGrupoRivales& grupo = m_opciones.vRivales[static_cast<size_t>(k) % m_opciones.vRivales.size()];
            for (size_t nPuesto = 0; nPuesto < grupo.size(); ++nPuesto)
                encuentro.vRivales.push_back(ElegirRival(grupo[nPuesto], encuentro.nSemilla, i, nPuesto));
            vTrabajos[i].vEncuentros.push_back(encuentro);
        }
    }
    return vTrabajos;
}

SRivalEncuentro CEntrenamientoRobot::ElegirRival(TRival eRival, uint64_t nSemilla, size_t nMiembro,
                                                 size_t nPuesto) const
{
    SRivalEncuentro rival;
    rival.eRival = eRival;
    if (eRival == Rival_Red) {
        const size_t nMiembros = m_vsRedes.size();
        size_t j = CGenerador::Mezclar(nSemilla, 1 + nPuesto) % (nMiembros - 1);
        if (j >= nMiembro)
            ++j;
        rival.sRed = m_vsRedes[j];
    } else if (eRival == Rival_Campeon) {
        const std::string* pCampeon = ElegirCampeon(m_campeones, nSemilla, nPuesto);
        if (pCampeon)
            rival.sRed = *pCampeon;
        else
            rival.eRival = kRivalSinCampeones;
    }
    return rival;
}

void CEntrenamientoRobot::Puntuar(const std::vector<SResultadoTrabajo>& vResultados,
                                  SEstadisticaGeneracion& estadistica)
{
    size_t nMejor = 0;
    double dSuma = 0, dNeuronas = 0, dEnlaces = 0;
    for (size_t i = 0; i < vResultados.size(); ++i) {
        CIndividuo& miembro = m_poblacion.GetMiembro(i);
        miembro.SetPuntuacion(vResultados[i].dPuntuacion);
        dSuma += vResultados[i].dPuntuacion;
        dNeuronas += miembro.GetGenoma()->GetNumGenesNeurona();
        dEnlaces += miembro.GetGenoma()->GetNumGenesEnlace();
        m_nEvaluaciones += static_cast<long>(vResultados[i].vEncuentros.size());
        if (vResultados[i].dPuntuacion > vResultados[nMejor].dPuntuacion)
            nMejor = i;
    }
    const double n = static_cast<double>(vResultados.size());
    estadistica.nEvaluaciones = m_nEvaluaciones;
    estadistica.dMejor = vResultados[nMejor].dPuntuacion;
    estadistica.dMedia = dSuma / n;
    estadistica.dNeuronasMedia = dNeuronas / n;
    estadistica.dEnlacesMedia = dEnlaces / n;
    m_dMejorHistorica = std::max(m_dMejorHistorica, estadistica.dMejor);  // scores are never negative
    estadistica.dMejorHistorica = m_dMejorHistorica;

    SCandidato candidato;
    candidato.sRed = m_vsRedes[nMejor];
    candidato.dPuntuacion = estadistica.dMejor;
    candidato.nGeneracion = estadistica.nGeneracion;
    m_vCandidatos.push_back(candidato);
    AnyadirCampeon(m_campeones, candidato.sRed);
}

void CEntrenamientoRobot::AnotarEspecies(int nGeneracion)
{
    for (const CEspecie& especie : m_pAG->GetEspecies()) {
        char szFila[160];
        std::snprintf(szFila, sizeof(szFila), "%d,%d,%d,%d,%.4f,%.2f\n", nGeneracion, especie.GetID(),
                      especie.GetNumMiembros(), especie.GetEdad(), especie.GetIdoneidadLider(),
                      especie.GetHijosAExpandir());
        m_vsFilasEspecies.push_back(szFila);
    }
}

bool CEntrenamientoRobot::RunGeneracion(CProgreso& progreso, double dInicio, int nPrimera, std::string& sError)
{
    const double dInicioGeneracion = Ahora();
    SEstadisticaGeneracion estadistica;
    estadistica.nGeneracion = m_pAG->GetGeneracion();
    CrearFenotipos();
    std::vector<SResultadoTrabajo> vResultados;
    if (!Evaluar(estadistica.nGeneracion, CrearTrabajos(estadistica.nGeneracion), vResultados, sError)) {
        sError =
            "Generaci"
            "\xF3"
            "n " +
            std::to_string(estadistica.nGeneracion) + ": " + sError;
        return false;
    }
    Puntuar(vResultados, estadistica);
    m_pAG->Epoca(m_poblacion.GetPoblacionIA());
    estadistica.nEspecies = static_cast<int>(m_pAG->GetEspecies().size());
    AnotarEspecies(estadistica.nGeneracion);
    estadistica.dSegundos = Ahora() - dInicioGeneracion;
    m_vEstadisticas.push_back(estadistica);

    const int nHechas = m_pAG->GetGeneracion();
    const bool bUltima = nHechas >= m_opciones.nGeneraciones;
    const bool bControl = m_opciones.nIntervaloControl > 0 && (nHechas - nPrimera) % m_opciones.nIntervaloControl == 0;
    if (bUltima || bControl)
        GuardarPuntoControl();
    // Written whole every generation and kept in the checkpoint: a failed
    // write (a full disk) is made good by a later one.
    std::string sFalloCsv;
    if (!EscribirEstadisticas(sFalloCsv))
        EscribirFormato(stderr, "AVISO: %s\n", sFalloCsv.c_str());

    const double dPorGeneracion = (Ahora() - dInicio) / (nHechas - nPrimera);
    progreso.Mostrar(
        "Generaci"
        "\xF3"
        "n " +
        std::to_string(nHechas) + "/" + std::to_string(m_opciones.nGeneraciones) + "  evaluaciones " +
        std::to_string(m_nEvaluaciones) + "  mejor " + Formatear("%.1f", estadistica.dMejor) + "  media " +
        Formatear("%.1f", estadistica.dMedia) + "  especies " + std::to_string(estadistica.nEspecies) + "  " +
        Formatear("%.1f", estadistica.dSegundos) + " s/gen  quedan " +
        FormatearDuracion(dPorGeneracion * (m_opciones.nGeneraciones - nHechas)));
    return true;
}

// A checkpoint that cannot be written does not stop the run: the previous
// one stays, and the next generation tries again.
void CEntrenamientoRobot::GuardarPuntoControl()
{
    std::string sPoblacion, sEstado, sError;
    if (EstadoActual(sPoblacion, sEstado, sError) &&
        EscribirPuntoControl(m_opciones.sSalida, sPoblacion, sEstado, sError)) {
        m_nUltimoPuntoControl = m_pAG->GetGeneracion();
        m_sFalloPuntoControl.clear();
        return;
    }
    m_sFalloPuntoControl =
        "No se pudo guardar el punto de control de la generaci"
        "\xF3"
        "n " +
        std::to_string(m_pAG->GetGeneracion()) + " (" + sError + ")";
    EscribirFormato(stderr,
                    "AVISO: %s; el anterior sigue intacto y se intentar"
                    "\xE1"
                    " de nuevo en el siguiente.\n",
                    m_sFalloPuntoControl.c_str());
}

bool CEntrenamientoRobot::EstadoActual(std::string& sPoblacion, std::string& sEstado, std::string& sError) const
{
    SEstadoEntrenamiento e;
    for (const std::string& sNombre : NombresLogs()) {
        std::string sLog;
        if (!LeerFichero(RutaEn(m_opciones.sSalida, sNombre), sLog, sError))
            return false;
        e.vsLogs.push_back(sLog);
    }
    sPoblacion =
        Desplazar(m_pAG->TextoPoblacion(m_poblacion.GetPoblacionIA()), static_cast<unsigned char>(kClavePuntoControl));
    e.nGeneracion = m_pAG->GetGeneracion();
    e.vOpciones = OpcionesQueFijanLaEjecucion(m_opciones);
    e.sHuellaPoblacion = Huella(sPoblacion);
    e.nEvaluaciones = m_nEvaluaciones;
    e.dMejorHistorica = m_dMejorHistorica;
    e.sRandom = GetEstadoRandom();
    std::istringstream filas(FilasEstadisticas());
    for (std::string sFila; std::getline(filas, sFila);)
        e.vsFilasEstadisticas.push_back(sFila + "\n");
    e.vsFilasEspecies = m_vsFilasEspecies;
    e.vCandidatos = m_vCandidatos;
    e.campeones = m_campeones;
    std::ostringstream motor;
    m_pAG->SalvarEstado(m_poblacion.GetPoblacionIA(), motor);
    e.sMotor = motor.str();
    sEstado = TextoEstado(e);
    return true;
}

bool CEntrenamientoRobot::Evaluar(int nGeneracion, const std::vector<STrabajo>& vTrabajos,
                                  std::vector<SResultadoTrabajo>& vResultados, std::string& sError) const
{
    if (m_fEvaluador)
        return m_fEvaluador(nGeneracion, vTrabajos, m_opciones.evaluacion, vResultados, sError);
    EvaluarTrabajos(vTrabajos, m_opciones.evaluacion, m_opciones.nHilos, vResultados);
    return true;
}

// Training scores are noisy (each generation meets new seeds), so the
// leaders with the best of them replay one fixed set of matches, and the
// best there is the network of the run.
bool CEntrenamientoRobot::ElegirRedFinal(std::string& sError)
{
    std::vector<SCandidato> vOrden = m_vCandidatos;
    std::stable_sort(vOrden.begin(), vOrden.end(),
                     [](const SCandidato& a, const SCandidato& b) { return a.dPuntuacion > b.dPuntuacion; });
    std::vector<SCandidato> vElegidos;
    for (const SCandidato& candidato : vOrden) {
        if (vElegidos.size() >= kCandidatosFinales)
            break;
        bool bRepetido = false;
        for (const SCandidato& elegido : vElegidos)
            bRepetido = bRepetido || elegido.sRed == candidato.sRed;
        if (!bRepetido)
            vElegidos.push_back(candidato);
    }
    AnyadirRedDePartida(vElegidos);
    if (m_opciones.nValidacion > 0) {
        std::vector<STrabajo> vTrabajos(vElegidos.size());
        const std::vector<SEncuentro> vEncuentros =
            EncuentrosValidacion(GruposGuion(m_opciones.vRivales), m_opciones.nValidacion, m_opciones.nSemilla);
        for (size_t i = 0; i < vElegidos.size(); ++i) {
            vTrabajos[i].sRed = vElegidos[i].sRed;
            vTrabajos[i].vEncuentros = vEncuentros;
        }
        std::vector<SResultadoTrabajo> vResultados;
        if (!Evaluar(-1, vTrabajos, vResultados, sError)) {
            sError =
                "Elecci"
                "\xF3"
                "n de la red final: " +
                sError;
            return false;
        }
        for (size_t i = 0; i < vElegidos.size(); ++i) {
            vElegidos[i].dValidacion = vResultados[i].dPuntuacion;
            vElegidos[i].dColocacion = ColocacionMedia(vResultados[i]);
        }
        // Placing first: the score's damage term favours networks that hit
        // often but lose, which is what the training scores already chose.
        std::stable_sort(vElegidos.begin(), vElegidos.end(), [](const SCandidato& a, const SCandidato& b) {
            return std::tie(a.dColocacion, a.dValidacion) > std::tie(b.dColocacion, b.dValidacion);
        });
    }
    if (m_opciones.nEtapaRealRedes > 0)
        EtapaReal(vElegidos);
    m_final = vElegidos.front();
    m_sMejorRed = m_final.sRed;
    return true;
}

// A run that starts from a given network keeps it among the final
// candidates (the first generation's leader is that network): training
// scores are noisy, and evolution must beat the start on the validation
// matches to replace it.
void CEntrenamientoRobot::AnyadirRedDePartida(std::vector<SCandidato>& vElegidos) const
{
    if (m_opciones.sRedInicial == kRedInicialNinguna || m_vCandidatos.empty())
        return;
    const SCandidato& partida = m_vCandidatos.front();
    for (const SCandidato& elegido : vElegidos) {
        if (elegido.sRed == partida.sRed)
            return;
    }
    vElegidos.push_back(partida);
}

// The best networks after validation play the real arena; the one with the
// most points per game goes first. A stage that cannot be played leaves the
// validation's order and says why: the run's results are not lost to it.
void CEntrenamientoRobot::EtapaReal(std::vector<SCandidato>& vElegidos)
{
    const size_t nRedes = std::min(vElegidos.size(), static_cast<size_t>(m_opciones.nEtapaRealRedes));
    std::vector<std::string> vsRedes;
    std::string sError;
    for (size_t i = 0; i < nRedes; ++i) {
        vsRedes.push_back(RutaEn(m_opciones.sSalida, "candidata_real_" + std::to_string(i + 1) + ".txt"));
        if (!EscribirArchivoEntero(vsRedes.back(), vElegidos[i].sRed, sError))
            break;
    }
    std::vector<double> vdPuntos;
    bool bHecha = false;
    if (sError.empty()) {
        CProgreso progreso(m_opciones.bSilencio);
        bHecha = JugarEtapaReal(m_opciones, vsRedes, progreso, vdPuntos, sError);
    }
    if (!bHecha) {
        m_sEtapaReal = "saltada: " + sError;
        EscribirFormato(stderr, "AVISO: etapa en la arena real saltada: %s\n", sError.c_str());
        return;
    }
    std::string sCsv = "candidata,generacion,puntuacion,validacion,puntos_por_partida_real\n";
    for (size_t i = 0; i < nRedes; ++i) {
        vElegidos[i].dPuntosReal = vdPuntos[i];
        char szFila[160];
        std::snprintf(szFila, sizeof(szFila), "%zu,%d,%.4f,%.4f,%.4f\n", i + 1, vElegidos[i].nGeneracion,
                      vElegidos[i].dPuntuacion, vElegidos[i].dValidacion, vdPuntos[i]);
        sCsv += szFila;
    }
    if (!EscribirArchivoEntero(RutaEn(m_opciones.sSalida, "etapa_real.csv"), sCsv, sError))
        EscribirFormato(stderr, "AVISO: %s\n", sError.c_str());
    std::stable_sort(vElegidos.begin(), vElegidos.begin() + static_cast<long>(nRedes),
                     [](const SCandidato& a, const SCandidato& b) { return a.dPuntosReal > b.dPuntosReal; });
    m_sEtapaReal = "hecha";
}

std::string CEntrenamientoRobot::FilasEstadisticas() const
{
    std::string sTexto;
    for (const std::string& sFila : m_vsFilasEstadisticas)
        sTexto += sFila;
    for (const SEstadisticaGeneracion& e : m_vEstadisticas)
        sTexto += FilaEstadistica(e);
    return sTexto;
}

bool CEntrenamientoRobot::EscribirEstadisticas(std::string& sError) const
{
    std::string sEspecies = kCabeceraEspecies;
    for (const std::string& sFila : m_vsFilasEspecies)
        sEspecies += sFila;
    return EscribirArchivoEntero(RutaEn(m_opciones.sSalida, kNombreEstadisticas),
                                 kCabeceraEstadisticas + FilasEstadisticas(), sError) &&
           EscribirArchivoEntero(RutaEn(m_opciones.sSalida, kNombreEspecies), sEspecies, sError);
}

bool CEntrenamientoRobot::EscribirSalidasFinales(double dSegundos, std::string& sError)
{
    const SOpcionesRobot& o = m_opciones;
    // Again at the end: a run stopped after its last checkpoint and before
    // these files resumes without running a generation.
    if (!EscribirEstadisticas(sError) ||
        !EscribirArchivoEntero(RutaEn(o.sSalida, kNombreMejorRed), m_sMejorRed, sError))
        return false;
    CResumen resumen;
    resumen.Anyadir("programa", "entrenar robot");
    resumen.Anyadir("semilla", o.nSemilla);
    resumen.Anyadir("generaciones", m_pAG->GetGeneracion());
    resumen.Anyadir("evaluaciones", static_cast<double>(m_nEvaluaciones));
    resumen.Anyadir("mejor_puntuacion", m_final.dPuntuacion);
    resumen.Anyadir("generacion_mejor_red", m_final.nGeneracion);
    if (m_final.dValidacion >= 0)
        resumen.Anyadir("puntuacion_validacion", m_final.dValidacion);
    if (m_final.dColocacion >= 0)
        resumen.Anyadir("colocacion_validacion", m_final.dColocacion);
    if (m_final.dPuntosReal >= 0)
        resumen.Anyadir("puntos_por_partida_real", m_final.dPuntosReal);
    if (!m_sEtapaReal.empty())
        resumen.Anyadir("etapa_real", m_sEtapaReal);
    resumen.Anyadir("segundos", dSegundos);
    resumen.Anyadir("puntuacion",
                    "50 x (1 + (puntos - 1) / (robots - 1)) + da"
                    "\xF1"
                    "o causado + 0.5 x energ"
                    "\xED"
                    "a restante");
    resumen.AnyadirParametro("poblacion", static_cast<double>(m_poblacion.GetTamanyo()));
    resumen.AnyadirParametro("partidas_por_miembro", o.nPartidas);
    resumen.AnyadirParametro("rivales", TextoRivales(o.vRivales));
    resumen.AnyadirParametro("tiempo_partida", o.evaluacion.dTiempoMaximo);
    resumen.AnyadirParametro("arena", o.evaluacion.sArena);
    resumen.AnyadirParametro("hilos", o.nHilos);
    resumen.AnyadirParametro("partidas_validacion", o.nValidacion);
    resumen.AnyadirParametro("punto_control", o.nIntervaloControl);
    if (o.nEtapaRealRedes > 0)
        resumen.AnyadirParametro("etapa_real",
                                 std::to_string(o.nEtapaRealRedes) + "," + std::to_string(o.nEtapaRealPartidas));
    if (!o.sReanudar.empty())
        resumen.AnyadirParametro("reanudada_desde", o.sReanudar);
    if (!resumen.Guardar(o.sSalida, sError))
        return false;
    if (!GrabarPartida(sError))
        return false;
    if (o.bInstalar && !Instalar(sError))
        return false;
    if (o.bInforme && !GenerarInforme(o.sSalida, sError))
        return false;
    return true;
}

bool CEntrenamientoRobot::GrabarPartida(std::string& sError) const
{
    return GrabarPartidaContra(m_sMejorRed, "", RivalesDistintos(GruposGuion(m_opciones.vRivales)), m_opciones.nSemilla,
                               m_opciones.evaluacion, RutaEn(m_opciones.sSalida, kNombrePartida), sError);
}

bool CEntrenamientoRobot::Instalar(std::string& sError) const
{
    return EscribirArchivoEntero(m_opciones.sFuenteRed, GenerarFuenteRedIntegrada(m_sMejorRed), sError);
}
