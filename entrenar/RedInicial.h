#ifndef RED_INICIAL_H
#define RED_INICIAL_H

#include <string>
#include <vector>

#include "NEAT/CGenoma.h"

// A starting point for a run: a network text whose links all go straight
// from an input or the bias to an output. Every member's first genome takes
// its weights (links the text lacks weigh 0) and its outputs' curvatures,
// so evolution starts from a controller that already plays instead of from
// random weights.
struct SRedInicial {
    int nEntradas = 0;
    int nSalidas = 0;
    std::vector<double> vPesos;       // [origen * nSalidas + salida]; origen nEntradas is the bias
    std::vector<double> vCurvaturas;  // per output
};

// Reads a network text (the form of the robot's built-in network) into a
// starting point for genomes of nEntradas inputs and nSalidas outputs;
// false with the reason when the text does not decode or holds anything
// but direct links (hidden neurons, links into inputs, between outputs).
bool LeerRedInicial(const std::string& sTexto, int nEntradas, int nSalidas, SRedInicial& red, std::string& sError);

// The robot's designed starting point (--red-inicial disenyada): radar and
// cannon sweep together until the beam meets a robot or a shot and then
// turn back (so they dither on a target, and a shot in flight keeps the aim
// on it), the cannon fires at a robot in the beam, the body turns slowly and
// the robot speeds up toward a robot it sees.
SRedInicial RedInicialRobot();

// A genome like the minimal one it is given (same id, genes, innovation
// numbers) with the starting point's weights and output curvatures. Draws
// no random numbers.
CGenoma* GenomaDesdeRedInicial(const CGenoma& minimo, const SRedInicial& red);

#endif
