#include "Torneo.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

#include <unistd.h>

#include "Archivos.h"
#include "Comun/ArchivoEntero.h"
#include "Comun/TextoLocal.h"
#include "Progreso.h"
#include "RobotEntrenado.h"

#ifndef ENTRENAR_RUTA_BOT
#define ENTRENAR_RUTA_BOT ""
#endif

namespace fs = std::filesystem;

namespace {

const char* const kArenaPorDefecto = "Circle.arena";

std::string Formato(const char* szFormato, double d)
{
    char sz[64];
    std::snprintf(sz, sizeof(sz), szFormato, d);
    return sz;
}

double PuntosPorPartida(const SResumenReal& r) { return r.nPartidas ? r.dPuntos / r.nPartidas : 0; }

std::string TextoRango(int nRango) { return nRango > 0 ? std::to_string(nRango) : "-"; }

double Ahora() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

std::string LineaProgreso(const STorneoReal& t, size_t nArena, size_t nMezcla, int nPartida, double dInicio)
{
    const size_t nPartido = nArena * t.vMezclas.size() + nMezcla + 1;
    const size_t nTotal = t.vsArenas.size() * t.vMezclas.size();
    return "Torneo " + std::to_string(nPartido) + "/" + std::to_string(nTotal) + ": " + t.vsNombresArenas[nArena] +
           " contra " + t.vsNombresMezclas[nMezcla] + ", partida " + std::to_string(nPartida) + "/" +
           std::to_string(t.nPartidas) + ", " + FormatearDuracion(Ahora() - dInicio);
}

// The robot under test: --robot, else the built robot (with --red or not).
bool ElegirRobot(const SOpcionesTorneo& o, const SInstalacionReal& instalacion, STorneoReal& torneo,
                 std::string& sError)
{
    if (!o.sRobot.empty())
        return RutaRobotReal(instalacion, o.sRobot.find('/') == std::string::npos ? "./" + o.sRobot : o.sRobot,
                             torneo.sRobot, sError);
    torneo.sRobot = RutaBotConstruido();
    if (torneo.sRobot.empty()) {
        sError = std::string(
                     "No est"
                     "\xE1"
                     " el robot construido (") +
                 ENTRENAR_RUTA_BOT +
                 "): constr"
                 "\xFA"
                 "yalo (cmake --build build --target bot) o indique --robot PROGRAMA";
        return false;
    }
    if (o.sRed.empty())
        return true;
    // Checked here, as the robot would only die with it inside the arena.
    std::string sRed;
    if (!LeerFichero(o.sRed, sRed, sError) || !ComprobarRedRobot(sRed, o.sRed, sError))
        return false;
    std::error_code ec;
    torneo.sRed = fs::absolute(o.sRed, ec).string();
    return true;
}

std::string DescribirRobot(const SOpcionesTorneo& o, const STorneoReal& t)
{
    if (!o.sRobot.empty())
        return "programa " + t.sRobot;
    return o.sRed.empty() ? "bot con su red integrada" : "bot con la red " + o.sRed;
}

}  // namespace

std::string RutaBotConstruido()
{
    const std::string sRuta = ENTRENAR_RUTA_BOT;
    return !sRuta.empty() && ::access(sRuta.c_str(), X_OK) == 0 ? sRuta : "";
}

bool PrepararTorneoReal(const SInstalacionReal& instalacion, const std::vector<std::string>& vsArenas,
                        const std::vector<TMezclaReal>& vMezclas, STorneoReal& torneo, std::string& sError)
{
    const std::vector<std::string> vsPedidas = vsArenas.empty() ? std::vector<std::string>{kArenaPorDefecto} : vsArenas;
    for (const std::string& sArena : vsPedidas) {
        std::string sRuta;
        if (!RutaArenaReal(instalacion, sArena, sRuta, sError))
            return false;
        torneo.vsArenas.push_back(sRuta);
        torneo.vsNombresArenas.push_back(sArena);
    }
    for (const TMezclaReal& mezcla : vMezclas) {
        std::vector<std::string> vsRutas;
        for (const std::string& sRival : mezcla) {
            std::string sRuta;
            if (!RutaRobotReal(instalacion, sRival, sRuta, sError))
                return false;
            vsRutas.push_back(sRuta);
        }
        torneo.vMezclas.push_back(vsRutas);
        torneo.vsNombresMezclas.push_back(TextoMezcla(mezcla));
    }
    if (torneo.vMezclas.empty()) {
        sError = "Sin rivales no hay torneo";
        return false;
    }
    return true;
}

bool JugarTorneoReal(const SInstalacionReal& instalacion, const STorneoReal& t, CProgreso& progreso,
                     std::vector<SFilaTorneo>& vFilas, std::string& sError)
{
    const double dInicio = Ahora();
    std::vector<SFilaTorneo> vJugadas;
    for (size_t a = 0; a < t.vsArenas.size(); ++a) {
        for (size_t m = 0; m < t.vMezclas.size(); ++m) {
            SPartidoReal partido;
            partido.vsRobots.push_back(t.sRobot);
            partido.vsRobots.insert(partido.vsRobots.end(), t.vMezclas[m].begin(), t.vMezclas[m].end());
            partido.sArena = t.vsArenas[a];
            partido.nPartidas = t.nPartidas;
            partido.sRed = t.sRed;
            const TAvisoPartida fAviso = [&](int nPartida) {
                progreso.Mostrar(LineaProgreso(t, a, m, nPartida, dInicio));
            };
            fAviso(0);
            std::vector<SRobotReal> vRobots;
            if (!JugarPartidoReal(instalacion, partido, t.config, fAviso, vRobots, sError))
                return false;
            SFilaTorneo fila;
            fila.sArena = t.vsNombresArenas[a];
            fila.sMezcla = t.vsNombresMezclas[m];
            fila.resumen = ResumirRobot(vRobots, 0);
            // A robot that names itself after its argv[0] gets the run's
            // temporary path: its file's name is the same on every run.
            for (SRobotReal& robot : vRobots)
                robot.sNombre = robot.sNombre.substr(robot.sNombre.find_last_of('/') + 1);
            fila.vRobots = vRobots;
            vJugadas.push_back(fila);
        }
    }
    vFilas = vJugadas;
    return true;
}

std::vector<SFilaTorneo> TotalesPorMezcla(const std::vector<SFilaTorneo>& vFilas)
{
    std::vector<SFilaTorneo> vTotales;
    for (const SFilaTorneo& fila : vFilas) {
        size_t i = 0;
        while (i < vTotales.size() && vTotales[i].sMezcla != fila.sMezcla)
            ++i;
        if (i == vTotales.size()) {
            vTotales.push_back(SFilaTorneo());
            vTotales[i].sArena = "total";
            vTotales[i].sMezcla = fila.sMezcla;
        }
        // The same mix has the same robots in the same order on every arena.
        std::vector<SRobotReal>& vTodos = vTotales[i].vRobots;
        if (vTodos.empty())
            vTodos = fila.vRobots;
        else if (vTodos.size() == fila.vRobots.size()) {
            for (size_t r = 0; r < vTodos.size(); ++r)
                vTodos[r].vPartidas.insert(vTodos[r].vPartidas.end(), fila.vRobots[r].vPartidas.begin(),
                                           fila.vRobots[r].vPartidas.end());
        }
        SResumenReal& t = vTotales[i].resumen;
        const SResumenReal& r = fila.resumen;
        const int nAntes = t.nPartidas;
        t.nPartidas += r.nPartidas;
        t.dPuntos += r.dPuntos;
        t.nGanadas += r.nGanadas;
        t.dPuestoMedio = t.nPartidas ? (t.dPuestoMedio * nAntes + r.dPuestoMedio * r.nPartidas) / t.nPartidas : 0;
    }
    return vTotales;
}

bool MejorRivalTorneo(const SFilaTorneo& fila, std::string& sNombre, double& dPuntosPorPartida)
{
    bool bHay = false;
    for (size_t r = 1; r < fila.vRobots.size(); ++r) {
        const SRobotReal& robot = fila.vRobots[r];
        if (robot.vPartidas.empty())
            continue;
        double dPuntos = 0;
        for (const SPartidaReal& p : robot.vPartidas)
            dPuntos += p.dPuntos;
        dPuntos /= robot.vPartidas.size();
        if (!bHay || dPuntos > dPuntosPorPartida) {
            sNombre = robot.sNombre;
            dPuntosPorPartida = dPuntos;
            bHay = true;
        }
    }
    return bHay;
}

std::string TablaTorneo(const std::vector<SFilaTorneo>& vFilas)
{
    std::string sTabla =
        "Arena             Rivales                                    Partidas  Rango  Puntos  "
        "Puntos/partida  Ganadas  Puesto medio  Mejor rival: puntos/partida\n";
    for (const SFilaTorneo& f : vFilas) {
        const SResumenReal& r = f.resumen;
        std::string sMejor;
        double dMejor = 0;
        const bool bMejor = MejorRivalTorneo(f, sMejor, dMejor);
        char szFila[768];
        std::snprintf(szFila, sizeof(szFila), "%-16s  %-41s  %8d  %5s  %6.1f  %14.2f  %7d  %12.2f  %s%s\n",
                      f.sArena.c_str(), f.sMezcla.c_str(), r.nPartidas, TextoRango(r.nRango).c_str(), r.dPuntos,
                      PuntosPorPartida(r), r.nGanadas, r.dPuestoMedio, bMejor ? (sMejor + ": ").c_str() : "-",
                      bMejor ? Formato("%.2f", dMejor).c_str() : "");
        sTabla += szFila;
    }
    return sTabla;
}

std::string CsvTorneo(const std::vector<SFilaTorneo>& vFilas)
{
    std::string sCsv =
        "arena,rivales,partidas,rango,puntos,puntos_por_partida,ganadas,puesto_medio,mejor_rival,"
        "puntos_por_partida_mejor_rival\n";
    for (const SFilaTorneo& f : vFilas) {
        const SResumenReal& r = f.resumen;
        std::string sMejor;
        double dMejor = 0;
        const bool bMejor = MejorRivalTorneo(f, sMejor, dMejor);
        sCsv += "\"" + f.sArena + "\",\"" + f.sMezcla + "\"," + std::to_string(r.nPartidas) + "," +
                TextoRango(r.nRango) + "," + Formato("%.2f", r.dPuntos) + "," + Formato("%.4f", PuntosPorPartida(r)) +
                "," + std::to_string(r.nGanadas) + "," + Formato("%.4f", r.dPuestoMedio) + ",\"" + sMejor + "\"," +
                (bMejor ? Formato("%.4f", dMejor) : std::string()) + "\n";
    }
    return sCsv;
}

std::string CsvPartidasTorneo(const std::vector<SFilaTorneo>& vFilas)
{
    std::string sCsv = "arena,rivales,partida,robot,nombre,puesto,puntos\n";
    for (const SFilaTorneo& f : vFilas) {
        for (size_t r = 0; r < f.vRobots.size(); ++r) {
            const SRobotReal& robot = f.vRobots[r];
            for (size_t p = 0; p < robot.vPartidas.size(); ++p)
                sCsv += "\"" + f.sArena + "\",\"" + f.sMezcla + "\"," + std::to_string(p + 1) + "," +
                        std::to_string(r) + ",\"" + robot.sNombre + "\"," + std::to_string(robot.vPartidas[p].nPuesto) +
                        "," + Formato("%g", robot.vPartidas[p].dPuntos) + "\n";
        }
    }
    return sCsv;
}

bool ComandoTorneo(const SOpcionesTorneo& o, std::string& sError)
{
    SInstalacionReal instalacion;
    if (!BuscarInstalacionReal(o.sRtb, instalacion, sError))
        return false;
    STorneoReal torneo;
    torneo.nPartidas = o.nPartidas;
    torneo.config.dTiempo = o.dTiempo;
    torneo.config.dEscala = o.dEscala;
    torneo.config.dLimite = o.dLimite;
    if (!ElegirRobot(o, instalacion, torneo, sError) ||
        !PrepararTorneoReal(instalacion, o.vsArenas, o.vMezclas, torneo, sError) || !CrearCarpeta(o.sSalida, sError))
        return false;
    std::vector<SFilaTorneo> vFilas;
    {
        CProgreso progreso(o.bSilencio);
        if (!JugarTorneoReal(instalacion, torneo, progreso, vFilas, sError))
            return false;
    }
    const std::string sCsvPartidas = RutaEn(o.sSalida, "partidas.csv");
    if (!EscribirArchivoEntero(sCsvPartidas, CsvPartidasTorneo(vFilas), sError))
        return false;
    if (torneo.vsArenas.size() > 1) {
        const std::vector<SFilaTorneo> vTotales = TotalesPorMezcla(vFilas);
        vFilas.insert(vFilas.end(), vTotales.begin(), vTotales.end());
    }
    const std::string sCsv = RutaEn(o.sSalida, "torneo.csv");
    if (!EscribirArchivoEntero(sCsv, CsvTorneo(vFilas), sError))
        return false;
    EscribirFormato(stdout,
                    "Robot: %s; arena real de %s; %d partidas por arena y mezcla, %.0f s de juego por partida\n",
                    DescribirRobot(o, torneo).c_str(), instalacion.sPrefijo.c_str(), o.nPartidas, o.dTiempo);
    EscribirTexto(stdout, TablaTorneo(vFilas));
    EscribirFormato(stdout, "Tabla en %s; cada partida en %s\n", sCsv.c_str(), sCsvPartidas.c_str());
    return true;
}
