#include "Jugar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <unistd.h>
#include <sstream>

#include "Archivos.h"
#include "ArenaReal.h"
#include "Comun/TextoLocal.h"
#include "Progreso.h"
#include "RedIntegrada.h"
#include "RobotEntrenado.h"

namespace {

// Stands in for the generation in the seeds of these matches.
const uint64_t kMarcaJugar = 0xFFFFFFFEull;

const char* const kNombreRed = "red";

void ContarRobot(const SResultadoRobot& r, SMarcadorRobot& m)
{
    for (size_t j = 0; j < r.vdPuntosJuego.size() && j < r.vnPosicionJuego.size(); ++j) {
        m.nPrimeros += r.vnPosicionJuego[j] == 1 ? 1 : 0;
        m.dPuntos += r.vdPuntosJuego[j];
        m.dErrorPuntos += r.vdPuntosJuego[j] * r.vdPuntosJuego[j];  // the sum of squares until Contar ends
        m.dPuesto += r.vnPosicionJuego[j];
    }
    m.dDanyoCausado += r.dDanyoCausado;
}

void ContarEncuentro(const SResultadoEncuentro& e, SMarcador& m)
{
    if (!e.bJugado) {
        ++m.nNoJugadas;
        return;
    }
    ++m.nPartidas;
    m.nGanadas += e.bGana ? 1 : 0;
    m.nPerdidas += e.bPierde ? 1 : 0;
    m.nEmpates += (!e.bGana && !e.bPierde) ? 1 : 0;
    m.dPuntos += e.propio.dPuntos;
    m.dDanyoCausado += e.propio.dDanyoCausado;
    m.dEnergia += e.propio.dEnergiaRestante;
    m.dPuntuacion += e.dPuntuacion;
    ContarRobot(e.propio, m.vRobots[0]);
    for (size_t i = 0; i < e.vRivales.size() && i + 1 < m.vRobots.size(); ++i) {
        m.dPuntosRival += e.vRivales[i].dPuntos;
        m.dDanyoRecibido += e.vRivales[i].dDanyoCausado;
        ContarRobot(e.vRivales[i], m.vRobots[i + 1]);
    }
}

std::string NombreRivalEn(const TGrupoRivales& grupo, const std::vector<std::string>& vsProgramas, size_t i)
{
    return grupo[i] == Rival_Programa && i < vsProgramas.size() ? NombrePrograma(vsProgramas[i])
                                                                : NombreRival(grupo[i]);
}

// The standard error of a mean of n values, from the mean of their squares.
double ErrorTipico(double dMediaCuadrados, double dMedia, int n)
{
    if (n < 2)
        return 0;
    const double dVarianza = std::max(0.0, dMediaCuadrados - dMedia * dMedia) * n / (n - 1);
    return std::sqrt(dVarianza / n);
}

// How the tables name the robot that plays the matches: the network, or
// the script that plays in its place.
const char* NombrePropio(TRival eGuion) { return EsRivalGuion(eGuion) ? NombreRival(eGuion) : kNombreRed; }

// Whose score a heading gives: "la red", or the script in its seat.
std::string DeQuien(const std::string& sAsiento)
{
    return sAsiento.empty() || sAsiento == kNombreRed ? "la red" : sAsiento;
}

SMarcador Contar(const TGrupoRivales& grupo, const std::vector<std::string>& vsProgramas,
                 const SResultadoTrabajo& resultado, TRival eGuion)
{
    SMarcador m;
    m.grupo = grupo;
    m.vRobots.resize(grupo.size() + 1);
    m.vRobots[0].sNombre = NombrePropio(eGuion);
    for (size_t i = 0; i < grupo.size(); ++i)
        m.vRobots[i + 1].sNombre = NombreRivalEn(grupo, vsProgramas, i);
    int nJuegos = 0;
    for (const SResultadoEncuentro& e : resultado.vEncuentros) {
        ContarEncuentro(e, m);
        nJuegos += static_cast<int>(e.propio.vdPuntosJuego.size());
    }
    if (m.nPartidas > 0) {
        const double n = m.nPartidas;
        m.dPuntos /= n;
        m.dPuntosRival /= n;
        m.dDanyoCausado /= n;
        m.dDanyoRecibido /= n;
        m.dEnergia /= n;
        m.dPuntuacion /= n;
    }
    for (SMarcadorRobot& robot : m.vRobots) {
        if (nJuegos > 0) {
            robot.dPuntos /= nJuegos;
            robot.dPuesto /= nJuegos;
            robot.dErrorPuntos = ErrorTipico(robot.dErrorPuntos / nJuegos, robot.dPuntos, nJuegos);
        }
        if (m.nPartidas > 0)
            robot.dDanyoCausado /= m.nPartidas;
    }
    return m;
}

double Porcentaje(int n, int nTotal) { return nTotal > 0 ? 100.0 * n / nTotal : 0.0; }

std::string TablaDuelos(const std::vector<SMarcador>& vMarcadores)
{
    std::string sTabla =
        "Rival       Partidas  Ganadas  Empates  Perdidas  %Ganadas  %Empates  %Perdidas  Puntos  E.t.  P.rival  "
        "Da"
        "\xF1"
        "o  Recibido  Energ"
        "\xED"
        "a  Puntuaci"
        "\xF3"
        "n\n";
    for (const SMarcador& m : vMarcadores) {
        if (m.grupo.size() != 1 || m.vRobots.size() != 2)
            continue;
        char szFila[320];
        std::snprintf(
            szFila, sizeof(szFila),
            "%-10s  %8d  %7d  %7d  %8d  %7.1f%%  %7.1f%%  %8.1f%%  %6.2f  %4.2f  %7.2f  %5.1f  %8.1f  %7.1f  %10.1f\n",
            m.vRobots[1].sNombre.c_str(), m.nPartidas, m.nGanadas, m.nEmpates, m.nPerdidas,
            Porcentaje(m.nGanadas, m.nPartidas), Porcentaje(m.nEmpates, m.nPartidas),
            Porcentaje(m.nPerdidas, m.nPartidas), m.dPuntos, m.vRobots[0].dErrorPuntos, m.dPuntosRival, m.dDanyoCausado,
            m.dDanyoRecibido, m.dEnergia, m.dPuntuacion);
        sTabla += szFila;
    }
    return sTabla;
}

// The rivals of a mix as the tables name them: "a+b+c".
std::string TextoRivalesMarcador(const SMarcador& m)
{
    std::string sTexto;
    for (size_t i = 1; i < m.vRobots.size(); ++i)
        sTexto += (sTexto.empty() ? "" : "+") + m.vRobots[i].sNombre;
    return sTexto;
}

std::string TablaMelee(const SMarcador& m)
{
    char szLinea[320];
    std::snprintf(szLinea, sizeof(szLinea),
                  "Melee de %d: %s+%s, %d partidas, puntuaci"
                  "\xF3"
                  "n de %s %.1f\n",
                  static_cast<int>(m.vRobots.size()), m.vRobots[0].sNombre.c_str(), TextoRivalesMarcador(m).c_str(),
                  m.nPartidas, DeQuien(m.vRobots[0].sNombre).c_str(), m.dPuntuacion);
    std::string sTabla = szLinea;
    size_t nAncho = 10;
    for (const SMarcadorRobot& r : m.vRobots)
        nAncho = std::max(nAncho, r.sNombre.size());
    std::string sCabecera = "Robot";
    sCabecera.resize(nAncho, ' ');
    sTabla += sCabecera +
              "  %Primeros  Puntos  E.t.  Puesto  Da"
              "\xF1"
              "o\n";
    for (const SMarcadorRobot& r : m.vRobots) {
        std::snprintf(szLinea, sizeof(szLinea), "%-*s  %8.1f%%  %6.2f  %4.2f  %6.2f  %5.1f\n", static_cast<int>(nAncho),
                      r.sNombre.c_str(), Porcentaje(r.nPrimeros, m.nPartidas), r.dPuntos, r.dErrorPuntos, r.dPuesto,
                      r.dDanyoCausado);
        sTabla += szLinea;
    }
    return sTabla;
}

// The best share of first places and the best mean points among a melee's
// rivals (the network is robot 0).
void MejorRival(const SMarcador& m, double& dPrimeros, double& dPuntos)
{
    dPrimeros = 0;
    dPuntos = 0;
    for (size_t i = 1; i < m.vRobots.size(); ++i) {
        dPrimeros = std::max(dPrimeros, Porcentaje(m.vRobots[i].nPrimeros, m.nPartidas));
        dPuntos = std::max(dPuntos, m.vRobots[i].dPuntos);
    }
}

std::string CabeceraResumen(const std::vector<SMarcador>& vMarcadores, size_t nAncho)
{
    std::string sCabecera = "Arena";
    sCabecera.resize(nAncho, ' ');
    for (const SMarcador& m : vMarcadores) {
        char szColumna[64];
        if (m.grupo.size() == 1)
            std::snprintf(szColumna, sizeof(szColumna), "  %10s", TextoRivalesMarcador(m).c_str());
        else
            std::snprintf(szColumna, sizeof(szColumna), "  %-33s", ("melee " + TextoRivalesMarcador(m)).c_str());
        sCabecera += szColumna;
    }
    return sCabecera + "\n";
}

std::string FilaResumen(const SMarcadorArena& arena, size_t nAncho)
{
    char szCelda[96];
    std::string sFila = arena.sArena;
    sFila.resize(std::max(nAncho, sFila.size()), ' ');
    for (const SMarcador& m : arena.vMarcadores) {
        if (m.grupo.size() == 1) {
            std::snprintf(szCelda, sizeof(szCelda), "  %9.1f%%", Porcentaje(m.nGanadas, m.nPartidas));
        } else {
            double dPrimeros = 0, dPuntos = 0;
            MejorRival(m, dPrimeros, dPuntos);
            std::snprintf(szCelda, sizeof(szCelda), "  %s %5.1f%% %4.2f, rivales %5.1f%% %4.2f",
                          m.vRobots[0].sNombre.c_str(), Porcentaje(m.vRobots[0].nPrimeros, m.nPartidas),
                          m.vRobots[0].dPuntos, dPrimeros, dPuntos);
        }
        sFila += szCelda;
    }
    return sFila + "\n";
}

}  // namespace

std::vector<SMarcadorArena> JugarPorArena(const std::string& sRed, const std::string& sRedRival,
                                          const std::vector<TGrupoRivales>& vRivales, int nPartidas, unsigned nSemilla,
                                          const SConfigEvaluacion& config, unsigned nHilos)
{
    std::vector<SMarcadorArena> vArenas;
    for (const SConfigEvaluacion& arena : ArenasPorSeparado(config))
        vArenas.push_back(
            {arena.sArena, JugarContraRivales(sRed, sRedRival, vRivales, nPartidas, nSemilla, arena, nHilos)});
    return vArenas;
}

std::string TablaResumenArenas(const std::vector<SMarcadorArena>& vArenas)
{
    if (vArenas.empty())
        return "";
    const std::vector<SMarcador>& vPrimera = vArenas[0].vMarcadores;
    const bool bAsiento = !vPrimera.empty() && !vPrimera[0].vRobots.empty();
    std::string sTabla = "Resumen por arena: % de duelos ganados; en melee, % de primeros puestos y puntos medios de " +
                         DeQuien(bAsiento ? vPrimera[0].vRobots[0].sNombre : "") + " y lo mejor de sus rivales\n";
    size_t nAncho = 18;
    for (const SMarcadorArena& arena : vArenas)
        nAncho = std::max(nAncho, arena.sArena.size());
    sTabla += CabeceraResumen(vArenas[0].vMarcadores, nAncho);
    for (const SMarcadorArena& arena : vArenas)
        sTabla += FilaResumen(arena, nAncho);
    return sTabla;
}

namespace {

// Rival i of a group as a match plays it.
SRivalEncuentro RivalEn(const TGrupoRivales& grupo, const std::vector<std::string>& vsProgramas, size_t i,
                        const std::string& sRed, const std::string& sRedRival)
{
    SRivalEncuentro rival = RivalDelEncuentro(grupo[i], sRed, sRedRival);
    if (rival.eRival == Rival_Programa && i < vsProgramas.size())
        rival.sPrograma = vsProgramas[i];
    return rival;
}

// Every different rival of the mixes once (programs told apart by path), at
// most as many as a match holds, all in one match.
SEncuentro EncuentroConTodos(const std::vector<TGrupoRivales>& vRivales,
                             const std::vector<std::vector<std::string>>& vProgramas, uint64_t nSemilla,
                             const std::string& sRed, const std::string& sRedRival)
{
    const std::vector<std::string> vsNinguno;
    SEncuentro encuentro;
    encuentro.nSemilla = nSemilla;
    for (size_t r = 0; r < vRivales.size(); ++r) {
        for (size_t i = 0; i < vRivales[r].size(); ++i) {
            const SRivalEncuentro rival =
                RivalEn(vRivales[r], r < vProgramas.size() ? vProgramas[r] : vsNinguno, i, sRed, sRedRival);
            const bool bVisto = std::any_of(encuentro.vRivales.begin(), encuentro.vRivales.end(),
                                            [&rival](const SRivalEncuentro& otro) {
                                                return otro.eRival == rival.eRival && otro.sPrograma == rival.sPrograma;
                                            });
            if (!bVisto && encuentro.vRivales.size() < kMaxRivalesGrupo)
                encuentro.vRivales.push_back(rival);
        }
    }
    return encuentro;
}

}  // namespace

std::vector<SMarcador> JugarContraRivales(const std::string& sRed, const std::string& sRedRival,
                                          const std::vector<TGrupoRivales>& vRivales, int nPartidas, unsigned nSemilla,
                                          const SConfigEvaluacion& config, unsigned nHilos,
                                          const std::string& sPrograma,
                                          const std::vector<std::vector<std::string>>& vProgramas, TRival eGuion)
{
    const std::vector<std::string> vsNinguno;
    std::vector<STrabajo> vTrabajos(vRivales.size());
    for (size_t r = 0; r < vRivales.size(); ++r) {
        vTrabajos[r].sRed = sRed;
        vTrabajos[r].sPrograma = sPrograma;
        vTrabajos[r].eGuion = eGuion;
        const std::vector<std::string>& vsProgramas = r < vProgramas.size() ? vProgramas[r] : vsNinguno;
        for (int k = 0; k < nPartidas; ++k) {
            SEncuentro encuentro;
            encuentro.nSemilla = SemillaEncuentro(nSemilla, kMarcaJugar, r, static_cast<uint64_t>(k));
            for (size_t i = 0; i < vRivales[r].size(); ++i)
                encuentro.vRivales.push_back(RivalEn(vRivales[r], vsProgramas, i, sRed, sRedRival));
            vTrabajos[r].vEncuentros.push_back(encuentro);
        }
    }
    std::vector<SResultadoTrabajo> vResultados;
    EvaluarTrabajos(vTrabajos, config, nHilos, vResultados);
    std::vector<SMarcador> vMarcadores;
    for (size_t r = 0; r < vRivales.size(); ++r)
        vMarcadores.push_back(
            Contar(vRivales[r], r < vProgramas.size() ? vProgramas[r] : vsNinguno, vResultados[r], eGuion));
    return vMarcadores;
}

std::string TablaMarcador(const std::vector<SMarcador>& vMarcadores)
{
    std::string sTabla;
    bool bDuelos = false;
    for (const SMarcador& m : vMarcadores)
        bDuelos = bDuelos || m.grupo.size() == 1;
    if (bDuelos)
        sTabla += TablaDuelos(vMarcadores);
    for (const SMarcador& m : vMarcadores) {
        if (m.grupo.size() > 1)
            sTabla += (sTabla.empty() ? "" : "\n") + TablaMelee(m);
    }
    return sTabla;
}

std::vector<SConfigEvaluacion> ArenasPorSeparado(const SConfigEvaluacion& config)
{
    if (config.eArena != Arena_Archivo || config.vsArenas.size() <= 1)
        return {config};
    std::vector<SConfigEvaluacion> vArenas;
    for (size_t i = 0; i < config.vsArenas.size() && i < config.vsNombresArenas.size(); ++i) {
        SConfigEvaluacion una = config;
        una.vsArenas = {config.vsArenas[i]};
        una.vsNombresArenas = {config.vsNombresArenas[i]};
        una.sArena = config.vsNombresArenas[i];
        vArenas.push_back(una);
    }
    return vArenas;
}

bool ResolverProgramasRivales(const std::string& sRtb, std::vector<std::vector<std::string>>& vProgramas,
                              std::string& sError)
{
    SInstalacionReal instalacion;
    bool bInstalacion = false;
    for (std::vector<std::string>& vsMezcla : vProgramas) {
        for (std::string& sRival : vsMezcla) {
            if (sRival.empty())
                continue;
            const bool bNombre = sRival.find('/') == std::string::npos;
            if (bNombre && !bInstalacion) {
                std::string sPorQue;
                if (!BuscarInstalacionReal(sRtb, instalacion, sPorQue)) {
                    sError = "Rival desconocido: '" + sRival +
                             "': no es un rival de la arena simulada (giratorio, buscador, cazador, orbitador, "
                             "quieto, poblacion) y no hay arena real donde buscarlo (" +
                             sPorQue + "); un programa propio se da por su ruta (./" + sRival + ")";
                    return false;
                }
                bInstalacion = true;
            }
            std::string sRuta;
            if (!RutaRobotReal(instalacion, sRival, sRuta, sError)) {
                if (bNombre)
                    sError = "Rival desconocido: '" + sRival +
                             "': no es un rival de la arena simulada ni un robot de la arena real (" + sError + ")";
                return false;
            }
            sRival = sRuta;
        }
    }
    return true;
}

bool ComandoJugar(const SOpcionesJugar& o, std::string& sError)
{
    std::string sRed = kRedIntegrada, sRedRival;
    if (!o.sRed.empty() && !LeerFichero(o.sRed, sRed, sError))
        return false;
    if (!o.sRedRival.empty() && !LeerFichero(o.sRedRival, sRedRival, sError))
        return false;
    if (!ComprobarRedRobot(sRed, o.sRed.empty() ? "La red integrada" : o.sRed, sError))
        return false;
    if (!o.sPrograma.empty() && access(o.sPrograma.c_str(), X_OK) != 0) {
        sError = "No se puede ejecutar el robot " + o.sPrograma;
        return false;
    }
    if (!o.sRedRival.empty() && !ComprobarRedRobot(sRedRival, o.sRedRival, sError))
        return false;
    std::vector<std::vector<std::string>> vProgramas = o.vProgramasRivales;
    if (!ResolverProgramasRivales(o.sRtb, vProgramas, sError))
        return false;
    const std::vector<SConfigEvaluacion> vArenas = ArenasPorSeparado(o.evaluacion);
    std::vector<std::vector<SMarcador>> vMarcadores;
    {
        CProgreso progreso(o.bSilencio);
        progreso.Mostrar("Jugando " +
                         std::to_string(o.nPartidas * static_cast<int>(o.vRivales.size() * vArenas.size())) +
                         " partidas...");
        for (const SConfigEvaluacion& arena : vArenas)
            vMarcadores.push_back(JugarContraRivales(sRed, sRedRival, o.vRivales, o.nPartidas, o.nSemilla, arena,
                                                     o.nHilos, o.sPrograma, vProgramas, o.eGuion));
    }
    int nNoJugadas = 0;
    for (const std::vector<SMarcador>& vArena : vMarcadores) {
        for (const SMarcador& m : vArena)
            nNoJugadas += m.nNoJugadas;
    }
    if (nNoJugadas > 0) {
        sError = std::to_string(nNoJugadas) +
                 " partidas no se jugaron (el motivo est"
                 "\xE1"
                 " arriba)";
        return false;
    }
    const std::string sQuien = EsRivalGuion(o.eGuion) ? std::string("Guion: ") + NombreRival(o.eGuion)
                               : !o.sPrograma.empty() ? "Programa: " + o.sPrograma
                               : o.sRed.empty()       ? std::string("Red: integrada")
                                                      : "Red: " + o.sRed;
    EscribirFormato(stdout, "%s; %d partidas por rival, semilla %u, %.0f s de juego por partida\n", sQuien.c_str(),
                    o.nPartidas, o.nSemilla, o.evaluacion.dTiempoMaximo);
    if (!o.sPrograma.empty() || !vProgramas.empty())
        EscribirTexto(stdout,
                      "Con programas de robot las partidas dependen del tiempo real de cada paso: "
                      "repetidas no dan siempre lo mismo\n");
    std::vector<SMarcadorArena> vResumen;
    for (size_t a = 0; a < vArenas.size(); ++a) {
        EscribirFormato(stdout, "%sArena: %s\n", a > 0 ? "\n" : "", vArenas[a].sArena.c_str());
        EscribirTexto(stdout, TablaMarcador(vMarcadores[a]));
        vResumen.push_back({vArenas[a].sArena, vMarcadores[a]});
    }
    if (vResumen.size() > 1)
        EscribirTexto(stdout, "\n" + TablaResumenArenas(vResumen));
    return o.sGrabar.empty() ||
           GrabarEncuentro(sRed, EncuentroConTodos(o.vRivales, vProgramas, o.nSemilla, sRed, sRedRival), o.evaluacion,
                           o.sGrabar, sError, o.sPrograma, o.eGuion);
}
