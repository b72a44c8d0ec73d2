#ifndef COMANDOXOR_H
#define COMANDOXOR_H

#include <string>
#include <vector>

#include "Opciones.h"

struct SResultadoXor {
    unsigned nSemilla = 0;
    bool bResuelto = false;
    int nGeneraciones = 0;   // epochs run before the generation that solved it
    long nEvaluaciones = 0;  // networks evaluated up to the first that solved it
    int nOcultas = -1;       // hidden neurons of that network
    double dSegundos = 0;
    std::string sRed;  // that network in the text form
};

// One run from a seed: evolves until a network solves XOR or nMaxGeneraciones
// generations were evaluated.
SResultadoXor EjecutarXor(int nPoblacion, int nMaxGeneraciones, unsigned nSemilla);

// Summary of several runs.
struct SResumenXor {
    int nEjecuciones = 0;
    int nResueltas = 0;
    double dMediaGeneraciones = 0;  // over the solved runs
    double dMediaEvaluaciones = 0;
    double dMedianaEvaluaciones = 0;
    double dMediaOcultas = 0;
};
SResumenXor ResumirXor(const std::vector<SResultadoXor>& vResultados);

std::string TablaXor(const std::vector<SResultadoXor>& vResultados, const SResumenXor& resumen);
std::string CsvXor(const std::vector<SResultadoXor>& vResultados);
std::string CsvResumenXor(const SResumenXor& resumen);

// The command: runs, table on standard output, CSV files in the folder.
bool ComandoXor(const SOpcionesXor& opciones, std::string& sError);

#endif
