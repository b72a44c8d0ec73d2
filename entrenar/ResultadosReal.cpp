#include "ResultadosReal.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

namespace {

// A robot that moved less than this in a game only shook under hits.
const double kDesplazamientoMinimo = 0.1;
// A new shot is at most this far ahead of the robot that fired it: the
// robot's radius plus one step of the shot and of the robot...
const double kDistanciaDisparo = 1.5;
// ...and this far off the line through its centre, as the robot's own
// motion adds to the shot's.
const double kDesvioDisparo = 0.35;

// The text's lines; a last line without its end of line is left out, as the
// writer was stopped in the middle of it. bCortado tells whether it was.
std::vector<std::string> LineasCompletas(const std::string& sTexto, bool& bCortado)
{
    std::vector<std::string> vLineas;
    size_t nInicio = 0;
    for (size_t nFin = sTexto.find('\n'); nFin != std::string::npos; nFin = sTexto.find('\n', nInicio)) {
        vLineas.push_back(sTexto.substr(nInicio, nFin - nInicio));
        nInicio = nFin + 1;
    }
    bCortado = nInicio < sTexto.size();
    return vLineas;
}

std::vector<std::string> Palabras(const std::string& sLinea)
{
    std::istringstream flujo(sLinea);
    std::vector<std::string> vPalabras;
    std::string sPalabra;
    while (flujo >> sPalabra)
        vPalabras.push_back(sPalabra);
    return vPalabras;
}

bool Real(const std::string& sTexto, double& dValor)
{
    char* pFin = nullptr;
    errno = 0;
    dValor = std::strtod(sTexto.c_str(), &pFin);
    return !sTexto.empty() && *pFin == '\0' && errno == 0 && std::isfinite(dValor);
}

bool Entero(const std::string& sTexto, long& nValor)
{
    char* pFin = nullptr;
    errno = 0;
    nValor = std::strtol(sTexto.c_str(), &pFin, 10);
    return !sTexto.empty() && *pFin == '\0' && errno == 0;
}

bool EmpiezaPor(const std::string& sTexto, const std::string& sPrefijo)
{
    return sTexto.compare(0, sPrefijo.size(), sPrefijo) == 0;
}

// "Seq: 1  Game: 2  Pos: 1  Points: 1.5  Time Survived: 10  Total Points: 2"
bool LeerLineaPartida(const std::string& sLinea, SPartidaReal& partida)
{
    const std::vector<std::string> v = Palabras(sLinea);
    bool bPuesto = false, bPuntos = false;
    for (size_t i = 0; i + 1 < v.size(); ++i) {
        long nPuesto = 0;
        if (v[i] == "Pos:") {
            bPuesto = Entero(v[i + 1], nPuesto) && nPuesto >= 1;
            partida.nPuesto = static_cast<int>(nPuesto);
        } else if (v[i] == "Points:" && (i == 0 || v[i - 1] != "Total"))
            bPuntos = Real(v[i + 1], partida.dPuntos) && partida.dPuntos >= 0;
    }
    return bPuesto && bPuntos;
}

std::string NombreDeLinea(std::string sLinea)
{
    while (!sLinea.empty() && sLinea.back() == ' ')
        sLinea.pop_back();
    if (!sLinea.empty() && sLinea.back() == ':')
        sLinea.pop_back();
    return sLinea;
}

// "L<robot> <colour> <Name>": the name may hold spaces.
std::string NombreTrasColor(const std::string& sLinea)
{
    size_t n = sLinea.find(' ');
    n = sLinea.find_first_not_of(' ', n);
    n = sLinea.find(' ', n);
    return n == std::string::npos ? "" : sLinea.substr(n + 1);
}

// One game of the log being read.
struct SPartidaLog {
    std::map<long, SPartidaReal> resultados;  // by robot, from the "DR" lines
    std::map<long, std::pair<double, double>> inicio, ultima;
    std::set<long> disparosVistos;
};

bool NumeroRobot(const std::string& sTexto, size_t nRobots, long& nRobot)
{
    return Entero(sTexto, nRobot) && nRobot >= 0 && static_cast<size_t>(nRobot) < nRobots;
}

void AnotarPosicion(const std::vector<std::string>& v, size_t nRobots, SPartidaLog& partida,
                    std::vector<SRobotReal>& vRobots)
{
    long nRobot = 0;
    double x = 0, y = 0;
    if (v.size() < 3 || !NumeroRobot(v[0].substr(1), nRobots, nRobot) || !Real(v[1], x) || !Real(v[2], y))
        return;
    if (!partida.inicio.count(nRobot))
        partida.inicio[nRobot] = {x, y};
    partida.ultima[nRobot] = {x, y};
    const std::pair<double, double>& p0 = partida.inicio[nRobot];
    if (std::hypot(x - p0.first, y - p0.second) > kDesplazamientoMinimo)
        vRobots[nRobot].bSeMovio = true;
}

// A shot seen for the first time is credited to the robot that lies behind
// it on its line of flight, close enough to have just fired it.
void AnotarDisparo(const std::vector<std::string>& v, SPartidaLog& partida, std::vector<SRobotReal>& vRobots)
{
    long nDisparo = 0;
    double x = 0, y = 0, vx = 0, vy = 0;
    if (v.size() < 5 || !Entero(v[0].substr(1), nDisparo) || !Real(v[1], x) || !Real(v[2], y) || !Real(v[3], vx) ||
        !Real(v[4], vy))
        return;
    const double dVelocidad = std::hypot(vx, vy);
    if (!partida.disparosVistos.insert(nDisparo).second || dVelocidad <= 0)
        return;
    long nTirador = -1;
    double dMejorDesvio = kDesvioDisparo;
    for (const auto& par : partida.ultima) {
        const double dx = par.second.first - x, dy = par.second.second - y;
        const double dDetras = -(dx * vx + dy * vy) / dVelocidad;
        const double dDesvio = std::fabs(dx * vy - dy * vx) / dVelocidad;
        if (dDetras >= 0 && dDetras <= kDistanciaDisparo && dDesvio <= dMejorDesvio) {
            dMejorDesvio = dDesvio;
            nTirador = par.first;
        }
    }
    if (nTirador >= 0)
        ++vRobots[nTirador].nDisparos;
}

// "DR <robot> <points> <place>"; the game is kept once every robot has one.
bool AnotarResultado(const std::vector<std::string>& v, size_t nRobots, SPartidaLog& partida,
                     std::vector<SRobotReal>& vRobots, int& nPartidas)
{
    long nRobot = 0, nPuesto = 0;
    SPartidaReal resultado;
    if (v.size() < 4 || !NumeroRobot(v[1], nRobots, nRobot) || !Real(v[2], resultado.dPuntos) ||
        !Entero(v[3], nPuesto) || nPuesto < 1)
        return false;
    resultado.nPuesto = static_cast<int>(nPuesto);
    partida.resultados[nRobot] = resultado;
    if (partida.resultados.size() == nRobots) {
        for (const auto& par : partida.resultados)
            vRobots[par.first].vPartidas.push_back(par.second);
        partida.resultados.clear();
        ++nPartidas;
    }
    return true;
}

}  // namespace

bool LeerEstadisticasReal(const std::string& sTexto, size_t nRobots, int nPartidas, std::vector<SRobotReal>& vRobots,
                          std::string& sError)
{
    bool bCortado = false;
    const std::vector<std::string> vLineas = LineasCompletas(sTexto, bCortado);
    std::vector<SRobotReal> vLeidos;
    for (size_t i = 0; i < vLineas.size(); ++i) {
        const std::string& sLinea = vLineas[i];
        if (sLinea.empty())
            continue;
        if (!EmpiezaPor(sLinea, "Seq:")) {
            vLeidos.push_back(SRobotReal());
            vLeidos.back().sNombre = NombreDeLinea(sLinea);
            continue;
        }
        SPartidaReal partida;
        if (vLeidos.empty() || !LeerLineaPartida(sLinea, partida)) {
            sError =
                "L"
                "\xED"
                "nea " +
                std::to_string(i + 1) +
                " de las estad"
                "\xED"
                "sticas no v"
                "\xE1"
                "lida: " +
                sLinea;
            return false;
        }
        vLeidos.back().vPartidas.push_back(partida);
    }
    if (bCortado || vLeidos.size() != nRobots) {
        sError =
            "Estad"
            "\xED"
            "sticas incompletas: " +
            std::to_string(vLeidos.size()) + " de " + std::to_string(nRobots) + " robots" +
            (bCortado ? ", la "
                        "\xFA"
                        "ltima l"
                        "\xED"
                        "nea cortada"
                      : "");
        return false;
    }
    for (const SRobotReal& robot : vLeidos) {
        if (static_cast<int>(robot.vPartidas.size()) != nPartidas) {
            sError =
                "Estad"
                "\xED"
                "sticas incompletas: '" +
                robot.sNombre + "' tiene " + std::to_string(robot.vPartidas.size()) + " de " +
                std::to_string(nPartidas) + " partidas";
            return false;
        }
    }
    vRobots = vLeidos;
    return true;
}

bool LeerLogReal(const std::string& sTexto, size_t nRobots, std::vector<SRobotReal>& vRobots, int& nPartidas,
                 std::string& sError)
{
    bool bCortado = false;
    const std::vector<std::string> vLineas = LineasCompletas(sTexto, bCortado);
    std::vector<SRobotReal> vLeidos(nRobots);
    std::vector<bool> vNombrados(nRobots, false);
    SPartidaLog partida;
    int nLeidas = 0;
    for (const std::string& sLinea : vLineas) {
        const std::vector<std::string> v = Palabras(sLinea);
        if (v.empty())
            continue;
        const char c = v[0][0];
        long nRobot = 0;
        if (c == 'L' && v.size() >= 2 && NumeroRobot(v[0].substr(1), nRobots, nRobot)) {
            vLeidos[nRobot].sNombre = NombreTrasColor(sLinea);
            vNombrados[nRobot] = true;
        } else if (c == 'G')
            partida = SPartidaLog();
        else if (c == 'R')
            AnotarPosicion(v, nRobots, partida, vLeidos);
        else if (c == 'S')
            AnotarDisparo(v, partida, vLeidos);
        else if (v[0] == "DR" && !AnotarResultado(v, nRobots, partida, vLeidos, nLeidas)) {
            sError =
                "L"
                "\xED"
                "nea del registro no v"
                "\xE1"
                "lida: " +
                sLinea;
            return false;
        }
    }
    for (size_t i = 0; i < nRobots; ++i) {
        if (!vNombrados[i]) {
            sError = "El registro no presenta al robot " + std::to_string(i + 1) + " de " + std::to_string(nRobots);
            return false;
        }
    }
    vRobots = vLeidos;
    nPartidas = nLeidas;
    return true;
}

SResumenReal ResumirRobot(const std::vector<SRobotReal>& vRobots, size_t nRobot)
{
    std::vector<double> vTotales;
    for (const SRobotReal& robot : vRobots) {
        double dTotal = 0;
        for (const SPartidaReal& p : robot.vPartidas)
            dTotal += p.dPuntos;
        vTotales.push_back(dTotal);
    }
    SResumenReal r;
    const SRobotReal& robot = vRobots[nRobot];
    r.nPartidas = static_cast<int>(robot.vPartidas.size());
    r.dPuntos = vTotales[nRobot];
    double dSumaPuestos = 0;
    for (const SPartidaReal& p : robot.vPartidas) {
        r.nGanadas += p.nPuesto == 1 ? 1 : 0;
        dSumaPuestos += p.nPuesto;
    }
    r.dPuestoMedio = r.nPartidas ? dSumaPuestos / r.nPartidas : 0;
    r.nRango = 1;
    for (double dOtro : vTotales)
        r.nRango += dOtro > r.dPuntos ? 1 : 0;
    return r;
}
