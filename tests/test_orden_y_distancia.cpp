// OrdenarGenes moves the few genes at the end of a nearly sorted genome
// into place instead of sorting it whole, and CalcularCompatibilidad walks
// the genes with the end checks taken out of its loop. Both must give
// exactly what the plain versions give: the library sort's order (repeated
// innovation numbers included) and the same distance to the last bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "DebugLib/Random/Random.h"
#include "NEAT/CGenoma.h"

namespace {

CGenoma GenomaCon(const TGEnlaces& vEnlaces)
{
    TGNeuronas vN = {SGenNeurona(Neurona_Sesgo, 0, 0.5, 0, false), SGenNeurona(Neurona_Salida, 1, 0.5, 1, false)};
    return CGenoma(0, vN, vEnlaces, 0, 1);
}

// The weight tells the genes apart, so that the order of equals shows.
TGEnlaces EnlacesDe(const std::vector<int>& vInno)
{
    TGEnlaces v;
    for (size_t i = 0; i < vInno.size(); ++i)
        v.push_back(SGenEnlace(0, 1, true, vInno[i], static_cast<double>(i), false));
    return v;
}

void ComprobarOrden(const std::vector<int>& vInno)
{
    CGenoma g = GenomaCon(EnlacesDe(vInno));
    TGEnlaces vEsperado = EnlacesDe(vInno);
    std::sort(vEsperado.begin(), vEsperado.end());
    g.OrdenarGenes();
    const TGEnlaces& v = g.GetGenesEnlace();
    ASSERT_EQ(v.size(), vEsperado.size());
    for (size_t i = 0; i < v.size(); ++i) {
        EXPECT_EQ(v[i].nIDInnovacion, vEsperado[i].nIDInnovacion) << i;
        EXPECT_EQ(v[i].dPeso, vEsperado[i].dPeso) << "gen " << i << " de otro origen";
    }
}

// The distance as first written: one loop with every check inside.
double DistanciaLlana(const TGEnlaces& v1, const TGEnlaces& v2)
{
    const int nFin1 = static_cast<int>(v1.size()) - 1, nFin2 = static_cast<int>(v2.size()) - 1;
    int g1 = std::min(0, nFin1), g2 = std::min(0, nFin2);
    int nExceso = 0, nDisjuntos = 0, nEmparejados = 0;
    double dPesos = 0.0;
    while (g1 < nFin1 || g2 < nFin2) {
        if (g1 == nFin1) {
            ++g2;
            ++nExceso;
        } else if (g2 == nFin2) {
            ++g1;
            ++nExceso;
        } else if (v1[g1].nIDInnovacion == v2[g2].nIDInnovacion) {
            dPesos += std::fabs(v1[g1].dPeso - v2[g2].dPeso);
            ++g1;
            ++g2;
            ++nEmparejados;
        } else {
            ++nDisjuntos;
            if (v1[g1].nIDInnovacion < v2[g2].nIDInnovacion)
                ++g1;
            else
                ++g2;
        }
    }
    const int nMasLargo = std::max(nFin1, nFin2) + 1;
    double d = 0.0;
    if (nMasLargo > 0)
        d += 1.0 * nExceso / nMasLargo + 1.0 * nDisjuntos / nMasLargo;
    if (nEmparejados > 0)
        d += 0.4 * dPesos / nEmparejados;
    return d;
}

}  // namespace

TEST(OrdenGenes, ComoLaOrdenacionDeLaBiblioteca)
{
    // Sorted, sorted but for a short tail, repeats in the tail or against
    // the sorted part, a long unsorted tail, empty and single lists.
    ComprobarOrden({});
    ComprobarOrden({4});
    ComprobarOrden({1, 2, 3, 9});
    ComprobarOrden({1, 3, 5, 9, 4, 2, 12});
    ComprobarOrden({1, 3, 5, 9, 12, 3});
    ComprobarOrden({1, 3, 5, 9, 7, 7});
    ComprobarOrden({2, 2, 2, 5, 1});
    ComprobarOrden({9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 11, 10});
    std::mt19937 gen(8);
    for (int nCaso = 0; nCaso < 400; ++nCaso) {
        std::vector<int> v;
        const int nLargo = static_cast<int>(gen() % 40);
        for (int i = 0; i < nLargo; ++i)
            v.push_back(nCaso % 2 ? static_cast<int>(2 * i + gen() % 2) : static_cast<int>(gen() % 60));
        const int nCola = static_cast<int>(gen() % 12);
        for (int i = 0; i < nCola; ++i)
            v.push_back(static_cast<int>(gen() % 90) - 5);
        ASSERT_NO_FATAL_FAILURE(ComprobarOrden(v)) << nCaso;
    }
}

TEST(Compatibilidad, IgualAlRecorridoLlano)
{
    SetSemillaRandom(21);
    std::mt19937 gen(4);
    for (int nCaso = 0; nCaso < 500; ++nCaso) {
        // Two sorted lists drawn from one range, so that they share some
        // numbers and not others; empty and one-gene lists included.
        TGEnlaces v1, v2;
        for (int nInno = 0; nInno < 50; ++nInno) {
            if (gen() % 3 == 0)
                v1.push_back(SGenEnlace(0, 1, true, nInno, RandomDouble(-2, 2), false));
            if (gen() % (2 + nCaso % 5) == 0)
                v2.push_back(SGenEnlace(0, 1, true, nInno, RandomDouble(-2, 2), false));
        }
        v1.resize(std::min(v1.size(), static_cast<size_t>(gen() % 30)));
        const CGenoma a = GenomaCon(v1), b = GenomaCon(v2);
        ASSERT_EQ(a.CalcularCompatibilidad(b), DistanciaLlana(v1, v2)) << nCaso;
        ASSERT_EQ(b.CalcularCompatibilidad(a), DistanciaLlana(v2, v1)) << nCaso;
    }
}
