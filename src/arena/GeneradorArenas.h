#ifndef ARENA_GENERADORARENAS_H
#define ARENA_GENERADORARENAS_H

#include <cstdint>
#include <string>

// A random arena, as the text of an arena file, drawn from nSemilla alone:
// an enclosure (circle, rectangle, polygon, star or rounded box) and up to
// a dozen pillars, walls, corners, rooms and arcs inside. Every shape is
// kept only if the free space stays in one piece for a robot (a flood fill
// on a grid of the robot's clearance); exclusion points close the pockets
// that robots could not reach, so nobody starts outside or inside a shape.
std::string GenerarArena(uint64_t nSemilla);

#endif
