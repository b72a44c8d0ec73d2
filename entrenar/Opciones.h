#ifndef OPCIONES_H
#define OPCIONES_H

#include <string>
#include <utility>
#include <vector>

#include "Evaluacion.h"
#include "Polos.h"

#ifndef ENTRENAR_RUTA_RED_INTEGRADA
#define ENTRENAR_RUTA_RED_INTEGRADA "src/bot/RedIntegrada.cpp"
#endif

#ifndef ENTRENAR_RUTA_ARENAS
#define ENTRENAR_RUTA_ARENAS "arenas"
#endif

// The defaults of SOpcionesRobot are the recipe of the shipped network: the
// project's training arenas (the folder arenas/, never its subfolder of
// held-out arenas) and random ones (a new random arena in one match of
// three), a duel against each scripted rival and a melee of five against
// four different ones, 60 s of game time per match.
std::string ArenasReceta();
const double kTiempoReceta = 60.0;

const char* const kRedInicialDisenyada = "disenyada";
const char* const kRedInicialNinguna = "ninguna";

struct SOpcionesRobot {
    SOpcionesRobot();  // the recipe's arenas and game time

    int nPoblacion = 100;
    int nGeneraciones = 100;
    unsigned nSemilla = 1;
    unsigned nHilos = 2;
    int nPartidas = 6;  // per member and generation
    std::string sSalida = "salida_robot";
    int nIntervaloControl = 5;  // generations between checkpoints; 0 = only at the end
    std::string sReanudar;      // checkpoint to resume from (see PuntoControl.h)
    // Where every first genome's weights come from: kRedInicialDisenyada,
    // kRedInicialNinguna (the engine's random weights) or a network text file.
    std::string sRedInicial = kRedInicialDisenyada;
    bool bInstalar = false;
    std::string sFuenteRed = ENTRENAR_RUTA_RED_INTEGRADA;
    bool bSilencio = false;
    bool bInforme = true;
    int nValidacion = 150;       // matches per rival when choosing the final network
    double dEsperaMPI = 600.0;   // longest wait for a batch handed to another MPI process
    int nEtapaRealRedes = 0;     // best networks that play the real arena at the end; 0 = no such stage
    int nEtapaRealPartidas = 0;  // their games on each arena against each rival
    std::string sRtb;            // the real arena's install prefix; "" = RTB_PREFIX, then the PATH
    std::vector<TGrupoRivales> vRivales = {
        {Rival_Buscador}, {Rival_Giratorio}, {Rival_Quieto},
        {Rival_Cazador},  {Rival_Orbitador}, {Rival_Buscador, Rival_Giratorio, Rival_Cazador, Rival_Orbitador}};
    SConfigEvaluacion evaluacion;
    std::string sErrorArenas;  // why the recipe's arenas could not be read; "" when they were
    bool bAyuda = false;       // the usage was asked for
};

struct SOpcionesXor {
    int nEjecuciones = 1;
    int nPoblacion = 150;
    int nGeneraciones = 300;  // at most, per run
    unsigned nSemilla = 1;
    std::string sSalida = "salida_xor";
    bool bSilencio = false;
    bool bAyuda = false;
};

struct SOpcionesPolos {
    TTareaPolos eTarea = Polos_Doble;
    int nEjecuciones = 1;
    int nPoblacion = 0;                // 0 = the task's own
    int nGeneraciones = 0;             // at most, per run; 0 = the task's own
    int nGeneracionesPorIntento = -1;  // before starting again; 0 = never; -1 = the task's own
    unsigned nSemilla = 1;
    unsigned nHilos = 2;
    std::string sSalida;  // empty = salida_polos_<task>
    bool bSilencio = false;
    bool bInforme = true;
    bool bAyuda = false;
};

struct SOpcionesJugar {
    std::string sRed;    // network text file; empty = the built-in network
    int nPartidas = 10;  // per rival
    unsigned nSemilla = 1;
    unsigned nHilos = 2;
    std::vector<TGrupoRivales> vRivales = {{Rival_Giratorio}, {Rival_Buscador}, {Rival_Quieto}};
    // Per mix and rival, as given: a Rival_Programa's name or path ("" for
    // the others). Empty when no rival is a program.
    std::vector<std::vector<std::string>> vProgramasRivales;
    std::string sRtb;           // the real arena's install prefix, where rivals named by name are found
    std::string sRedRival;      // network text file of a Rival_Red
    std::string sPrograma;      // a robot program that plays instead of the network
    TRival eGuion = Rival_Red;  // a scripted kind: that script plays instead of the network
    std::string sGrabar;        // partida.json of the first match
    bool bSilencio = false;
    SConfigEvaluacion evaluacion;
    bool bAyuda = false;
};

// Rivals of the real arena, by name or path: each mix plays its own games.
typedef std::vector<std::string> TMezclaReal;

struct SOpcionesTorneo {
    std::string sRtb;                   // the arena's install prefix; "" = RTB_PREFIX, then the PATH
    int nPartidas = 10;                 // per arena and rival mix
    std::vector<std::string> vsArenas;  // installed names or files; none = Circle.arena
    std::vector<TMezclaReal> vMezclas = {{"rotate_and_fire_signal", "seek_and_destroy", "xt-bot-a", "xt-bot-b"}};
    std::string sRed;      // network file played by the built robot
    std::string sRobot;    // any robot program instead of the built robot
    double dTiempo = 120;  // game seconds per game
    double dEscala = 5;    // game seconds per real second
    double dLimite = 0;    // wall seconds per arena and mix; 0 = from the games' length
    std::string sSalida = "salida_torneo";
    bool bSilencio = false;
    bool bAyuda = false;
};

// Each reads argv[nInicio..argc-1] through the command's table of options
// (Comun/TablaOpciones.h); false with a message on bad use. A request for
// the usage sets bAyuda and reads nothing else.
bool LeerOpcionesRobot(int argc, char** argv, int nInicio, SOpcionesRobot& opciones, std::string& sError);
bool LeerOpcionesXor(int argc, char** argv, int nInicio, SOpcionesXor& opciones, std::string& sError);
// The task (TAREA) is a word among the options.
bool LeerOpcionesPolos(int argc, char** argv, int nInicio, SOpcionesPolos& opciones, std::string& sError);
bool LeerOpcionesJugar(int argc, char** argv, int nInicio, SOpcionesJugar& opciones, std::string& sError);
bool LeerOpcionesTorneo(int argc, char** argv, int nInicio, SOpcionesTorneo& opciones, std::string& sError);

// The rivals of entrenar jugar: the scripted rivals and poblacion by name,
// anything else a robot program (a name of the real arena's sample robots,
// or a path), kept as given in vProgramas at its place. Champions exist
// only in a training run.
bool LeerRivalesJugar(const std::string& sLista, std::vector<TGrupoRivales>& vRivales,
                      std::vector<std::vector<std::string>>& vProgramas, std::string& sError);

// "a+b,c": commas separate mixes, '+' joins the robots of a melee.
bool LeerMezclasReales(const std::string& sLista, std::vector<TMezclaReal>& vMezclas, std::string& sError);
std::string TextoMezcla(const TMezclaReal& mezcla);

// The options that decide a robot run's results, as (option, value) pairs:
// a run resumes only with the same values. Every option that changes what
// a run computes belongs here; --generaciones, --hilos, the MPI process
// count, --punto-control and the output options may change on resume.
typedef std::vector<std::pair<std::string, std::string>> TOpcionesFijas;
TOpcionesFijas OpcionesQueFijanLaEjecucion(const SOpcionesRobot& opciones);

// "giratorio,buscador+giratorio+quieto" into rival mixes: the commas part
// the matches, a '+' joins rivals that fight together in one match.
bool LeerGrupoRivales(const std::string& sGrupo, TGrupoRivales& grupo, std::string& sError);
bool LeerListaRivales(const std::string& sLista, std::vector<TGrupoRivales>& vRivales, std::string& sError);
std::string TextoGrupoRivales(const TGrupoRivales& grupo);
std::string TextoRivales(const std::vector<TGrupoRivales>& vRivales);

// Usage of each command: options with default and range, and an example.
std::string AyudaRobot();
std::string AyudaXor();
std::string AyudaPolos();
std::string AyudaJugar();
std::string AyudaTorneo();

// Reads the value of --arena: circulo, cuadrado, aleatoria, an arena file
// or a folder (every .arena in it, in name order), or several of them
// separated by commas, among which each match draws its arena. Every file
// is read and checked now, so that a malformed one stops the program before
// it trains; on a refusal config is left as it was.
bool LeerArenas(const std::string& sArena, SConfigEvaluacion& config, std::string& sError);

#endif
