#include "Protocolo.h"

#include <cstdio>
#include <cstring>

const SFormaMensaje kMensajesArena[kNumMensajesArena] = {
    {"Initialize", "d"},  {"YourName", "t"},   {"YourColour", "x"},    {"GameOption", "dg"}, {"GameStarts", ""},
    {"Radar", "gdg"},     {"Info", "ggg"},     {"Coordinates", "ggg"}, {"RobotInfo", "gd"},  {"RotationReached", "d"},
    {"Energy", "g"},      {"RobotsLeft", "d"}, {"Collision", "dg"},    {"Warning", "dt"},    {"Dead", ""},
    {"GameFinishes", ""}, {"ExitRobot", ""},
};

const SFormaLinea kComandosRobot[kNumComandosRobot] = {
    {"RobotOption", 2},  {"Name", -1},  {"Colour", 2},     {"Rotate", 2},    {"RotateTo", 3},
    {"RotateAmount", 3}, {"Sweep", 4},  {"Accelerate", 1}, {"Brake", 1},     {"Break", 1},
    {"Shoot", 1},        {"Print", -1}, {"Debug", -1},     {"DebugLine", 4}, {"DebugCircle", 3},
};

const char* NombreMensaje(TMensajeArena eMensaje) { return kMensajesArena[eMensaje].szNombre; }

bool AnyadirMensaje(std::string& sSalida, TMensajeArena eMensaje, const double* pdValores, int nValores)
{
    const SFormaMensaje& forma = kMensajesArena[eMensaje];
    const int nArgumentos = static_cast<int>(std::strlen(forma.szArgumentos));
    if (nArgumentos > nValores || std::strpbrk(forma.szArgumentos, "xt") != nullptr)
        return false;
    sSalida += forma.szNombre;
    for (int i = 0; i < nArgumentos; ++i) {
        char szValor[32];
        const int nLong = forma.szArgumentos[i] == 'd'
                              ? std::snprintf(szValor, sizeof(szValor), " %d", static_cast<int>(pdValores[i]))
                              : std::snprintf(szValor, sizeof(szValor), " %g", pdValores[i]);
        sSalida.append(szValor, nLong > 0 ? static_cast<std::size_t>(nLong) : 0);
    }
    sSalida.push_back('\n');
    return true;
}

namespace {

bool EsEspacio(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

bool BuscarComandoRobot(const char* p, std::size_t n, TComandoRobot& eComando)
{
    for (int k = 0; k < kNumComandosRobot; ++k) {
        if (std::strlen(kComandosRobot[k].szNombre) == n && std::memcmp(kComandosRobot[k].szNombre, p, n) == 0) {
            eComando = static_cast<TComandoRobot>(k);
            return true;
        }
    }
    return false;
}

bool LeerComandoRobot(const std::string& sLinea, TComandoRobot& eComando, std::vector<std::string>& vArgumentos)
{
    std::vector<std::string> vPalabras;
    std::size_t i = 0;
    while (i < sLinea.size()) {
        while (i < sLinea.size() && EsEspacio(sLinea[i]))
            ++i;
        const std::size_t nInicio = i;
        while (i < sLinea.size() && !EsEspacio(sLinea[i]))
            ++i;
        if (i > nInicio)
            vPalabras.push_back(sLinea.substr(nInicio, i - nInicio));
    }
    if (vPalabras.empty())
        return false;
    for (int k = 0; k < kNumComandosRobot; ++k) {
        if (vPalabras[0] != kComandosRobot[k].szNombre)
            continue;
        const int nArgumentos = static_cast<int>(vPalabras.size()) - 1;
        const int nEsperados = kComandosRobot[k].nArgumentos;
        if (nEsperados >= 0 ? nArgumentos != nEsperados : nArgumentos < 1)
            return false;
        eComando = static_cast<TComandoRobot>(k);
        vArgumentos.assign(vPalabras.begin() + 1, vPalabras.end());
        return true;
    }
    return false;
}
