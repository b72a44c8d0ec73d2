#ifndef EVALUACION_H
#define EVALUACION_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CPartida.h"

class CGrabacion;

// Who a robot under training meets in one match.
enum TRival {
    Rival_Giratorio = 0,  // spins, sweeps and fires at what it sees
    Rival_Buscador = 1,   // turns to what it sees, fires and rams
    Rival_Quieto = 2,     // a still target
    Rival_Red = 3,        // another network (another member of the population)
    Rival_Campeon = 4,    // the leader of an earlier generation of the run
    Rival_Cazador = 5,    // drives on, sweeps a narrow cone, turns to what it sees, fires full shots
    Rival_Orbitador = 6,  // circles its target at a distance while it fires
    Rival_Programa = 7    // a robot program, run as the real arena runs it (its path goes with the match)
};
const int kNumTiposRival = 8;

// Rivals that fight together in one match: one makes a duel, more a melee.
typedef std::vector<TRival> TGrupoRivales;

// The most rivals one match holds: the robot under training fills the rest.
const size_t kMaxRivalesGrupo = kMaxRobotsPartida - 1;

// One robot of a match besides the network under evaluation; a rival that
// is a network carries its text.
struct SRivalEncuentro {
    TRival eRival = Rival_Quieto;
    std::string sRed;
    std::string sPrograma;  // when not empty: a robot program plays this rival
};

// One match: its seed and its rivals.
struct SEncuentro {
    uint64_t nSemilla = 1;
    std::vector<SRivalEncuentro> vRivales;
};

// One job: a network and the matches it plays.
struct STrabajo {
    std::string sRed;
    std::string sPrograma;      // when not empty: a robot program plays instead of sRed
    TRival eGuion = Rival_Red;  // a scripted kind: that script plays instead of sRed
    std::vector<SEncuentro> vEncuentros;
};

// Names the random arena, in --arena and in a list of arenas.
const char* const kArenaAleatoria = "aleatoria";

// Rules of every match of an evaluation.
struct SConfigEvaluacion {
    TTipoArena eArena = Arena_Circulo;
    std::string sArena = "circulo";            // as given to --arena
    std::vector<std::string> vsArenas;         // Arena_Archivo: the files' texts ("" = a random arena)
    std::vector<std::string> vsNombresArenas;  // and their names
    double dTiempoMaximo = 120.0;              // seconds of game time, as in the real arena
    double dPaso = 0.05;
    unsigned nMsRespuesta = 50;  // a robot program's time to answer each update
};

// Outcome of one match for the network under evaluation.
struct SResultadoEncuentro {
    double dPuntuacion = 0;
    SResultadoRobot propio;
    std::vector<SResultadoRobot> vRivales;  // in the order of the match's rivals
    bool bGana = false;                     // ended with more points than every rival
    bool bPierde = false;                   // ended with fewer points than some rival
    bool bJugado = false;                   // false: the arena refused the match (its error went to stderr)
};

struct SResultadoTrabajo {
    double dPuntuacion = 0;  // mean over its matches
    std::vector<SResultadoEncuentro> vEncuentros;
};

// Weights of the score of one match (see PuntuarEncuentro).
const double kPesoPuntos = 50.0;
const double kPesoDanyo = 1.0;
const double kPesoEnergia = 0.5;

// What the arena rewards, as one number, for a match of nRobots robots:
//   50 x (1 + placing) + 1 x damage dealt by its shots + 0.5 x energy left
// where placing is (points - 1) / (nRobots - 1) per game: 0 for the last
// place, 1 for the only survivor, whatever the field's size (the arena
// gives from 1 to N points in a game of N robots). In a duel the first term
// is 50 x the arena's points, so duels score as they always did, and a
// place in a melee weighs what the same share of the field beaten weighs in
// a duel.
double PuntuarEncuentro(const SResultadoRobot& resultado, int nRobots);

// Mean placing of a network over its matches, from 0 (always last) to 1
// (every duel won, every melee survived alone): what the arena's points
// reward, without the score's damage and energy terms.
double ColocacionMedia(const SResultadoTrabajo& resultado);

const char* NombreRival(TRival eRival);
// Accepts the Spanish names (giratorio, buscador, quieto, poblacion / red,
// campeones, cazador, orbitador). A program is named by its path, never by
// its kind.
bool LeerRival(const std::string& sNombre, TRival& eRival);
// How a robot program is named in a match and its tables: the file's name
// without ".robot".
std::string NombrePrograma(const std::string& sRuta);
bool EsRivalRed(TRival eRival);
// Whether a kind is one of the scripted robots (it needs no network and no program).
bool EsRivalGuion(TRival eRival);

// Each rival of the mixes once, in order of appearance, as many as one match
// holds.
std::vector<TRival> RivalesDistintos(const std::vector<TGrupoRivales>& vGrupos);

// The seed of one match, drawn from the run's seed and the match's place in
// the run, so that it does not depend on the order of evaluation.
uint64_t SemillaEncuentro(uint64_t nSemillaRun, uint64_t nGeneracion, uint64_t nMiembro, uint64_t nPartida);

// The arena of the match with seed nSemilla: one of the list's arenas
// chosen by the seed when there are several, and for a random arena (alone
// or drawn from the list) the seed itself.
void ElegirArena(const SConfigEvaluacion& config, uint64_t nSemilla, SConfigPartida& configPartida);

// Plays one match. With ppGrabacion not null the match is recorded and the
// recording handed over (the caller deletes it).
// With sPrograma a robot program plays instead of sRed (run by the arena's
// program controller, CProgramaRobot); a program that cannot be started
// leaves the match unplayed. With eGuion a scripted kind, that script plays
// instead of sRed.
SResultadoEncuentro JugarEncuentro(const std::string& sRed, const SEncuentro& encuentro,
                                   const SConfigEvaluacion& config, CGrabacion** ppGrabacion = nullptr,
                                   const std::string& sPrograma = std::string(), TRival eGuion = Rival_Red);

// A scripted or network rival as a match plays it: a network rival plays
// sRedRival, or sRed itself when that is empty.
SRivalEncuentro RivalDelEncuentro(TRival eRival, const std::string& sRed, const std::string& sRedRival);

// Plays encuentro recorded (sPrograma and eGuion as in JugarEncuentro) and writes the
// recording as JSON to sRuta; false, with the reason in sError, when the
// match was not played or the file not written.
bool GrabarEncuentro(const std::string& sRed, const SEncuentro& encuentro, const SConfigEvaluacion& config,
                     const std::string& sRuta, std::string& sError, const std::string& sPrograma = std::string(),
                     TRival eGuion = Rival_Red);

// Records one match of sRed against all of vRivales at once (a rival that
// is a network plays sRedRival, or sRed itself when that is empty) and
// writes the recording as JSON to sRuta.
bool GrabarPartidaContra(const std::string& sRed, const std::string& sRedRival, const std::vector<TRival>& vRivales,
                         uint64_t nSemilla, const SConfigEvaluacion& config, const std::string& sRuta,
                         std::string& sError);

// Runs fTarea(0) .. fTarea(nTareas - 1) on nHilos threads (the caller's
// included). Tasks must be independent of each other.
void EjecutarEnHilos(size_t nTareas, unsigned nHilos, const std::function<void(size_t)>& fTarea);

// Evaluates every job on nHilos threads. The results do not depend on the
// number of threads. Touches no state of the NEAT library.
void EvaluarTrabajos(const std::vector<STrabajo>& vTrabajos, const SConfigEvaluacion& config, unsigned nHilos,
                     std::vector<SResultadoTrabajo>& vResultados);

// Each job's score: the mean of its matches, summed in their order (every
// way of evaluating shares it, so that scores agree to the last bit).
void PromediarTrabajos(std::vector<SResultadoTrabajo>& vResultados);

#endif
