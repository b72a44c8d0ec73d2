#ifndef POLOS_H
#define POLOS_H

#include <string>
#include <vector>

#include "NEAT/CRedNeuronal.h"

class CAlgoritmoGenetico;

// Pole balancing: a cart on a track with one or two poles hinged on it, pushed
// left or right by a network's single output.

enum TTareaPolos { Polos_Simple = 0, Polos_Doble, Polos_DobleSinVelocidades };

bool LeerTareaPolos(const std::string& sNombre, TTareaPolos& eTarea);
const char* NombreTareaPolos(TTareaPolos eTarea);
int EntradasPolos(TTareaPolos eTarea);
bool DosPolos(TTareaPolos eTarea);

// State: cart position and velocity, then angle from upright and angular
// velocity of the long pole and of the short one (m, m/s, rad, rad/s).
enum { Estado_X = 0, Estado_VX, Estado_Angulo1, Estado_VAngulo1, Estado_Angulo2, Estado_VAngulo2, kTamEstado };

struct SEstadoPolos {
    double v[kTamEstado] = {0, 0, 0, 0, 0, 0};
};

struct SFisicaPolos {
    double dGravedad = 9.8;
    double dMasaCarro = 1.0;
    double dFriccionCarro = 0.0005;
    double dFriccionBisagra = 0.000002;
    double dMasaPolo[2] = {0.1, 0.01};
    double dMitadLongitud[2] = {0.5, 0.05};
    int nPolos = 2;
};

const double kPasoPolos = 0.01;            // s per step, one force per step
const double kFuerzaMaxima = 10.0;         // N
const double kMitadPista = 2.4;            // m
const double kAnguloFallo = 0.628329;      // rad, 36 degrees
const double kAnguloInicial = 0.01745;     // rad, the long pole's start
const int kPasosPrueba = 100000;           // a balance that counts as solved
const int kPasosEpisodio = 1000;           // scored episode without velocities
const int kEstadosGeneralizacion = 625;    // 5^4 starting states
const int kGeneralizacionNecesaria = 200;  // of them balanced

// Time derivative of the state under a force on the cart. With one pole the
// short pole's entries stay 0.
void DerivadasPolos(const SFisicaPolos& fisica, const SEstadoPolos& estado, double dFuerza, SEstadoPolos& derivadas);
// One fourth-order Runge-Kutta step of dPaso seconds.
void PasoPolos(const SFisicaPolos& fisica, double dFuerza, double dPaso, SEstadoPolos& estado);
bool FalloPolos(const SFisicaPolos& fisica, const SEstadoPolos& estado);

// Kinetic plus potential energy and horizontal momentum of cart and poles;
// both are kept when there is neither friction nor force.
double EnergiaPolos(const SFisicaPolos& fisica, const SEstadoPolos& estado);
double MomentoPolos(const SFisicaPolos& fisica, const SEstadoPolos& estado);

// Everything at rest, the long pole 1 degree off upright.
SEstadoPolos EstadoInicialPolos();
// The k-th of the 625 starting states of the generalization test.
SEstadoPolos EstadoGeneralizacion(int k);

// The network's scaled inputs for the task.
void EntradasRedPolos(TTareaPolos eTarea, const SEstadoPolos& estado, TVecDoubles& vEntradas);
// Network output in [0, 1] to newtons.
double FuerzaPolos(double dSalida);

// Samples of an episode for its picture.
struct SMuestraPolos {
    double dTiempo;
    double dX;
    double dAngulo1;
    double dAngulo2;
    double dFuerza;
};

// Runs the network, stepwise, from a fresh state of its memory, until a
// failure or nMaxPasos steps. Returns the steps balanced. With pdIdoneidad,
// also the episode's score for the task without velocities; with pvTraza,
// one sample every nCadaTraza steps.
int BalancearPolos(CRedNeuronal& red, TTareaPolos eTarea, const SEstadoPolos& inicio, int nMaxPasos,
                   double* pdIdoneidad = nullptr, std::vector<SMuestraPolos>* pvTraza = nullptr, int nCadaTraza = 1);

// Starting states (of the 625) from which the network balances 1,000 steps.
int GeneralizacionPolos(CRedNeuronal& red, TTareaPolos eTarea);

// A member's score and whether it solves the task outright. With velocities
// the score is the steps balanced, up to the 100,000 that solve it; without,
// the score of a 1,000-step episode, and solving is decided for a
// generation's best alone (ResuelvePolosSinVelocidades).
double PuntuarPolos(CRedNeuronal& red, TTareaPolos eTarea, bool& bResuelto);
// The long balance, then the generalization test; nGeneralizacion is -1
// when the long balance fails.
bool ResuelvePolosSinVelocidades(CRedNeuronal& red, int& nGeneralizacion);

// Engine parameters for the task; call after Inicializar and before the
// first CrearMente (the first genomes depend on them).
void AplicarParametrosPolos(CAlgoritmoGenetico& ag, TTareaPolos eTarea);

#endif
