#ifndef JUGAR_H
#define JUGAR_H

#include <string>
#include <vector>

#include "Opciones.h"

// One robot's tally over the matches of one rival mix.
struct SMarcadorRobot {
    std::string sNombre;
    int nPrimeros = 0;        // games it ended first in (shared firsts count for each)
    double dPuntos = 0;       // means per game from here on
    double dErrorPuntos = 0;  // standard error of dPuntos (0 with fewer than two games)
    double dPuesto = 0;
    double dDanyoCausado = 0;
};

// Tally of the matches against one rival mix: the network's outcome, and
// every robot's placings (the network first, then the rivals in order).
struct SMarcador {
    TGrupoRivales grupo;
    int nPartidas = 0;
    int nNoJugadas = 0;  // refused by the arena, or a program that did not start (said on stderr)
    int nGanadas = 0;    // more points than every rival
    int nEmpates = 0;
    int nPerdidas = 0;        // fewer points than some rival
    double dPuntos = 0;       // means per match from here on
    double dPuntosRival = 0;  // of the rivals together
    double dDanyoCausado = 0;
    double dDanyoRecibido = 0;  // dealt by the rivals, to anyone
    double dEnergia = 0;
    double dPuntuacion = 0;
    std::vector<SMarcadorRobot> vRobots;
};

// Plays nPartidas matches of sRed against each rival mix. Seeds depend on
// nSemilla, the mix's place in the list and the match only. A rival that is
// a network plays sRedRival, or sRed itself when that is empty.
// With sPrograma, that robot program plays instead of sRed. A Rival_Programa
// plays the program at its place in vProgramas (absolute paths, see
// ResolverProgramasRivales). With eGuion a scripted kind, that script plays
// instead of sRed (and the tables name it).
std::vector<SMarcador> JugarContraRivales(const std::string& sRed, const std::string& sRedRival,
                                          const std::vector<TGrupoRivales>& vRivales, int nPartidas, unsigned nSemilla,
                                          const SConfigEvaluacion& config, unsigned nHilos,
                                          const std::string& sPrograma = std::string(),
                                          const std::vector<std::vector<std::string>>& vProgramas = {},
                                          TRival eGuion = Rival_Red);

// Turns each rival program's name or path into the absolute path of an
// executable, looked up as entrenar torneo looks up its rivals: a path as
// the user named it, a name only in the installation's robot folder (found
// through sRtb, RTB_PREFIX or the PATH, and only when a name needs it).
bool ResolverProgramasRivales(const std::string& sRtb, std::vector<std::vector<std::string>>& vProgramas,
                              std::string& sError);

// The scoreboard of one arena of a list.
struct SMarcadorArena {
    std::string sArena;
    std::vector<SMarcador> vMarcadores;
};

// JugarContraRivales on each arena of config's list in turn (every arena
// gets the same seeds); a random arena of the list is a new one per match.
std::vector<SMarcadorArena> JugarPorArena(const std::string& sRed, const std::string& sRedRival,
                                          const std::vector<TGrupoRivales>& vRivales, int nPartidas, unsigned nSemilla,
                                          const SConfigEvaluacion& config, unsigned nHilos);

// One line per arena: the share of duels won against each rival, and for
// each melee the network's share of first places and mean points next to
// the highest share and the highest mean points among its rivals.
std::string TablaResumenArenas(const std::vector<SMarcadorArena>& vArenas);

// The duels' table (won, drawn and lost shares) and one table per melee
// (each robot's share of first places, mean points and mean place).
std::string TablaMarcador(const std::vector<SMarcador>& vMarcadores);

// The arenas that get a scoreboard each: every file of a folder on its own;
// a built-in shape, one file or the random arena as one.
std::vector<SConfigEvaluacion> ArenasPorSeparado(const SConfigEvaluacion& config);

bool ComandoJugar(const SOpcionesJugar& opciones, std::string& sError);

#endif
