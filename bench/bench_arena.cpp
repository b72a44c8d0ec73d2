// Speed of the simulated arena: whole games of 120 s at dt 0.05.

#include <benchmark/benchmark.h>

#include "CPartida.h"

namespace {

void JugarCuatro(benchmark::State& estado, bool bGrabar)
{
    uint64_t nSemilla = 1;
    for (auto _ : estado) {
        CPartida partida;
        SConfigPartida config;
        config.nSemilla = nSemilla++;
        config.bGrabar = bGrabar;
        if (!partida.Configurar(config)) {
            estado.SkipWithError("la arena rechaza la configuracion");
            break;
        }
        SControlador buscador, giratorio, quieto;
        buscador.eTipo = Controlador_Buscador;
        giratorio.eTipo = Controlador_Giratorio;
        partida.AddRobot("b", buscador);
        partida.AddRobot("g", giratorio);
        partida.AddRobot("g2", giratorio);
        partida.AddRobot("q", quieto);
        partida.Jugar();
        benchmark::DoNotOptimize(partida.GetTiempo());
    }
}

// Four still robots: every game lasts the full 120 s.
void BM_JuegoCompletoCuatroQuietos(benchmark::State& estado)
{
    for (auto _ : estado) {
        CPartida partida;
        SConfigPartida config;
        if (!partida.Configurar(config)) {
            estado.SkipWithError("la arena rechaza la configuracion");
            break;
        }
        for (int i = 0; i < 4; ++i)
            partida.AddRobot("q", SControlador());
        partida.Jugar();
        benchmark::DoNotOptimize(partida.GetTiempo());
    }
}

void BM_JuegoCuatroGuiones(benchmark::State& estado) { JugarCuatro(estado, false); }
void BM_JuegoCuatroGuionesGrabando(benchmark::State& estado) { JugarCuatro(estado, true); }

// A text robot that answers with fixed commands: the cost of composing
// and parsing the lines.
void BM_JuegoCompletoConTexto(benchmark::State& estado)
{
    for (auto _ : estado) {
        CPartida partida;
        SConfigPartida config;
        if (!partida.Configurar(config)) {
            estado.SkipWithError("la arena rechaza la configuracion");
            break;
        }
        SControlador texto;
        texto.eTipo = Controlador_Texto;
        texto.fTexto = [](const std::string&, std::string& sComandos) {
            sComandos = "Rotate 1 0.3\nRotate 4 1\nRotate 2 0.5\nAccelerate 0.2\n";
        };
        partida.AddRobot("t", texto);
        for (int i = 0; i < 3; ++i)
            partida.AddRobot("q", SControlador());
        partida.Jugar();
        benchmark::DoNotOptimize(partida.GetTiempo());
    }
}

}  // namespace

BENCHMARK(BM_JuegoCompletoCuatroQuietos)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JuegoCuatroGuiones)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JuegoCuatroGuionesGrabando)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JuegoCompletoConTexto)->Unit(benchmark::kMillisecond);
