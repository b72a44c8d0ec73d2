// Speed of the simulated arena: whole games of 120 s at dt 0.05.

#include <benchmark/benchmark.h>

#include <string>

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

// A 40 m square crowded with shapes: 144 pillars and 48 short walls (over
// 300 primitives with their end discs), every one of them in reach of the
// radar's rays and of the moves somewhere.
std::string ArenaLlena()
{
    std::string s = "scale 1\nboundary -20 -20 20 20\n";
    const char* const vsLados[] = {"-20 20 20 20", "20 20 20 -20", "20 -20 -20 -20", "-20 -20 -20 20"};
    for (const char* szLado : vsLados)
        s += std::string("line 0.8 0.8 0.6 ") + szLado + "\n";
    for (int i = 0; i < 12; ++i) {
        for (int k = 0; k < 12; ++k) {
            const double dX = -16.5 + 3 * i, dY = -16.5 + 3 * k;
            if ((i + k) % 4 == 0)
                s += "polygon 0.8 0.8 0.3 2 " + std::to_string(dX - 0.6) + " " + std::to_string(dY + 1.2) + " " +
                     std::to_string(dX + 0.6) + " " + std::to_string(dY + 1.2) + "\n";
            s += "circle 0.8 0.8 " + std::to_string(dX) + " " + std::to_string(dY) + " 0.3\n";
        }
    }
    return s;
}

// One text robot that drives in circles sweeping its radar (its lines are
// composed and parsed every update), and three still ones: nobody dies, every game lasts 120 s, so the arenas cost the same
// number of updates and only the geometry differs.
void JugarConTexto(benchmark::State& estado, TTipoArena eArena, const std::string& sArena)
{
    for (auto _ : estado) {
        CPartida partida;
        SConfigPartida config;
        config.eArena = eArena;
        config.sArena = sArena;
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

void BM_CirculoAbierto(benchmark::State& estado) { JugarConTexto(estado, Arena_Circulo, ""); }
void BM_ArenaLlena(benchmark::State& estado) { JugarConTexto(estado, Arena_Archivo, ArenaLlena()); }

// Drawing a random arena, what every match on `--arena aleatoria` pays.
void BM_GenerarArenaAleatoria(benchmark::State& estado)
{
    uint64_t nSemilla = 1;
    for (auto _ : estado) {
        CPartida partida;
        SConfigPartida config;
        config.eArena = Arena_Aleatoria;
        config.nSemilla = nSemilla++;
        benchmark::DoNotOptimize(partida.Configurar(config));
    }
}

}  // namespace

BENCHMARK(BM_CirculoAbierto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArenaLlena)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerarArenaAleatoria)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JuegoCompletoCuatroQuietos)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JuegoCuatroGuiones)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JuegoCuatroGuionesGrabando)->Unit(benchmark::kMillisecond);
