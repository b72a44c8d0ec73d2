// Epochs of whole runs with uniform random scores in [0, 10). A run starts
// from minimal genomes; the first epochs are left out of the timing, the
// time reported is the mean over the epochs that are timed.
#include <benchmark/benchmark.h>

#include <ctime>
#include <random>

#include "DebugLib/Random/Random.h"
#include "NEAT/CAlgoritmoGenetico.h"

namespace {

double SegundosCPU()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

class CCorrida {
public:
    CCorrida(int nPoblacion, int nEntradas, int nSalidas) : m_generador(3)
    {
        SetSemillaRandom(1);
        m_ag.Inicializar(nEntradas, nSalidas);
        for (int i = 0; i < nPoblacion; ++i) {
            m_vPoblacion.push_back(new IIndividuoIA);
            m_ag.CrearMente(m_vPoblacion.back());
        }
    }
    ~CCorrida() { Limpiar(); }

    void Limpiar()
    {
        for (IIndividuoIA* pIndividuo : m_vPoblacion) {
            pIndividuo->BorrarGenoma();
            delete pIndividuo;
        }
        m_vPoblacion.clear();
    }

    // Scores first, untimed; then the epoch alone. Returns the CPU seconds
    // of this thread: the machine is shared and wall time counts the waits.
    double Epoca()
    {
        for (IIndividuoIA* pIndividuo : m_vPoblacion)
            pIndividuo->SetPuntuacion(10.0 * (m_generador() / 4294967296.0));
        const double t0 = SegundosCPU();
        m_ag.Epoca(m_vPoblacion);
        return SegundosCPU() - t0;
    }

private:
    CAlgoritmoGenetico m_ag;
    TPoblacionIA m_vPoblacion;
    std::mt19937 m_generador;
};

void MedirEpocas(benchmark::State& state, int nEntradas, int nSalidas, int nPrimera, int nUltima)
{
    const int nPoblacion = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CCorrida corrida(nPoblacion, nEntradas, nSalidas);
        for (int g = 1; g < nPrimera; ++g)
            corrida.Epoca();
        double dSegundos = 0.0;
        for (int g = nPrimera; g <= nUltima; ++g)
            dSegundos += corrida.Epoca();
        state.SetIterationTime(dSegundos / (nUltima - nPrimera + 1));
    }
}

// Epochs 6 to 25 from the 2-input 1-output and the 10-input 5-output
// minimal genomes.
void BM_Epoca_2_1(benchmark::State& state) { MedirEpocas(state, 2, 1, 6, 25); }
void BM_Epoca_10_5(benchmark::State& state) { MedirEpocas(state, 10, 5, 6, 25); }

// The 2-input run continued: epochs 151 to 200, genomes grown large and the
// innovation database long.
void BM_EpocaLarga_2_1(benchmark::State& state) { MedirEpocas(state, 2, 1, 151, 200); }

}  // namespace

// Each iteration is a whole run and already averages 20 or 50 epochs, so a
// few iterations suffice.
void EpocasCortas(benchmark::internal::Benchmark* b)
{
    b->UseManualTime()->Unit(benchmark::kMillisecond);
    b->Args({150})->Iterations(10);
}

BENCHMARK(BM_Epoca_2_1)->Apply(EpocasCortas);
BENCHMARK(BM_Epoca_2_1)->Arg(1000)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Epoca_10_5)->Apply(EpocasCortas);
BENCHMARK(BM_Epoca_10_5)->Arg(1000)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EpocaLarga_2_1)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
