// Innovation look-ups at two database sizes. The queries are drawn once,
// uniformly over the whole database (one in ten asks for a pair that is not
// there), and replayed in a cycle.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "redes.h"

namespace {

const int kConsultas = 4096;

struct SConsulta {
    int nDesde;
    int nHasta;
    TInnovacion tipo;
};

std::vector<SConsulta> ConsultasDe(const CInnovacion& bd)
{
    const TInnovaciones& v = bd.GetBDInnovaciones();
    std::mt19937 gen(11);
    std::vector<SConsulta> vConsultas;
    for (int k = 0; k < kConsultas; ++k) {
        const SInnovacion& r = v[gen() % v.size()];
        if (k % 10 == 9)
            vConsultas.push_back({r.nIDNeuronaInicio, -5, r.tipo});
        else
            vConsultas.push_back({r.nIDNeuronaInicio, r.nIDNeuronaFin, r.tipo});
    }
    return vConsultas;
}

void BM_ComprobarInnovacion(benchmark::State& state)
{
    CInnovacion bd = BDInnovacionesDe(static_cast<int>(state.range(0)));
    const std::vector<SConsulta> vConsultas = ConsultasDe(bd);
    std::size_t k = 0;
    for (auto _ : state) {
        const SConsulta& c = vConsultas[k];
        k = (k + 1) % vConsultas.size();
        benchmark::DoNotOptimize(bd.ComprobarInnovacion(c.nDesde, c.nHasta, c.tipo));
    }
    state.counters["registros"] = static_cast<double>(bd.GetBDInnovaciones().size());
}

void BM_CrearNeuronaDesdeID(benchmark::State& state)
{
    CInnovacion bd = BDInnovacionesDe(static_cast<int>(state.range(0)));
    std::mt19937 gen(13);
    std::vector<int> vIDs;
    for (int k = 0; k < kConsultas; ++k)
        vIDs.push_back(static_cast<int>(gen() % bd.GetSigIDNeurona()));
    std::size_t k = 0;
    for (auto _ : state) {
        const SGenNeurona neurona = bd.CrearNeuronaDesdeID(vIDs[k]);
        k = (k + 1) % vIDs.size();
        benchmark::DoNotOptimize(neurona.dSplitX);
    }
    state.counters["registros"] = static_cast<double>(bd.GetBDInnovaciones().size());
}

}  // namespace

BENCHMARK(BM_ComprobarInnovacion)->Arg(1000)->Arg(100000);
BENCHMARK(BM_CrearNeuronaDesdeID)->Arg(1000)->Arg(100000);
