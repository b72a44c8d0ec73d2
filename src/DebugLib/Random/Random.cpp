#include "DebugLib/Random/Random.h"

#include <random>

namespace {

std::mt19937& Generador()
{
    static std::mt19937 generador(5489u);
    return generador;
}

bool g_bSemillaFijada = false;
unsigned int g_nSemilla = 0;

}  // namespace

double RandomDouble(double dMin, double dMax)
{
    // Built from one 32-bit draw so that a sequence is the same with every
    // standard library (the distributions of <random> are not portable).
    const double dUnidad = Generador()() / 4294967295.0;  // [0, 1]
    return dMin + (dMax - dMin) * dUnidad;
}

int RandomInt(int nMin, int nMax)
{
    if (nMax <= nMin)
        return nMin;
    const unsigned long long nRango = static_cast<unsigned long long>(static_cast<long long>(nMax) - nMin) + 1;
    // Rejection keeps every value equally likely.
    const unsigned long long nLimite = (4294967296ULL / nRango) * nRango;
    unsigned long long nValor;
    do {
        nValor = Generador()();
    } while (nValor >= nLimite);
    return static_cast<int>(nMin + static_cast<long long>(nValor % nRango));
}

void GenerarSemillaRandom()
{
    if (g_bSemillaFijada) {
        Generador().seed(g_nSemilla);
        return;
    }
    std::random_device fuente;
    Generador().seed(fuente());
}

void SetSemillaRandom(unsigned int nSemilla)
{
    g_bSemillaFijada = true;
    g_nSemilla = nSemilla;
    Generador().seed(nSemilla);
}
