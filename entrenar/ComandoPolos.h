#ifndef COMANDOPOLOS_H
#define COMANDOPOLOS_H

#include <functional>
#include <string>
#include <vector>

#include "EstadisticaGeneracion.h"
#include "Opciones.h"
#include "Polos.h"

struct SResultadoPolos {
    unsigned nSemilla = 0;
    bool bResuelto = false;
    int nGeneraciones = 0;     // epochs run before the generation that solved it
    long nEvaluaciones = 0;    // networks evaluated up to the first that solved it
    int nOcultas = -1;         // hidden neurons of that network
    int nEnlaces = -1;         // and its links
    int nGeneralizacion = -1;  // of the 625 starting states it balances
    int nIntentos = 1;         // populations started, the first included
    double dSegundos = 0;
    std::string sRed;  // that network in the text form
    std::vector<SEstadisticaGeneracion> vGeneraciones;
    std::vector<SMuestraPolos> vEpisodio;  // that network from the usual start
};

struct SConfigPolos {
    TTareaPolos eTarea = Polos_Doble;
    int nPoblacion = 150;
    int nMaxGeneraciones = 100;
    // After this many generations without a solution the run starts again
    // from a fresh population; 0 = never.
    int nGeneracionesPorIntento = 0;
    unsigned nHilos = 2;
};

// The task's population and generation cap when none is asked for.
int PoblacionPolos(TTareaPolos eTarea);
int GeneracionesPolos(TTareaPolos eTarea);
// And its generations per attempt (0 = a single attempt).
int GeneracionesPorIntentoPolos(TTareaPolos eTarea);

// One run from a seed: evolves until a network solves the task or
// nMaxGeneraciones generations were evaluated, starting again from a fresh
// population every nGeneracionesPorIntento generations if asked to. The
// first attempt draws from the seed itself, so that a run that solves the
// task in it is the same as with no restarts; each later one draws from a
// seed derived from it. The evaluations of all attempts count. The
// networks of a generation are scored on nHilos threads; the result does
// not depend on their number.
// fAvance, when given, hears of every generation.
SResultadoPolos EjecutarPolos(const SConfigPolos& config, unsigned nSemilla,
                              const std::function<void(const SEstadisticaGeneracion&)>& fAvance = nullptr);

struct SResumenPolos {
    int nEjecuciones = 0;
    int nResueltas = 0;
    double dMediaGeneraciones = 0;  // over the solved runs
    double dMediaEvaluaciones = 0;
    double dMedianaEvaluaciones = 0;
    long nMaxEvaluaciones = 0;
    double dMediaGeneralizacion = 0;
    int nMinGeneralizacion = 0;
    double dMediaOcultas = 0;
    double dMediaEnlaces = 0;
};
SResumenPolos ResumirPolos(const std::vector<SResultadoPolos>& vResultados);

std::string TablaPolos(const std::vector<SResultadoPolos>& vResultados, const SResumenPolos& resumen);
std::string CsvPolos(const std::vector<SResultadoPolos>& vResultados);
std::string CsvResumenPolos(const SResumenPolos& resumen);
std::string CsvEstadisticasPolos(const std::vector<SEstadisticaGeneracion>& vGeneraciones);
std::string CsvEpisodioPolos(const std::vector<SMuestraPolos>& vEpisodio);

// The command: runs, table on standard output, CSV files and the report of
// the first solved run (or the first run) in the folder.
bool ComandoPolos(const SOpcionesPolos& opciones, std::string& sError);

#endif
