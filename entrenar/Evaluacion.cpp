#include "Evaluacion.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "CGenerador.h"
#include "CGrabacion.h"
#include "CProgramaRobot.h"
#include "Comun/TextoLocal.h"
#include "RobotEntrenado.h"

namespace {

const char* const kNombreEntrenado = "entrenado";

SControlador ControladorGuion(TRival eRival)
{
    SControlador controlador;
    switch (eRival) {
        case Rival_Giratorio:
            controlador.eTipo = Controlador_Giratorio;
            break;
        case Rival_Buscador:
            controlador.eTipo = Controlador_Buscador;
            break;
        case Rival_Cazador:
            controlador.eTipo = Controlador_Cazador;
            break;
        case Rival_Orbitador:
            controlador.eTipo = Controlador_Orbitador;
            break;
        default:
            controlador.eTipo = Controlador_Quieto;
            break;
    }
    return controlador;
}

SControlador ControladorTexto(CRobotEntrenado& robot)
{
    SControlador controlador;
    controlador.eTipo = Controlador_Texto;
    controlador.fTexto = [&robot](const std::string& sMensajes, std::string& sComandos) {
        robot.Atender(sMensajes, sComandos);
    };
    return controlador;
}

SResultadoEncuentro Resultado(const CPartida& partida)
{
    SResultadoEncuentro resultado;
    const std::vector<SResultadoRobot> vResultados = partida.GetResultados();
    resultado.propio = vResultados[0];
    resultado.vRivales.assign(vResultados.begin() + 1, vResultados.end());
    resultado.dPuntuacion = PuntuarEncuentro(resultado.propio, partida.GetNumRobots());
    resultado.bGana = true;
    for (const SResultadoRobot& rival : resultado.vRivales) {
        resultado.bGana = resultado.bGana && resultado.propio.dPuntos > rival.dPuntos;
        resultado.bPierde = resultado.bPierde || resultado.propio.dPuntos < rival.dPuntos;
    }
    return resultado;
}

}  // namespace

double PuntuarEncuentro(const SResultadoRobot& resultado, int nRobots)
{
    const double dJuegos = static_cast<double>(std::max<size_t>(1, resultado.vdPuntosJuego.size()));
    double dColocacion = 0;
    if (nRobots > 1)
        dColocacion = std::max(0.0, (resultado.dPuntos - dJuegos) / (nRobots - 1));
    return kPesoPuntos * (dJuegos + dColocacion) + kPesoDanyo * resultado.dDanyoCausado +
           kPesoEnergia * resultado.dEnergiaRestante;
}

double ColocacionMedia(const SResultadoTrabajo& resultado)
{
    if (resultado.vEncuentros.empty())
        return 0.0;
    double dSuma = 0;
    for (const SResultadoEncuentro& e : resultado.vEncuentros) {
        const double dJuegos = static_cast<double>(std::max<size_t>(1, e.propio.vdPuntosJuego.size()));
        const double dRobots = static_cast<double>(e.vRivales.size() + 1);
        if (dRobots > 1)
            dSuma += std::max(0.0, (e.propio.dPuntos - dJuegos) / (dRobots - 1)) / dJuegos;
    }
    return dSuma / static_cast<double>(resultado.vEncuentros.size());
}

const char* NombreRival(TRival eRival)
{
    switch (eRival) {
        case Rival_Giratorio:
            return "giratorio";
        case Rival_Buscador:
            return "buscador";
        case Rival_Quieto:
            return "quieto";
        case Rival_Red:
            return "poblacion";
        case Rival_Campeon:
            return "campeones";
        case Rival_Cazador:
            return "cazador";
        case Rival_Orbitador:
            return "orbitador";
        case Rival_Programa:
            return "programa";
    }
    return "?";
}

bool LeerRival(const std::string& sNombre, TRival& eRival)
{
    for (int n = 0; n < kNumTiposRival; ++n) {
        if (n != Rival_Programa && sNombre == NombreRival(static_cast<TRival>(n))) {
            eRival = static_cast<TRival>(n);
            return true;
        }
    }
    if (sNombre == "red") {
        eRival = Rival_Red;
        return true;
    }
    return false;
}

std::string NombrePrograma(const std::string& sRuta)
{
    std::string sNombre = sRuta.substr(sRuta.find_last_of('/') + 1);
    const std::string sExtension = ".robot";
    if (sNombre.size() > sExtension.size() &&
        sNombre.compare(sNombre.size() - sExtension.size(), sExtension.size(), sExtension) == 0)
        sNombre.resize(sNombre.size() - sExtension.size());
    return sNombre;
}

bool EsRivalRed(TRival eRival) { return eRival == Rival_Red || eRival == Rival_Campeon; }

bool EsRivalGuion(TRival eRival) { return !EsRivalRed(eRival) && eRival != Rival_Programa; }

std::vector<TRival> RivalesDistintos(const std::vector<TGrupoRivales>& vGrupos)
{
    std::vector<TRival> vRivales;
    for (const TGrupoRivales& grupo : vGrupos) {
        for (TRival eRival : grupo) {
            if (vRivales.size() < kMaxRivalesGrupo &&
                std::find(vRivales.begin(), vRivales.end(), eRival) == vRivales.end())
                vRivales.push_back(eRival);
        }
    }
    return vRivales;
}

uint64_t SemillaEncuentro(uint64_t nSemillaRun, uint64_t nGeneracion, uint64_t nMiembro, uint64_t nPartida)
{
    return CGenerador::Mezclar(CGenerador::Mezclar(CGenerador::Mezclar(nSemillaRun, nGeneracion), nMiembro), nPartida);
}

void ElegirArena(const SConfigEvaluacion& config, uint64_t nSemilla, SConfigPartida& configPartida)
{
    configPartida.eArena = config.eArena;
    if (config.eArena != Arena_Archivo || config.vsArenas.empty())
        return;
    const size_t nArena = CGenerador::Mezclar(nSemilla, 0xA7E4A) % config.vsArenas.size();
    if (config.vsArenas[nArena].empty()) {
        configPartida.eArena = Arena_Aleatoria;
        return;
    }
    configPartida.sArena = config.vsArenas[nArena];
    configPartida.sNombreArena = config.vsNombresArenas[nArena];
}

namespace {

// A robot program for one match; nullptr (said on stderr) when it cannot be
// started.
CProgramaRobot* ArrancarPrograma(const std::string& sRuta, unsigned nMsRespuesta)
{
    CProgramaRobot* pPrograma = new CProgramaRobot();
    pPrograma->SetEsperaRespuesta(static_cast<int>(nMsRespuesta));
    std::string sError;
    if (pPrograma->Iniciar(sRuta, sError))
        return pPrograma;
    EscribirFormato(stderr, "ERROR: %s\n", sError.c_str());
    delete pPrograma;
    return nullptr;
}

}  // namespace

SResultadoEncuentro JugarEncuentro(const std::string& sRed, const SEncuentro& encuentro,
                                   const SConfigEvaluacion& config, CGrabacion** ppGrabacion,
                                   const std::string& sPrograma, TRival eGuion)
{
    SConfigPartida configPartida;
    ElegirArena(config, encuentro.nSemilla, configPartida);
    configPartida.nSemilla = encuentro.nSemilla;
    configPartida.dPaso = config.dPaso;
    configPartida.dTiempoMaximo = config.dTiempoMaximo;
    configPartida.nJuegos = 1;
    configPartida.bGrabar = ppGrabacion != nullptr;

    // Programs are started only once the arena accepted the match.
    CPartida partida;
    if (!partida.Configurar(configPartida))
        return SResultadoEncuentro();
    std::vector<CRobotEntrenado*> vRedes;
    std::vector<CProgramaRobot*> vProgramas;
    bool bArrancados = true;
    if (EsRivalGuion(eGuion)) {
        partida.AddRobot(NombreRival(eGuion), ControladorGuion(eGuion));
    } else if (sPrograma.empty()) {
        vRedes.push_back(new CRobotEntrenado(kNombreEntrenado, sRed));
        partida.AddRobot(kNombreEntrenado, ControladorTexto(*vRedes.back()));
    } else {
        vProgramas.push_back(ArrancarPrograma(sPrograma, config.nMsRespuesta));
        bArrancados = vProgramas.back() != nullptr;
        if (bArrancados)
            partida.AddRobot(kNombreEntrenado, vProgramas.back()->Controlador());
    }
    for (const SRivalEncuentro& rival : encuentro.vRivales) {
        if (!rival.sPrograma.empty()) {
            vProgramas.push_back(ArrancarPrograma(rival.sPrograma, config.nMsRespuesta));
            bArrancados = bArrancados && vProgramas.back() != nullptr;
            if (vProgramas.back())
                partida.AddRobot(NombrePrograma(rival.sPrograma), vProgramas.back()->Controlador());
        } else if (EsRivalRed(rival.eRival)) {
            vRedes.push_back(new CRobotEntrenado(NombreRival(rival.eRival), rival.sRed));
            partida.AddRobot(NombreRival(rival.eRival), ControladorTexto(*vRedes.back()));
        } else {
            partida.AddRobot(NombreRival(rival.eRival), ControladorGuion(rival.eRival));
        }
    }
    const bool bJugado = bArrancados && partida.Jugar();
    SResultadoEncuentro resultado = bJugado ? Resultado(partida) : SResultadoEncuentro();
    resultado.bJugado = bJugado;
    if (ppGrabacion) {
        *ppGrabacion = partida.GetGrabacion() ? new CGrabacion(*partida.GetGrabacion()) : nullptr;
    }
    partida.Limpiar();
    for (CRobotEntrenado* pRed : vRedes)
        delete pRed;
    for (CProgramaRobot* pPrograma : vProgramas)
        delete pPrograma;
    return resultado;
}

SRivalEncuentro RivalDelEncuentro(TRival eRival, const std::string& sRed, const std::string& sRedRival)
{
    SRivalEncuentro rival;
    rival.eRival = eRival;
    if (EsRivalRed(eRival))
        rival.sRed = sRedRival.empty() ? sRed : sRedRival;
    return rival;
}

bool GrabarEncuentro(const std::string& sRed, const SEncuentro& encuentro, const SConfigEvaluacion& config,
                     const std::string& sRuta, std::string& sError, const std::string& sPrograma, TRival eGuion)
{
    CGrabacion* pGrabacion = nullptr;
    const bool bJugado = JugarEncuentro(sRed, encuentro, config, &pGrabacion, sPrograma, eGuion).bJugado;
    const bool bGuardada = bJugado && pGrabacion && pGrabacion->GuardarJSON(sRuta);
    delete pGrabacion;
    if (!bGuardada)
        sError = "No se pudo grabar la partida en " + sRuta;
    return bGuardada;
}

bool GrabarPartidaContra(const std::string& sRed, const std::string& sRedRival, const std::vector<TRival>& vRivales,
                         uint64_t nSemilla, const SConfigEvaluacion& config, const std::string& sRuta,
                         std::string& sError)
{
    SEncuentro encuentro;
    encuentro.nSemilla = nSemilla;
    for (TRival eRival : vRivales)
        encuentro.vRivales.push_back(RivalDelEncuentro(eRival, sRed, sRedRival));
    return GrabarEncuentro(sRed, encuentro, config, sRuta, sError);
}

void EjecutarEnHilos(size_t nTareas, unsigned nHilos, const std::function<void(size_t)>& fTarea)
{
    std::atomic<size_t> nSiguiente(0);
    auto fTrabajar = [&]() {
        for (size_t i = nSiguiente++; i < nTareas; i = nSiguiente++)
            fTarea(i);
    };
    // The caller's thread works too, and no thread is started without a task.
    const size_t nUsados = std::min<size_t>(std::max(nHilos, 1u), nTareas);
    const size_t nExtra = nUsados > 1 ? nUsados - 1 : 0;
    std::vector<std::thread> vHilos;
    vHilos.reserve(nExtra);
    for (size_t i = 0; i < nExtra; ++i)
        vHilos.emplace_back(fTrabajar);
    fTrabajar();
    for (std::thread& hilo : vHilos)
        hilo.join();
}

void EvaluarTrabajos(const std::vector<STrabajo>& vTrabajos, const SConfigEvaluacion& config, unsigned nHilos,
                     std::vector<SResultadoTrabajo>& vResultados)
{
    // One task per match, so that the threads share the work evenly.
    std::vector<std::pair<size_t, size_t>> vTareas;
    vResultados.assign(vTrabajos.size(), SResultadoTrabajo());
    for (size_t t = 0; t < vTrabajos.size(); ++t) {
        vResultados[t].vEncuentros.resize(vTrabajos[t].vEncuentros.size());
        for (size_t e = 0; e < vTrabajos[t].vEncuentros.size(); ++e)
            vTareas.emplace_back(t, e);
    }
    EjecutarEnHilos(vTareas.size(), nHilos, [&](size_t i) {
        const size_t t = vTareas[i].first, e = vTareas[i].second;
        vResultados[t].vEncuentros[e] = JugarEncuentro(vTrabajos[t].sRed, vTrabajos[t].vEncuentros[e], config, nullptr,
                                                       vTrabajos[t].sPrograma, vTrabajos[t].eGuion);
    });
    PromediarTrabajos(vResultados);
}

void PromediarTrabajos(std::vector<SResultadoTrabajo>& vResultados)
{
    for (SResultadoTrabajo& resultado : vResultados) {
        double dSuma = 0;
        for (const SResultadoEncuentro& encuentro : resultado.vEncuentros)
            dSuma += encuentro.dPuntuacion;
        resultado.dPuntuacion = resultado.vEncuentros.empty() ? 0.0 : dSuma / resultado.vEncuentros.size();
    }
}
