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

// Hunter: drives on steadily, sweeps cannon and radar together over a
// narrow cone ahead, turns to a robot it sees off-centre and fires a
// full-energy shot at one straight ahead; turns away from walls, steers to
// cookies, shoots mines.
void DecidirCazador(const SPercepcion& p, SMemoriaGuion& m, TTipoArena eArena, SOrdenes& o);

// Orbiter: keeps its distance from its target and circles it while it
// fires; turns its orbit round before a wall.
void DecidirOrbitador(const SPercepcion& p, SMemoriaGuion& m, TTipoArena eArena, SOrdenes& o);

// Distance from the robot's surface to the wall along the absolute
// direction dDireccion: through the match's walls when the percepcion
// carries them, else the built-in arena's wall (hand-made percepciones).
double DistanciaParedEn(const SPercepcion& p, double dDireccion, TTipoArena eArena);

// Distance from the robot's surface to the wall straight ahead: what the
// arena measured, or as DistanciaParedEn.
double DistanciaParedDelante(const SPercepcion& p, TTipoArena eArena);

#endif
