#include "DebugLib/Random/Random.h"

#include <locale>
#include <random>
#include <sstream>

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

std::string GetEstadoRandom()
{
    std::ostringstream texto;
    texto.imbue(std::locale::classic());
    texto << Generador();
    return texto.str();
}

namespace {

// The text the standard library writes for the generator: its n words,
// each of 32 bits, then the position of the next word, at most n. Checked
// here because the library's reader takes any number that fits its type.
bool EstadoValido(const std::string& sEstado)
{
    std::istringstream texto(sEstado);
    texto.imbue(std::locale::classic());
    const std::size_t nPalabras = std::mt19937::state_size;
    std::size_t nLeidas = 0;
    for (std::string sToken; texto >> sToken; ++nLeidas) {
        if (sToken.size() > 10 || sToken.find_first_not_of("0123456789") != std::string::npos)
            return false;
        const unsigned long long n = std::stoull(sToken);
        if (n > 0xFFFFFFFFull || (nLeidas == nPalabras && n > nPalabras))
            return false;
    }
    return nLeidas == nPalabras + 1;
}

}  // namespace

bool SetEstadoRandom(const std::string& sEstado)
{
    if (!EstadoValido(sEstado))
        return false;
    std::istringstream texto(sEstado);
    texto.imbue(std::locale::classic());
    std::mt19937 leido;
    texto >> leido;
    if (texto.fail())
        return false;
    Generador() = leido;
    return true;
}
