#ifndef ARENA_FISICA_H
#define ARENA_FISICA_H

#include "Protocolo.h"

// Constants and pure formulas of the simulated arena. Kept free of any match
// state so that every rule can be checked on hand-computed cases.

// Environment.
const double kGravedad = 9.82;
const double kResistenciaAire = 0.005;
const double kRozamientoRodar = 0.002;
const double kRozamientoFreno = 0.1;

// Robots.
const double kRadioRobot = 0.5;
const double kMasaRobot = 1.0;
const double kAceleracionMin = -0.5;
const double kAceleracionMax = 2.0;
const double kEnergiaInicial = 100.0;
const double kEnergiaMaxima = 120.0;
const double kGiroMaxCuerpo = 0.785398163397448;  // pi/4
const double kGiroMaxCanyon = 1.5707963267949;    // pi/2
const double kGiroMaxRadar = 2.0943951023932;     // 2 pi/3
const double kReboteRobot = 0.7;
const double kDurezaRobot = 0.5;
const double kProteccionRobot = 0.5;
const double kReboteFrente = 0.7;
const double kDurezaFrente = 0.9;
const double kProteccionFrente = 0.9;
const double kAnguloFrente = 0.523598775598299;  // 30 degrees
const double kNivelEnergia = 10.0;

// Wall bounces: after each one the robot is pushed kEmpujeRebote x step
// (metres) along the wall normal; more than kMaxRebotesPaso in one step kill it.
const double kEmpujeRebote = 1.0 / 50;
const int kMaxRebotesPaso = 65;

// Shots.
const double kRadioDisparo = 0.1;
const double kVelocidadDisparo = 10.0;
const double kEnergiaDisparoMin = 0.5;
const double kEnergiaDisparoMax = 30.0;
const double kRecargaDisparo = 10.0;
const double kSalidaDisparo = 0.65;

// Cookies and mines.
const double kRadioObjeto = 0.3;
const double kGalletaMin = 10.0;
const double kGalletaMax = 15.0;
const double kMinaMin = 15.0;
const double kMinaMax = 25.0;
const double kProbGalleta = 0.03;
const double kProbMina = 0.06;
const double kMargenLibre = 0.6;

const double kPi = 3.14159265358979323846;

// v_par and v_perp after one step; a is the held acceleration, b the brake.
double VelocidadParalela(double dVPar, double dAcel, double dFreno, double dPaso);
double VelocidadLateral(double dVPerp, double dPaso);

// Applies both formulas to a velocity given the heading.
void ActualizarVelocidad(double& dVX, double& dVY, double dRumbo, double dAcel, double dFreno, double dPaso);

// Rotation speed that "Rotate bits w" gives the selected parts.
double LimitarGiro(int nPartes, double dVelocidad);

// True when the direction (dDirX, dDirY) lies within 30 degrees of the heading.
bool EsFrontal(double dRumbo, double dDirX, double dDirY);

// Bounce off a wall with unit normal n; returns the damage the robot takes.
double ChocarPared(double& dVX, double& dVY, double dNX, double dNY, double dRebotePared, double dDurezaPared,
                   bool bFrontal);

// Robot against robot, n the unit vector from robot 1 to robot 2. Writes
// the damage each takes.
void ChocarRobots(double& dV1X, double& dV1Y, double& dV2X, double& dV2Y, double dNX, double dNY, bool bFrontal1,
                  bool bFrontal2, double& dDanyo1, double& dDanyo2);

// Energy the shooter pays for a shot of energy dEnergia.
double CosteDisparo(double dEnergia, int nRobotsQuedan);

// Points of each of nMuertos robots dying in one update, N robots in the
// game, nQuedan alive after them; and of each survivor at the end.
double PuntosMuerte(int nRobots, int nQuedan, int nMuertos);
double PuntosSupervivencia(int nRobots, int nSupervivientes);

// Energy as the arena reports it: to the nearest multiple of 10.
double EnergiaInformada(double dEnergia);

// Angle in (-pi, pi].
double NormalizarAngulo(double dAngulo);

// Ray from p along unit u against a circle (centre c, radius r) seen from
// outside: distance to its surface, or -1 when missed or behind.
double RayoCirculo(double dPX, double dPY, double dUX, double dUY, double dCX, double dCY, double dRadio);

// Ray from inside an enclosing circle centred at the origin / a square of
// half side dLado: distance to the wall.
double RayoDentroCirculo(double dPX, double dPY, double dUX, double dUY, double dRadio);
double RayoDentroCuadrado(double dPX, double dPY, double dUX, double dUY, double dLado);

#endif
