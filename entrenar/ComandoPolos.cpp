#include "ComandoPolos.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>

#include "Archivos.h"
#include "Comun/TextoLocal.h"
#include "DebugLib/Random/Random.h"
#include "Evaluacion.h"
#include "NEAT/CAlgoritmoGenetico.h"
#include "Poblacion.h"
#include "Progreso.h"
#include "TablaEjecuciones.h"
#include "visual/CResumen.h"
#include "visual/Informe.h"

namespace {

// Seconds of the winner's episode drawn in the report, one sample every
// kCadaMuestra steps.
const int kPasosEpisodioInforme = 3000;
const int kCadaMuestra = 2;

typedef std::chrono::steady_clock TReloj;

double SegundosDesde(const TReloj::time_point& inicio)
{
    return std::chrono::duration<double>(TReloj::now() - inicio).count();
}

// The generation's scores, computed on several threads; each network is
// touched by one thread only, and the phenotypes are built beforehand on
// this one, so the scores are the same on any number of threads.
void PuntuarGeneracion(CPoblacion& poblacion, const SConfigPolos& config, std::vector<double>& vPuntuaciones,
                       std::vector<char>& vResueltos)
{
    const size_t n = poblacion.GetTamanyo();
    std::vector<CRedNeuronal*> vRedes(n);
    for (size_t i = 0; i < n; ++i)
        vRedes[i] = const_cast<CRedNeuronal*>(poblacion.GetMiembro(i).GetGenomaEditable()->CrearFenotipo());
    vPuntuaciones.assign(n, 0.0);
    vResueltos.assign(n, 0);
    EjecutarEnHilos(n, config.nHilos, [&](size_t i) {
        bool bResuelto = false;
        vPuntuaciones[i] = PuntuarPolos(*vRedes[i], config.eTarea, bResuelto);
        vResueltos[i] = bResuelto ? 1 : 0;
    });
    for (size_t i = 0; i < n; ++i)
        poblacion.GetMiembro(i).SetPuntuacion(vPuntuaciones[i]);
}

// The member that solves the task, or -1. With velocities the first that
// balanced the long test; without, the generation's best if it passes the
// long balance and the generalization test.
int BuscarGanador(CPoblacion& poblacion, const SConfigPolos& config, const std::vector<double>& vPuntuaciones,
                  const std::vector<char>& vResueltos, int& nGeneralizacion)
{
    nGeneralizacion = -1;
    if (config.eTarea != Polos_DobleSinVelocidades) {
        const auto it = std::find(vResueltos.begin(), vResueltos.end(), 1);
        return it == vResueltos.end() ? -1 : static_cast<int>(it - vResueltos.begin());
    }
    const size_t nMejor =
        static_cast<size_t>(std::max_element(vPuntuaciones.begin(), vPuntuaciones.end()) - vPuntuaciones.begin());
    CRedNeuronal* pRed = const_cast<CRedNeuronal*>(poblacion.GetMiembro(nMejor).GetGenoma()->GetFenotipo());
    return ResuelvePolosSinVelocidades(*pRed, nGeneralizacion) ? static_cast<int>(nMejor) : -1;
}

SEstadisticaGeneracion DatosGeneracion(CPoblacion& poblacion, const CAlgoritmoGenetico& ag,
                                       const std::vector<double>& vPuntuaciones, int nGeneracion, long nEvaluaciones,
                                       double dMejorHistorica)
{
    SEstadisticaGeneracion g;
    g.nGeneracion = nGeneracion;
    g.nEvaluaciones = nEvaluaciones;
    g.dMejorHistorica = dMejorHistorica;
    g.nEspecies = static_cast<int>(ag.GetEspecies().size());
    const size_t n = poblacion.GetTamanyo();
    for (size_t i = 0; i < n; ++i) {
        const CGenoma* pGenoma = poblacion.GetMiembro(i).GetGenoma();
        g.dMejor = std::max(g.dMejor, vPuntuaciones[i]);
        g.dMedia += vPuntuaciones[i] / n;
        g.dNeuronasMedia += static_cast<double>(pGenoma->GetNumGenesNeurona()) / n;
        g.dEnlacesMedia += static_cast<double>(pGenoma->GetNumGenesEnlace()) / n;
    }
    return g;
}

void GuardarGanador(CRedNeuronal& red, TTareaPolos eTarea, int nGeneralizacion, SResultadoPolos& resultado)
{
    std::ostringstream texto;
    texto << red;
    resultado.sRed = texto.str();
    ContarRed(red, resultado.nOcultas, resultado.nEnlaces);
    resultado.nGeneralizacion = nGeneralizacion >= 0 ? nGeneralizacion : GeneralizacionPolos(red, eTarea);
    BalancearPolos(red, eTarea, EstadoInicialPolos(), kPasosEpisodioInforme, nullptr, &resultado.vEpisodio,
                   kCadaMuestra);
}

std::string SinDato(int n) { return n >= 0 ? std::to_string(n) : "-"; }

// A fresh population and engine for attempt nIntento (from 0). The engine
// seeds the random source again when initialized, so a later attempt needs
// a seed of its own: the run's, moved by a multiple of an odd constant far
// from the small seeds of neighbouring runs.
void EmpezarIntento(const SConfigPolos& config, unsigned nSemilla, int nIntento, CAlgoritmoGenetico& ag,
                    CPoblacion& poblacion)
{
    // The members' genomes go before the engine that grouped them.
    poblacion.Limpiar();
    SetSemillaRandom(nSemilla + static_cast<unsigned>(nIntento) * 0x9E3779B9u);
    ag.Inicializar(EntradasPolos(config.eTarea), 1);
    AplicarParametrosPolos(ag, config.eTarea);
    poblacion.Crear(static_cast<size_t>(config.nPoblacion));
    for (size_t i = 0; i < poblacion.GetTamanyo(); ++i)
        ag.CrearMente(&poblacion.GetMiembro(i));
}

}  // namespace

int PoblacionPolos(TTareaPolos eTarea) { return eTarea == Polos_DobleSinVelocidades ? 200 : 150; }

int GeneracionesPolos(TTareaPolos eTarea) { return eTarea == Polos_DobleSinVelocidades ? 600 : 300; }

// Without velocities a population that has not found a lasting balancer
// in about 100 generations seldom finds one later: its lines keep making
// networks that hold for thousands of steps only. A fresh population has
// better chances than more generations of it.
int GeneracionesPorIntentoPolos(TTareaPolos eTarea) { return eTarea == Polos_DobleSinVelocidades ? 100 : 0; }

SResultadoPolos EjecutarPolos(const SConfigPolos& config, unsigned nSemilla,
                              const std::function<void(const SEstadisticaGeneracion&)>& fAvance)
{
    const auto inicio = TReloj::now();
    SResultadoPolos resultado;
    resultado.nSemilla = nSemilla;
    CAlgoritmoGenetico ag;
    CPoblacion poblacion;
    EmpezarIntento(config, nSemilla, 0, ag, poblacion);

    std::vector<double> vPuntuaciones;
    std::vector<char> vResueltos;
    double dMejorHistorica = 0.0;
    for (int nGeneracion = 0; nGeneracion < config.nMaxGeneraciones; ++nGeneracion) {
        PuntuarGeneracion(poblacion, config, vPuntuaciones, vResueltos);
        int nGeneralizacion = -1;
        const int nGanador = BuscarGanador(poblacion, config, vPuntuaciones, vResueltos, nGeneralizacion);
        const long nAntes = static_cast<long>(nGeneracion) * config.nPoblacion;
        resultado.nGeneraciones = nGeneracion;
        resultado.nEvaluaciones = nAntes + config.nPoblacion;
        if (nGanador >= 0 && config.eTarea != Polos_DobleSinVelocidades)
            resultado.nEvaluaciones = nAntes + nGanador + 1;
        dMejorHistorica = std::max(dMejorHistorica, *std::max_element(vPuntuaciones.begin(), vPuntuaciones.end()));
        SEstadisticaGeneracion generacion =
            DatosGeneracion(poblacion, ag, vPuntuaciones, nGeneracion, nAntes + config.nPoblacion, dMejorHistorica);
        generacion.dSegundos = SegundosDesde(inicio);
        resultado.vGeneraciones.push_back(generacion);
        if (fAvance)
            fAvance(generacion);
        if (nGanador >= 0) {
            resultado.bResuelto = true;
            CRedNeuronal* pRed = const_cast<CRedNeuronal*>(
                poblacion.GetMiembro(static_cast<size_t>(nGanador)).GetGenoma()->GetFenotipo());
            GuardarGanador(*pRed, config.eTarea, nGeneralizacion, resultado);
            break;
        }
        resultado.nGeneraciones = nGeneracion + 1;
        if (config.nGeneracionesPorIntento > 0 && (nGeneracion + 1) % config.nGeneracionesPorIntento == 0 &&
            nGeneracion + 1 < config.nMaxGeneraciones)
            EmpezarIntento(config, nSemilla, resultado.nIntentos++, ag, poblacion);
        else
            ag.Epoca(poblacion.GetPoblacionIA());
    }
    // The members' genomes go before the engine that grouped them.
    poblacion.Limpiar();
    resultado.dSegundos = SegundosDesde(inicio);
    return resultado;
}

SResumenPolos ResumirPolos(const std::vector<SResultadoPolos>& vResultados)
{
    SResumenPolos resumen;
    resumen.nEjecuciones = static_cast<int>(vResultados.size());
    std::vector<double> vEvaluaciones;
    for (const SResultadoPolos& r : vResultados) {
        if (!r.bResuelto)
            continue;
        resumen.nMinGeneralizacion =
            resumen.nResueltas == 0 ? r.nGeneralizacion : std::min(resumen.nMinGeneralizacion, r.nGeneralizacion);
        ++resumen.nResueltas;
        resumen.dMediaGeneraciones += r.nGeneraciones;
        resumen.dMediaEvaluaciones += static_cast<double>(r.nEvaluaciones);
        resumen.nMaxEvaluaciones = std::max(resumen.nMaxEvaluaciones, r.nEvaluaciones);
        resumen.dMediaGeneralizacion += r.nGeneralizacion;
        resumen.dMediaOcultas += r.nOcultas;
        resumen.dMediaEnlaces += r.nEnlaces;
        vEvaluaciones.push_back(static_cast<double>(r.nEvaluaciones));
    }
    if (resumen.nResueltas == 0)
        return resumen;
    const double n = resumen.nResueltas;
    resumen.dMediaGeneraciones /= n;
    resumen.dMediaEvaluaciones /= n;
    resumen.dMediaGeneralizacion /= n;
    resumen.dMediaOcultas /= n;
    resumen.dMediaEnlaces /= n;
    resumen.dMedianaEvaluaciones = Mediana(vEvaluaciones);
    return resumen;
}

std::string TablaPolos(const std::vector<SResultadoPolos>& vResultados, const SResumenPolos& resumen)
{
    std::string sTabla =
        "Ejecuci"
        "\xF3"
        "n   Semilla  Resuelto  Generaciones  Intentos  Evaluaciones  Ocultas  Enlaces  Generalizaci"
        "\xF3"
        "n  Segundos\n";
    for (size_t i = 0; i < vResultados.size(); ++i) {
        const SResultadoPolos& r = vResultados[i];
        char szFila[200];
        std::snprintf(szFila, sizeof(szFila), "%9zu  %8u  %8s  %12d  %8d  %12ld  %7s  %7s  %13s  %8.2f\n", i + 1,
                      r.nSemilla, Si(r.bResuelto).c_str(), r.nGeneraciones, r.nIntentos, r.nEvaluaciones,
                      SinDato(r.nOcultas).c_str(), SinDato(r.nEnlaces).c_str(), SinDato(r.nGeneralizacion).c_str(),
                      r.dSegundos);
        sTabla += szFila;
    }
    sTabla += LineaResueltas(resumen.nResueltas, resumen.nEjecuciones);
    if (resumen.nResueltas == 0)
        return sTabla;
    sTabla += "Generaciones hasta resolverlo (media): " + Numero("%.1f", resumen.dMediaGeneraciones) + "\n";
    sTabla += "Evaluaciones hasta resolverlo (media / mediana / m" + std::string("\xE1") +
              "xima): " + Numero("%.0f", resumen.dMediaEvaluaciones) + " / " +
              Numero("%.0f", resumen.dMedianaEvaluaciones) + " / " + std::to_string(resumen.nMaxEvaluaciones) + "\n";
    sTabla += "Generalizaci" + std::string("\xF3") + "n de las redes ganadoras (media / m" + std::string("\xED") +
              "nima, de 625): " + Numero("%.1f", resumen.dMediaGeneralizacion) + " / " +
              std::to_string(resumen.nMinGeneralizacion) + "\n";
    sTabla += "Tama" + std::string("\xF1") +
              "o de las redes ganadoras (media): " + Numero("%.2f", resumen.dMediaOcultas) + " neuronas ocultas, " +
              Numero("%.1f", resumen.dMediaEnlaces) + " enlaces\n";
    return sTabla;
}

std::string CsvPolos(const std::vector<SResultadoPolos>& vResultados)
{
    std::string sCsv =
        "ejecucion,semilla,resuelto,generaciones,intentos,evaluaciones,neuronas_ocultas,enlaces,generalizacion,"
        "segundos\n";
    for (size_t i = 0; i < vResultados.size(); ++i) {
        const SResultadoPolos& r = vResultados[i];
        char szFila[200];
        std::snprintf(szFila, sizeof(szFila), "%zu,%u,%d,%d,%d,%ld,%d,%d,%d,%.3f\n", i + 1, r.nSemilla,
                      r.bResuelto ? 1 : 0, r.nGeneraciones, r.nIntentos, r.nEvaluaciones, r.nOcultas, r.nEnlaces,
                      r.nGeneralizacion, r.dSegundos);
        sCsv += szFila;
    }
    return sCsv;
}

std::string CsvResumenPolos(const SResumenPolos& r)
{
    char szFila[300];
    std::snprintf(szFila, sizeof(szFila), "%d,%d,%.4f,%.2f,%.1f,%.1f,%ld,%.1f,%d,%.3f,%.2f\n", r.nEjecuciones,
                  r.nResueltas, r.nEjecuciones ? static_cast<double>(r.nResueltas) / r.nEjecuciones : 0.0,
                  r.dMediaGeneraciones, r.dMediaEvaluaciones, r.dMedianaEvaluaciones, r.nMaxEvaluaciones,
                  r.dMediaGeneralizacion, r.nMinGeneralizacion, r.dMediaOcultas, r.dMediaEnlaces);
    return std::string(
               "ejecuciones,resueltas,tasa_exito,media_generaciones,media_evaluaciones,mediana_evaluaciones,"
               "maximo_evaluaciones,media_generalizacion,minimo_generalizacion,media_neuronas_ocultas,"
               "media_enlaces\n") +
           szFila;
}

std::string CsvEstadisticasPolos(const std::vector<SEstadisticaGeneracion>& vGeneraciones)
{
    std::string sCsv =
        "generacion,evaluaciones,mejor_puntuacion,media_puntuacion,mejor_idoneidad_historica,especies,"
        "neuronas_media,enlaces_media,segundos\n";
    for (const SEstadisticaGeneracion& g : vGeneraciones) {
        char szFila[256];
        std::snprintf(szFila, sizeof(szFila), "%d,%ld,%.4f,%.4f,%.4f,%d,%.3f,%.3f,%.2f\n", g.nGeneracion,
                      g.nEvaluaciones, g.dMejor, g.dMedia, g.dMejorHistorica, g.nEspecies, g.dNeuronasMedia,
                      g.dEnlacesMedia, g.dSegundos);
        sCsv += szFila;
    }
    return sCsv;
}

std::string CsvEpisodioPolos(const std::vector<SMuestraPolos>& vEpisodio)
{
    std::string sCsv = "tiempo,x,angulo1,angulo2,fuerza\n";
    for (const SMuestraPolos& m : vEpisodio) {
        char szFila[160];
        std::snprintf(szFila, sizeof(szFila), "%.2f,%.6f,%.6f,%.6f,%.4f\n", m.dTiempo, m.dX, m.dAngulo1, m.dAngulo2,
                      m.dFuerza);
        sCsv += szFila;
    }
    return sCsv;
}

namespace {

std::string NombreArchivo(const SOpcionesPolos& o, const char* szSufijo)
{
    return std::string("polos_") + NombreTareaPolos(o.eTarea) + szSufijo;
}

// The run the report shows: the first solved one, or else the first.
const SResultadoPolos& EjecucionDelInforme(const std::vector<SResultadoPolos>& vResultados)
{
    for (const SResultadoPolos& r : vResultados) {
        if (r.bResuelto)
            return r;
    }
    return vResultados.front();
}

bool EscribirInforme(const SOpcionesPolos& o, const SConfigPolos& config, const SResultadoPolos& r, std::string& sError)
{
    CResumen resumen;
    resumen.Anyadir("programa", std::string("entrenar polos ") + NombreTareaPolos(o.eTarea));
    resumen.Anyadir("semilla", r.nSemilla);
    resumen.Anyadir("resuelto", Si(r.bResuelto));
    resumen.Anyadir("generaciones", r.nGeneraciones);
    resumen.Anyadir("intentos", r.nIntentos);
    resumen.Anyadir("evaluaciones", static_cast<double>(r.nEvaluaciones));
    if (r.bResuelto)
        resumen.Anyadir("generalizacion_de_625", r.nGeneralizacion);
    resumen.Anyadir("segundos", r.dSegundos);
    resumen.AnyadirParametro("poblacion", config.nPoblacion);
    resumen.AnyadirParametro("generaciones_maximas", config.nMaxGeneraciones);
    resumen.AnyadirParametro("generaciones_por_intento", config.nGeneracionesPorIntento);
    resumen.AnyadirParametro("hilos", config.nHilos);
    if (!resumen.Guardar(o.sSalida, sError) ||
        !EscribirArchivoEntero(RutaEn(o.sSalida, "estadisticas.csv"), CsvEstadisticasPolos(r.vGeneraciones), sError))
        return false;
    if (!r.bResuelto) {
        // No winner: what an earlier command left must not pass for one.
        std::remove(RutaEn(o.sSalida, "mejor_red.txt").c_str());
        std::remove(RutaEn(o.sSalida, "episodio.csv").c_str());
    } else if (!EscribirArchivoEntero(RutaEn(o.sSalida, "mejor_red.txt"), r.sRed, sError) ||
               !EscribirArchivoEntero(RutaEn(o.sSalida, "episodio.csv"), CsvEpisodioPolos(r.vEpisodio), sError))
        return false;
    return !o.bInforme || GenerarInforme(o.sSalida, sError);
}

}  // namespace

bool ComandoPolos(const SOpcionesPolos& opciones, std::string& sError)
{
    SOpcionesPolos o = opciones;
    if (o.sSalida.empty())
        o.sSalida = std::string("salida_polos_") + NombreTareaPolos(o.eTarea);
    SConfigPolos config;
    config.eTarea = o.eTarea;
    config.nPoblacion = o.nPoblacion > 0 ? o.nPoblacion : PoblacionPolos(o.eTarea);
    config.nMaxGeneraciones = o.nGeneraciones > 0 ? o.nGeneraciones : GeneracionesPolos(o.eTarea);
    config.nGeneracionesPorIntento =
        o.nGeneracionesPorIntento >= 0 ? o.nGeneracionesPorIntento : GeneracionesPorIntentoPolos(o.eTarea);
    config.nHilos = o.nHilos;
    if (!CrearCarpeta(o.sSalida, sError))
        return false;
    std::vector<SResultadoPolos> vResultados;
    {
        CProgreso progreso(o.bSilencio);
        for (int i = 0; i < o.nEjecuciones; ++i) {
            const std::string sPrefijo = std::string("Polos ") + NombreTareaPolos(o.eTarea) +
                                         ": ejecuci"
                                         "\xF3"
                                         "n " +
                                         std::to_string(i + 1) + "/" + std::to_string(o.nEjecuciones);
            auto fAvance = [&](const SEstadisticaGeneracion& g) {
                progreso.Mostrar(sPrefijo + ", generaci" + std::string("\xF3") + "n " + std::to_string(g.nGeneracion) +
                                 ", mejor " + Numero("%.4g", g.dMejor) + ", " + FormatearDuracion(g.dSegundos));
            };
            vResultados.push_back(EjecutarPolos(config, o.nSemilla + static_cast<unsigned>(i), fAvance));
            // Only the reported run keeps its per-generation data.
            if (vResultados.size() > 1 && &EjecucionDelInforme(vResultados) != &vResultados.back()) {
                vResultados.back().vGeneraciones.clear();
                vResultados.back().vEpisodio.clear();
            }
        }
    }
    const SResumenPolos resumen = ResumirPolos(vResultados);
    EscribirTexto(stdout, TablaPolos(vResultados, resumen));
    if (!EscribirArchivoEntero(RutaEn(o.sSalida, NombreArchivo(o, ".csv")), CsvPolos(vResultados), sError) ||
        !EscribirArchivoEntero(RutaEn(o.sSalida, NombreArchivo(o, "_resumen.csv")), CsvResumenPolos(resumen), sError))
        return false;
    return EscribirInforme(o, config, EjecucionDelInforme(vResultados), sError);
}
