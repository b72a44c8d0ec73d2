#ifndef TORNEO_H
#define TORNEO_H

#include <string>
#include <vector>

#include "ArenaReal.h"
#include "Opciones.h"

class CProgreso;

// The robot under test on one arena against one rival mix.
struct SFilaTorneo {
    std::string sArena;
    std::string sMezcla;
    SResumenReal resumen;
    std::vector<SRobotReal> vRobots;  // every robot of those games, the robot under test first
};

// What a tournament plays: the robot, where, against whom. Arenas and
// rivals are resolved paths; their names are what the table shows.
struct STorneoReal {
    std::string sRobot;
    std::string sRed;  // absolute path of the network file, or ""
    std::vector<std::string> vsArenas, vsNombresArenas;
    std::vector<std::vector<std::string>> vMezclas;
    std::vector<std::string> vsNombresMezclas;
    int nPartidas = 1;
    SConfigReal config;
};

// Resolves the user's arenas and rivals against the installation.
bool PrepararTorneoReal(const SInstalacionReal& instalacion, const std::vector<std::string>& vsArenas,
                        const std::vector<TMezclaReal>& vMezclas, STorneoReal& torneo, std::string& sError);

// One run per arena and mix, arena by arena. Stops at the first run that
// breaks, with its reason.
bool JugarTorneoReal(const SInstalacionReal& instalacion, const STorneoReal& torneo, CProgreso& progreso,
                     std::vector<SFilaTorneo>& vFilas, std::string& sError);

// The rows together, one per mix over all arenas.
std::vector<SFilaTorneo> TotalesPorMezcla(const std::vector<SFilaTorneo>& vFilas);

// The rival with the most points per game in the row's games; false when
// the row holds no rival's games.
bool MejorRivalTorneo(const SFilaTorneo& fila, std::string& sNombre, double& dPuntosPorPartida);

std::string TablaTorneo(const std::vector<SFilaTorneo>& vFilas);
std::string CsvTorneo(const std::vector<SFilaTorneo>& vFilas);
// One line per game and robot: place and points (rows of one arena only).
std::string CsvPartidasTorneo(const std::vector<SFilaTorneo>& vFilas);

// The robot program built with entrenar, or "" when it is not there.
std::string RutaBotConstruido();

bool ComandoTorneo(const SOpcionesTorneo& opciones, std::string& sError);

#endif
