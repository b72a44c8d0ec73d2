#ifndef ARENA_GUIONES_H
#define ARENA_GUIONES_H

#include "CPartida.h"

// What a scripted robot asks for in one update. Like the arena's commands,
// the values hold until the next decision; dDisparo 0 means no shot.
struct SOrdenes {
    double dGiroCuerpo = 0;
    double dGiroCanyon = 0;
    double dGiroRadar = 0;
    double dAceleracion = 0;
    double dFreno = 0;
    double dDisparo = 0;
};

// Spinner: turns steadily, sweeps cannon and radar, fires at what it sees.
void DecidirGiratorio(const SPercepcion& p, SMemoriaGuion& m, TTipoArena eArena, SOrdenes& o);

// Seeker: sweeps the front, turns to what it sees, fires and rams.
void DecidirBuscador(const SPercepcion& p, SMemoriaGuion& m, TTipoArena eArena, SOrdenes& o);

// Distance from the robot's surface to the wall straight ahead: what the
// arena measured, or for a hand-made percepcion the built-in arena's wall.
double DistanciaParedDelante(const SPercepcion& p, TTipoArena eArena);

#endif
