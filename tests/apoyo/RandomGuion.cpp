#include "apoyo/RandomGuion.h"

#include <deque>
#include <random>

#include "DebugLib/Random/Random.h"

namespace {

std::deque<double> g_vGuion;
std::vector<SLlamadaRandom> g_vLlamadas;
std::mt19937 g_generador(12345u);

double Siguiente(double dReserva)
{
    if (g_vGuion.empty())
        return dReserva;
    const double dValor = g_vGuion.front();
    g_vGuion.pop_front();
    return dValor;
}

}  // namespace

void GuionCargar(const std::vector<double>& vValores)
{
    g_vGuion.assign(vValores.begin(), vValores.end());
    g_vLlamadas.clear();
}

void GuionReiniciar()
{
    g_vGuion.clear();
    g_vLlamadas.clear();
    g_generador.seed(12345u);
}

const std::vector<SLlamadaRandom>& GuionLlamadas() { return g_vLlamadas; }
std::size_t GuionNumLlamadas() { return g_vLlamadas.size(); }
std::size_t GuionPendientes() { return g_vGuion.size(); }

double RandomDouble(double dMin, double dMax)
{
    const double dReserva = dMin + (dMax - dMin) * (g_generador() / 4294967295.0);
    const double dValor = Siguiente(dReserva);
    g_vLlamadas.push_back({'D', dMin, dMax, dValor});
    return dValor;
}

int RandomInt(int nMin, int nMax)
{
    int nReserva = nMin;
    if (nMax > nMin)
        nReserva = nMin + static_cast<int>(g_generador() % static_cast<unsigned>(nMax - nMin + 1));
    const int nValor = static_cast<int>(Siguiente(nReserva));
    g_vLlamadas.push_back({'I', static_cast<double>(nMin), static_cast<double>(nMax), static_cast<double>(nValor)});
    return nValor;
}

void GenerarSemillaRandom() {}

void SetSemillaRandom(unsigned int nSemilla) { g_generador.seed(nSemilla); }
