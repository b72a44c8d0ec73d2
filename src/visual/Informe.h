#ifndef INFORME_H
#define INFORME_H

#include <string>
#include <vector>

// The report of a training run: informe.html in the run's folder, one
// self-contained page (styles, script and data inline, nothing fetched) with
// the run's summary and parameters, its charts, the best network's diagram
// and a replay of a recorded match.
//
// What it reads from the folder (each part is optional; a missing one leaves
// a note in the page, a malformed one an error there and in sError):
//   estadisticas.csv  one line per generation, with header
//                     generacion,evaluaciones,mejor_puntuacion,media_puntuacion,
//                     mejor_idoneidad_historica,especies,neuronas_media,enlaces_media,segundos
//   especies.csv      generacion,especie,miembros,edad,lider,hijos
//   mejor_red.txt     the best network in the network text form
//   resumen.json      a JSON object: its scalar members are the run's summary
//                     (shown in file order), an object member "parametros"
//                     the parameters (see CResumen below)
//   partida.json      a recorded match (see docs/informe.md)
//   episodio.csv      a pole-balancing episode, shown instead of a match
//                     (see EpisodioPolos.h)
//
// Besides informe.html it writes red.dot and red.svg for the best network,
// and, when the programs are installed, red_graphviz.svg (neato) and the
// charts through gnuplot (*_gnuplot.svg, graficas.gp).

extern const char* const kArchivoInforme;
extern const char* const kArchivoMejorRed;
extern const char* const kArchivoResumen;
extern const char* const kArchivoPartida;

struct SOpcionesInforme {
    bool bUsarGraphviz;
    bool bUsarGnuplot;
    SOpcionesInforme() : bUsarGraphviz(true), bUsarGnuplot(true) {}
};

struct SResultadoInforme {
    std::vector<std::string> vEscritos;  // every file written
    std::vector<std::string> vAvisos;    // optional programs that failed or are missing
};

// The one call a training program makes at the end of a run (or whenever a
// look at the run so far is wanted). False, with the reason, when the folder
// holds nothing to report on, a file is malformed, or the page could not be
// written; a malformed file still leaves a page with the rest.
bool GenerarInforme(const std::string& sCarpeta, std::string& sError);
bool GenerarInforme(const std::string& sCarpeta, const SOpcionesInforme& opciones, SResultadoInforme& resultado,
                    std::string& sError);

// Diagram files of one network: <sBase>.dot, <sBase>.svg and, with graphviz
// installed and bUsarGraphviz, <sBase>_graphviz.svg.
bool GenerarDiagramasRed(const std::string& sRutaRed, const std::string& sBase, bool bUsarGraphviz,
                         SResultadoInforme& resultado, std::string& sError);

#endif
