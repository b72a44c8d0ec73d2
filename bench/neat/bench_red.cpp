// Evaluation of networks built from genomes, in both modes. The counter
// "enlaces" is the number of link visits per call (passes x links), so the
// time per link is the time per call divided by it.
#include <benchmark/benchmark.h>

#include "NEAT/CRedNeuronal.h"
#include "redes.h"

namespace {

TVecDoubles EntradasFijas(int nEntradas)
{
    TVecDoubles v;
    for (int i = 0; i < nEntradas; ++i)
        v.push_back(0.1 + 0.8 * i / (nEntradas > 1 ? nEntradas - 1 : 1));
    return v;
}

int NumCapas(const CGenoma& genoma)
{
    std::vector<double> vY;
    for (const SGenNeurona& gen : genoma.GetGenesNeurona()) {
        bool bNueva = true;
        for (double y : vY)
            bNueva = bNueva && y != gen.dSplitY;
        if (bNueva)
            vY.push_back(gen.dSplitY);
    }
    return static_cast<int>(vY.size());
}

void Evaluar(benchmark::State& state, TEjecucion modo)
{
    const SFormaRed& forma = FormasRed()[state.range(0)];
    CGenoma genoma = GenomaEnCapas(forma, 1);
    CRedNeuronal* pRed = const_cast<CRedNeuronal*>(genoma.CrearFenotipo());
    const TVecDoubles vEntradas = EntradasFijas(forma.nEntradas);
    for (auto _ : state) {
        const TVecDoubles& vSalidas = pRed->Actualizar(vEntradas, modo);
        benchmark::DoNotOptimize(vSalidas.data());
        benchmark::ClobberMemory();
    }
    const int nPasadas = modo == Ejecucion_Instantanea ? NumCapas(genoma) : 1;
    state.counters["enlaces"] = nPasadas * NumEnlacesHabilitados(genoma);
    state.SetLabel(forma.szNombre);
}

void BM_RedPasoDinamico(benchmark::State& state) { Evaluar(state, Ejecucion_PasoDinamico); }
void BM_RedInstantanea(benchmark::State& state) { Evaluar(state, Ejecucion_Instantanea); }

}  // namespace

BENCHMARK(BM_RedPasoDinamico)->DenseRange(0, 2);
BENCHMARK(BM_RedInstantanea)->DenseRange(0, 2);
