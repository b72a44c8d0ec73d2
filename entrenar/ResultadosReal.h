#ifndef RESULTADOSREAL_H
#define RESULTADOSREAL_H

#include <string>
#include <vector>

// Readers of what the real arena writes after a tournament of one sequence:
// its statistics file and its log. Robots are numbered in the order of the
// tournament file.

// One game of one robot.
struct SPartidaReal {
    int nPuesto = 0;
    double dPuntos = 0;
};

// One robot over the games that were read completely.
struct SRobotReal {
    std::string sNombre;
    std::vector<SPartidaReal> vPartidas;
    bool bSeMovio = false;  // log only: its position changed in some game
    int nDisparos = 0;      // log only: shots that appeared beside it
};

// Totals of one robot, and its rank among all of them by points.
struct SResumenReal {
    int nPartidas = 0;
    double dPuntos = 0;
    int nGanadas = 0;  // games placed first, shared firsts included
    double dPuestoMedio = 0;
    int nRango = 0;  // 1 = most points; ties share the better rank
};

// The statistics file: "<Name>: " per robot, then one line per game. True
// only when it holds nRobots robots with nPartidas whole games each.
bool LeerEstadisticasReal(const std::string& sTexto, size_t nRobots, int nPartidas, std::vector<SRobotReal>& vRobots,
                          std::string& sError);

// The log: names, each game's results ("DR" lines), movements and shots.
// Keeps only the games in which every robot got its result; nPartidas says
// how many those were. False when the text is not a log of nRobots robots.
bool LeerLogReal(const std::string& sTexto, size_t nRobots, std::vector<SRobotReal>& vRobots, int& nPartidas,
                 std::string& sError);

// Totals of robot nRobot, ranked against the others.
SResumenReal ResumirRobot(const std::vector<SRobotReal>& vRobots, size_t nRobot);

#endif
