// Phenotype construction and the compatibility distance.
#include <benchmark/benchmark.h>

#include "DebugLib/Random/Random.h"
#include "redes.h"

namespace {

void BM_CrearFenotipo(benchmark::State& state)
{
    const SFormaRed& forma = FormasRed()[state.range(0)];
    CGenoma genoma = GenomaEnCapas(forma, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(genoma.CrearFenotipo());
    state.counters["enlaces"] = NumEnlacesHabilitados(genoma);
    state.SetLabel(forma.szNombre);
}

// Two genomes of one shape with different weights; the second also carries
// ten later links of its own, so the walk meets matching, disjoint and
// excess genes.
void BM_CalcularCompatibilidad(benchmark::State& state)
{
    const SFormaRed& forma = FormasRed()[state.range(0)];
    const CGenoma a = GenomaEnCapas(forma, 1);
    const CGenoma b0 = GenomaEnCapas(forma, 2);
    TGEnlaces vEnlaces = b0.GetGenesEnlace();
    const int nPrimera = vEnlaces.back().nIDInnovacion + 1;
    for (int k = 0; k < 10; ++k)
        vEnlaces.push_back(SGenEnlace(k % (forma.nEntradas + 1), forma.nEntradas + 1, true, nPrimera + 2 * k,
                                      RandomDouble(-1, 1), false));
    const CGenoma b(1, b0.GetGenesNeurona(), vEnlaces, forma.nEntradas, forma.nSalidas);
    for (auto _ : state)
        benchmark::DoNotOptimize(a.CalcularCompatibilidad(b));
    state.counters["genes"] = static_cast<double>(b.GetNumGenesEnlace());
    state.SetLabel(forma.szNombre);
}

}  // namespace

BENCHMARK(BM_CrearFenotipo)->DenseRange(0, 2);
BENCHMARK(BM_CalcularCompatibilidad)->DenseRange(0, 2);
