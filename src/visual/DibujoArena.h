#ifndef VISUAL_DIBUJOARENA_H
#define VISUAL_DIBUJOARENA_H

#include <string>

#include "CJson.h"

// The walls of a recorded match (its "limites" and "figuras", see
// src/arena/CGrabacion.h) as an <svg> element nAncho pixels wide: floor,
// lines with their thickness and open ends, pillars, enclosing circles and
// ring sectors. Empty when the recording carries no walls.
std::string SvgArena(const CJson& partida, int nAncho);

#endif
