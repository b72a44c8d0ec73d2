#include "Jugar.h"

#include <cstdio>
#include <sstream>

#include "Archivos.h"
#include "Comun/TextoLocal.h"
#include "Progreso.h"
#include "RedIntegrada.h"
#include "RobotEntrenado.h"

namespace {

// Stands in for the generation in the seeds of these matches.
const uint64_t kMarcaJugar = 0xFFFFFFFEull;

SMarcador Contar(TRival eRival, const SResultadoTrabajo& resultado)
{
    SMarcador m;
    m.eRival = eRival;
    for (const SResultadoEncuentro& e : resultado.vEncuentros) {
        ++m.nPartidas;
        m.nGanadas += e.bGana ? 1 : 0;
        m.nPerdidas += e.bPierde ? 1 : 0;
        m.nEmpates += (!e.bGana && !e.bPierde) ? 1 : 0;
        m.dPuntos += e.propio.dPuntos;
        m.dPuntosRival += e.rival.dPuntos;
        m.dDanyoCausado += e.propio.dDanyoCausado;
        m.dDanyoRecibido += e.rival.dDanyoCausado;
        m.dEnergia += e.propio.dEnergiaRestante;
        m.dPuntuacion += e.dPuntuacion;
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
    return m;
}

}  // namespace

std::vector<SMarcador> JugarContraRivales(const std::string& sRed, const std::string& sRedRival,
                                          const std::vector<TRival>& vRivales, int nPartidas, unsigned nSemilla,
                                          const SConfigEvaluacion& config, unsigned nHilos)
{
    std::vector<STrabajo> vTrabajos(vRivales.size());
    for (size_t r = 0; r < vRivales.size(); ++r) {
        vTrabajos[r].sRed = sRed;
        for (int k = 0; k < nPartidas; ++k) {
            SEncuentro encuentro;
            encuentro.eRival = vRivales[r];
            encuentro.nSemilla = SemillaEncuentro(nSemilla, kMarcaJugar, r, static_cast<uint64_t>(k));
            if (encuentro.eRival == Rival_Red)
                encuentro.sRedRival = sRedRival.empty() ? sRed : sRedRival;
            vTrabajos[r].vEncuentros.push_back(encuentro);
        }
    }
    std::vector<SResultadoTrabajo> vResultados;
    EvaluarTrabajos(vTrabajos, config, nHilos, vResultados);
    std::vector<SMarcador> vMarcadores;
    for (size_t r = 0; r < vRivales.size(); ++r)
        vMarcadores.push_back(Contar(vRivales[r], vResultados[r]));
    return vMarcadores;
}

std::string TablaMarcador(const std::vector<SMarcador>& vMarcadores)
{
    std::string sTabla =
        "Rival       Partidas  Ganadas  Empates  Perdidas  %Ganadas  Puntos  P.rival  "
        "Da"
        "\xF1"
        "o  Recibido  Energ"
        "\xED"
        "a  Puntuaci"
        "\xF3"
        "n\n";
    for (const SMarcador& m : vMarcadores) {
        char szFila[256];
        std::snprintf(szFila, sizeof(szFila),
                      "%-10s  %8d  %7d  %7d  %8d  %7.1f%%  %6.2f  %7.2f  %5.1f  %8.1f  %7.1f  %10.1f\n",
                      NombreRival(m.eRival), m.nPartidas, m.nGanadas, m.nEmpates, m.nPerdidas,
                      m.nPartidas ? 100.0 * m.nGanadas / m.nPartidas : 0.0, m.dPuntos, m.dPuntosRival, m.dDanyoCausado,
                      m.dDanyoRecibido, m.dEnergia, m.dPuntuacion);
        sTabla += szFila;
    }
    return sTabla;
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
    if (!o.sRedRival.empty() && !ComprobarRedRobot(sRedRival, o.sRedRival, sError))
        return false;
    std::vector<SMarcador> vMarcadores;
    {
        CProgreso progreso(o.bSilencio);
        progreso.Mostrar("Jugando " + std::to_string(o.nPartidas * static_cast<int>(o.vRivales.size())) +
                         " partidas...");
        vMarcadores = JugarContraRivales(sRed, sRedRival, o.vRivales, o.nPartidas, o.nSemilla, o.evaluacion, o.nHilos);
    }
    EscribirFormato(stdout, "Red: %s; %d partidas por rival, semilla %u, %.0f s de juego por partida\n",
                    o.sRed.empty() ? "integrada" : o.sRed.c_str(), o.nPartidas, o.nSemilla, o.evaluacion.dTiempoMaximo);
    EscribirTexto(stdout, TablaMarcador(vMarcadores));
    return o.sGrabar.empty() ||
           GrabarPartidaContra(sRed, sRedRival, o.vRivales, o.nSemilla, o.evaluacion, o.sGrabar, sError);
}
