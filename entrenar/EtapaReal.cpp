#include "EtapaReal.h"

#include <algorithm>
#include <filesystem>

#include "Progreso.h"
#include "Torneo.h"

std::vector<std::string> ArenasRealesDeReceta(const SConfigEvaluacion& config)
{
    if (config.eArena != Arena_Archivo || config.vsNombresArenas.empty())
        return {config.eArena == Arena_Cuadrado ? "Square.arena" : "Circle.arena"};
    // The real arena reads the same files by path; the built-in shapes of a
    // list stand for the installed ones, and a random arena has no file.
    std::vector<std::string> vArenas;
    for (const std::string& sNombre : config.vsNombresArenas) {
        const std::string sReal = sNombre == "circulo"         ? "Circle.arena"
                                  : sNombre == "cuadrado"      ? "Square.arena"
                                  : sNombre == kArenaAleatoria ? ""
                                                               : sNombre;
        if (!sReal.empty() && std::find(vArenas.begin(), vArenas.end(), sReal) == vArenas.end())
            vArenas.push_back(sReal);
    }
    if (vArenas.empty())
        vArenas.push_back("Circle.arena");
    return vArenas;
}

std::vector<TMezclaReal> RivalesRealesDeReceta(const std::vector<TGrupoRivales>& vRivales)
{
    std::vector<TMezclaReal> vMezclas;
    for (const TGrupoRivales& grupo : vRivales) {
        TMezclaReal mezcla;
        for (TRival eRival : grupo) {
            if (eRival == Rival_Giratorio)
                mezcla.push_back("rotate_and_fire_signal");
            else if (eRival == Rival_Buscador)
                mezcla.push_back("seek_and_destroy");
            else if (eRival == Rival_Quieto)
                mezcla.push_back("empty");
            // Networks of the population have no program of their own.
        }
        if (!mezcla.empty() && std::find(vMezclas.begin(), vMezclas.end(), mezcla) == vMezclas.end())
            vMezclas.push_back(mezcla);
    }
    return vMezclas;
}

bool JugarEtapaReal(const SOpcionesRobot& o, const std::vector<std::string>& vsRedes, CProgreso& progreso,
                    std::vector<double>& vdPuntosPorPartida, std::string& sError)
{
    SInstalacionReal instalacion;
    if (!BuscarInstalacionReal(o.sRtb, instalacion, sError))
        return false;
    STorneoReal torneo;
    torneo.sRobot = RutaBotConstruido();
    if (torneo.sRobot.empty()) {
        sError =
            "no est"
            "\xE1"
            " el robot construido";
        return false;
    }
    std::vector<TMezclaReal> vMezclas = RivalesRealesDeReceta(o.vRivales);
    if (vMezclas.empty())
        vMezclas = RivalesRealesDeReceta({{Rival_Giratorio}, {Rival_Buscador}, {Rival_Quieto}});
    if (!PrepararTorneoReal(instalacion, ArenasRealesDeReceta(o.evaluacion), vMezclas, torneo, sError))
        return false;
    torneo.nPartidas = o.nEtapaRealPartidas;
    torneo.config.dTiempo = o.evaluacion.dTiempoMaximo;
    std::vector<double> vdPuntos;
    for (const std::string& sRed : vsRedes) {
        std::error_code ec;
        torneo.sRed = std::filesystem::absolute(sRed, ec).string();
        std::vector<SFilaTorneo> vFilas;
        if (!JugarTorneoReal(instalacion, torneo, progreso, vFilas, sError))
            return false;
        double dPuntos = 0;
        int nPartidas = 0;
        for (const SFilaTorneo& fila : vFilas) {
            dPuntos += fila.resumen.dPuntos;
            nPartidas += fila.resumen.nPartidas;
        }
        vdPuntos.push_back(nPartidas ? dPuntos / nPartidas : 0);
    }
    vdPuntosPorPartida = vdPuntos;
    return true;
}
