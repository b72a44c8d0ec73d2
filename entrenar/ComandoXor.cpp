#include "ComandoXor.h"

#include <chrono>
#include <cstdio>
#include <sstream>

#include "Archivos.h"
#include "Comun/TextoLocal.h"
#include "DebugLib/Random/Random.h"
#include "NEAT/CAlgoritmoGenetico.h"
#include "Poblacion.h"
#include "Progreso.h"
#include "TablaEjecuciones.h"
#include "Xor.h"

namespace {

// Scores every member; the index of the first that solves XOR, or -1.
int EvaluarGeneracionXor(CPoblacion& poblacion)
{
    int nPrimero = -1;
    for (size_t i = 0; i < poblacion.GetTamanyo(); ++i) {
        CIndividuo& miembro = poblacion.GetMiembro(i);
        CRedNeuronal* pRed = const_cast<CRedNeuronal*>(miembro.GetGenomaEditable()->CrearFenotipo());
        bool bResuelto = false;
        miembro.SetPuntuacion(PuntuarXor(*pRed, bResuelto));
        if (bResuelto && nPrimero < 0)
            nPrimero = static_cast<int>(i);
    }
    return nPrimero;
}

}  // namespace

SResultadoXor EjecutarXor(int nPoblacion, int nMaxGeneraciones, unsigned nSemilla)
{
    const auto inicio = std::chrono::steady_clock::now();
    SResultadoXor resultado;
    resultado.nSemilla = nSemilla;
    SetSemillaRandom(nSemilla);
    CAlgoritmoGenetico ag;
    ag.Inicializar(kEntradasXor, kSalidasXor);
    AplicarParametrosXor(ag);
    CPoblacion poblacion;
    poblacion.Crear(static_cast<size_t>(nPoblacion));
    for (size_t i = 0; i < poblacion.GetTamanyo(); ++i)
        ag.CrearMente(&poblacion.GetMiembro(i));

    for (int nGeneracion = 0; nGeneracion < nMaxGeneraciones; ++nGeneracion) {
        const int nPrimero = EvaluarGeneracionXor(poblacion);
        if (nPrimero >= 0) {
            const CRedNeuronal* pRed = poblacion.GetMiembro(static_cast<size_t>(nPrimero)).GetGenoma()->GetFenotipo();
            std::ostringstream texto;
            texto << *pRed;
            resultado.bResuelto = true;
            resultado.nGeneraciones = nGeneracion;
            resultado.nEvaluaciones = static_cast<long>(nGeneracion) * nPoblacion + nPrimero + 1;
            int nEnlaces = 0;
            ContarRed(*pRed, resultado.nOcultas, nEnlaces);
            resultado.sRed = texto.str();
            break;
        }
        resultado.nGeneraciones = nGeneracion + 1;
        resultado.nEvaluaciones = static_cast<long>(nGeneracion + 1) * nPoblacion;
        ag.Epoca(poblacion.GetPoblacionIA());
    }
    // The members' genomes go before the engine that grouped them.
    poblacion.Limpiar();
    resultado.dSegundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    return resultado;
}

SResumenXor ResumirXor(const std::vector<SResultadoXor>& vResultados)
{
    SResumenXor resumen;
    resumen.nEjecuciones = static_cast<int>(vResultados.size());
    std::vector<double> vEvaluaciones;
    for (const SResultadoXor& r : vResultados) {
        if (!r.bResuelto)
            continue;
        ++resumen.nResueltas;
        resumen.dMediaGeneraciones += r.nGeneraciones;
        resumen.dMediaEvaluaciones += static_cast<double>(r.nEvaluaciones);
        resumen.dMediaOcultas += r.nOcultas;
        vEvaluaciones.push_back(static_cast<double>(r.nEvaluaciones));
    }
    if (resumen.nResueltas == 0)
        return resumen;
    resumen.dMediaGeneraciones /= resumen.nResueltas;
    resumen.dMediaEvaluaciones /= resumen.nResueltas;
    resumen.dMediaOcultas /= resumen.nResueltas;
    resumen.dMedianaEvaluaciones = Mediana(vEvaluaciones);
    return resumen;
}

std::string TablaXor(const std::vector<SResultadoXor>& vResultados, const SResumenXor& resumen)
{
    std::string sTabla =
        "Ejecuci"
        "\xF3"
        "n   Semilla  Resuelto  Generaciones  Evaluaciones  Ocultas  Segundos\n";
    for (size_t i = 0; i < vResultados.size(); ++i) {
        const SResultadoXor& r = vResultados[i];
        char szFila[160];
        std::snprintf(szFila, sizeof(szFila), "%9zu  %8u  %8s  %12d  %12ld  %7s  %8.2f\n", i + 1, r.nSemilla,
                      Si(r.bResuelto).c_str(), r.nGeneraciones, r.nEvaluaciones,
                      r.bResuelto ? std::to_string(r.nOcultas).c_str() : "-", r.dSegundos);
        sTabla += szFila;
    }
    sTabla += LineaResueltas(resumen.nResueltas, resumen.nEjecuciones);
    if (resumen.nResueltas > 0) {
        sTabla += "Generaciones hasta resolverlo (media): " + Numero("%.1f", resumen.dMediaGeneraciones) + "\n";
        sTabla += "Evaluaciones hasta resolverlo (media / mediana): " + Numero("%.0f", resumen.dMediaEvaluaciones) +
                  " / " + Numero("%.0f", resumen.dMedianaEvaluaciones) + "\n";
        sTabla += "Neuronas ocultas de la red ganadora (media): " + Numero("%.2f", resumen.dMediaOcultas) + "\n";
    }
    return sTabla;
}

std::string CsvXor(const std::vector<SResultadoXor>& vResultados)
{
    std::string sCsv = "ejecucion,semilla,resuelto,generaciones,evaluaciones,neuronas_ocultas,segundos\n";
    for (size_t i = 0; i < vResultados.size(); ++i) {
        const SResultadoXor& r = vResultados[i];
        char szFila[160];
        std::snprintf(szFila, sizeof(szFila), "%zu,%u,%d,%d,%ld,%d,%.3f\n", i + 1, r.nSemilla, r.bResuelto ? 1 : 0,
                      r.nGeneraciones, r.nEvaluaciones, r.nOcultas, r.dSegundos);
        sCsv += szFila;
    }
    return sCsv;
}

std::string CsvResumenXor(const SResumenXor& r)
{
    char szFila[200];
    std::snprintf(szFila, sizeof(szFila), "%d,%d,%.4f,%.2f,%.1f,%.1f,%.3f\n", r.nEjecuciones, r.nResueltas,
                  r.nEjecuciones ? static_cast<double>(r.nResueltas) / r.nEjecuciones : 0.0, r.dMediaGeneraciones,
                  r.dMediaEvaluaciones, r.dMedianaEvaluaciones, r.dMediaOcultas);
    return std::string(
               "ejecuciones,resueltas,tasa_exito,media_generaciones,media_evaluaciones,"
               "mediana_evaluaciones,media_neuronas_ocultas\n") +
           szFila;
}

bool ComandoXor(const SOpcionesXor& o, std::string& sError)
{
    if (!CrearCarpeta(o.sSalida, sError))
        return false;
    std::vector<SResultadoXor> vResultados;
    {
        CProgreso progreso(o.bSilencio);
        for (int i = 0; i < o.nEjecuciones; ++i) {
            progreso.Mostrar(
                "XOR: ejecuci"
                "\xF3"
                "n " +
                std::to_string(i + 1) + "/" + std::to_string(o.nEjecuciones));
            vResultados.push_back(EjecutarXor(o.nPoblacion, o.nGeneraciones, o.nSemilla + static_cast<unsigned>(i)));
        }
    }
    const SResumenXor resumen = ResumirXor(vResultados);
    EscribirTexto(stdout, TablaXor(vResultados, resumen));
    if (!EscribirArchivoEntero(RutaEn(o.sSalida, "xor.csv"), CsvXor(vResultados), sError) ||
        !EscribirArchivoEntero(RutaEn(o.sSalida, "xor_resumen.csv"), CsvResumenXor(resumen), sError))
        return false;
    for (const SResultadoXor& r : vResultados) {
        if (r.bResuelto)
            return EscribirArchivoEntero(RutaEn(o.sSalida, "red_xor.txt"), r.sRed, sError);
    }
    return true;
}
