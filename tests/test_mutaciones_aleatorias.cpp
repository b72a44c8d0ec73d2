// Long runs of random mutations over a small population sharing one
// database: the invariants that crossover, speciation and the network rely on
// must survive every sequence of mutations.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "DebugLib/Random/Random.h"
#include "NEAT/CGenoma.h"
#include "NEAT/CInnovacion.h"

namespace {

void ComprobarGenoma(const CGenoma& g, int nEntradas, int nSalidas)
{
    const TGNeuronas& vN = g.GetGenesNeurona();
    ASSERT_GE(vN.size(), static_cast<size_t>(nEntradas + 1 + nSalidas));
    // Layout: inputs 0..n-1, bias n, then outputs.
    for (int i = 0; i < nEntradas; ++i) {
        EXPECT_EQ(vN[i].Tipo, Neurona_Entrada);
        EXPECT_EQ(vN[i].nID, i);
    }
    EXPECT_EQ(vN[nEntradas].Tipo, Neurona_Sesgo);
    std::set<int> ids;
    for (const SGenNeurona& n : vN)
        EXPECT_TRUE(ids.insert(n.nID).second) << "neurona repetida " << n.nID;

    std::map<int, double> profundidad;
    for (const SGenNeurona& n : vN)
        profundidad[n.nID] = n.dSplitY;
    for (const SGenEnlace& e : g.GetGenesEnlace()) {
        ASSERT_TRUE(ids.count(e.nIDNeuronaInicio)) << e.nIDNeuronaInicio;
        ASSERT_TRUE(ids.count(e.nIDNeuronaFin)) << e.nIDNeuronaFin;
        const SGenNeurona& fin = vN[g.GetPosicionNeurona(e.nIDNeuronaFin)];
        EXPECT_NE(fin.Tipo, Neurona_Entrada);
        EXPECT_NE(fin.Tipo, Neurona_Sesgo);
        const bool bDebeSerRec =
            e.nIDNeuronaInicio == e.nIDNeuronaFin || profundidad[e.nIDNeuronaInicio] > profundidad[e.nIDNeuronaFin];
        EXPECT_EQ(e.bRecurrente, bDebeSerRec);
        EXPECT_GE(e.nIDInnovacion, 0);
    }
    for (size_t i = 1; i < g.GetNumGenesEnlace(); ++i)
        EXPECT_LE(g.GetGenesEnlace()[i - 1].nIDInnovacion, g.GetGenesEnlace()[i].nIDInnovacion);
}

}  // namespace

TEST(MutacionesAleatorias, InvariantesTrasMuchasGeneraciones)
{
    SetSemillaRandom(2024);
    const int nEntradas = 3, nSalidas = 2;
    CInnovacion bd(CGenoma(0, nEntradas, nSalidas));
    std::vector<CGenoma> poblacion;
    for (int i = 0; i < 12; ++i)
        poblacion.push_back(CGenoma(i, nEntradas, nSalidas));

    for (int gen = 0; gen < 60; ++gen) {
        for (CGenoma& g : poblacion) {
            if (g.GetNumGenesNeurona() < 40)
                g.AddNeurona(0.1, bd, 5);
            g.AddEnlace(0.2, 0.1, bd, 5, 5);
            g.MutarPesos(0.2, 0.1, 0.5);
            g.MutarCurvaturaActivacion(0.1, 0.1);
            g.OrdenarGenes();
        }
    }

    // The database numbers every record by its position.
    const TInnovaciones& v = bd.GetBDInnovaciones();
    ASSERT_EQ(static_cast<int>(v.size()), bd.GetSigIDInnovacion());
    for (size_t i = 0; i < v.size(); ++i)
        ASSERT_EQ(v[i].nID, static_cast<int>(i));

    // The same link carries the same number in every genome.
    std::map<std::pair<int, int>, int> numeros;
    size_t nOcultas = 0;
    for (const CGenoma& g : poblacion) {
        ComprobarGenoma(g, nEntradas, nSalidas);
        nOcultas += g.GetNumGenesNeurona() - (nEntradas + 1 + nSalidas);
        for (const SGenEnlace& e : g.GetGenesEnlace()) {
            auto it = numeros.emplace(std::make_pair(e.nIDNeuronaInicio, e.nIDNeuronaFin), e.nIDInnovacion).first;
            EXPECT_EQ(it->second, e.nIDInnovacion);
        }
    }
    EXPECT_GT(nOcultas, 0u);  // the run did grow structure

    // Every genome builds a network that evaluates to finite outputs, and
    // distances are finite and symmetric.
    for (CGenoma& g : poblacion) {
        CRedNeuronal& red = const_cast<CRedNeuronal&>(*g.CrearFenotipo());
        const TVecDoubles& salidas = red.Actualizar(TVecDoubles(nEntradas, 0.5), Ejecucion_Instantanea);
        ASSERT_EQ(salidas.size(), static_cast<size_t>(nSalidas));
        for (double d : salidas)
            EXPECT_TRUE(std::isfinite(d));
        for (const CGenoma& otro : poblacion) {
            const double d = g.CalcularCompatibilidad(otro);
            EXPECT_TRUE(std::isfinite(d));
            EXPECT_DOUBLE_EQ(d, otro.CalcularCompatibilidad(g));
        }
    }
}
