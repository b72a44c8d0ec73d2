#ifndef GRAFICAS_H
#define GRAFICAS_H

#include <string>
#include <vector>

#include "CTablaCsv.h"

// The run's charts, from the statistics the training program writes:
// estadisticas.csv (one line per generation) and especies.csv (one line per
// species and generation).

extern const char* const kArchivoEstadisticas;
extern const char* const kArchivoEspecies;

// Columns a statistics file must have for its charts.
std::vector<std::string> ColumnasEstadisticas();
std::vector<std::string> ColumnasEspecies();

std::string GraficaPuntuaciones(const CTablaCsv& estadisticas);
std::string GraficaTamanyo(const CTablaCsv& estadisticas);
// Members of each species per generation, stacked, oldest species at the bottom.
std::string GraficaEspecies(const CTablaCsv& especies);

// The same three charts through gnuplot, written into sCarpeta as
// puntuaciones_gnuplot.svg, especies_gnuplot.svg and tamanyo_gnuplot.svg
// (the species chart only when pEspecies is given), with the script kept as
// graficas.gp. Lists the files written.
bool GraficasGnuplot(const CTablaCsv& estadisticas, const CTablaCsv* pEspecies, const std::string& sCarpeta,
                     std::vector<std::string>& vEscritos, std::string& sError);
// The gnuplot script alone; sPrefijoSalida is prepended to each output name.
std::string GuionGnuplot(const CTablaCsv& estadisticas, const CTablaCsv* pEspecies, const std::string& sPrefijoSalida,
                         const std::string& sSufijoSalida);

#endif
