// Entry point of the benchmarks. Besides the usual console output, the
// option --tabla=FILE writes a markdown table of the results (medians when
// the benchmarks run with repetitions) with the targets they are held to.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Comun/ArchivoEntero.h"

namespace {

struct SFila {
    std::string sNombre;
    std::string sEtiqueta;
    double dTiempo;  // in the benchmark's own unit
    std::string sUnidad;
    double dNsPorEnlace;  // 0 where the benchmark has no link count
    double dCV;           // coefficient of variation, 0 without repetitions
};

// Upper bounds, in the benchmark's unit or in ns per link.
struct SObjetivo {
    double dMaximo;
    bool bPorEnlace;
};

const std::map<std::string, SObjetivo>& Objetivos()
{
    static const std::map<std::string, SObjetivo> mObjetivos = {
        {"BM_RedPasoDinamico/1", {1.3, true}},
        {"BM_Epoca_2_1/1000/iterations:2/manual_time", {1.5, false}},
        {"BM_Epoca_10_5/1000/iterations:2/manual_time", {5.0, false}},
        {"BM_EpocaLarga_2_1/1000/iterations:1/manual_time", {20.0, false}},
    };
    return mObjetivos;
}

const char* NombreUnidad(benchmark::TimeUnit unidad)
{
    switch (unidad) {
        case benchmark::kNanosecond:
            return "ns";
        case benchmark::kMicrosecond:
            return "us";
        case benchmark::kMillisecond:
            return "ms";
        default:
            return "s";
    }
}

double ANanosegundos(double dValor, const std::string& sUnidad)
{
    if (sUnidad == "us")
        return dValor * 1e3;
    if (sUnidad == "ms")
        return dValor * 1e6;
    if (sUnidad == "s")
        return dValor * 1e9;
    return dValor;
}

class CInformeTabla : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& vRuns) override
    {
        ConsoleReporter::ReportRuns(vRuns);
        for (const Run& run : vRuns)
            Recoger(run);
    }

    bool Escribir(const std::string& sRuta) const;

private:
    void Recoger(const Run& run)
    {
        const bool bAgregado = run.run_type == Run::RT_Aggregate;
        if (bAgregado && run.aggregate_name == "cv") {
            const bool bManual = run.run_name.str().find("manual_time") != std::string::npos;
            // A percentage aggregate holds the bare fraction.
            m_mCV[run.run_name.str()] = bManual ? run.real_accumulated_time : run.cpu_accumulated_time;
            return;
        }
        if (bAgregado && run.aggregate_name != "median")
            return;
        SFila fila;
        fila.sNombre = run.run_name.str();
        fila.sEtiqueta = run.report_label;
        // CPU time: the machine is shared, and wall time counts the waits.
        // Manual-time benchmarks measure their own thread's CPU time.
        const bool bManual = fila.sNombre.find("manual_time") != std::string::npos;
        fila.dTiempo = bManual ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
        fila.sUnidad = NombreUnidad(run.time_unit);
        fila.dNsPorEnlace = 0.0;
        fila.dCV = 0.0;
        const auto it = run.counters.find("enlaces");
        if (it != run.counters.end() && it->second.value > 0)
            fila.dNsPorEnlace = ANanosegundos(fila.dTiempo, fila.sUnidad) / it->second.value;
        m_vFilas.push_back(fila);
    }

    std::string Cumplimiento(const SFila& fila) const;
    std::string RatioBusquedas(const std::string& sBase) const;

    std::vector<SFila> m_vFilas;
    std::map<std::string, double> m_mCV;
};

std::string CInformeTabla::Cumplimiento(const SFila& fila) const
{
    const auto it = Objetivos().find(fila.sNombre);
    if (it == Objetivos().end())
        return "";
    const double dValor = it->second.bPorEnlace ? fila.dNsPorEnlace : fila.dTiempo;
    std::ostringstream s;
    s << "<= " << it->second.dMaximo << (it->second.bPorEnlace ? " ns/link" : " " + fila.sUnidad) << ": ";
    if (dValor <= it->second.dMaximo)
        s << "met";
    else
        s << "missed by " << static_cast<int>((dValor / it->second.dMaximo - 1.0) * 100.0 + 0.5) << "%";
    return s.str();
}

// Cost at 100,000 records over cost at 1,000.
std::string CInformeTabla::RatioBusquedas(const std::string& sBase) const
{
    double dPequena = 0.0, dGrande = 0.0;
    for (const SFila& fila : m_vFilas) {
        if (fila.sNombre == sBase + "/1000")
            dPequena = ANanosegundos(fila.dTiempo, fila.sUnidad);
        if (fila.sNombre == sBase + "/100000")
            dGrande = ANanosegundos(fila.dTiempo, fila.sUnidad);
    }
    if (dPequena <= 0.0 || dGrande <= 0.0)
        return "";
    char sz[160];
    std::snprintf(sz, sizeof sz, "| %s, 100,000 / 1,000 records | %.2fx | <= 1.5x: %s |\n", sBase.c_str(),
                  dGrande / dPequena, dGrande / dPequena <= 1.5 ? "met" : "missed");
    return sz;
}

std::string ModeloCPU()
{
    std::ifstream in("/proc/cpuinfo");
    std::string sLinea;
    while (std::getline(in, sLinea)) {
        if (sLinea.compare(0, 10, "model name") == 0)
            return sLinea.substr(sLinea.find(':') + 2);
    }
    return "unknown";
}

bool CInformeTabla::Escribir(const std::string& sRuta) const
{
    std::ostringstream s;
    char szFecha[64];
    const std::time_t t = std::time(nullptr);
    std::strftime(szFecha, sizeof szFecha, "%Y-%m-%d %H:%M UTC", std::gmtime(&t));
    s << "# Benchmark table\n\n"
      << "Written by `cmake --build build-bench --target tabla_rendimiento` on " << szFecha << ".\n"
      << "CPU: " << ModeloCPU() << "; compiler: g++ " << __VERSION__ << ".\n"
      << "Times are medians over the repetitions of the CPU time of the benchmark's thread (epochs: the mean\n"
      << "epoch of the timed range). Other work shares the machine, so wall time is not reported.\n\n"
      << "| Benchmark | Case | Time | Unit | ns per link | CV | Target |\n"
      << "|---|---|---:|---|---:|---:|---|\n";
    for (const SFila& fila : m_vFilas) {
        char szFila[512];
        const auto itCV = m_mCV.find(fila.sNombre);
        const double dCV = itCV == m_mCV.end() ? 0.0 : itCV->second;
        char szEnlace[32] = "";
        if (fila.dNsPorEnlace > 0)
            std::snprintf(szEnlace, sizeof szEnlace, "%.3f", fila.dNsPorEnlace);
        std::snprintf(szFila, sizeof szFila, "| %s | %s | %.4g | %s | %s | %.1f%% | %s |\n", fila.sNombre.c_str(),
                      fila.sEtiqueta.c_str(), fila.dTiempo, fila.sUnidad.c_str(), szEnlace, 100.0 * dCV,
                      Cumplimiento(fila).c_str());
        s << szFila;
    }
    const std::string sRatios = RatioBusquedas("BM_ComprobarInnovacion") + RatioBusquedas("BM_CrearNeuronaDesdeID");
    if (!sRatios.empty())
        s << "\n| Look-up | Ratio | Target |\n|---|---:|---|\n" << sRatios;

    std::string sError;
    if (!EscribirArchivoEntero(sRuta, s.str(), sError)) {
        std::fprintf(stderr, "%s\n", sError.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string sTabla;
    std::vector<char*> vArgs;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--tabla=", 8) == 0)
            sTabla = argv[i] + 8;
        else
            vArgs.push_back(argv[i]);
    }
    int nArgs = static_cast<int>(vArgs.size());
    benchmark::Initialize(&nArgs, vArgs.data());
    if (benchmark::ReportUnrecognizedArguments(nArgs, vArgs.data()))
        return 1;
    CInformeTabla informe;
    benchmark::RunSpecifiedBenchmarks(&informe);
    benchmark::Shutdown();
    if (!sTabla.empty() && !informe.Escribir(sTabla)) {
        std::fprintf(stderr, "ERROR: No se pudo escribir la tabla (%s).\n", sTabla.c_str());
        return 1;
    }
    return 0;
}
