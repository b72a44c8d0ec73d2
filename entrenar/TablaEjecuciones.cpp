#include "TablaEjecuciones.h"

#include <algorithm>
#include <cstdio>

#include "NEAT/CRedNeuronal.h"

std::string Numero(const char* szFormato, double dValor)
{
    char szTexto[64];
    std::snprintf(szTexto, sizeof(szTexto), szFormato, dValor);
    return szTexto;
}

std::string Si(bool b)
{
    return b ? "s"
               "\xED"
             : "no";
}

double Mediana(std::vector<double> vValores)
{
    if (vValores.empty())
        return 0.0;
    std::sort(vValores.begin(), vValores.end());
    const size_t n = vValores.size();
    return n % 2 ? vValores[n / 2] : (vValores[n / 2 - 1] + vValores[n / 2]) / 2;
}

std::string LineaResueltas(int nResueltas, int nEjecuciones)
{
    const double dTasa = nEjecuciones ? 100.0 * nResueltas / nEjecuciones : 0.0;
    return "\nResueltas: " + std::to_string(nResueltas) + " de " + std::to_string(nEjecuciones) + " (" +
           Numero("%.1f", dTasa) + "%)\n";
}

void ContarRed(const CRedNeuronal& red, int& nOcultas, int& nEnlaces)
{
    nOcultas = nEnlaces = 0;
    for (const SNeurona* pNeurona : red.GetRed()) {
        nOcultas += pNeurona->TipoNeurona == Neurona_Oculta ? 1 : 0;
        nEnlaces += static_cast<int>(pNeurona->vEnlacesEntrada.size());
    }
}
