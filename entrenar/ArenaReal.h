#ifndef ARENAREAL_H
#define ARENAREAL_H

#include <functional>
#include <string>
#include <vector>

#include "ResultadosReal.h"

// The user's installation of the real arena: its program and the folders of
// its sample robots and arena files.
struct SInstalacionReal {
    std::string sPrefijo;
    std::string sPrograma;
    std::string sRobots;
    std::string sArenas;
};

// Finds the installation under sPrefijo, or when it is empty under
// RTB_PREFIX, then beside a "realtimebattle" on the PATH. The error says
// where it looked.
bool BuscarInstalacionReal(const std::string& sPrefijo, SInstalacionReal& instalacion, std::string& sError);

// A robot program: a name is a sample robot of the installation (".robot"
// may be left out), anything with a '/' the user's own program. The
// absolute path of an executable regular file, or false with the reason.
bool RutaRobotReal(const SInstalacionReal& instalacion, const std::string& sRobot, std::string& sRuta,
                   std::string& sError);

// An arena file: a name is one of the installation's (".arena" may be left
// out), anything with a '/' the user's own file.
bool RutaArenaReal(const SInstalacionReal& instalacion, const std::string& sArena, std::string& sRuta,
                   std::string& sError);

// How the games are played.
struct SConfigReal {
    double dTiempo = 120;  // game seconds before a game is stopped
    double dEscala = 5;    // game seconds per real second
    double dLimite = 0;    // wall seconds for one run; 0 = from the games' length
};

// One run of the arena: nPartidas games on one arena by all of vsRobots
// together (absolute paths; the first is the robot under test, which gets
// sRed, when given, as its network file).
struct SPartidoReal {
    std::vector<std::string> vsRobots;
    std::string sArena;
    int nPartidas = 1;
    std::string sRed;
};

// Called while the arena plays, with the number of the game under way.
typedef std::function<void(int nPartida)> TAvisoPartida;

// Wall seconds allowed to a run of nPartidas games.
double LimiteReal(int nPartidas, const SConfigReal& config);

// Plays the run in a fresh temporary folder, removed afterwards, with the
// arena and its robots in their own process group under a wall-clock limit.
// The robots in their tournament order with every game (and how they moved
// and fired, from the log), or false with what went wrong (from the arena's
// output and log) when the run broke.
bool JugarPartidoReal(const SInstalacionReal& instalacion, const SPartidoReal& partido, const SConfigReal& config,
                      const TAvisoPartida& fAviso, std::vector<SRobotReal>& vRobots, std::string& sError);

#endif
